// The auto-vectorize window: the zoom chosen on opening, the threshold edit and spin, the question
// before a trace replaces curves, disabled controls while tracing and the close button cancelling.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QDockWidget>
#include <QScrollBar>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolButton>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "app/sys.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "image/img.h"
#include "image/vecimg.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "chkpanel.h"
#include "core/msg.h"
#include "cmd/crv_chk.h"
#include "vecwnd.h"
#include "vectorize/vec.h"

namespace {

// Answers boxes from a queue (No or OK when empty) and lets the window's events through.
class BoxPlat : public plt::Platform {
public:
    std::deque<int> answers;
    std::vector<std::string> boxes;
    std::function<void()> onPump;
    int MsgBox(const char* text, const char*, int buttons, int) override {
        boxes.emplace_back(text ? text : "");
        if (answers.empty()) return buttons == plt::BtnYesNo ? plt::AnsNo : plt::AnsOk;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void PumpMessages(int) override {
        QCoreApplication::processEvents();
        if (onPump) onPump();
    }
};

class VecWnd : public ::testing::Test {
protected:
    void SetUp() override {
        plt::Set(&plat);
        StartEng();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        DstrCmd(CatSys, CmdSysEnd);
        plt::Set(nullptr);
    }
    // A w x h map with black squares every 10 pixels down the left side, loaded.
    void LoadMap(int w, int h) {
        std::vector<uint8_t> buf(4ULL * w * h, 255);
        for (int y = 2; y + 6 < h; y += 10)
            for (int yy = y; yy < y + 5; ++yy)
                for (int x = 2; x < 7; ++x) std::memset(&buf[4ULL * (static_cast<size_t>(yy) * w + x)], 0, 3);
        ImgRec img{nullptr, w, h, 4LL * w, buf.data()};
        std::string f = dir.filePath("map.bmp").toStdString();
        ASSERT_EQ(WrBmp(f.c_str(), img, {1, false}), 0);
        ASSERT_EQ(LdVecImg(f.c_str()), 0);
    }
    template <class T>
    static T* Ctl(QWidget& w, int id) {
        T* c = w.findChild<T*>(QString::number(id));
        EXPECT_NE(c, nullptr) << id;
        return c;
    }

    BoxPlat plat;
    QTemporaryDir dir;
};

// A 2000 x 1500 map on a 1024 x 768 screen opens at 1/3; resolution and scale start afresh.
TEST_F(VecWnd, OpensAtTheZoomThatFitsWithFreshSettings) {
    LoadMap(2000, 1500);
    VecDpi = 72;
    VecMapScl = 500;
    shl::VecWnd w(nullptr, 1024, 768);
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("ｵｰﾄﾍﾞｸﾀﾗｲｽﾞ･ｳｨﾝﾄﾞｳ"));
    EXPECT_EQ(Ctl<QComboBox>(w, shl::VecCtlZoom)->currentText(), "1/3");
    EXPECT_EQ(w.ImgDrw()->size(), QSize(666, 500));
    EXPECT_EQ(Ctl<QComboBox>(w, shl::VecCtlScl)->currentText(), QString::fromUtf8("1/2万5千"));
    EXPECT_EQ(Ctl<QLineEdit>(w, shl::VecCtlDpi)->text(), "300");
    EXPECT_EQ(VecDpi, 300);
    EXPECT_EQ(VecMapScl, 25000);
    EXPECT_TRUE(Ctl<QRadioButton>(w, shl::VecCtlGrey)->isChecked());
    EXPECT_EQ(Ctl<QLineEdit>(w, shl::VecCtlThr)->text(), "128");
    // Choosing zoom 1 resizes the image window, the scroll area scrolls it.
    emit Ctl<QComboBox>(w, shl::VecCtlZoom)->activated(VecZoomOne);
    EXPECT_FLOAT_EQ(VecZoom, 1);
    EXPECT_EQ(w.ImgDrw()->size(), QSize(2000, 1500));
    EXPECT_LE(w.width(), 1024);
}

// Enter in the threshold edit neither closes the window nor applies the value; leaving the edit
// applies it. The spin steps by one and stops at 0 and 255.
TEST_F(VecWnd, ThresholdEditAndSpin) {
    LoadMap(200, 100);
    shl::VecWnd w(nullptr, 1024, 768);
    w.show();
    QLineEdit* thr = Ctl<QLineEdit>(w, shl::VecCtlThr);
    thr->setText("50");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.result(), 0);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(thr, &out);
    EXPECT_EQ(VecThr, 50);

    QWidget* spin = Ctl<QWidget>(w, shl::VecCtlSpin);
    auto arrows = spin->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton* down = up == arrows[0] ? arrows[1] : arrows[0];
    VecThr = 254;
    up->click();
    up->click();
    EXPECT_EQ(VecThr, 255);
    EXPECT_EQ(thr->text(), "255");
    VecThr = 1;
    down->click();
    down->click();
    EXPECT_EQ(VecThr, 0);
    EXPECT_EQ(thr->text(), "0");
    // The black-and-white display follows the threshold: at 0 the black squares stay black.
    Ctl<QRadioButton>(w, shl::VecCtlMono)->click();
    EXPECT_EQ(VecMono, VecDspMono);
}

// With curves present the trace asks first; No changes nothing, Yes replaces them.
TEST_F(VecWnd, AskBeforeReplacingCurves) {
    LoadMap(200, 100);
    shl::VecWnd w(nullptr, 1024, 768);
    crv* c = NewCrv();
    AddPnt(c, 0, 0, 0);
    AddPnt(c, 10, 10, 0);
    plat.answers.push_back(plt::AnsNo);
    Ctl<QPushButton>(w, shl::VecCtlRun)->click();
    ASSERT_EQ(plat.boxes.size(), 1u);
    EXPECT_EQ(plat.boxes[0], "全てのカーブを削除しますが、よろしいですか？");
    EXPECT_EQ(CrvPart->crvs.n, 1);
    EXPECT_EQ(CrvPart->crvs.a[0], c);
    plat.answers.push_back(plt::AnsYes);
    Ctl<QPushButton>(w, shl::VecCtlRun)->click();
    EXPECT_EQ(CrvPart->crvs.n, 10);  // the ten squares
    EXPECT_NE(CrvPart->crvs.a[0], c);
    EXPECT_TRUE(Ctl<QPushButton>(w, shl::VecCtlRun)->isEnabled());
}

// While tracing every control but 閉じる is disabled; 閉じる stops the trace and closes.
TEST_F(VecWnd, CloseCancelsARunningTrace) {
    LoadMap(200, 100);
    shl::VecWnd w(nullptr, 1024, 768);
    w.show();
    bool runOn = true, zoomOn = true, closeOn = false, seen = false;
    plat.onPump = [&] {
        if (seen) return;
        seen = true;
        runOn = Ctl<QPushButton>(w, shl::VecCtlRun)->isEnabled();
        zoomOn = Ctl<QComboBox>(w, shl::VecCtlZoom)->isEnabled();
        closeOn = Ctl<QPushButton>(w, shl::VecCtlClose)->isEnabled();
        EXPECT_TRUE(w.Tracing());
        Ctl<QPushButton>(w, shl::VecCtlClose)->click();
    };
    Ctl<QPushButton>(w, shl::VecCtlRun)->click();
    EXPECT_FALSE(runOn);
    EXPECT_FALSE(zoomOn);
    EXPECT_TRUE(closeOn);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(CrvPart->crvs.n, 0);   // stopped at the first row
    EXPECT_EQ(RunFlg, 0);
    EXPECT_FALSE(w.Tracing());
}

// The option to select the new curves and the scale list reach the engine.
TEST_F(VecWnd, ScaleAndSelectionOption) {
    LoadMap(200, 100);
    shl::VecWnd w(nullptr, 1024, 768);
    emit Ctl<QComboBox>(w, shl::VecCtlScl)->activated(0);
    EXPECT_EQ(VecMapScl, 500);
    Ctl<QCheckBox>(w, shl::VecCtlSlct)->click();
    EXPECT_EQ(VecSlctCrv, 1);
    Ctl<QPushButton>(w, shl::VecCtlRun)->click();
    EXPECT_EQ(NumCrvSlct, CrvPart->crvs.n);
    EXPECT_GT(NumCrvSlct, 0);
}

// The window was wider than the main window and covered the result: it opens within the main
// window's size (and the screen), the map at the zoom that fits there.
TEST_F(VecWnd, OpensWithinTheMainWindow) {
    LoadMap(2000, 1500);
    QMainWindow frame;
    frame.resize(700, 520);
    frame.show();
    QApplication::processEvents();
    const QSize a = shl::VecFitArea(&frame);
    EXPECT_LE(a.width(), frame.width());
    EXPECT_LE(a.height(), frame.height());
    shl::VecWnd w(&frame, a.width(), a.height());
    EXPECT_LE(w.width(), frame.width());
    EXPECT_LE(w.height(), frame.height());
    EXPECT_LE(w.minimumSizeHint().width(), frame.width()) << "its controls fit as well";
    EXPECT_LT(VecZoom, 1.0f / 3) << "a smaller zoom than the screen's";
}

// Long findings needed a sideways scroll in the check panel: they wrap within its width.
TEST_F(VecWnd, CheckEntriesWrapWithinThePanel) {
    if (!CrvPart) SetCrvPart(TrnPrt);
    for (int k = 0; k < 2; ++k) {
        crv* c = NewCrv();
        AddPnt(c, -100, k == 0 ? 0.0f : -100.0f, 10.0f + 20 * k);
        AddPnt(c, 100, k == 0 ? 0.0f : 100.0f, 10.0f + 20 * k);
        SetCrvHgt(c, 10.0f + 20 * k);
        CalCrvBox(c);
    }
    QMainWindow mw;
    mw.setCentralWidget(new QWidget);
    mw.resize(500, 400);
    ASSERT_TRUE(shl::ChkCmd(&mw, shl::IdChkCmd));
    auto* list = mw.findChild<QListWidget*>(QStringLiteral("ChkList"));
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count(), 1);
    auto* dock = qobject_cast<QDockWidget*>(list->parentWidget());
    ASSERT_NE(dock, nullptr);
    mw.show();
    mw.resizeDocks({dock}, {110}, Qt::Horizontal);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QString text = list->item(0)->text();
    ASSERT_GT(list->fontMetrics().horizontalAdvance(text), list->viewport()->width()) << "a finding wider than the panel";
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    const QRect r = list->visualItemRect(list->item(0));
    EXPECT_LE(r.right(), list->viewport()->width());
    EXPECT_GE(r.height(), 2 * list->fontMetrics().height()) << "on two lines at least";
    EXPECT_EQ(list->item(0)->toolTip(), text);
}

}  // namespace

// The centre-line option and the map's corner (metres) reach the trace: one curve along the
// middle of a line 4 pixels wide, where the sheet lies; the message area counts it.
TEST_F(VecWnd, CentreLinesAtTheMapsCorner) {
    const int w = 120, h = 40;
    std::vector<uint8_t> buf(4ULL * w * h, 255);
    for (int y = 18; y < 22; ++y)
        for (int x = 10; x < 110; ++x) std::memset(&buf[4ULL * (static_cast<size_t>(y) * w + x)], 0, 3);
    ImgRec img{nullptr, w, h, 4LL * w, buf.data()};
    const std::string f = dir.filePath("line.bmp").toStdString();
    ASSERT_EQ(WrBmp(f.c_str(), img, {24, false}), 0);
    ASSERT_EQ(LdVecImg(f.c_str()), 0);
    VecCentre = 0;
    if (!CrvPart) SetCrvPart(TrnPrt);
    shl::VecWnd wnd(nullptr, 1024, 768);
    auto* centre = Ctl<QCheckBox>(wnd, shl::VecCtlCentre);
    centre->click();
    EXPECT_EQ(VecCentre, 1);
    Ctl<QLineEdit>(wnd, shl::VecCtlOrgX)->setText("1000");
    Ctl<QLineEdit>(wnd, shl::VecCtlOrgY)->setText("-20");
    wnd.Vectorize();  // values typed but not left count
    EXPECT_EQ(VecOrgOn, 1);
    EXPECT_DOUBLE_EQ(VecOrg[0], 1000000);
    EXPECT_DOUBLE_EQ(VecOrg[1], -20000);
    ASSERT_EQ(CrvPart->crvs.n, 1);
    const crv* c = CrvPart->crvs.a[0];
    const float p = VecPixSiz(300, 25000);
    EXPECT_NEAR(c->p[1], -20000 + (h - 20) * p, 1.0);
    EXPECT_GT(c->p[0], 1000000);
    EXPECT_EQ(QString::fromUtf8(MsgLin[0]).left(9), QString::fromUtf8("1 本のカーブ ("));
    // An emptied corner field puts the map back on the origin.
    Ctl<QLineEdit>(wnd, shl::VecCtlOrgY)->clear();
    plat.answers.push_back(plt::AnsYes);
    wnd.Vectorize();
    EXPECT_EQ(VecOrgOn, 0);
    VecCentre = 0;
}

// The check lists its findings in a dock panel of the main window; choosing one selects its
// curves and centres the view on the place.
TEST_F(VecWnd, CheckListsFindingsInADock) {
    auto mk = [](float x0, float y0, float x1, float y1, float z) {
        crv* c = NewCrv();
        AddPnt(c, x0, y0, z);
        AddPnt(c, x1, y1, z);
        SetCrvHgt(c, z);
        CalCrvBox(c);
    };
    if (!CrvPart) SetCrvPart(TrnPrt);
    mk(-100, 0, 100, 0, 10);
    mk(50, -100, 50, 100, 30);
    QMainWindow mw;
    ASSERT_TRUE(shl::ChkCmd(&mw, shl::IdChkCmd));
    auto* list = mw.findChild<QListWidget*>(QStringLiteral("ChkList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().contains(QString::fromUtf8("交差")));
    list->setCurrentRow(0);
    EXPECT_EQ(NumCrvSlct, 2);
    EXPECT_NEAR(CurCamObj->view.RotCnt[0], 50, 1e-3);
    // Mended, checked again: the panel says so.
    FreeCrv(CrvPart->crvs.a[1]);
    shl::ChkCmd(&mw, shl::IdChkCmd);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(CrvChkRes.size(), 0u);
}
