#include "dlgbase.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include "dlgrun.h"
#include "terrain/trn.h"
#include "tr.h"

namespace shl {

namespace {
// Range bounds as the refusal message writes them (1e-11, 90, 4294967295).
QString Bound(double v) { return QString::number(v, 'g', 10); }
}  // namespace

AltDlg::AltDlg(QWidget* parent, int id, const QString& title) : QDialog(parent), id_(id) {
    setWindowTitle(title);
    setObjectName(QString::number(id));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

bool AltDlg::TryOk(QString* msg) {
    QWidget* bad = nullptr;
    if (!Check(msg, &bad)) return false;
    Take();
    QDialog::accept();
    return true;
}

void AltDlg::accept() {
    QString msg;
    QWidget* bad = nullptr;
    if (!Check(&msg, &bad)) {
        RefuseMsg(this, msg);
        if (bad) {
            bad->setFocus();
            if (auto* e = qobject_cast<QLineEdit*>(bad)) e->selectAll();
        }
        return;
    }
    Take();
    QDialog::accept();
}

QLineEdit* AltDlg::MkEdit(int ctl, int chars) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::number(ctl));
    const int w = e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12;
    e->setMinimumWidth(w);
    // Short fields (degrees, minutes, thresholds, coordinates) keep their size.
    if (chars <= 10) e->setMaximumWidth(w);
    return e;
}

QComboBox* AltDlg::MkCombo(int ctl, const QStringList& items) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::number(ctl));
    c->addItems(items);
    return c;
}

QCheckBox* AltDlg::MkCheck(int ctl, const QString& text) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(QString::number(ctl));
    return c;
}

QRadioButton* AltDlg::MkRadio(int ctl, const QString& text) {
    auto* r = new QRadioButton(text, this);
    r->setObjectName(QString::number(ctl));
    return r;
}

QPushButton* AltDlg::MkButton(int ctl, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::number(ctl));
    b->setAutoDefault(false);
    return b;
}

QDialogButtonBox* AltDlg::MkOkCancel() {
    auto* bb = new QDialogButtonBox(this);
    QPushButton* ok = bb->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    bb->addButton(Tx::tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(bb, &QDialogButtonBox::accepted, this, &AltDlg::accept);
    connect(bb, &QDialogButtonBox::rejected, this, &AltDlg::reject);
    return bb;
}

bool ParseNum(const QString& text, double* v) {
    bool ok = false;
    const double x = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(x)) return false;
    *v = x;
    return true;
}

bool ReadReal(const QLineEdit* e, double lo, double hi, double* v, QString* msg) {
    double x = 0;
    if (!ParseNum(e->text(), &x)) {
        *msg = Tx::tr("数値を入力してください。");
        return false;
    }
    if (x < lo || x > hi) {
        *msg = Tx::tr("%1 から %2 までの数値を入力してください。").arg(Bound(lo), Bound(hi));
        return false;
    }
    *v = x;
    return true;
}

bool ReadInt(const QLineEdit* e, long long lo, long long hi, long long* v, QString* msg) {
    bool ok = false;
    const long long x = QLocale::c().toLongLong(e->text().trimmed(), &ok);
    if (!ok || x < lo || x > hi) {
        *msg = Tx::tr("%1 から %2 までの整数を入力してください。").arg(lo).arg(hi);
        return false;
    }
    *v = x;
    return true;
}

QString NumText(double v) {
    const double r = Rnd2(v);
    if (r == 0) return QStringLiteral("0");  // no "-0"
    // Enough digits for every value the dialogs accept (up to 1e11 with two decimals).
    return QString::number(r, 'g', 15);
}

QString IntText(long long v) { return QString::number(v); }

QStringList UnitItems(bool withKm) {
    QStringList l;
    for (int i = 0; i < UnitItemNum(withKm); ++i) l << QLatin1String(UnitName(UnitOfItem(i, withKm)));
    return l;
}

}  // namespace shl
