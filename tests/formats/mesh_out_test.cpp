// VRML and STL export of the terrain grid.
#include <cmath>
#include <string>
#include "display/drw.h"
#include "display/view.h"
#include "formats/stl.h"
#include "formats/vrml.h"
#include "formats/xchg_fixture.h"

namespace {

class MeshOutTest : public XchgTest {};

int Count(const std::string& text, const std::string& s) {
    int n = 0;
    for (size_t p = text.find(s); p != std::string::npos; p = text.find(s, p + 1)) ++n;
    return n;
}

TEST_F(MeshOutTest, ThreeByThreeGridWritesFourCellsAndEightFacets) {
    Grid(0, 0, 2000, 2000, 1000);
    ASSERT_EQ(TrnGrd->rows, 3);
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtVrml, Path("t.wrl")), 0);
    ASSERT_EQ(ExpXchg(FmtStl, Path("t.stl")), 0);
    auto w = Lines("t.wrl");
    int first = -1, n = 0;
    for (size_t i = 0; i < w.size(); ++i)
        if (w[i].find(",-1") != std::string::npos) {
            if (first < 0) first = static_cast<int>(i);
            ++n;
        }
    EXPECT_EQ(n, 4);
    ASSERT_GE(first, 0);
    EXPECT_EQ(w[first], "\t\tcoordIndex [0,1,4,3,-1,");
    EXPECT_EQ(w[first + 1], "\t\t1,2,5,4,-1,");
    EXPECT_EQ(w[first + 3], "\t\t4,5,8,7,-1]");
    std::string s = Get("t.stl");
    EXPECT_EQ(Count(s, "  facet normal"), 8);
    EXPECT_EQ(Count(s, "      vertex "), 24);
    EXPECT_EQ(s.substr(0, 11), "solid \x92\x6e\x8c\x60\n");
    EXPECT_EQ(s.substr(s.size() - 14), "endsolid \x92\x6e\x8c\x60\n");
    EXPECT_EQ(Boxes(), 0);
}

TEST_F(MeshOutTest, MetresScaleCoordinatesButNotNormals) {
    Grid(1000, 2000, 2000, 3000, 1000, [](float, float) { return 30.0f; });
    OutUnit = LenUnit::M;
    ASSERT_EQ(ExpXchg(FmtVrml, Path("m.wrl")), 0);
    ASSERT_EQ(ExpXchg(FmtStl, Path("m.stl")), 0);
    auto w = Lines("m.wrl");
    std::string s = Get("m.stl");
    EXPECT_NE(s.find("      vertex 1.000000 2.000000 0.030000\n"), std::string::npos);
    bool pt = false, nv = false;
    for (const auto& l : w) {
        pt |= l == "\t\t\tpoint [1.000000 2.000000 0.030000,";
        nv |= l == "\t\t\tvector [0.000000 0.000000 1.000000,";
    }
    EXPECT_TRUE(pt);
    EXPECT_TRUE(nv);
    // A flat cell: the facet normal is the normalised sum of (0, 0, 1) three times.
    EXPECT_EQ(s.find("  facet normal 0.000000 0.000000 1.000000\n    outer loop\n"), 11u);
}

TEST_F(MeshOutTest, VrmlHeaderViewpointLightAndMaterial) {
    Grid(0, 0, 300, 400, 100);
    OutUnit = LenUnit::Mm;
    BgCol[0] = 255;
    BgCol[1] = 0;
    BgCol[2] = 51;
    ASSERT_EQ(ExpXchg(FmtVrml, Path("v.wrl")), 0);
    auto w = Lines("v.wrl");
    ASSERT_GT(w.size(), 30u);
    EXPECT_EQ(w[0], "#VRML V2.0 utf8");
    EXPECT_EQ(w[1], "");
    EXPECT_EQ(w[2], "Background { ");
    EXPECT_EQ(w[3], "\tskyColor     1.000000 0.000000 0.200000");
    EXPECT_EQ(w[5], "Viewpoint {");
    EXPECT_EQ(w[6], "\tposition\t150.000000 -800.000000 0.000000");
    EXPECT_EQ(w[7], "\torientation\t1.000000 0.000000 0.000000 1.570796");
    // Fault: half the viewing angle was written, so the exported view was twice too narrow.
    ASSERT_EQ(w[8].substr(0, 13), "\tfieldOfView\t");
    EXPECT_NEAR(std::stod(w[8].substr(13)), 2 * std::atan(0.5 * ViewWin[0].v.ScrWid / ViewWin[0].v.ScrDst), 1e-6);
    EXPECT_EQ(w[10], "DirectionalLight {");
    EXPECT_EQ(w[11], "\tambientIntensity\t0.0");
    EXPECT_EQ(w[15], "\ton\t\t\tTRUE");
    EXPECT_EQ(w[17], "Shape {");
    // The terrain material: diffuse (0, 0.5, 0.25), specular 0.3; shininess as VRML's fraction.
    EXPECT_EQ(w[20], "\t\t\t\tdiffuseColor\t0.000000 0.500000 0.250000");
    EXPECT_EQ(w[21], "\t\t\t\tspecularColor\t0.300000 0.300000 0.300000");
    EXPECT_EQ(w[22], "\t\t\t\tshininess\t\t0.390625");
    EXPECT_EQ(w.back(), "}");
}

// Fault: a grid of one cell wrote "coordIndex [a,b,c,d,-1," with no closing bracket.
TEST_F(MeshOutTest, OneCellGridIsWellFormed) {
    RawGrid(2, 2, 0, 0, 100);
    ASSERT_EQ(ExpXchg(FmtVrml, Path("one.wrl")), 0);
    std::string s = Get("one.wrl");
    EXPECT_NE(s.find("\t\tcoordIndex [0,1,3,2,-1]\n"), std::string::npos);
}

TEST_F(MeshOutTest, NoTerrainTellsTheUserAndWritesNothing) {
    for (int f : {FmtVrml, FmtStl, FmtGld}) {
        SCOPED_TRACE(f);
        Plt().boxes.clear();
        EXPECT_EQ(ExpXchg(f, Path("none")), -1);
        ASSERT_EQ(Boxes(), 1);
        EXPECT_EQ(Plt().boxes[0].id, MsgOwnWrn);
        EXPECT_EQ(BoxText(0), "地形が作成されていません。");
    }
    EXPECT_TRUE(Files().empty());
}

// Fault: a terrain of one row was refused with "地形が作成されていません。" although it exists.
// VRML and STL write it without faces; GLD says the true reason.
TEST_F(MeshOutTest, OneRowTerrainIsWrittenWithoutFacesAndGldSaysWhyNot) {
    Grid(0, 0, 300, 0, 100);
    ASSERT_EQ(TrnGrd->rows, 1);
    ASSERT_GE(TrnGrd->cols, 2);
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtVrml, Path("row.wrl")), 0);
    std::string w = Get("row.wrl");
    EXPECT_NE(w.find("\t\t\tpoint [0.000000 0.000000"), std::string::npos);
    EXPECT_NE(w.find("]\n\t\t}\n\t\tnormal Normal {"), std::string::npos);
    EXPECT_NE(w.find("vector ["), std::string::npos);
    EXPECT_EQ(w.find("coordIndex"), std::string::npos);
    ASSERT_EQ(ExpXchg(FmtStl, Path("row.stl")), 0);
    EXPECT_EQ(Get("row.stl").substr(0, 6), "solid ");
    EXPECT_EQ(Count(Get("row.stl"), "facet"), 0);
    EXPECT_EQ(Boxes(), 0);
    EXPECT_EQ(ExpXchg(FmtGld, Path("row.gld")), -1);
    ASSERT_EQ(Boxes(), 1);
    EXPECT_EQ(BoxText(0), "地形が1行または1列しかないため、GLDには書き出せません。");
    EXPECT_FALSE(Exists("row.gld"));
}

TEST_F(MeshOutTest, StlExportReadsBackAsOneSolidOfItsFacets) {
    RawGrid(4, 3, 0, 0, 1000, [](float x, float y) { return x + y; });
    OutUnit = LenUnit::Mm;
    ASSERT_EQ(ExpXchg(FmtStl, Path("back.stl")), 0);
    StlRdSum sum;
    ASSERT_EQ(RdStlSum(Path("back.stl"), &sum), 0);
    EXPECT_EQ(sum.solids, 1);
    EXPECT_EQ(sum.facets, 2 * 2 * 3);
    EXPECT_EQ(sum.skipped, 0);
}

}  // namespace
