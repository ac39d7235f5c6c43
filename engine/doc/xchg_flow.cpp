// The document's import and export actions, without their dialogs.
#include <string>

#include "core/alc.h"
#include "core/msg.h"
#include "doc/doc.h"
#include "formats/dxf.h"
#include "formats/stl.h"
#include "formats/vrml.h"
#include "doc/xchg_flow.h"
#include "scene/scene.h"
#include "formats/gld.h"

namespace {

constexpr int GrdType = 5;

}  // namespace

bool ChkTrnExp() {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    bool ok = s && g && g->type == GrdType && g->rows >= 2 && g->cols >= 2 && s->v &&
              s->nv >= static_cast<int>(g->rows) * g->cols && g->n >= static_cast<int>(g->rows) * g->cols &&
              g->vtx_id;
    for (int k = 0; ok && k < g->n; ++k)
        if (g->vtx_id[k] < 0 || g->vtx_id[k] >= s->nv) ok = false;
    if (!ok) DspWrnMsg(MsgOwnWrn, "地形が作成されていません。");
    return ok;
}

int ImpDxf(const std::string& path) {
    int r = -1;
    EngGuard([&] {
        DocRstScn();
        IniScn();
        IniTrnScn();
        Doc.title = "無題";
        Doc.path.clear();
        DocSetMod(false);
        std::string p = ImpPath(path);
        if (RdDxfCrv(p) == 0) {
            // The title names the drawing; the document itself has no file yet, so a save asks
            // for a scene name instead of writing over the drawing.
            Doc.title = p;
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
        switch (fmt) {
        case FmtDxf:
            r = WrDxfFct(p, f);
            break;
        case FmtVrml:
            if (ChkTrnExp()) r = WrVrmlFct(p, f);
            break;
        case FmtStl:
            if (ChkTrnExp()) r = WrStlFct(p, f);
            break;
        case FmtGld: {
            GldBlk b;
            if (!ChkTrnExp()) break;
            if (!GldBlock(&b)) {
                DspWrnMsg(MsgOwnWrn, "地形の格子が小さすぎます。");
                break;
            }
            GldFixDst = 1;
            GldCrnRec c = GldCrnGiven ? GldCrn : GldDefCrn(b);
            GldCrnGiven = 0;
            GldCrn = c;
            r = WrGld(p, b, c);
            break;
        }
        default:
            break;
        }
        return 0;
    });
    return r;
}
