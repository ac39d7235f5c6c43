// Document verbs of journals (new, open PATH, save [PATH]) and the document dump.
#pragma once
#include <string>
#include "lexer.h"

namespace jrn {
// Runs w when it is a document verb (true); *err is set for a malformed line.
bool DocVerb(const Words& w, std::string* err);
void DumpDocument();
}  // namespace jrn
