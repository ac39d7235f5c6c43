// Journal parameters and verbs of interchange: units, GLD corners, import and export.
#include <string>

#include "doc/recover.h"
#include "doc/xchg_flow.h"
#include "registry.h"
#include "formats/gld.h"
#include "xchg_verb.h"

namespace jrn {

namespace {
constexpr double ArcSecMax = 1296000;  // a full circle: the coordinate dialog's 360 degrees

// A unit by its item in the interchange dialogs' list: 0 km, 1 m, 2 cm, 3 mm.
bool SetXchgUnit(const Words& v, LenUnit* dst, std::string* err) {
    int item;
    if (!SetInt(v, 0, UnitItemNum(true) - 1, &item, err)) return false;
    *dst = UnitOfItem(item, true);
    return true;
}
}  // namespace

// Seconds between recovery copies while there are unsaved changes (0: none).
bool SetAutoSave(const Words& v, std::string* err) { return SetInt(v, 0, AutoSaveMax, &AutoSaveSec, err); }

bool SetInUnit(const Words& v, std::string* err) { return SetXchgUnit(v, &InUnit, err); }
bool SetOutUnit(const Words& v, std::string* err) { return SetXchgUnit(v, &OutUnit, err); }

// Corners for the next GLD export: LAT0 LON0 LAT1 LON1 in arc-seconds.
bool SetGldCorners(const Words& v, std::string* err) {
    double c[4];
    if (!GetReals(v, 4, -ArcSecMax, ArcSecMax, c, err)) return false;
    GldCrn = {c[0], c[1], c[2], c[3]};
    GldCrnGiven = 1;
    return true;
}

int XchgVerb(const Words& w, std::string* err) {
    if (w[0] != "import" && w[0] != "export") return 0;
    if (w.size() != 3) {
        *err = (w.size() < 3 ? "missing argument to " : "too many arguments to ") + w[0];
        return -1;
    }
    const std::string& f = w[1];
    if (w[0] == "import") {
        if (f != "dxf") {
            *err = "import: unknown format " + f;
            return -1;
        }
        ImpDxf(w[2]);
        return 1;
    }
    static const char* const names[FmtNum] = {"dxf", "vrml", "stl", "gld"};
    for (int k = 0; k < FmtNum; ++k)
        if (f == names[k]) {
            ExpXchg(k, w[2]);
            return 1;
        }
    *err = "export: unknown format " + f;
    return -1;
}

}  // namespace jrn
