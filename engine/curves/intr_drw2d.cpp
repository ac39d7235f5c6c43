// Category 1: 2D contour curve commands.
#include "core/cmd.h"

int IntrDrw2D(int code) {
    switch (code) {
    default:
        CmdNotFound("IntrDrw2D", code);
        return 0;
    }
}
