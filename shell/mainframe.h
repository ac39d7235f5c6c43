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

    // Called once the frame has closed, before the application ends.
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void RunSclDst();

    MainView* view_;
    QProgressBar* prg_ = nullptr;
};

}  // namespace shl
