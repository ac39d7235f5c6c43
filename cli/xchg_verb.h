// Journal verbs of interchange (set_file.cpp).
#pragma once
#include <string>
#include "lexer.h"

namespace jrn {
// "import dxf PATH", "export dxf|vrml|stl|gld PATH". 0: not an interchange verb; 1: run;
// -1: malformed (*err says why).
int XchgVerb(const Words& w, std::string* err);
}  // namespace jrn
