// The main frame: menu bar, five toolbars, the status bar with the height pane and the progress
// bar, the routing of every menu and toolbar command, drops of files, printing, and the receiver of
// the engine's notifications.
#pragma once
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "core/unit.h"

class QAction;
class QActionGroup;
class QLabel;
class QPushButton;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QToolBar;
class QUrl;

namespace shl {

class MainView;
class ViewLink;

// Text of the status bar's height pane for a height in millimetres shown in unit u (mm, cm or m;
// another is shown in m).
QString HgtPaneText(double mm, LenUnit unit);
// The height alone as the pane shows it ("1.23m").
QString HgtValText(double mm, LenUnit unit);
// Name of an undo step in the Edit menu: the menu text of the command that made it (cmd, an
// engine command code), else a name of its kind.
QString UndoStepName(int kind, int cmd);
// Unit of the height pane (the curve-height dialog's unit).
extern LenUnit CrvHgtUnit;
// Text of the pointer pane for PtrMdlPnt's answer n and point p (mm): plan x and y in the
// region dialog's unit, the height in the height unit when n is 2 ("no height" with noHgt: a
// post the generation left without one), nothing when n is 0; crvZ, when given, the height of
// the contour under the pointer.
QString PtrPaneText(int n, const double p[3], LenUnit xyUnit, LenUnit zUnit, bool noHgt = false,
                    const double* crvZ = nullptr);

// The view pane: the vertical exaggeration and the document's CRS (its name from the WKT, with
// its EPSG code; "local" for a document without real-world coordinates).
QString CrsText(bool known, const std::string& wkt);
QString ViewPaneText(double exag, bool known, const std::string& wkt);

// Update handlers: whether command id is enabled, and checked, in the engine's present state
// (the view dimension, the undo state, the three Edit switches and the current mode).
bool CmdEnabled(int id);
bool CmdChecked(int id);

// The maker's web page (Help menu).
extern const char* const HomePageUrl;

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(ViewLink* link, QWidget* parent = nullptr);
    ~MainFrame() override;

    MainView* View() const { return view_; }
    // Title "<document> - Orvane Altimetra"; a new document is "無題". The document's name
    // carries Qt's modified mark, which UpdateUi sets from the engine's modified flag.
    void SetDocTitle(const QString& doc);
    // The title as the window manager shows it (the modified mark resolved).
    QString ShownTitle() const;
    // Resizes the frame so that the view measures w x h device pixels.
    void SetViewSize(int w, int h);

    // Engine notifications (progress bar, scale-by-distance dialog).
    void Notify(int id, long wparam);
    QProgressBar* Progress() const { return prg_; }
    // The Cancel button beside the bar, shown while the running work can be cancelled; null
    // without a bar.
    QPushButton* CancelButton() const { return cancel_; }
    // Cancel and Esc: clears the running flag, so that the work stops at its next question.
    // False when nothing cancellable runs.
    bool CancelRun();
    // The message log dock's text (empty before the first message).
    QString MsgLog() const;
    void ShowHelp(const QString& text);
    // Shows the current curve height in the status bar's height pane.
    void UpdHgtPane();
    QString HgtPane() const;
    // The pointer pane: where the pointer is over the view (x, y in device pixels of the view).
    void UpdPtrPane(int x, int y, bool in);
    QString PtrPane() const;
    QString ViewPane() const;
    // What the message pane shows now (a help text, or the idle text).
    QString StatusText() const;

    // The action of command id (shared by its menu item and toolbar button); null if none.
    QAction* Action(int id) const;
    // Runs the update handlers: enables, checks and greys every action for the present state;
    // the modified mark of the title and the mode pane of the status bar follow the engine.
    void UpdateUi();
    // Ids of the menu bar in menu order, then those only on toolbars.
    std::vector<int> MenuIds() const;
    QList<QToolBar*> Toolbars() const { return bars_; }

    // The recent-file list shown in the File menu (at most four paths, the newest first).
    void SetRecentFiles(const QStringList& paths);
    QStringList RecentFiles() const { return recent_; }

    // The printer the print commands share (wide pages by default).
    QPrinter& Printer();

    // Opens the browser on an address; tests and journals replace it.
    std::function<bool(const QUrl&)> openUrl;
    // Called once the frame has closed, before the application ends.
    std::function<void()> onClose;

public slots:
    // A menu item, toolbar button or accelerator: the document flows, then the dialogs, then the
    // frame's own handling.
    void OnCmd(int id);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // A new interface language (the preferences): every text again from the tables.
    void changeEvent(QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolbars();
    void BuildStatusBar();
    bool OwnCmd(int id);
    void UpdModePane();
    void UpdViewPane();
    void ShowHelpTopics();
    void Retranslate();

    MainView* view_;
    std::map<int, QAction*> acts_;
    QActionGroup* methods_ = nullptr;
    QList<QToolBar*> bars_;
    QStringList recent_;
    QString docTitle_;  // the document's name in the title (empty: a new document)
    QProgressBar* prg_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    void LogMsgs(bool show);
    QLabel* idle_ = nullptr;
    QLabel* hgtPane_ = nullptr;
    QLabel* ptrPane_ = nullptr;
    QLabel* viewPane_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace shl
