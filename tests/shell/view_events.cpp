// The main view turns window events into exactly the engine calls of the event table.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <memory>
#include "engcall.h"
#include "mainview.h"
#include "reclink.h"
#include "vkmap.h"

namespace {

bool WaitFor(const std::function<bool()>& cond, int ms = 3000) {
    QDeadlineTimer dl(ms);
    while (!cond()) {
        if (dl.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class ViewEvents : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<shl::MainView>(&link);
        view->SetTimerOn(false);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(WaitFor([&] { return view->isVisible() && view->size() == QSize(400, 300); }));
        QCoreApplication::processEvents();
        link.calls.clear();
    }
    void TearDown() override { view.reset(); }

    void Mouse(QEvent::Type t, Qt::MouseButton b, int x, int y, Qt::MouseButtons held = {}) {
        const QPointF p(x, y);
        QMouseEvent e(t, p, view->mapToGlobal(p), b, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void Key(QEvent::Type t, int key, bool repeat = false, Qt::KeyboardModifiers m = {}) {
        QKeyEvent e(t, key, m, QString(), repeat);
        QCoreApplication::sendEvent(view.get(), &e);
    }

    RecLink link;
    std::unique_ptr<shl::MainView> view;
};

TEST_F(ViewEvents, LeftButtonStoresThePointerThenRoutesAndFlushes) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 12, 34, Qt::LeftButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, 15, 36, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 20, 40);
    EXPECT_EQ(link.Events(), QStringList({"ptr 12 34", "evt 1", "flush", "ptr 15 36", "evt 7", "flush",
                                          "ptr 20 40", "evt 2", "flush"}));
}

TEST_F(ViewEvents, RightPressWithoutModeShowsCurveHeightInsteadOfRouting) {
    link.mode = 0;
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, 5, 6, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, 5, 6);
    EXPECT_EQ(link.Events(),
              QStringList({"ptr 5 6", "cmd 1 101035", "flush", "ptr 5 6", "evt 6", "flush"}));

    link.calls.clear();
    link.mode = 50;  // point input
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, 7, 8, Qt::RightButton);
    EXPECT_EQ(link.Events(), QStringList({"ptr 7 8", "evt 5", "flush"}));
}

TEST_F(ViewEvents, MiddleButtonIsNotAnEngineEvent) {
    Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, 1, 1, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, 1, 1);
    EXPECT_TRUE(link.Events().isEmpty());
}

TEST_F(ViewEvents, DoubleClickArrivesAsSecondPress) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 3, 4, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 3, 4);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, 3, 4, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 3, 4);
    EXPECT_EQ(link.Events().count("evt 1"), 2);
    EXPECT_EQ(link.Events().count("evt 2"), 2);
}

TEST_F(ViewEvents, KeysGoOutAsVirtualKeyCodes) {
    Key(QEvent::KeyPress, Qt::Key_V);
    Key(QEvent::KeyRelease, Qt::Key_V);
    Key(QEvent::KeyPress, Qt::Key_Return);
    Key(QEvent::KeyPress, Qt::Key_F5);
    Key(QEvent::KeyRelease, Qt::Key_F5);
    EXPECT_EQ(link.Events(), QStringList({"key 86", "evt 8", "flush", "key 86", "evt 9", "flush",
                                          "key 13", "evt 8", "flush", "key 116", "evt 8", "flush",
                                          "key 116", "evt 9", "flush"}));
}

TEST_F(ViewEvents, HeldKeyRepeatsAsDownsOnly) {
    Key(QEvent::KeyPress, Qt::Key_Up);
    Key(QEvent::KeyRelease, Qt::Key_Up, true);
    Key(QEvent::KeyPress, Qt::Key_Up, true);
    Key(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(link.Events().count("evt 8"), 2);
    EXPECT_EQ(link.Events().count("evt 9"), 1);
}

TEST_F(ViewEvents, KeysWithoutVirtualCodeAreNotSent) {
    Key(QEvent::KeyPress, Qt::Key_unknown);
    Key(QEvent::KeyPress, Qt::Key_Adiaeresis);
    EXPECT_TRUE(link.Events().isEmpty());
}

TEST_F(ViewEvents, ModifiersHeldWhenFocusLeavesAreReleased) {
    Key(QEvent::KeyPress, Qt::Key_Shift, false, Qt::ShiftModifier);
    Key(QEvent::KeyPress, Qt::Key_Control, false, Qt::ControlModifier);
    link.calls.clear();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(view.get(), &out);
    EXPECT_EQ(link.Events(), QStringList({"key 16", "evt 9", "key 17", "evt 9"}));
    link.calls.clear();
    QCoreApplication::sendEvent(view.get(), &out);
    EXPECT_TRUE(link.Events().isEmpty());
}

TEST_F(ViewEvents, ResizeStoresTheSizeAndResizesOnce) {
    view->resize(300, 200);
    ASSERT_TRUE(WaitFor([&] { return link.Events().contains("size 300 200"); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(link.Events(), QStringList({"size 300 200", "cmd 13 115000"}));
    EXPECT_EQ(view->PixelSize(), QSize(300, 200));
}

TEST_F(ViewEvents, TimerTicksAreEvent10) {
    view->SetTimerOn(true);
    EXPECT_TRUE(WaitFor([&] { return link.Events().count("evt 10") >= 2; }));
    view->SetTimerOn(false);
    view->Tick();
    EXPECT_EQ(link.Events().last(), "evt 10");
}

TEST_F(ViewEvents, InputIsDroppedWhileAnEngineCallRuns) {
    {
        shl::EngCall busy;
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 1, 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, Qt::NoButton, 2, 2, Qt::LeftButton);
        Key(QEvent::KeyPress, Qt::Key_A);
        view->Tick();
    }
    EXPECT_TRUE(link.Events().isEmpty());
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 1, 2, Qt::LeftButton);
    EXPECT_EQ(link.Events().count("evt 1"), 1);
}

TEST_F(ViewEvents, MoveLeavesAFocusedEditFieldAlone) {
    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    if (!WaitFor([&] { return QApplication::focusWidget() == &edit; }, 2000))
        GTEST_SKIP() << "the window system gives no focus to the edit field";
    link.calls.clear();
    Mouse(QEvent::MouseMove, Qt::NoButton, 9, 9);
    EXPECT_TRUE(link.Events().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), &edit);
    // A button press still takes the focus and reaches the engine.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 9, 9, Qt::LeftButton);
    EXPECT_EQ(link.Events(), QStringList({"ptr 9 9", "evt 1", "flush"}));
}

// The wheel zooms at the pointer: a notch is one zoom command after the pointer's position; a
// fine wheel's small steps add up to notches; away from the screen zooms out.
TEST_F(ViewEvents, WheelNotchesZoomAtThePointer) {
    auto wheel = [&](int x, int y, int dy) {
        const QPointF p(x, y);
        QWheelEvent e(p, view->mapToGlobal(p), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.get(), &e);
    };
    wheel(50, 60, 120);
    EXPECT_EQ(link.Events(), QStringList({"ptr 50 60", "cmd 13 115231", "flush"}));
    link.calls.clear();
    wheel(70, 80, 60);
    EXPECT_TRUE(link.Events().isEmpty()) << "half a notch waits";
    wheel(70, 80, 60);
    wheel(10, 20, -240);
    EXPECT_EQ(link.Events(), QStringList({"ptr 70 80", "cmd 13 115231", "flush", "ptr 10 20",
                                       "cmd 13 115232", "cmd 13 115232", "flush"}));
}

TEST(VirtualKeys, QtKeysMapToTheVirtualKeySet) {
    using shl::QtKeyToVk;
    EXPECT_EQ(QtKeyToVk(Qt::Key_A, 0), 65);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(QtKeyToVk(Qt::Key_0, 0), 48);
    EXPECT_EQ(QtKeyToVk(Qt::Key_9, 0), 57);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Return, 0), 13);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Shift, 0), 16);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Control, 0), 17);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Escape, 0), 27);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Space, 0), 32);
    EXPECT_EQ(QtKeyToVk(Qt::Key_F1, 0), 112);
    EXPECT_EQ(QtKeyToVk(Qt::Key_F12, 0), 123);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Left, 0), 37);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Up, 0), 38);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Right, 0), 39);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Down, 0), 40);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Delete, 0), 46);
    // The keypad has codes of its own; shifted digits are their digit key.
    EXPECT_EQ(QtKeyToVk(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Plus, 0), 187);
    EXPECT_EQ(QtKeyToVk(Qt::Key_Exclam, Qt::ShiftModifier), '1');
    EXPECT_EQ(QtKeyToVk(Qt::Key_unknown, 0), 0);
}

TEST(VirtualKeys, EveryCodeAJournalSendsComesBackThroughQt) {
    int same = 0;
    for (int vk = 1; vk < 256; ++vk) {
        int mods = 0;
        const int key = shl::VkToQtKey(vk, &mods);
        if (!key) continue;
        EXPECT_EQ(shl::QtKeyToVk(key, mods), vk) << "vk " << vk;
        ++same;
    }
    EXPECT_GT(same, 100);
    int mods = 0;
    EXPECT_EQ(shl::VkToQtKey(0xff, &mods), 0);
}

}  // namespace
