// Dump of the scene object tree: one object per line, two blanks of indent per level,
// KIND "NAME" followed by the counts of the object's lists (kind=count, in list order).
#include "registry.h"
#include "scene/scene.h"

namespace jrn {

namespace {
std::string Ind(int level) { return std::string(2 * level, ' '); }
std::string Cnt(const char* kind, int n) { return std::string(" ") + kind + "=" + std::to_string(n); }

void Cam(const cam* c, int lv) { Line(Ind(lv) + "cam " + Quote(c->name)); }

void LgtTbl(const lgt_tbl* t, int lv) {
    Line(Ind(lv) + "lgt_tbl " + Quote(t->name) + Cnt("lgt", t->lgts.n));
    for (int i = 0; i < t->lgts.n; ++i) Line(Ind(lv + 1) + "lgt " + Quote(t->lgts.a[i]->r.name));
}

void MtlTbl(const mtl_tbl* t, int lv) {
    Line(Ind(lv) + "mtl_tbl " + Quote(t->name) + Cnt("mtl", t->mtls.n));
    for (int i = 0; i < t->mtls.n; ++i) {
        const mtl* m = t->mtls.a[i];
        Line(Ind(lv + 1) + "mtl " + Quote(m->name) + Cnt("txt_map", m->txtMap.n) +
             Cnt("bmp_map", m->bmpMap.n) + Cnt("rfl_map", m->rflMap.n) +
             Cnt("trs_map", m->trsMap.n) + Cnt("env_map", m->envMap.n));
    }
}

void Prt(const prt* p, int lv);

void Lnk(const lnk* l, int lv) {
    Line(Ind(lv) + "lnk " + Quote(l->name) + Cnt("prt", l->prts.n));
    for (int i = 0; i < l->prts.n; ++i) Prt(l->prts.a[i], lv + 1);
}

void Srf(const srf* s, int lv) {
    Line(Ind(lv) + "srf " + Quote(s->name) + Cnt("pgn", s->pgns.n) + Cnt("prj", s->prjs.n));
    for (int i = 0; i < s->pgns.n; ++i) {
        const pgn* g = s->pgns.a[i];
        Line(Ind(lv + 1) + "pgn type=" + std::to_string(g->type) + " rows=" +
             std::to_string(g->rows) + " cols=" + std::to_string(g->cols));
    }
    for (int i = 0; i < s->prjs.n; ++i) Line(Ind(lv + 1) + "prj");
}

void Prt(const prt* p, int lv) {
    Line(Ind(lv) + "prt " + Quote(p->name) + Cnt("prt", p->prts.n) + Cnt("lnk", p->lnks.n) +
         Cnt("srf", p->srfs.n) + Cnt("crv", p->crvs.n) + Cnt("siz", p->sizs.n));
    for (int i = 0; i < p->prts.n; ++i) Prt(p->prts.a[i], lv + 1);
    for (int i = 0; i < p->lnks.n; ++i) Lnk(p->lnks.a[i], lv + 1);
    for (int i = 0; i < p->srfs.n; ++i) Srf(p->srfs.a[i], lv + 1);
    for (int i = 0; i < p->crvs.n; ++i) Line(Ind(lv + 1) + "crv " + Quote(p->crvs.a[i]->name));
    for (int i = 0; i < p->sizs.n; ++i) Line(Ind(lv + 1) + "siz " + Quote(p->sizs.a[i]->txt));
}

void Stg(const stg* s, int lv) {
    Line(Ind(lv) + "stg " + Quote(s->name) + Cnt("cam", s->cams.n) + Cnt("lgt_tbl", s->lgtTbls.n) +
         Cnt("mtl_tbl", s->mtlTbls.n) + Cnt("prt", s->prts.n) + Cnt("lnk", s->lnks.n));
    for (int i = 0; i < s->cams.n; ++i) Cam(s->cams.a[i], lv + 1);
    for (int i = 0; i < s->lgtTbls.n; ++i) LgtTbl(s->lgtTbls.a[i], lv + 1);
    for (int i = 0; i < s->mtlTbls.n; ++i) MtlTbl(s->mtlTbls.a[i], lv + 1);
    for (int i = 0; i < s->prts.n; ++i) Prt(s->prts.a[i], lv + 1);
    for (int i = 0; i < s->lnks.n; ++i) Lnk(s->lnks.a[i], lv + 1);
}

void Prd(const prd* d, int lv) {
    Line(Ind(lv) + "prd " + Quote(d->name) + Cnt("mtl_tbl", d->mtlTbls.n) + Cnt("prt", d->prts.n) +
         Cnt("lnk", d->lnks.n));
    for (int i = 0; i < d->mtlTbls.n; ++i) MtlTbl(d->mtlTbls.a[i], lv + 1);
    for (int i = 0; i < d->prts.n; ++i) Prt(d->prts.a[i], lv + 1);
    for (int i = 0; i < d->lnks.n; ++i) Lnk(d->lnks.a[i], lv + 1);
}
}  // namespace

// The four global tables first, as one line, then their objects in table order.
void DumpScene() {
    Line("scene" + Cnt("stg", StgTbl.n) + Cnt("prd", PrdTbl.n) + Cnt("cam", CamTbl.n) +
         Cnt("lgt_tbl", LgtTblTbl.n));
    for (int i = 0; i < StgTbl.n; ++i) Stg(StgTbl.a[i], 1);
    for (int i = 0; i < PrdTbl.n; ++i) Prd(PrdTbl.a[i], 1);
    for (int i = 0; i < CamTbl.n; ++i) Cam(CamTbl.a[i], 1);
    for (int i = 0; i < LgtTblTbl.n; ++i) LgtTbl(LgtTblTbl.a[i], 1);
}

}  // namespace jrn
