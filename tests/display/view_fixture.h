// Shared set-up of the view tests: the engine started as the application starts it, with a
// current camera and stored 2D/3D cameras of the test's own, on an 800 x 600 window.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include "display/view.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"

class ViewTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        savedCam = CurCamObj; saved2 = Cam2D; saved3 = Cam3D;
        savedBox = SceneBox;
        savedPrd = PrdTbl;
        std::memset(&c, 0, sizeof c);
        std::memset(&c2, 0, sizeof c2);
        std::memset(&c3, 0, sizeof c3);
        CurCamObj = &c;
        Cam2D = &c2;
        Cam3D = &c3;
        PixAsp[0] = PixAsp[1] = 1;
        SetCamDef(&c);
        c.view.CurCam = 1;
        c.view.UpAxis = UpNone;
        SceneBox = BBox{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
        Size(800, 600);
        SetTrnView();
        Plt().Clear();
        ClearCmds();
    }
    void TearDown() override {
        CurCamObj = savedCam; Cam2D = saved2; Cam3D = saved3;
        SceneBox = savedBox;
        PrdTbl = savedPrd;
        PixAsp[0] = PixAsp[1] = 1;
        EngineTest::TearDown();
    }
    // The shell's resize: record the size, then the resize command.
    static void Size(int w, int h);
    CamView& V() { return c.view; }
    int Notes(int id, long w) {
        int n = 0;
        for (auto& e : Plt().notes) n += e.first == id && e.second == w;
        return n;
    }

    cam c, c2, c3;
    cam *savedCam, *saved2, *saved3;
    BBox savedBox;
    ObjLst<prd> savedPrd;
};
