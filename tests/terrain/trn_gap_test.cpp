// Faults that the other terrain tests could not see: the filter on sloping ground, and every field
// of the terrain surface across an undo and redo.
#include "terrain/trn_fixture.h"

#include "core/cmd.h"
#include "terrain/trn_cmd.h"

#include <cstring>
#include <string>
#include <vector>

#include "curves/crv.h"
#include "cmd/undo.h"

namespace {
// Every field of a surface, copied by hand (not through the copy under test).
struct SrfSnap {
    std::string name;
    XfmBlk xfm;
    double mtx[4][4];
    BBox box;
    int mtlIdx, mtlIdx2;
    mtl* mtlPtr;
    int nv, nvc, nce;
    std::vector<float> v, n, v3, vc;
    std::vector<int32_t> ce;
    uint8_t b1, kind, dspFlg, vis;
    struct Grp {
        int n;
        std::vector<int32_t> id;
        uint16_t rows, cols;
        uint8_t type;
    };
    std::vector<Grp> pgns;
    int nprj;
};

SrfSnap Snap(const srf* s) {
    SrfSnap a;
    a.name = s->name ? s->name : "";
    a.xfm = s->xfm;
    std::memcpy(a.mtx, s->mtx, sizeof a.mtx);
    a.box = s->box;
    a.mtlIdx = s->mtlIdx;
    a.mtlIdx2 = s->mtlIdx2;
    a.mtlPtr = s->mtlPtr;
    a.nv = s->nv;
    a.nvc = s->nvc;
    a.nce = s->nce;
    if (s->v) a.v.assign(s->v, s->v + 3 * s->nv);
    if (s->nrm) a.n.assign(s->nrm, s->nrm + 3 * s->nv);
    if (s->v3) a.v3.assign(s->v3, s->v3 + 3 * s->nv);
    if (s->vc) a.vc.assign(s->vc, s->vc + 3 * s->nvc);
    if (s->ce) a.ce.assign(s->ce, s->ce + s->nce);
    a.b1 = s->b1;
    a.kind = s->kind;
    a.dspFlg = s->dspFlg;
    a.vis = s->vis;
    for (int i = 0; i < s->pgns.n; i++) {
        const pgn* p = s->pgns.a[i];
        SrfSnap::Grp g{p->n, {}, p->rows, p->cols, p->type};
        if (p->vtx_id) g.id.assign(p->vtx_id, p->vtx_id + p->n);
        a.pgns.push_back(g);
    }
    a.nprj = s->prjs.n;
    return a;
}

void ExpectSame(const SrfSnap& a, const SrfSnap& b, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(std::memcmp(&a.xfm, &b.xfm, sizeof a.xfm), 0);
    EXPECT_EQ(std::memcmp(a.mtx, b.mtx, sizeof a.mtx), 0);
    EXPECT_EQ(std::memcmp(&a.box, &b.box, sizeof a.box), 0);
    EXPECT_EQ(a.mtlIdx, b.mtlIdx);
    EXPECT_EQ(a.mtlIdx2, b.mtlIdx2);
    EXPECT_EQ(a.mtlPtr, b.mtlPtr);
    EXPECT_EQ(a.nv, b.nv);
    EXPECT_EQ(a.v, b.v);
    EXPECT_EQ(a.n, b.n);
    EXPECT_EQ(a.v3, b.v3);
    EXPECT_EQ(a.nvc, b.nvc);
    EXPECT_EQ(a.vc, b.vc);
    EXPECT_EQ(a.nce, b.nce);
    EXPECT_EQ(a.ce, b.ce);
    EXPECT_EQ(a.b1, b.b1);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.dspFlg, b.dspFlg) << "display flags";
    EXPECT_EQ(a.vis, b.vis) << "visible flag";
    ASSERT_EQ(a.pgns.size(), b.pgns.size());
    for (size_t i = 0; i < a.pgns.size(); i++) {
        EXPECT_EQ(a.pgns[i].n, b.pgns[i].n);
        EXPECT_EQ(a.pgns[i].id, b.pgns[i].id);
        EXPECT_EQ(a.pgns[i].rows, b.pgns[i].rows);
        EXPECT_EQ(a.pgns[i].cols, b.pgns[i].cols);
        EXPECT_EQ(a.pgns[i].type, b.pgns[i].type);
    }
    EXPECT_EQ(a.nprj, b.nprj);
}
}  // namespace

// A spike on a uniform slope: the continuation from each side must follow the slope's sign, so the
// spike goes back onto the slope (a filter that flipped the outer slope only passed on flat ground).
TEST_F(TrnTest, FilterPutsASpikeBackOntoAUniformSlope) {
    Region(0, 0, 800, 800, 100);
    ASSERT_EQ(Cols(), 9);
    // Border row 1, repaired from the row alone: 0, 50, spike, 150, 200 gives 100.
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) Z(r, c) = 0;
    for (int c = 0; c < Cols(); c++) Z(1, c) = 50.0f * (c - 2);
    Z(1, 4) = 900;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_FLOAT_EQ(Z(1, 4), 100);
    // Inside, on a plane rising in both directions: both estimates lie on the plane.
    for (int r = 0; r < Rows(); r++)
        for (int c = 0; c < Cols(); c++) Z(r, c) = 25.0f * c + 40.0f * r;
    Z(4, 4) = -2000;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_FLOAT_EQ(Z(4, 4), 25.0f * 4 + 40.0f * 4);
    Z(4, 4) = 3000;
    IntrCmd(CatMdl, CmdTrnFltr);
    EXPECT_FLOAT_EQ(Z(4, 4), 260);
}

// Undo of generation, filter and a region change must bring back the whole surface: a shaded,
// hidden terrain came back in the flags of a fresh one.
TEST_F(TrnTest, TerrainUndoAndRedoRestoreEverySurfaceField) {
    Ctr(10, {-1000, 0, 1000, 0});
    Ctr(20, {-1000, 1000, 1000, 1000});
    Region(0, 0, 800, 800, 100);
    IntrCmd(CatMdl, CmdTrnCre);
    // Flags other than those of a new grid.
    TrnSrf->dspFlg = 1;
    TrnSrf->vis = 0;
    Z(3, 3) = 400;
    struct Step {
        const char* what;
        void (*run)();
    };
    const Step steps[] = {
        {"generation", [] { IntrCmd(CatMdl, CmdTrnCre); }},
        {"filter", [] { IntrCmd(CatMdl, CmdTrnFltr); }},
        {"region", [] { Region(0, 0, 600, 800, 100); }},
    };
    for (const Step& s : steps) {
        SrfSnap before = Snap(TrnSrf);
        s.run();
        ASSERT_NE(TrnSrf, nullptr) << s.what;
        SrfSnap after = Snap(TrnSrf);
        Undo();
        ASSERT_NE(TrnSrf, nullptr) << s.what;
        ExpectSame(before, Snap(TrnSrf), s.what);
        Redo();
        ASSERT_NE(TrnSrf, nullptr) << s.what;
        ExpectSame(after, Snap(TrnSrf), s.what);
        Undo();
    }
}
