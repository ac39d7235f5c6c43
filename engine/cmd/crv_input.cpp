// Point and stroke input: one vertex per click, or a vertex every few pixels of a drag.
#include <cmath>
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv_int.h"
#include "display/drw.h"
#include "display/view.h"
#include "curves/crv_cmd.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

namespace {
float FstPnt[3], PrvPnt[3];
uint8_t LftStt = 0;  // the pointer has left the aperture of the first point

void BgnCrv() {
    CrntCrv = NewCrv();
    LftStt = 0;
}

void EndCrv() {
    UdtCrvBox();
    ShowDrw();
    if (CrntCrv) RecUndo(UndoNewCrv, 1, &CrntCrv);
    Redraw();
}

void InpPnt() {
    if (!CrntCrv) BgnCrv();
    if (!CrntCrv) return;
    double p[3];
    PtrToMdl(PtrPos[0], PtrPos[1], p);
    p[2] = 0;
    const double r = PixToMdl(PickAp);
    bool close = false;
    if (CrntCrv->n >= 1) {
        const double d = std::sqrt((p[0] - FstPnt[0]) * (p[0] - FstPnt[0]) +
                                   (p[1] - FstPnt[1]) * (p[1] - FstPnt[1]) +
                                   (p[2] - FstPnt[2]) * (p[2] - FstPnt[2]));
        if (d >= r) {
            LftStt = 1;
        } else if (LftStt) {
            for (int k = 0; k < 3; ++k) p[k] = FstPnt[k];
            close = true;
        }
    }
    AddPnt(CrntCrv, static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
    if (CrntCrv->n > 1) {
        const double a[3] = {PrvPnt[0], PrvPnt[1], PrvPnt[2]};
        DrwSeg(a, p, 0.0f, 1.0f, 159.0f / 255.0f);
    } else {
        DrwSqr(p, r, 1, 1, 0);
        for (int k = 0; k < 3; ++k) FstPnt[k] = static_cast<float>(p[k]);
    }
    for (int k = 0; k < 3; ++k) PrvPnt[k] = static_cast<float>(p[k]);
    if (close) {
        EndCrv();
        BgnCrv();
        BtnHeld = 0;  // the rest of a stroke drag adds nothing
    }
}

void StrtInp(int mode) {
    RecUndo(UndoDiscard, 0, nullptr);
    SetMode(mode);
    SetCrs(CrsCross);
    BgnCrv();
}
}  // namespace

void RstInpState() {
    LftStt = 0;
    for (int k = 0; k < 3; ++k) FstPnt[k] = PrvPnt[k] = 0;
}

int CrvInpCmd(int code) {
    switch (code) {
    case CmdCrvClk: StrtInp(50); return 0;
    case CmdCrvStk: StrtInp(51); return 0;
    case CmdCrvBgn: BgnCrv(); return 0;
    case CmdCrvPnt: InpPnt(); return 0;
    case CmdCrvEnd: EndCrv(); return 0;
    default: return 1;
    }
}
