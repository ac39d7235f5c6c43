// ASCII STL reading: solids, surfaces, materials, and files that are not quite STL.
#include <cmath>
#include <string>
#include "formats/stl.h"
#include "formats/xchg_fixture.h"

namespace {

class StlRdTest : public XchgTest {
public:
    int Rd(const std::string& name, const std::string& text, StlRdSum* sum = nullptr) {
        Put(name, text);
        return RdStlSum(Path(name), sum);
    }
    static std::string Facet(const char* n, float z) {
        std::string s = std::string(" facet normal ") + n + "\n  outer loop\n";
        for (int k = 0; k < 3; ++k)
            s += "   vertex " + std::to_string(k) + " " + std::to_string(k % 2) + " " + std::to_string(z) + "\n";
        return s + "  endloop\n endfacet\n";
    }
    static prt* LastPrt() { return TrnPrd->prts.a[TrnPrd->prts.n - 1]; }
};

TEST_F(StlRdTest, SolidBecomesAPartNamedAfterTheFile) {
    int before = TrnPrd->prts.n;
    StlRdSum sum;
    ASSERT_EQ(Rd("hill.stl", "solid x\n" + Facet("0 0 1", 5) + Facet("0 1 0", 6) + "endsolid x\n", &sum), 0);
    EXPECT_EQ(sum.facets, 2);
    ASSERT_EQ(TrnPrd->prts.n, before + 1);
    prt* p = LastPrt();
    EXPECT_STREQ(p->name, "hill");
    ASSERT_EQ(p->srfs.n, 1);
    srf* s = p->srfs.a[0];
    EXPECT_STREQ(s->name, "surf1");
    EXPECT_EQ(s->kind, 2);
    ASSERT_EQ(s->nv, 6);
    ASSERT_EQ(s->pgns.n, 2);
    EXPECT_EQ(s->pgns.a[1]->type, 1);
    EXPECT_EQ(s->pgns.a[1]->vtx_id[0], 3);
    EXPECT_FLOAT_EQ(s->v[3 * 4 + 2], 6);
    EXPECT_FLOAT_EQ(s->nrm[3 * 4 + 1], 1);  // each vertex carries its facet's normal
    ASSERT_NE(SrfMtl(s), nullptr);
    EXPECT_STREQ(SrfMtl(s)->name, "Material1");
    EXPECT_FLOAT_EQ(SrfMtl(s)->dif[0], 0.5f);
    EXPECT_FLOAT_EQ(p->box.max[2], 6);
    EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 1);
}

TEST_F(StlRdTest, ColourLinesStartNewMaterialsAndSurfaces) {
    ASSERT_EQ(Rd("c.stl", "solid c\ncolor 1 0 0\n" + Facet("0 0 1", 0) + "color 0 0 1\n" + Facet("0 0 1", 1) +
                              Facet("0 0 1", 2) + "endsolid\n"),
              0);
    prt* p = LastPrt();
    ASSERT_EQ(p->srfs.n, 2);
    EXPECT_STREQ(p->srfs.a[1]->name, "surf2");
    EXPECT_EQ(p->srfs.a[0]->nv, 3);
    EXPECT_EQ(p->srfs.a[1]->nv, 6);
    mtl* a = SrfMtl(p->srfs.a[0]);
    mtl* b = SrfMtl(p->srfs.a[1]);
    ASSERT_TRUE(a && b);
    EXPECT_STREQ(a->name, "Material1");
    EXPECT_FLOAT_EQ(a->dif[0], 1);
    EXPECT_STREQ(b->name, "Material2");
    EXPECT_FLOAT_EQ(b->dif[2], 1);
}

TEST_F(StlRdTest, NormalOnItsOwnLineAndQuadrilateralFacets) {
    ASSERT_EQ(Rd("q.stl", "solid q\nfacet\nnormal 0 0 -1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\n"
                          "vertex 1 1 0\nvertex 0 1 0\nendloop\nendfacet\nendsolid q\n"),
              0);
    srf* s = LastPrt()->srfs.a[0];
    ASSERT_EQ(s->pgns.n, 1);
    EXPECT_EQ(s->pgns.a[0]->type, 2);
    EXPECT_FLOAT_EQ(s->nrm[2], -1);
}

// Fault: hostile numbers and broken structure in an STL file must be skipped, never crash.
TEST_F(StlRdTest, BrokenFacetsAreSkippedAndTheRestKept) {
    std::string longLine(100000, '7');
    StlRdSum sum;
    ASSERT_EQ(Rd("b.stl",
                 "solid b\n" + Facet("nan 0 1", 1) +
                     " facet normal 0 0 1\n outer loop\n vertex nan 0 0\n vertex 1 0 0\n vertex 0 1 0\n"
                     " endloop\n endfacet\n"
                     " facet normal 0 0 1\n outer loop\n vertex 1e300 0 0\n vertex 1 0 0\n vertex 0 1 0\n"
                     " endloop\n endfacet\n"
                     " facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 0 0\n endloop\n endfacet\n"
                     " facet normal 0 0 1\n outer loop\n vertex " + longLine + "\n endloop\n endfacet\n" +
                     Facet("0 0 1", 9),  // no endsolid: the solid is kept
                 &sum),
              0);
    EXPECT_EQ(sum.facets, 2);
    EXPECT_EQ(sum.skipped, 4);
    srf* s = LastPrt()->srfs.a[0];
    ASSERT_EQ(s->nv, 6);
    for (int i = 0; i < 3 * s->nv; ++i) EXPECT_TRUE(std::isfinite(s->v[i]));
    EXPECT_FLOAT_EQ(s->nrm[0], 0);  // an unreadable normal is taken as zero
    ASSERT_GE(MsgLinNum, 3);
    EXPECT_STREQ(MsgLin[2], "読み飛ばした面 4 個");
}

TEST_F(StlRdTest, MissingFileIsReported) {
    EXPECT_EQ(RdStl(Path("gone.stl").c_str()), -1);
    ASSERT_EQ(Boxes(), 1);
    EXPECT_EQ(Plt().boxes[0].id, MsgFilOpn);
}

TEST_F(StlRdTest, WorksWithoutATerrainProduct) {
    ClrScn();
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    ASSERT_EQ(Rd("p.stl", "solid p\n" + Facet("0 0 1", 0) + "endsolid p\n"), 0);
    ASSERT_NE(TrnPrd, nullptr);
    ASSERT_EQ(TrnPrd->prts.n, 1);
    mtl_tbl* t = ActMtlTbl(TrnPrd, OK_PRD);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->name, "Material");
}

// Fault: a file without a facet (empty, not STL, cut after its header) was read as an empty
// solid: a new part and material, the scene changed and nothing said.
TEST_F(StlRdTest, FileWithoutAFacetIsRefusedAndTheSceneStaysAsItWas) {
    const int parts = TrnPrd->prts.n;
    mtl_tbl* t = ActMtlTbl(TrnPrd, OK_PRD);
    const int mtls = t ? t->mtls.n : 0;
    const struct {
        const char* name;
        const char* text;
    } cases[] = {{"empty.stl", ""}, {"text.stl", "not an STL file\nat all\n"}, {"cut.stl", "solid hill\n"},
                 {"named.stl", "solid facetted\nendsolid facetted\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Plt().boxes.clear();
        StlRdSum sum;
        EXPECT_EQ(Rd(c.name, c.text, &sum), -1);
        ASSERT_EQ(Boxes(), 1);
        EXPECT_EQ(Plt().boxes[0].id, MsgOwnErr);
        EXPECT_EQ(BoxText(0), Path(c.name) + " STLの面(facet)がないため、読み込みませんでした。");
        EXPECT_EQ(TrnPrd->prts.n, parts);
        mtl_tbl* u = ActMtlTbl(TrnPrd, OK_PRD);
        EXPECT_EQ(u ? u->mtls.n : 0, mtls);
        EXPECT_EQ(CountCmd(CatDsp, CmdRdrwAll), 0);
    }
    // One facet is enough.
    EXPECT_EQ(Rd("one.stl", "solid a\n" + Facet("0 0 1", 1) + "endsolid a\n"), 0);
    EXPECT_EQ(TrnPrd->prts.n, parts + 1);
}

}  // namespace
