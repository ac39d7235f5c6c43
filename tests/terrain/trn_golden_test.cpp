// The cross-line method pinned against heights that an independent implementation computed for
// 1162 vertices of the shared synthetic contours: every height must match bit for bit. Both
// generators are checked (the parallel one at every golden vertex, the reference at a few).
#include "terrain/trn_fixture.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/alc.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "terrain/trn_cmd.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"

namespace {
// A file of the shared bench data, found beside the source tree (the main tree and worktrees sit at
// different depths).
std::string Shared(const std::string& rel) {
    for (std::string base : {std::string(ALT_SHARED_DIR), std::string(ALT_SOURCE_DIR) + "/../../shared"}) {
        std::string p = base + "/" + rel;
        if (FILE* f = std::fopen(p.c_str(), "r")) {
            std::fclose(f);
            return p;
        }
    }
    return "";
}

struct Gold {
    int r, c;
    float z;
};

// The contours of the file as curves of the terrain part; false when the file cannot be read.
bool LoadContours(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char line[256];
    crv* cur = nullptr;
    int want = 0;
    float h = 0;
    while (std::fgets(line, sizeof line, f)) {
        double a, b;
        int n;
        if (line[0] == '#') continue;
        if (want > 0 && std::sscanf(line, "%lf %lf", &a, &b) == 2) {
            AddCrvPnt(cur, static_cast<float>(a), static_cast<float>(b), h);
            want--;
        } else if (std::sscanf(line, "curve %d %lf", &n, &a) == 2) {
            cur = NewCrvObj("c");
            AtchCrvPrt(TrnPrt, cur);
            h = static_cast<float>(a);
            want = n;
        }
    }
    std::fclose(f);
    return want == 0 && cur;
}

std::vector<Gold> LoadGold(const std::string& path) {
    std::vector<Gold> g;
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return g;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        Gold e;
        double x, y, z;
        if (line[0] != '#' && std::sscanf(line, "%d %d %lf %lf %lf", &e.r, &e.c, &x, &y, &z) == 5) {
            e.z = static_cast<float>(z);
            g.push_back(e);
        }
    }
    std::fclose(f);
    return g;
}
}  // namespace

// Stopping the walk early, a wrong spline end or a drifting axis direction each change heights here
// although generators that share the walk still agree with each other.
TEST_F(TrnTest, CrossLineHeightsMatchTheGoldenVerticesBitForBit) {
    const std::string cpath = Shared("bench/synth-contours.txt");
    const std::string gpath = Shared("bench/synth-golden.txt");
    ASSERT_FALSE(cpath.empty()) << "shared bench contours not found";
    ASSERT_TRUE(LoadContours(cpath));
    const std::vector<Gold> gold = LoadGold(gpath);
    ASSERT_EQ(gold.size(), 1162u);
    Region(0, 0, 4000000, 3000000, 5000);
    ASSERT_EQ(Cols(), 801);
    ASSERT_EQ(Rows(), 601);
    // The golden vertices as the grid lays them out, generated through the creation's own pieces
    // with the scene extent the command takes (the larger side of the contours and the region).
    std::vector<float> v;
    for (const Gold& e : gold) {
        const float* p = TrnSrf->v + 3 * (e.r * Cols() + e.c);
        v.insert(v.end(), {p[0], p[1], 0.0f});
    }
    int nc = 0;
    cntr* c = MkCntr(&nc);
    ASSERT_EQ(nc, 46);
    TrnGenPrm prm;
    prm.crsAngNum = 8;
    prm.crsLenScl = 0.3f;
    prm.samDst = 20000;
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, 4000000.0, prm);
    std::vector<float> fast = v;
    BgnWork();
    ASSERT_TRUE(GenTrnFast(ctx, fast.data(), static_cast<int>(gold.size()), false));
    RunFlg = 0;
    int bad = 0;
    for (size_t i = 0; i < gold.size(); i++) {
        if (std::memcmp(&fast[3 * i + 2], &gold[i].z, sizeof(float)) == 0) continue;
        if (++bad <= 10)
            ADD_FAILURE() << "row " << gold[i].r << " column " << gold[i].c << ": " << fast[3 * i + 2]
                          << " instead of " << gold[i].z;
    }
    EXPECT_EQ(bad, 0);
    // The reference at the north-west corner (contours clipped to the west edge) and a few others.
    std::vector<size_t> pick;
    for (size_t i = 0; i < gold.size(); i++)
        if ((gold[i].c == 0 && gold[i].r >= 594) || (gold[i].r == 300 && gold[i].c % 200 == 0)) pick.push_back(i);
    ASSERT_GE(pick.size(), 7u);
    std::vector<float> ref;
    for (size_t i : pick) ref.insert(ref.end(), {v[3 * i], v[3 * i + 1], 0.0f});
    ASSERT_TRUE(RunRef(ctx, ref.data(), static_cast<int>(pick.size()), false));
    for (size_t k = 0; k < pick.size(); k++)
        EXPECT_EQ(ref[3 * k + 2], gold[pick[k]].z) << "reference, row " << gold[pick[k]].r << " column "
                                                   << gold[pick[k]].c;
    // Heights outside the order band of their post are brought to its edge; every golden vertex
    // whose height lies in its band keeps it bit for bit. The bands hold the true ground: where the
    // stated method strays beyond the last contour (the region's edges) the clamp brings it back.
    std::vector<float> all(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv);
    for (int i = 0; i < TrnSrf->nv; i++) all[3 * i + 2] = -FLT_MAX;
    for (size_t i = 0; i < gold.size(); i++) all[3 * (gold[i].r * Cols() + gold[i].c) + 2] = gold[i].z;
    std::vector<float> clamped = all;
    ClampOrdBand(c, nc, all.data(), Rows(), Cols(), MshItv, clamped.data() + 2, nullptr, -FLT_MAX);
    OrdBand band;
    TrnOrdBand(c, nc, all.data(), Rows(), Cols(), MshItv, &band);
    std::vector<double> truth;
    if (FILE* f = std::fopen(Shared("bench/synth-truth.txt").c_str(), "r")) {
        char w[64];
        while (std::fscanf(f, "%63s", w) == 1) {
            if (w[0] == '#') {
                int ch;
                while ((ch = std::fgetc(f)) != '\n' && ch != EOF) {}
                continue;
            }
            truth.push_back(std::atof(w) * 1000.0);
        }
        std::fclose(f);
    }
    ASSERT_EQ(truth.size(), static_cast<size_t>(Rows()) * Cols());
    int outside = 0, wrong = 0, better = 0;
    for (const Gold& e : gold) {
        const int k = e.r * Cols() + e.c;
        const float z = clamped[3 * k + 2];
        const double t = truth[static_cast<size_t>(k)];
        // A band edge may sit a hair under the ground beyond the last line (a metre: 0.05 CI).
        if (t < band.lo[k] - 1000 || t > band.hi[k] + 1000) wrong++;
        if (e.z >= band.lo[k] && e.z <= band.hi[k]) {
            EXPECT_EQ(std::memcmp(&z, &e.z, sizeof z), 0) << "row " << e.r << " column " << e.c;
        } else {
            outside++;
            EXPECT_EQ(z, static_cast<float>(e.z < band.lo[k] ? band.lo[k] : band.hi[k]))
                << "row " << e.r << " column " << e.c;
            better += std::fabs(z - t) <= std::fabs(e.z - t) + 1000;
        }
    }
    FreeOrdBand(&band);
    std::printf("golden vertices outside their band: %d of %zu\n", outside, gold.size());
    EXPECT_EQ(wrong, 0) << "golden vertices whose true height lies outside their band";
    EXPECT_EQ(better, outside) << "no clamp takes a height further from the ground";
    FreeGenCtx(ctx);
    FreeCntr(c, nc);
}
