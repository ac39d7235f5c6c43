// What `altimetra-cli dem` and its tiled runs share: the options, the console platform and the
// engine's start and end.
#pragma once
#include <csignal>
#include <cstdio>
#include <string>
#include "core/feedback.h"
#include "doc/dem_run.h"
#include "platform/platform.h"
#include "terrain/trn_mth.h"

namespace jrn {

struct DemOpt {
    std::string in, out, field, layer;
    std::string err;                // --error-map: the expected error of each post (empty: none)
    double itv = 0;                 // grid interval, the input's unit
    double rgn[4] = {0, 0, 0, 0};   // x0 y0 x1 y1 in the input's coordinates
    bool haveRgn = false;
    double flt = -1;                // slope filter angle, < 0: none
    bool times = false, quiet = false;
    bool progress = false;          // "progress N" lines on standard error
    const TrnMethodInfo* method = nullptr;
    // Tiles: tileW x tileH posts each (0: one grid, no tiles), overlap the user's posts on every
    // side (-1: what each tile needs; a tile that needs more gets more, or with strictOverlap is
    // refused), tile the one tile to make (-1: all), vrtOnly the mosaic alone.
    int tileW = 0, tileH = 0;
    int overlap = -1;
    bool strictOverlap = false;
    long long tile = -1;
    bool vrtOnly = false;
};

// The generation's progress on standard error, as GDALTermProgress draws GDAL's: a bar when
// standard error is a terminal, or lines "progress N" for a program that runs the command; it is
// cancelled once SIGINT or SIGTERM has arrived (DemStopped). Fb() is only asked on the thread that
// runs the command.
class TermProgress {
public:
    bool bar = false;
    bool lines = false;
    Feedback Fb();
    void EndBar();  // ends the bar's line (before a message, or when the work ends)

private:
    static void Begin(void* ctx);
    static void Progress(void* ctx, int percent);
    static void End(void* ctx);
    static bool Cancelled(void* ctx);
    void Draw();
    int steps_ = 0, shown_ = -1, last_ = -999;
    bool on_ = false;
};

// Message boxes go to standard error, after ending the progress bar's line.
class DemPlatform final : public plt::Platform {
public:
    TermProgress prog;

    int MsgBox(const char* text, const char* caption, int buttons, int icon) override;
    void Console(const char* text) override { (void)text; }
};

// Whether SIGINT or SIGTERM arrived since the engine started (DemEngine catches them: the running
// generation stops and nothing more is written; a second signal ends the process at once).
bool DemStopped();

// The engine started as the window starts it, with dp as its platform and English console
// texts; false (message printed, everything put back) when it could not start.
class DemEngine {
public:
    explicit DemEngine(DemPlatform* dp);
    ~DemEngine();  // ends the engine and puts back the platform and language
    DemEngine(const DemEngine&) = delete;
    DemEngine& operator=(const DemEngine&) = delete;
    bool started = false;

private:
    plt::Platform* prev_;
    uint8_t lang_;
    struct sigaction oldInt_ {}, oldTerm_ {};
};

double DemNow();  // wall clock, seconds
// The tiled road: every tile (or o.tile), the mosaic (or only it), or with list the tile lines.
int DemTiles(const DemOpt& o, bool list);

}  // namespace jrn
