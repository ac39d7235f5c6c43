// The auto-vectorize command (等高線 > オートベクタライズ) and its window: load a scanned map,
// look at it in grey or black and white, choose threshold, zoom, scale and resolution, and trace
// it into contour curves.
#pragma once
#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;

namespace shl {

constexpr int IdVecCmd = 32819;   // menu command id
constexpr const char* VecDlgId = "178";

// Control ids of the window (object names, for journals and tests).
enum VecCtl {
    VecCtlOk = 1, VecCtlClose = 2, VecCtlGrey = 1005, VecCtlMono = 1006, VecCtlZoom = 1008,
    VecCtlThr = 1009, VecCtlSpin = 1011, VecCtlScl = 1014, VecCtlDpi = 1016, VecCtlSlct = 1017,
    VecCtlRun = 1018, VecCtlCentre = 1019, VecCtlOrgX = 1020, VecCtlOrgY = 1021,
};

// The image window: paints the display bitmap at its top-left corner, at the bitmap's size.
class VecImgDrw : public QWidget {
public:
    explicit VecImgDrw(QWidget* parent);
    void SyncSize();  // the bitmap's size
protected:
    void paintEvent(QPaintEvent* e) override;
};

// The window (modal, resizable). The loaded image must exist when it opens.
class VecWnd : public QDialog {
public:
    // screenW x screenH: the screen the zoom must fit on.
    VecWnd(QWidget* parent, int screenW, int screenH);

    bool Tracing() const { return tracing_; }
    VecImgDrw* ImgDrw() const { return img_; }
    QScrollArea* ScImg() const { return sc_; }

    void Vectorize();  // button 1018
    void accept() override;  // Enter: focus to the window, nothing closes
    void reject() override;  // 閉じる, Esc, the close box: cancels a running trace

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ZoomChosen(int idx);
    void ModeChosen(int mode);
    void ThrLeft();        // the threshold edit lost the focus
    void ThrStep(int d);   // one click of the spin
    void DpiLeft();
    void OrgLeft();        // either corner field lost the focus
    void Rebuild();        // with the wait cursor
    void ShowThr();
    void Enable(bool on);

    QComboBox* zoom_;
    QRadioButton* grey_;
    QRadioButton* mono_;
    QLineEdit* thr_;
    QToolButton* up_;
    QToolButton* down_;
    QComboBox* scl_;
    QLineEdit* dpi_;
    QCheckBox* slct_;
    QCheckBox* centre_;
    QLineEdit* orgX_;
    QLineEdit* orgY_;
    QPushButton* run_;
    QPushButton* close_;
    QPushButton* ok_;
    QScrollArea* sc_;
    VecImgDrw* img_;
    bool tracing_ = false;
};

// The room the auto-vectorize window may take: the main window's size within the screen's
// available area (the screen's alone without a shown frame).
QSize VecFitArea(const QWidget* frame);

}  // namespace shl

// Menu routing, beside DocCmd and DlgCmd (cmdroute.h): runs the auto-vectorize command for
// shl::IdVecCmd (file dialog in the image directory, loading, the window) and returns true;
// false for any other id.
bool VecCmd(QWidget* frame, int id);
