// Terrain generation through the creation command: the line choice, the spline, the linear rule,
// duplicates, cancellation, and the failures.
#include "terrain/trn_fixture.h"

#include <cstring>
#include "core/mode.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "terrain/trn_cmd.h"

TEST_F(TrnTest, TwoParallelContoursGiveTheMidHeight) {
    Ctr(10, {-1000, 0, 1000, 0});
    Ctr(20, {-1000, 1000, 1000, 1000});
    EXPECT_FLOAT_EQ(HgtAt(0, 500), 15);
    // A quarter of the way up, the nearest two crossings still span the vertex.
    EXPECT_FLOAT_EQ(HgtAt(100, 250), 12.5f);
}

TEST_F(TrnTest, FourContoursGiveTheSplineHeight) {
    for (int k = 0; k < 4; k++) Ctr(10.0f * k, {-1000, 100.0f * k, 1000, 100.0f * k});
    // Midway between 10 and 20 the symmetric spline gives 15; a third of the way it bends.
    EXPECT_NEAR(HgtAt(0, 150), 15, 1e-4);
    float z = HgtAt(0, 130);
    EXPECT_GT(z, 10);
    EXPECT_LT(z, 15);
}

TEST_F(TrnTest, VertexInsideClosedContourRisesAboveIt) {
    Ring(40, 0, 0, 1000, 64);
    Ring(50, 0, 0, 500, 64);
    // The spline through 40, 50, 50, 40 peaks at 51.5 midway. A grid fine against the rings: the
    // order band of a lone post with 1000 to its neighbours would take both levels of an edge that
    // crosses both rings, and hold the post at 50.
    Region(0, 0, 100, 50, 50);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Rows(), 3);
    EXPECT_NEAR(Z(0, 0), 51.5, 0.05);
    EXPECT_GT(Z(2, 2), 50);   // (100, 50)
}

// The end chord continues at 10 per 100, but a height beyond the last contour goes at most one
// interval past it: 55 at 50 beyond it, 50 (not 60) at 200 beyond it.
TEST_F(TrnTest, BeyondTheLastContourExtrapolatesUpToOneInterval) {
    for (int k = 0; k < 4; k++) Ctr(10.0f * (k + 1), {-1000, 100.0f * (k + 1), 1000, 100.0f * (k + 1)});
    Region(0, 450, 0, 650, 50);
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Rows(), 5);
    EXPECT_NEAR(Z(0, 0), 45, 1.0);
    EXPECT_NEAR(Z(1, 0), 50, 1.0);
    EXPECT_EQ(Z(3, 0), 50);
    EXPECT_EQ(Z(4, 0), 50);
}

TEST_F(TrnTest, NoCrossingKeepsTheOldHeight) {
    Ctr(10, {5000, 5000, 5100, 5000});
    Region(0, 0, 200, 200, 100);
    for (int i = 0; i < TrnSrf->nv; i++) TrnSrf->v[3 * i + 2] = 7;
    IntrCmd(CatMdl, CmdTrnCre);
    for (float z : Heights()) EXPECT_EQ(z, 7);
    EXPECT_TRUE(Plt().boxes.empty());
}

TEST_F(TrnTest, SameHeightNeighboursCountOnceWithinTheDistance) {
    // Vertical contours and the one line along x: 500 and 505 have the same height.
    CrsAngNum = 1;
    Ctr(0, {0, -500, 0, 500});
    Ctr(20, {1000, -500, 1000, 500});
    Ctr(10, {500, -500, 500, 500});
    float single = HgtAt(100, 0);
    Ctr(10, {505, -500, 505, 500});
    SamHgtDst = 20000;
    EXPECT_EQ(HgtAt(100, 0), single);
    SamHgtDst = 1;
    EXPECT_NE(HgtAt(100, 0), single);
}

TEST_F(TrnTest, HorizontalTwoPointLineInterpolatesAlongX) {
    CrsAngNum = 1;   // only the line along the x axis
    Ctr(10, {0, -500, 0, 500});
    Ctr(20, {1000, -500, 1000, 500});
    EXPECT_FLOAT_EQ(HgtAt(250, 0), 12.5f);
}

TEST_F(TrnTest, CreationFailuresChangeNothing) {
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].id, 199);
    EXPECT_EQ(Plt().boxes[0].text, "地形の領域が設定されていません。");
    Region(0, 0, 200, 200, 100);
    Plt().Clear();
    IntrCmd(CatMdl, CmdTrnCre);
    ASSERT_EQ(Plt().boxes.size(), 1u);
    EXPECT_EQ(Plt().boxes[0].text, "等高線がありません。");
    EXPECT_EQ(CrntMode, BaseMode);
}

TEST_F(TrnTest, BothGeneratorsGiveTheSameGridThroughTheCommand) {
    Ring(100, 0, 0, 400, 40);
    Ring(90, 0, 0, 800, 56);
    Ring(80, 100, 0, 1300, 72);
    Ctr(70, {-2000, -1500, 2000, -1400});
    Ctr(80, {-2000, 1500, 0, 1600, 2000, 1500});
    // A sawtooth between the 70 line and the 80 ring: half-lines crossing one contour 80 times.
    crv* saw = Ctr(75, {});
    for (int k = 0; k <= 80; k++) AddCrvPnt(saw, -2000 + 50.0f * k, k % 2 ? -1310.0f : -1390.0f, 75);
    Region(-2000, -1500, 2000, 1500, 150);
    // Steps so short that a line takes more than 64 of them, then of the usual length.
    for (float scl : {0.01f, 0.3f}) {
        SCOPED_TRACE(scl);
        CrsLenScl = scl;
        for (int i = 0; i < TrnSrf->nv; i++) TrnSrf->v[3 * i + 2] = 0;
        TrnGenRef = 1;
        IntrCmd(CatMdl, CmdTrnCre);
        std::vector<float> ref = Heights(), refN(TrnSrf->nrm, TrnSrf->nrm + 3 * TrnSrf->nv);
        for (int i = 0; i < TrnSrf->nv; i++) TrnSrf->v[3 * i + 2] = 0;
        TrnGenRef = 0;
        IntrCmd(CatMdl, CmdTrnCre);
        std::vector<float> fast = Heights();
        ASSERT_EQ(ref.size(), fast.size());
        EXPECT_EQ(std::memcmp(ref.data(), fast.data(), ref.size() * sizeof(float)), 0);
        EXPECT_EQ(std::memcmp(refN.data(), TrnSrf->nrm, refN.size() * sizeof(float)), 0);
        EXPECT_EQ(RunFlg, 0);
    }
    EXPECT_GT(Z(Rows() / 2, Cols() / 2), 100);   // the hill top rises above its last contour
}

// A cancel (the running flag cleared, as the window's Cancel and Esc do) leaves the terrain as it
// was before the command: the heights and normals of a run cut short once stayed half made.
TEST_F(TrnTest, ClearingTheRunningFlagCancelsAndLeavesTheTerrainAsItWas) {
    for (int k = 0; k < 12; k++) Ring(10.0f * k, 0, 0, 2000 - 150.0f * k, 48);
    Region(-2000, -2000, 2000, 2000, 40);   // 10201 vertices
    for (int i = 0; i < TrnSrf->nv; i++) TrnSrf->v[3 * i + 2] = -1;
    std::vector<float> nrm0(TrnSrf->nrm, TrnSrf->nrm + 3 * TrnSrf->nv);
    for (int ref : {0, 1}) {
        SCOPED_TRACE(ref);
        TrnGenRef = static_cast<uint8_t>(ref);
        // The reference asks before each vertex: cancelled at its third question, two are made.
        // The fast run's threads can all finish between two of its questions on a busy machine:
        // cancelled at its first, while they work.
        const int at = ref ? 3 : 1;
        int pumps = 0;
        Plt().onPump = [&] {
            if (++pumps == at) RunFlg = 0;
        };
        IntrCmd(CatMdl, CmdTrnCre);
        Plt().onPump = nullptr;
        EXPECT_EQ(pumps, at) << "stopped at the first question after the cancel";
        int changed = 0;
        for (float z : Heights()) changed += z != -1;
        EXPECT_EQ(changed, 0);
        EXPECT_EQ(std::memcmp(nrm0.data(), TrnSrf->nrm, nrm0.size() * sizeof(float)), 0);
        // The command ends as usual.
        EXPECT_EQ(CrntMode, BaseMode);
        EXPECT_EQ(CrsIdx, CrsArrow);
        EXPECT_EQ(RunFlg, 0);
    }
}

TEST_F(TrnTest, ProgressIsReportedFromStartToEnd) {
    Ring(10, 0, 0, 500, 16);
    Region(-600, -600, 600, 600, 100);
    Plt().Clear();
    IntrCmd(CatMdl, CmdTrnCre);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_CRE), 1);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DSP), 101);
    EXPECT_EQ(Plt().CountNotify(ID_PRG_DEL), 1);
}

TEST_F(TrnTest, TerrainReplacedOrDeletedWhileGeneratingIsLeftAlone) {
    for (int k = 0; k < 6; k++) Ring(10.0f * k, 0, 0, 2000 - 300.0f * k, 32);
    for (uint8_t ref : {0, 1}) {
        TrnGenRef = ref;
        Region(-2000, -2000, 2000, 2000, 100);
        const int at = ref ? 2 : 1;   // the fast run's threads may be done by its second question
        int pumps = 0;
        Plt().onPump = [&] {
            if (++pumps == at) IntrCmd(CatDrw2D, CmdRgnDlgOk);   // a new flat grid in the middle of the run
        };
        IntrCmd(CatMdl, CmdTrnCre);
        Plt().onPump = nullptr;
        ASSERT_NE(TrnSrf, nullptr);
        for (float z : Heights()) EXPECT_EQ(z, 0);
        pumps = 0;
        Plt().onPump = [&] {
            if (++pumps == at) IntrCmd(CatMdl, CmdTrnDel);
        };
        IntrCmd(CatMdl, CmdTrnCre);
        Plt().onPump = nullptr;
        EXPECT_EQ(TrnSrf, nullptr);
    }
}

// A grid whose posts name their vertices in another order (as a scene file may store them) gets
// the same height at every post as the grid stored in order.
TEST_F(TrnTest, GridStoredOutOfOrderGetsTheSameHeightsPostByPost) {
    Ring(100, 450, 500, 300, 40);
    Ctr(50, {-100, -100, 1000, -50});
    Region(0, 0, 900, 1200, 100);   // 13 x 11 posts
    IntrCmd(CatMdl, CmdTrnCre);
    const std::vector<float> plain = Heights();
    const int nv = TrnSrf->nv;
    const std::vector<float> v(TrnSrf->v, TrnSrf->v + 3 * nv);
    for (int k = 0; k < nv; k++) {   // post k holds vertex nv - 1 - k, its height cleared
        for (int j = 0; j < 3; j++) TrnSrf->v[3 * (nv - 1 - k) + j] = j < 2 ? v[3 * k + j] : 0;
        TrnGrd->vtx_id[k] = nv - 1 - k;
    }
    IntrCmd(CatMdl, CmdTrnCre);
    EXPECT_NE(plain.front(), plain[static_cast<size_t>(nv / 2)]);
    for (int k = 0; k < nv; k++) ASSERT_EQ(TrnSrf->v[3 * (nv - 1 - k) + 2], plain[k]) << "post " << k;
}
