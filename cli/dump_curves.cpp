// Dumps of the curve module.
#include "curves/crv.h"
#include "registry.h"

namespace jrn {

void DumpUndo() {
    Line("undo state=" + std::to_string(UndoState) + " kind=" + std::to_string(UndoKind));
}

}  // namespace jrn
