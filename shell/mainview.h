// The main view: the one OpenGL window. It owns no model state; it forwards every mouse, key,
// timer and size event to the engine and lets the engine draw.
#pragma once
#include <QImage>
#include <QOpenGLWidget>
#include <QTimer>
#include <functional>
#include <memory>

namespace shl {

class ViewLink;
struct ViewBufs;

class MainView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit MainView(ViewLink* link, QWidget* parent = nullptr);
    ~MainView() override;

    // The 16 ms engine timer; off while a journal drives the view, so ticks come from the journal.
    void SetTimerOn(bool on);
    // One timer event, as the timer sends it.
    void Tick();
    // Size of the view in device pixels (what the engine calls W x H).
    QSize PixelSize() const;
    // The picture the user sees (front buffer, feedback included), top row first.
    QImage Picture();
    // The picture drawn by draw (engine drawing of window 0) at w x h pixels, off the screen: the
    // engine sees a window of that size while draw runs, then the view's own size again. Null
    // without a usable context or when the buffers cannot be made that large.
    QImage RenderOff(QSize size, const std::function<void()>& draw);
    // True once the engine has drawn a picture into a usable context.
    bool HasPicture() const { return glOk_ && drawn_; }

    // Binding of the engine's GL calls (through the platform).
    bool GLReady() const { return glOk_; }
    bool GLMakeCurrent();
    void GLDoneCurrent();
    void GLDrawBuffer(int buf);
    void GLSwap();
    void GLFlushFront();

    // Schedules a full redraw by the engine at the next paint.
    void Invalidate();

    // Told where the pointer is after each move over the view (device pixels), and when it leaves.
    std::function<void(int x, int y, bool in)> onPointer;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    void StorePtr(const QPointF& pos);
    void SyncSize();
    void ReleaseContext();
    void EnsureBufs();
    void Present();

    ViewLink* link_;
    QTimer timer_;
    bool glOk_ = false;      // a usable context exists
    bool needSetup_ = false; // first paint after the context was made runs the engine's set-up
    bool needDraw_ = true;   // the next paint redraws the picture (not only shows it)
    bool inPaint_ = false;
    bool drawn_ = false;     // the engine has drawn a picture since the context was made
    QSize lastSize_{-1, -1};
    QSize offSize_;          // the buffers' size while RenderOff runs (invalid otherwise)
    bool shiftDown_ = false, ctrlDown_ = false;
    int wheelAcc_ = 0;       // wheel angle not yet turned into notches (eighths of a degree)
    std::unique_ptr<ViewBufs> bufs_;
};

// The main view the engine draws into (null while none exists).
MainView* CurView();

}  // namespace shl
