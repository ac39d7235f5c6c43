// The document's import and export actions, without their dialogs.
#include <string>

#include "core/alc.h"
#include "core/msg.h"
#include "file/doc.h"
#include "file/dxf.h"
#include "file/stl.h"
#include "file/vrml.h"
#include "file/xchg.h"
#include "scene/scene.h"
#include "terrain/gld.h"

int InUnit = InUnitDef;
int OutUnit = OutUnitDef;

namespace {

constexpr double InFct[UnitNum] = {1000000.0, 1000.0, 10.0, 1.0};
constexpr double OutFct[UnitNum] = {0.000001, 0.001, 0.1, 1.0};
constexpr const char* Ext[FmtNum] = {"dxf", "wrl", "stl", "gld"};
constexpr int GrdType = 5;

// The extension of the last path component ("" when it has none).
std::string ExtOf(const std::string& path) {
    size_t s = path.find_last_of("/\\");
    size_t d = path.rfind('.');
    if (d == std::string::npos || (s != std::string::npos && d < s)) return std::string();
    return path.substr(d + 1);
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

double InUnitFct(int unit) { return unit >= 0 && unit < UnitNum ? InFct[unit] : -1; }
double OutUnitFct(int unit) { return unit >= 0 && unit < UnitNum ? OutFct[unit] : -1; }
const char* FmtExt(int fmt) { return fmt >= 0 && fmt < FmtNum ? Ext[fmt] : ""; }

std::string ExpPath(int fmt, const std::string& path, bool firstFilter) {
    std::string e = ExtOf(path);
    std::string want = FmtExt(fmt);
    if (firstFilter && (e.empty() || (e != want && e != Upper(want)))) return path + "." + want;
    return path;
}

std::string ImpPath(const std::string& path) {
    return ExtOf(path).empty() ? path + ".dxf" : path;
}

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
