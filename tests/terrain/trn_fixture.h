// Terrain tests on the started engine: contours in the terrain part, region and interval set as
// the dialogs do, commands through IntrCmd.
#pragma once
#include <gtest/gtest.h>
#include <cmath>
#include <initializer_list>
#include <vector>
#include "core/cmd.h"
#include "core/msg.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"
#include "curves/crv_cmd.h"
#include "terrain/trn_cmd.h"

class TrnTest : public EngineTest {
public:
    void SetUp() override {
        EngineTest::SetUp();
        MshItv = 50000; CrsAngNum = 8; CrsLenScl = 0.3f; SamHgtDst = 20000;
        FltrAng = 45; IntpPrph = 0; VtxHgtVal = 0; TrnGenRef = 0;
        RgnUnit = ItvUnit = HgtUnit = LenUnit::M;
        RstSlpDlg();
        SlpDsp = 0;
    }
    // A contour at height h through the points x0, y0, x1, y1, ...
    static crv* Ctr(float h, std::initializer_list<float> xy) {
        crv* c = NewCrvObj("c");
        AtchCrvPrt(TrnPrt, c);
        for (auto it = xy.begin(); it != xy.end(); it += 2) AddCrvPnt(c, it[0], it[1], h);
        return c;
    }
    // A closed polygon of n sides around (cx, cy).
    static crv* Ring(float h, float cx, float cy, float r, int n) {
        crv* c = NewCrvObj("c");
        AtchCrvPrt(TrnPrt, c);
        for (int k = 0; k <= n; k++) {
            double a = 2 * M_PI * (k % n) / n;
            AddCrvPnt(c, static_cast<float>(cx + r * std::cos(a)),
                      static_cast<float>(cy + r * std::sin(a)), h);
        }
        return c;
    }
    // Region and interval as the region dialog's OK stores them, then the dialog's command.
    static void Region(float x0, float y0, float x1, float y1, float d) {
        TrnRgn[0] = x0; TrnRgn[1] = y0; TrnRgn[3] = x1; TrnRgn[4] = y1;
        MshItv = d;
        IntrCmd(CatDrw2D, CmdRgnDlgOk);
    }
    static int Rows() { return TrnGrd ? TrnGrd->rows : 0; }
    static int Cols() { return TrnGrd ? TrnGrd->cols : 0; }
    static float& Z(int r, int c) { return TrnSrf->v[3 * (r * Cols() + c) + 2]; }
    static float X(int c) { return TrnSrf->v[3 * c]; }
    static float Y(int r) { return TrnSrf->v[3 * r * Cols() + 1]; }
    // Height of a one-vertex terrain at (x, y) after generation.
    static float HgtAt(float x, float y) {
        Region(x, y, x, y, 1000);
        IntrCmd(CatMdl, CmdTrnCre);
        return TrnSrf ? Z(0, 0) : NAN;
    }
    std::vector<float> Heights() const {
        std::vector<float> z;
        for (int i = 0; TrnSrf && i < TrnSrf->nv; i++) z.push_back(TrnSrf->v[3 * i + 2]);
        return z;
    }
};
