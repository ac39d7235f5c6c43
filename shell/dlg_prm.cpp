// Parameter dialogs of the curve, terrain and view commands.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include "core/msg.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"
#include "terrain/trn_mth.h"
#include "core/state.h"
#include "curves/crv.h"
#include "doc/recover.h"
#include "dialogs.h"
#include "display/drw.h"
#include "display/view.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgint.h"
#include "doc/recover.h"
#include "dlgrun.h"
#include "engcall.h"
#include "lang.h"
#include "mainframe.h"
#include "menutable.h"
#include "profile.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "tr.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"
#include "cmd/trn_cmds.h"

namespace shl {

LenUnit DrwAreaUnit = LenUnit::M;
LenUnit SclDstUnit = LenUnit::M;

namespace {

using namespace dlg;

constexpr double HgtMax = 1e11;   // heights typed in any unit
constexpr double AngMax = 1e9;    // rotation angles, degrees

// The view fields of the camera shown.
CamView& ShownView() { return CurCamObj ? CurCamObj->view : ViewWin[0].v; }

QVBoxLayout* Column(QDialog* d, QLayout* body, QDialogButtonBox* bb) {
    auto* v = new QVBoxLayout(d);
    v->addLayout(body);
    v->addWidget(bb);
    v->setSizeConstraint(QLayout::SetFixedSize);
    return v;
}

// A length with its unit: 130 and 181 (a height in m, cm, mm), 179 (the width of the view in km,
// m, cm, mm). Changing the unit shows the stored value in the new unit; with typing stored at once
// (the heights), a typed value survives a change of unit.
struct LenDlgPrm {
    int id;
    QString title;
    int ctlV, ctlU;
    QString label;
    bool km;            // the unit list starts with km
    double lo, hi;      // accepted range of the typed number
    bool storeTyping;
    QString note;       // a line under the value (what the OK will change); empty: none
};

class LenDlg : public AltDlg {
public:
    LenDlg(QWidget* p, const LenDlgPrm& prm, double mm, LenUnit unit)
        : AltDlg(p, prm.id, prm.title), mm_(mm), unit_(unit), lo_(prm.lo), hi_(prm.hi) {
        edit_ = MkEdit(prm.ctlV);
        combo_ = MkCombo(prm.ctlU, UnitItems(prm.km));
        combo_->setCurrentIndex(ItemOfUnit(unit_, prm.km));
        Show();
        if (prm.storeTyping)
            connect(edit_, &QLineEdit::textEdited, this, [this](const QString& t) {
                double v;
                if (ParseNum(t, &v)) mm_ = v * MmPer(unit_);
            });
        connect(combo_, &QComboBox::currentIndexChanged, this, [this, km = prm.km](int i) {
            unit_ = UnitOfItem(i, km);
            Show();
        });
        auto* f = new QFormLayout;
        auto* row = new QHBoxLayout;
        row->addWidget(edit_);
        row->addWidget(new QLabel(Tx::tr("単位"), this));
        row->addWidget(combo_);
        f->addRow(prm.label, row);
        if (!prm.note.isEmpty()) {
            auto* note = new QLabel(prm.note, this);
            note->setObjectName(QStringLiteral("note"));
            f->addRow(note);
        }
        Column(this, f, MkOkCancel());
    }
    double mm_;
    LenUnit unit_;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        double v;
        *bad = edit_;
        if (!ReadReal(edit_, lo_, hi_, &v, msg)) return false;
        // A shown value that was not edited keeps the stored one, not its rounding.
        if (edit_->text() != shown_) mm_ = v * MmPer(unit_);
        return true;
    }

private:
    void Show() {
        shown_ = NumText(mm_ / MmPer(unit_));
        edit_->setText(shown_);
    }
    double lo_, hi_;
    QLineEdit* edit_;
    QComboBox* combo_;
    QString shown_;
};

// 182 and 183: one real, shown with the same start value every time.
class RealDlg : public AltDlg {
public:
    RealDlg(QWidget* p, int id, const QString& title, int ctl, const QString& label, double v,
            double lo, double hi)
        : AltDlg(p, id, title), lo_(lo), hi_(hi) {
        edit_ = MkEdit(ctl);
        edit_->setText(NumText(v));
        auto* f = new QFormLayout;
        f->addRow(label, edit_);
        Column(this, f, MkOkCancel());
    }
    double val_ = 0;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        *bad = edit_;
        return ReadReal(edit_, lo_, hi_, &val_, msg);
    }

private:
    QLineEdit* edit_;
    double lo_, hi_;
};

// 184: the measured distance (read-only) and the real one, in a unit of km, m, cm, mm.
class SclDstDlgW : public AltDlg {
public:
    SclDstDlgW(QWidget* p, double measured, LenUnit unit)
        : AltDlg(p, IdSclDst, Tx::tr("距離を指定しｶｰﾌﾞをスケール")), unit_(unit),
          meas_(measured) {
        measEdit_ = MkEdit(CtlSdMeas);
        measEdit_->setReadOnly(true);
        realEdit_ = MkEdit(CtlSdReal);
        combo_ = MkCombo(CtlSdUnit, UnitItems(true));
        combo_->setCurrentIndex(ItemOfUnit(unit_, true));
        measEdit_->setText(NumText(meas_ / MmPer(unit_)));
        realEdit_->setText(measEdit_->text());
        connect(combo_, &QComboBox::currentIndexChanged, this, [this](int i) {
            unit_ = UnitOfItem(i, true);
            measEdit_->setText(NumText(meas_ / MmPer(unit_)));
        });
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("測定した距離"), measEdit_);
        f->addRow(Tx::tr("実際の距離"), realEdit_);
        f->addRow(Tx::tr("単位"), combo_);
        Column(this, f, MkOkCancel());
    }
    LenUnit unit_;
    double factor_ = 1;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        double real;
        *bad = realEdit_;
        if (!ReadReal(realEdit_, 1e-11, 1e11, &real, msg)) return false;
        // Two points at one place give no distance to scale from.
        if (!(meas_ > 0)) {
            *msg = Tx::tr("測定した距離が 0 です。\n離れた 2 点を指定してください。");
            return false;
        }
        factor_ = real * MmPer(unit_) / meas_;
        if (!std::isfinite(factor_) || factor_ <= 0) {
            *msg = Tx::tr("倍率を計算できません。");
            return false;
        }
        return true;
    }

private:
    double meas_;
    QLineEdit* measEdit_;
    QLineEdit* realEdit_;
    QComboBox* combo_;
};

// 180: editing settings, the contour colour range, the generation method, background colour.
class PrfDlgW : public AltDlg {
public:
    explicit PrfDlgW(QWidget* p) : AltDlg(p, IdPrf, Tx::tr("環境設定")) {
        pick_ = MkEdit(CtlPickAp);
        cnct_ = MkEdit(CtlCnctDst);
        same_ = MkEdit(CtlSamHgt);
        rng_ = MkEdit(CtlHgtRng);
        // Short names in the combo and the chosen one's description wrapped under it, so that
        // the descriptions do not set the dialog's width.
        QStringList methods;
        for (int k = 0; k < TrnMethodNum; ++k) methods << MethodText(k);
        method_ = MkCombo(CtlTrnMethod, methods);
        auto* methodHelp = new QLabel(this);
        methodHelp->setObjectName(QStringLiteral("methodHelp"));
        methodHelp->setWordWrap(true);
        const auto help = [methodHelp](int k) { methodHelp->setText(MethodHelp(k)); };
        connect(method_, &QComboBox::currentIndexChanged, this, help);
        QPushButton* bg = MkButton(CtlBgCol, Tx::tr("背景色..."));
        exag_ = MkEdit(CtlVertExag);
        exag_->setText(NumText(VertExag));
        auto_ = MkEdit(CtlAutoSave);
        auto_->setText(IntText(AutoSaveSec));
        lang_ = MkCombo(CtlLang, {Tx::tr("日本語"), Tx::tr("英語 (English)"), Tx::tr("システムに従う")});
        lang_->setCurrentIndex(LangItem(CurProfile().lang));
        pick_->setText(IntText(PickAp));
        cnct_->setText(IntText(std::llround(CnctDst)));
        same_->setText(IntText(std::llround(double(SamHgtDst))));
        rng_->setText(NumText(HgtRng));
        method_->setCurrentIndex(TrnMethodOf(TrnMethod).kind);
        help(method_->currentIndex());
        connect(bg, &QPushButton::clicked, this, [this] { DlgBgColor(this); });
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("ピックの範囲（ピクセル）"), pick_);
        f->addRow(Tx::tr("自動接続の距離（ピクセル）"), cnct_);
        f->addRow(Tx::tr("同じ高さとみなす距離（mm）"), same_);
        f->addRow(Tx::tr("等高線の色の範囲（m）"), rng_);
        f->addRow(Tx::tr("生成方法"), method_);
        f->addRow(QString(), methodHelp);
        f->addRow(Tx::tr("表示の背景色"), bg);
        f->addRow(Tx::tr("高さの強調（倍、3D と段彩陰影）"), exag_);
        f->addRow(Tx::tr("復元用コピーの間隔（秒、0 で保存しない）"), auto_);
        f->addRow(Tx::tr("言語 / Language"), lang_);
        Column(this, f, MkOkCancel());
    }
    long long pickV_ = 5;
    double cnctV_ = 10, sameV_ = 20000, rngV_ = 500, exagV_ = 1;
    long long autoV_ = 120;
    int methodV_ = TrnMethodCrs;
    LangPref langV_ = PrefSystem;

    // Combo items in order: Japanese, English, the system's.
    static int LangItem(LangPref p) { return p == PrefJa ? 0 : p == PrefEn ? 1 : 2; }
    static LangPref ItemLang(int i) { return i == 0 ? PrefJa : i == 1 ? PrefEn : PrefSystem; }

protected:
    bool Check(QString* msg, QWidget** bad) override {
        *bad = pick_;
        if (!ReadInt(pick_, 1, 100, &pickV_, msg)) return false;
        *bad = cnct_;
        if (!ReadReal(cnct_, 1, 100, &cnctV_, msg)) return false;
        *bad = same_;
        if (!ReadReal(same_, 0, 4294967295.0, &sameV_, msg)) return false;
        *bad = rng_;
        if (!ReadReal(rng_, 1e-10, 1e11, &rngV_, msg)) return false;
        methodV_ = TrnMethodOf(method_->currentIndex()).kind;
        *bad = exag_;
        if (!ReadReal(exag_, VertExagMin, VertExagMax, &exagV_, msg)) return false;
        *bad = auto_;
        if (!ReadInt(auto_, 0, AutoSaveMax, &autoV_, msg)) return false;
        langV_ = ItemLang(lang_->currentIndex());
        return true;
    }

private:
    QLineEdit *pick_, *cnct_, *same_, *rng_, *exag_, *auto_;
    QComboBox* method_;
    QComboBox* lang_;
};

// 145: the largest slope the filter keeps and the peripheral interpolation switch.
class FltrDlgW : public AltDlg {
public:
    explicit FltrDlgW(QWidget* p) : AltDlg(p, IdFltr, Tx::tr("フィルター")) {
        ang_ = MkEdit(CtlFltrAng);
        prph_ = MkCheck(CtlFltrPrph, Tx::tr("外周部の直線補間"));
        ang_->setText(NumText(FltrAng));
        prph_->setChecked(IntpPrph != 0);
        auto* f = new QFormLayout;
        f->addRow(Tx::tr("最大傾斜角度（度）"), ang_);
        f->addRow(prph_);
        Column(this, f, MkOkCancel());
    }
    double angV_ = 45;
    int prphV_ = 0;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        *bad = ang_;
        if (!ReadReal(ang_, 0, 90, &angV_, msg)) return false;
        prphV_ = prph_->isChecked() ? 1 : 0;
        return true;
    }

private:
    QLineEdit* ang_;
    QCheckBox* prph_;
};

// 146: four slope thresholds and the slope measure; 初期化 puts the defaults into the fields.
class SlpDlgW : public AltDlg {
public:
    explicit SlpDlgW(QWidget* p) : AltDlg(p, IdSlp, Tx::tr("傾斜角度表示")) {
        int thr[4], mode;
        GetSlpDlg(thr, &mode);
        auto* f = new QFormLayout;
        for (int k = 0; k < 4; ++k) {
            thr_[k] = MkEdit(CtlSlpThr0 + k, 6);
            f->addRow(Tx::tr("しきい値 %1（度）").arg(k + 1), thr_[k]);
        }
        // The five classes' colours, steepest first, as the terrain shows them.
        auto* sw = new QHBoxLayout;
        for (int k = 0; k < 5; ++k) {
            uint8_t c[3];
            SlpClsRgb(4 - k, c);
            auto* l = new QLabel(this);
            l->setObjectName(QString::number(CtlSlpSw0 + k));
            l->setFixedSize(28, 16);
            l->setAutoFillBackground(true);
            QPalette pal = l->palette();
            pal.setColor(QPalette::Window, QColor(c[0], c[1], c[2]));
            l->setPalette(pal);
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
            l->setToolTip(k == 0   ? Tx::tr("しきい値 1 以上")
                          : k == 4 ? Tx::tr("しきい値 4 未満")
                                   : Tx::tr("しきい値 %1 以上 %2 未満").arg(k + 1).arg(k));
            sw->addWidget(l);
        }
        sw->addStretch(1);
        f->addRow(Tx::tr("表示色（急→緩）"), sw);
        max_ = MkRadio(CtlSlpMax, Tx::tr("最大傾斜角度"));
        mean_ = MkRadio(CtlSlpMean, Tx::tr("平均傾斜角度"));
        auto* g = new QGroupBox(Tx::tr("傾斜角度"), this);
        auto* gl = new QVBoxLayout(g);
        gl->addWidget(max_);
        gl->addWidget(mean_);
        f->addRow(g);
        QPushButton* ini = MkButton(CtlSlpIni, Tx::tr("初期化"));
        f->addRow(ini);
        Show(thr, mode);
        connect(ini, &QPushButton::clicked, this, [this] {
            const int def[4] = {60, 45, 30, 15};
            Show(def, 0);
        });
        Column(this, f, MkOkCancel());
    }
    int thrV_[4] = {};
    int modeV_ = 0;

protected:
    bool Check(QString* msg, QWidget** bad) override {
        for (int k = 0; k < 4; ++k) {
            long long v;
            *bad = thr_[k];
            if (!ReadInt(thr_[k], 0, 90, &v, msg)) return false;
            thrV_[k] = int(v);
        }
        modeV_ = mean_->isChecked() ? 1 : 0;
        return true;
    }

private:
    void Show(const int thr[4], int mode) {
        for (int k = 0; k < 4; ++k) thr_[k]->setText(IntText(thr[k]));
        (mode ? mean_ : max_)->setChecked(true);
    }
    QLineEdit* thr_[4];
    QRadioButton *max_, *mean_;
};

void Recolour() {
    if (!CrvPart) return;
    for (int i = 0; i < CrvPart->crvs.n; ++i) {
        crv* c = CrvPart->crvs.a[i];
        if (c && c->n > 0 && !IsCrvSlct(c)) SetCrvCol(c, c->p[2]);
    }
}

}  // namespace

bool DlgCrvHgt(QWidget* parent) {
    LenDlg d(parent,
             {IdCrvHgt, Tx::tr("カーブの高さ"), CtlCrvHgt, CtlCrvHgtUnit,
              Tx::tr("高さ"), false, -HgtMax, HgtMax, true, QString()},
             CrvHgt, CrvHgtUnit);
    if (ExecDlg(d, QString::number(IdCrvHgt)) != QDialog::Accepted) return false;
    EngCall c;
    CrvHgt = float(d.mm_);
    CrvHgtUnit = d.unit_;
    IntrCmd(CatDrw2D, CmdCrvHgt);
    return true;
}

// The vertices a typed height would change: the selected ones that the terrain has; *first the
// height of the first of them.
static int VtxToSet(double* first) {
    int n = 0;
    for (int k = 0; TrnSrf && k < NumVtxSlct; ++k)
        if (VtxSlct[k] >= 0 && VtxSlct[k] < TrnSrf->nv && n++ == 0) *first = TrnSrf->v[3LL * VtxSlct[k] + 2];
    return n;
}

bool DlgVtxHgt(QWidget* parent) {
    // The dialog says how many vertices OK changes, so that a stale or empty selection shows.
    // It opens at the height of the (first) selected vertex, the value a user adjusts.
    double start = VtxHgtVal;
    const int n = VtxToSet(&start);
    const QString note = n > 0 ? Tx::tr("選択されている %1 個の頂点にこの高さを与えます。").arg(n)
                               : Tx::tr("頂点が選択されていません。高さは変わりません。");
    LenDlg d(parent,
             {IdVtxHgt, Tx::tr("頂点の高さ"), CtlVtxHgt, CtlVtxHgtUnit,
              Tx::tr("高さ"), false, -HgtMax, HgtMax, true, note},
             start, ::HgtUnit);
    if (ExecDlg(d, QString::number(IdVtxHgt)) != QDialog::Accepted) return false;
    EngCall c;
    VtxHgtVal = float(d.mm_);
    ::HgtUnit = d.unit_;
    IntrCmd(CatMdl, CmdVtxHgt);
    return true;
}

bool DlgCrvScl(QWidget* parent) {
    RealDlg d(parent, IdCrvScl, Tx::tr("ｶｰﾌﾞのスケール"), CtlCrvScl,
              Tx::tr("倍率"), 1.0, 1e-11, 1e11);
    if (ExecDlg(d, QString::number(IdCrvScl)) != QDialog::Accepted) return false;
    EngCall c;
    CrvScl = float(d.val_);
    IntrCmd(CatDrw2D, CmdCrvScl);
    return true;
}

bool DlgCrvRot(QWidget* parent) {
    RealDlg d(parent, IdCrvRot, Tx::tr("ｶｰﾌﾞの回転"), CtlCrvRot,
              Tx::tr("回転角度（度）"), 0.0, -AngMax, AngMax);
    if (ExecDlg(d, QString::number(IdCrvRot)) != QDialog::Accepted) return false;
    EngCall c;
    CrvRot = float(d.val_);
    IntrCmd(CatDrw2D, CmdCrvRot);
    return true;
}

bool DlgSclDst(QWidget* parent) {
    SclDstDlgW d(parent, SclDstLen, SclDstUnit);
    const int rc = ExecDlg(d, QString::number(IdSclDst));
    SclDstUnit = d.unit_;
    if (rc != QDialog::Accepted) return false;
    EngCall c;
    if (!CrvPart || CrvPart->crvs.n == 0) return true;
    // Every curve changes, so the undo record holds them all (not only the selection).
    RecUndo(UndoPart, 0, nullptr);
    const double f = d.factor_;
    for (int i = 0; i < CrvPart->crvs.n; ++i) {
        crv* k = CrvPart->crvs.a[i];
        for (int j = 0; j < k->n; ++j) {
            k->p[3 * j] = float(k->p[3 * j] * f);
            k->p[3 * j + 1] = float(k->p[3 * j + 1] * f);
        }
        CalCrvBox(k);
    }
    UdtCrvBox();
    ModFlg = 1;
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

bool DlgDrwArea(QWidget* parent) {
    LenDlg d(parent,
             {IdDrwArea, Tx::tr("作図領域設定"), CtlDrwWid, CtlDrwUnit,
              Tx::tr("作図領域の幅"), true, 1e-7, 1e11, false, QString()},
             ShownView().ScrWid, DrwAreaUnit);
    const int rc = ExecDlg(d, QString::number(IdDrwArea));
    DrwAreaUnit = d.unit_;
    if (rc != QDialog::Accepted) return false;
    EngCall c;
    CamView& v = ShownView();
    v.ScrWid = d.mm_;
    // A perspective view keeps its angle of view.
    if (v.ViewAng > 0 && v.ViewAng < M_PI) v.ScrDst = v.ScrWid * 0.5 / std::tan(v.ViewAng / 2.0);
    SetView(0);
    DstrCmd(CatDsp, CmdFitWnd2D);
    // The grid keeps between 1 and 50 lines across the view; the major lines stay every fifth.
    const double w = v.ScrWid;
    const double g = GrdStp > 0 ? GrdStp : 1;
    long long ng = 0;
    if (w / g >= 50)
        ng = static_cast<long long>(w * 0.02);
    else if (w / g < 1)
        ng = static_cast<long long>(w);
    if (ng != 0 || w / g < 1) {
        if (ng < 1) ng = 1;
        if (ng > 1000000000LL) ng = 1000000000LL;
        GrdStp = int(ng);
        GrdMaj = int(std::min<long long>(ng * 5, 2000000000LL));
    }
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

bool DlgPrf(QWidget* parent) {
    PrfDlgW d(parent);
    if (ExecDlg(d, QString::number(IdPrf)) != QDialog::Accepted) return false;
    EngCall c;
    PickAp = int(d.pickV_);
    SetWrk.pickAp = SetEdt.pickAp = PickAp;
    CnctDst = d.cnctV_;
    SetWrk.cnctDst = SetEdt.cnctDst = CnctDst;
    SamHgtDst = float(d.sameV_);
    HgtRng = float(d.rngV_);
    TrnMethod = d.methodV_;
    AutoSaveSec = int(d.autoV_);
    Recolour();
    SetVertExag(d.exagV_);  // redraws
    // A new language choice is kept in the profile and shown at once (a --lang of this run gives
    // way to it).
    if (d.langV_ != CurProfile().lang) {
        CurProfile().lang = d.langV_;
        const UiLang l = ChooseLang(nullptr, d.langV_, MsgLocaleName());
        if (l != CurUiLang()) SetUiLang(l);
    }
    return true;
}

bool DlgFltr(QWidget* parent) {
    FltrDlgW d(parent);
    if (ExecDlg(d, QString::number(IdFltr)) != QDialog::Accepted) return false;
    EngCall c;
    SetFltrDlg(d.angV_, d.prphV_);
    IntrCmd(CatMdl, CmdTrnFltr);
    return true;
}

bool DlgSlp(QWidget* parent) {
    SlpDlgW d(parent);
    if (ExecDlg(d, QString::number(IdSlp)) != QDialog::Accepted) return false;
    EngCall c;
    SetSlpDlg(d.thrV_, d.modeV_);  // turns the slope display on and redraws
    return true;
}

}  // namespace shl
