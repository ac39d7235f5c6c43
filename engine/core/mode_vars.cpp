// PLACEHOLDER until the mode module lands.
#include "core/mode.h"
int LastKey = 0;
