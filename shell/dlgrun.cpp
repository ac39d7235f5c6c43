// Modal dialogs and file dialogs (journals answer them through the same calls).
#include "dlgrun.h"

#include <QDialog>
#include <QFileDialog>

int ExecDlg(QDialog& dlg, const QString& /*id*/) { return dlg.exec(); }

QString AskFileName(QWidget* parent, const FileDlgReq& req, QString* selectedFilter) {
    QString sel;
    QString path = req.save
        ? QFileDialog::getSaveFileName(parent, req.caption, req.dir, req.filter, &sel)
        : QFileDialog::getOpenFileName(parent, req.caption, req.dir, req.filter, &sel);
    if (selectedFilter) *selectedFilter = sel;
    return path;
}
