// The main frame and the Qt platform: title, progress notifications, message boxes, cursors.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <memory>
#include "../support/restore.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "scene/scene.h"
#include "mainframe.h"
#include "mainview.h"
#include "qtplatform.h"
#include "reclink.h"

namespace {

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        // No mode and no changes: what other tests left in the engine must not show here.
        CrntMode = ModeIdle;
        ModFlg = 0;
        frame = std::make_unique<shl::MainFrame>(&link);
        frame->View()->SetTimerOn(false);
        plat.SetFrame(frame.get());
    }
    int Bars() const { return frame->statusBar()->findChildren<QProgressBar*>().size(); }

    RecLink link;
    std::unique_ptr<shl::MainFrame> frame;
    shl::QtPlatform plat;
};

TEST_F(Frame, NewDocumentTitle) {
    EXPECT_EQ(frame->ShownTitle(), QString::fromUtf8("無題 - Orvane Altimetra"));
    frame->SetDocTitle("sample.scn");
    EXPECT_EQ(frame->ShownTitle(), QString::fromUtf8("sample.scn - Orvane Altimetra"));
}

// The title had no sign of unsaved changes: the engine's modified flag now marks it the Qt way.
TEST_F(Frame, TitleMarksUnsavedChanges) {
    Restore<uint8_t> keep(ModFlg);
    frame->SetDocTitle("sample.scn");
    ModFlg = 1;
    frame->UpdateUi();
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("sample.scn[*] - Orvane Altimetra"));
    EXPECT_EQ(frame->ShownTitle(), QString::fromUtf8("sample.scn* - Orvane Altimetra"));
    ModFlg = 0;
    frame->UpdateUi();
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->ShownTitle(), QString::fromUtf8("sample.scn - Orvane Altimetra"));
}

TEST_F(Frame, ProgressBarFollowsTheNotifications) {
    // Steps without a bar do nothing.
    plat.Notify(ID_PRG_DSP, -1);
    plat.Notify(ID_PRG_DEL, -1);
    EXPECT_EQ(Bars(), 0);

    // Two creations in a row leave exactly one bar.
    plat.Notify(ID_PRG_CRE, -1);
    plat.Notify(ID_PRG_CRE, -1);
    ASSERT_EQ(Bars(), 1);
    ASSERT_NE(frame->Progress(), nullptr);
    EXPECT_EQ(frame->Progress()->minimum(), 0);
    EXPECT_EQ(frame->Progress()->maximum(), 100);
    for (int i = 0; i < 51; ++i) plat.Notify(ID_PRG_DSP, -1);
    EXPECT_EQ(frame->Progress()->value(), 51);
    for (int i = 0; i < 80; ++i) plat.Notify(ID_PRG_DSP, -1);
    EXPECT_EQ(frame->Progress()->value(), 100);
    plat.Notify(ID_PRG_DEL, -1);
    EXPECT_EQ(Bars(), 0);
    EXPECT_EQ(frame->Progress(), nullptr);

    // Notifications for windows this application does not have are dropped.
    plat.Notify(ID_UPDT_MSG, 0);
    plat.Notify(ID_UPDT_OBJ_TREE, 3);
    EXPECT_EQ(Bars(), 0);
}

// The bar made the status bar taller, so the view shrank when a long operation began and showed
// black until it ended.
TEST_F(Frame, ProgressBarLeavesTheViewItsSize) {
    frame->show();
    frame->SetViewSize(320, 240);
    QCoreApplication::processEvents();
    const QSize before = frame->View()->size();
    plat.Notify(ID_PRG_CRE, -1);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->View()->size(), before);
    plat.Notify(ID_PRG_DEL, -1);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->View()->size(), before);
}

TEST_F(Frame, ViewSizeIsSetInPixels) {
    frame->show();
    frame->SetViewSize(320, 240);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->View()->PixelSize(), QSize(320, 240));
    frame->SetViewSize(500, 333);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->View()->PixelSize(), QSize(500, 333));
}

// Answers the next message box from inside its own event loop, after noting what it showed.
struct BoxSeen {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

void AnswerNextBox(BoxSeen* seen, const QString& press) {
    QTimer::singleShot(0, [seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(seen, press);
            return;
        }
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) {
                b->click();
                return;
            }
        box->reject();
    });
}

TEST_F(Frame, MessageBoxesShowCaptionTextIconAndButtons) {
    BoxSeen seen;
    AnswerNextBox(&seen, "OK");
    EXPECT_EQ(plat.MsgBox("a.scn ファイルが開けませんでした。", "エラー", plt::BtnOk, plt::IconError),
              plt::AnsOk);
    EXPECT_EQ(seen.caption, QString::fromUtf8("エラー"));
    EXPECT_EQ(seen.text, QString::fromUtf8("a.scn ファイルが開けませんでした。"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList({"OK"}));

    BoxSeen yes;
    AnswerNextBox(&yes, QString::fromUtf8("はい(&Y)"));
    EXPECT_EQ(plat.MsgBox("終了してよろしいですか？", "注意", plt::BtnYesNo, plt::IconWarning), plt::AnsYes);
    EXPECT_EQ(yes.icon, QMessageBox::Warning);
    EXPECT_EQ(yes.buttons.size(), 2);

    BoxSeen no;
    AnswerNextBox(&no, QString::fromUtf8("いいえ(&N)"));
    EXPECT_EQ(plat.MsgBox("x", "注意", plt::BtnYesNo, plt::IconWarning), plt::AnsNo);

    // Closing a question with Escape is No.
    BoxSeen esc;
    AnswerNextBox(&esc, "escape");
    EXPECT_EQ(plat.MsgBox("x", "注意", plt::BtnYesNo, plt::IconWarning), plt::AnsNo);

    BoxSeen info;
    AnswerNextBox(&info, "OK");
    EXPECT_EQ(plat.MsgBox("x", "情報", plt::BtnOk, plt::IconInfo), plt::AnsOk);
    EXPECT_EQ(info.icon, QMessageBox::Information);
}

TEST_F(Frame, CursorTableIndexesSetTheViewCursor) {
    shl::MainView* v = frame->View();
    plat.SetCursor(10);
    EXPECT_EQ(v->cursor().shape(), Qt::WaitCursor);
    plat.SetCursor(9);
    EXPECT_EQ(v->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(v->cursor().hotSpot(), QPoint(15, 15));
    const QImage move = v->cursor().pixmap().toImage();
    plat.SetCursor(5);
    EXPECT_EQ(v->cursor().shape(), Qt::BitmapCursor);
    EXPECT_NE(v->cursor().pixmap().toImage(), move);
    plat.SetCursor(0);
    EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
    plat.SetCursor(99);
    EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
}

TEST(HeightPane, HeightInItsUnitWithTwoDecimalsOnlyWhenNeeded) {
    using shl::HgtPaneText;
    EXPECT_EQ(HgtPaneText(1234.567, LenUnit::M), QString::fromUtf8("現在の高さ 1.23m"));
    EXPECT_EQ(HgtPaneText(2000, LenUnit::M), QString::fromUtf8("現在の高さ 2m"));
    EXPECT_EQ(HgtPaneText(1500, LenUnit::M), QString::fromUtf8("現在の高さ 1.50m"));
    EXPECT_EQ(HgtPaneText(1235, LenUnit::Cm), QString::fromUtf8("現在の高さ 123.50cm"));
    EXPECT_EQ(HgtPaneText(125, LenUnit::M), QString::fromUtf8("現在の高さ 0.13m"));
    EXPECT_EQ(HgtPaneText(-125, LenUnit::M), QString::fromUtf8("現在の高さ -0.13m"));
    EXPECT_EQ(HgtPaneText(-1, LenUnit::M), QString::fromUtf8("現在の高さ 0m"));
    EXPECT_EQ(HgtPaneText(0, LenUnit::Mm), QString::fromUtf8("現在の高さ 0mm"));
    EXPECT_EQ(HgtPaneText(12.5, LenUnit::Mm), QString::fromUtf8("現在の高さ 12.50mm"));
}

TEST_F(Frame, HeightPaneFollowsTheCurveHeight) {
    Restore keep(CrvHgt);
    CrvHgt = 2000;
    frame->UpdHgtPane();
    EXPECT_EQ(frame->HgtPane(), QString::fromUtf8("現在の高さ 2m"));
    CrvHgt = 1234.567f;
    frame->UpdHgtPane();
    EXPECT_EQ(frame->HgtPane(), QString::fromUtf8("現在の高さ 1.23m"));
}

TEST_F(Frame, HelpTextGoesToTheStatusBar) {
    plat.HelpText("Shift 2D view.\n\n  left  : shift\n  right : quit");
    const QString m = frame->statusBar()->currentMessage();
    EXPECT_TRUE(m.startsWith("Shift 2D view.")) << m.toStdString();
    EXPECT_TRUE(m.contains("left  : shift")) << m.toStdString();
    EXPECT_FALSE(m.contains('\n'));
}

}  // namespace
