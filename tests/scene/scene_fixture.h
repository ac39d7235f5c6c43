// Scene tests run on the engine as the application starts it: start-up scene and terrain scene.
#pragma once
#include "support/engine_fixture.h"
#include "scene/scene.h"

class SceneTest : public EngineTest {};
