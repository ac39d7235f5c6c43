// GIS interchange through GDAL/OGR: contours from any OGR vector source, the terrain grid to any
// GDAL raster format, the contours to OGR vector formats, and the geographic reference of the
// document (local origin and coordinate reference system) kept in a side file next to the scene.
//
// The engine holds points as 32-bit floats in millimetres, which cannot carry projected
// coordinates of millions of metres. Imports subtract a local origin (metres, whole kilometres)
// and every geographic export adds it back, in doubles.
#pragma once
#include <string>
#include <vector>
#include "scene/georef.h"

// The geographic reference of the current document (GisRef) is scene/georef.h's.

// Side file of a scene document: the scene path plus this suffix.
constexpr const char* GisSideExt = ".geo";

// The side file. Save writes it (temporary file, then rename) when a reference is
// known and removes a stale one otherwise; false after a message when it cannot be written.
// Load reads it (none: local coordinates); a malformed file gives a warning and local
// coordinates. Clear forgets the reference (new document, other imports).
bool GisSaveSide(const char* scnPath);
bool GisLoadSide(const char* scnPath);
void GisClear();

// What an OGR source offers, for the import dialog and the batch command.
struct OgrFld {
    std::string name;
    bool numeric;
};
struct OgrLyr {
    std::string name;
    bool lines;                  // the layer's geometry type is (multi)line or unknown
    bool hasZ;
    long long features;          // -1 when the driver cannot tell cheaply
    std::vector<OgrFld> fields;  // numeric fields first, then the others, each in layer order
};
// Layers of the source at path; false with a reason in *err when it cannot be opened.
bool OgrList(const char* path, std::vector<OgrLyr>* out, std::string* err);
// Index into l.fields of the field a user most likely wants as the height (elev, elevation,
// height, z, contour, ...), or -1 (heights from the geometry's z).
int OgrPickFld(const OgrLyr& l);
// The layer to offer first: the first with lines, or -1.
int OgrPickLyr(const std::vector<OgrLyr>& ls);

// Contour import. layer empty: the first layer with lines. field empty: the geometry's z.
struct OgrImpPrm {
    std::string path, layer, field;
};
struct OgrImpRes {
    int curves = 0;      // curves made
    int skipped = 0;     // line features without a usable height
    int others = 0;      // features that are not lines (points, polygons), ignored
    int absurd = 0;      // line parts with a non-finite or absurd coordinate or height, skipped
    int unread = 0;      // features the driver could not read (a file cut short or damaged)
    double ox = 0, oy = 0;
    std::string path;    // the source, for the messages
};
// A layer's contours as read, before they become curves: heights and points in the source's
// units (metres), and its CRS as WKT (empty when it has none).
struct OgrCrv {
    double h;
    std::vector<double> xy;
};
struct OgrCrvs {
    std::vector<OgrCrv> crvs;
    std::string wkt;
};
// What a batch tile reads: only the features whose envelope meets rect (x0 y0 x1 y1, the source's
// units; OGR's spatial filter, so the rest of the layer is never loaded), with the local origin
// (ox, oy) given rather than picked from what was read, so that every tile of a region shares the
// whole region's origin and grid posts.
struct OgrClip {
    double rect[4];
    double ox, oy;
};
// Reads the whole layer (clip: the part it names) and picks the local origin (res->ox, oy). 0 with
// at least one contour, or -1 after a message. With clip, a rectangle without contours is no
// error: 0 with none. The scene is not touched.
int OgrRdCrv(const OgrImpPrm& p, OgrCrvs* rd, OgrImpRes* res, const OgrClip* clip = nullptr);
// Extent (x0 y0 x1 y1) and CRS (WKT, empty without one) of the layer the import would read, from
// the driver's extent (drivers that keep none scan the geometries, not the fields), and the local
// origin a whole import of it picks (org: whole kilometres below the lower-left corner). 0, or -1
// after the import's message (no file, no such layer or field, longitude and latitude, no lines).
int OgrLyrExt(const OgrImpPrm& p, double ext[4], double org[2], std::string* wkt);
// Makes one contour curve per contour of rd with its height (millimetres in the engine, less the
// origin in res), colours them by height, sets the terrain region to their extent and reports
// the counts. 0, or -1 when memory ran out (message shown).
int OgrMkCrv(const OgrCrvs& rd, OgrImpRes* res);
// The grid's regular block (irregular outermost rows and columns dropped, as the GLD export
// does; grids under three rows or columns keep all). c1, r1 exclusive.
struct GisBlk {
    int c0, c1, r0, r1;
    bool dropped;   // a row or column was dropped
};
bool GisGridBlk(GisBlk* b);  // false without a terrain grid

// A grid kept outside the document (a batch run that keeps only its heights): R x C heights z
// (mm, row by row from the lower-left post; NaN where the method gave none), its columns at xs and
// rows at ys (mm from the import's origin, TrnMshAxes), interval itv (mm). Written as ExpGisRst
// writes the terrain (blk null; by the path's extension) or as ExpGisRstBlk writes a block.
struct GisPlain {
    int R = 0, C = 0;
    const float* xs = nullptr;
    const float* ys = nullptr;
    const float* z = nullptr;
    double itv = 0;
};
int ExpGisRstPlain(const char* path, const GisPlain& g, const GisBlk* blk = nullptr);

// Raster export of the terrain grid: driver by the path's extension (.tif/.tiff GeoTIFF with
// DEFLATE, .asc ASCII grid, .xyz, any other GDAL raster format that can create copies); Float32
// heights in metres, vertices at pixel centres, north row first, origin added back, CRS when
// known, nodata where no contour reached the vertex. The file is written under a temporary name
// and renamed. 0, or -1 after a message (nothing left behind).
// driver: a GDAL driver name ("GTiff", "AAIGrid", "XYZ", ...) that overrides the extension.
int ExpGisRst(const char* path, const char* driver = nullptr);
// The GDAL driver ExpGisRst would write path with (its short name, "GTiff", "AAIGrid", ...), or
// empty when the extension names no raster format that can be written: for checks before any work.
std::string GisRstDrv(const char* path);
// The same for the block b of the grid only (a batch tile's core without its overlap), as GeoTIFF,
// without a message about dropped rows. 0, or -1 after a message (nothing left behind).
int ExpGisRstBlk(const char* path, const GisBlk& b);
// The expected error of every height (metres, one standard deviation; TrnErrOf) the same way, on
// the same posts with the same georeferencing and nodata, whole grid or block.
int ExpGisErr(const char* path, const char* driver = nullptr);
int ExpGisErrBlk(const char* path, const GisBlk& b);
// Contours through OGR (.gpkg, .shp, .geojson, ... by extension): layer "contours", 3D lines
// with a real field "elev" (metres), origin added back, CRS when known. 0 or -1 after a message.
// driver overrides the extension ("GPKG", "ESRI Shapefile", ...).
int ExpGisVec(const char* path, const char* driver = nullptr);

// Largest coordinate or height (metres) an import or a side file takes: 1e12 mm, far beyond any
// projected CRS, so that offsets from the local origin stay finite 32-bit millimetres.
constexpr double GisCrdMax = 1e9;

// GLD corners (arc-seconds) of the grid's block b from the document's CRS: its south-west and
// north-east posts in longitude and latitude. false without a CRS or when it cannot be converted.
struct GldBlk;
struct GldCrnRec;
bool GisGldCrn(const GldBlk& b, GldCrnRec* c);

// Nodata value of raster exports.
constexpr double GisNoData = -9999.0;
