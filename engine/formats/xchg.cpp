// File units, export formats and their file names.
#include <string>

#include "formats/xchg.h"

LenUnit InUnit = InUnitDef;
LenUnit OutUnit = OutUnitDef;

namespace {

constexpr const char* Ext[FmtNum] = {"dxf", "wrl", "stl", "gld"};

// The extension of the last path component ("" when it has none).
std::string ExtOf(const std::string& path) {
    size_t s = path.find_last_of("/\\");
    size_t d = path.rfind('.');
    if (d == std::string::npos || (s != std::string::npos && d < s)) return std::string();
    return path.substr(d + 1);
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

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
    std::string e = ExtOf(path);
    std::string want = FmtExt(fmt);
    if (firstFilter && (e.empty() || (e != want && e != Upper(want)))) return path + "." + want;
    return path;
}

std::string ImpPath(const std::string& path) {
    return ExtOf(path).empty() ? path + ".dxf" : path;
}
