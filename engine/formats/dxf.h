// DXF interchange: contour curves in from a CAD drawing, terrain and curves out to one.
#pragma once
#include <string>

// Group codes the reader and writer use.
enum DxfCode {
    DxfEnt = 0,          // entity or structure name
    DxfTxt = 1,          // text value; $ACADVER value
    DxfName = 2,         // section name
    DxfName3 = 3,        // $DWGCODEPAGE value
    DxfLayer = 8,
    DxfVar = 9,          // header variable name
    DxfX = 10, DxfY = 20, DxfZ = 30,
    DxfX2 = 11, DxfY2 = 21, DxfZ2 = 31,
    DxfElev = 38,        // LWPOLYLINE elevation
    DxfFollow = 66,      // vertices follow
    DxfFlag = 70,
    DxfMeshM = 71, DxfMeshN = 72,
    DxfCount = 90,       // LWPOLYLINE vertex count
    DxfCmt = 999,        // comment: its pair is skipped wherever it appears
};

// POLYLINE flags (code 70) the reader and writer use.
enum DxfPlFlag {
    PlClosed = 1, PlSpline = 4, Pl3D = 8, PlMesh = 16, PlFace = 64, PlLtGen = 128,
};
// VERTEX flags (code 70) of the writer.
enum DxfVtxFlag { VtxPl3D = 32, VtxMesh = 64, VtxFaceRec = 128, VtxFace = 192 };

constexpr int DxfLineMax = 256;    // characters kept of a line; the rest is dropped
constexpr int DxfMsgMax = 5;       // problems shown one by one; the rest are counted in one message
constexpr double DxfNumMax = 1.0e12;  // coordinates beyond this (mm) are refused with their vertex

// Reading parameters: millimetres per drawing unit, and the part the curves go into (none: the
// drawing is read and counted but no curve is kept). insUnits: a drawing that declares its unit
// ($INSUNITS) is read in it instead of fct. org: a drawing that lies beyond LocCrdMax of zero is
// held relative to a local origin (whole kilometres below its lower-left corner), so that its
// points keep 1 mm in the engine's 32-bit millimetres; known: the document already has the origin
// (ox, oy, metres), which is subtracted whatever the drawing's place.
struct prt;
struct DxfRdPrm {
    double fct = 1.0;
    prt* part = nullptr;
    bool insUnits = false;
    bool org = false;
    bool known = false;
    double ox = 0, oy = 0;
};

// Millimetres per drawing unit of an $INSUNITS code (feet, mm, cm, m, km, yards, decimetres,
// US survey feet), or 0 for unitless, inches (the imperial templates' value, which drawings in
// other units keep) and codes the reader does not know.
double DxfUnitFct(int code);
// The $INSUNITS code the HEADER of the drawing at path declares, or -1 (none, or no file).
int DxfHdrUnit(const std::string& path);

// What an import read, as the message area reports it.
struct DxfRdSum {
    int crv = 0;       // curves with points
    int pnt = 0;       // their points
    int txt = 0;       // texts
    int skip = 0;      // entities of other kinds
    int skip2d = 0;    // polygon meshes and polyface meshes without the 3D flag: not read
    int pl2d = 0;      // 2D polylines read at their elevation (also counted in crv)
    int prob = 0;      // problems reported (shown or counted)
    bool utf8 = false; // the drawing's texts were UTF-8
    int secSkip = 0;       // well-formed sections of unknown names, passed over whole
    std::string secNames;  // their names, blank-separated (the first few)
    bool early = false;    // the file ended before its EOF marker
    int insUnits = -1;     // the drawing's $INSUNITS code, -1 when it has none
    double fct = 1.0;      // millimetres per drawing unit the points were read with
    bool ext = false;      // a point was kept: ext holds the extent
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // extent of the points kept, real-world mm
    bool org = false;      // a local origin was picked (ox, oy, metres, subtracted from the points)
    double ox = 0, oy = 0;
};

// Reads the curves and texts of the DXF file at path into prm.part, in millimetres (prm.fct per
// drawing unit). Problems are shown as message 199 naming the file and the line (the first
// DxfMsgMax of them, then one message with the count of the others); reading goes on. A vertex
// with a coordinate that does not parse or is too large is dropped, never given an old value. 0, or -1 when the file cannot be
// opened (message 110). Colours, boxes and the view are the caller's.
int DxfRead(const std::string& path, const DxfRdPrm& prm, DxfRdSum* sum);

// Writes the surfaces and curves of every product as a DXF ENTITIES section, coordinates in file
// units (fct per millimetre). 0, or -1 after message 110 (cannot create) or 111 (write failed);
// the target is replaced only when the whole file was written.
int WrDxfFct(const std::string& path, double fct);
// WrDxfFct with the output unit OutUnit.
int WrDxf(const std::string& path);
