// altimetra-cli dem: contours from a GIS source to a georeferenced DEM, through the same engine
// commands as the window (region, terrain creation without its undo snapshot, filter) and the GIS
// exports; with --tile-size in tiles and a mosaic (dem_tile.cpp).
#include "app/sys.h"
#include "dem.h"
#include "dem_int.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "gis/gis.h"
#include "platform/platform.h"
#include "terrain/trn_mth.h"

namespace jrn {

namespace {

const char DemUsage[] =
    "usage: altimetra-cli dem INPUT -o OUTPUT --interval D [--field NAME] [--layer NAME]\n"
    "                         [--region X0 Y0 X1 Y1] [--method NAME] [--filter ANGLE]\n"
    "                         [--tile-size N[xM] [--overlap P [--strict-overlap]]\n"
    "                         [--tile I | --vrt-only]] [--error-map ERR] [--times] [--quiet]\n"
    "                         [--progress]\n"
    "       altimetra-cli dem --list-methods\n"
    "       altimetra-cli tiles INPUT -o NAME.vrt --interval D --tile-size N[xM] [options]\n"
    "\n"
    "Makes a terrain grid from the contour lines of INPUT (any vector format GDAL reads) and\n"
    "writes it to OUTPUT (format by extension: .tif GeoTIFF, .asc, .xyz, ...).\n"
    "  --interval D      grid interval in the coordinate unit of INPUT (metres)\n"
    "  --field NAME      attribute holding the heights (default: the z of the lines)\n"
    "  --layer NAME      layer of INPUT (default: the first layer of lines)\n"
    "  --region X0 Y0 X1 Y1  region in INPUT's coordinates (default: the contours' extent)\n"
    "  --method NAME     generation method (default: gradient-paths); names, the numbers\n"
    "                    of set TrnMethod, and what each does:\n"
    "%s"
    "  --filter ANGLE    run the slope filter once with this maximum angle (degrees, 0..90)\n"
    "  --error-map ERR   also write the expected error of each height (metres, one standard\n"
    "                    deviation, learnt from the contours by leaving every other level out)\n"
    "                    on the same posts, as OUTPUT is written; with --tile-size ERR must be\n"
    "                    ERRNAME.vrt and each tile's map is ERRNAME_ROW_COL.tif\n"
    "  --tile-size N[xM] cut the grid into tiles of N x N (N x M) posts, each generated from the\n"
    "                    contours of its area and overlap alone and written as NAME_ROW_COL.tif\n"
    "                    beside OUTPUT, which must be NAME.vrt: a GDAL mosaic of the tiles.\n"
    "                    gradient-paths only: cross-lines and min-curvature give every post\n"
    "                    a height that depends on the whole region, and are not tiled\n"
    "  --overlap P       posts generated around each tile and dropped. Default: what the tile\n"
    "                    needs, measured from the spacing of the contours around it so that\n"
    "                    the mosaic has the whole grid's heights; a smaller P is widened to\n"
    "                    that, with a warning\n"
    "  --strict-overlap  refuse (exit status 2) a tile that needs more than --overlap P\n"
    "  --tile I          make tile I alone (0-based; `altimetra-cli tiles` lists them)\n"
    "  --vrt-only        write the mosaic of the tiles made\n"
    "  --times           print the time of each stage on standard error\n"
    "  --quiet           no progress bar, no tile progress\n"
    "  --progress        the generation's progress as lines \"progress N\" (percent) on standard\n"
    "                    error instead of the bar, for programs that run the command\n"
    "  --list-methods    print the generation methods, one a line: name, description and\n"
    "                    Japanese description, separated by tabs\n"
    "A tile whose file exists, is complete and was made from the same contours and options is\n"
    "kept, so a failed run can be run again; once the contours change, every tile is made again.\n"
    "SIGINT or SIGTERM stops the run between steps: what is not written yet is not written.\n"
    "`altimetra-cli tiles` takes the same options and prints one line per tile: index, row,\n"
    "column, file and overlap (posts), separated by tabs.\n"
    "Exit status: 0 written; 1 the engine could not start; 2 wrong command line; 3 the input\n"
    "cannot be read or holds no usable contours; 4 no grid could be made; 5 the output could\n"
    "not be written; 6 --vrt-only found tiles missing; 7 interrupted (SIGINT or SIGTERM).\n";

bool Real(const char* s, double* v) {
    char* end = nullptr;
    *v = std::strtod(s, &end);
    return end != s && *end == '\0' && std::isfinite(*v);
}

// A whole number of posts "N", or "NxM" (w = N, h = M; "N" gives h = N).
bool Posts(const char* s, long long* w, long long* h) {
    char* end = nullptr;
    if (*s < '0' || *s > '9') return false;
    *w = std::strtoll(s, &end, 10);
    *h = *w;
    if (*end == 'x' && end[1] >= '0' && end[1] <= '9') *h = std::strtoll(end + 1, &end, 10);
    return *end == '\0' && *w >= 0 && *h >= 0 && *w < (1LL << 40) && *h < (1LL << 40);
}

// The usage text with one line per generation method.
std::string Usage() {
    std::string m;
    for (const TrnMethodInfo& t : TrnMethods) {
        char line[160];
        std::snprintf(line, sizeof line, "      %-15s %d  %s\n", t.name, static_cast<int>(t.kind), t.desc);
        m += line;
    }
    const char* at = std::strstr(DemUsage, "%s");
    std::string u(DemUsage, static_cast<size_t>(at - DemUsage));
    u += m;
    u += at + 2;
    return u;
}

// Processor time of the whole process (all threads), seconds.
double Cpu() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Reads the words of dem or tiles into o: -1 to go on, or the exit status (usage or help
// printed).
int Parse(int argc, char** argv, bool tiles, DemOpt* o) {
    const char* cmd = tiles ? "tiles" : "dem";
    o->method = TrnMethodByName("gradient-paths");
    // The reason alone: the whole usage text would bury it.
    auto bad = [cmd](const std::string& why) {
        std::fprintf(stderr, "altimetra-cli %s: %s\nsee altimetra-cli %s --help\n", cmd, why.c_str(), cmd);
        return 2;
    };
    for (int i = 2; i < argc; i++) {
        std::string a = argv[i];
        auto need = [&](int n) { return i + n < argc; };
        if (a == "-h" || a == "--help") {
            std::fputs(Usage().c_str(), stdout);
            return 0;
        } else if (a == "--list-methods") {
            for (const TrnMethodInfo& t : TrnMethods) std::printf("%s\t%s\t%s\n", t.name, t.desc, t.label);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? DemOk : DemNotWritten;
        } else if (a == "-o" || a == "--output") {
            if (!need(1)) return bad("missing value of " + a);
            o->out = argv[++i];
        } else if (a == "--interval") {
            if (!need(1) || !Real(argv[i + 1], &o->itv) || !(o->itv > 0))
                return bad("--interval needs a positive number");
            i++;
        } else if (a == "--field") {
            if (!need(1)) return bad("missing value of --field");
            o->field = argv[++i];
        } else if (a == "--layer") {
            if (!need(1)) return bad("missing value of --layer");
            o->layer = argv[++i];
        } else if (a == "--region") {
            if (!need(4)) return bad("--region needs four numbers");
            for (int k = 0; k < 4; k++)
                if (!Real(argv[i + 1 + k], &o->rgn[k])) return bad("--region needs four numbers");
            if (!(o->rgn[0] < o->rgn[2] && o->rgn[1] < o->rgn[3]))
                return bad("--region needs X0 < X1 and Y0 < Y1");
            o->haveRgn = true;
            i += 4;
        } else if (a == "--method") {
            if (!need(1)) return bad("missing value of --method");
            o->method = TrnMethodByName(argv[++i]);
            if (!o->method) return bad(std::string("unknown method ") + argv[i]);
        } else if (a == "--filter") {
            if (!need(1) || !Real(argv[i + 1], &o->flt) || o->flt < 0 || o->flt > 90)
                return bad("--filter needs an angle from 0 to 90");
            i++;
        } else if (a == "--tile-size") {
            // N or NxM; a tile needs room for the mesh's three posts a side.
            long long w = 0, h = 0;
            if (!need(1) || !Posts(argv[i + 1], &w, &h) || w < 3 || h < 3 || w > 65535 || h > 65535)
                return bad("--tile-size needs N or NxM posts, each from 3 to 65535");
            o->tileW = static_cast<int>(w);
            o->tileH = static_cast<int>(h);
            i++;
        } else if (a == "--overlap") {
            long long v = 0, h = 0;
            if (!need(1) || !Posts(argv[i + 1], &v, &h) || v != h || v > 65535)
                return bad("--overlap needs a number of posts from 0 to 65535");
            o->overlap = static_cast<int>(v);
            i++;
        } else if (a == "--strict-overlap") {
            o->strictOverlap = true;
        } else if (a == "--tile") {
            long long v = 0, h = 0;
            if (tiles) return bad("--tile is an option of dem");
            if (!need(1) || !Posts(argv[i + 1], &v, &h) || v != h)
                return bad("--tile needs a tile index (0, 1, ...)");
            o->tile = v;
            i++;
        } else if (a == "--vrt-only") {
            if (tiles) return bad("--vrt-only is an option of dem");
            o->vrtOnly = true;
        } else if (a == "--error-map") {
            if (!need(1)) return bad("missing value of --error-map");
            o->err = argv[++i];
        } else if (a == "--times") {
            o->times = true;
        } else if (a == "--quiet") {
            o->quiet = true;
        } else if (a == "--progress") {
            o->progress = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return bad("unknown option " + a);
        } else if (o->in.empty()) {
            o->in = a;
        } else {
            return bad("more than one input: " + a);
        }
    }
    if (o->in.empty()) return bad("no input");
    if (o->out.empty()) return bad("no output (-o OUTPUT)");
    if (o->itv == 0) return bad("no interval (--interval D)");
    // The engine holds millimetres in 32-bit floats; the dialog accepts 1 mm .. 1e8 m too.
    if (o->itv < 0.001 || o->itv > 1e8) return bad("--interval outside 0.001 .. 1e8");
    const bool tiled = o->tileW > 0;
    if (!tiled && (tiles || o->overlap >= 0 || o->strictOverlap || o->tile >= 0 || o->vrtOnly))
        return bad("--overlap, --strict-overlap, --tile, --vrt-only and tiles need --tile-size");
    if (o->strictOverlap && o->overlap < 0) return bad("--strict-overlap needs --overlap P");
    if (tiled && o->method->whole)
        return bad(std::string("--method ") + o->method->name + " is not tiled: " + o->method->whole +
                   ", so no tile would give the whole grid's heights; run it without --tile-size, or tile"
                   " with gradient-paths");
    if (o->tile >= 0 && o->vrtOnly) return bad("--tile and --vrt-only exclude each other");
    if (tiled) {
        const std::string& v = o->out;
        if (v.size() < 5 || v.compare(v.size() - 4, 4, ".vrt") != 0)
            return bad("with --tile-size the output is the mosaic NAME.vrt");
        const std::string& e = o->err;
        if (!e.empty() && (e.size() < 5 || e.compare(e.size() - 4, 4, ".vrt") != 0))
            return bad("with --tile-size the error map is the mosaic ERRNAME.vrt");
    } else if (GisRstDrv(o->out.c_str()).empty()) {
        return bad(o->out + ": no raster format for this extension (.tif, .asc, .xyz, ...)");
    }
    if (!o->err.empty() && o->err == o->out) return bad("the error map and the output are the same file");
    return -1;
}

// What can be known before any work: the input can be opened as a vector source (else status 3,
// naming the file and why), and with write the output's folder exists and takes files (else 5).
// -1 to go on.
int CheckFiles(const DemOpt& o, const char* cmd, bool write) {
    struct stat st;
    std::string why;
    std::vector<OgrLyr> ls;
    std::string err;
    // GDAL opens what the file system has not (/vsizip/..., PG:...): the file system's reason
    // only once GDAL has refused.
    if (!OgrList(o.in.c_str(), &ls, &err)) {
        if (stat(o.in.c_str(), &st) != 0 || access(o.in.c_str(), R_OK) != 0)
            why = std::strerror(errno);
        else
            why = err.empty() ? "not a vector source GDAL reads" : "not a vector source GDAL reads (" + err + ")";
    }
    if (!why.empty()) {
        std::fprintf(stderr, "altimetra-cli %s: cannot read %s: %s\n", cmd, o.in.c_str(), why.c_str());
        return DemBadInput;
    }
    if (!write) return -1;
    const size_t slash = o.out.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : o.out.substr(0, slash);
    if (stat(dir.c_str(), &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISDIR(st.st_mode))
        why = "not a folder";
    else if (access(dir.c_str(), W_OK | X_OK) != 0)
        why = std::strerror(errno);
    if (!why.empty()) {
        std::fprintf(stderr, "altimetra-cli %s: cannot write %s: folder %s: %s\n", cmd, o.out.c_str(),
                     dir.c_str(), why.c_str());
        return DemNotWritten;
    }
    return -1;
}

volatile std::sig_atomic_t Stop = 0;

void OnStop(int) { Stop = 1; }

}  // namespace

bool DemStopped() { return Stop != 0; }

int DemPlatform::MsgBox(const char* text, const char* caption, int buttons, int icon) {
    (void)caption;
    (void)icon;
    prog.EndBar();
    std::string t = text ? text : "";
    for (char& c : t)
        if (c == '\n') c = ' ';
    std::fprintf(stderr, "altimetra-cli dem: %s\n", t.c_str());
    return buttons == plt::BtnYesNo ? plt::AnsNo : plt::AnsOk;
}

Feedback TermProgress::Fb() { return Feedback{this, Begin, Progress, End, Cancelled}; }

void TermProgress::Begin(void* ctx) {
    TermProgress& t = *static_cast<TermProgress*>(ctx);
    t.last_ = -1;
    if (!t.bar && !t.lines) return;
    t.steps_ = 0;
    t.shown_ = -1;
    t.on_ = true;
    t.Draw();
}

// One step a percent gained, as the window's bar advances; the first is the start's.
void TermProgress::Progress(void* ctx, int percent) {
    TermProgress& t = *static_cast<TermProgress*>(ctx);
    if (percent > 100) percent = 100;
    if (t.last_ < -1 || percent <= t.last_) return;
    for (int i = t.last_; i < percent; ++i) {
        if (!t.on_) break;
        t.steps_++;
        t.Draw();
    }
    t.last_ = percent;
}

void TermProgress::End(void* ctx) {
    TermProgress& t = *static_cast<TermProgress*>(ctx);
    t.last_ = -999;
    t.EndBar();
}

bool TermProgress::Cancelled(void*) { return DemStopped(); }

void TermProgress::Draw() {
    int pct = steps_ > 100 ? 100 : steps_;
    if (pct == shown_) return;
    shown_ = pct;
    if (lines) {
        std::fprintf(stderr, "progress %d\n", pct);
        std::fflush(stderr);
        return;
    }
    char line[96];
    int n = pct / 2;
    std::snprintf(line, sizeof line, "\rgenerating [%-50.*s] %3d%%", n,
                  "##################################################", pct);
    std::fputs(line, stderr);
    std::fflush(stderr);
}

void TermProgress::EndBar() {
    if (!on_) return;
    on_ = false;
    if (bar) std::fputs("\n", stderr);
}

DemEngine::DemEngine(DemPlatform* dp) : prev_(plt::Get()), lang_(MsgLang) {
    // The first SIGINT or SIGTERM asks the run to stop (DemStopped); the handler then resets, so
    // a second one ends the process at once.
    Stop = 0;
    struct sigaction sa {};
    sa.sa_handler = OnStop;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &sa, &oldInt_);
    sigaction(SIGTERM, &sa, &oldTerm_);
    plt::Set(dp);
    started = EngGuard([] {
                  StartEng();
                  return 1;
              }) == 1;
    if (!started) {
        std::fputs("altimetra-cli dem: the engine could not start\n", stderr);
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        plt::Set(prev_);
        MsgLang = lang_;
        return;
    }
    MsgLang = 1;  // console texts are English
}

DemEngine::~DemEngine() {
    if (!started) return;
    DstrCmd(CatSys, CmdSysEnd);
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    plt::Set(prev_);
    MsgLang = lang_;
}

double DemNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int TilesMain(int argc, char** argv) {
    DemOpt o;
    int rc = Parse(argc, argv, true, &o);
    if (rc < 0) rc = CheckFiles(o, "tiles", false);
    if (rc >= 0) return rc;
    return DemTiles(o, true);
}

int DemMain(int argc, char** argv) {
    DemOpt o;
    int rc = Parse(argc, argv, false, &o);
    if (rc < 0) rc = CheckFiles(o, "dem", true);
    if (rc >= 0) return rc;
    if (o.tileW > 0) return DemTiles(o, false);

    DemPlatform dp;
    dp.prog.lines = o.progress;
    dp.prog.bar = !o.quiet && !o.progress && isatty(2);
    DemEngine eng(&dp);
    if (!eng.started) return DemNoEngine;
    DemPrm p;
    p.src = OgrImpPrm{o.in, o.layer, o.field};
    p.itv = o.itv;
    p.haveRgn = o.haveRgn;
    for (int k = 0; k < 4; k++) p.rgn[k] = o.rgn[k];
    p.method = o.method->kind;
    p.flt = o.flt;
    p.out = o.out;
    p.err = o.err;
    // Wall and processor time at the start and at the end of each stage.
    double t[5], c[5];
    t[0] = DemNow();
    c[0] = Cpu();
    auto mark = [&](int from, int to) {
        for (int k = from; k <= to; k++) {
            t[k] = DemNow();
            c[k] = Cpu();
        }
    };
    p.told = [&](DemStage s, const DemRes& r) {
        switch (s) {
        case DemStRead: mark(1, 3); break;
        case DemStLaid:
            if (!o.quiet)
                std::fprintf(stderr, "altimetra-cli dem: %d contours (%d skipped), grid %d x %d\n", r.imp.curves,
                             r.imp.skipped, r.C, r.R);
            break;
        case DemStMade: mark(2, 3); break;
        case DemStFiltered: mark(3, 3); break;
        }
    };
    DemRes res;
    const int status = DemRun(p, dp.prog.Fb(), &res);
    mark(4, 4);
    if (status == DemNoGrid && res.tooLarge)
        std::fputs("altimetra-cli dem: the grid would be too large (more than 65535 rows or columns): choose a "
                   "larger interval\n",
                   stderr);
    if (status == DemInterrupted) std::fputs("altimetra-cli dem: interrupted: nothing written\n", stderr);
    if (status == DemOk && !o.quiet && !res.note.empty())
        std::fprintf(stderr, "altimetra-cli dem: %s\n", res.note.c_str());
    // Said even when quiet: a grid with no height at all is not what anyone asked for.
    const long long posts = static_cast<long long>(res.R) * res.C;
    if (status == DemOk && res.nodata > 0 && (!o.quiet || res.nodata == posts))
        std::fprintf(stderr, "altimetra-cli dem: %lld of %lld posts have no height (no contour reaches them): nodata\n",
                     res.nodata, posts);
    // Said even when quiet: the contours themselves want mending.
    if (status == DemOk)
        for (const LineRelevel& l : res.relevel)
            std::fprintf(stderr,
                         "altimetra-cli dem: the %g m line starting at %.3f %.3f looks digitised one interval "
                         "off: its neighbours put it at %g m, where the terrain takes it\n",
                         l.given / 1000.0, res.imp.ox + l.x / 1000.0, res.imp.oy + l.y / 1000.0, l.read / 1000.0);
    if (o.times)
        std::fprintf(stderr,
                     "times (wall / processor): read %.3f / %.3f s, generate %.3f / %.3f s, "
                     "filter %.3f / %.3f s, write %.3f / %.3f s\n",
                     t[1] - t[0], c[1] - c[0], t[2] - t[1], c[2] - c[1], t[3] - t[2], c[3] - c[2], t[4] - t[3],
                     c[4] - c[3]);
    return status;
}

}  // namespace jrn
