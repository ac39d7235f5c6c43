// Curve searches and the bounding-box update switch.
#include "curves/crv_env.h"
#include "cmd/crv_cmds.h"

using CurveModel = CrvTest;

TEST_F(CurveModel, PickNeedsAVisibleCurveInViewWithASegment) {
    crv* one = Mk({0, 0});
    const double lo[2] = {-5, -5}, hi[2] = {5, 5};
    EXPECT_EQ(PickCrv(lo, hi), nullptr);
    int idx = -1;
    EXPECT_EQ(FindCrvEnd(lo, hi, &idx), one);
    EXPECT_EQ(idx, 0);

    crv* hid = Mk({-20, 0, 20, 0});
    hid->vis = 0;
    EXPECT_EQ(PickCrv(lo, hi), nullptr);
    hid->vis = 1;
    EXPECT_EQ(PickCrv(lo, hi), hid);

    Mk({1000, -50, 1000, 50});  // right of the 800 mm wide view
    const double lo2[2] = {995, -5}, hi2[2] = {1005, 5};
    EXPECT_EQ(PickCrv(lo2, hi2), nullptr);

    // A curve wholly inside the window is not picked; its last end is found.
    crv* in = Mk({100, 100, 102, 102});
    const double lo3[2] = {95, 95}, hi3[2] = {105, 105};
    EXPECT_EQ(PickCrv(lo3, hi3), nullptr);
    EXPECT_EQ(FindCrvEnd(lo3, hi3, &idx), in);
    EXPECT_EQ(idx, 0);
    const double lo4[2] = {101, 101}, hi4[2] = {105, 105};
    EXPECT_EQ(FindCrvEnd(lo4, hi4, &idx), in);
    EXPECT_EQ(idx, 1);
}

TEST_F(CurveModel, BoxUpdateSwitch) {
    crv* c = Mk({0, 0, 100, 0});
    SetCrvHgt(c, 300);
    EXPECT_FLOAT_EQ(CrvPart->box.max[2], 300.05f);
    BoxUpdOn = 0;
    SetCrvHgt(c, 700);
    EXPECT_FLOAT_EQ(c->box.max[2], 700.05f);
    EXPECT_FLOAT_EQ(c->box.min[2], 699.95f);
    EXPECT_FLOAT_EQ(CrvPart->box.max[2], 300.05f);
}
