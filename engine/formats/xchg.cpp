// File units, export formats and their file names.
#include <string>

#include "formats/xchg.h"

#include "core/filext.h"

LenUnit InUnit = InUnitDef;
LenUnit OutUnit = OutUnitDef;

namespace {

constexpr const char* Ext[FmtNum] = {"dxf", "wrl", "stl", "gld"};

}  // namespace

double InUnitFct(LenUnit unit) {
    const double f = MmPer(unit);
    return f > 0 ? f : -1;
}

// 1 / 1e6 and the others are the nearest doubles to their decimal values, as written before.
double OutUnitFct(LenUnit unit) {
    const double f = MmPer(unit);
    return f > 0 ? 1.0 / f : -1;
}
const char* FmtExt(int fmt) { return fmt >= 0 && fmt < FmtNum ? Ext[fmt] : ""; }

std::string ExpPath(int fmt, const std::string& path, bool firstFilter) {
    const char* want = FmtExt(fmt);
    if (firstFilter && (FileExt(path).empty() || !HasExt(path, want))) return path + "." + want;
    return path;
}

std::string ImpPath(const std::string& path) {
    return FileExt(path).empty() ? path + ".dxf" : path;
}
