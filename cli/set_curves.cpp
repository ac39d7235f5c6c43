// Journal parameters of the curve module.
#include "curves/crv.h"
#include "registry.h"

namespace jrn {

bool SetUndoOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoOn, err); }
bool SetUndoCutOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &UndoCutOn, err); }
bool SetBoxUpdOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &BoxUpdOn, err); }
bool SetCrvHgt(const Words& v, std::string* err) { return SetFloat(v, -1e12, 1e12, &CrvHgt, err); }
bool SetCrvScl(const Words& v, std::string* err) { return SetFloat(v, 1e-11, 1e11, &CrvScl, err); }
bool SetCrvRot(const Words& v, std::string* err) { return SetFloat(v, -1e6, 1e6, &CrvRot, err); }
bool SetHgtRng(const Words& v, std::string* err) { return SetFloat(v, 0.001, 1e9, &HgtRng, err); }

}  // namespace jrn
