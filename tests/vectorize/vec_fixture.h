// Test environment of the map image and tracing tests: the engine started as the application
// does, pictures drawn from text rows ('#' ink, '.' paper, digits grey levels), written to the
// scratch folder in any of the three formats and loaded and traced through the entry points.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "image/img.h"
#include "image/vecimg.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "vectorize/vec.h"

// A picture owned by the test (never passed to FreeImg).
struct Pic {
    std::vector<uint8_t> buf;
    ImgRec img{};
    Pic(int w, int h, uint8_t grey = 255) : buf(4ULL * w * h, grey) {
        for (size_t i = 3; i < buf.size(); i += 4) buf[i] = 255;
        img = ImgRec{nullptr, w, h, 4LL * w, buf.data()};
    }
    // Rows of text: '#' black, '.' white, '0'..'9' grey 0, 28, .. 252.
    explicit Pic(const std::vector<std::string>& rows)
        : Pic(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size())) {
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x) {
                char c = rows[y][x];
                Set(x, y, c == '#' ? 0 : c == '.' ? 255 : static_cast<uint8_t>((c - '0') * 28));
            }
    }
    void Set(int x, int y, uint8_t g) { SetRgb(x, y, g, g, g); }
    void SetRgb(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* q = buf.data() + 4LL * (static_cast<long long>(y) * img.w + x);
        q[0] = r;
        q[1] = g;
        q[2] = b;
    }
    void Fill(int x0, int y0, int x1, int y1, uint8_t g) {  // inclusive corners
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Set(x, y, g);
    }
    const uint8_t* At(int x, int y) const { return buf.data() + 4LL * (static_cast<long long>(y) * img.w + x); }
};

// A curve as plain points.
struct CrvPts {
    std::string name;
    std::vector<float> xy;  // x, y pairs
    int n() const { return static_cast<int>(xy.size() / 2); }
};

class VecTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (!CrvPart) SetCrvPart(TrnPrt);
        ASSERT_NE(CrvPart, nullptr);
        VecCentre = 0;  // a profile setting: the system's start leaves it
        Plt().Clear();
    }

    // Writes the picture; fails the test when the writer refuses.
    std::string SaveBmp(const Pic& p, const std::string& name, BmpWrOpt o = {}) {
        std::string f = Path(name);
        EXPECT_EQ(WrBmp(f.c_str(), p.img, o), 0) << name;
        return f;
    }
    std::string SaveTif(const Pic& p, const std::string& name, TifWrOpt o = {}) {
        std::string f = Path(name);
        EXPECT_EQ(WrTif(f.c_str(), p.img, o), 0) << name;
        return f;
    }
    std::string SaveJpg(const Pic& p, const std::string& name, JpgWrOpt o = {}) {
        std::string f = Path(name);
        EXPECT_EQ(WrJpg(f.c_str(), p.img, o), 0) << name;
        return f;
    }

    // Loads through the window's loading entry point.
    static int Load(const std::string& f) { return LdVecImg(f.c_str()); }
    // Traces the loaded image through the command, with resolution and scale giving p mm per pixel
    // (dpi 25.4, scale p).
    static void Trace(double p = 10) {
        VecDpi = 25.4;
        VecMapScl = p;
        IntrCmd(CatDrw2D, CmdVecTrace);
    }
    // Loads p as a 24-bit bitmap and traces it.
    void LoadTrace(const Pic& pic, double p = 10) {
        ASSERT_EQ(Load(SaveBmp(pic, "pic.bmp")), 0);
        Trace(p);
    }

    static std::vector<CrvPts> Curves() {
        std::vector<CrvPts> out;
        for (int i = 0; i < CrvPart->crvs.n; ++i) {
            const crv* c = CrvPart->crvs.a[i];
            CrvPts k{c->name ? c->name : "", {}};
            for (int j = 0; j < c->n; ++j) {
                k.xy.push_back(c->p[3 * j]);
                k.xy.push_back(c->p[3 * j + 1]);
            }
            out.push_back(k);
        }
        return out;
    }
    static int NumCurves() { return CrvPart->crvs.n; }
};
