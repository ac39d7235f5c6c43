// Heights along a line and the contour checks in the window: 等高線 > "線に沿って高さを設定" asks
// for the start height and step (dialog 190) and starts the drag; 等高線 > "等高線のチェック" runs
// the checks and lists the findings in a dock panel, where choosing one selects its curves and
// centres the view on it.
#pragma once
#include <QStringList>

class QWidget;

namespace shl {

constexpr int IdHgtLinCmd = 32910;  // "線に沿って高さを設定"
constexpr int IdChkCmd = 32911;     // "等高線のチェック"
constexpr int IdHgtLinDlg = 190;
constexpr int CtlHgtLinStart = 1070, CtlHgtLinStep = 1071, CtlHgtLinUnit = 1072;
constexpr const char* ChkDockName = "ChkDock";

// Menu routing beside VecCmd and GisCmd: true when id was one of the two commands.
bool ChkCmd(QWidget* frame, int id);
// Shows the findings of the last check in the dock panel of frame (a main window).
void FillChkPanel(QWidget* frame);
// After edits: the findings again when the panel shows and the curves or the region changed
// since it was filled.
void UpdChkPanel(QWidget* frame);
// The panel as shown: its title (" (hidden)" when closed), then its entries; empty without one.
QStringList ChkPanelLines(QWidget* frame);
// The panel's title and entries again in the interface's language (a language switch).
void RetrChkPanel(QWidget* frame);

}  // namespace shl
