// PLACEHOLDER until the curve model lands.
#include "curves/crv.h"
uint8_t UndoOn = 1, UndoCutOn = 1, UndoState = 0;
int UndoKind = 0;
void RecUndo(int, int, crv**) {}
void ClrUndo() {}
