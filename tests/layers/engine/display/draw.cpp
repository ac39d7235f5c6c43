#include "display/draw.h"

void Show() {}
