// The document's place in the real world.
#include "scene/georef.h"

GisRefRec GisRef;
