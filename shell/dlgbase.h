// Base of the parameter dialogs: controls named by their numeric ids, range checks on OK that
// refuse a value with a message and keep the dialog open, and the unit conversions they share.
#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include "core/unit.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace shl {

class AltDlg : public QDialog {
    Q_OBJECT
public:
    AltDlg(QWidget* parent, int id, const QString& title);
    int Id() const { return id_; }

    // OK: checks the fields; when one is refused, *msg says why and the dialog stays open;
    // otherwise the values are taken and the dialog closes accepted.
    bool TryOk(QString* msg);
    // The OK button: a refusal is shown in a message box and the refused field gets the focus.
    void accept() override;

protected:
    // Range checks of the fields in their order; the first refusal wins (*bad: field to fix).
    virtual bool Check(QString* msg, QWidget** bad) {
        (void)msg;
        (void)bad;
        return true;
    }
    // Stores the checked values (run once, just before the dialog closes accepted).
    virtual void Take() {}

    // Controls carry their id as object name, so journals and tests can find them.
    QLineEdit* MkEdit(int ctl, int chars = 12);
    QComboBox* MkCombo(int ctl, const QStringList& items);
    QCheckBox* MkCheck(int ctl, const QString& text);
    QRadioButton* MkRadio(int ctl, const QString& text);
    QPushButton* MkButton(int ctl, const QString& text);
    // OK and ｷｬﾝｾﾙ, wired to accept and reject.
    QDialogButtonBox* MkOkCancel();

private:
    int id_;
};

// Field readers for Check: the whole text must be one number within lo..hi; otherwise false with
// the refusal message in *msg.
bool ReadReal(const QLineEdit* e, double lo, double hi, double* v, QString* msg);
bool ReadInt(const QLineEdit* e, long long lo, long long hi, long long* v, QString* msg);
// Parses a typed number (blanks around it allowed); false when it is not one finite number.
bool ParseNum(const QString& text, double* v);
// A value as the dialogs show it: rounded half away from zero to two decimals, no trailing zeros.
QString NumText(double v);
// A whole number as the dialogs show it.
QString IntText(long long v);

// Unit combos list their units from the largest: "km", "m", "cm", "mm" or "m", "cm", "mm"; an
// item converts to its unit and back with UnitOfItem and ItemOfUnit (core/unit.h).
QStringList UnitItems(bool withKm);

}  // namespace shl
