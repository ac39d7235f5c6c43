// Light dialog: azimuth and elevation of the current light, with two compass diagrams that show
// them and take clicks. Every change moves the light at once and redraws the view; Cancel puts
// the light back where it was.
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>
#include <cstring>
#include "core/cmd.h"
#include "display/dsp_cmd.h"
#include "display/lgt.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgint.h"
#include "dlgrun.h"
#include "engcall.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "tr.h"

namespace shl {

namespace {

using namespace dlg;

// Geometry of the diagrams, client pixels with y downwards.
constexpr int AzCx = 121, AzCy = 88, ElCx = 276, ElCy = 88, Rad = 45;
constexpr double Deg = 180.0 / M_PI;

// A spin field whose arrows follow the dialog's own rule instead of the box's range.
class LgtSpin : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    std::function<void(int)> onStep;
    void stepBy(int steps) override {
        if (onStep) onStep(steps);
    }

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

int WrapAz(int a) {
    if (a < 0) a += 360;
    if (a > 359) a -= 360;
    a %= 360;
    return a < 0 ? a + 360 : a;
}

int ClampEl(int e) { return e < 0 ? 0 : e > 90 ? 90 : e; }

class LgtDlgW : public AltDlg {
public:
    LgtDlgW(QWidget* p, lgt* l) : AltDlg(p, IdLgt, Tx::tr("ライトの設定")), l_(l) {
        std::memcpy(dir0_, l->r.dir, sizeof dir0_);
        std::memcpy(ang0_, l->r.ang, sizeof ang0_);
        {
            EngCall c;
            GetLgtAzEl(l, &az_, &el_);
        }
        az_ = WrapAz(az_);
        auto* azLbl = new QLabel(Tx::tr("方位角（度）"), this);
        auto* elLbl = new QLabel(Tx::tr("仰角（度）"), this);
        azSpin_ = new LgtSpin(this);
        elSpin_ = new LgtSpin(this);
        azSpin_->setObjectName(QString::number(CtlLgtAz));
        elSpin_->setObjectName(QString::number(CtlLgtEl));
        // The elevation field can show what a light below the horizon gives (above 270); OK
        // accepts 0..90 only.
        azSpin_->setRange(0, 359);
        elSpin_->setRange(0, 359);
        for (LgtSpin* s : {azSpin_, elSpin_}) {
            s->setKeyboardTracking(false);
            s->setAccelerated(true);
        }
        ShowVals();
        azSpin_->onStep = [this](int steps) {
            az_ = WrapAz(az_ + steps);
            ShowVals();
            Update();
        };
        elSpin_->onStep = [this](int steps) {
            el_ = ClampEl(el_ + steps);
            ShowVals();
            Update();
        };
        connect(azSpin_, &QSpinBox::editingFinished, this, [this] {
            azSpin_->interpretText();
            if (azSpin_->value() == az_) return;
            az_ = azSpin_->value();
            Update();
        });
        connect(elSpin_, &QSpinBox::editingFinished, this, [this] {
            elSpin_->interpretText();
            if (elSpin_->value() == el_) return;
            el_ = elSpin_->value();
            if (el_ <= 90) Update();  // beyond 90 the OK check refuses it
        });
        QDialogButtonBox* bb = MkOkCancel();
        bb->setOrientation(Qt::Vertical);

        const int fw = fontMetrics().horizontalAdvance(Tx::tr("方位角（度）")) + 12;
        const int rowH = std::max(26, azSpin_->sizeHint().height());
        azLbl->setGeometry(16, 162, fw, rowH);
        azSpin_->setGeometry(16 + fw, 162, 72, rowH);
        elLbl->setGeometry(16, 166 + rowH, fw, rowH);
        elSpin_->setGeometry(16 + fw, 166 + rowH, 72, rowH);
        const QSize bs = bb->sizeHint();
        const int w = std::max(360, 16 + fw + 72 + 24 + bs.width() + 12);
        bb->setGeometry(w - bs.width() - 12, 160, bs.width(), bs.height());
        setFixedSize(w, std::max(166 + 2 * rowH + 14, 160 + bs.height() + 12));
    }

    int az_ = 0, el_ = 0;

    // Click geometry, exposed for the tests of the compass.
    static int AzOfClick(int x, int y) {
        return WrapAz(90 - int(std::trunc(-std::atan2(double(y - AzCy), double(x - AzCx)) * Deg)));
    }
    static int ElOfClick(int x, int y) {
        return ClampEl(int(std::trunc(std::atan2(double(ElCy - y), double(x - ElCx)) * Deg)));
    }

    // Cancel (and closing the window) puts the light back as it was.
    void reject() override {
        EngCall c;
        std::memcpy(l_->r.dir, dir0_, sizeof dir0_);
        std::memcpy(l_->r.ang, ang0_, sizeof ang0_);
        UdtPrmLgt();
        IntrCmd(CatDsp, CmdRdrwAll);
        AltDlg::reject();
    }

protected:
    bool Check(QString* msg, QWidget** bad) override {
        azSpin_->interpretText();
        elSpin_->interpretText();
        const int a = azSpin_->value(), e = elSpin_->value();
        if (a < 0 || a > 359) {
            *bad = azSpin_;
            *msg = Tx::tr("0 から 359 までの整数を入力してください。");
            return false;
        }
        if (e < 0 || e > 90) {
            *bad = elSpin_;
            *msg = Tx::tr("0 から 90 までの整数を入力してください。");
            return false;
        }
        az_ = a;
        el_ = e;
        return true;
    }
    void Take() override { Update(); }

    void paintEvent(QPaintEvent* e) override {
        AltDlg::paintEvent(e);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, true);
        // Dark panels behind the diagrams, so that their light colours read on any theme.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(32, 40, 48));
        p.drawRect(QRect(66, 33, 110, 110));
        p.drawRect(QRect(266, 33, 65, 65));
        const QPen pen(QColor(0, 255, 255), 0);  // colour value 0xffff00: blue and green
        const QBrush mark(QColor(255, 255, 0));  // colour value 0xffff: red and green
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(AzCx, AzCy), Rad, Rad);
        p.drawLine(QPointF(AzCx - 50, AzCy), QPointF(AzCx + 50, AzCy));
        p.drawLine(QPointF(AzCx, AzCy - 50), QPointF(AzCx, AzCy + 50));
        p.drawArc(QRectF(ElCx - Rad, ElCy - Rad, 2 * Rad, 2 * Rad), 0, 90 * 16);
        p.drawLine(QPointF(ElCx, ElCy), QPointF(ElCx + 50, ElCy));
        p.drawLine(QPointF(ElCx, ElCy), QPointF(ElCx, ElCy - 50));
        p.setBrush(mark);
        const double a = (az_ - 90) / Deg;
        p.drawRect(QRectF(AzCx + Rad * std::cos(a) - 3, AzCy + Rad * std::sin(a) - 3, 6, 6));
        const double el = el_ / Deg;
        p.drawRect(QRectF(ElCx + Rad * std::cos(el) - 3, ElCy - Rad * std::sin(el) - 3, 6, 6));
        // Labels in the dialog's text colour.
        p.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics fm = fontMetrics();
        p.drawText(QPointF(AzCx + 8, 31 - fm.descent()), Tx::tr("北(0°)"));
        p.drawText(QPointF(ElCx + 6, 31 - fm.descent()), Tx::tr("90°"));
        p.drawText(QPointF(ElCx + 58, ElCy + fm.ascent() / 2.0 - 1), Tx::tr("0°"));
        p.drawText(QPointF(16, 20), Tx::tr("方位角"));
        p.drawText(QPointF(196, 20), Tx::tr("仰角"));
    }

    void mouseReleaseEvent(QMouseEvent* ev) override {
        if (ev->button() != Qt::LeftButton) return AltDlg::mouseReleaseEvent(ev);
        const int x = int(std::floor(ev->position().x())), y = int(std::floor(ev->position().y()));
        if (x > 66 && x < 176 && y > 33 && y < 143) {
            az_ = AzOfClick(x, y);
        } else if (x > 266 && x < 331 && y > 33 && y < 98) {
            el_ = ElOfClick(x, y);
        } else {
            return AltDlg::mouseReleaseEvent(ev);
        }
        ShowVals();
        Update();
    }

private:
    void ShowVals() {
        QSignalBlocker a(azSpin_), b(elSpin_);
        azSpin_->setValue(az_);
        elSpin_->setValue(el_);
    }
    // Light, redraw, and the dialog's own picture at once.
    void Update() {
        {
            EngCall c;
            SetLgtAzEl(l_, az_, el_);
            IntrCmd(CatDsp, CmdRdrwAll);
        }
        repaint();
    }

    lgt* l_;
    float dir0_[3], ang0_[3];
    LgtSpin *azSpin_, *elSpin_;
};

}  // namespace

int LgtAzOfClick(int x, int y) { return LgtDlgW::AzOfClick(x, y); }
int LgtElOfClick(int x, int y) { return LgtDlgW::ElOfClick(x, y); }

bool DlgLgt(QWidget* parent) {
    lgt* l = CurLgtObj;
    if (!l) {
        plt::Get()->MsgBox(QT_TRANSLATE_NOOP("Altimetra", "光源がありません。"), "注意", plt::BtnOk, plt::IconWarning);
        return false;
    }
    LgtDlgW d(parent, l);
    if (ExecDlg(d, QString::number(IdLgt)) != QDialog::Accepted) return false;
    ModFlg = 1;
    return true;
}

}  // namespace shl
