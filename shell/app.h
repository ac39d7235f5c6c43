// Start and end of the application: engine start-up, profile, and the engine's end.
#pragma once

namespace shl {

// Engine start-up in its order: temporary names, parameter defaults, the user profile, the
// system initialisation and the start-up and terrain scenes.
void StartEngine();
// Saves the profile and ends the engine (which deletes its temporary files).
void EndEngine();
// False once the engine has ended (a journal's quit); it cannot be used again.
bool EngineRunning();

}  // namespace shl
