// Start-up and end of the engine: each module's share, in order.
#pragma once

int IniSys();
// End of system: frees the scene and the engine's buffers, deletes the spill files.
void EndSys();
// Frees the scene and the buffers the modules keep, at the end of the system (app/endtbl.cpp).
void FreeEngBuf();
