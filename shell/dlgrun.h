// Every modal dialog and file dialog of the application opens through these two calls, so that a
// journal replayed in the window (altimetra --journal) can answer them the way a user would.
#pragma once
#include <QString>

class QDialog;
class QWidget;

// Runs dlg modally and returns QDialog::Accepted or QDialog::Rejected. id is the dialog's resource
// id ("130", "180", ...) or one of "color", "print", "about" for dialogs without one.
int ExecDlg(QDialog& dlg, const QString& id);

// A file dialog: the chosen path, or an empty string when it was cancelled. filter uses Qt's
// "Name (*.ext)" form; *selectedFilter receives the filter in effect when the dialog closed.
struct FileDlgReq {
    bool save = false;
    QString caption;
    QString dir;
    QString filter;
};
QString AskFileName(QWidget* parent, const FileDlgReq& req, QString* selectedFilter = nullptr);
