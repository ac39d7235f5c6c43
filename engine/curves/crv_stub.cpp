// PLACEHOLDER until the curve model lands.
#include "curves/crv.h"
prt* CrvPart = nullptr;
crv* CrntCrv = nullptr;
int NumCrvSlct = 0;
crv** CrvSlct = nullptr;
uint8_t UndoOn = 1, UndoCutOn = 1, UndoState = 0;
int UndoKind = 0;
void RstCrvPrm() {}
void SetCrvPart(prt* p) { CrvPart = p; }
void RecUndo(int, int, crv**) {}
void ClrUndo() {}
