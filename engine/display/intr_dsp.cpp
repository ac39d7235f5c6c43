// Categories 9 and 13: view manipulation and display commands.
#include "core/cmd.h"

int IntrDsp(int code) {
    switch (code) {
    default:
        CmdNotFound("IntrDsp", code);
        return 0;
    }
}

int DstrDsp(int code) {
    switch (code) {
    default:
        CmdNotFound("DstrDsp", code);
        return 0;
    }
}

int IntrView(int code) {
    switch (code) {
    default:
        CmdNotFound("IntrView", code);
        return 0;
    }
}

int DstrView(int code) {
    CmdNotFound("DstrView", code);
    return 0;
}
