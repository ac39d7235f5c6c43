// Latitude and longitude range of a GLD export. With the distance fixed, editing one corner moves
// the other so that the block keeps its extent on the ground.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include "dialogs.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgrun.h"
#include "tr.h"

namespace shl {

namespace {
constexpr double EarthCirc = 40320000.0;  // metres round the earth, as the format's users take it
constexpr double CircSec = 1296000.0;     // arc-seconds of a full turn
}  // namespace

double GldDLat(double ext) { return ext * CircSec / EarthCirc; }

double GldDLon(double ext, double lat) {
    const double c = std::cos(lat / 3600.0 * M_PI / 180.0);
    // At a pole a longitude span has no width: keep the latitude span.
    if (std::fabs(c) < 1e-12) return GldDLat(ext);
    return GldDLat(ext) / c;
}

GldCorners GldDefCorners(double ext) {
    GldCorners c;
    c.ext = ext;
    c.lat0 = 126000;
    c.lon0 = 504000;
    c.lat1 = c.lat0 + GldDLat(ext);
    c.lon1 = c.lon0 + GldDLon(ext, c.lat1);
    c.fix = true;
    return c;
}

void ArcToDms(double a, int* deg, int* min, double* sec) {
    const long long s = static_cast<long long>(std::trunc(a));
    *deg = int(s / 3600);
    *min = int((s % 3600) / 60);
    *sec = a - double(*deg) * 3600 - double(*min) * 60;
}

double DmsToArc(int deg, int min, double sec) { return deg * 3600.0 + min * 60.0 + sec; }

namespace {

using namespace dlg;

enum Val { Lat0 = 0, Lon0 = 1, Lat1 = 2, Lon1 = 3 };
// First control id of each value's degrees, minutes, seconds.
constexpr int FirstCtl[4] = {CtlGldLat0D, CtlGldLon0D, CtlGldLat1D, CtlGldLon1D};

class GldDlgW : public AltDlg {
public:
    GldDlgW(QWidget* p, const GldCorners& c) : AltDlg(p, IdGld, Tx::tr("緯度・経度の範囲")), c_(c) {
        auto* v = new QVBoxLayout(this);
        auto* corners = new QHBoxLayout;
        for (int side = 0; side < 2; ++side) {
            auto* grp = new QGroupBox(side == 0 ? Tx::tr("左下") : Tx::tr("右上"), this);
            auto* g = new QGridLayout(grp);
            for (int k = 0; k < 2; ++k) {
                const int val = side * 2 + k;
                g->addWidget(new QLabel(k == 0 ? Tx::tr("緯度") : Tx::tr("経度"), grp), k, 0);
                static const char* const unit[3] = {QT_TRANSLATE_NOOP("Altimetra", "度"), QT_TRANSLATE_NOOP("Altimetra", "分"), QT_TRANSLATE_NOOP("Altimetra", "秒")};
                for (int f = 0; f < 3; ++f) {
                    QLineEdit* e = MkEdit(FirstCtl[val] + f, f == 2 ? 8 : 4);
                    fld_[val][f] = e;
                    g->addWidget(e, k, 1 + 2 * f);
                    g->addWidget(new QLabel(TrTxt(unit[f]), grp), k, 2 + 2 * f);
                    connect(e, &QLineEdit::editingFinished, this, [this, val] { Left(val); });
                }
            }
            corners->addWidget(grp);
        }
        v->addLayout(corners);
        fix_ = MkCheck(CtlGldFix, Tx::tr("距離を固定"));
        fix_->setChecked(c_.fix);
        connect(fix_, &QCheckBox::toggled, this, [this](bool on) { c_.fix = on; });
        QPushButton* upd = MkButton(CtlGldUpd, Tx::tr("更新"));
        connect(upd, &QPushButton::clicked, this, [this] {
            QString msg;
            QWidget* bad = nullptr;
            if (!Check(&msg, &bad)) {
                RefuseMsg(this, msg);
                if (bad) bad->setFocus();
            }
        });
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(fix_);
        bottom->addWidget(upd);
        bottom->addStretch(1);
        bottom->addWidget(MkOkCancel());
        v->addLayout(bottom);
        v->setSizeConstraint(QLayout::SetFixedSize);
        for (int k = 0; k < 4; ++k) Show(k);
    }
    GldCorners c_;

protected:
    // All twelve fields into the corners, without coupling.
    bool Check(QString* msg, QWidget** bad) override {
        double a[4];
        for (int k = 0; k < 4; ++k)
            if (!Read(k, &a[k], msg, bad)) return false;
        c_.lat0 = a[Lat0];
        c_.lon0 = a[Lon0];
        c_.lat1 = a[Lat1];
        c_.lon1 = a[Lon1];
        return true;
    }

private:
    double& Ref(int val) {
        switch (val) {
        case Lat0: return c_.lat0;
        case Lon0: return c_.lon0;
        case Lat1: return c_.lat1;
        default: return c_.lon1;
        }
    }
    void Show(int val) {
        int d, m;
        double s;
        ArcToDms(Ref(val), &d, &m, &s);
        shown_[val][0] = IntText(d);
        shown_[val][1] = IntText(m);
        shown_[val][2] = NumText(s);
        for (int f = 0; f < 3; ++f) fld_[val][f]->setText(shown_[val][f]);
    }
    bool Edited(int val) const {
        for (int f = 0; f < 3; ++f)
            if (fld_[val][f]->text() != shown_[val][f]) return true;
        return false;
    }
    // A value whose fields were not edited keeps the stored angle, not its rounded seconds.
    bool Read(int val, double* a, QString* msg, QWidget** bad) {
        if (!Edited(val)) {
            *a = Ref(val);
            return true;
        }
        long long d, m;
        double s;
        *bad = fld_[val][0];
        if (!ReadInt(fld_[val][0], 0, 360, &d, msg)) return false;
        *bad = fld_[val][1];
        if (!ReadInt(fld_[val][1], 0, 60, &m, msg)) return false;
        *bad = fld_[val][2];
        if (!ReadReal(fld_[val][2], 0, 60, &s, msg)) return false;
        *a = DmsToArc(int(d), int(m), s);
        return true;
    }
    // A field of one value lost the focus: take the value; with the distance fixed, move the
    // matching value of the other corner.
    void Left(int val) {
        QString msg;
        QWidget* bad = nullptr;
        double a;
        if (!Edited(val)) return;
        if (!Read(val, &a, &msg, &bad)) return;  // OK refuses it
        Ref(val) = a;
        Show(val);
        if (!c_.fix) return;
        const double e = c_.ext;
        switch (val) {
        case Lat0: c_.lat1 = c_.lat0 + GldDLat(e); Show(Lat1); break;
        case Lon0: c_.lon1 = c_.lon0 + GldDLon(e, c_.lat1); Show(Lon1); break;
        case Lat1: c_.lat0 = c_.lat1 - GldDLat(e); Show(Lat0); break;
        case Lon1: c_.lon0 = c_.lon1 - GldDLon(e, c_.lat0); Show(Lon0); break;
        default: break;
        }
    }

    QLineEdit* fld_[4][3];
    QString shown_[4][3];
    QCheckBox* fix_;
};

}  // namespace

bool AskGldCorners(QWidget* parent, GldCorners* c) {
    GldDlgW d(parent, *c);
    if (ExecDlg(d, QString::number(IdGld)) != QDialog::Accepted) return false;
    *c = d.c_;
    return true;
}

}  // namespace shl
