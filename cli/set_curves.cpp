// Journal parameters of the curve module.
#include "curves/crv.h"
#include "registry.h"

namespace jrn {

bool SetUndoOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoOn, err); }
bool SetUndoCutOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoCutOn, err); }

}  // namespace jrn
