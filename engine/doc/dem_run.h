// A terrain grid from the contours of a GIS source, without a window: the batch command's run as
// one call with values. It goes the way the window goes (import, region, terrain creation, filter,
// GIS export) but records no undo snapshot: a batch run has nothing to undo, and the snapshot is a
// whole copy of the grid (28 bytes a post).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "gis/gis.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"

// Results of a run; the numbers are the exit statuses of `altimetra-cli dem`.
enum DemStatus {
    DemOk = 0,
    DemNoEngine = 1,      // (the command's own: the engine could not start)
    DemBadArgs = 2,       // (the command's own: a wrong command line)
    DemBadInput = 3,      // the input cannot be read or holds no usable contours
    DemNoGrid = 4,        // no grid could be made
    DemNotWritten = 5,    // an output could not be written
    DemTilesMissing = 6,  // (the command's own: --vrt-only found tiles missing)
    DemInterrupted = 7,   // the feedback cancelled the run: nothing more was written
};

// Where a run has got to, told to DemPrm::told.
enum DemStage {
    DemStRead,      // the contours were read (or could not be)
    DemStLaid,      // the grid is laid out and about to be generated (DemRes::R, C)
    DemStMade,      // the generation ended, however it ended
    DemStFiltered,  // the slope filter ended (or was not asked for)
};

struct DemRes {
    OgrImpRes imp;          // what the import read
    int R = 0, C = 0;       // rows and columns of the grid laid out (0: none)
    bool tooLarge = false;  // DemNoGrid: the grid would pass 65535 rows or columns or 2e8 posts
                            // (nothing shown: the caller says it in its own words)
    bool said = false;      // a failure whose reason the engine has shown (a message box)
    std::string note;       // the first message line the export left ("" when none)
    long long nodata = 0;   // posts written without a height (no contour reaches them)
    // Lines gradient paths read at another level than their own (their neighbours show them
    // digitised one interval off): levels given and read, mm; where each starts, mm from the import's
    // origin (imp.ox, imp.oy).
    std::vector<LineRelevel> relevel;
};

struct DemPrm {
    OgrImpPrm src;                   // the contours: source, layer, height field
    const OgrClip* clip = nullptr;   // only the contours within (a tile's area); null: all
    double itv = 0;                  // grid interval in the input's unit
    // The region: with haveRgn x0 y0 x1 y1 in the input's coordinates, else the contours'
    // extent. With rgnMm the corners are millimetres from the import's local origin (posts the
    // caller laid out), and the grid must then have wantR x wantC posts.
    bool haveRgn = false;
    bool rgnMm = false;
    double rgn[4] = {0, 0, 0, 0};
    int wantR = 0, wantC = 0;
    TrnMethodKind method = TrnMethodPath;
    double flt = -1;                 // slope filter angle in degrees; < 0: no filter
    // No contour read (a tile far from them): every post nodata, rather than a failure.
    bool emptyIsNodata = false;
    std::string out;                 // the heights, format by extension
    std::string err;                 // the expected error of each post; empty: none
    const GisBlk* blk = nullptr;     // write only this block of the grid (GeoTIFF); null: all
    std::function<void(DemStage, const DemRes&)> told;  // may be empty
};

// Runs p: imports the contours into a new document, lays out the region's grid, generates its
// heights by p.method, filters them and writes p.out (and p.err). fb hears the generation's
// progress and may cancel the run between its steps (begin and end come from the generation, on
// the calling thread). Returns a DemStatus; res (may be null) says more. Messages of the engine
// go to the platform's message boxes as in the window. A run that fails or is cancelled writes
// no output after the step that failed; outputs already written stay (each is whole).
// The engine must be started, and no entry point may be running.
int DemRun(const DemPrm& p, const Feedback& fb, DemRes* res = nullptr);
