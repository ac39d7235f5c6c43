#pragma once
#include "core/base.h"
#include "scene/obj.h"
