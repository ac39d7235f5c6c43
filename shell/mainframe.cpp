#include "mainframe.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include "core/msg.h"
#include "curves/crv.h"
#include "cmdroute.h"
#include "mainview.h"

namespace shl {

int CrvHgtUnit = UnitM;

QString HgtPaneText(double mm, int unit) {
    static const char* const kUnit[] = {"mm", "cm", "m"};
    static const double kDiv[] = {1.0, 10.0, 1000.0};
    if (unit < UnitMm || unit > UnitM) unit = UnitM;
    // Two decimals, halves away from zero.
    const double v = std::round(mm / kDiv[unit] * 100.0) / 100.0;
    const bool frac = std::llround(std::fabs(v) * 100.0) % 100 != 0;
    return QString::asprintf(frac ? "現在の高さ %.2f%s" : "現在の高さ %.0f%s", v == 0 ? 0.0 : v,
                             kUnit[unit]);
}

MainFrame::MainFrame(ViewLink* link, QWidget* parent) : QMainWindow(parent) {
    view_ = new MainView(link, this);
    setCentralWidget(view_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* quit = file->addAction(QStringLiteral("アプリケーションの終了(&X)"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    hgtPane_ = new QLabel(statusBar());
    hgtPane_->setMinimumWidth(
        hgtPane_->fontMetrics().horizontalAdvance(QStringLiteral("現在の高さ 00000")) + 8);
    statusBar()->addPermanentWidget(hgtPane_);
    UpdHgtPane();
    // The pane follows the engine's value while the application is idle.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &MainFrame::UpdHgtPane);
    idle->start(250);
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
        if (prg_ && prg_->value() < prg_->maximum()) {
            prg_->setValue(prg_->value() + 1);
            // Long operations may not dispatch paint messages: show the step now.
            prg_->repaint();
        }
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

void MainFrame::RunSclDst() { SclDstDlg(this); }

void MainFrame::UpdHgtPane() {
    const QString t = HgtPaneText(CrvHgt, CrvHgtUnit);
    if (hgtPane_->text() != t) hgtPane_->setText(t);
}

QString MainFrame::HgtPane() const { return hgtPane_->text(); }

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
