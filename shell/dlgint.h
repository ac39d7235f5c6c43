// The dialogs behind the menu commands: each opens its dialog and, on OK, stores the values and
// issues its engine command. False when the dialog was cancelled.
#pragma once
#include "core/unit.h"

class QWidget;

namespace shl {

bool DlgCrvHgt(QWidget* parent);    // 130
bool DlgVtxHgt(QWidget* parent);    // 181
bool DlgCrvScl(QWidget* parent);    // 182
bool DlgCrvRot(QWidget* parent);    // 183
bool DlgSclDst(QWidget* parent);    // 184: scales every contour curve
bool DlgDrwArea(QWidget* parent);   // 179
bool DlgPrf(QWidget* parent);       // 180
bool DlgFltr(QWidget* parent);      // 145
bool DlgSlp(QWidget* parent);       // 146
bool DlgLgt(QWidget* parent);       // 185
bool DlgRgn(QWidget* parent);       // 133
bool DlgTrnColor(QWidget* parent);  // colour of the terrain material
bool DlgBgColor(QWidget* parent);   // background colour (button of 180)

// Unit of dialogs 179 and 184, kept while the application runs.
extern LenUnit DrwAreaUnit;
extern LenUnit SclDstUnit;

}  // namespace shl

namespace shl {
// Azimuth and elevation that a click at client pixel (x, y) of the light dialog's diagrams sets.
int LgtAzOfClick(int x, int y);
int LgtElOfClick(int x, int y);
}  // namespace shl
