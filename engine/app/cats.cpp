// The category table: one registration line per category, the module's interaction and
// execution procedures (null: the category has none).
#include "app/cats.h"
#include "app/sys.h"
#include "core/cmd.h"
#include "cmd/viewcmd.h"
#include "display/dsp_cmd.h"
#include "doc/filecmd.h"
#include "cmd/trn_cmds.h"

void RegCats() {
    RegCat(CatDrw2D, IntrDrw2D, nullptr);
    RegCat(CatMdl, IntrMdl, DstrMdl);
    RegCat(CatMtl, IntrMtl, nullptr);
    RegCat(CatLgt, IntrLgt, DstrLgt);
    RegCat(CatView, IntrView, DstrView);
    RegCat(CatAnm, IntrAnm, nullptr);
    RegCat(CatRndr, IntrRndr, DstrRndr);
    RegCat(CatDsp, IntrDsp, DstrDsp);
    RegCat(CatFile, IntrFile, DstrFile);
    RegCat(CatWrk, IntrWrk, nullptr);
    RegCat(CatSys, IntrSys, DstrSys);
    RegModes();
}
