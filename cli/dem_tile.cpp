// Tiled runs of altimetra-cli dem: the region's grid cut into tiles, each generated from the
// contours of its area and overlap alone (OGR's spatial filter) and its core written as a GeoTIFF
// of its own; a GDAL VRT puts the cores back together as one raster.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>
#include <gdal_priv.h>
#include "core/alc.h"
#include "dem_int.h"
#include "formats/outfile.h"
#include "gis/gis.h"
#include "terrain/trn.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mth.h"

namespace jrn {

namespace {

// The whole grid and how it is cut. Posts lie at x0 + c * d, y0 + r * d millimetres from the local
// origin, the south-west post rounded to a whole millimetre: with an interval of whole millimetres
// every post is then a whole number of millimetres, which the engine's 32-bit floats hold exactly
// up to 16 km from the origin, so a tile's posts are the whole grid's posts bit for bit.
struct Layout {
    double ox = 0, oy = 0;   // local origin, the input's unit
    double x0 = 0, y0 = 0;   // south-west post, mm from the origin
    double d = 0;            // interval, mm, as the engine holds it
    long long C = 0, R = 0;  // posts of the whole grid
    int tw = 0, th = 0;      // posts of a tile's core (the last column and row of tiles: fewer)
    long long nx = 0, ny = 0;  // tiles across and down
    std::string wkt;
    std::string stem;        // NAME of NAME.vrt
    std::string estem;       // ERRNAME of the error map's ERRNAME.vrt (empty: no error map)
    std::string mark;        // what the tiles are made from (RunMark); a tile of another run is made again
    long long Count() const { return nx * ny; }
};

// The metadata item of a tile that holds its run's mark.
constexpr const char* MarkItem = "ALTIMETRA_RUN";

// 64-bit FNV-1a, continued from h.
uint64_t Fnv(uint64_t h, const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t k = 0; k < n; k++) h = (h ^ b[k]) * 1099511628211ULL;
    return h;
}

// Files up to this size are hashed whole; of a larger one (which every tile of a parallel run
// would read again) its size, time of change and first and last MiB.
constexpr long long WholeHash = 256LL << 20;

// The bytes of file path into h; false when it cannot be read.
bool HashFile(const std::string& path, uint64_t* h) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    std::vector<char> buf(1 << 20);
    auto part = [&](off_t from, long long len) {
        for (long long got = 0; ok && got < len;) {
            const ssize_t n = pread(fd, buf.data(), static_cast<size_t>(std::min<long long>(len - got, 1 << 20)),
                                    from + static_cast<off_t>(got));
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            *h = Fnv(*h, buf.data(), static_cast<size_t>(n));
            got += n;
        }
    };
    if (ok && st.st_size <= WholeHash) {
        part(0, st.st_size);
    } else if (ok) {
        const long long meta[3] = {static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
                                   static_cast<long long>(st.st_mtim.tv_nsec)};
        *h = Fnv(*h, meta, sizeof meta);
        part(0, 1 << 20);
        part(st.st_size - (1 << 20), 1 << 20);
    }
    close(fd);
    return ok;
}

// The files a source is read from: a directory's files, or the file with those beside it that
// share its name up to the first dot (a shapefile's .dbf and .prj, a GeoPackage's -wal).
std::vector<std::string> SourceFiles(const std::string& in) {
    std::vector<std::string> out;
    struct stat st;
    if (stat(in.c_str(), &st) != 0) return out;
    std::string dir = in, stem;
    if (S_ISREG(st.st_mode)) {
        const size_t slash = in.find_last_of('/');
        dir = slash == std::string::npos ? "." : in.substr(0, slash);
        const std::string name = slash == std::string::npos ? in : in.substr(slash + 1);
        stem = name.substr(0, name.find('.'));
    } else if (!S_ISDIR(st.st_mode)) {
        return out;
    }
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (!stem.empty() && (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0 ||
                                  (name[stem.size()] != '.' && name[stem.size()] != '-')))
                continue;
            const std::string path = dir + "/" + name;
            struct stat fs;
            if (stat(path.c_str(), &fs) == 0 && S_ISREG(fs.st_mode)) out.push_back(path);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// What the tiles of a run are made from: the source's contents (not its name or time, so that a
// copy of it on another machine of a parallel run gives the same mark; but see WholeHash), the
// layer, field, method, filter and overlap. The grid's interval and place are checked from each tile's size and
// georeferencing.
std::string RunMark(const DemOpt& o) {
    uint64_t h = 14695981039346656037ULL;
    const std::vector<std::string> files = SourceFiles(o.in);
    if (files.empty()) h = Fnv(h, o.in.data(), o.in.size());   // not a file: a database, a URL
    for (const std::string& f : files) {
        const size_t slash = f.find_last_of('/');
        const std::string name = f.substr(slash + 1);
        h = Fnv(h, name.data(), name.size() + 1);
        if (!HashFile(f, &h)) h = Fnv(h, "?", 1);
    }
    char b[80];
    std::snprintf(b, sizeof b, "%016llx %.17g %d", static_cast<unsigned long long>(h), o.flt, o.overlap);
    return std::string(b) + " " + (o.method ? o.method->name : "") + " " + o.layer + " " + o.field;
}

// Tile `index`: row and column of tiles (row 0 in the north), its core as columns [c0, c1) and
// rows [r0, r1) of the whole grid (rows counted from the south, as the engine's), and once its
// overlap is known (Plan) the posts generated around it, [gc0, gc1] x [gr0, gr1] (an odd number
// each way: the engine lays a grid out from its centre post).
struct Tile {
    long long index = 0, row = 0, col = 0;
    long long c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    long long need = 0;   // overlap its posts need, posts
    long long ovl = 0;    // overlap it is made with: need, or the user's when larger
    long long gc0 = 0, gc1 = 0, gr0 = 0, gr1 = 0;
    std::string path;
    std::string epath;       // its error map (empty: none)
};

void Say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* fmt, ...) {
    va_list a;
    va_start(a, fmt);
    std::fputs("altimetra-cli dem: ", stderr);
    std::vfprintf(stderr, fmt, a);
    std::fputs("\n", stderr);
    va_end(a);
}

// Generated span [g0, g1] of a core [a, b) among n posts: ovl posts on each side within the grid,
// then one more post when the count is even, inside the grid where it can be.
void Span(long long a, long long b, long long n, long long ovl, long long* g0, long long* g1) {
    *g0 = std::max(0LL, a - ovl);
    *g1 = std::min(n - 1, b - 1 + ovl);
    if ((*g1 - *g0) % 2 != 0) {
        if (*g1 < n - 1) ++*g1;
        else if (*g0 > 0) --*g0;
        else ++*g1;
    }
}

Tile TileOf(const Layout& L, long long index) {
    Tile t;
    t.index = index;
    t.row = index / L.nx;
    t.col = index % L.nx;
    t.c0 = t.col * L.tw;
    t.c1 = std::min(L.C, t.c0 + L.tw);
    const long long k0 = t.row * L.th, k1 = std::min(L.R, k0 + L.th);  // rows from the north
    t.r0 = L.R - k1;
    t.r1 = L.R - k0;
    char tail[64];
    std::snprintf(tail, sizeof tail, "_%lld_%lld.tif", t.row, t.col);
    t.path = L.stem + tail;
    if (!L.estem.empty()) t.epath = L.estem + tail;
    return t;
}

// The layout of o over the layer's extent or o's region. Status, messages printed.
int MkLayout(const DemOpt& o, Layout* L) {
    OgrImpPrm p{o.in, o.layer, o.field};
    double ext[4], org[2];
    if (EngGuard([&] { return OgrLyrExt(p, ext, org, &L->wkt) == 0 ? 1 : 0; }) != 1) return DemBadInput;
    const double* r = o.haveRgn ? o.rgn : ext;
    L->ox = org[0];
    L->oy = org[1];
    L->d = static_cast<double>(static_cast<float>(o.itv * 1000.0));
    // The south-west post on the region's corner, or the whole millimetre inside it.
    L->x0 = std::ceil((r[0] - L->ox) * 1000.0 - 1e-6);
    L->y0 = std::ceil((r[1] - L->oy) * 1000.0 - 1e-6);
    const double w = (r[2] - L->ox) * 1000.0 - L->x0, h = (r[3] - L->oy) * 1000.0 - L->y0;
    const double nc = std::floor(w / L->d + 1e-9) + 1, nr = std::floor(h / L->d + 1e-9) + 1;
    // A VRT holds int sizes; a tile needs a grid of at least 2 x 2 posts to be a terrain.
    if (!(nc >= 2 && nr >= 2)) {
        Say("the region is narrower than two grid intervals: choose a smaller interval");
        return DemNoGrid;
    }
    if (nc > 2147483647.0 || nr > 2147483647.0) {
        Say("the mosaic would be too large (more than 2147483647 rows or columns): choose a larger interval");
        return DemNoGrid;
    }
    L->C = static_cast<long long>(nc);
    L->R = static_cast<long long>(nr);
    L->tw = o.tileW;
    L->th = o.tileH;
    L->nx = (L->C + L->tw - 1) / L->tw;
    L->ny = (L->R + L->th - 1) / L->th;
    L->stem = o.out.substr(0, o.out.size() - 4);
    if (!o.err.empty()) L->estem = o.err.substr(0, o.err.size() - 4);
    return DemOk;
}

// Where the engine puts post c (column) or r (row), mm from the origin.
float PostX(const Layout& L, long long c) { return static_cast<float>(L.x0 + static_cast<double>(c) * L.d); }
float PostY(const Layout& L, long long r) { return static_cast<float>(L.y0 + static_cast<double>(r) * L.d); }

// Geotransform of the block whose west column is c and north row r, as the export writes it.
void GeoOf(const Layout& L, long long c, long long r, double gt[6]) {
    const double d = L.d * 0.001;
    gt[0] = L.ox + PostX(L, c) * 0.001 - d / 2;
    gt[1] = d;
    gt[2] = 0;
    gt[3] = L.oy + PostY(L, r) * 0.001 + d / 2;
    gt[4] = 0;
    gt[5] = -d;
}

// Ground position (the input's unit) of column c or row r.
double GroundX(const Layout& L, long long c) { return L.ox + (L.x0 + static_cast<double>(c) * L.d) * 0.001; }
double GroundY(const Layout& L, long long r) { return L.oy + (L.y0 + static_cast<double>(r) * L.d) * 0.001; }

// Cells of the spacing map across a tile's shorter side: coarse enough to cost little beside
// generating the tile, fine enough that the overlap it asks for stays near what the posts need.
// However far the map must reach, it keeps at most SpcMaxCells a side.
constexpr int SpcCells = 128;
constexpr int SpcMaxCells = 512;

// The overlap (posts) tile t's posts need under method k, from the contours rd read over the posts
// [a0, a1] x [b0, b1] around it: the most by which a post's reach passes the side of the core
// nearest to it (sides on the grid's edge need none). cap: the overlap that takes in the whole
// grid, given when a post's reach has no bound. Where the contours read cannot tell, the reach has
// no bound, so a larger margin is read.
long long Need(const Layout& L, const Tile& t, TrnMethodKind k, OgrCrvs& rd, long long a0, long long a1,
               long long b0, long long b1, long long cap) {
    const double dm = L.d * 0.001;
    TrnSpcMap m;
    m.x0 = GroundX(L, a0) - dm / 2;
    m.y0 = GroundY(L, b0) - dm / 2;
    const double w = static_cast<double>(a1 - a0 + 1) * dm, h = static_cast<double>(b1 - b0 + 1) * dm;
    m.cell = std::max(dm, std::min(L.tw, L.th) * dm / SpcCells);
    m.cell = std::max(m.cell, std::max(w, h) / SpcMaxCells);
    m.nx = std::max(1, static_cast<int>(std::ceil(w / m.cell - 1e-9)));
    m.ny = std::max(1, static_cast<int>(std::ceil(h / m.cell - 1e-9)));
    // Sides inside the grid: the contours go on past them.
    m.open[0] = a0 > 0;
    m.open[1] = a1 < L.C - 1;
    m.open[2] = b0 > 0;
    m.open[3] = b1 < L.R - 1;
    std::vector<cntr> c;
    c.reserve(rd.crvs.size());
    for (OgrCrv& v : rd.crvs) {
        if (v.xy.size() < 4) continue;
        cntr e{};
        e.n = static_cast<int>(v.xy.size() / 2);
        e.pnt = v.xy.data();
        e.hgt = static_cast<float>(v.h);
        c.push_back(e);
    }
    TrnSpcMk(c.data(), static_cast<int>(c.size()), &m);
    std::vector<float> reach;
    if (!TrnMethodReach(k, m, dm, &reach)) return cap;
    const double x0 = GroundX(L, t.c0), x1 = GroundX(L, t.c1 - 1);
    const double y0 = GroundY(L, t.r0), y1 = GroundY(L, t.r1 - 1);
    double need = 0;
    for (int r = 0; r < m.ny; r++) {
        const double ya = std::max(m.y0 + r * m.cell, y0), yb = std::min(m.y0 + (r + 1) * m.cell, y1);
        if (ya > yb) continue;
        for (int q = 0; q < m.nx; q++) {
            const double xa = std::max(m.x0 + q * m.cell, x0), xb = std::min(m.x0 + (q + 1) * m.cell, x1);
            if (xa > xb) continue;
            double e = HUGE_VAL;
            if (t.c0 > 0) e = std::min(e, xa - x0);
            if (t.c1 < L.C) e = std::min(e, x1 - xb);
            if (t.r0 > 0) e = std::min(e, ya - y0);
            if (t.r1 < L.R) e = std::min(e, y1 - yb);
            if (!std::isfinite(e)) return 0;  // the tile is the whole grid
            const double rr = reach[static_cast<size_t>(r) * m.nx + q];
            if (!std::isfinite(rr)) return cap;
            need = std::max(need, rr - e);
        }
    }
    return std::clamp(static_cast<long long>(std::ceil(need / dm - 1e-9)), 0LL, cap);
}

// Tile t's overlap and the posts generated with it. The overlap is what its posts need, measured
// from the contours within a margin around it that grows until it holds that overlap, or the
// user's when larger; a smaller one given is widened (a warning), or with --strict-overlap refused.
// Status, messages printed.
int Plan(const Layout& L, const DemOpt& o, Tile* t) {
    const long long cap = std::max({t->c0, L.C - t->c1, t->r0, L.R - t->r1});
    long long m = std::min(cap, std::max<long long>(8, std::max(L.tw, L.th) / 4));
    OgrImpPrm p{o.in, o.layer, o.field};
    for (;;) {
        const long long a0 = std::max(0LL, t->c0 - m - 1), a1 = std::min(L.C - 1, t->c1 + m);
        const long long b0 = std::max(0LL, t->r0 - m - 1), b1 = std::min(L.R - 1, t->r1 + m);
        const double half = L.d * 0.5;
        OgrClip clip{{L.ox + (PostX(L, a0) - half) * 0.001, L.oy + (PostY(L, b0) - half) * 0.001,
                      L.ox + (PostX(L, a1) + half) * 0.001, L.oy + (PostY(L, b1) + half) * 0.001},
                     L.ox,
                     L.oy};
        OgrCrvs rd;
        OgrImpRes res;
        if (EngGuard([&] { return OgrRdCrv(p, &rd, &res, &clip) == 0 ? 1 : 0; }) != 1) return DemBadInput;
        t->need = Need(L, *t, o.method->kind, rd, a0, a1, b0, b1, cap);
        if (t->need <= m || m >= cap) break;
        m = std::min(cap, std::max(2 * m, t->need));
    }
    t->ovl = t->need;
    if (o.overlap >= 0) {
        if (o.overlap >= t->need) {
            t->ovl = o.overlap;
        } else if (o.strictOverlap) {
            Say("tile %lld needs an overlap of %lld posts, more than --overlap %d: refused (--strict-overlap)",
                t->index, t->need, o.overlap);
            return DemBadArgs;
        } else {
            Say("warning: tile %lld needs an overlap of %lld posts: --overlap %d widened to it", t->index, t->need,
                o.overlap);
        }
    }
    Span(t->c0, t->c1, L.C, t->ovl, &t->gc0, &t->gc1);
    Span(t->r0, t->r1, L.R, t->ovl, &t->gr0, &t->gr1);
    if (t->gc1 - t->gc0 >= 65535 || t->gr1 - t->gr0 >= 65535) {
        Say("tile %lld with its overlap of %lld posts would pass 65535 posts: choose a smaller --tile-size or a "
            "larger interval",
            t->index, t->ovl);
        return DemNoGrid;
    }
    return DemOk;
}

// Whether the tile's file is there and whole. Files are only ever renamed into place when
// complete, but a file of another run (another interval, region, source or method) or a copy cut
// short may lie there: it must open as a raster of the core's size at the core's place with the
// run's mark, and every row must read.
bool Whole(const Layout& L, const Tile& t, const std::string& path);
bool Complete(const Layout& L, const Tile& t) {
    return Whole(L, t, t.path) && (t.epath.empty() || Whole(L, t, t.epath));
}

bool Whole(const Layout& L, const Tile& t, const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDataset* ds = static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    bool ok = ds && ds->GetRasterXSize() == t.c1 - t.c0 && ds->GetRasterYSize() == t.r1 - t.r0 &&
              ds->GetRasterCount() == 1;
    double gt[6], want[6];
    GeoOf(L, t.c0, t.r1 - 1, want);
    if (ok) ok = ds->GetGeoTransform(gt) == CE_None;
    for (int k = 0; ok && k < 6; k++) ok = std::fabs(gt[k] - want[k]) <= 1e-3 * want[1];
    if (ok) {
        const char* m = ds->GetMetadataItem(MarkItem);
        ok = m && L.mark == m;
    }
    // Every row must read: a copy cut short keeps a sound header.
    std::vector<float> row(ok ? static_cast<size_t>(t.c1 - t.c0) : 0);
    CPLErrorReset();
    for (long long k = 0; ok && k < t.r1 - t.r0; k++)
        ok = ds->GetRasterBand(1)->RasterIO(GF_Read, 0, static_cast<int>(k), static_cast<int>(row.size()), 1,
                                            row.data(), static_cast<int>(row.size()), 1, GDT_Float32, 0,
                                            0) == CE_None;
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    if (ds) GDALClose(ds);
    CPLPopErrorHandler();
    return ok;
}

// Puts the run's mark into the tile's file at path. A file left without it (the run stopped
// between the two) is only made again by the next run.
int Mark(const Layout& L, const std::string& path) {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
    GDALDataset* ds = static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE, nullptr, nullptr, nullptr));
    bool ok = ds && ds->SetMetadataItem(MarkItem, L.mark.c_str()) == CE_None;
    if (ds) GDALClose(ds);
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    const std::string why = CPLGetLastErrorMsg();
    CPLPopErrorHandler();
    if (ok) return DemOk;
    Say("%s: could not be marked as this run's tile%s%s", path.c_str(), why.empty() ? "" : ": ", why.c_str());
    return DemNotWritten;
}

// Generates tile t and writes its core. Status, messages printed.
int MakeTile(const Layout& L, const Tile& t, const DemOpt& o, DemPlatform& dp) {
    DemPrm p;
    p.src = OgrImpPrm{o.in, o.layer, o.field};
    // The contours near enough to the generated posts to bear on them: the whole grid's posts see
    // those beyond the region's edge as well.
    const double rim = L.d * TrnMethodRim(o.method->kind);
    const OgrClip clip{{L.ox + (PostX(L, t.gc0) - rim) * 0.001, L.oy + (PostY(L, t.gr0) - rim) * 0.001,
                        L.ox + (PostX(L, t.gc1) + rim) * 0.001, L.oy + (PostY(L, t.gr1) + rim) * 0.001},
                       L.ox,
                       L.oy};
    p.clip = &clip;
    p.itv = o.itv;
    p.rgnMm = true;
    p.rgn[0] = PostX(L, t.gc0);
    p.rgn[1] = PostY(L, t.gr0);
    p.rgn[2] = PostX(L, t.gc1);
    p.rgn[3] = PostY(L, t.gr1);
    p.wantC = static_cast<int>(t.gc1 - t.gc0 + 1);
    p.wantR = static_cast<int>(t.gr1 - t.gr0 + 1);
    p.method = o.method->kind;
    p.flt = o.flt;
    p.emptyIsNodata = true;
    p.out = t.path;
    p.err = t.epath;
    const GisBlk b{static_cast<int>(t.c0 - t.gc0), static_cast<int>(t.c1 - t.gc0),
                   static_cast<int>(t.r0 - t.gr0), static_cast<int>(t.r1 - t.gr0), false};
    p.blk = &b;
    DemRes res;
    int status = DemRun(p, dp.prog.Fb(), &res);
    if (status == DemNoGrid && !res.said) Say("tile %lld: no grid could be made", t.index);
    if (status == DemOk) status = Mark(L, t.path);
    if (status == DemOk && !t.epath.empty()) status = Mark(L, t.epath);
    return status;
}

std::string Xml(const std::string& s) {
    std::string r;
    for (char c : s) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '"': r += "&quot;"; break;
        default: r += c;
        }
    }
    return r;
}

std::string Num(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

// The mosaic: every tile's core at its place, nodata -9999, the input's CRS. Status.
int WriteVrt(const Layout& L, const std::string& path, bool err = false) {
    double gt[6];
    GeoOf(L, 0, L.R - 1, gt);
    OutFile f;
    if (f.Open(path) != OutOk) {
        Say("%s: %s", path.c_str(), f.Reason().c_str());
        return DemNotWritten;
    }
    f.Line("<VRTDataset rasterXSize=\"" + std::to_string(L.C) + "\" rasterYSize=\"" +
           std::to_string(L.R) + "\">");
    if (!L.wkt.empty()) f.Line("  <SRS dataAxisToSRSAxisMapping=\"1,2\">" + Xml(L.wkt) + "</SRS>");
    f.Line("  <GeoTransform>" + Num(gt[0]) + ", " + Num(gt[1]) + ", 0, " + Num(gt[3]) + ", 0, " +
           Num(gt[5]) + "</GeoTransform>");
    f.Line("  <VRTRasterBand dataType=\"Float32\" band=\"1\">");
    f.Line("    <NoDataValue>" + Num(GisNoData) + "</NoDataValue>");
    for (long long i = 0; i < L.Count(); i++) {
        const Tile t = TileOf(L, i);
        const std::string w = std::to_string(t.c1 - t.c0), h = std::to_string(t.r1 - t.r0);
        const std::string& tp = err ? t.epath : t.path;
        const size_t slash = tp.find_last_of('/');
        const std::string name = slash == std::string::npos ? tp : tp.substr(slash + 1);
        f.Line("    <SimpleSource>");
        f.Line("      <SourceFilename relativeToVRT=\"1\">" + Xml(name) + "</SourceFilename>");
        f.Line("      <SourceBand>1</SourceBand>");
        f.Line("      <SourceProperties RasterXSize=\"" + w + "\" RasterYSize=\"" + h +
               "\" DataType=\"Float32\"/>");
        f.Line("      <SrcRect xOff=\"0\" yOff=\"0\" xSize=\"" + w + "\" ySize=\"" + h + "\"/>");
        f.Line("      <DstRect xOff=\"" + std::to_string(t.c0) + "\" yOff=\"" +
               std::to_string(L.R - t.r1) + "\" xSize=\"" + w + "\" ySize=\"" + h + "\"/>");
        f.Line("    </SimpleSource>");
    }
    f.Line("  </VRTRasterBand>");
    f.Line("</VRTDataset>");
    if (f.Commit() != OutOk) {
        Say("%s: %s", path.c_str(), f.Reason().c_str());
        return DemNotWritten;
    }
    return DemOk;
}

// "12 s", "3 min", "2.5 h".
std::string Dur(double s) {
    char b[32];
    if (s < 90) std::snprintf(b, sizeof b, "%.0f s", s);
    else if (s < 5400) std::snprintf(b, sizeof b, "%.0f min", s / 60);
    else std::snprintf(b, sizeof b, "%.1f h", s / 3600);
    return b;
}

}  // namespace

int DemTiles(const DemOpt& o, bool list) {
    DemPlatform dp;
    dp.prog.lines = o.progress;
    DemEngine eng(&dp);
    if (!eng.started) return DemNoEngine;
    Layout L;
    int status = MkLayout(o, &L);
    if (status != DemOk) return status;
    if (!list) L.mark = RunMark(o);
    if (list) {
        for (long long i = 0; i < L.Count(); i++) {
            Tile t = TileOf(L, i);
            status = Plan(L, o, &t);
            if (status != DemOk) return status;
            std::printf("%lld\t%lld\t%lld\t%s\t%lld\n", t.index, t.row, t.col, t.path.c_str(), t.ovl);
        }
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? DemOk : DemNotWritten;
    }
    if (o.tile >= L.Count()) {
        Say("there is no tile %lld: the grid of %lld x %lld posts makes %lld tiles (0 to %lld)", o.tile,
            L.C, L.R, L.Count(), L.Count() - 1);
        return DemBadArgs;
    }
    if (o.vrtOnly) {
        long long missing = 0;
        std::string first;
        for (long long i = 0; i < L.Count(); i++) {
            const Tile t = TileOf(L, i);
            if (Complete(L, t)) continue;
            if (!missing) first = t.path;
            missing++;
        }
        if (missing) {
            Say("%lld of %lld tiles are missing or incomplete (the first: %s): make them first", missing,
                L.Count(), first.c_str());
            return DemTilesMissing;
        }
        status = WriteVrt(L, o.out);
        if (status == DemOk && !o.err.empty()) status = WriteVrt(L, o.err, true);
        return status;
    }
    const long long from = o.tile >= 0 ? o.tile : 0, to = o.tile >= 0 ? o.tile + 1 : L.Count();
    const long long total = to - from;
    if (!o.quiet && o.tile < 0)
        Say("grid %lld x %lld posts in %lld tiles of %d x %d, each with the overlap it needs", L.C, L.R, total,
            L.tw, L.th);
    const double t0 = DemNow();
    long long made = 0, done = 0;
    double madeTime = 0;
    for (long long i = from; i < to; i++) {
        Tile t = TileOf(L, i);
        done++;
        if (Complete(L, t)) {
            if (!o.quiet) Say("tile %lld (%s) is complete: kept; %lld of %lld done", i, t.path.c_str(), done, total);
            continue;
        }
        const double s = DemNow();
        status = DemStopped() ? DemInterrupted : Plan(L, o, &t);
        if (status == DemOk) status = DemStopped() ? DemInterrupted : MakeTile(L, t, o, dp);
        if (status == DemInterrupted) {
            Say("interrupted: tile %lld (%s) not written; run again to finish", i, t.path.c_str());
            return status;
        }
        if (status != DemOk) {
            Say("tile %lld (%s) failed", i, t.path.c_str());
            return status;
        }
        made++;
        madeTime += DemNow() - s;
        if (!o.quiet) {
            const double left = madeTime / static_cast<double>(made) * static_cast<double>(total - done);
            Say("tile %lld made in %s (overlap %lld posts); %lld of %lld done, about %s left", i,
                Dur(DemNow() - s).c_str(), t.ovl, done, total, Dur(left).c_str());
        }
    }
    if (o.tile < 0) status = WriteVrt(L, o.out);
    if (o.tile < 0 && status == DemOk && !o.err.empty()) status = WriteVrt(L, o.err, true);
    if (o.times) std::fprintf(stderr, "times (wall): %lld tiles made, %.3f s\n", made, DemNow() - t0);
    return status;
}

}  // namespace jrn
