// Dumps of the curve module.
#include "curves/crv.h"
#include "registry.h"
#include "cmd/undo.h"

namespace jrn {

// The state line, then the history, newest step first: its kind, the command that made it and
// whether Undo (done) or Redo (undone) reaches it.
void DumpUndo() {
    Line("undo state=" + std::to_string(UndoState) + " kind=" + std::to_string(UndoKind));
    for (int i = 0; i < UndoSteps(); ++i) {
        const UndoStepInfo s = UndoStepAt(i);
        Line("  step kind=" + std::to_string(s.kind) + " cmd=" + std::to_string(s.cmd) +
             (s.redo ? " undone" : " done"));
    }
}

namespace {
int CrvPos(const crv* c) {
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; ++i)
        if (CrvPart->crvs.a[i] == c) return i;
    return -1;
}
}  // namespace

void DumpCurves() {
    const int n = CrvPart ? CrvPart->crvs.n : 0;
    Line("curves " + std::to_string(n));
    for (int i = 0; i < n; ++i) {
        const crv* c = CrvPart->crvs.a[i];
        Line("curve " + std::to_string(i) + " " + Quote(c->name) + " vis=" +
             std::to_string(c->vis) + " sel=" + (IsCrvSlct(c) ? "1" : "0") + " n=" +
             std::to_string(c->n) + " rgb=" + F4(c->col[0]) + " " + F4(c->col[1]) + " " +
             F4(c->col[2]));
        for (int j = 0; j < c->n; ++j)
            Line("  " + F3(c->p[3 * j]) + " " + F3(c->p[3 * j + 1]) + " " + F3(c->p[3 * j + 2]));
    }
}

void DumpSelection() {
    Line("selection " + std::to_string(NumCrvSlct));
    if (NumCrvSlct == 0) return;
    std::string s;
    for (int i = 0; i < NumCrvSlct; ++i)
        s += (i ? " " : "") + std::to_string(CrvPos(CrvSlct[i]));
    Line(s);
}

// Edit > Undo and Edit > Redo are menu items of the shell, not engine commands: journals reach
// them with the verbs "undo" and "redo".
bool CrvVerb(const Words& w) {
    if (w.size() != 1 || (w[0] != "undo" && w[0] != "redo")) return false;
    if (w[0] == "undo") Undo();
    else Redo();
    return true;
}

}  // namespace jrn
