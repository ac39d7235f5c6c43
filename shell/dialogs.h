// The application's dialogs, for the commands and document flows that open them. Each opens
// through ExecDlg (dlgrun.h), so journals answer them by id.
#pragma once
#include <QColor>
#include <QString>
#include "core/unit.h"

class QWidget;

namespace shl {

// The maker's web page (about box and the help menu).
inline constexpr char MakerUrl[] = "https://www.orvane.co.jp/altimetra/";

// File unit dialogs of the document flows; their list holds km, m, cm, mm (items 0 to 3). *unit
// gives the selection the dialog opens with and receives the choice on OK; false (unchanged) on
// Cancel.
bool AskOutUnit(QWidget* parent, LenUnit* unit);  // 141, exports
bool AskInUnit(QWidget* parent, LenUnit* unit);   // 188, DXF import

// Geographic corners of a GLD export, in arc-seconds, with the block's extent in metres and the
// fix-distance flag (editing one corner moves the other so that the block keeps its extent).
struct GldCorners {
    double lat0 = 126000, lon0 = 504000;  // lower left (south, west)
    double lat1 = 126000, lon1 = 504000;  // upper right (north, east)
    double ext = 0;                       // block extent, metres
    bool fix = true;
};
// Latitude and longitude spans of ext metres (arc-seconds); lat: the latitude of the span.
double GldDLat(double ext);
double GldDLon(double ext, double lat);
// The corners every export starts from: lower left at 35°N 140°E, the upper right ext away.
GldCorners GldDefCorners(double ext);
// Dialog 144: shows *c, and on OK stores the edited corners and flag into *c. False on Cancel
// (*c unchanged).
bool AskGldCorners(QWidget* parent, GldCorners* c);
// Degrees, minutes and seconds of an angle in arc-seconds, and back.
void ArcToDms(double a, int* deg, int* min, double* sec);
double DmsToArc(int deg, int min, double sec);

// The colour dialog with the profile's 16 custom colours (kept whether or not OK is pressed).
// False on Cancel.
bool AskColor(QWidget* parent, const QColor& initial, QColor* chosen);

// About box.
void ShowAbout(QWidget* parent);

}  // namespace shl
