// Modules of the general engine that no command of this application reaches: only their frames.
#include "core/cmd.h"

namespace {
int Frame(const char* name, int code, int lo, int hi) {
    // Every code is a gap here: codes inside or outside the range are reported alike.
    (void)lo; (void)hi;
    CmdNotFound(name, code);
    return 0;
}
}  // namespace

int IntrMtl(int code) { return Frame("IntrMtl", code, 107049, 107419); }
int IntrLgt(int code) { return Frame("IntrLgt", code, 108021, 108132); }
int IntrAnm(int code) { return Frame("IntrAnm", code, 109001, 109022); }
int IntrRndr(int code) { return Frame("IntrRndr", code, 114000, 114202); }
int IntrWrk(int code) { return Frame("IntrWrk", code, 112001, 112032); }
int DstrLgt(int code) { return Frame("DstrLgt", code, 0, -1); }
int DstrRndr(int code) { return Frame("DstrRndr", code, 214000, 214003); }
