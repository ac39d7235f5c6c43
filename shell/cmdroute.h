// Menu and toolbar commands that the shell handles itself before anything reaches the engine.
// The main frame routes a command id here first; each returns false for an id it does not own.
#pragma once

class QWidget;

bool DocCmd(QWidget* frame, int id);  // file flows: new, open, save, import, export, recent files
bool DlgCmd(QWidget* frame, int id);  // commands that open a parameter dialog

class QString;
// Opens a file given by the recent-file list, the command line, the desktop or a drop; false when
// nothing was opened.
bool DocOpenPath(QWidget* frame, const QString& path);
// Dialog 184 after the scale-by-distance mode has measured its distance.
void SclDstDlg(QWidget* frame);
