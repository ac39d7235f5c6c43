// Start-up and end of the engine: each module's share, in order.
#pragma once

int IniSys();
// The system module (category CatSys).
int IntrSys(int code);
int DstrSys(int code);
// The engine started as the application starts it: spill file names, default settings (then
// settings(), e.g. a profile read over them, when given), stored and applied, the system's
// start-up and an empty scene with its terrain part.
void StartEng(void (*settings)(void* ctx) = nullptr, void* ctx = nullptr);
// End of system: frees the scene and the engine's buffers, deletes the spill files.
void EndSys();
// Frees the scene and the buffers the modules keep, at the end of the system (app/endtbl.cpp).
void FreeEngBuf();
