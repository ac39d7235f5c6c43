// Codec faults that slipped past the other tests: descriptors left open by saves, the longest
// name a document stores, a DXF whose first line outgrows the read buffer, documents larger than
// the writer's buffer.
#include <cstring>
#include <filesystem>
#include <string>
#include "core/alc.h"
#include "doc/doc.h"
#include "formats/dxf.h"
#include "formats/scn.h"
#include "formats/stl.h"
#include "formats/xchg_fixture.h"

namespace {

class FormatsFault : public XchgTest {
public:
    static int OpenFds() {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) n += !e.path().empty();
        return n;
    }
    static float Wave(float x, float y) { return 1000.0f + 0.25f * x - 0.5f * y; }
};

}  // namespace

// Every save and export, done many times, leaves no file descriptor open (making a file
// durable opened one and kept it).
TEST_F(FormatsFault, SavesAndExportsLeaveNoFileOpen) {
    Grid(0, 0, 40000, 40000, 10000, Wave);
    const int before = OpenFds();
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(DocSaveAs(Path("d.scn")), DocDone);
        for (int f : {FmtDxf, FmtVrml, FmtStl, FmtGld}) {
            SCOPED_TRACE(f);
            ASSERT_EQ(ExpXchg(f, Path("e" + std::to_string(f))), 0);
        }
    }
    EXPECT_EQ(OpenFds(), before);
}

// A name of the longest length a document stores (255 bytes) is kept whole without a word; one
// byte more is cut to that length and the user is told.
TEST_F(FormatsFault, LongestStoredNameIsKeptWholeAndOneMoreIsCut) {
    const std::string fits(ScnNamMax - 1, 'a'), over(ScnNamMax, 'b');
    for (const std::string& n : {fits, over}) {
        SCOPED_TRACE(n.size());
        DocNew();
        Plt().Clear();
        crv* c = NewCrvObj(n.c_str());
        AtchCrvPrt(TrnPrt, c);
        AddCrvPnt(c, 1, 2, 3);
        ASSERT_EQ(DocSaveAs(Path("n.scn")), DocDone);
        const bool cut = n.size() > ScnNamMax - 1;
        EXPECT_EQ(Plt().boxes.size(), cut ? 1u : 0u);
        DocNew();
        ASSERT_EQ(DocOpen(Path("n.scn")), DocDone);
        ASSERT_EQ(TrnPrt->crvs.n, 1);
        EXPECT_EQ(std::string(TrnPrt->crvs.a[0]->name), n.substr(0, ScnNamMax - 1));
    }
}

// A drawing whose very first line is longer than the read buffer (2 MB of padding after the
// first group code): the line is cut and everything after it read (the reader once took the
// full buffer for the end of the file).
TEST_F(FormatsFault, DxfFirstLineLongerThanTheReadBufferIsCutAndTheRestRead) {
    const std::string body = "0\nLINE\n8\n0\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n";
    Put("long.dxf", "0" + std::string(2 << 20, ' ') + "\nSECTION\n2\nENTITIES\n" + body +
                        "0\nENDSEC\n0\nEOF\n");
    DxfRdSum sum;
    DxfRdPrm p;
    ASSERT_EQ(RdDxf(Path("long.dxf"), p, &sum), 0);
    ASSERT_EQ(NumCrv(), 1);
    EXPECT_EQ(Pts(0), (std::vector<float>{1, 2, 3, 4, 5, 6}));
}

// A terrain whose vertices fill more than the writer's buffer (1 MB) comes back whole: every
// height, the last vertex included.
TEST_F(FormatsFault, TerrainLargerThanTheWriteBufferRoundTrips) {
    Grid(0, 0, 3000000, 3000000, 10000, Wave);
    ASSERT_GT(12LL * TrnSrf->nv, 1LL << 20);
    const int nv = TrnSrf->nv;
    std::vector<float> v(TrnSrf->v, TrnSrf->v + 3 * nv);
    ASSERT_EQ(DocSaveAs(Path("big.scn")), DocDone);
    DocNew();
    ASSERT_EQ(DocOpen(Path("big.scn")), DocDone);
    ASSERT_NE(TrnSrf, nullptr);
    ASSERT_EQ(TrnSrf->nv, nv);
    int bad = 0;
    for (int i = 0; i < 3 * nv; ++i) bad += TrnSrf->v[i] != v[i];
    EXPECT_EQ(bad, 0);
}

// Parts nested as deep as a document may nest them (257 levels under the product) read back
// whole; one level more is damage, refused with the new-document scene.
TEST_F(FormatsFault, PartsNestedToTheLimitReadAndOneDeeperIsDamage) {
    auto depth = [] {
        int n = 0;
        for (prt* p = TrnPrd->prts.n ? TrnPrd->prts.a[TrnPrd->prts.n - 1] : nullptr; p;
             p = p->prts.n ? p->prts.a[0] : nullptr)
            ++n;
        return n;
    };
    for (int levels : {257, 258}) {
        SCOPED_TRACE(levels);
        DocNew();
        prt* o = NewPrt("nest");
        ASSERT_GE(AtchPrtPrd(TrnPrd, o), 0);
        for (int k = 1; k < levels; ++k) {
            prt* p = NewPrt("nest");
            ASSERT_GE(AtchPrtPrt(o, p), 0);
            o = p;
        }
        ASSERT_EQ(depth(), levels);
        ASSERT_EQ(DocSaveAs(Path("nest.scn")), DocDone);
        DocNew();
        Plt().Clear();
        DocOpen(Path("nest.scn"));
        if (levels == 257) {
            EXPECT_EQ(ScnRdSt, ScnRdOk);
            EXPECT_EQ(depth(), levels);
            EXPECT_TRUE(Plt().boxes.empty());
        } else {
            EXPECT_EQ(ScnRdSt, ScnRdDamaged);
            EXPECT_EQ(Plt().boxes.size(), 1u);
        }
    }
}

// A facet group naming a vertex the surface does not have (below or beyond its count) is left
// out of the DXF with the surface error; the sound facets are written.
TEST_F(FormatsFault, DxfExportLeavesOutFacetsWithUnsoundIndexes) {
    const std::string facet = " facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n"
                              "   vertex 0 1 0\n  endloop\n endfacet\n";
    Put("t.stl", "solid t\n" + facet + facet + facet + "endsolid t\n");
    for (int bad : {-1, 9}) {
        SCOPED_TRACE(bad);
        DocNew();
        ASSERT_EQ(RdStl(Path("t.stl").c_str()), 0);
        srf* s = TrnPrd->prts.a[TrnPrd->prts.n - 1]->srfs.a[0];
        ASSERT_EQ(s->nv, 9);
        ASSERT_EQ(s->pgns.n, 3);
        s->pgns.a[1]->vtx_id[2] = bad;
        Plt().Clear();
        OutUnit = LenUnit::Mm;
        ASSERT_EQ(ExpXchg(FmtDxf, Path("f.dxf")), 0);
        int polylines = 0;
        for (const std::string& l : Lines("f.dxf")) polylines += l == "POLYLINE";
        EXPECT_EQ(polylines, 2);
        ASSERT_EQ(Plt().boxes.size(), 1u);
        EXPECT_EQ(Plt().boxes[0].id, MsgSrfErr);
    }
}

// A solid that a new "solid" line starts before its "endsolid" keeps its facets, as does the
// solid after it.
TEST_F(FormatsFault, StlSolidWithoutEndKeepsItsFacetsWhenTheNextBegins) {
    auto facet = [](const char* z) {
        return std::string(" facet normal 0 0 1\n  outer loop\n   vertex 0 0 ") + z +
               "\n   vertex 1 0 " + z + "\n   vertex 0 1 " + z + "\n  endloop\n endfacet\n";
    };
    Put("two.stl", "solid a\n" + facet("1") + facet("2") + "solid b\n" + facet("3") + "endsolid b\n");
    const int before = TrnPrd->prts.n;
    StlRdSum sum;
    ASSERT_EQ(RdStlSum(Path("two.stl"), &sum), 0);
    EXPECT_EQ(sum.solids, 2);
    EXPECT_EQ(sum.facets, 3);
    ASSERT_EQ(TrnPrd->prts.n, before + 2);
    const srf* a = TrnPrd->prts.a[before]->srfs.a[0];
    const srf* b = TrnPrd->prts.a[before + 1]->srfs.a[0];
    ASSERT_EQ(a->nv, 6);
    EXPECT_EQ(a->pgns.n, 2);
    EXPECT_FLOAT_EQ(a->v[3 * 5 + 2], 2);
    ASSERT_EQ(b->nv, 3);
    EXPECT_FLOAT_EQ(b->v[2], 3);
}

// VRML's light is the scene's current light (direction negated: VRML gives where it shines);
// a scene without a light gets a white light of full intensity shining straight down.
TEST_F(FormatsFault, VrmlLightIsTheScenesOrAWhiteOneFromAbove) {
    Grid(0, 0, 300, 400, 100);
    OutUnit = LenUnit::Mm;
    auto light = [&] {
        std::vector<std::string> w = Lines("v.wrl");
        std::vector<std::string> r;
        for (size_t i = 0; i + 4 < w.size(); ++i)
            if (w[i] == "DirectionalLight {") r.assign(w.begin() + i + 2, w.begin() + i + 5);
        return r;
    };
    lgt* l = CurLgt();
    ASSERT_NE(l, nullptr);
    const float col[3] = {0.25f, 0.5f, 0.75f}, dir[3] = {0.5f, -0.25f, 0.75f};
    for (int k = 0; k < 3; ++k) {
        l->r.col[k] = col[k];
        l->r.dir[k] = dir[k];
    }
    l->r.intens = 0.5f;
    CurLgtObj = l;
    ASSERT_EQ(ExpXchg(FmtVrml, Path("v.wrl")), 0);
    EXPECT_EQ(light(), (std::vector<std::string>{"\tcolor\t\t0.250000 0.500000 0.750000",
                                                 "\tdirection\t-0.500000 0.250000 -0.750000",
                                                 "\tintensity\t0.500000"}));
    CurLgtObj = nullptr;
    while (LgtTblTbl.n > 0 && LgtTblTbl.a[0]->lgts.n > 0) FreeLgt(LgtTblTbl.a[0]->lgts.a[0], true);
    ASSERT_EQ(CurLgt(), nullptr);
    ASSERT_EQ(ExpXchg(FmtVrml, Path("v.wrl")), 0);
    EXPECT_EQ(light(), (std::vector<std::string>{"\tcolor\t\t1.000000 1.000000 1.000000",
                                                 "\tdirection\t-0.000000 -0.000000 -1.000000",
                                                 "\tintensity\t1.000000"}));
}

// An animation of many keys (small records, 0.85 MB of them) leaves the writer's buffer nearly
// full when the next part's large curve arrives: the curve is written whole and reads back.
TEST_F(FormatsFault, LargeArrayAfterManySmallRecordsIsWrittenWhole) {
    constexpr int keys = 95000, pts = 70000;
    prt* a = NewPrt("keys");
    ASSERT_GE(AtchPrtPrd(TrnPrd, a), 0);
    a->anm = NewAnm(OK_PRT);
    a->anm->ch = static_cast<AnmCh*>(AlcMem(sizeof(AnmCh), "anm_ch"));
    std::memset(a->anm->ch, 0, sizeof(AnmCh));
    a->anm->nch = 1;
    a->anm->ch[0].k = static_cast<AnmKey*>(AlcMem(keys * static_cast<long long>(sizeof(AnmKey)), "anm_key"));
    a->anm->ch[0].nk = keys;
    for (int k = 0; k < keys; ++k) a->anm->ch[0].k[k] = AnmKey{1, k * 0.5};
    prt* b = NewPrt("big");
    ASSERT_GE(AtchPrtPrd(TrnPrd, b), 0);
    crv* c = NewCrvObj("big");
    AtchCrvPrt(b, c);
    c->p = static_cast<float*>(AlcMem(3LL * pts * static_cast<long long>(sizeof(float)), "crv:p"));
    c->n = pts;
    for (int i = 0; i < pts; ++i) {
        c->p[3 * i] = static_cast<float>(i);
        c->p[3 * i + 1] = static_cast<float>(2 * i);
        c->p[3 * i + 2] = 7;
    }
    ASSERT_EQ(DocSaveAs(Path("c.scn")), DocDone);
    DocNew();
    ASSERT_EQ(DocOpen(Path("c.scn")), DocDone);
    const prt* r = TrnPrd->prts.a[TrnPrd->prts.n - 1];
    ASSERT_STREQ(r->name, "big");
    ASSERT_EQ(r->crvs.n, 1);
    const crv* rc = r->crvs.a[0];
    ASSERT_EQ(rc->n, pts);
    int bad = 0;
    for (int i = 0; i < pts; ++i)
        bad += rc->p[3 * i] != static_cast<float>(i) || rc->p[3 * i + 1] != static_cast<float>(2 * i) ||
               rc->p[3 * i + 2] != 7;
    EXPECT_EQ(bad, 0);
    const prt* ra = TrnPrd->prts.a[TrnPrd->prts.n - 2];
    ASSERT_NE(ra->anm, nullptr);
    ASSERT_EQ(ra->anm->nch, 1);
    EXPECT_EQ(ra->anm->ch[0].nk, keys);
    EXPECT_EQ(ra->anm->ch[0].k[keys - 1].val, (keys - 1) * 0.5);
}
