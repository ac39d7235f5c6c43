// The generators tell the feedback they are given, and only it, how far they are and stop when it
// says they are cancelled; the feedback is called on the calling thread only.
#include "terrain/trn_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "support/rec_feedback.h"
#include "support/restore.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_path.h"

namespace {

class TrnFbTest : public TrnTest {
public:
    void SetUp() override {
        TrnTest::SetUp();
        for (int k = 0; k < 6; k++) Ring(100.0f * k, 0, 0, 20000 - 3000.0f * k, 40);
        Region(-20000, -20000, 20000, 20000, 1000);  // 41 x 41 posts
        c_ = MkCntr(&nc_);
    }
    void TearDown() override {
        FreeCntr(c_, nc_);
        TrnTest::TearDown();
    }
    std::vector<float> Posts() const { return std::vector<float>(TrnSrf->v, TrnSrf->v + 3 * TrnSrf->nv); }
    // The cross-line method over the grid (ref: the per-vertex reference).
    bool Crs(std::vector<float>& v, bool ref, const Feedback& fb) const {
        TrnGenPrm prm;
        prm.fb = fb;
        return GenTrnCrs(c_, nc_, v.data(), TrnSrf->nv, nullptr, Rows(), Cols(), MshItv, prm, ref, false);
    }
    bool Mc(std::vector<float>& v, const Feedback& fb) const {
        McPrm prm;
        prm.itv = MshItv;
        prm.fb = fb;
        return GenTrnMc(c_, nc_, v.data(), Rows(), Cols(), prm);
    }
    bool Path(std::vector<float>& v, const Feedback& fb) const {
        PathPrm prm;
        prm.itv = MshItv;
        prm.fb = fb;
        return GenTrnPath(c_, nc_, v.data(), Rows(), Cols(), prm);
    }
    cntr* c_ = nullptr;
    int nc_ = 0;
};

}  // namespace

// A run that is never cancelled reports rising progress up to the end, asks between its steps and
// gives the heights of a silent run; the window hears nothing of it.
TEST_F(TrnFbTest, EveryMethodReportsRisingProgressAndGivesTheSilentHeights) {
    for (int m = 0; m < 4; m++) {
        SCOPED_TRACE(testing::Message() << "method " << m);
        std::vector<float> quiet = Posts(), heard = Posts();
        RecFb rec;
        bool ok = false;
        int end = 100;
        Plt().Clear();
        switch (m) {
        case 0:
            ASSERT_TRUE(Crs(quiet, false, FbNone));
            ok = Crs(heard, false, rec.Fb());
            break;
        case 1:
            ASSERT_TRUE(Crs(quiet, true, FbNone));
            ok = Crs(heard, true, rec.Fb());
            break;
        case 2:
            ASSERT_TRUE(Mc(quiet, FbNone));
            ok = Mc(heard, rec.Fb());
            end = 99;  // the last sweeps are not counted
            break;
        case 3:
            ASSERT_TRUE(Path(quiet, FbNone));
            ok = Path(heard, rec.Fb());
            end = 95;  // what remains is the fill
            break;
        }
        EXPECT_TRUE(ok);
        EXPECT_GT(rec.asks, 0);
        EXPECT_FALSE(rec.pct.empty());
        EXPECT_TRUE(rec.Rising());
        if (m != 2) EXPECT_EQ(rec.Last(), end);
        else EXPECT_LE(rec.Last(), end);
        // The command opens and closes the bar around a generator, not the generator itself.
        EXPECT_EQ(rec.begins, 0);
        EXPECT_EQ(rec.ends, 0);
        EXPECT_FALSE(rec.offThread);
        EXPECT_TRUE(rec.marks.empty());  // nobody watches these runs
        EXPECT_EQ(std::memcmp(quiet.data(), heard.data(), quiet.size() * sizeof(float)), 0);
        EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 0);
        EXPECT_EQ(Plt().pumps, 0);
    }
}

// The answer "cancelled" stops each method with the status it reports for a cancel, and the
// cross-line runs ask no more once told.
TEST_F(TrnFbTest, CancelledFeedbackStopsEveryMethod) {
    std::vector<float> v = Posts();
    // The fast run's threads can all finish before its second question on a busy machine: told at
    // its first.
    RecFb fast;
    fast.cancelAt = 1;
    EXPECT_FALSE(Crs(v, false, fast.Fb()));
    EXPECT_EQ(fast.asks, 1);
    // The reference asks before each vertex: stopped at the third, two are done.
    RecFb ref;
    ref.cancelAt = 3;
    v = Posts();
    EXPECT_FALSE(Crs(v, true, ref.Fb()));
    EXPECT_EQ(ref.asks, 3);
    EXPECT_EQ(ref.pct.size(), 0u);  // two vertices of 1681 are not a whole percent
    RecFb mc;
    mc.cancelAt = 1;
    v = Posts();
    const std::vector<float> before = v;
    EXPECT_FALSE(Mc(v, mc.Fb()));
    EXPECT_GT(mc.asks, 0);
    EXPECT_EQ(std::memcmp(before.data(), v.data(), v.size() * sizeof(float)), 0);  // nothing written
    RecFb path;
    path.cancelAt = 2;
    v = Posts();
    EXPECT_FALSE(Path(v, path.Fb()));
    EXPECT_EQ(path.asks, 2);
    EXPECT_EQ(path.pct, std::vector<int>{20});
    for (const RecFb* r : {&fast, &ref, &mc, &path}) EXPECT_FALSE(r->offThread);
}

// The creation run begins and ends the feedback it is given once, whatever the method and however
// the run ends; cancelled at its first question it reports failure and leaves the normals.
TEST_F(TrnFbTest, CreationBeginsAndEndsItsFeedbackOnce) {
    for (int m : {TrnMethodCrs, TrnMethodMinCrv, TrnMethodPath}) {
        SCOPED_TRACE(testing::Message() << "method " << m);
        Restore keep(TrnMethod);
        TrnMethod = m;
        RecFb rec;
        Plt().Clear();
        EXPECT_TRUE(CreTrn(rec.Fb()));
        EXPECT_EQ(rec.begins, 1);
        EXPECT_EQ(rec.ends, 1);
        EXPECT_TRUE(rec.Rising());
        EXPECT_FALSE(rec.pct.empty());
        if (m == TrnMethodCrs) {
            EXPECT_EQ(rec.Last(), 100);
            // The window watches a creation run: each post is marked once, where it lies.
            std::vector<int> seen(TrnSrf->nv, 0);
            ASSERT_EQ(rec.marks.size(), 2u * TrnSrf->nv);
            for (size_t i = 0; i < rec.marks.size(); i += 2) {
                const long c = std::lround((rec.marks[i] + 20000) / 1000);
                const long r = std::lround((rec.marks[i + 1] + 20000) / 1000);
                ASSERT_TRUE(c >= 0 && c < Cols() && r >= 0 && r < Rows()) << i;
                EXPECT_NEAR(rec.marks[i], -20000 + 1000.0 * c, 0.01);
                EXPECT_NEAR(rec.marks[i + 1], -20000 + 1000.0 * r, 0.01);
                seen[r * Cols() + c]++;
            }
            EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), TrnSrf->nv);
        } else {
            EXPECT_TRUE(rec.marks.empty());
        }
        EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 0);

        RecFb stop;
        stop.cancelAt = 1;
        const std::vector<float> nrm(TrnSrf->nrm, TrnSrf->nrm + 3 * TrnSrf->nv);
        EXPECT_FALSE(CreTrn(stop.Fb()));
        EXPECT_EQ(stop.begins, 1);
        EXPECT_EQ(stop.ends, 1);
        EXPECT_EQ(std::memcmp(nrm.data(), TrnSrf->nrm, nrm.size() * sizeof(float)), 0);
    }
}
