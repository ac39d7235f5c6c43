// The view's GL context exists headless (Mesa under a virtual X server), the picture is the
// background, and drawing into the front buffer shows at once and is gone after the next redraw.
#include <gtest/gtest.h>
#include <GL/gl.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <memory>
#include "../support/restore.h"
#include "mainframe.h"
#include "mainview.h"
#include "app/cats.h"
#include "core/cmd.h"
#include "core/state.h"
#include "display/drw.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "qtplatform.h"
#include "viewlink.h"

namespace {

bool WaitFor(const std::function<bool()>& cond, int ms = 5000) {
    QDeadlineTimer dl(ms);
    while (!cond()) {
        if (dl.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xffffff; }

class GLView : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegCats();
        SetPrmDef();
        StoPrm();
        AplPrm();
        DstrCmd(CatSys, CmdSysIni);
        IniScn();
        IniTrnScn();
    }
    static void TearDownTestSuite() { DstrCmd(CatSys, CmdSysEnd); }

    void SetUp() override {
        // A plain picture: no grid, no axes.
        GridOn = 0;
        AxisOn = 0;
        plt::Set(&plat);
        frame = std::make_unique<shl::MainFrame>(&link);
        plat.SetFrame(frame.get());
        frame->View()->SetTimerOn(false);
        frame->show();
        frame->SetViewSize(160, 120);
        ASSERT_TRUE(WaitFor([&] { return frame->View()->GLReady(); }))
            << "no OpenGL context for the view";
    }
    void TearDown() override {
        plat.SetFrame(nullptr);
        frame.reset();
        plt::Set(nullptr);
        GridOn = 1;
        AxisOn = 1;
    }

    shl::QtPlatform plat;
    shl::EngineLink link;
    std::unique_ptr<shl::MainFrame> frame;
};

TEST_F(GLView, ClearedViewReadsBackTheBackground) {
    const QImage img = frame->View()->Picture();
    ASSERT_EQ(img.size(), QSize(160, 120));
    const QRgb bg = qRgb(0, 74, 74) & 0xffffff;
    EXPECT_EQ(At(img, 0, 0), bg);
    EXPECT_EQ(At(img, 80, 60), bg);
    EXPECT_EQ(At(img, 159, 119), bg);
}

TEST_F(GLView, FrontBufferDrawingShowsAtOnceAndGoesAtTheNextRedraw) {
    shl::MainView* v = frame->View();
    (void)v->Picture();  // first paint done
    // What a mode's feedback does: draw into the front buffer, flush.
    ASSERT_TRUE(plat.GLMakeCurrent(0));
    plat.GLDrawBuffer(0, plt::BufFront);
    glEnable(GL_SCISSOR_TEST);
    glScissor(10, 10, 20, 20);  // GL rows count from the bottom
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    plat.GLFlushFront(0);
    QImage img = v->Picture();
    EXPECT_EQ(At(img, 15, 120 - 1 - 15), qRgb(255, 0, 0) & 0xffffff);
    EXPECT_EQ(At(img, 80, 60), qRgb(0, 74, 74) & 0xffffff);

    // Showing the picture again (an expose) keeps the feedback ...
    img = v->Picture();
    EXPECT_EQ(At(img, 15, 120 - 1 - 15), qRgb(255, 0, 0) & 0xffffff);
    // ... a redraw removes it.
    v->Invalidate();
    img = v->Picture();
    EXPECT_EQ(At(img, 15, 120 - 1 - 15), qRgb(0, 74, 74) & 0xffffff);
}

TEST_F(GLView, BackgroundIsTheEngineBackgroundColour) {
    Restore keep(BgCol);
    BgCol[0] = 200;
    BgCol[1] = 100;
    BgCol[2] = 50;
    frame->View()->Invalidate();
    const QImage img = frame->View()->Picture();
    EXPECT_EQ(At(img, 80, 60), qRgb(200, 100, 50) & 0xffffff);
}

TEST_F(GLView, FontListsDrawTextIntoTheFrontBuffer) {
    shl::MainView* v = frame->View();
    (void)v->Picture();
    ASSERT_TRUE(plat.GLFontLists(0, 0, 128, 1000));
    ASSERT_TRUE(plat.GLMakeCurrent(0));
    plat.GLDrawBuffer(0, plt::BufFront);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 160, 0, 120, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3ub(255, 255, 0);
    glRasterPos2i(10, 50);
    glListBase(1000);
    const char text[] = "WWW";
    glCallLists(3, GL_UNSIGNED_BYTE, text);
    plat.GLFlushFront(0);
    const QImage img = v->Picture();
    int yellow = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            if (At(img, x, y) == (qRgb(255, 255, 0) & 0xffffff)) ++yellow;
    EXPECT_GT(yellow, 10);
}

}  // namespace
