// Every modal dialog and file dialog of the application opens through these two calls, so that a
// journal replayed in the window (altimetra --journal) can answer them the way a user would.
#pragma once
#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

// Runs dlg modally and returns QDialog::Accepted or QDialog::Rejected. id is the dialog's resource
// id ("130", "180", ...) or one of "color", "print", "about", "ogr" (the GIS layer and height
// field) for dialogs without one.
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

// A value refused by a dialog's check (dlg stays open): a message box, or while a journal
// answers the dialogs, the line "dialog ID refused: TEXT", after which the dialog is cancelled.
void RefuseMsg(QWidget* dlg, const QString& msg);

// Answers from a journal. While a printer is set, dialogs and file dialogs do not show: each
// takes the first answer queued for its id, or is cancelled and prints "dialog ID (unanswered)"
// ("filedialog (unanswered)"). A null printer shows them to the user again and drops the queues.
struct DlgAnswer {
    QString id;
    // Control id (or name) and value: an edit's text, a combo's item from 0, a check or radio
    // 0/1, 1 to press a button. The colour dialog takes rgb=R,G,B and customN=R,G,B (N 1..16).
    std::vector<std::pair<QString, QString>> ctl;
    bool ok = false;
};
void SetDlgScript(std::function<void(const QString& line)> print);
bool DlgScripted();
void QueueDlg(const DlgAnswer& a);
void QueueFileDlg(const QString& path);  // empty: cancel
// While set (journal verb `dialogtexts on`), each dialog and file dialog that opens under a
// journal first prints every text it shows: "dialog ID text \"...\"" lines (Qt's own colour and
// print dialogs only their id).
void SetDlgTextDump(bool on);
// Called with each dialog as it opens under a journal, before its answer is applied (tests look
// at the values it opens with).
extern std::function<void(QDialog& dlg, const QString& id)> DlgOpenHook;
// Called with each file dialog's request as it opens under a journal (tests look at its folder).
extern std::function<void(const FileDlgReq& req)> FileDlgHook;

// The journal verbs `dialog ID [CONTROL=VALUE ...] ok|cancel` and `filedialog PATH|cancel`.
// True when w was one of them and is queued; false with *err set for a malformed one; false with
// *err empty for any other verb.
bool DlgVerb(const std::vector<std::string>& w, std::string* err);
