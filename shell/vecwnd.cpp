// The auto-vectorize command and window.
#include "vecwnd.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstring>
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "dlgrun.h"
#include "engcall.h"
#include "image/vecimg.h"
#include "platform/platform.h"
#include "profile.h"
#include "scene/scene.h"
#include "vectorize/vec.h"
#include "lang.h"
#include "tr.h"

namespace shl {

namespace {
// A map scale as the combo shows it: the engine's text in Japanese ("1/2万5千"), digits in
// English ("1/25,000").
QString SclText(int i) {
    if (CurUiLang() != LangEn) return QString::fromUtf8(VecSclTxt[i]);
    return QStringLiteral("1/") + QLocale(QLocale::English).toString(VecSclTbl[i]);
}
}  // namespace

namespace {

// Margins of the window around the bitmap when it opens (the image area sits at (10, 30)).
constexpr int WndMrgW = 26, WndMrgH = 64, WndMinW = 400;

QString Id(int id) { return QString::number(id); }

// Wait cursor for a scope.
struct WaitCrs {
    WaitCrs() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCrs() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

VecImgDrw::VecImgDrw(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImgDrw"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    SyncSize();
}

void VecImgDrw::SyncSize() {
    if (VecDsp.bits)
        setFixedSize(std::max(1, VecDsp.hdr.width), std::max(1, VecDsp.hdr.height));
    else
        setFixedSize(VecDspDefW, VecDspDefH);
    update();
}

// Only the exposed part of the bitmap is converted: a large scan at zoom 1 stays cheap to paint.
void VecImgDrw::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    const int wd = VecDsp.hdr.width, hd = VecDsp.hdr.height;
    if (!VecDsp.bits || wd <= 0 || hd <= 0) {
        p.fillRect(r, Qt::white);
        return;
    }
    const QRect in = r.intersected(QRect(0, 0, wd, hd));
    if (in.isEmpty()) return;
    QImage img(in.width(), in.height(), QImage::Format_RGB888);
    for (int y = 0; y < in.height(); ++y) {
        const int row = in.top() + y;
        const uint8_t* src = VecDsp.bits + VecDsp.rowBytes * (hd - 1 - row) + 3LL * in.left();
        std::memcpy(img.scanLine(y), src, 3 * static_cast<size_t>(in.width()));
    }
    p.drawImage(in.topLeft(), img);
}

VecWnd::VecWnd(QWidget* parent, int screenW, int screenH) : QDialog(parent) {
    setObjectName(QString::fromLatin1(VecDlgId));
    setWindowTitle(Tx::tr("ｵｰﾄﾍﾞｸﾀﾗｲｽﾞ･ｳｨﾝﾄﾞｳ"));
    setSizeGripEnabled(true);

    // Two rows of controls, so that the window fits within the main window: the picture's
    // settings, then the trace's.
    auto* rows = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    rows->addLayout(top);
    auto label = [&](const QString& t) { top->addWidget(new QLabel(t, this)); };

    label(Tx::tr("ｽｹｰﾙ"));
    zoom_ = new QComboBox(this);
    zoom_->setObjectName(Id(VecCtlZoom));
    for (const char* t : VecZoomTxt) zoom_->addItem(QString::fromUtf8(t));
    top->addWidget(zoom_);

    grey_ = new QRadioButton(Tx::tr("ｸﾞﾚｰ"), this);
    grey_->setObjectName(Id(VecCtlGrey));
    mono_ = new QRadioButton(Tx::tr("ﾓﾉｸﾛ"), this);
    mono_->setObjectName(Id(VecCtlMono));
    auto* modes = new QButtonGroup(this);
    modes->addButton(grey_, VecDspGrey);
    modes->addButton(mono_, VecDspMono);
    top->addWidget(grey_);
    top->addWidget(mono_);

    label(Tx::tr("しきい値"));
    thr_ = new QLineEdit(this);
    thr_->setObjectName(Id(VecCtlThr));
    thr_->setValidator(new QIntValidator(0, VecThrMax, thr_));
    thr_->setMaximumWidth(48);
    thr_->installEventFilter(this);
    top->addWidget(thr_);
    auto* spin = new QWidget(this);
    spin->setObjectName(Id(VecCtlSpin));
    auto* sl = new QVBoxLayout(spin);
    sl->setContentsMargins(0, 0, 0, 0);
    sl->setSpacing(0);
    up_ = new QToolButton(spin);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(spin);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        sl->addWidget(b);
    }
    top->addWidget(spin);

    label(Tx::tr("縮尺"));
    scl_ = new QComboBox(this);
    scl_->setObjectName(Id(VecCtlScl));
    for (int i = 0; i < VecSclNum; ++i) scl_->addItem(SclText(i));
    top->addWidget(scl_);

    label(Tx::tr("解像度"));
    dpi_ = new QLineEdit(this);
    dpi_->setObjectName(Id(VecCtlDpi));
    // Unsigned integer (the edit does not take a sign or a point).
    dpi_->setValidator(new QIntValidator(0, 2147483647, dpi_));
    dpi_->setMaximumWidth(64);
    dpi_->installEventFilter(this);
    top->addWidget(dpi_);
    label("dpi");
    top->addStretch(1);
    top = new QHBoxLayout;
    top->setSpacing(6);
    rows->addLayout(top);

    slct_ = new QCheckBox(Tx::tr("ｶｰﾌﾞを選択"), this);
    slct_->setObjectName(Id(VecCtlSlct));
    top->addWidget(slct_);

    centre_ = new QCheckBox(Tx::tr("中心線"), this);
    centre_->setObjectName(Id(VecCtlCentre));
    centre_->setToolTip(Tx::tr("線の輪郭ではなく中心を1本のカーブにする"));
    top->addWidget(centre_);

    // The scene coordinates of the map's lower-left corner (m); empty: centred on the origin.
    label(Tx::tr("左下 X"));
    orgX_ = new QLineEdit(this);
    orgX_->setObjectName(Id(VecCtlOrgX));
    orgX_->setMaximumWidth(80);
    orgX_->installEventFilter(this);
    top->addWidget(orgX_);
    label("Y");
    orgY_ = new QLineEdit(this);
    orgY_->setObjectName(Id(VecCtlOrgY));
    orgY_->setMaximumWidth(80);
    orgY_->installEventFilter(this);
    top->addWidget(orgY_);
    label("m");

    run_ = new QPushButton(Tx::tr("ﾍﾞｸﾀﾗｲｽﾞ"), this);
    run_->setObjectName(Id(VecCtlRun));
    run_->setAutoDefault(false);
    top->addWidget(run_);
    close_ = new QPushButton(Tx::tr("閉じる"), this);
    close_->setObjectName(Id(VecCtlClose));
    close_->setAutoDefault(false);
    top->addWidget(close_);
    // Hidden default button: Enter lands here and only moves the focus to the window.
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(Id(VecCtlOk));
    ok_->setDefault(true);
    ok_->hide();
    top->addStretch(1);

    sc_ = new QScrollArea(this);
    sc_->setObjectName(QStringLiteral("ScImg"));
    sc_->setFrameShape(QFrame::Box);
    sc_->setWidgetResizable(false);
    sc_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    img_ = new VecImgDrw(sc_);
    sc_->setWidget(img_);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(10, 4, 10, 10);
    lay->addLayout(rows);
    lay->addWidget(sc_, 1);

    // Opening: the zoom that fits the screen, the window around the bitmap, the fresh settings.
    {
        EngCall c;
        float z = VecZoomFit(screenW, screenH);
        WaitCrs w;
        if (SetVecZoom(z) != 0) {
            // Even 1/10 too large for a bitmap: show what the engine could build, if anything.
            VecZoom = z;
        }
    }
    zoom_->setCurrentIndex(std::max(0, VecZoomIdx(VecZoom)));
    img_->SyncSize();
    const int wd = VecDsp.bits ? VecDsp.hdr.width : VecDspDefW;
    const int hd = VecDsp.bits ? VecDsp.hdr.height : VecDspDefH;
    // The window never grows past the screen: a bitmap that does not fit even at 1/10 scrolls.
    resize(std::min(std::max(wd, WndMinW) + WndMrgW, screenW),
           std::min(hd + WndMrgH + rows->sizeHint().height(), screenH));
    VecMapScl = VecMapSclDef;
    VecDpi = VecDpiDef;
    scl_->setCurrentIndex(VecSclDefIdx);
    dpi_->setText(QString::number(static_cast<long long>(VecDpi)));
    (VecMono == VecDspMono ? mono_ : grey_)->setChecked(true);
    ShowThr();
    slct_->setChecked(VecSlctCrv != 0);
    centre_->setChecked(VecCentre != 0);
    if (VecOrgOn) {
        orgX_->setText(QString::number(VecOrg[0] / 1000.0, 'g', 12));
        orgY_->setText(QString::number(VecOrg[1] / 1000.0, 'g', 12));
    }

    connect(zoom_, &QComboBox::activated, this, [this](int i) { ZoomChosen(i); });
    connect(modes, &QButtonGroup::idClicked, this, [this](int m) { ModeChosen(m); });
    connect(up_, &QToolButton::clicked, this, [this] { ThrStep(1); });
    connect(down_, &QToolButton::clicked, this, [this] { ThrStep(-1); });
    connect(scl_, &QComboBox::activated, this, [](int i) {
        if (i >= 0 && i < VecSclNum) VecMapScl = VecSclTbl[i];
    });
    connect(slct_, &QCheckBox::clicked, this, [](bool on) { VecSlctCrv = on ? 1 : 0; });
    connect(centre_, &QCheckBox::clicked, this, [](bool on) { VecCentre = on ? 1 : 0; });
    connect(run_, &QPushButton::clicked, this, [this] { Vectorize(); });
    connect(close_, &QPushButton::clicked, this, [this] { reject(); });
    connect(ok_, &QPushButton::clicked, this, [this] { accept(); });
}

bool VecWnd::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (o == thr_) ThrLeft();
        if (o == dpi_) DpiLeft();
        if (o == orgX_ || o == orgY_) OrgLeft();
    }
    return QDialog::eventFilter(o, e);
}

void VecWnd::accept() { setFocus(); }

void VecWnd::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void VecWnd::reject() {
    RunFlg = 0;  // a running trace stops at its next check
    QDialog::reject();
}

void VecWnd::Rebuild() {
    {
        EngCall c;
        WaitCrs w;
        BldVecDsp();
    }
    img_->SyncSize();
}

void VecWnd::ZoomChosen(int idx) {
    if (idx < 0 || idx >= VecZoomNum) return;
    {
        EngCall c;
        WaitCrs w;
        SetVecZoom(VecZoomTbl[idx]);  // refused with a message when the bitmap would be too large
    }
    zoom_->setCurrentIndex(std::max(0, VecZoomIdx(VecZoom)));
    img_->SyncSize();
}

void VecWnd::ModeChosen(int mode) {
    VecMono = static_cast<uint8_t>(mode == VecDspMono ? VecDspMono : VecDspGrey);
    Rebuild();
}

void VecWnd::ShowThr() { thr_->setText(QString::number(VecThr)); }

void VecWnd::ThrLeft() {
    bool ok = false;
    int v = thr_->text().toInt(&ok);
    if (!ok) {
        ShowThr();
        return;
    }
    v = std::clamp(v, 0, VecThrMax);
    if (v != VecThr) {
        VecThr = v;
        Rebuild();
    }
    ShowThr();
}

void VecWnd::ThrStep(int d) {
    {
        EngCall c;
        WaitCrs w;
        StepVecThr(d);
    }
    img_->update();
    ShowThr();
}

void VecWnd::DpiLeft() {
    bool ok = false;
    unsigned long long v = dpi_->text().toULongLong(&ok);
    if (ok) VecDpi = static_cast<double>(v);
    dpi_->setText(QString::number(static_cast<long long>(VecDpi)));
}

// Both fields or none: a corner needs two coordinates; one left empty puts the map back on the
// origin.
void VecWnd::OrgLeft() {
    bool okX = false, okY = false;
    const double x = orgX_->text().trimmed().toDouble(&okX);
    const double y = orgY_->text().trimmed().toDouble(&okY);
    if (okX && okY && std::isfinite(x) && std::isfinite(y)) {
        VecOrgOn = 1;
        VecOrg[0] = x * 1000.0;
        VecOrg[1] = y * 1000.0;
    } else {
        VecOrgOn = 0;
    }
}

void VecWnd::Enable(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{zoom_, grey_, mono_, thr_, up_, down_, scl_, dpi_, slct_,
                                                      centre_, orgX_, orgY_, run_})
        w->setEnabled(on);
}

void VecWnd::Vectorize() {
    if (tracing_) return;
    // Values typed but not yet left count as left.
    ThrLeft();
    DpiLeft();
    OrgLeft();
    EngCall c;
    if (CrvPart && CrvPart->crvs.n > 0) {
        int a = plt::Get()->MsgBox(QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを削除しますが、よろしいですか？"), "注意", plt::BtnYesNo,
                                   plt::IconWarning);
        if (a != plt::AnsYes) return;
        IntrCmd(CatDrw2D, CmdCrvDelAll);
    }
    tracing_ = true;
    Enable(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    IntrCmd(CatDrw2D, CmdVecTrace);
    QApplication::restoreOverrideCursor();
    Enable(true);
    tracing_ = false;
    // The new curves in sight of the main view, behind this window.
    if (VecMadeCrv > 0)
        IntrCmd(CatDsp, CmdFitView);
    else
        IntrCmd(CatDsp, CmdRdrwAll);
    if (parentWidget()) parentWidget()->update();
}

QSize VecFitArea(const QWidget* frame) {
    QScreen* scr = frame && frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
    QSize a = scr ? scr->availableGeometry().size() : QSize(1024, 768);
    // Over the main window, not past it: the window does not cover what it traces into.
    if (frame && frame->isVisible()) a = a.boundedTo(frame->size());
    return a;
}

}  // namespace shl

bool VecCmd(QWidget* frame, int id) {
    using namespace shl;
    if (id != IdVecCmd) return false;
    Profile& prof = CurProfile();
    FileDlgReq req;
    req.caption = Tx::tr("ファイルを開く");
    req.dir = prof.dir[Profile::DirImg];
    // Every readable type at once first, so that no scan is hidden until the type is changed.
    req.filter = Tx::tr("画像 (*.jpg *.jpeg *.JPG *.bmp *.BMP *.tif *.tiff *.TIF *.TIFF);;"
                        "JPEG (*.jpg *.jpeg *.JPG);;BMP (*.bmp *.BMP);;TIFF (*.tif *.tiff *.TIF *.TIFF)");
    QString path = AskFileName(frame, req);
    if (path.isEmpty()) return true;
    int r;
    {
        EngCall c;
        WaitCrs w;
        r = LdVecImg(path.toUtf8().constData());
    }
    if (r != 0) return true;  // the engine has said why
    const QSize ss = VecFitArea(frame);
    VecWnd w(frame, ss.width(), ss.height());
    ExecDlg(w, QString::fromLatin1(VecDlgId));
    int cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    if (cut >= 0) prof.dir[Profile::DirImg] = path.left(cut);
    return true;
}
