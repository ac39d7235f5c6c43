// Category 4: modelling commands (the terrain).
#include "core/cmd.h"

int IntrMdl(int code) {
    switch (code) {
    default:
        CmdNotFound("IntrMdl", code);
        return 0;
    }
}

int DstrMdl(int code) {
    switch (code) {
    default:
        CmdNotFound("DstrMdl", code);
        return 0;
    }
}
