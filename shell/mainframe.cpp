#include "mainframe.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>
#include "core/msg.h"
#include "mainview.h"

namespace shl {

MainFrame::MainFrame(ViewLink* link, QWidget* parent) : QMainWindow(parent) {
    view_ = new MainView(link, this);
    setCentralWidget(view_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* quit = file->addAction(QStringLiteral("アプリケーションの終了(&X)"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    statusBar()->showMessage(QStringLiteral("レディ"));
    SetDocTitle(QString());
    // The engine's default window size.
    resize(1024, 800);
}

MainFrame::~MainFrame() = default;

void MainFrame::SetDocTitle(const QString& doc) {
    setWindowTitle((doc.isEmpty() ? QStringLiteral("無題") : doc) + QStringLiteral(" - Orvane Altimetra"));
}

void MainFrame::SetViewSize(int w, int h) {
    const qreal r = view_->devicePixelRatioF();
    const int lw = int(std::ceil(w / r)), lh = int(std::ceil(h / r));
    const QSize extra = size() - view_->size();
    resize(lw + extra.width(), lh + extra.height());
    // The view may be held to its old size until the layout runs.
    QApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    if (view_->size() != QSize(lw, lh)) {
        const QSize again = size() + (QSize(lw, lh) - view_->size());
        resize(again);
        QApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    }
}

void MainFrame::Notify(int id, long wparam) {
    (void)wparam;
    switch (id) {
    case ID_PRG_CRE:
        if (prg_) {
            statusBar()->removeWidget(prg_);
            delete prg_;
        }
        prg_ = new QProgressBar(statusBar());
        prg_->setRange(0, 100);
        prg_->setValue(0);
        prg_->setTextVisible(true);
        statusBar()->clearMessage();
        statusBar()->addWidget(prg_, 1);
        prg_->show();
        break;
    case ID_PRG_DSP:
        if (prg_ && prg_->value() < prg_->maximum()) prg_->setValue(prg_->value() + 1);
        break;
    case ID_PRG_DEL:
        if (prg_) {
            prg_->setValue(0);
            statusBar()->removeWidget(prg_);
            delete prg_;
            prg_ = nullptr;
        }
        break;
    case ID_DSP_SCL_DST_MEN:
        RunSclDst();
        break;
    default:
        // The other notifications address windows this application does not have.
        break;
    }
}

void MainFrame::RunSclDst() {
    QDialog dlg(this);
    dlg.setWindowTitle(QStringLiteral("距離を指定しｶｰﾌﾞをスケール"));
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(new QLabel(QStringLiteral("距離による拡大・縮小はまだ使えません。"), &dlg));
    auto* bb = new QDialogButtonBox(QDialogButtonBox::Close, &dlg);
    connect(bb, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    lay->addWidget(bb);
    dlg.exec();
}

void MainFrame::ShowHelp(const QString& text) {
    QString t = text.trimmed();
    t.replace(QStringLiteral("\n\n"), QStringLiteral("  —  "));
    t.replace('\n', QStringLiteral(";  "));
    if (t.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(t);
}

void MainFrame::closeEvent(QCloseEvent* e) {
    e->accept();
    if (onClose) onClose();
}

}  // namespace shl
