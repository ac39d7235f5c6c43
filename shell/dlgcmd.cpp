// Commands that open a parameter dialog and then run their engine command.
#include "cmdroute.h"

bool DlgCmd(QWidget* /*frame*/, int /*id*/) { return false; }

void SclDstDlg(QWidget* /*frame*/) {}
