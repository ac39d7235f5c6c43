// PLACEHOLDER until the system module lands.
#include "core/cmd.h"
int IntrSys(int code) { CmdNotFound("IntrSys", code); return 0; }
int DstrSys(int code) { CmdNotFound("DstrSys", code); return 0; }
