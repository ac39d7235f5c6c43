// Journal verbs of the GIS interchange.
#pragma once
#include <string>
#include "lexer.h"

namespace jrn {
// import ogr PATH [LAYER [FIELD]], export gtiff|asc|xyz|gpkg|shp PATH. True when w is one of
// them; *err then holds a complaint about the line (empty when it ran).
bool GisVerb(const Words& w, std::string* err);
}  // namespace jrn
