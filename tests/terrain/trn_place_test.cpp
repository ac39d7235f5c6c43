// The cross-line method through the creation command: heights that do not depend on where the data
// lies, and heights kept within the levels of the contours that bound their post.
#include "terrain/trn_fixture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/alc.h"
#include "scene/scene.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"

namespace {
// Coordinates on a 64 mm lattice stay exact as 32-bit floats up to 2^30 mm (1073 km), so moving them
// by a multiple of 64 mm moves them exactly and any change of height comes from the method.
float Snap(double v) { return static_cast<float>(std::round(v / 64.0) * 64.0); }

struct Line {
    float h;
    std::vector<float> xy;
};

// Two hills, a saddle and a slope in a 3 km x 2 km block, contours every 20 m.
std::vector<Line> Hills() {
    std::vector<Line> ls;
    auto ring = [&](float h, double cx, double cy, double rx, double ry, int n) {
        Line l{h, {}};
        for (int k = 0; k <= n; k++) {
            double a = 2 * M_PI * (k % n) / n;
            double w = 1 + 0.12 * std::sin(3 * a + cx * 1e-6);
            l.xy.push_back(Snap(cx + rx * w * std::cos(a)));
            l.xy.push_back(Snap(cy + ry * w * std::sin(a)));
        }
        ls.push_back(l);
    };
    for (int k = 0; k < 6; k++) ring(320000.0f + 20000 * k, 900e3, 1100e3, 700e3 - 110e3 * k, 560e3 - 85e3 * k, 40);
    for (int k = 0; k < 4; k++) ring(320000.0f + 20000 * k, 2150e3, 900e3, 600e3 - 140e3 * k, 650e3 - 150e3 * k, 36);
    for (int k = 0; k < 5; k++) {
        Line l{300000.0f - 20000 * k, {}};
        for (int j = 0; j <= 30; j++) {
            double x = 100e3 * j;
            l.xy.push_back(Snap(x));
            l.xy.push_back(Snap(260e3 - 45e3 * k + 40e3 * std::sin(x * 2e-6 + k)));
        }
        ls.push_back(l);
    }
    return ls;
}
}  // namespace

class TrnPlaceTest : public TrnTest {
public:
    // The contours and the region moved by (dx, dy), generated through the command.
    std::vector<float> Generate(const std::vector<Line>& ls, double dx, double dy) {
        while (TrnPrt->crvs.n > 0) FreeCrvObj(TrnPrt->crvs.a[TrnPrt->crvs.n - 1], true);
        for (const Line& l : ls) {
            crv* c = NewCrvObj("c");
            AtchCrvPrt(TrnPrt, c);
            for (size_t k = 0; k + 1 < l.xy.size(); k += 2)
                AddCrvPnt(c, static_cast<float>(l.xy[k] + dx), static_cast<float>(l.xy[k + 1] + dy), l.h);
        }
        UdtBox(TrnPrt, OK_PRT);
        Region(static_cast<float>(128e3 + dx), static_cast<float>(64e3 + dy),
               static_cast<float>(2944e3 + dx), static_cast<float>(1856e3 + dy), 64000);
        IntrCmd(CatMdl, CmdTrnCre);
        return Heights();
    }
};

// The walk's length came from the scene box, which also holds the scene's other objects: a
// surface left at the origin made the heights change by metres when the data moved. Moving every
// contour and the region together must leave at least 99.9 % of the heights within 1 mm and none
// off by more than a tenth of the contour interval, up to national-grid offsets of hundreds of km.
TEST_F(TrnPlaceTest, MovingTheDataAndTheRegionTogetherKeepsTheHeights) {
    // Another object of the scene that stays where it is.
    prd* d = NewPrd("other");
    ASSERT_EQ(AtchPrdGlb(d), 0);
    prt* p = NewPrt("other");
    ASSERT_EQ(AtchPrtPrd(d, p), 0);
    srf* s = NewSrf("other");
    s->nv = 2;
    s->v = static_cast<float*>(AlcMem(6 * sizeof(float), "srf->v"));
    const float sv[6] = {-1000, -1000, 0, 1000, 1000, 5000};
    std::copy(sv, sv + 6, s->v);
    AtchSrfPrt(p, s);
    UdtBox(s, OK_SRF);

    const std::vector<Line> ls = Hills();
    const std::vector<float> home = Generate(ls, 0, 0);
    ASSERT_EQ(home.size(), 45u * 29u);
    int reached = 0;
    for (float z : home) reached += z > 200000 && z < 460000;
    EXPECT_GT(reached, static_cast<int>(home.size() * 9 / 10));
    const double offs[][2] = {{340e3, 560e3}, {-30e6, 50e6}, {250e6, -420e6}, {-640e6, 960e6}};
    for (const auto& o : offs) {
        SCOPED_TRACE(testing::Message() << "offset " << o[0] / 1e6 << " km, " << o[1] / 1e6 << " km");
        const std::vector<float> moved = Generate(ls, o[0], o[1]);
        ASSERT_EQ(moved.size(), home.size());
        size_t near = 0;
        double worst = 0;
        for (size_t i = 0; i < home.size(); i++) {
            double e = std::fabs(static_cast<double>(moved[i]) - home[i]);
            near += e <= 1.0;
            worst = std::max(worst, e);
        }
        EXPECT_GE(near * 1000, home.size() * 999) << near << " of " << home.size() << " within 1 mm";
        EXPECT_LE(worst, 2000.0);
    }
}

// A post between the 1700 m and the 1720 m contours whose only line of four different levels runs
// to a knoll 95 m away: the height was extrapolated from the knoll's steep side to about 1340 m.
// It is brought to the nearer level of its band; posts whose height lies in the band keep it.
TEST_F(TrnTest, AHeightThatRunsAwayFromItsContoursIsBroughtIntoTheirBand) {
    Ctr(1700000, {-2000000, 0, 2000000, 0});
    Ctr(1720000, {-2000000, 10000, 2000000, 10000});
    // The knoll between them, beyond the region.
    for (int k = 0; k < 4; k++) {
        const double r = 9000.0 - 2000.0 * k;
        crv* e = NewCrvObj("c");
        AtchCrvPrt(TrnPrt, e);
        for (int j = 0; j <= 24; j++) {
            double a = 2 * M_PI * (j % 24) / 24;
            AddCrvPnt(e, static_cast<float>(110000 + (r + 6000) * std::cos(a)),
                      static_cast<float>(5000 + r / 2.5 * std::sin(a)), 1720000 + 20000.0f * k);
        }
    }
    Region(-8000, 2000, 8000, 8000, 2000);
    ASSERT_GT(Rows() * Cols(), 0);
    // What the method alone gives at the same posts.
    int nc = 0;
    cntr* c = MkCntr(&nc);
    std::vector<float> raw(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv);
    TrnGenCtx ctx;
    IniGenCtx(ctx, c, nc, GenExt(c, nc, raw.data(), TrnSrf->nv), GenPrmOfSettings());
    ASSERT_TRUE(RunRef(ctx, raw.data(), TrnSrf->nv, false));
    FreeGenCtx(ctx);
    FreeCntr(c, nc);
    int away = 0;
    for (int i = 0; i < TrnSrf->nv; i++) away += raw[3 * i + 2] < 1690000 || raw[3 * i + 2] > 1730000;
    EXPECT_GT(away, 0) << "the knoll no longer pulls a post away";

    for (uint8_t ref : {0, 1}) {
        SCOPED_TRACE(ref ? "reference" : "parallel");
        TrnGenRef = ref;
        IntrCmd(CatMdl, CmdTrnCre);
        for (int i = 0; i < TrnSrf->nv; i++) {
            const float z = TrnSrf->v[3 * i + 2], r = raw[3 * i + 2];
            EXPECT_GE(z, 1700000) << "post " << i;
            EXPECT_LE(z, 1720000) << "post " << i;
            if (r >= 1700000 && r <= 1720000) EXPECT_EQ(z, r) << "post " << i;
            else EXPECT_EQ(z, r < 1700000 ? 1700000 : 1720000) << "post " << i;
        }
    }
}
