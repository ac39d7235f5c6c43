#include <cstring>
#include <string>
#include "core/alc.h"
#include "scene/scene.h"
#include "scene_fixture.h"

namespace {
std::string Uniq(const char* base, void* owner, int ownerKind, int kind) {
    char* n = UniqNam(base, owner, ownerKind, kind);
    std::string s = n ? n : "(null)";
    FreeMem(n);
    return s;
}

std::string PathOf(void* o, int kind) {
    char buf[512];
    return ObjPath(o, kind, buf, sizeof buf) < 0 ? std::string("(none)") : std::string(buf);
}
}  // namespace

using SceneNames = SceneTest;

TEST_F(SceneNames, UniqueNamesCountUpAmongSiblingsOfTheSameKind) {
    // The terrain product already exists; add Product and Product-1 beside it.
    AtchPrdGlb(NewPrd("Product"));
    AtchPrdGlb(NewPrd("Product-1"));
    EXPECT_EQ(Uniq("Product", nullptr, OK_GLB, OK_PRD), "Product-2");
    EXPECT_EQ(Uniq("Thing", nullptr, OK_GLB, OK_PRD), "Thing");

    // Exact text: case and trailing blanks make a different name.
    EXPECT_EQ(Uniq("product", nullptr, OK_GLB, OK_PRD), "product");
    EXPECT_EQ(Uniq("Product ", nullptr, OK_GLB, OK_PRD), "Product ");

    // A gap is filled first: Product-2 is free even when Product-3 exists.
    AtchPrdGlb(NewPrd("Product-3"));
    EXPECT_EQ(Uniq("Product", nullptr, OK_GLB, OK_PRD), "Product-2");

    // Other kinds in the same container, and other containers, do not count.
    EXPECT_EQ(Uniq("Default", nullptr, OK_GLB, OK_PRD), "Default");  // a camera and a light table
    EXPECT_EQ(Uniq("Default", nullptr, OK_GLB, OK_CAM), "Default-1");
    prt* p = TrnPrt;
    AtchCrvPrt(p, NewCrvObj("Part"));
    EXPECT_EQ(Uniq("Part", p, OK_PRT, OK_PRT), "Part");
    EXPECT_EQ(Uniq("Part", p, OK_PRT, OK_CRV), "Part-1");
    EXPECT_EQ(Uniq("地形", TrnPrd, OK_PRD, OK_PRT), "地形-1");
    EXPECT_EQ(Uniq("地形", TrnPrd, OK_PRD, OK_LNK), "地形");
    mtl_tbl* t = TrnPrd->mtlTbls.a[0];
    EXPECT_EQ(Uniq("赤", t, OK_MTL_TBL, OK_MTL), "赤-1");
    EXPECT_EQ(Uniq("parallel1", LgtTblTbl.a[0], OK_LGT_TBL, OK_LGT), "parallel1-1");
}

TEST_F(SceneNames, PathsAndLookupRoundTrip) {
    prt* sub = NewPrt("sub");
    AtchPrtPrt(TrnPrt, sub);
    lnk* l = NewLnk("Link");
    AtchLnkPrt(sub, l);
    prt* under = NewPrt("under");
    AtchPrtLnk(l, under);
    crv* c = NewCrvObj("等高線1");
    AtchCrvPrt(under, c);
    stg* s = NewStg("Stage");
    AtchStgGlb(s);
    cam* sc = NewCam("cam");
    AtchCamStg(s, sc);

    struct Obj { void* o; int kind; const char* path; } objs[] = {
        {TrnPrd, OK_PRD, "/地形"},
        {TrnPrt, OK_PRT, "/地形/地形"},
        {TrnPrd->mtlTbls.a[0], OK_MTL_TBL, "/地形/地形"},  // shares its path with the part
        {TrnPrd->mtlTbls.a[0]->mtls.a[6], OK_MTL, "/地形/地形/黄色"},
        {sub, OK_PRT, "/地形/地形/sub"},
        {l, OK_LNK, "/地形/地形/sub/Link"},
        {under, OK_PRT, "/地形/地形/sub/Link/under"},
        {c, OK_CRV, "/地形/地形/sub/Link/under/等高線1"},
        {CamTbl.a[0], OK_CAM, "/Default"},
        {LgtTblTbl.a[0]->lgts.a[0], OK_LGT, "/Default/parallel1"},
        {s, OK_STG, "/Stage"},
        {sc, OK_CAM, "/Stage/cam"},
    };
    for (const Obj& e : objs) {
        EXPECT_EQ(PathOf(e.o, e.kind), e.path);
    }
    // Lookup by kind finds every object again.
    for (const Obj& e : objs) {
        int k = 0;
        EXPECT_EQ(FindPath(e.path, &k, e.kind), e.o) << e.path;
        EXPECT_EQ(k, e.kind) << e.path;
    }
    // Without a kind the first match in list order wins: the table comes before the part, yet
    // the part's children are still reached through the part.
    int k = 0;
    EXPECT_EQ(FindPath("/地形/地形", &k), TrnPrd->mtlTbls.a[0]);
    EXPECT_EQ(k, OK_MTL_TBL);
    EXPECT_EQ(FindPath("/地形/地形/sub", &k), sub);
    EXPECT_EQ(k, OK_PRT);
    EXPECT_EQ(FindPath("/地形/地形/sub", &k, OK_CRV), nullptr);
}

TEST_F(SceneNames, LookupFailuresAndOddNames) {
    int k = 99;
    EXPECT_EQ(FindPath("/nothing", &k), nullptr);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(FindPath("地形", &k), nullptr);  // not rooted
    EXPECT_EQ(FindPath("/地", &k), nullptr);    // prefix only
    EXPECT_EQ(FindPath("/地形/", &k), nullptr);
    EXPECT_EQ(FindPath(nullptr, &k), nullptr);

    // A name holding the separator still round-trips.
    prt* odd = NewPrt("a/b");
    AtchPrtPrt(TrnPrt, odd);
    crv* c = NewCrvObj("c");
    AtchCrvPrt(odd, c);
    EXPECT_EQ(PathOf(c, OK_CRV), "/地形/地形/a/b/c");
    EXPECT_EQ(FindPath("/地形/地形/a/b/c", &k), c);

    // An object that is not attached has no path; nor does one that would not fit.
    crv* loose = NewCrvObj("loose");
    char buf[64];
    EXPECT_EQ(ObjPath(loose, OK_CRV, buf, sizeof buf), -1);
    EXPECT_EQ(ObjPath(TrnPrt, OK_PRT, buf, 4), -1);
    EXPECT_EQ(ObjPath(CamTbl.a[0], OK_CAM, buf, 8), -1);  // "/Default" needs 9 bytes
    char buf9[9];
    EXPECT_EQ(ObjPath(CamTbl.a[0], OK_CAM, buf9, sizeof buf9), 8);
    EXPECT_STREQ(buf9, "/Default");
    FreeCrvObj(loose, false);
}

TEST_F(SceneNames, PartReferencesFollowPathsAndNeverDangle) {
    prt* a = NewPrt("a");
    AtchPrtPrt(TrnPrt, a);
    prt* b = NewPrt("b");
    AtchPrtPrt(TrnPrt, b);
    lnk* l = NewLnk("l");
    AtchLnkPrt(b, l);
    prt* deep = NewPrt("deep");
    AtchPrtLnk(l, deep);

    // A reference read from a document names the part by its path; the part, not the material
    // table of the same name, is meant.
    a->refPath = DupNam("/地形/地形/b/l/deep");
    b->refPath = DupNam("/地形/地形");
    prt* c = NewPrt("c");
    AtchPrtPrt(TrnPrt, c);
    c->refPath = DupNam("/地形/nothing");
    c->ref = a;
    RslvPrtRef();
    EXPECT_EQ(a->ref, deep);
    EXPECT_EQ(b->ref, TrnPrt);
    EXPECT_EQ(c->ref, nullptr);

    // Freeing the link takes the referenced part with it: the reference goes too.
    FreeLnk(l, true);
    EXPECT_EQ(a->ref, nullptr);
    EXPECT_EQ(b->ref, TrnPrt);
    a->ref = b;
    FreePrt(b, true);
    EXPECT_EQ(a->ref, nullptr);
}
