// Interchange with other programs: DXF import, DXF, VRML, STL and GLD export, ASCII STL reading.
// The flows below are the document's import and export actions without their file and unit
// dialogs: the shell shows the dialogs and then calls them; journals call them directly.
#pragma once
#include <string>

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

// Message ids the interchange shows (catalogue of the message module).
constexpr int MsgFilOpn = 110;   // "%s ファイルが開けませんでした。"
constexpr int MsgFilWrt = 111;   // "%s ファイルの書き込み中にエラーが発生しました。"
constexpr int MsgFilRd = 112;    // "%s ファイルの読み込み中にエラーが発生しました。"
constexpr int MsgSrfErr = 127;   // "サーフェイスが異常です。\n%s"
constexpr int MsgOwnErr = 199;   // error with its own text
constexpr int MsgOwnWrn = 297;   // warning with its own text

// Export formats and their extensions ("dxf"/"DXF", ...).
enum XchgFmt { FmtDxf = 0, FmtVrml = 1, FmtStl = 2, FmtGld = 3 };
constexpr int FmtNum = 4;
const char* FmtExt(int fmt);   // "dxf", "wrl", "stl", "gld"

// The path an export writes: when the format's filter is selected (firstFilter) and the name has
// no extension, or one other than the format's, the format's extension is appended.
std::string ExpPath(int fmt, const std::string& path, bool firstFilter = true);
// The path DXF import reads: ".dxf" appended when the name has no extension.
std::string ImpPath(const std::string& path);

// Whether the terrain can be exported as VRML, STL or GLD: a terrain surface with a grid of at
// least 2 x 2 vertices whose indexes are sound. When not, the user is told and false returned.
bool ChkTrnExp();

// DXF import action: scene reset, start-up and terrain scenes, title "無題", modified flag
// cleared, then the curves of path (".dxf" appended when it has no extension) read with InUnit.
// On success the title becomes the path. 0, or -1 when the file could not be read.
int ImpDxf(const std::string& path);

// Export action of fmt with OutUnit (GLD: the default corners, or those given to GldUseCrn).
// 0 when written, -1 otherwise (the user has been told why).
int ExpXchg(int fmt, const std::string& path, bool firstFilter = true);
