// Buffers freed at the end of the system: one line per module.
#include "core/alc.h"
#include "core/state.h"
#include "display/drw.h"
#include "display/lgt.h"

void FreeEngBuf() {
    // Light parameter table (allocated at start-up).
    FreeMem(PrmLgt);
    PrmLgt = nullptr;
    PrmLgtCap = 0;
    NumLgt = 0;
    FreeDrwBuf();  // drawing: grid index arrays and the background picture
}
