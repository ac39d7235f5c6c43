#include "printview.h"
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>
#include "cmdids.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/dsp_cmd.h"
#include "display/view.h"
#include "cmd/viewcmd.h"
#include "dlgbase.h"
#include "dlgrun.h"
#include "engcall.h"
#include "mainframe.h"
#include "mainview.h"
#include "platform/platform.h"
#include "scene/georef.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "terrain/trn_err.h"
#include "tr.h"

namespace shl {

namespace {

// The view is drawn for the frame at this resolution at most (printers print finer, the picture
// would only grow), and never more than this many pixels a side.
constexpr double PicDpi = 200;
constexpr int PicMaxSide = 4096;

PrintedSheet lastSheet;

// The document's name as the title shows it, without folders, extension and modified mark.
QString DocName(MainFrame* frame) {
    QString doc = frame->ShownTitle().section(QStringLiteral(" - "), 0, 0);
    if (doc.endsWith(QLatin1Char('*'))) doc.chop(1);
    const QString base = QFileInfo(doc).completeBaseName();
    return base.isEmpty() ? doc : base;
}

// The legend of what the view shows: slope classes, relief heights, expected errors, or the
// contours' height colours.
void Legend(SheetIn* in) {
    const auto rgb = [](const float c[3]) {
        return QColor::fromRgbF(std::clamp(c[0], 0.f, 1.f), std::clamp(c[1], 0.f, 1.f), std::clamp(c[2], 0.f, 1.f));
    };
    const int mode = TrnSrf && TrnGrd ? CurDspMode() : DspWire;
    if (mode == DspSlope) {
        in->legendTitle = Tx::tr("傾斜");
        // Classes from the gentlest; the thresholds run from the steepest down.
        const double lim[6] = {0, SlpThr[3], SlpThr[2], SlpThr[1], SlpThr[0], 90};
        for (int k = 0; k < 5; ++k) {
            uint8_t b[3];
            SlpClsRgb(k, b);
            in->legend.push_back({QColor(b[0], b[1], b[2]), QStringLiteral("%1–%2°").arg(lim[k]).arg(lim[k + 1])});
        }
        return;
    }
    if (mode == DspRelief || mode == DspError) {
        double lo = 0, hi = 0;
        if (mode == DspError) {
            hi = std::max(TrnErrMax(), 1.0f) / 1000.0;
        } else {
            float a = 1e30f, b = -1e30f;
            for (long long i = 0; i < TrnSrf->nv; ++i) {
                a = std::min(a, TrnSrf->v[3 * i + 2]);
                b = std::max(b, TrnSrf->v[3 * i + 2]);
            }
            if (a > b) return;
            lo = a / 1000.0, hi = b / 1000.0;
        }
        in->legendTitle = mode == DspError ? Tx::tr("推定誤差") : Tx::tr("標高");
        const int dec = hi - lo < 2 ? 2 : hi - lo < 20 ? 1 : 0;
        for (int i = 0; i <= 4; ++i) {
            float c[3];
            (mode == DspError ? ErrRampCol : RelRampCol)(i / 4.0, c);
            in->legend.push_back({rgb(c), QString::number(lo + (hi - lo) * i / 4, 'f', dec) + QStringLiteral(" m")});
        }
        return;
    }
    // Contours: their height colours, at most eight heights from the lowest to the highest.
    if (!CrvPart) return;
    std::map<float, QColor> seen;
    for (int i = 0; i < CrvPart->crvs.n; ++i) {
        const crv* c = CrvPart->crvs.a[i];
        if (!c->vis || c->n < 1 || IsCrvSlct(c)) continue;
        seen.emplace(c->p[2], rgb(c->col));
    }
    if (seen.empty()) return;
    in->legendTitle = Tx::tr("等高線の高さ");
    const int n = int(seen.size()), shown = std::min(n, 8);
    std::vector<std::pair<float, QColor>> all(seen.begin(), seen.end());
    for (int i = 0; i < shown; ++i) {
        const auto& e = all[size_t(shown == 1 ? 0 : i * (n - 1) / (shown - 1))];
        in->legend.push_back({e.second, QString::number(e.first / 1000.0, 'g', 7) + QStringLiteral(" m")});
    }
}

// The view drawn for the frame of sheet s at k pixels a millimetre: a plan at the sheet's scale
// about the view's centre, without the window's grid, labels and axes (the sheet has its own);
// anything else as the window shows it.
QImage SheetPicture(MainView* v, const SheetIn& in, const Sheet& s, double k) {
    if (!in.plan) return PrintImage(v);
    int w = int(std::lround(s.frame.width() * k)), h = int(std::lround(s.frame.height() * k));
    const double shrink = std::min(1.0, double(PicMaxSide) / std::max(w, h));
    w = std::max(2, int(w * shrink));
    h = std::max(2, int(h * shrink));
    EngCall call;
    const ViewSave saved = SaveView();
    const uint8_t grid = GridOn, axis = AxisOn;
    QImage img = v->RenderOff(QSize(w, h), [&] {
        GridOn = 0;
        AxisOn = 0;
        const double want = s.frame.width() * s.scale;  // model mm across the frame
        const double now = ViewWin[0].v.ScrWid;
        if (now > 0) ZoomAt(w / 2.0, h / 2.0, want / now);
        IntrCmd(CatDsp, CmdRdrwAll);
    });
    GridOn = grid;
    AxisOn = axis;
    RstView(saved);
    IntrCmd(CatDsp, CmdRdrwAll);
    return img;
}

// A box of its own text (no message id).
void Box(const QString& t) {
    MsgBoxId = 0;
    plt::Get()->MsgBox(t.toUtf8().constData(), "注意", plt::BtnOk, plt::IconWarning);
}

bool CannotBegin(QPrinter& printer) {
    // Without a printer (or with a file that cannot be written) Qt draws nothing and says
    // nothing: say it, and where the way out is.
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    Box(pdf ? QDir::toNativeSeparators(printer.outputFileName()) +
                  Tx::tr("\n印刷を始められませんでした。このファイルに書き込めません。")
            : Tx::tr("印刷を始められませんでした。プリンターが見つからないか、使えません。\n"
                     "印刷ダイアログでプリンターに「PDF」を選び、ファイル名を指定すると、"
                     "ファイルに印刷できます。"));
    return false;
}

void NoPicture() {
    plt::Get()->Beep();
    MsgBoxId = 0;  // a box with its own text
    plt::Get()->MsgBox(QT_TRANSLATE_NOOP("Altimetra", "レンダリング・イメージがありません。"), "注意", plt::BtnOk,
                       plt::IconWarning);
}

// Lays out and paints the sheet on a device already begun by p with the printable area areaMm.
void PaintSheet(QPainter& p, MainFrame* frame, const PrintOpt& opt, const QSizeF& areaMm, double devPerMm,
                const QString& where) {
    const SheetIn in = SheetOf(frame, opt);
    const Sheet s = LaySheet(in, areaMm);
    const QImage pic = SheetPicture(frame->View(), in, s, std::min(devPerMm, PicDpi / 25.4));
    DrawSheet(p, in, s, pic, devPerMm);
    lastSheet = {in, s, where, true};
}

// One line in the message area: where the sheet went, its scale and page.
void PrintNote(const PrintedSheet& ps) {
    const QString scale = ps.in.plan ? ScaleText(ps.sheet.scale) + (ps.in.scale > 0 ? QString() : Tx::tr(" (全体)"))
                                     : Tx::tr("縮尺なし (3D)");
    // The file's name alone, so that the line holds the scale and page.
    const QString to = QFileInfo(ps.where).fileName().isEmpty() ? ps.where : QFileInfo(ps.where).fileName();
    const QString t = Tx::tr("印刷: %1 (%2, 用紙 %3 x %4 mm)")
                          .arg(to, scale)
                          .arg(std::lround(ps.sheet.area.width()))
                          .arg(std::lround(ps.sheet.area.height()));
    EngCall c;
    PutMsg(t.toUtf8().constData());
}

// The layout dialog: the title and the scale.
class PrtDlg : public AltDlg {
public:
    PrtDlg(QWidget* p, const PrintOpt& o, const QString& docName) : AltDlg(p, IdPrtDlg, Tx::tr("印刷レイアウト")) {
        title_ = MkEdit(CtlPrtTitle, 30);
        title_->setText(o.title.isEmpty() ? docName : o.title);
        fit_ = MkCombo(CtlPrtFit, {Tx::tr("縮尺を指定 (1:N)"), Tx::tr("ビュー全体を用紙に合わせる")});
        fit_->setCurrentIndex(o.fit ? 1 : 0);
        scale_ = MkEdit(CtlPrtScale);
        scale_->setText(IntText(std::llround(o.scale)));
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("表題"), title_);
        f->addRow(Tx::tr("縮尺"), fit_);
        f->addRow(QStringLiteral("1 :"), scale_);
        auto* v = new QVBoxLayout(this);
        v->addLayout(f);
        v->addWidget(MkOkCancel());
        v->setSizeConstraint(QLayout::SetFixedSize);
        const auto sync = [this] { scale_->setEnabled(fit_->currentIndex() == 0); };
        connect(fit_, &QComboBox::currentIndexChanged, this, sync);
        sync();
    }
    PrintOpt opt;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        long long n = 0;
        opt.fit = fit_->currentIndex() == 1;
        if (!opt.fit) {
            *bad = scale_;
            if (!ReadInt(scale_, 1, 100000000, &n, msg)) return false;
            opt.scale = double(n);
        } else {
            opt.scale = CurPrintOpt().scale;
        }
        opt.title = title_->text().trimmed();
        return true;
    }

private:
    QLineEdit* title_;
    QComboBox* fit_;
    QLineEdit* scale_;
};

// Asks the layout; false when cancelled. The title typed is kept only when it is not the
// document's name, so that the next document prints under its own.
bool AskLayout(MainFrame* frame) {
    const QString doc = DocName(frame);
    PrtDlg d(frame, CurPrintOpt(), doc);
    if (ExecDlg(d, QString::number(IdPrtDlg)) != QDialog::Accepted) return false;
    if (d.opt.title == doc) d.opt.title.clear();
    CurPrintOpt() = d.opt;
    return true;
}

}  // namespace

PrintOpt& CurPrintOpt() {
    static PrintOpt o;
    return o;
}

const PrintedSheet& LastSheet() { return lastSheet; }

QImage PrintImage(MainView* v) {
    if (!v || !v->HasPicture()) return QImage();
    return v->Picture();
}

bool PrintPicture(QPrinter& printer, const QImage& img) {
    if (img.isNull()) {
        NoPicture();
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return CannotBegin(printer);
    // Device pixels of the printable area; the picture fills it whatever its aspect.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawImage(QRect(0, 0, page.width(), page.height()), img);
    return painter.end();
}

SheetIn SheetOf(MainFrame* frame, const PrintOpt& opt) {
    SheetIn in;
    in.title = opt.title.isEmpty() ? DocName(frame) : opt.title;
    in.date = QDate::currentDate().toString(Qt::ISODate);
    const ViewWinRec& vw = ViewWin[0];
    in.plan = ViewDim == 0 && vw.v.PrjFlg != PrjPrs;
    if (in.plan) {
        const double c[3] = {vw.W / 2.0, vw.H / 2.0, 0};
        double m[3];
        WinToMdl(c, 0, m);
        in.cx = (m[0] + OrgMmX()) / 1000.0;
        in.cy = (m[1] + OrgMmY()) / 1000.0;
        in.viewW = vw.v.ScrWid / 1000.0;
        in.viewH = vw.v.ScrWid * vw.H / vw.W / 1000.0;
        in.scale = opt.fit ? 0 : opt.scale;
    } else {
        const QSize px = frame->View()->PixelSize();
        in.aspect = double(px.width()) / double(std::max(1, px.height()));
    }
    Legend(&in);
    return in;
}

bool PrintSheet(QPrinter& printer, MainFrame* frame, const PrintOpt& opt) {
    if (!frame->View()->HasPicture()) {
        NoPicture();
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return CannotBegin(printer);
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName()
                                                             : QDir::toNativeSeparators(printer.outputFileName());
    PaintSheet(painter, frame, opt, area.size(), printer.resolution() / 25.4, where);
    if (!painter.end()) return false;
    PrintNote(lastSheet);
    return true;
}

bool SheetImage(MainFrame* frame, const PrintOpt& opt, const QSizeF& areaMm, double pxPerMm, QImage* out) {
    if (!frame->View()->HasPicture()) return false;
    QImage img(int(std::lround(areaMm.width() * pxPerMm)), int(std::lround(areaMm.height() * pxPerMm)),
               QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    PaintSheet(p, frame, opt, areaMm, pxPerMm, QString());
    p.end();
    *out = img;
    return true;
}

QString PdfName(MainFrame* frame) {
    // The document's name without " - Orvane Altimetra" and without its extension.
    QString doc = frame->ShownTitle().section(QStringLiteral(" - "), 0, 0);
    if (doc.endsWith(QLatin1Char('*'))) doc.chop(1);
    const QFileInfo fi(doc);
    const QString dir = fi.isAbsolute() ? fi.absolutePath() : QDir::currentPath();
    return QDir(dir).filePath(fi.completeBaseName() + QStringLiteral(".pdf"));
}

void PrintCmd(MainFrame* frame, int id) {
    QPrinter& printer = frame->Printer();
    switch (id) {
    case IdFilePrint: {
        // Nothing drawn yet: the dialogs run and the print then says so.
        if (!AskLayout(frame)) return;
        // A machine without a printer prints to a PDF file, whose name the dialog shows.
        // (Qt may have chosen PDF itself, but then names the file after the window title.)
        if (QPrinterInfo::availablePrinters().isEmpty() && printer.outputFileName().isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfName(frame));
        }
        QPrintDialog dlg(&printer, frame);
        dlg.setMinMax(1, 1);  // one page
        dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (ExecDlg(dlg, QStringLiteral("print")) != QDialog::Accepted) return;
        // With no printer the dialog's OK can leave no output at all: the PDF file is the output.
        if (QPrinterInfo::availablePrinters().isEmpty() && printer.outputFileName().isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfName(frame));
        }
        PrintSheet(printer, frame, CurPrintOpt());
        break;
    }
    case IdFilePrintPreview: {
        if (!frame->View()->HasPicture()) {
            NoPicture();
            return;
        }
        if (!AskLayout(frame)) return;
        QPrintPreviewDialog dlg(&printer, frame);
        dlg.setWindowTitle(Tx::tr("印刷プレビュー"));
        QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [frame](QPrinter* p) {
            QPainter painter;
            if (!painter.begin(p)) return;
            const QRectF area = p->pageLayout().paintRect(QPageLayout::Millimeter);
            PaintSheet(painter, frame, CurPrintOpt(), area.size(), p->resolution() / 25.4, QString());
        });
        ExecDlg(dlg, QStringLiteral("preview"));
        break;
    }
    case IdFilePrintSetup: {
        QPageSetupDialog dlg(&printer, frame);
        ExecDlg(dlg, QStringLiteral("printsetup"));
        break;
    }
    default:
        break;
    }
}

}  // namespace shl
