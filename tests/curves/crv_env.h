// Test environment of the curve tests: a terrain document, an 800 x 600 plan view whose width is
// 800 mm (one pixel = one millimetre, pixel (400, 300) = model origin, y upwards), and a platform
// that records boxes and beeps.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "display/view.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "display/dsp_cmd.h"
#include "cmd/undo.h"
#include "app/modetbl.h"

class CrvTest : public EngineTest {
protected:
    RecPlatform& plat = Plt();

    void SetUp() override {
        EngineTest::SetUp();
        if (!CrvPart) SetCrvPart(TrnPrt);
        ASSERT_NE(CrvPart, nullptr);
        ClrUndo();
        PickAp = 5;
        CnctDst = 10;
        UndoOn = UndoCutOn = BoxUpdOn = 1;
        CrvHgt = 0; CrvScl = 1; CrvRot = 0; HgtRng = 500;
        // Plan view 800 mm wide in an 800 x 600 window.
        ASSERT_NE(CurCamObj, nullptr);
        CamView& v = CurCamObj->view;
        v.PrjFlg = PrjPar;
        for (int k = 0; k < 3; ++k) v.RotCnt[k] = v.RotAng[k] = 0;
        v.ScrShf[0] = v.ScrShf[1] = 0;
        v.ScrWid = 800;
        v.AutoClp = 0;
        WinSizW = 800;
        WinSizH = 600;
        IntrCmd(CatDsp, CmdDspResize);
        SetView(0);
        plat.Clear();
    }
    void TearDown() override {
        ClrUndo();
        EngineTest::TearDown();
    }

    // Pixel of a model point.
    static int Px(double x) { return static_cast<int>(x + 400); }
    static int Py(double y) { return static_cast<int>(300 - y); }

    // Mouse events at model positions, as the view sends them.
    void Press(double x, double y) { SetPtrPix(Px(x), Py(y)); IntrEvt(EVT_LDOWN); }
    void Move(double x, double y) { SetPtrPix(Px(x), Py(y)); IntrEvt(EVT_MOVE); }
    void Release(double x, double y) { SetPtrPix(Px(x), Py(y)); IntrEvt(EVT_LUP); }
    void Click(double x, double y) { Press(x, y); Release(x, y); }
    void Drag(double x0, double y0, double x1, double y1, int steps = 4) {
        Press(x0, y0);
        for (int i = 1; i <= steps; ++i)
            Move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
        Release(x1, y1);
    }
    void RClick(double x, double y) { SetPtrPix(Px(x), Py(y)); IntrEvt(EVT_RDOWN); IntrEvt(EVT_RUP); }

    // A curve through the given points (x, y pairs) at height h.
    crv* Mk(std::initializer_list<double> xy, float h = 0) {
        crv* c = NewCrv();
        auto it = xy.begin();
        while (it != xy.end()) {
            double x = *it++;
            double y = *it++;
            AddPnt(c, static_cast<float>(x), static_cast<float>(y), h);
        }
        if (h != 0) SetCrvHgt(c, h);
        CalCrvBox(c);
        return c;
    }

    int N() const { return CrvPart->crvs.n; }
    crv* C(int i) const { return CrvPart->crvs.a[i]; }
    static std::string Name(const crv* c) { return c->name ? c->name : ""; }
    // Points of a curve as "x,y;x,y;..." rounded to 0.1.
    static std::string Pts(const crv* c) {
        std::string s;
        char b[64];
        for (int i = 0; i < c->n; ++i) {
            std::snprintf(b, sizeof b, "%s%.1f,%.1f", i ? ";" : "", c->p[3 * i] + 0.0,
                          c->p[3 * i + 1] + 0.0);
            s += b;
        }
        return s;
    }
};
