// Heights along a line (its dialog, then the drag) and the contour checks with their dock panel.
#include "tr.h"
#include "chkpanel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QVBoxLayout>
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "cmd/crv_chk.h"
#include "curves/crv_cmd.h"
#include "dlgbase.h"
#include "dlgrun.h"
#include "engcall.h"
#include "terrain/trn.h"
#include <cstdint>

namespace shl {

namespace {

constexpr double HgtMax = 1e11;
LenUnit HgtLinUnit = LenUnit::M;

// Start height and step with one unit.
class HgtLinDlg : public AltDlg {
public:
    explicit HgtLinDlg(QWidget* p) : AltDlg(p, IdHgtLinDlg, Tx::tr("線に沿って高さを設定")), unit_(HgtLinUnit) {
        h_ = MkEdit(CtlHgtLinStart);
        d_ = MkEdit(CtlHgtLinStep);
        combo_ = MkCombo(CtlHgtLinUnit, UnitItems(false));
        combo_->setCurrentIndex(ItemOfUnit(unit_, false));
        hmm_ = HgtLinStart;
        dmm_ = HgtLinStep;
        Show();
        connect(combo_, &QComboBox::currentIndexChanged, this, [this](int i) {
            Take2();
            unit_ = UnitOfItem(i, false);
            Show();
        });
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("最初の高さ"), h_);
        f->addRow(Tx::tr("高さの間隔"), d_);
        f->addRow(Tx::tr("単位"), combo_);
        auto* v = new QVBoxLayout(this);
        v->addLayout(f);
        v->addWidget(MkOkCancel());
        v->setSizeConstraint(QLayout::SetFixedSize);
    }
    double hmm_, dmm_;
    LenUnit unit_;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        double h, d;
        *bad = h_;
        if (!ReadReal(h_, -HgtMax, HgtMax, &h, msg)) return false;
        *bad = d_;
        if (!ReadReal(d_, -HgtMax, HgtMax, &d, msg)) return false;
        Take2();
        return true;
    }

private:
    QLineEdit* h_;
    QLineEdit* d_;
    QComboBox* combo_;
    QString hs_, ds_;
    // Typed values in the current unit; a value not edited keeps the stored one.
    void Take2() {
        double v;
        if (h_->text() != hs_ && ParseNum(h_->text(), &v)) hmm_ = v * MmPer(unit_);
        if (d_->text() != ds_ && ParseNum(d_->text(), &v)) dmm_ = v * MmPer(unit_);
    }
    void Show() {
        hs_ = NumText(hmm_ / MmPer(unit_));
        ds_ = NumText(dmm_ / MmPer(unit_));
        h_->setText(hs_);
        d_->setText(ds_);
    }
};

QString FndText(const ChkFnd& f) {
    auto name = [](int i) {
        const crv* c = CrvPart && i >= 0 && i < CrvPart->crvs.n ? CrvPart->crvs.a[i] : nullptr;
        if (!c || !c->name) return QString::number(i);
        // The engine's own names ("等高線12") in the interface's language; a user's name as it is.
        const QString n = QString::fromUtf8(c->name), stem = QStringLiteral("等高線");
        bool num = false;
        if (n.startsWith(stem)) n.mid(stem.size()).toInt(&num);
        return num ? Tx::tr("等高線%1").arg(n.mid(stem.size())) : n;
    };
    QString what;
    switch (f.kind) {
    case ChkCross: what = Tx::tr("高さの異なるカーブが交差・接触"); break;
    case ChkSelf: what = Tx::tr("カーブが自分自身と交差"); break;
    case ChkDup: what = Tx::tr("カーブが重複"); break;
    case ChkZero: what = Tx::tr("高さゼロのカーブ"); break;
    case ChkOpen: what = Tx::tr("領域の内側で終わる開いたカーブ"); break;
    case ChkJump: what = Tx::tr("隣のカーブとの高さの差が不自然"); break;
    }
    QString s = what + QStringLiteral(": ") + name(f.i);
    if (f.j >= 0) s += QStringLiteral(", ") + name(f.j);
    return s;
}

// The dock panel of the findings, made on first use.
QListWidget* Panel(QMainWindow* mw) {
    QDockWidget* dock = mw->findChild<QDockWidget*>(QString::fromLatin1(ChkDockName));
    if (!dock) {
        dock = new QDockWidget(Tx::tr("等高線のチェック"), mw);
        dock->setObjectName(QString::fromLatin1(ChkDockName));
        auto* list = new QListWidget(dock);
        list->setObjectName(QStringLiteral("ChkList"));
        // Long findings wrap within the panel's width instead of needing a sideways scroll.
        list->setWordWrap(true);
        list->setResizeMode(QListView::Adjust);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideNone);
        dock->setWidget(list);
        mw->addDockWidget(Qt::RightDockWidgetArea, dock);
        QObject::connect(list, &QListWidget::currentRowChanged, list, [](int row) {
            if (row < 0 || EngDepth() > 0) return;
            EngCall c;
            ShowChkFnd(row);
        });
    }
    dock->show();
    return dock->findChild<QListWidget*>(QStringLiteral("ChkList"));
}

// What the checks read: the curves' count, visibility and points, and the region. The panel is
// filled again when it changes.
uint64_t ChkInput() {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](const void* p, size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    };
    mix(TrnRgn, sizeof TrnRgn);
    const int n = CrvPart ? CrvPart->crvs.n : -1;
    mix(&n, sizeof n);
    for (int i = 0; i < n; ++i) {
        const crv* c = CrvPart->crvs.a[i];
        mix(&c->n, sizeof c->n);
        mix(&c->vis, sizeof c->vis);
        if (c->p && c->n > 0) mix(c->p, sizeof(float) * 3 * size_t(c->n));
    }
    return h;
}
uint64_t shownInput = 0;  // ChkInput of the findings the panel shows

}  // namespace

void UpdChkPanel(QWidget* frame) {
    auto* mw = qobject_cast<QMainWindow*>(frame);
    QDockWidget* dock = mw ? mw->findChild<QDockWidget*>(QString::fromLatin1(ChkDockName)) : nullptr;
    // Not while a long operation (a trace) is changing the curves and lets the window run.
    if (!dock || !dock->isVisible() || RunFlg || !CrvPart) return;
    if (ChkInput() == shownInput) return;
    // The findings of the curves as they are now; no message, as the check command gives.
    CrvChkRes = ChkCrv(CrvPart->crvs.a, CrvPart->crvs.n, CurChkPrm());
    FillChkPanel(frame);
}

void RetrChkPanel(QWidget* frame) {
    auto* mw = qobject_cast<QMainWindow*>(frame);
    QDockWidget* dock = mw ? mw->findChild<QDockWidget*>(QString::fromLatin1(ChkDockName)) : nullptr;
    if (!dock) return;
    dock->setWindowTitle(Tx::tr("等高線のチェック"));
    const bool shown = dock->isVisible();
    FillChkPanel(frame);
    if (!shown) dock->hide();
}

void FillChkPanel(QWidget* frame) {
    auto* mw = qobject_cast<QMainWindow*>(frame);
    if (!mw) return;
    QListWidget* list = Panel(mw);
    QSignalBlocker b(list);
    list->clear();
    for (const ChkFnd& f : CrvChkRes) {
        list->addItem(FndText(f));
        list->item(list->count() - 1)->setToolTip(FndText(f));
    }
    if (CrvChkRes.empty()) list->addItem(Tx::tr("問題はありません"));
    shownInput = ChkInput();
}

QStringList ChkPanelLines(QWidget* frame) {
    QStringList l;
    auto* mw = qobject_cast<QMainWindow*>(frame);
    QDockWidget* dock = mw ? mw->findChild<QDockWidget*>(QString::fromLatin1(ChkDockName)) : nullptr;
    if (!dock) return l;
    l << dock->windowTitle() + (dock->isVisible() ? QString() : QStringLiteral(" (hidden)"));
    if (auto* list = dock->findChild<QListWidget*>(QStringLiteral("ChkList")))
        for (int i = 0; i < list->count(); ++i) l << list->item(i)->text();
    return l;
}

bool ChkCmd(QWidget* frame, int id) {
    if (id == IdHgtLinCmd) {
        HgtLinDlg d(frame);
        if (ExecDlg(d, QString::number(IdHgtLinDlg)) != QDialog::Accepted) return true;
        EngCall c;
        HgtLinStart = static_cast<float>(d.hmm_);
        HgtLinStep = static_cast<float>(d.dmm_);
        HgtLinUnit = d.unit_;
        IntrCmd(CatDrw2D, CmdCrvHgtLin);
        return true;
    }
    if (id == IdChkCmd) {
        {
            EngCall c;
            IntrCmd(CatDrw2D, CmdCrvChk);
        }
        FillChkPanel(frame);
        return true;
    }
    return false;
}

}  // namespace shl
