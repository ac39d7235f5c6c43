// Compiled against the scene layer's include root, this include of the display must not build.
#include "display/view.h"
