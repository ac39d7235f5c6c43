// The expected error of the terrain on layouts whose answer is plain: zero on the lines and largest
// midway between two, smaller where the contours crowd, largest at a summit's top.
#include "terrain/trn_fixture.h"

#include <algorithm>

#include "terrain/trn_err.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_path.h"

namespace {
class ErrTest : public TrnTest {
public:
    void SetUp() override {
        TrnTest::SetUp();
        TrnMethod = TrnMethodPath;
    }
    void TearDown() override {
        TrnMethod = TrnMethodCrs;
        TrnTest::TearDown();
    }
    // The map after making the terrain; the heights must come back unchanged.
    static const float* Make() {
        IntrCmd(CatMdl, CmdTrnCre);
        if (!TrnSrf) return nullptr;
        std::vector<float> z;
        for (int i = 0; i < TrnSrf->nv; i++) z.push_back(TrnSrf->v[3 * i + 2]);
        const float* e = TrnErrOf();
        for (int i = 0; e && i < TrnSrf->nv; i++)
            if (TrnSrf->v[3 * i + 2] != z[static_cast<size_t>(i)]) return nullptr;
        return e;
    }
    static float E(const float* e, int r, int c) { return e[r * Cols() + c]; }
};
}  // namespace

// A plane between two contours 40 posts apart: nothing on the lines, rising to the middle and
// falling again, the same across; kept for the same terrain, dropped with it.
TEST_F(ErrTest, PlaneBetweenFarLinesIsLargestMidwayAndZeroOnTheLines) {
    Ctr(10000, {-20000, 0, 20000, 0});
    Ctr(20000, {-20000, 40000, 20000, 40000});
    Region(-5000, 0, 5000, 40000, 1000);
    const float* e = Make();
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(Rows(), 41);
    const int mid = Cols() / 2;
    const float top = E(e, 20, mid);
    EXPECT_GT(top, 100);   // a fair share of the 10 m interval
    EXPECT_LE(top, 5000);  // never more than half of it
    EXPECT_LT(E(e, 0, mid), 0.02f * top);
    EXPECT_LT(E(e, 40, mid), 0.02f * top);
    for (int r = 1; r <= 20; r++) {
        EXPECT_GT(E(e, r, mid), E(e, r - 1, mid)) << "row " << r;
        EXPECT_GT(E(e, 40 - r, mid), E(e, 41 - r, mid)) << "row " << r;
    }
    for (int c = 0; c < Cols(); c++) EXPECT_NEAR(E(e, 20, c), top, 1e-3f * top);
    EXPECT_EQ(TrnErrOf(), e);
    EXPECT_FLOAT_EQ(TrnErrMax(), top);
    IntrCmd(CatMdl, CmdTrnDel);
    EXPECT_EQ(TrnErrOf(), nullptr);
}

// One slope whose contours close up as it rises (a concave profile, levels every 1 m): the
// cross-validation learns the growth with the spacing, and midway between crowded lines the
// expected error is smaller than midway between sparse ones.
TEST_F(ErrTest, DenseContoursAreTrustedMoreThanSparseOnes) {
    std::vector<float> y;
    for (int k = 0; k <= 12; k++) {
        const float yk = static_cast<float>(120000.0 * std::sqrt(k / 12.0));
        y.push_back(yk);
        Ctr(1000.0f * k, {-30000, yk, 30000, yk});
    }
    Region(-20000, 0, 20000, 120000, 1000);
    const float* e = Make();
    ASSERT_NE(e, nullptr);
    const int mid = Cols() / 2;
    auto midway = [&](int k) { return E(e, static_cast<int>(std::lround((y[k] + y[k + 1]) / 2000)), mid); };
    // Spacings about 35 m (first band) against 5 m (last band).
    EXPECT_GT(midway(0), 2 * midway(11));
    for (int k = 1; k < 11; k++) EXPECT_GE(midway(k - 1), midway(k + 1)) << "band " << k;

    // Wider, with samples enough to fit the growth: smooth ground misses by the square of the
    // spacing, so faster than linearly.
    Region(-30000, 0, 30000, 120000, 1000);
    int nc = 0;
    cntr* c = MkCntr(&nc);
    std::vector<float> v(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv), err(static_cast<size_t>(TrnSrf->nv));
    ErrFit fit;
    ASSERT_TRUE(TrnErrMap(c, nc, v.data(), Rows(), Cols(), MshItv, err.data(), &fit));
    FreeCntr(c, nc);
    EXPECT_TRUE(fit.cv);
    EXPECT_GT(fit.pw, 1);
    EXPECT_NEAR(fit.ci, 1000, 1e-3);
}

// A cone's top ring: the summit inside it is trusted least at its top, and nowhere inside the
// ring more than on its rim.
TEST_F(ErrTest, SummitIsLeastTrustedAtItsTop) {
    for (int k = 0; k < 4; k++) Ring(30000.0f - 10000.0f * k, 0, 0, 6000.0f + 10000.0f * k, 96);
    Region(-40000, -40000, 40000, 40000, 500);
    const float* e = Make();
    ASSERT_NE(e, nullptr);
    const int mid = Cols() / 2;
    const float top = E(e, mid, mid);
    EXPECT_GT(top, 0);
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) {
            const double rr = std::hypot(X(c), Y(r));
            if (rr < 5500) {
                EXPECT_LE(E(e, r, c), top) << "row " << r << " column " << c;
            }
        }
    EXPECT_LT(E(e, mid, mid + 12), 0.2f * top);   // on the ring, 6 m out
}
