// Interchange tests on the started engine: files written and read in the scratch folder, the
// terrain built through the region command and given heights.
#pragma once
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>
#include "core/alc.h"
#include "core/cmd.h"
#include "display/dsp_cmd.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "doc/xchg_flow.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"
#include "terrain/trn_cmd.h"

class XchgTest : public EngineTest {
public:
    void SetUp() override {
        EngineTest::SetUp();
        InUnit = InUnitDef;
        OutUnit = OutUnitDef;
    }
    void Put(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Get(const std::string& name) const {
        std::ifstream f(Path(name), std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
    bool Exists(const std::string& name) const { return std::ifstream(Path(name)).good(); }
    std::vector<std::string> Lines(const std::string& name) const {
        std::vector<std::string> v;
        std::istringstream in(Get(name));
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    }
    // Files of the scratch folder (a failed export must leave no temporary behind).
    std::vector<std::string> Files() const {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(Dir())) v.push_back(e.path().filename());
        return v;
    }
    // DXF text from code/value pairs given one per line: "0\nSECTION\n..." is written as is.
    static std::string Pairs(std::initializer_list<const char*> l) {
        std::string s;
        for (const char* p : l) s += std::string(p) + "\n";
        return s;
    }
    static int NumCrv() { return CrvPart ? CrvPart->crvs.n : 0; }
    static crv* Crv(int i) { return CrvPart->crvs.a[i]; }
    static std::vector<float> Pts(int i) {
        crv* c = Crv(i);
        return std::vector<float>(c->p, c->p + 3 * c->n);
    }
    // A terrain grid on the region x0..x1, y0..y1 with interval d, heights z(x, y), normals
    // recomputed.
    static void Grid(float x0, float y0, float x1, float y1, float d,
                     const std::function<float(float, float)>& z = nullptr) {
        TrnRgn[0] = x0;
        TrnRgn[1] = y0;
        TrnRgn[3] = x1;
        TrnRgn[4] = y1;
        MshItv = d;
        IntrCmd(CatDrw2D, CmdRgnDlgOk);
        ASSERT_NE(TrnSrf, nullptr);
        if (z)
            for (int i = 0; i < TrnSrf->nv; ++i) {
                float* v = TrnSrf->v + 3 * i;
                v[2] = z(v[0], v[1]);
            }
        CalTrnNrm();
    }
    // A grid of R rows and C columns from (x0, y0) with spacing d, as the terrain commands keep it
    // (the region command only makes odd counts).
    static void RawGrid(int R, int C, float x0, float y0, float d,
                        const std::function<float(float, float)>& z = nullptr) {
        if (TrnSrf) FreeSrf(TrnSrf, true);
        srf* s = NewSrf("地形");
        pgn* g = NewPgn(s);
        s->nv = R * C;
        s->v = static_cast<float*>(AlcMem(12LL * R * C, "srf->v"));
        s->nrm = static_cast<float*>(AlcMem(12LL * R * C, "srf->n"));
        g->n = R * C;
        g->vtx_id = static_cast<int32_t*>(AlcMem(4LL * R * C, "vtx_id"));
        for (int i = 0; i < R * C; ++i) {
            float x = x0 + d * (i % C), y = y0 + d * (i / C);
            s->v[3 * i] = x;
            s->v[3 * i + 1] = y;
            s->v[3 * i + 2] = z ? z(x, y) : 0;
            g->vtx_id[i] = i;
        }
        AtchSrfPrt(TrnPrt, s);
        s->mtlIdx = 0;
        g->type = PgnGrd;
        g->rows = static_cast<uint16_t>(R);
        g->cols = static_cast<uint16_t>(C);
        TrnSrf = s;
        TrnGrd = g;
        CalTrnNrm();
        UdtBox(s, OK_SRF);
    }
    int Boxes() { return static_cast<int>(Plt().boxes.size()); }
    std::string BoxText(int i) { return Plt().boxes.at(i).text; }
};
