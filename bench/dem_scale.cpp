// How the cost of `altimetra-cli dem` grows: shared contours generated at several intervals with
// each method, as one grid and in tiles, each run a child process; prints wall time, processor
// time (user + system, all threads), the child's peak resident memory (getrusage ru_maxrss), bytes
// per post and posts per second. With --seams it compares tiled mosaics of the default method with
// the whole grid post by post instead (the largest difference and the RMSE as fractions of the
// contour interval), with the largest overlap the tiles took and the processor time of both.
//
//   dem_scale [--data synth,lowland,andes] [--sizes 5,2.5,1,0.5] [--methods gradient-paths,...]
//             [--modes whole,tiled] [--tile-size N[xM]] [--overlap P] [--keep DIR]
//   dem_scale --seams [--tile-size 150,400] [--overlap P] [--keep DIR]
//
// Data: synth, the synthetic contours (4 km x 3 km, 20 m contours); lowland, the lidar valley
// floor (1 m contours); andes, the Andean valley (20 m contours). Defaults: synth, sizes 5 and
// 2.5 m, every method, both modes, tiles of 1000 x 1000 posts, the overlap each tile needs. The
// seams: synth at 5 and 2.5 m, andes at 10 m, lowland at 1 m, tiles of 150 and 400 posts.
// ALT_SHARED_DIR overrides the shared data folder.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> r;
    std::stringstream ss(s);
    std::string w;
    while (std::getline(ss, w, ',')) r.push_back(w);
    return r;
}

// The synthetic contours (millimetres) as a GeoPackage in UTM metres from 500000, 4000000.
bool SynthGpkg(const std::string& txt, const std::string& path) {
    std::ifstream in(txt);
    if (!in) return false;
    GDALAllRegister();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName("GPKG");
    GDALDataset* ds = d ? d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr;
    if (!ds) return false;
    OGRSpatialReference srs;
    srs.importFromEPSG(32654);
    OGRLayer* l = ds->CreateLayer("contours", &srs, wkbLineString, nullptr);
    OGRFieldDefn fd("elev", OFTReal);
    if (!l || l->CreateField(&fd) != OGRERR_NONE || l->StartTransaction() != OGRERR_NONE) {
        GDALClose(ds);
        return false;
    }
    std::string line;
    int left = 0;
    OGRLineString ls;
    double h = 0;
    auto flush = [&] {
        if (ls.getNumPoints() < 2) return;
        OGRFeature f(l->GetLayerDefn());
        f.SetField(0, h);
        f.SetGeometry(&ls);
        if (l->CreateFeature(&f) != OGRERR_NONE) std::fputs("dem_scale: a contour was not written\n", stderr);
        ls.empty();
    };
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ss(line);
        std::string w;
        ss >> w;
        if (w == "curve") {
            flush();
            ss >> left >> h;
            h /= 1000;
        } else if (left > 0) {
            double x = std::stod(w), y;
            ss >> y;
            ls.addPoint(500000 + x / 1000, 4000000 + y / 1000);
            left--;
        }
    }
    flush();
    const bool ok = l->CommitTransaction() == OGRERR_NONE;
    GDALClose(ds);
    return ok;
}

void Sh(const std::string& c) {
    if (std::system(c.c_str()) != 0) std::fprintf(stderr, "dem_scale: %s failed\n", c.c_str());
}

struct Run {
    bool ok = false;
    double wall = 0;
    double cpu = 0;
    double peakMb = 0;
};

// Runs the program with args as a child; its wall time and peak resident memory.
Run Child(const std::vector<std::string>& args) {
    Run r;
    std::vector<char*> argv;
    std::vector<std::string> a = args;
    for (std::string& s : a) argv.push_back(s.data());
    argv.push_back(nullptr);
    const double t0 = Now();
    pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) return r;
    int st = 0;
    rusage u{};
    if (wait4(pid, &st, 0, &u) != pid) return r;
    r.wall = Now() - t0;
    r.cpu = static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
            static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
    r.peakMb = static_cast<double>(u.ru_maxrss) / 1024.0;
    r.ok = WIFEXITED(st) && WEXITSTATUS(st) == 0;
    return r;
}

struct Grid {
    int w = 0, h = 0;
    std::vector<float> z;
};

Grid Read(const std::string& path) {
    Grid g;
    GDALDataset* ds = static_cast<GDALDataset*>(GDALOpen(path.c_str(), GA_ReadOnly));
    if (!ds) return g;
    g.w = ds->GetRasterXSize();
    g.h = ds->GetRasterYSize();
    g.z.resize(static_cast<size_t>(g.w) * g.h);
    if (ds->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, g.w, g.h, g.z.data(), g.w, g.h, GDT_Float32, 0, 0) != CE_None)
        g.z.clear();
    GDALClose(ds);
    return g;
}

// A data set: its contours, their interval, the region (empty: within the layer's extent).
struct Set {
    std::string name, path;
    double ci = 0;
    std::vector<std::string> region;
    double w = 0, h = 0;  // region, metres
    double x0 = 0, y0 = 0;
};

bool Extent(const std::string& path, double* x0, double* y0, double* w, double* h) {
    GDALDataset* ds = static_cast<GDALDataset*>(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    if (!ds) return false;
    OGREnvelope e;
    const bool ok = ds->GetLayerCount() > 0 && ds->GetLayer(0)->GetExtent(&e, TRUE) == OGRERR_NONE;
    GDALClose(ds);
    *x0 = std::ceil(e.MinX);
    *y0 = std::ceil(e.MinY);
    *w = e.MaxX - *x0;
    *h = e.MaxY - *y0;
    return ok;
}

long long Posts(const Set& d, double itv) {
    return (static_cast<long long>(std::floor(d.w / itv + 1e-9)) + 1) *
           (static_cast<long long>(std::floor(d.h / itv + 1e-9)) + 1);
}

// Largest difference and RMSE of two grids as fractions of ci; false when they do not match up.
bool Compare(const std::string& a, const std::string& b, double ci, double* big, double* rmse) {
    Grid x = Read(a), y = Read(b);
    if (x.z.empty() || x.z.size() != y.z.size()) return false;
    double m = 0, sum = 0;
    long long n = 0;
    for (size_t i = 0; i < x.z.size(); i++) {
        if ((x.z[i] == -9999) != (y.z[i] == -9999)) return false;
        if (x.z[i] == -9999) continue;
        const double d = std::fabs(static_cast<double>(x.z[i]) - y.z[i]);
        m = std::max(m, d);
        sum += d * d;
        n++;
    }
    *big = m / ci;
    *rmse = n ? std::sqrt(sum / n) / ci : 0;
    return true;
}

// Largest fifth column (overlap) of a tile list.
long long MaxOverlap(const std::string& list) {
    std::ifstream in(list);
    std::string line;
    long long m = -1;
    while (std::getline(in, line)) {
        const size_t t = line.find_last_of('\t');
        if (t != std::string::npos) m = std::max(m, std::atoll(line.c_str() + t + 1));
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sizes = {"5", "2.5"};
    std::vector<std::string> methods = {"gradient-paths", "cross-lines", "min-curvature"};
    std::vector<std::string> modes = {"whole", "tiled"};
    std::vector<std::string> data = {"synth"};
    std::string tile, overlap, keep;
    bool seams = false;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--sizes" && more) sizes = Split(argv[++i]);
        else if (a == "--methods" && more) methods = Split(argv[++i]);
        else if (a == "--modes" && more) modes = Split(argv[++i]);
        else if (a == "--data" && more) data = Split(argv[++i]);
        else if (a == "--tile-size" && more) tile = argv[++i];
        else if (a == "--overlap" && more) overlap = argv[++i];
        else if (a == "--keep" && more) keep = argv[++i];
        else if (a == "--seams") seams = true;
        else {
            std::fprintf(stderr, "usage: dem_scale [--data synth,lowland,andes] [--sizes 5,2.5,1,0.5] [--methods a,b]\n"
                                 "                 [--modes whole,tiled] [--tile-size N[xM]] [--overlap P] [--keep DIR]\n"
                                 "       dem_scale --seams [--tile-size 150,400] [--overlap P] [--keep DIR]\n");
            return 2;
        }
    }
    const char* e = std::getenv("ALT_SHARED_DIR");
    const std::string shared = e && *e ? e : ALT_SHARED_DIR;
    char tmpl[] = "/tmp/altdemscaleXXXXXX";
    std::string dir = keep;
    if (dir.empty()) {
        if (!mkdtemp(tmpl)) return 1;
        dir = tmpl;
    }
    std::vector<Set> sets = {
        {"synth", dir + "/synth.gpkg", 20, {"--region", "500000", "4000000", "504000", "4003000"}, 4000, 3000},
        {"lowland", shared + "/bench/real/lowland-contours-1.gpkg", 1, {}, 0, 0},
        {"andes", shared + "/bench/real/ecuador-contours-20.gpkg", 20, {}, 0, 0},
    };
    std::remove(sets[0].path.c_str());
    if (!SynthGpkg(shared + "/bench/synth-contours.txt", sets[0].path)) {
        std::fprintf(stderr, "dem_scale: cannot read %s/bench/synth-contours.txt\n", shared.c_str());
        return 1;
    }
    for (size_t k = 1; k < sets.size(); k++)
        if (!Extent(sets[k].path, &sets[k].x0, &sets[k].y0, &sets[k].w, &sets[k].h)) {
            std::fprintf(stderr, "dem_scale: cannot read %s\n", sets[k].path.c_str());
            return 1;
        }
    auto setOf = [&](const std::string& n) -> const Set* {
        for (const Set& d : sets)
            if (d.name == n) return &d;
        return nullptr;
    };
    auto args = [&](const Set& d, const std::string& out, const std::string& itv, const std::string& m) {
        std::vector<std::string> a = {ALT_CLI, "dem", d.path, "-o", out, "--interval", itv, "--method", m,
                                      "--field", "elev", "--quiet"};
        if (!d.region.empty()) {
            a.insert(a.end(), d.region.begin(), d.region.end());
            return a;
        }
        // Within the extent, from a whole metre, sides even multiples of the interval: the whole
        // grid then has the tiles' posts.
        const double v = std::atof(itv.c_str()), w = 2 * v * std::floor(d.w / (2 * v) + 1e-9),
                     h = 2 * v * std::floor(d.h / (2 * v) + 1e-9);
        char r[4][40];
        std::snprintf(r[0], sizeof r[0], "%.3f", d.x0);
        std::snprintf(r[1], sizeof r[1], "%.3f", d.y0);
        std::snprintf(r[2], sizeof r[2], "%.3f", d.x0 + w);
        std::snprintf(r[3], sizeof r[3], "%.3f", d.y0 + h);
        a.insert(a.end(), {"--region", r[0], r[1], r[2], r[3]});
        return a;
    };
    char load[128] = "";
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (!std::fgets(load, sizeof load, f)) load[0] = 0;
        std::fclose(f);
    }
    std::printf("load average at start: %s", load);
    if (seams) {
        // The default method's mosaics against the whole grid over the same posts.
        const std::vector<std::string> tiles = Split(tile.empty() ? "150,400" : tile);
        const std::pair<const char*, const char*> runs[] = {{"synth", "5"}, {"synth", "2.5"}, {"andes", "10"},
                                                            {"lowland", "1"}};
        std::printf("%-8s %-6s %-6s %6s %12s %12s %9s %9s %8s\n", "data", "itv m", "tiles", "ovl", "max/CI",
                    "rmse/CI", "cpu whole", "cpu tiled", "ratio");
        for (const auto& [name, itv] : runs) {
            const Set& d = *setOf(name);
            const std::string whole = dir + "/seam-" + d.name + "-" + itv + ".tif";
            const Run w = Child(args(d, whole, itv, "gradient-paths"));
            for (const std::string& ts : tiles) {
                const std::string sub = dir + "/seam-" + d.name + "-" + itv + "-" + ts;
                Sh("rm -rf '" + sub + "' && mkdir -p '" + sub + "'");
                std::vector<std::string> t = args(d, sub + "/m.vrt", itv, "gradient-paths");
                t.insert(t.end(), {"--tile-size", ts});
                if (!overlap.empty()) t.insert(t.end(), {"--overlap", overlap});
                std::vector<std::string> l = t;
                l[1] = "tiles";
                std::string cmd;
                for (const std::string& x : l) cmd += "'" + x + "' ";
                Sh(cmd + "> '" + sub + "/list' 2>/dev/null");
                const Run r = Child(t);
                double big = 0, rmse = 0;
                if (!w.ok || !r.ok || !Compare(whole, sub + "/m.vrt", d.ci, &big, &rmse)) {
                    std::printf("%-8s %-6s %-6s FAILED\n", d.name.c_str(), itv, ts.c_str());
                    continue;
                }
                std::printf("%-8s %-6s %-6s %6lld %12.5f %12.6f %9.2f %9.2f %8.2f\n", d.name.c_str(), itv, ts.c_str(),
                            MaxOverlap(sub + "/list"), big, rmse, w.cpu, r.cpu, r.cpu / w.cpu);
                std::fflush(stdout);
            }
        }
        if (keep.empty()) Sh("rm -rf '" + dir + "'");
        return 0;
    }
    if (tile.empty()) tile = "1000";
    std::printf("%-8s %-6s %-15s %-6s %10s %9s %9s %9s %8s %12s\n", "data", "itv m", "method", "mode", "posts",
                "time s", "cpu s", "peak MB", "B/post", "posts/s");
    for (const std::string& dn : data) {
        const Set* d = setOf(dn);
        if (!d) {
            std::fprintf(stderr, "dem_scale: no data set %s\n", dn.c_str());
            continue;
        }
        for (const std::string& s : sizes)
            for (const std::string& m : methods)
                for (const std::string& mode : modes) {
                    const long long posts = Posts(*d, std::atof(s.c_str()));
                    std::vector<std::string> a;
                    const std::string stem = dir + "/" + d->name + "-" + m + "-" + s;
                    if (mode == "whole") {
                        a = args(*d, stem + ".tif", s, m);
                    } else {
                        std::string sub = stem + "-tiles";
                        Sh("rm -rf '" + sub + "' && mkdir -p '" + sub + "'");
                        a = args(*d, sub + "/m.vrt", s, m);
                        a.insert(a.end(), {"--tile-size", tile});
                        if (!overlap.empty()) a.insert(a.end(), {"--overlap", overlap});
                    }
                    Run r = Child(a);
                    std::printf("%-8s %-6s %-15s %-6s %10lld %9.2f %9.2f %9.1f %8.1f %12.0f%s\n", d->name.c_str(),
                                s.c_str(), m.c_str(), mode.c_str(), posts, r.wall, r.cpu, r.peakMb,
                                r.peakMb * 1048576.0 / static_cast<double>(posts), static_cast<double>(posts) / r.wall,
                                r.ok ? "" : "  FAILED");
                    std::fflush(stdout);
                }
    }
    if (keep.empty()) Sh("rm -rf '" + dir + "'");
    return 0;
}
