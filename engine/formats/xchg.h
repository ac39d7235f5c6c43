// Interchange with other programs: file units, export formats and their file names, and the
// messages the codecs show. The import and export actions are in doc/xchg_flow.h.
#pragma once
#include <string>
#include "core/msg.h"

// File units of the unit dialogs (combo item order).
enum XchgUnit { UnitKm = 0, UnitM = 1, UnitCm = 2, UnitMm = 3 };
constexpr int UnitNum = 4;
constexpr int InUnitDef = UnitMm;
constexpr int OutUnitDef = UnitKm;
// Input unit of DXF import and output unit of the exports; they live for the run.
extern int InUnit;
extern int OutUnit;

// Millimetres per file unit on input; file units per millimetre on output. Unknown unit: -1.
double InUnitFct(int unit);
double OutUnitFct(int unit);

// Export formats and their extensions ("dxf"/"DXF", ...).
enum XchgFmt : int { FmtDxf = 0, FmtVrml = 1, FmtStl = 2, FmtGld = 3 };
constexpr int FmtNum = 4;
const char* FmtExt(int fmt);   // "dxf", "wrl", "stl", "gld"

// The path an export writes: when the format's filter is selected (firstFilter) and the name has
// no extension, or one other than the format's, the format's extension is appended.
std::string ExpPath(int fmt, const std::string& path, bool firstFilter = true);
// The path DXF import reads: ".dxf" appended when the name has no extension.
std::string ImpPath(const std::string& path);
