// The document's import and export actions without their file and unit dialogs: the shell shows
// the dialogs and then calls them; journals call them directly.
#pragma once
#include <string>

#include "formats/dxf.h"
#include "formats/stl.h"
#include "formats/xchg.h"
#include "gis/gis.h"

// Whether the terrain can be exported as VRML, STL or GLD: a terrain surface with a grid of at
// least 2 x 2 vertices whose indexes are sound. When not, the user is told and false returned.
bool ChkTrnExp();

// DXF import action: scene reset, start-up and terrain scenes, title "無題", modified flag
// cleared, then the curves of path (".dxf" appended when it has no extension) read in the
// drawing's own unit, or InUnit when it declares none (RdDxfCrv). A drawing whose size says the
// unit is wrong (DxfUnitOdd) asks once; Yes reads it again in the better unit, which becomes
// InUnit. On success the title becomes the path. 0, or -1 when the file could not be read.
int ImpDxf(const std::string& path);

// One line in the message area after an import: "<kind>読み込み: <path> (<what>, 範囲 x0..x1 x
// y0..y1 <unit>)" (in English "<kind> import: ..."), the extent being that of the curves and the
// terrain now in the scene, in real-world coordinates and unit u (none when the scene is empty).
// kindJa/kindEn name the format ("DXF", "シーン"/"scene", ...), what says what was read. ImpLine
// gives the line, ImpNote puts it (and more lines after it, when given) in the message area.
std::string ImpLine(const char* kindJa, const char* kindEn, const std::string& path, const std::string& what,
                    LenUnit u);
void ImpNote(const char* kindJa, const char* kindEn, const std::string& path, const std::string& what, LenUnit u,
             const std::string& more = std::string());

// Export action of fmt with OutUnit (GLD: the default corners, or those given to GldUseCrn).
// 0 when written, -1 otherwise (the user has been told why).
int ExpXchg(int fmt, const std::string& path, bool firstFilter = true);

// Contour import from an OGR source: the whole layer is read first; only when at least one curve
// results is the scene reset (as a DXF import does), the curves made, the view fitted and the
// origin and CRS recorded as the document's geographic reference. 0, or -1 after a message with
// the scene unchanged. clip: a batch tile's part of the layer and the region's origin (OgrRdCrv);
// a part without contours then resets the scene and makes none.
int ImpOgr(const OgrImpPrm& p, OgrImpRes* res, const OgrClip* clip = nullptr);

// ASCII STL reading (StlRead), then materials, boxes and the display follow and the message area
// reports what was read. 0, or -1 when the file cannot be opened (message 110).
int RdStlSum(const std::string& path, StlRdSum* sum);
int RdStl(const char* path);

// DXF reading (DxfRead) into the curve part, then the curves coloured by height, the boxes
// updated, the view fitted and what was read reported in the message area. 0, or -1 when the
// file cannot be opened (message 110).
int RdDxf(const std::string& path, const DxfRdPrm& prm, DxfRdSum* sum);
// RdDxf with the input unit InUnit (an unknown unit keeps the factor of the last import), or the
// drawing's own ($INSUNITS) when hdrUnit; in a document without an origin, a drawing in
// national-grid coordinates gets one (GisRef, kept in the scene's side file). The terrain region
// becomes the drawing's extent. sum (may be null) receives what was read.
int RdDxfCrv(const std::string& path, DxfRdSum* sum = nullptr, bool hdrUnit = true);

// Sizes of a plausible drawing (mm): a whole drawing under 1 m or over 1,000 km was read in the
// wrong unit, and the import asks once whether to read it again in *better.
constexpr double DxfSizeMin = 1000.0, DxfSizeMax = 1.0e9;
bool DxfUnitOdd(const DxfRdSum& s, LenUnit* better);
// The unit the points of s were read in ("m", or "25.4 mm" for one without a name).
std::string DxfUnitTx(const DxfRdSum& s);
