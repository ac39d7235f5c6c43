// Journal parameters of the curve module, with the ranges their dialogs accept.
#include "curves/crv.h"
#include "registry.h"
#include "cmd/undo.h"

namespace jrn {

bool SetCrvHgt(const Words& v, std::string* err) { return SetFloat(v, -1e12, 1e12, &CrvHgt, err); }
bool SetCrvScl(const Words& v, std::string* err) { return SetFloat(v, 1e-11, 1e11, &CrvScl, err); }
bool SetCrvRot(const Words& v, std::string* err) { return SetFloat(v, -1e9, 1e9, &CrvRot, err); }
bool SetHgtRng(const Words& v, std::string* err) { return SetFloat(v, 1e-10, 1e11, &HgtRng, err); }
bool SetUndoOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoOn, err); }
bool SetUndoCutOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoCutOn, err); }
bool SetBoxUpdOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &BoxUpdOn, err); }

}  // namespace jrn
