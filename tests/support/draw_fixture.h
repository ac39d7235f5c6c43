// Engine fixture with a headless view window 0 of W x H pixels: the window is created, sized and
// painted once as the main view does at start-up; tests then drive commands and read pixels.
#pragma once
#include <memory>
#include "core/cmd.h"
#include "display/drw.h"
#include "display/glctx.h"
#include "display/view.h"
#include "support/engine_fixture.h"
#include "support/gltest.h"
#include "display/dsp_cmd.h"

template <int WW, int HH>
class DrawTestT : public EngineTest {
public:
    static constexpr int W = WW, H = HH;

    void SetUp() override {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;
        if (!gltest::Available()) GTEST_SKIP() << "no headless OpenGL: " << gltest::Why();
        IniDrwSw();
        gl_ = std::make_unique<gltest::GLPlatform>(&Plt(), W, H);
        plt::Set(gl_.get());
        WinSizW = W;
        WinSizH = H;
        ASSERT_TRUE(OpnGLWin(0));
        IntrCmd(CatDsp, CmdDspResize);
        // The terrain application's start-up view (the terrain scene sets it).
        SetTrnView();
        PaintWin(0, nullptr);
    }

    void TearDown() override {
        if (gl_) {
            ClsGLWin(0);
            IniDrwWin();
            plt::Set(&Plt());
            gl_.reset();
        }
        EngineTest::TearDown();
    }

    gltest::GLPlatform& GL() { return *gl_; }
    // Redraw as the commands do, then read the visible picture.
    void Redraw() {
        IntrCmd(CatDsp, CmdRdrwAll);
        gl_->Grab();
    }
    gltest::Rgb Px(int x, int y) const { return gl_->Px(x, y); }
    // Window position of a model point.
    static void Win(double x, double y, double z, double out[3]) {
        double p[3] = {x, y, z};
        MdlToWin(p, 0, out);
    }

protected:
    std::unique_ptr<gltest::GLPlatform> gl_;
};
