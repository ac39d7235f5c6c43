// The main frame: title, the one view, the status bar with the progress bar, and the receiver of
// the engine's notifications.
#pragma once
#include <QMainWindow>
#include <functional>

class QLabel;
class QProgressBar;

namespace shl {

class MainView;
class ViewLink;

// Units of the curve height shown in the status bar (and chosen in the curve-height dialog).
enum HgtUnit { UnitMm = 0, UnitCm = 1, UnitM = 2 };
// Text of the status bar's height pane for a height in millimetres shown in unit u.
QString HgtPaneText(double mm, int unit);
// Unit of the height pane (the curve-height dialog's unit).
extern int CrvHgtUnit;

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(ViewLink* link, QWidget* parent = nullptr);
    ~MainFrame() override;

    MainView* View() const { return view_; }
    // Title "<document> - Orvane Altimetra"; a new document is "無題".
    void SetDocTitle(const QString& doc);
    // Resizes the frame so that the view measures w x h device pixels.
    void SetViewSize(int w, int h);

    // Engine notifications (progress bar, scale-by-distance dialog).
    void Notify(int id, long wparam);
    QProgressBar* Progress() const { return prg_; }
    void ShowHelp(const QString& text);
    // Shows the current curve height in the status bar's height pane.
    void UpdHgtPane();
    QString HgtPane() const;

    // Called once the frame has closed, before the application ends.
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void RunSclDst();

    MainView* view_;
    QProgressBar* prg_ = nullptr;
    QLabel* hgtPane_ = nullptr;
};

}  // namespace shl
