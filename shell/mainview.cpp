#include "mainview.h"
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <cmath>
#include <vector>
#include "engcall.h"
#include "viewlink.h"
#include "vkmap.h"

#include "platform/glbuf.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"

namespace shl {

struct ViewBufs {
    glbuf::Bufs b;
};

namespace {
MainView* curView = nullptr;

void* GetProc(const char* name) {
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

// An edit field of another window keeps the focus while the pointer crosses the view.
bool IsEditField(QWidget* w) {
    if (!w) return false;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
        qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
        return true;
    auto* cb = qobject_cast<QComboBox*>(w);
    return cb && cb->isEditable();
}
}  // namespace

MainView* CurView() { return curView; }

MainView::MainView(ViewLink* link, QWidget* parent)
    : QOpenGLWidget(parent), link_(link), bufs_(std::make_unique<ViewBufs>()) {
    // Fixed-function drawing needs a compatibility context; depth for the 3D view.
    QSurfaceFormat fmt = format();
    fmt.setRenderableType(QSurfaceFormat::OpenGL);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setVersion(2, 1);
    fmt.setDepthBufferSize(24);
    fmt.setStencilBufferSize(0);
    fmt.setSamples(0);
    setFormat(fmt);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(16, 16);
    timer_.setInterval(16);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &MainView::Tick);
    timer_.start();
    curView = this;
}

MainView::~MainView() {
    ReleaseContext();
    // The base class destroys the context after this object is gone: no call back into it.
    if (QOpenGLContext* ctx = context()) disconnect(ctx, nullptr, this, nullptr);
    if (curView == this) curView = nullptr;
}

void MainView::SetTimerOn(bool on) {
    if (on)
        timer_.start();
    else
        timer_.stop();
}

void MainView::Tick() {
    if (EngDepth() > 0) return;
    link_->IntrEvt(EVT_TIMER);
}

QSize MainView::PixelSize() const {
    const qreal r = devicePixelRatioF();
    return QSize(std::max(1, int(std::lround(width() * r))), std::max(1, int(std::lround(height() * r))));
}

void MainView::Invalidate() {
    needDraw_ = true;
    update();
}

// ---- GL context and buffers -------------------------------------------------------------------

void MainView::initializeGL() {
    QOpenGLContext* ctx = context();
    if (!ctx || !ctx->isValid()) return;
    connect(ctx, &QOpenGLContext::aboutToBeDestroyed, this, &MainView::ReleaseContext,
            Qt::UniqueConnection);
    if (!glbuf::Init(&GetProc)) {
        qWarning("altimetra: the OpenGL implementation has no framebuffer objects");
        return;
    }
    glOk_ = true;
    needSetup_ = true;
    needDraw_ = true;
    EnsureBufs();
    inPaint_ = true;  // the context stays current until Qt's first paint
    link_->ViewOpen(true);
    inPaint_ = false;
}

void MainView::ReleaseContext() {
    if (!glOk_) return;
    makeCurrent();
    link_->ViewOpen(false);
    makeCurrent();
    glbuf::Free(bufs_->b);
    glOk_ = false;
    drawn_ = false;
    doneCurrent();
}

void MainView::EnsureBufs() {
    const QSize s = offSize_.isValid() ? offSize_ : PixelSize();
    if (bufs_->b.w != s.width() || bufs_->b.h != s.height() || !bufs_->b.fbo[0]) {
        if (!glbuf::Resize(bufs_->b, s.width(), s.height())) {
            qWarning("altimetra: cannot make the view's buffers");
            glOk_ = false;
            return;
        }
        needDraw_ = true;
    }
}

bool MainView::GLMakeCurrent() {
    if (!glOk_) return false;
    makeCurrent();
    EnsureBufs();
    glbuf::Rebind(bufs_->b);
    return glOk_;
}

void MainView::GLDoneCurrent() {
    // Inside a paint the context must stay current for the rest of it.
    if (glOk_ && !inPaint_) doneCurrent();
}

void MainView::GLDrawBuffer(int buf) {
    if (!GLMakeCurrent()) return;
    glbuf::Bind(bufs_->b, buf);
}

void MainView::GLSwap() {
    if (!GLMakeCurrent()) return;
    glbuf::Swap(bufs_->b);
    if (!inPaint_) update();
}

void MainView::GLFlushFront() {
    if (!glOk_) return;
    if (!inPaint_) update();
}

void MainView::resizeGL(int, int) { needDraw_ = true; }

void MainView::Present() {
    const QSize s = PixelSize();
    glbuf::BlitFront(bufs_->b, defaultFramebufferObject(), s.width(), s.height());
}

void MainView::paintGL() {
    if (!glOk_) {
        // No usable context: show the plain background so the window is not garbage.
        QOpenGLFunctions* f = QOpenGLContext::currentContext()->functions();
        f->glClearColor(0, 74 / 255.f, 74 / 255.f, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    inPaint_ = true;
    EnsureBufs();
    if (EngDepth() == 0) {
        if (needSetup_) {
            needSetup_ = false;
            link_->SetupWin();
            needDraw_ = true;
        }
        if (needDraw_) {
            needDraw_ = false;
            link_->PaintWin();
            drawn_ = true;
        }
    } else if (needSetup_ || needDraw_) {
        // The engine is busy (a long operation pumping messages): show the last picture now and
        // redraw once it returns.
        QPointer<MainView> self(this);
        WhenIdle([self] {
            if (self) self->update();
        });
    }
    makeCurrent();
    Present();
    inPaint_ = false;
}

// ---- events -----------------------------------------------------------------------------------

void MainView::SyncSize() {
    const QSize s = PixelSize();
    if (s == lastSize_) return;
    lastSize_ = s;
    link_->SetWinSiz(s.width(), s.height());
    link_->IntrCmd(CatDsp, CmdDspResize);
    needDraw_ = true;
}

void MainView::resizeEvent(QResizeEvent* e) {
    if (EngDepth() == 0) {
        SyncSize();
    } else {
        QPointer<MainView> self(this);
        WhenIdle([self] {
            if (!self) return;
            self->SyncSize();
            self->update();
        });
    }
    QOpenGLWidget::resizeEvent(e);
}

void MainView::StorePtr(const QPointF& pos) {
    const qreal r = devicePixelRatioF();
    link_->SetPtrPix(int(std::floor(pos.x() * r)), int(std::floor(pos.y() * r)));
}

void MainView::mousePressEvent(QMouseEvent* e) {
    if (EngDepth() > 0) return;
    if (e->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        StorePtr(e->position());
        link_->IntrEvt(EVT_LDOWN);
        link_->Flush();
    } else if (e->button() == Qt::RightButton) {
        StorePtr(e->position());
        if (link_->CurMode() != 0)
            link_->IntrEvt(EVT_RDOWN);
        else
            link_->IntrCmd(CatDrw2D, CmdCrvHgtShow);
        link_->Flush();
    }
}

void MainView::mouseReleaseEvent(QMouseEvent* e) {
    if (EngDepth() > 0) return;
    if (e->button() == Qt::LeftButton) {
        StorePtr(e->position());
        link_->IntrEvt(EVT_LUP);
        link_->Flush();
    } else if (e->button() == Qt::RightButton) {
        StorePtr(e->position());
        link_->IntrEvt(EVT_RUP);
        link_->Flush();
    }
}

void MainView::mouseMoveEvent(QMouseEvent* e) {
    if (EngDepth() > 0) return;
    QWidget* fw = QApplication::focusWidget();
    if (fw && fw != this && IsEditField(fw)) {
        QOpenGLWidget::mouseMoveEvent(e);
        return;
    }
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    StorePtr(e->position());
    link_->IntrEvt(EVT_MOVE);
    link_->Flush();
    if (onPointer) {
        const qreal r = devicePixelRatioF();
        onPointer(int(std::floor(e->position().x() * r)), int(std::floor(e->position().y() * r)), true);
    }
}

void MainView::leaveEvent(QEvent* e) {
    if (onPointer) onPointer(0, 0, false);
    QOpenGLWidget::leaveEvent(e);
}

// The wheel zooms at the pointer, one step per notch (120 eighths of a degree); a fine wheel's
// smaller steps add up to notches.
void MainView::wheelEvent(QWheelEvent* e) {
    if (EngDepth() > 0) {
        e->ignore();
        return;
    }
    wheelAcc_ += e->angleDelta().y();
    const int notches = wheelAcc_ / 120;
    wheelAcc_ -= notches * 120;
    if (notches != 0) {
        StorePtr(e->position());
        for (int i = 0; i < std::abs(notches); ++i)
            link_->IntrCmd(CatDsp, notches > 0 ? CmdWhlIn : CmdWhlOut);
        link_->Flush();
        if (onPointer) {
            const qreal r = devicePixelRatioF();
            onPointer(int(std::floor(e->position().x() * r)), int(std::floor(e->position().y() * r)), true);
        }
    }
    e->accept();
}

void MainView::keyPressEvent(QKeyEvent* e) {
    const int vk = QtKeyToVk(e->key(), int(e->modifiers()));
    if (vk == 0 || EngDepth() > 0) {
        QOpenGLWidget::keyPressEvent(e);
        return;
    }
    if (vk == 16) shiftDown_ = true;
    if (vk == 17) ctrlDown_ = true;
    link_->SetPtrKey(vk);
    link_->IntrEvt(EVT_KEYDOWN);
    link_->Flush();
}

void MainView::keyReleaseEvent(QKeyEvent* e) {
    const int vk = QtKeyToVk(e->key(), int(e->modifiers()));
    // A held key repeats as downs only, as the engine expects.
    if (vk == 0 || e->isAutoRepeat() || EngDepth() > 0) {
        QOpenGLWidget::keyReleaseEvent(e);
        return;
    }
    if (vk == 16) shiftDown_ = false;
    if (vk == 17) ctrlDown_ = false;
    link_->SetPtrKey(vk);
    link_->IntrEvt(EVT_KEYUP);
    link_->Flush();
}

void MainView::focusOutEvent(QFocusEvent* e) {
    // A modifier released in another window would otherwise stay down in the engine.
    if (EngDepth() == 0) {
        if (shiftDown_) {
            shiftDown_ = false;
            link_->SetPtrKey(16);
            link_->IntrEvt(EVT_KEYUP);
        }
        if (ctrlDown_) {
            ctrlDown_ = false;
            link_->SetPtrKey(17);
            link_->IntrEvt(EVT_KEYUP);
        }
    }
    QOpenGLWidget::focusOutEvent(e);
}

// Tab is a key of the view, not a focus move.
bool MainView::focusNextPrevChild(bool) { return false; }

QImage MainView::RenderOff(QSize size, const std::function<void()>& draw) {
    if (!glOk_ || size.isEmpty()) return QImage();
    offSize_ = size;
    makeCurrent();
    EnsureBufs();
    QImage img;
    if (glOk_) {
        link_->SetWinSiz(size.width(), size.height());
        link_->IntrCmd(CatDsp, CmdDspResize);
        draw();
        std::vector<uint8_t> rgba;
        makeCurrent();
        if (glOk_ && glbuf::Read(bufs_->b, glbuf::Front, rgba) &&
            rgba.size() == size_t(size.width()) * size_t(size.height()) * 4)
            img = QImage(rgba.data(), size.width(), size.height(), QImage::Format_RGBA8888)
                      .mirrored()
                      .convertToFormat(QImage::Format_RGB888);
    }
    // Back to the window's own size; the caller puts its view back and redraws.
    offSize_ = QSize();
    if (!glOk_) {
        // The large buffers failed: make the window's own again.
        glOk_ = true;
        makeCurrent();
        EnsureBufs();
    } else {
        makeCurrent();
        EnsureBufs();
    }
    lastSize_ = QSize(-1, -1);
    SyncSize();
    Invalidate();
    return img;
}

QImage MainView::Picture() {
    QImage img = grabFramebuffer();
    return img.convertToFormat(QImage::Format_RGB888);
}

}  // namespace shl
