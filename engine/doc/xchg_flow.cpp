// The document's import and export actions, without their dialogs.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "core/unit.h"
#include "platform/platform.h"
#include "curves/crv.h"
#include "doc/doc.h"
#include "doc/filnam.h"
#include "formats/dxf.h"
#include "formats/stl.h"
#include "formats/vrml.h"
#include "display/drw.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "doc/xchg_flow.h"
#include "scene/georef.h"
#include "scene/scene.h"
#include "formats/gld.h"
#include "formats/xchg.h"
#include "terrain/trn.h"

namespace {

constexpr int GrdType = 5;

// GLD holds one square block of one spacing: when that is not the whole grid, the user hears
// which rows and columns are written and which are left out, before the file is written.
void GldBlkNote(const GldBlk& b) {
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    if (b.r0 == 0 && b.c0 == 0 && b.r1 == R && b.c1 == C) return;
    char t[MsgLinLen * 4];
    std::snprintf(t, sizeof t,
                  MsgTx("GLDには格子 %d 行 x %d 列のうち 行 %d-%d, 列 %d-%d を書き出します。\n"
                        "書き出さない部分: 南 %d 行, 北 %d 行, 西 %d 列, 東 %d 列",
                        "GLD holds rows %3$d-%4$d and columns %5$d-%6$d of the grid's %1$d rows x %2$d columns.\n"
                        "Left out: %7$d rows south, %8$d north, %9$d columns west, %10$d east"),
                  R, C, b.r0 + 1, b.r1, b.c0 + 1, b.c1, b.r0, R - b.r1, b.c0, C - b.c1);
    DspInfMsg(MsgOwnInf, t);
}

// One line in the message area after an export: the file, what it holds, and the terrain's
// extent in the export's unit.
void ExpNote(int fmt, const std::string& path) {
    static const char* const name[] = {"DXF", "VRML", "STL", "GLD"};
    const LenUnit u = MmPer(OutUnit) > 0 ? OutUnit : LenUnit::M;
    const double k = MmPer(u);
    std::string what;
    char t[MsgLinLen * 2];
    if (TrnSrf && TrnGrd) {
        std::snprintf(t, sizeof t, MsgTx("地形 %d x %d 点", "terrain %d x %d posts"), TrnGrd->cols, TrnGrd->rows);
        what = t;
    }
    if (fmt == FmtDxf) {
        const int n = CrvPart ? CrvPart->crvs.n : 0;
        std::snprintf(t, sizeof t, MsgTx("等高線 %d 本", "%d contours"), n);
        what += (what.empty() ? "" : ", ") + std::string(t);
    }
    std::string ext;
    if (TrnSrf && TrnGrd && TrnSrf->nv > 0) {
        const BBox& b = TrnSrf->box;
        std::snprintf(t, sizeof t, MsgTx(", 範囲 %.6g..%.6g x %.6g..%.6g %s", ", extent %.6g..%.6g x %.6g..%.6g %s"),
                      b.min[0] / k, b.max[0] / k, b.min[1] / k, b.max[1] / k, UnitName(u));
        ext = t;
    }
    const int f = fmt >= 0 && fmt < FmtNum ? fmt : 0;
    std::snprintf(t, sizeof t, MsgTx("%s書き出し: %s (%s%s)", "%s export: %s (%s%s)"), name[f], path.c_str(),
                  what.c_str(), ext.c_str());
    PutMsg(t);
}

}  // namespace

std::string ImpLine(const char* kindJa, const char* kindEn, const std::string& path, const std::string& what,
                    LenUnit u) {
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    const auto add = [&lo, &hi](double x, double y) {
        lo[0] = std::fmin(lo[0], x), lo[1] = std::fmin(lo[1], y);
        hi[0] = std::fmax(hi[0], x), hi[1] = std::fmax(hi[1], y);
    };
    if (CrvPart)
        for (int i = 0; i < CrvPart->crvs.n; ++i) {
            const crv* c = CrvPart->crvs.a[i];
            for (int j = 0; j < c->n; ++j) add(c->p[3 * j], c->p[3 * j + 1]);
        }
    if (TrnSrf && TrnSrf->nv > 0 && TrnSrf->v)
        for (long long i = 0; i < TrnSrf->nv; ++i) add(TrnSrf->v[3 * i], TrnSrf->v[3 * i + 1]);
    char t[MsgLinLen * 4];
    std::string ext;
    if (lo[0] <= hi[0]) {
        const double k = MmPer(u) > 0 ? MmPer(u) : 1000.0;
        const double ox = OrgMmX(), oy = OrgMmY();
        std::snprintf(t, sizeof t, MsgTx(", 範囲 %.7g..%.7g x %.7g..%.7g %s", ", extent %.7g..%.7g x %.7g..%.7g %s"),
                      (lo[0] + ox) / k, (hi[0] + ox) / k, (lo[1] + oy) / k, (hi[1] + oy) / k,
                      UnitName(MmPer(u) > 0 ? u : LenUnit::M));
        ext = t;
    }
    // The file's name alone: the line must hold the extent within the message area's width.
    std::snprintf(t, sizeof t, MsgTx("%s読み込み: %s (%s%s)", "%s import: %s (%s%s)"), MsgTx(kindJa, kindEn),
                  FilBase(path.c_str()).c_str(), what.c_str(), ext.c_str());
    return t;
}

void ImpNote(const char* kindJa, const char* kindEn, const std::string& path, const std::string& what, LenUnit u,
             const std::string& more) {
    const std::string l = ImpLine(kindJa, kindEn, path, what, u);
    PutMsg((more.empty() ? l : l + "\n" + more).c_str());
}

bool ChkTrnExp() {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    // A terrain of one row or one column exists: VRML and STL write its points without faces.
    bool ok = s && g && g->type == GrdType && g->rows >= 1 && g->cols >= 1 && s->v &&
              s->nv >= static_cast<int>(g->rows) * g->cols && g->n >= static_cast<int>(g->rows) * g->cols &&
              g->vtx_id;
    for (int k = 0; ok && k < g->n; ++k)
        if (g->vtx_id[k] < 0 || g->vtx_id[k] >= s->nv) ok = false;
    if (!ok) DspWrnMsg(MsgOwnWrn, "地形が作成されていません。");
    return ok;
}

// A size of the unit question in metres, four significant digits, so that the box stays short.
static std::string Meters(double mm) {
    char b[64];
    std::snprintf(b, sizeof b, "%.4g m", mm / 1000.0);
    return b;
}

bool DxfUnitOdd(const DxfRdSum& s, LenUnit* better) {
    if (!s.ext || !(s.fct > 0)) return false;
    const double w = std::fmax(s.x1 - s.x0, s.y1 - s.y0);
    auto fits = [](double mm) { return mm >= DxfSizeMin && mm <= DxfSizeMax; };
    if (!(w > 0) || fits(w)) return false;
    // Metres first, the unit of most survey drawings; then the others, nearest first.
    static const LenUnit order[] = {LenUnit::M, LenUnit::Cm, LenUnit::Km, LenUnit::Mm};
    LenUnit best = LenUnit::M;
    double bestDist = HUGE_VAL;
    for (LenUnit u : order) {
        const double f = MmPer(u);
        const double d = u == LenUnit::M ? 0 : std::fabs(std::log10(f / s.fct));
        if (fits(w / s.fct * f) && d < bestDist) {
            best = u;
            bestDist = d;
        }
    }
    if (bestDist == HUGE_VAL) return false;
    *better = best;
    return true;
}

int ImpDxf(const std::string& path) {
    int r = -1;
    EngGuard([&] {
        std::string p = ImpPath(path);
        DxfRdSum s;
        auto read = [&](bool hdr) {
            DocFresh("");
            return RdDxfCrv(p, &s, hdr);
        };
        int rc = read(true);
        LenUnit u;
        // A drawing read in the wrong unit is asked about once; Yes reads it again in the
        // unit that gives it a survey's size, and that unit is kept for the next import.
        if (rc == 0 && DxfUnitOdd(s, &u)) {
            const double w = s.x1 - s.x0, h = s.y1 - s.y0;
            char t[MsgLinLen * 4];
            std::snprintf(t, sizeof t,
                          "%s: 図面の大きさは %s x %s です (単位 %s で読み込み)。\n単位 %s で読み込み直しますか？",
                          FilBase(p.c_str()).c_str(), Meters(w).c_str(), Meters(h).c_str(),
                          DxfUnitTx(s).c_str(), UnitName(u));
            if (DspCnfMsg(MsgOwnCnf, t) == plt::AnsYes) {
                InUnit = u;
                rc = read(false);
            }
        }
        if (rc == 0) {
            // The title names the drawing; the document itself has no file yet, so a save asks
            // for a scene name instead of writing over the drawing.
            DocSetTitle("", p);
            r = 0;
        }
        return 0;
    });
    return r;
}

int ExpXchg(int fmt, const std::string& path, bool firstFilter) {
    int r = -1;
    EngGuard([&] {
        std::string p = ExpPath(fmt, path, firstFilter);
        double f = OutUnitFct(OutUnit);
        if (f <= 0) f = 1.0;
        // Every format has its case; another number writes nothing.
        switch (static_cast<XchgFmt>(fmt)) {
        case FmtDxf:
            r = WrDxfFct(p, f);
            break;
        case FmtVrml:
            if (ChkTrnExp()) {
                const VrmlView v = {{BgCol[0], BgCol[1], BgCol[2]}, ViewWin[0].v.ScrWid, ViewWin[0].v.ScrDst};
                r = WrVrmlFct(p, f, v);
            }
            break;
        case FmtStl:
            if (ChkTrnExp()) r = WrStlFct(p, f);
            break;
        case FmtGld: {
            GldBlk b;
            if (!ChkTrnExp()) break;
            if (TrnGrd->rows < 2 || TrnGrd->cols < 2) {
                DspWrnMsg(MsgOwnWrn, "地形が1行または1列しかないため、GLDには書き出せません。");
                break;
            }
            if (!GldBlock(&b)) {
                DspWrnMsg(MsgOwnWrn, "地形の格子が小さすぎます。");
                break;
            }
            GldBlkNote(b);
            GldFixDst = 1;
            // A document with a CRS has its real corners; the others the default place.
            GldCrnRec c = GldCrnGiven ? GldCrn : GldDefCrn(b);
            if (!GldCrnGiven) GisGldCrn(b, &c);
            GldCrnGiven = 0;
            GldCrn = c;
            r = WrGld(p, b, c);
            break;
        }
        }
        if (r == 0) ExpNote(fmt, p);
        return 0;
    });
    return r;
}

int ImpOgr(const OgrImpPrm& p, OgrImpRes* res, const OgrClip* clip) {
    OgrImpRes r;
    OgrCrvs rd;
    int rc = OgrRdCrv(p, &rd, &r, clip);
    if (rc == 0) {
        DocFresh(p.path);
        rc = OgrMkCrv(rd, &r);
    }
    if (rc == 0) {
        GisRef.known = true;
        GisRef.ox = r.ox;
        GisRef.oy = r.oy;
        GisRef.wkt = rd.wkt;
        IntrCmd(CatDsp, CmdFitView);
        char w[64];
        std::snprintf(w, sizeof w, MsgTx("等高線 %d 本", "%d contours"), r.curves);
        ImpNote("GIS", "GIS", p.path, w, LenUnit::M);
    }
    if (res) *res = r;
    return rc;
}

int RdStlSum(const std::string& path, StlRdSum* sum) {
    StlRdSum local;
    StlRdSum& s = sum ? *sum : local;
    const StlOrg org{GisRef.known, GisRef.ox, GisRef.oy};
    if (StlRead(path, &s, &org) != 0) return -1;
    if (s.org) {
        GisRef.known = true;
        GisRef.ox = s.ox;
        GisRef.oy = s.oy;
        GisRef.wkt.clear();
    }
    UdtPrmMtl();
    UdtScnBox();
    // The region dialog starts from what is in the scene, unless a region was set.
    if (!IsEmptyBox(SceneBox)) RgnFromExt(SceneBox.min[0], SceneBox.min[1], SceneBox.max[0], SceneBox.max[1], true);
    IntrCmd(CatDsp, CmdRdrwAll);
    char msg[MsgLinLen * 2];
    std::snprintf(msg, sizeof msg, "STL読み込み: ソリッド %d 個, 面 %d 個\n読み飛ばした面 %d 個", s.solids,
                  s.facets, s.skipped);
    const std::string told = msg;
    std::snprintf(msg, sizeof msg, MsgTx("面 %d 個", "%d facets"), s.facets);
    ImpNote("STL", "STL", path, msg, MmPer(InUnit) > 0 ? InUnit : LenUnit::M, told);
    return 0;
}

int RdStl(const char* path) { return RdStlSum(path ? path : "", nullptr); }

std::string DxfUnitTx(const DxfRdSum& s) {
    for (LenUnit u : {LenUnit::Mm, LenUnit::Cm, LenUnit::M, LenUnit::Km})
        if (MmPer(u) == s.fct) return UnitName(u);
    char b[32];
    std::snprintf(b, sizeof b, "%.6g mm", s.fct);
    return b;
}

int RdDxf(const std::string& path, const DxfRdPrm& prm, DxfRdSum* sum) {
    DxfRdSum local;
    DxfRdSum& s = sum ? *sum : local;
    DxfRdPrm p = prm;
    if (!p.part) p.part = CrvPart;
    if (DxfRead(path, p, &s) != 0) return -1;
    // A drawing in national-grid coordinates: the document is held relative to its origin.
    const bool picked = s.org && !p.known;
    if (picked) {
        GisRef.known = true;
        GisRef.ox = s.ox;
        GisRef.oy = s.oy;
        GisRef.wkt.clear();
    }
    // Colour by height, boxes up to the scene, then the whole drawing in view.
    if (CrvPart)
        for (int i = 0; i < CrvPart->crvs.n; ++i) {
            crv* c = CrvPart->crvs.a[i];
            if (c->n > 0) SetCrvCol(c, c->p[2]);
        }
    UdtCrvBox();
    IntrCmd(CatDsp, CmdFitView);
    char msg[MsgLinLen * 8];
    std::snprintf(msg, sizeof msg,
                  "DXF読み込み: 曲線 %d 本 (点 %d)\n文字 %d 個\n読み飛ばした図形 %d 個 (3Dでないポリライン %d)",
                  s.crv, s.pnt, s.txt, s.skip + s.skip2d, s.skip2d);
    // What the user could not see otherwise: polylines put at their elevation, sections passed
    // over, a drawing cut short. Only when there is something to say, so the usual summary stays.
    std::string more;
    if (s.pl2d > 0) more += "\n2Dポリライン " + std::to_string(s.pl2d) + " 本 (高さは標高から)";
    if (s.secSkip > 0)
        more += "\n読み飛ばしたセクション " + std::to_string(s.secSkip) + " 個: " + s.secNames;
    if (s.early) more += "\nファイルが途中で終わっています (EOFがない)";
    if (DxfUnitFct(s.insUnits) > 0 && p.insUnits) more += "\n単位 " + DxfUnitTx(s) + " (図面の $INSUNITS)";
    if (picked) {
        char o[96];
        std::snprintf(o, sizeof o, "\n原点 %.3f %.3f m", s.ox, s.oy);
        more += o;
    }
    if (!more.empty()) std::snprintf(msg + std::strlen(msg), sizeof msg - std::strlen(msg), "%s", more.c_str());
    // The log's line first (the file, the curves and the extent in the unit read), then the details.
    const std::string told = msg;
    LenUnit u = LenUnit::M;
    for (LenUnit k : {LenUnit::Mm, LenUnit::Cm, LenUnit::M, LenUnit::Km})
        if (MmPer(k) == s.fct) u = k;
    std::snprintf(msg, sizeof msg, MsgTx("曲線 %d 本", "%d curves"), s.crv);
    ImpNote("DXF", "DXF", path, msg, u, told);
    return 0;
}

namespace {
double DxfInFct = 1.0;  // factor of the last import: an unknown unit keeps it
}

int RdDxfCrv(const std::string& path, DxfRdSum* sum, bool hdrUnit) {
    double f = InUnitFct(InUnit);
    if (f > 0) DxfInFct = f;
    DxfRdPrm prm;
    prm.fct = DxfInFct;
    prm.insUnits = hdrUnit;
    prm.org = true;
    prm.known = GisRef.known;
    prm.ox = GisRef.ox;
    prm.oy = GisRef.oy;
    DxfRdSum local;
    DxfRdSum& s = sum ? *sum : local;
    if (RdDxf(path, prm, &s) != 0) return -1;
    // The region starts on the drawing: the user only picks the interval.
    if (s.ext) {
        const double ox = s.org ? s.ox * 1000.0 : 0, oy = s.org ? s.oy * 1000.0 : 0;
        TrnRgn[0] = static_cast<float>(s.x0 - ox);
        TrnRgn[1] = static_cast<float>(s.y0 - oy);
        TrnRgn[2] = 0;
        TrnRgn[3] = static_cast<float>(s.x1 - ox);
        TrnRgn[4] = static_cast<float>(s.y1 - oy);
        TrnRgn[5] = 0;
    }
    return 0;
}
