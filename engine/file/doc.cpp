// The document's state and the steps shared by its file flows.
#include "file/doc.h"

#include "core/state.h"
#include "curves/crv.h"
#include "scene/scene.h"

DocState Doc{std::string(), std::string("無題")};

void DocRstScn() {
    ClrUndo();
    SetCrvPart(nullptr);
    ClrScn();
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    RstDocPrm();
}

void DocBindTrn() {
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    if (PrdTbl.n > 0) {
        TrnPrd = PrdTbl.a[0];
        if (TrnPrd->prts.n > 0) {
            TrnPrt = TrnPrd->prts.a[0];
            if (TrnPrt->srfs.n > 0) {
                srf* s = TrnPrt->srfs.a[0];
                if (s->name && std::string(s->name) == "地形") {
                    TrnSrf = s;
                    TrnGrd = s->pgns.n > 0 ? s->pgns.a[0] : nullptr;
                }
            }
        }
    }
    SetCrvPart(TrnPrt);
}

void DocSetMod(bool modified) { ModFlg = modified ? 1 : 0; }
