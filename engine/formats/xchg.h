// Interchange with other programs: file units, export formats and their file names, and the
// messages the codecs show. The import and export actions are in doc/xchg_flow.h.
#pragma once
#include <string>
#include "core/msg.h"
#include "core/unit.h"

constexpr LenUnit InUnitDef = LenUnit::Mm;
constexpr LenUnit OutUnitDef = LenUnit::Km;
// Input unit of DXF import and output unit of the exports; they live for the run. Their dialogs
// and the journal number them as the unit list with km does (0 km .. 3 mm: ItemOfUnit).
extern LenUnit InUnit;
extern LenUnit OutUnit;

// Millimetres per file unit on input; file units per millimetre on output. A value that names no
// unit: -1.
double InUnitFct(LenUnit unit);
double OutUnitFct(LenUnit unit);

// Export formats and their extensions ("dxf"/"DXF", ...).
enum XchgFmt : int { FmtDxf = 0, FmtVrml = 1, FmtStl = 2, FmtGld = 3 };
constexpr int FmtNum = 4;
const char* FmtExt(int fmt);   // "dxf", "wrl", "stl", "gld"

// The path an export writes: when the format's filter is selected (firstFilter) and the name has
// no extension, or one other than the format's, the format's extension is appended.
std::string ExpPath(int fmt, const std::string& path, bool firstFilter = true);
// The path DXF import reads: ".dxf" appended when the name has no extension.
std::string ImpPath(const std::string& path);
