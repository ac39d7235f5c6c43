// File unit dialogs, the colour dialogs with the profile's custom colours, and the about box.
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include "core/cmd.h"
#include "display/dsp_cmd.h"
#include "dialogs.h"
#include "display/drw.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgint.h"
#include "dlgrun.h"
#include "engcall.h"
#include "platform/platform.h"
#include "profile.h"
#include "scene/scene.h"
#include "tr.h"

namespace shl {

namespace {

using namespace dlg;

class UnitDlgW : public AltDlg {
public:
    UnitDlgW(QWidget* p, int id, int ctl, const QString& title, LenUnit unit) : AltDlg(p, id, title) {
        combo_ = MkCombo(ctl, UnitItems(true));
        // A value that names no unit opens on mm.
        combo_->setCurrentIndex(ItemOfUnit(MmPer(unit) > 0 ? unit : LenUnit::Mm, true));
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("単位"), combo_);
        auto* v = new QVBoxLayout(this);
        v->addLayout(f);
        v->addWidget(MkOkCancel());
        v->setSizeConstraint(QLayout::SetFixedSize);
    }
    LenUnit Unit() const { return UnitOfItem(combo_->currentIndex(), true); }

private:
    QComboBox* combo_;
};

bool AskUnit(QWidget* p, int id, int ctl, const QString& title, LenUnit* unit) {
    UnitDlgW d(p, id, ctl, title, *unit);
    if (ExecDlg(d, QString::number(id)) != QDialog::Accepted) return false;
    *unit = d.Unit();
    return true;
}

// The application's logo: contour rings over a terrain-green tile.
class Logo : public QWidget {
public:
    explicit Logo(QWidget* p) : QWidget(p) { setFixedSize(64, 64); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        g.setRenderHint(QPainter::Antialiasing, true);
        QLinearGradient bg(0, 0, 0, 64);
        bg.setColorAt(0, QColor(24, 92, 96));
        bg.setColorAt(1, QColor(10, 48, 52));
        g.setPen(Qt::NoPen);
        g.setBrush(bg);
        g.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);
        const QColor ring[4] = {QColor(150, 80, 255), QColor(60, 140, 255), QColor(60, 220, 140),
                                QColor(240, 230, 80)};
        g.setBrush(Qt::NoBrush);
        for (int k = 0; k < 4; ++k) {
            QPainterPath path;
            const double r = 26 - k * 6.0, cx = 30 + k * 1.5, cy = 35 - k * 1.8;
            path.moveTo(cx + r, cy);
            for (int i = 1; i <= 48; ++i) {
                const double t = i * 2 * M_PI / 48;
                const double w = 1 + 0.12 * std::sin(3 * t + k);
                path.lineTo(cx + r * w * std::cos(t), cy + r * 0.8 * w * std::sin(t));
            }
            g.setPen(QPen(ring[k], 2.2));
            g.drawPath(path);
        }
    }
};

}  // namespace

bool AskOutUnit(QWidget* parent, LenUnit* unit) {
    return AskUnit(parent, IdOutUnit, CtlOutUnit, Tx::tr("出力単位の設定"), unit);
}

bool AskInUnit(QWidget* parent, LenUnit* unit) {
    return AskUnit(parent, IdInUnit, CtlInUnit, Tx::tr("入力単位の設定"), unit);
}

bool AskColor(QWidget* parent, const QColor& initial, QColor* chosen) {
    Profile& pf = CurProfile();
    const int n = std::min(QColorDialog::customCount(), 16);
    for (int i = 0; i < n; ++i)
        QColorDialog::setCustomColor(i, QColor(pf.cust[i][0], pf.cust[i][1], pf.cust[i][2]));
    QColorDialog d(initial, parent);
    d.setOption(QColorDialog::DontUseNativeDialog, true);
    d.setWindowTitle(Tx::tr("色の設定"));
    const int rc = ExecDlg(d, QStringLiteral("color"));
    // Custom colours the user made are kept whatever the answer.
    for (int i = 0; i < n; ++i) {
        const QColor c = QColorDialog::customColor(i);
        pf.cust[i][0] = c.red();
        pf.cust[i][1] = c.green();
        pf.cust[i][2] = c.blue();
    }
    if (rc != QDialog::Accepted) return false;
    *chosen = d.selectedColor().isValid() ? d.selectedColor() : d.currentColor();
    return true;
}

bool DlgTrnColor(QWidget* parent) {
    mtl* m = nullptr;
    if (TrnPrd && TrnPrd->mtlTbls.n > 0 && TrnPrd->mtlTbls.a[0]->mtls.n > 0)
        m = TrnPrd->mtlTbls.a[0]->mtls.a[0];
    if (!m) {
        plt::Get()->MsgBox(QT_TRANSLATE_NOOP("Altimetra", "地形のマテリアルがありません。"), "注意", plt::BtnOk, plt::IconWarning);
        return false;
    }
    auto to255 = [](float v) { return std::clamp(int(std::lround(v * 255.0)), 0, 255); };
    const QColor init(to255(m->dif[0]), to255(m->dif[1]), to255(m->dif[2]));
    QColor c;
    if (!AskColor(parent, init, &c)) return false;
    EngCall e;
    m->dif[0] = float(c.red() / 255.0);
    m->dif[1] = float(c.green() / 255.0);
    m->dif[2] = float(c.blue() / 255.0);
    ModFlg = 1;
    UdtPrmMtl();
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

bool DlgBgColor(QWidget* parent) {
    auto to255 = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    const QColor init(to255(BgCol[0]), to255(BgCol[1]), to255(BgCol[2]));
    QColor c;
    if (!AskColor(parent, init, &c)) return false;
    EngCall e;
    BgCol[0] = c.red();
    BgCol[1] = c.green();
    BgCol[2] = c.blue();
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

void ShowAbout(QWidget* parent) {
    QDialog d(parent);
    d.setWindowTitle(Tx::tr("バージョン情報"));
    d.setObjectName(QString::number(IdAbout));
    auto* top = new QHBoxLayout;
    top->addWidget(new Logo(&d), 0, Qt::AlignTop);
    auto* text = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("Orvane Altimetra"), &d);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    title->setFont(f);
    text->addWidget(title);
    text->addWidget(new QLabel(QStringLiteral("Version 2.0"), &d));
    text->addWidget(new QLabel(Tx::tr("等高線から数値地形モデルを作成します。"), &d));
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(MakerUrl)), &d);
    link->setObjectName(QStringLiteral("link"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    text->addWidget(link);
    top->addLayout(text);
    top->addSpacing(12);
    auto* bb = new QDialogButtonBox(&d);
    bb->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(bb, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(bb, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    auto* v = new QVBoxLayout(&d);
    v->addLayout(top);
    v->addWidget(bb);
    v->setSizeConstraint(QLayout::SetFixedSize);
    ExecDlg(d, QStringLiteral("about"));
}

}  // namespace shl
