// Region dialog: the terrain region's corners and the mesh interval, each in a unit of its own.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgint.h"
#include "dlgrun.h"
#include "engcall.h"
#include "scene/georef.h"
#include "terrain/trn.h"
#include "tr.h"

namespace shl {

namespace {

using namespace dlg;

// The region drawn as a rectangle between its two corners' fields.
class RgnPic : public QWidget {
public:
    explicit RgnPic(QWidget* p) : QWidget(p) { setMinimumSize(180, 80); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        g.setPen(QPen(palette().color(QPalette::WindowText), 1));
        g.setBrush(palette().color(QPalette::Base));
        g.drawRect(rect().adjusted(4, 4, -5, -5));
    }
};

class RgnDlgW : public AltDlg {
public:
    explicit RgnDlgW(QWidget* p) : AltDlg(p, IdRgn, Tx::tr("ﾒｯｼｭ領域設定")) {
        for (int k = 0; k < 4; ++k) cor_[k] = MkEdit(CtlRgnX0 + k, 9);
        rgnUnit_ = MkCombo(CtlRgnUnit, UnitItems(true));
        itv_ = MkEdit(CtlItv, 10);
        itvUnit_ = MkCombo(CtlItvUnit, UnitItems(false));
        QPushButton* mouse = MkButton(CtlRgnMouse, Tx::tr("マウスによりメッシュ領域を設定"));
        rgnUnit_->setCurrentIndex(ItemOfUnit(RgnUnit, true));
        itvUnit_->setCurrentIndex(ItemOfUnit(ItvUnit, false));
        ShowRgn();
        ShowItv();
        connect(rgnUnit_, &QComboBox::currentIndexChanged, this, [this](int i) {
            EngCall c;
            RgnUnit = UnitOfItem(i, true);
            ShowRgn();
        });
        connect(itvUnit_, &QComboBox::currentIndexChanged, this, [this](int i) {
            EngCall c;
            ItvUnit = UnitOfItem(i, false);
            ShowItv();
        });
        connect(mouse, &QPushButton::clicked, this, [this] { ByMouse(); });

        auto* grp = new QGroupBox(Tx::tr("メッシュ領域"), this);
        auto* g = new QGridLayout(grp);
        g->addLayout(Pair(cor_[2], cor_[3]), 0, 2);
        g->addWidget(new RgnPic(grp), 1, 1);
        g->addLayout(Pair(cor_[0], cor_[1]), 2, 0);
        auto* unitRow = new QHBoxLayout;
        unitRow->addStretch(1);
        unitRow->addWidget(new QLabel(Tx::tr("単位"), this));
        unitRow->addWidget(rgnUnit_);
        g->addLayout(unitRow, 3, 0, 1, 3);

        auto* itvRow = new QHBoxLayout;
        itvRow->addWidget(new QLabel(Tx::tr("メッシュ間隔"), this));
        itvRow->addWidget(itv_);
        itvRow->addWidget(itvUnit_);
        itvRow->addStretch(1);

        auto* v = new QVBoxLayout(this);
        v->addWidget(grp);
        v->addLayout(itvRow);
        v->addWidget(new QLabel(Tx::tr("地形を作成する領域をマウスでドラッグして下さい。"), this));
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(mouse);
        bottom->addStretch(1);
        bottom->addWidget(MkOkCancel());
        v->addLayout(bottom);
        v->setSizeConstraint(QLayout::SetFixedSize);
    }
    bool mouse_ = false;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        for (int k = 0; k < 4; ++k) {
            *bad = cor_[k];
            if (!ParseNum(cor_[k]->text(), &corV_[k])) {
                *msg = Tx::tr("数値を入力してください。");
                return false;
            }
        }
        *bad = itv_;
        return ReadReal(itv_, 1, 1e11, &itvV_, msg);
    }
    void Take() override {
        EngCall c;
        bool same = GisRef.known;
        for (int k = 0; k < 4; ++k) same = same && cor_[k]->text() == shown_[k];
        // Real-world corners shown to the millimetre: untouched, the region keeps its exact
        // corners (a region from a GeoTIFF's posts has sub-millimetre digits).
        if (same) SetRgnItv(itvV_);
        else SetRgnDlg(corV_, itvV_);
    }

private:
    QHBoxLayout* Pair(QLineEdit* x, QLineEdit* y) {
        auto* h = new QHBoxLayout;
        h->addWidget(new QLabel(QStringLiteral("("), this));
        h->addWidget(x);
        h->addWidget(new QLabel(QStringLiteral(","), this));
        h->addWidget(y);
        h->addWidget(new QLabel(QStringLiteral(")"), this));
        return h;
    }
    void ShowRgn() {
        double c[4], i;
        GetRgnDlg(c, &i);
        for (int k = 0; k < 4; ++k) {
            shown_[k] = GisRef.known ? MmText(c[k]) : NumText(c[k]);
            cor_[k]->setText(shown_[k]);
        }
    }
    // A real-world corner to the millimetre in the region unit, without trailing zeros.
    QString MmText(double v) const {
        static const int dec[] = {0, 1, 3, 6};  // mm, cm, m, km
        QString t = QString::number(v, 'f', dec[static_cast<int>(RgnUnit) & 3]);
        if (t.contains(QLatin1Char('.'))) {
            while (t.endsWith(QLatin1Char('0'))) t.chop(1);
            if (t.endsWith(QLatin1Char('.'))) t.chop(1);
        }
        return t == QLatin1String("-0") ? QStringLiteral("0") : t;
    }
    void ShowItv() {
        double c[4], i;
        GetRgnDlg(c, &i);
        itv_->setText(NumText(i));
    }
    // The interval is kept; the region then comes from a drag in the view.
    void ByMouse() {
        QString msg;
        if (!ReadReal(itv_, 1, 1e11, &itvV_, &msg)) {
            RefuseMsg(this, msg);
            itv_->setFocus();
            return;
        }
        {
            EngCall c;
            SetRgnItv(itvV_);
        }
        mouse_ = true;
        reject();
    }

    QLineEdit* cor_[4];
    QString shown_[4];  // the corners as shown, to tell whether the user changed them
    QLineEdit* itv_;
    QComboBox *rgnUnit_, *itvUnit_;
    double corV_[4] = {}, itvV_ = 0;
};

}  // namespace

bool DlgRgn(QWidget* parent) {
    RgnDlgW d(parent);
    const int rc = ExecDlg(d, QString::number(IdRgn));
    EngCall c;
    if (d.mouse_) {
        IntrCmd(CatDrw2D, CmdRgnMouse);
        return false;
    }
    if (rc != QDialog::Accepted) return false;
    IntrCmd(CatDrw2D, CmdRgnDlgOk);
    return true;
}

}  // namespace shl
