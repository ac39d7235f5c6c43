// The shell's texts are written in Japanese, the interface's first language; Tx::tr looks each one
// up in the catalogue of the language chosen at start-up (lang.h). One context for the whole shell,
// so that a term has one translation everywhere.
#pragma once
#include <QCoreApplication>
#include <QString>

namespace shl {

struct Tx {
    Q_DECLARE_TR_FUNCTIONS(Altimetra)
};

// A text of a table marked with QT_TRANSLATE_NOOP("Altimetra", ...); null and "" stay "".
inline QString TrTxt(const char* s) { return s && *s ? Tx::tr(s) : QString::fromUtf8(s ? s : ""); }

}  // namespace shl
