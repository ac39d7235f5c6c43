// A scene header that reaches up into the display: the layer rules refuse it.
#pragma once
#include "core/base.h"
#include "display/draw.h"
