// What the status bar's first pane says about the interactive mode: the command that started the
// mode (its menu text, its toolbar button stays checked) and what the mouse buttons do in it.
#pragma once
#include <QString>

namespace shl {

// The menu and toolbar command whose mode `mode` is (a value of CrntMode); 0 when none.
int ModeCmdId(int mode);

// Whether command id starts a mode (its action is checkable).
bool IsModeCmd(int id);

// The pane's text for `mode`: "<menu text> — <buttons>", the curve-height mode with the height it
// gives; empty when the mode has no entry (idle: the caller shows its idle text). menuText is the
// command's menu text as the window shows it; heightText the height being applied.
QString ModePaneText(int mode, const QString& menuText, const QString& heightText);

}  // namespace shl
