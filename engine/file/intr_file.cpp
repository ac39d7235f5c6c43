// Category 14: file commands.
#include "core/cmd.h"

int IntrFile(int code) {
    CmdNotFound("IntrFile", code);
    return 0;
}

int DstrFile(int code) {
    CmdNotFound("DstrFile", code);
    return 0;
}
