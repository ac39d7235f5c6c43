// A scene procedure that calls up into the display through a declaration in the core.
#include "core/base.h"

namespace {
void Local() {}
}  // namespace

void Touch() {
    Local();
    Show();
}
