// Commands that open a parameter dialog and then run their engine command.
#include "cmdroute.h"
#include "dialogs.h"
#include "dlgids.h"
#include "dlgint.h"

bool DlgCmd(QWidget* frame, int id) {
    using namespace shl;
    using namespace shl::dlg;
    switch (id) {
    case MnuPrf: DlgPrf(frame); return true;
    case MnuDrwArea: DlgDrwArea(frame); return true;
    case MnuCrvScl: DlgCrvScl(frame); return true;
    case MnuCrvRot: DlgCrvRot(frame); return true;
    case MnuCrvHgt: DlgCrvHgt(frame); return true;
    case MnuRgn: DlgRgn(frame); return true;
    case MnuFltr: DlgFltr(frame); return true;
    case MnuVtxHgt: DlgVtxHgt(frame); return true;
    case MnuColor: DlgTrnColor(frame); return true;
    case MnuLight: DlgLgt(frame); return true;
    case MnuSlp: DlgSlp(frame); return true;
    case MnuAbout: ShowAbout(frame); return true;
    default: return false;
    }
}

void SclDstDlg(QWidget* frame) { shl::DlgSclDst(frame); }
