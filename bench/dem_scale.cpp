// How the cost of `altimetra-cli dem` grows: the shared synthetic contours generated at several
// intervals with each method, as one grid and in tiles, each run a child process; prints wall time,
// the child's peak resident memory (getrusage ru_maxrss), bytes per post and posts per second.
// With --seams it also compares the tiled mosaic with the whole grid post by post (the largest
// difference and the RMSE as fractions of the contour interval, 20 m).
//
//   dem_scale [--sizes 5,2.5,1,0.5] [--methods gradient-paths,cross-lines,min-curvature]
//             [--modes whole,tiled] [--tile-size N[xM]] [--overlap P] [--seams] [--keep DIR]
//
// Defaults: sizes 5 and 2.5 m, every method, both modes, tiles of 1000 x 1000 posts, the method's
// default overlap. ALT_SHARED_DIR overrides the shared data folder.
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

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sizes = {"5", "2.5"};
    std::vector<std::string> methods = {"gradient-paths", "cross-lines", "min-curvature"};
    std::vector<std::string> modes = {"whole", "tiled"};
    std::string tile = "1000", overlap, keep;
    bool seams = false;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--sizes" && more) sizes = Split(argv[++i]);
        else if (a == "--methods" && more) methods = Split(argv[++i]);
        else if (a == "--modes" && more) modes = Split(argv[++i]);
        else if (a == "--tile-size" && more) tile = argv[++i];
        else if (a == "--overlap" && more) overlap = argv[++i];
        else if (a == "--keep" && more) keep = argv[++i];
        else if (a == "--seams") seams = true;
        else {
            std::fprintf(stderr, "usage: dem_scale [--sizes 5,2.5,1,0.5] [--methods a,b] [--modes whole,tiled]\n"
                                 "                 [--tile-size N[xM]] [--overlap P] [--seams] [--keep DIR]\n");
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
    const std::string in = dir + "/synth.gpkg";
    std::remove(in.c_str());
    if (!SynthGpkg(shared + "/bench/synth-contours.txt", in)) {
        std::fprintf(stderr, "dem_scale: cannot read %s/bench/synth-contours.txt\n", shared.c_str());
        return 1;
    }
    const std::vector<std::string> common = {"--field", "elev", "--region", "500000", "4000000", "504000",
                                             "4003000", "--quiet"};
    auto args = [&](const std::string& out, const std::string& itv, const std::string& m) {
        std::vector<std::string> a = {ALT_CLI, "dem", in, "-o", out, "--interval", itv, "--method", m};
        a.insert(a.end(), common.begin(), common.end());
        return a;
    };
    char load[128] = "";
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (!std::fgets(load, sizeof load, f)) load[0] = 0;
        std::fclose(f);
    }
    std::printf("synthetic contours, region 4000 m x 3000 m; load average at start: %s", load);
    std::printf("%-6s %-15s %-6s %10s %9s %9s %8s %12s\n", "itv m", "method", "mode", "posts", "time s",
                "peak MB", "B/post", "posts/s");
    for (const std::string& s : sizes)
        for (const std::string& m : methods)
            for (const std::string& mode : modes) {
                const double itv = std::atof(s.c_str());
                const long long posts = (static_cast<long long>(std::floor(4000 / itv + 1e-9)) + 1) *
                                        (static_cast<long long>(std::floor(3000 / itv + 1e-9)) + 1);
                std::vector<std::string> a;
                const std::string stem = dir + "/" + m + "-" + s;
                if (mode == "whole") {
                    a = args(stem + ".tif", s, m);
                } else {
                    std::string sub = stem + "-tiles";
                    Sh("rm -rf '" + sub + "' && mkdir -p '" + sub + "'");
                    a = args(sub + "/m.vrt", s, m);
                    a.insert(a.end(), {"--tile-size", tile});
                    if (!overlap.empty()) a.insert(a.end(), {"--overlap", overlap});
                }
                Run r = Child(a);
                std::printf("%-6s %-15s %-6s %10lld %9.2f %9.1f %8.1f %12.0f%s\n", s.c_str(), m.c_str(), mode.c_str(),
                            posts, r.wall, r.peakMb, r.peakMb * 1048576.0 / static_cast<double>(posts),
                            static_cast<double>(posts) / r.wall, r.ok ? "" : "  FAILED");
                std::fflush(stdout);
            }
    if (seams) {
        // 5 m in 16 tiles (4 x 4 of 201 x 151 posts) against the whole grid.
        std::printf("\nseams at 5 m, 16 tiles of 201 x 151 posts, overlap %s\n",
                    overlap.empty() ? "by method" : overlap.c_str());
        std::printf("%-15s %12s %12s %10s\n", "method", "max/interval", "rmse/interval", "posts");
        for (const std::string& m : methods) {
            const std::string whole = dir + "/seam-" + m + ".tif", sub = dir + "/seam-" + m;
            Sh("rm -rf '" + sub + "' && mkdir -p '" + sub + "'");
            std::vector<std::string> t = args(sub + "/m.vrt", "5", m);
            t.insert(t.end(), {"--tile-size", "201x151"});
            if (!overlap.empty()) t.insert(t.end(), {"--overlap", overlap});
            if (!Child(args(whole, "5", m)).ok || !Child(t).ok) {
                std::printf("%-15s FAILED\n", m.c_str());
                continue;
            }
            Grid a = Read(whole), b = Read(sub + "/m.vrt");
            if (a.z.empty() || a.z.size() != b.z.size()) {
                std::printf("%-15s sizes differ\n", m.c_str());
                continue;
            }
            double big = 0, sum = 0;
            long long n = 0;
            for (size_t i = 0; i < a.z.size(); i++) {
                if (a.z[i] == -9999 || b.z[i] == -9999) continue;
                const double d = std::fabs(static_cast<double>(a.z[i]) - b.z[i]);
                big = std::max(big, d);
                sum += d * d;
                n++;
            }
            std::printf("%-15s %12.4f %12.5f %10lld\n", m.c_str(), big / 20, std::sqrt(sum / n) / 20, n);
            std::fflush(stdout);
        }
    }
    if (keep.empty()) Sh("rm -rf '" + dir + "'");
    return 0;
}
