// The parameter dialogs driven as a journal drives them: values they open with, refusals of
// out-of-range values, unit conversions, and what OK stores and runs in the engine.
#include <gtest/gtest.h>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSet>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include "app/sys.h"
#include "../support/restore.h"
#include "chkpanel.h"
#include "cmdroute.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "curves/crv.h"
#include "curves/crv_cmd.h"
#include "dialogs.h"
#include "display/drw.h"
#include "display/view.h"
#include "dlgbase.h"
#include "dlgids.h"
#include "dlgint.h"
#include "dlgrun.h"
#include "giscmd.h"
#include "lang.h"
#include "menutable.h"
#include "mainframe.h"
#include "profile.h"
#include "qtplatform.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "scene/georef.h"
#include "terrain/trn.h"
#include "terrain/trn_mth.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

using namespace shl::dlg;

namespace {

// The Japanese interface back after a test that switched the language.
struct JaAfterTest {
    ~JaAfterTest() { shl::SetUiLang(shl::LangJa); }
};

// The engine started as the application starts it with an empty profile; dialogs answered from
// a queue, their lines and the message boxes recorded.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        plat.boxHook = [this](const char* text, const char* caption, int, int) {
            lines << QString("box %1: %2").arg(QString::fromUtf8(caption), QString::fromUtf8(text));
            return int(plt::AnsOk);
        };
        plt::Set(&plat);
        StartEng([](void*) { SetEdt.cnctDst = 10; });
        SetDlgScript([this](const QString& l) { lines << l; });
    }
    void TearDown() override {
        SetDlgScript(nullptr);
        DlgOpenHook = nullptr;
        DstrCmd(CatSys, CmdSysEnd);
        plt::Set(nullptr);
    }
    // Queues one journal line (dialog ... / filedialog ...).
    void Q(const char* line) {
        std::vector<std::string> w;
        for (const QString& s : QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts))
            w.push_back(s.toStdString());
        std::string err;
        ASSERT_TRUE(DlgVerb(w, &err)) << err;
    }
    // Text of control ctl in the dialog that opens next (read by the open hook).
    void Peek(std::function<void(QDialog&)> f) {
        DlgOpenHook = [f](QDialog& d, const QString&) { f(d); };
    }
    static QString Text(QDialog& d, int ctl) {
        auto* e = d.findChild<QLineEdit*>(QString::number(ctl));
        if (e) return e->text();
        auto* s = d.findChild<QSpinBox*>(QString::number(ctl));
        return s ? QString::number(s->value()) : QString("<none>");
    }
    static int Item(QDialog& d, int ctl) {
        auto* c = d.findChild<QComboBox*>(QString::number(ctl));
        return c ? c->currentIndex() : -1;
    }
    crv* MkCurve(std::initializer_list<float> xy, float h) {
        crv* c = NewCrv();
        auto it = xy.begin();
        while (it != xy.end()) {
            const float x = *it++;
            const float y = *it++;
            AddPnt(c, x, y, h);
        }
        SetCrvHgt(c, h);
        return c;
    }

    shl::QtPlatform plat;
    QStringList lines;
};

TEST_F(Dialogs, CurveHeightShowsMetresAndStoresMillimetres) {
    CrvHgt = 1500;
    shl::CrvHgtUnit = LenUnit::M;
    QString shown;
    int unitItem = -1;
    Peek([&](QDialog& d) {
        shown = Text(d, CtlCrvHgt);
        unitItem = Item(d, CtlCrvHgtUnit);
    });
    Q("dialog 130 1000=2 ok");
    EXPECT_TRUE(DlgCmd(nullptr, MnuCrvHgt));
    EXPECT_EQ(shown, "1.5");
    EXPECT_EQ(unitItem, 0);  // m is the first item
    EXPECT_FLOAT_EQ(CrvHgt, 2000.0f);
    EXPECT_EQ(CrntMode, ModeCrvHgt);  // OK starts picking curves for the height

    // A value typed before the unit changes is kept and shown in the new unit.
    QString afterUnit;
    Peek([](QDialog&) {});
    Q("dialog 130 1000=3 1002=2 ok");
    EXPECT_TRUE(DlgCmd(nullptr, MnuCrvHgt));
    EXPECT_FLOAT_EQ(CrvHgt, 3000.0f);
    EXPECT_EQ(shl::CrvHgtUnit, LenUnit::Mm);

    // Changing only the unit keeps the stored value; Cancel keeps everything.
    CrvHgt = 1234.567f;
    Q("dialog 130 1002=0 ok");
    DlgCmd(nullptr, MnuCrvHgt);
    EXPECT_NEAR(CrvHgt, 1234.567, 1e-3);  // the unit switch shows 1.23 m but stores nothing
    EXPECT_EQ(shl::CrvHgtUnit, LenUnit::M);
    Q("dialog 130 1000=9 1002=1 cancel");
    DlgCmd(nullptr, MnuCrvHgt);
    EXPECT_NEAR(CrvHgt, 1234.567, 1e-3);
    EXPECT_EQ(shl::CrvHgtUnit, LenUnit::M);
}

TEST_F(Dialogs, VertexHeightUsesItsOwnUnit) {
    VtxHgtVal = 1500;
    ::HgtUnit = LenUnit::M;
    QString shown;
    Peek([&](QDialog& d) { shown = Text(d, CtlVtxHgt); });
    Q("dialog 181 1032=250 1033=1 ok");
    DlgCmd(nullptr, MnuVtxHgt);
    EXPECT_EQ(shown, "1.5");
    // 250 typed in m, then the unit becomes cm: the typed height stays 250 m.
    EXPECT_FLOAT_EQ(VtxHgtVal, 250000.0f);
    EXPECT_EQ(::HgtUnit, LenUnit::Cm);
}

// The vertex-height dialog says how many vertices its OK changes (only those the terrain has),
// and the typed height can be undone: it used to drop the undo record.
TEST_F(Dialogs, VertexHeightSaysHowManyVerticesItChangesAndCanBeUndone) {
    Restore<float[6]> keepRgn(TrnRgn);
    Restore<float> keepItv(MshItv);
    Restore<LenUnit> keepRu(RgnUnit), keepIu(ItvUnit);
    Q("dialog 133 1024=1000 1025=600 1026=0 1027=0 1003=100 ok");
    DlgCmd(nullptr, MnuRgn);
    ASSERT_NE(TrnSrf, nullptr);
    ::HgtUnit = LenUnit::M;
    QString note;
    Peek([&](QDialog& d) {
        auto* l = d.findChild<QLabel*>(QStringLiteral("note"));
        note = l ? l->text() : QString("<none>");
    });
    const int steps = UndoSteps();
    Q("dialog 181 1032=9 1033=0 ok");
    DlgCmd(nullptr, MnuVtxHgt);
    EXPECT_EQ(note, QString::fromUtf8("頂点が選択されていません。高さは変わりません。"));
    EXPECT_EQ(UndoSteps(), steps);  // nothing changed: no step of its own
    EXPECT_NE(UndoKind, UndoTrn);

    ClrVtxSlct();
    VtxSlct = static_cast<int*>(AlcMem(3 * sizeof(int), "SlctVtxID"));
    VtxSlct[0] = 0;
    VtxSlct[1] = 5;
    VtxSlct[2] = TrnSrf->nv + 10;  // left over from a larger grid
    NumVtxSlct = 3;
    Q("dialog 181 1032=2.5 1033=0 ok");
    DlgCmd(nullptr, MnuVtxHgt);
    EXPECT_EQ(note, QString::fromUtf8("選択されている 2 個の頂点にこの高さを与えます。"));
    EXPECT_FLOAT_EQ(TrnSrf->v[2], 2500.0f);
    EXPECT_FLOAT_EQ(TrnSrf->v[3 * 5 + 2], 2500.0f);
    ASSERT_EQ(UndoState, 1);
    Undo();
    EXPECT_FLOAT_EQ(TrnSrf->v[2], 0.0f);
    EXPECT_FLOAT_EQ(TrnSrf->v[3 * 5 + 2], 0.0f);
    ClrVtxSlct();
}

// The vertex height box opened at 0 whatever the vertex's height: it opens at the height of the
// first selected vertex, and OK without typing gives the selection that height.
TEST_F(Dialogs, VertexHeightOpensAtTheSelectedVertexsHeight) {
    Restore<float[6]> keepRgn(TrnRgn);
    Restore<float> keepItv(MshItv), keepVal(VtxHgtVal);
    Restore<LenUnit> keepRu(RgnUnit), keepIu(ItvUnit), keepHu(::HgtUnit);
    Q("dialog 133 1024=1000 1025=600 1026=0 1027=0 1003=100 ok");
    DlgCmd(nullptr, MnuRgn);
    ASSERT_NE(TrnSrf, nullptr);
    ::HgtUnit = LenUnit::M;
    VtxHgtVal = 0;
    TrnSrf->v[3 * 4 + 2] = 123450;
    TrnSrf->v[3 * 7 + 2] = 5000;
    ClrVtxSlct();
    VtxSlct = static_cast<int*>(AlcMem(2 * sizeof(int), "SlctVtxID"));
    VtxSlct[0] = 4;
    VtxSlct[1] = 7;
    NumVtxSlct = 2;
    QString shown;
    Peek([&](QDialog& d) { shown = Text(d, CtlVtxHgt); });
    Q("dialog 181 ok");
    DlgCmd(nullptr, MnuVtxHgt);
    EXPECT_EQ(shown, "123.45");
    EXPECT_FLOAT_EQ(TrnSrf->v[3 * 7 + 2], 123450.0f);
    ClrVtxSlct();
}

TEST_F(Dialogs, FilterRefusesAnAngleAbove90AndKeepsItsValues) {
    QString shown;
    Peek([&](QDialog& d) { shown = Text(d, CtlFltrAng); });
    Q("dialog 145 1060=95 ok");
    DlgCmd(nullptr, MnuFltr);
    EXPECT_EQ(shown, "45");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 145 refused: 0 から 90 までの数値を入力してください。"));
    EXPECT_FLOAT_EQ(FltrAng, 45.0f);

    Q("dialog 145 1060=abc ok");
    DlgCmd(nullptr, MnuFltr);
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 145 refused: 数値を入力してください。"));

    Q("dialog 145 1060=30.5 1061=1 ok");
    DlgCmd(nullptr, MnuFltr);
    EXPECT_FLOAT_EQ(FltrAng, 30.5f);
    EXPECT_EQ(IntpPrph, 1);
}

TEST_F(Dialogs, DialogWithoutAnAnswerIsCancelled) {
    const float before = FltrAng;
    DlgCmd(nullptr, MnuFltr);
    EXPECT_EQ(lines.last(), "dialog 145 (unanswered)");
    EXPECT_FLOAT_EQ(FltrAng, before);
    // Answers wait for their own dialog.
    Q("dialog 182 1034=2 ok");
    DlgCmd(nullptr, MnuFltr);
    EXPECT_EQ(lines.last(), "dialog 145 (unanswered)");
    DlgCmd(nullptr, MnuCrvScl);
    EXPECT_FLOAT_EQ(CrvScl, 2.0f);
    // Commands without a dialog are not ours.
    constexpr int MnuTrnCre = 32808;  // create terrain: no dialog
    EXPECT_FALSE(DlgCmd(nullptr, MnuTrnCre));
}

TEST_F(Dialogs, DrawingAreaWidthAdaptsTheGridInterval) {
    CamView& v = CurCamObj ? CurCamObj->view : ViewWin[0].v;
    shl::DrwAreaUnit = LenUnit::M;
    GrdStp = 100;
    v.ScrWid = 1e7;
    QString shown;
    int unitItem = -1;
    Peek([&](QDialog& d) {
        shown = Text(d, CtlDrwWid);
        unitItem = Item(d, CtlDrwUnit);
    });
    Q("dialog 179 1012=10 ok");
    DlgCmd(nullptr, MnuDrwArea);
    EXPECT_EQ(shown, "10000");  // 1e7 mm in m
    EXPECT_EQ(unitItem, 1);  // km, m, cm, mm
    EXPECT_DOUBLE_EQ(v.ScrWid, 10000.0);
    EXPECT_EQ(GrdStp, 200);  // 10000 / 100 >= 50

    // Narrower than one interval: the interval becomes the width.
    Peek([&](QDialog& d) { shown = Text(d, CtlDrwWid); });
    Q("dialog 179 1013=3 1012=150 ok");
    DlgCmd(nullptr, MnuDrwArea);
    EXPECT_EQ(shown, "10");
    EXPECT_DOUBLE_EQ(v.ScrWid, 150.0);
    EXPECT_EQ(GrdStp, 150);  // 150 / 200 < 1
    EXPECT_EQ(shl::DrwAreaUnit, LenUnit::Mm);

    // In range: the interval stays.
    Q("dialog 179 1012=3000 ok");
    DlgCmd(nullptr, MnuDrwArea);
    EXPECT_EQ(GrdStp, 150);
    Q("dialog 179 1012=0 ok");
    DlgCmd(nullptr, MnuDrwArea);
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 179 refused: 1e-07 から 1e+11 までの数値を入力してください。"));
    EXPECT_DOUBLE_EQ(v.ScrWid, 3000.0);
}

// The preferences' method combo has one row per method of the table, each described in one line,
// and shows the current method; choosing the gradient paths stores it.
// The method descriptions made the preferences 850 pixels wide: the combo lists the short names
// (the Terrain menu's), the chosen one's description wraps under it, in both languages.
TEST_F(Dialogs, PreferencesNameTheMethodsAndWrapTheirDescription) {
    JaAfterTest ja;
    for (shl::UiLang lang : {shl::LangJa, shl::LangEn}) {
        SCOPED_TRACE(lang);
        shl::SetUiLang(lang);
        QStringList rows;
        int shown = -1, width = 0;
        QString help;
        Peek([&](QDialog& d) {
            auto* c = d.findChild<QComboBox*>(QString::number(CtlTrnMethod));
            for (int k = 0; c && k < c->count(); k++) rows << c->itemText(k);
            shown = Item(d, CtlTrnMethod);
            if (auto* l = d.findChild<QLabel*>(QStringLiteral("methodHelp"))) {
                EXPECT_TRUE(l->wordWrap());
                help = l->text();
            }
            d.adjustSize();
            width = d.width();
        });
        TrnMethod = TrnMethodMinCrv;
        Q("dialog 180 1049=2 ok");
        DlgCmd(nullptr, MnuPrf);
        ASSERT_EQ(rows.size(), TrnMethodNum);
        for (int k = 0; k < TrnMethodNum; k++) EXPECT_EQ(rows[k], shl::MethodText(k));
        EXPECT_EQ(help, shl::MethodHelp(TrnMethodMinCrv));
        EXPECT_FALSE(help.isEmpty());
        EXPECT_LE(width, 600);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(TrnMethod, TrnMethodPath);
    }
    EXPECT_EQ(shl::MethodText(TrnMethodCrs), QString::fromUtf8("Cross-line interpolation (standard)"));
    TrnMethod = TrnMethodCrs;
}

// GIS exports opened in the folder the last import read its source from; they start where the
// last export went, else in the documents folder. Imports keep their own folder.
TEST_F(Dialogs, GisExportsOpenInTheExportFolderNotTheSources) {
    shl::Profile& p = shl::CurProfile();
    Restore<QString> keepGis(p.dir[shl::Profile::DirGis]), keepOut(p.dir[shl::Profile::DirVrml]);
    p.dir[shl::Profile::DirGis] = "/survey/sources";
    p.dir[shl::Profile::DirVrml].clear();
    QStringList dirs;
    FileDlgHook = [&](const FileDlgReq& r) { dirs << r.dir; };
    GisCmd(nullptr, CmdGisTif);
    p.dir[shl::Profile::DirVrml] = "/survey/out";
    GisCmd(nullptr, CmdGisRst);
    GisCmd(nullptr, CmdGisImp);
    FileDlgHook = nullptr;
    ASSERT_EQ(dirs.size(), 3);
    EXPECT_EQ(dirs[0], QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(dirs[1], "/survey/out");
    EXPECT_EQ(dirs[2], "/survey/sources");
}

TEST_F(Dialogs, PreferencesStoreTheirValuesAndRecolourTheCurves) {
    crv* c = MkCurve({0, 0, 100, 0}, 150000);
    float before[3] = {c->col[0], c->col[1], c->col[2]};
    QStringList shown;
    int method = -1;
    Peek([&](QDialog& d) {
        for (int ctl : {CtlPickAp, CtlCnctDst, CtlSamHgt, CtlHgtRng}) shown << Text(d, ctl);
        method = Item(d, CtlTrnMethod);
    });
    Q("dialog 180 1029=0 ok");
    DlgCmd(nullptr, MnuPrf);
    EXPECT_EQ(shown, QStringList({"5", "10", "20000", "500"}));
    EXPECT_EQ(method, 0);
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 180 refused: 1 から 100 までの整数を入力してください。"));
    EXPECT_EQ(PickAp, 5);

    Q("dialog 180 1029=7 1030=12 1031=3000 1042=100 1049=1 ok");
    DlgCmd(nullptr, MnuPrf);
    EXPECT_EQ(PickAp, 7);
    EXPECT_EQ(SetWrk.pickAp, 7);
    EXPECT_DOUBLE_EQ(CnctDst, 12.0);
    EXPECT_FLOAT_EQ(SamHgtDst, 3000.0f);
    EXPECT_FLOAT_EQ(HgtRng, 100.0f);
    EXPECT_EQ(TrnMethod, TrnMethodMinCrv);
    // The colour cycle is now 100 m long: the 150 m curve has another colour, the height's.
    crv ref{};
    SetCrvCol(&ref, 150000);
    EXPECT_FLOAT_EQ(c->col[0], ref.col[0]);
    EXPECT_FLOAT_EQ(c->col[1], ref.col[1]);
    EXPECT_FLOAT_EQ(c->col[2], ref.col[2]);
    EXPECT_FALSE(before[0] == c->col[0] && before[1] == c->col[1] && before[2] == c->col[2]);
    // The exit writes what the dialog stored.
    SavPrm();
    EXPECT_EQ(SetSto.pickAp, 7);
    EXPECT_DOUBLE_EQ(SetSto.cnctDst, 12.0);
}

TEST_F(Dialogs, BackgroundAndTerrainColoursKeepTheCustomColours) {
    Q("dialog 180 1038=1 cancel");
    Q("dialog color rgb=10,20,30 custom3=1,2,3 ok");
    DlgCmd(nullptr, MnuPrf);
    EXPECT_DOUBLE_EQ(BgCol[0], 10.0);
    EXPECT_DOUBLE_EQ(BgCol[1], 20.0);
    EXPECT_DOUBLE_EQ(BgCol[2], 30.0);
    EXPECT_EQ(shl::CurProfile().cust[2][0], 1);
    EXPECT_EQ(shl::CurProfile().cust[2][1], 2);
    EXPECT_EQ(shl::CurProfile().cust[2][2], 3);

    mtl* m = TrnPrd->mtlTbls.a[0]->mtls.a[0];
    QColor shown;
    Peek([&](QDialog& d) {
        if (auto* cd = qobject_cast<QColorDialog*>(&d)) shown = cd->currentColor();
    });
    ModFlg = 0;
    Q("dialog color rgb=255,128,0 ok");
    DlgCmd(nullptr, MnuColor);
    EXPECT_EQ(shown, QColor(0, 128, 64));  // diffuse (0, 0.5, 0.25) x 255
    EXPECT_FLOAT_EQ(m->dif[0], 1.0f);
    EXPECT_FLOAT_EQ(m->dif[1], 128 / 255.0f);
    EXPECT_FLOAT_EQ(m->dif[2], 0.0f);
    EXPECT_EQ(ModFlg, 1);
    // Cancel keeps the material.
    Q("dialog color rgb=1,1,1 cancel");
    DlgCmd(nullptr, MnuColor);
    EXPECT_FLOAT_EQ(m->dif[0], 1.0f);
}

TEST_F(Dialogs, SlopeDialogInitialiseRestoresTheDefaultsIntoTheFields) {
    SlpThr[0] = 70.4f;
    SlpThr[1] = 50;
    SlpThr[2] = 20.6f;
    SlpThr[3] = 5;
    SlpMode = 1;
    QStringList shown;
    Peek([&](QDialog& d) {
        for (int k = 0; k < 4; ++k) shown << Text(d, CtlSlpThr0 + k);
    });
    Q("dialog 146 1063=91 ok");
    DlgCmd(nullptr, MnuSlp);
    EXPECT_EQ(shown, QStringList({"70", "50", "21", "5"}));
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 146 refused: 0 から 90 までの整数を入力してください。"));
    EXPECT_EQ(SlpDsp, 0);

    // 初期化 refills the fields only; OK stores them and turns the slope display on.
    Q("dialog 146 1062=10 1068=1 cancel");
    DlgCmd(nullptr, MnuSlp);
    EXPECT_FLOAT_EQ(SlpThr[0], 70.4f);
    Q("dialog 146 1062=10 1068=1 ok");
    DlgCmd(nullptr, MnuSlp);
    EXPECT_FLOAT_EQ(SlpThr[0], 60);
    EXPECT_FLOAT_EQ(SlpThr[1], 45);
    EXPECT_FLOAT_EQ(SlpThr[2], 30);
    EXPECT_FLOAT_EQ(SlpThr[3], 15);
    EXPECT_EQ(SlpMode, 0);
    EXPECT_EQ(SlpDsp, 1);

    Q("dialog 146 1067=1 ok");
    DlgCmd(nullptr, MnuSlp);
    EXPECT_EQ(SlpMode, 1);
}

TEST_F(Dialogs, LightElevation90PointsStraightDown) {
    ASSERT_NE(CurLgtObj, nullptr);
    QString az, el;
    Peek([&](QDialog& d) {
        az = Text(d, CtlLgtAz);
        el = Text(d, CtlLgtEl);
    });
    Q("dialog 185 1039=90 ok");
    DlgCmd(nullptr, MnuLight);
    EXPECT_EQ(el, "54");  // the start-up light stands 54.7 degrees high
    EXPECT_NEAR(CurLgtObj->r.dir[0], 0, 1e-6);
    EXPECT_NEAR(CurLgtObj->r.dir[1], 0, 1e-6);
    EXPECT_NEAR(CurLgtObj->r.dir[2], 1, 1e-6);

    // Reopened: azimuth 0 (north), elevation 90.
    Q("dialog 185 1039=95 ok");
    DlgCmd(nullptr, MnuLight);
    EXPECT_EQ(az, "0");
    EXPECT_EQ(el, "90");
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 185 refused: 0 から 90 までの整数を入力してください。"));
    EXPECT_NEAR(CurLgtObj->r.dir[2], 1, 1e-6);
}

TEST_F(Dialogs, CompassClicksSetTheAnglesAndCancelPutsTheLightBack) {
    // The click geometry: north at the top, east on the right; the elevation quarter circle.
    EXPECT_EQ(shl::LgtAzOfClick(121, 43), 0);
    EXPECT_EQ(shl::LgtAzOfClick(166, 88), 90);
    EXPECT_EQ(shl::LgtAzOfClick(121, 133), 180);
    EXPECT_EQ(shl::LgtAzOfClick(76, 88), 270);
    EXPECT_EQ(shl::LgtAzOfClick(76, 87), 272);  // 90 - trunc(178.7), wrapped
    EXPECT_EQ(shl::LgtElOfClick(321, 88), 0);
    EXPECT_EQ(shl::LgtElOfClick(306, 58), 45);
    EXPECT_EQ(shl::LgtElOfClick(276, 40), 90);
    EXPECT_EQ(shl::LgtElOfClick(270, 40), 90);  // left of the zenith: clamped
    EXPECT_EQ(shl::LgtElOfClick(300, 95), 0);   // below the horizon: clamped

    const float dir0[3] = {CurLgtObj->r.dir[0], CurLgtObj->r.dir[1], CurLgtObj->r.dir[2]};
    float live[3] = {};
    QString az, el;
    auto click = [](QDialog& d, int x, int y) {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x + 0.5, y + 0.5), d.mapToGlobal(QPointF(x, y)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&d, &e);
    };
    Peek([&](QDialog& d) {
        click(d, 166, 88);  // azimuth 90
        click(d, 306, 58);  // elevation 45
        az = Text(d, CtlLgtAz);
        el = Text(d, CtlLgtEl);
        for (int i = 0; i < 3; ++i) live[i] = CurLgtObj->r.dir[i];
    });
    Q("dialog 185 cancel");
    DlgCmd(nullptr, MnuLight);
    EXPECT_EQ(az, "90");
    EXPECT_EQ(el, "45");
    // The light moved at once: towards +x, 45 degrees up.
    EXPECT_NEAR(live[0], std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(live[1], 0, 1e-5);
    EXPECT_NEAR(live[2], std::sqrt(0.5), 1e-5);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(CurLgtObj->r.dir[i], dir0[i]);

    // A click outside both diagrams changes nothing; OK keeps the clicked angles.
    Peek([&](QDialog& d) {
        click(d, 200, 88);
        az = Text(d, CtlLgtAz);
        click(d, 121, 133);  // azimuth 180
    });
    Q("dialog 185 1039=0 ok");
    DlgCmd(nullptr, MnuLight);
    EXPECT_NE(az, "180");
    EXPECT_NEAR(CurLgtObj->r.dir[0], 0, 1e-5);
    EXPECT_NEAR(CurLgtObj->r.dir[1], -1, 1e-5);  // azimuth 180: the light comes from the south
    EXPECT_NEAR(CurLgtObj->r.dir[2], 0, 1e-5);
}

TEST_F(Dialogs, LightSpinsWrapTheAzimuthAndClampTheElevation) {
    QString az, el;
    float live[3] = {};
    Peek([&](QDialog& d) {
        auto* a = d.findChild<QSpinBox*>(QString::number(CtlLgtAz));
        auto* e = d.findChild<QSpinBox*>(QString::number(CtlLgtEl));
        ASSERT_TRUE(a && e);
        a->stepBy(-46);  // 45 - 46 wraps to 359
        e->stepBy(100);   // clamped to 90
        az = Text(d, CtlLgtAz);
        el = Text(d, CtlLgtEl);
        for (int i = 0; i < 3; ++i) live[i] = CurLgtObj->r.dir[i];
        a->stepBy(2);  // 359 + 2 wraps to 1
        e->stepBy(-95);
    });
    Q("dialog 185 ok");
    DlgCmd(nullptr, MnuLight);
    EXPECT_EQ(az, "359");
    EXPECT_EQ(el, "90");
    EXPECT_NEAR(live[2], 1, 1e-6);
    // OK keeps azimuth 1 and elevation 0: nearly north, (0, 1, 0).
    EXPECT_NEAR(CurLgtObj->r.dir[0], std::sin(M_PI / 180), 1e-5);
    EXPECT_NEAR(CurLgtObj->r.dir[1], std::cos(M_PI / 180), 1e-5);
    EXPECT_NEAR(CurLgtObj->r.dir[2], 0, 1e-5);
}

TEST_F(Dialogs, RegionDialogConvertsUnitsAndBuildsTheGrid) {
    RgnUnit = LenUnit::M;
    ItvUnit = LenUnit::M;
    QStringList shown;
    Peek([&](QDialog& d) {
        for (int ctl : {CtlRgnX0, CtlRgnY0, CtlRgnX1, CtlRgnY1, CtlItv}) shown << Text(d, ctl);
    });
    // Switching the interval unit shows the stored 50 m as 50000 mm, so OK keeps it.
    Q("dialog 133 1004=2 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_EQ(shown, QStringList({"-5000", "-5000", "5000", "5000", "50"}));
    EXPECT_FLOAT_EQ(MshItv, 50000.0f);
    EXPECT_EQ(ItvUnit, LenUnit::Mm);

    Q("dialog 133 1005=3 1024=0 1025=0 1026=1000 1027=600 1003=0.5 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 133 refused: 1 から 1e+11 までの数値を入力してください。"));
    EXPECT_EQ(RgnUnit, LenUnit::Mm);  // the unit combo stores at once

    Q("dialog 133 1024=1000 1025=600 1026=0 1027=0 1003=100 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_FLOAT_EQ(TrnRgn[0], 0);
    EXPECT_FLOAT_EQ(TrnRgn[1], 0);
    EXPECT_FLOAT_EQ(TrnRgn[3], 1000);
    EXPECT_FLOAT_EQ(TrnRgn[4], 600);
    EXPECT_FLOAT_EQ(MshItv, 100);
    ASSERT_NE(TrnGrd, nullptr);
    EXPECT_EQ(TrnGrd->rows, 7);
    EXPECT_EQ(TrnGrd->cols, 11);

    // The mouse button keeps the interval and starts the region drag.
    Q("dialog 133 1004=0 1003=2 1028=1 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_FLOAT_EQ(MshItv, 2000);
    EXPECT_EQ(CrntMode, ModeRgn);
}

// The fault: in a drawing at 712 km / 9,558 km the dialog showed the engine's local millimetres
// (or, without an origin, corners rounded to centimetres of 32-bit floats). It shows and takes
// real-world corners to the millimetre; untouched, the region keeps its sub-millimetre corners.
TEST_F(Dialogs, RegionDialogShowsAndTakesRealWorldCorners) {
    Restore<float[6]> keepRgn(TrnRgn);
    Restore<float> keepItv(MshItv);
    Restore<LenUnit> keepRu(RgnUnit), keepIu(ItvUnit);
    Restore<GisRefRec> keepRef(GisRef);
    GisRef = {true, 711000, 9557000, ""};
    const double rgn[4] = {711967.726935, 9557026.759956, 712007.726935, 9557046.759956};
    SetRgnWld(rgn);
    const std::vector<float> exact(TrnRgn, TrnRgn + 6);
    RgnUnit = LenUnit::M;
    ItvUnit = LenUnit::M;
    QStringList shown;
    Peek([&](QDialog& d) {
        for (int ctl : {CtlRgnX0, CtlRgnY0, CtlRgnX1, CtlRgnY1}) shown << Text(d, ctl);
    });
    Q("dialog 133 1003=10 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_EQ(shown, QStringList({"711967.727", "9557026.76", "712007.727", "9557046.76"}));
    EXPECT_EQ(std::vector<float>(TrnRgn, TrnRgn + 6), exact);
    ASSERT_NE(TrnGrd, nullptr);
    EXPECT_EQ(TrnGrd->cols, 5);
    EXPECT_EQ(TrnGrd->rows, 3);

    Q("dialog 133 1024=712000 1025=9557100.5 1026=712100 1027=9557200.5 1003=10 ok");
    DlgCmd(nullptr, MnuRgn);
    EXPECT_FLOAT_EQ(TrnRgn[0], 1000000.0f);
    EXPECT_FLOAT_EQ(TrnRgn[1], 100500.0f);
    EXPECT_FLOAT_EQ(TrnRgn[3], 1100000.0f);
    EXPECT_FLOAT_EQ(TrnRgn[4], 200500.0f);
}

// Fault (mutation left alive): editing the lower-left longitude moved the upper-right corner the
// wrong way (west instead of east).
TEST_F(Dialogs, GldLowerLeftLongitudePushesTheUpperRightEast) {
    const shl::GldCorners def = shl::GldDefCorners(1000);
    shl::GldCorners c = def;
    Q("dialog 144 1056=141 ok");
    ASSERT_TRUE(shl::AskGldCorners(nullptr, &c));
    EXPECT_DOUBLE_EQ(c.lon0, 141 * 3600.0);
    EXPECT_NEAR(c.lon1, c.lon0 + shl::GldDLon(1000, c.lat1), 1e-9);
    EXPECT_GT(c.lon1, c.lon0);
    EXPECT_DOUBLE_EQ(c.lat0, def.lat0);
    EXPECT_DOUBLE_EQ(c.lat1, def.lat1);
}

TEST_F(Dialogs, GldCornersFollowEachOtherWithTheDistanceFixed) {
    const shl::GldCorners def = shl::GldDefCorners(1000);
    EXPECT_NEAR(def.lat1 - def.lat0, 32.142857, 1e-6);
    QStringList shown;
    Peek([&](QDialog& d) {
        for (int ctl : {CtlGldLat1D, CtlGldLat1M, CtlGldLat1S}) shown << Text(d, ctl);
    });
    shl::GldCorners c = def;
    Q("dialog 144 1050=36 ok");
    ASSERT_TRUE(shl::AskGldCorners(nullptr, &c));
    EXPECT_EQ(shown, QStringList({"35", "0", "32.14"}));
    EXPECT_DOUBLE_EQ(c.lat0, 36 * 3600.0);
    EXPECT_NEAR(c.lat1, 36 * 3600.0 + 32.142857, 1e-6);
    EXPECT_DOUBLE_EQ(c.lon1, def.lon1);

    // Longitude: the span at the other corner's latitude.
    c = def;
    Q("dialog 144 1063=10 ok");
    ASSERT_TRUE(shl::AskGldCorners(nullptr, &c));
    EXPECT_DOUBLE_EQ(c.lon1, shl::DmsToArc(140, 10, Rnd2(def.lon1 - 504000)));
    EXPECT_NEAR(c.lon0, c.lon1 - shl::GldDLon(1000, c.lat0), 1e-9);

    // Without the fixed distance only the edited corner changes.
    c = def;
    Q("dialog 144 1053=0 1050=36 ok");
    ASSERT_TRUE(shl::AskGldCorners(nullptr, &c));
    EXPECT_DOUBLE_EQ(c.lat0, 36 * 3600.0);
    EXPECT_DOUBLE_EQ(c.lat1, def.lat1);
    EXPECT_FALSE(c.fix);

    // Refusal and Cancel leave the corners as they were.
    c = def;
    Q("dialog 144 1051=61 ok");
    EXPECT_FALSE(shl::AskGldCorners(nullptr, &c));
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 144 refused: 0 から 60 までの整数を入力してください。"));
    EXPECT_DOUBLE_EQ(c.lat0, def.lat0);
    Q("dialog 144 1050=40 cancel");
    EXPECT_FALSE(shl::AskGldCorners(nullptr, &c));
    EXPECT_DOUBLE_EQ(c.lat0, def.lat0);

    // Degrees, minutes, seconds of an angle.
    int d, m;
    double s;
    shl::ArcToDms(126032.142857, &d, &m, &s);
    EXPECT_EQ(d, 35);
    EXPECT_EQ(m, 0);
    EXPECT_NEAR(s, 32.142857, 1e-9);
    EXPECT_DOUBLE_EQ(shl::DmsToArc(35, 0, 32.5), 126032.5);
}

TEST_F(Dialogs, FileUnitDialogsOpenWithTheCurrentUnit) {
    LenUnit unit = LenUnit::Km;
    int item = -1;
    Peek([&](QDialog& d) { item = Item(d, CtlOutUnit); });
    Q("dialog 141 1047=3 ok");
    EXPECT_TRUE(shl::AskOutUnit(nullptr, &unit));
    EXPECT_EQ(item, 0);
    EXPECT_EQ(unit, LenUnit::Mm);
    Q("dialog 141 1047=1 cancel");
    EXPECT_FALSE(shl::AskOutUnit(nullptr, &unit));
    EXPECT_EQ(unit, LenUnit::Mm);
    Peek([&](QDialog& d) { item = Item(d, CtlInUnit); });
    Q("dialog 188 1048=1 ok");
    EXPECT_TRUE(shl::AskInUnit(nullptr, &unit));
    EXPECT_EQ(item, 3);
    EXPECT_EQ(unit, LenUnit::M);
    Q("dialog 188 1048=4 ok");  // no fifth unit
    EXPECT_FALSE(shl::AskInUnit(nullptr, &unit));
    EXPECT_EQ(unit, LenUnit::M);
}

TEST_F(Dialogs, ScaleByDistanceScalesEveryCurveAndUndoesAsOne) {
    crv* a = MkCurve({1000, 0, 2000, 0}, 10);
    crv* b = MkCurve({0, 500, 0, 1500}, 20);
    AddCrvSlct(a);  // the selection does not limit the scaling
    SclDstLen = 5000;
    shl::SclDstUnit = LenUnit::M;
    QString meas;
    Peek([&](QDialog& d) { meas = Text(d, CtlSdMeas); });
    Q("dialog 184 1036=10 ok");
    SclDstDlg(nullptr);
    EXPECT_EQ(meas, "5");
    EXPECT_FLOAT_EQ(a->p[0], 2000);
    EXPECT_FLOAT_EQ(a->p[3], 4000);
    EXPECT_FLOAT_EQ(b->p[1], 1000);
    EXPECT_FLOAT_EQ(b->p[4], 3000);
    EXPECT_FLOAT_EQ(b->p[2], 20);  // heights stay
    Undo();
    EXPECT_FLOAT_EQ(a->p[3], 2000);
    EXPECT_FLOAT_EQ(b->p[4], 1500);

    // The unit applies to the real distance; the measured one is shown in it.
    Q("dialog 184 1037=3 1036=2500 ok");
    SclDstDlg(nullptr);
    EXPECT_FLOAT_EQ(a->p[3], 1000);
    EXPECT_EQ(shl::SclDstUnit, LenUnit::Mm);

    // Two points at one place give nothing to scale from.
    SclDstLen = 0;
    Q("dialog 184 1036=10 ok");
    SclDstDlg(nullptr);
    EXPECT_TRUE(lines.last().startsWith(QString::fromUtf8("dialog 184 refused: 測定した距離が 0 です。")))
        << lines.last().toStdString();
    EXPECT_FLOAT_EQ(a->p[3], 1000);
    Q("dialog 184 1035=3 ok");  // the measured distance cannot be typed
    SclDstLen = 100;
    SclDstDlg(nullptr);
    EXPECT_TRUE(lines.last().startsWith("dialog 184: 1035=3:")) << lines.last().toStdString();
}

TEST_F(Dialogs, ScaleAndRotationOpenWithTheirNeutralValues) {
    crv* a = MkCurve({1, 0, 2, 0}, 10);
    AddCrvSlct(a);
    QString shown;
    Peek([&](QDialog& d) { shown = d.findChild<QLineEdit*>() ? d.findChild<QLineEdit*>()->text() : ""; });
    Q("dialog 182 1034=0 ok");
    DlgCmd(nullptr, MnuCrvScl);
    EXPECT_EQ(shown, "1");
    EXPECT_EQ(lines.last(), QString::fromUtf8("dialog 182 refused: 1e-11 から 1e+11 までの数値を入力してください。"));
    Q("dialog 182 1034=3 ok");
    DlgCmd(nullptr, MnuCrvScl);
    EXPECT_FLOAT_EQ(a->p[0], 3);
    Q("dialog 183 1035=90 ok");
    DlgCmd(nullptr, MnuCrvRot);
    EXPECT_EQ(shown, "0");
    EXPECT_NEAR(a->p[0], 0, 1e-5);
    EXPECT_NEAR(a->p[1], 3, 1e-5);
}

TEST_F(Dialogs, AboutShowsTheVersionAndTheMakersPage) {
    QStringList texts;
    Peek([&](QDialog& d) {
        for (QLabel* l : d.findChildren<QLabel*>()) texts << l->text();
    });
    Q("dialog about ok");
    EXPECT_TRUE(DlgCmd(nullptr, MnuAbout));
    EXPECT_TRUE(texts.contains("Version 2.0"));
    EXPECT_TRUE(texts.join(' ').contains(QString::fromLatin1(shl::MakerUrl)));
}

TEST_F(Dialogs, MalformedAnswersAreRefusedByTheJournal) {
    auto bad = [](std::vector<std::string> w) {
        std::string err;
        return !DlgVerb(w, &err) && !err.empty();
    };
    EXPECT_TRUE(bad({"dialog", "130", "1000=2"}));
    EXPECT_TRUE(bad({"dialog", "130x", "ok"}));
    EXPECT_TRUE(bad({"dialog", "130", "=2", "ok"}));
    EXPECT_TRUE(bad({"dialog", "130", "1000", "ok"}));
    EXPECT_TRUE(bad({"dialog", "ok"}));
    EXPECT_TRUE(bad({"filedialog"}));
    EXPECT_TRUE(bad({"filedialog", "a", "b"}));
    std::string err;
    EXPECT_FALSE(DlgVerb({"menu", "32806"}, &err));
    EXPECT_TRUE(err.empty());

    // A control the dialog does not have cancels it with a line saying so.
    Q("dialog 145 1999=1 ok");
    DlgCmd(nullptr, MnuFltr);
    EXPECT_EQ(lines.last(), "dialog 145: 1999=1: no such control");

    // File dialogs: queued paths in order, then cancel, then unanswered.
    Q("filedialog /tmp/a.scn");
    Q("filedialog cancel");
    FileDlgReq req;
    req.filter = QString::fromUtf8("ｼｰﾝﾃﾞｰﾀ (*.scn)");
    QString sel;
    EXPECT_EQ(AskFileName(nullptr, req, &sel), "/tmp/a.scn");
    EXPECT_EQ(sel, req.filter);
    EXPECT_EQ(AskFileName(nullptr, req), "");
    EXPECT_EQ(AskFileName(nullptr, req), "");
    EXPECT_EQ(lines.last(), "filedialog (unanswered)");
}

// Every dialog opens, lays itself out and draws: each one shown is grabbed as a picture of some
// size with more than one colour in it, saved and read back. ALT_SHOT_DIR keeps the pictures for
// a look by eye.
TEST_F(Dialogs, EveryDialogDrawsAPicture) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QString dir = qEnvironmentVariable("ALT_SHOT_DIR");
    if (dir.isEmpty()) dir = tmp.path();
    QDir().mkpath(dir);
    // ALT_SHOT_LANG=en: the English dialogs.
    JaAfterTest ja;
    if (qEnvironmentVariable("ALT_SHOT_LANG") == "en") shl::SetUiLang(shl::LangEn);
    QStringList shown;
    DlgOpenHook = [&](QDialog& d, const QString& id) {
        d.show();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QImage img = d.grab().toImage();
        d.hide();
        SCOPED_TRACE(id.toStdString());
        shown << id;
        ASSERT_FALSE(img.isNull());
        EXPECT_GE(img.width(), 100);
        EXPECT_GE(img.height(), 50);
        QSet<QRgb> colours;
        for (int y = 0; y < img.height() && colours.size() < 2; y += 3)
            for (int x = 0; x < img.width() && colours.size() < 2; x += 3) colours.insert(img.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << "a blank picture";
        const QString file = dir + "/dialog_" + id + ".png";
        ASSERT_TRUE(img.save(file));
        EXPECT_EQ(QImage(file).size(), img.size());
    };
    for (int id : {MnuCrvHgt, MnuPrf, MnuDrwArea, MnuRgn, MnuFltr, MnuSlp, MnuLight, MnuAbout, MnuVtxHgt}) {
        DlgCmd(nullptr, id);
    }
    shl::ChkCmd(nullptr, shl::IdHgtLinCmd);
    shl::GldCorners c = shl::GldDefCorners(1000);
    shl::AskGldCorners(nullptr, &c);
    SclDstLen = 1234;
    SclDstDlg(nullptr);
    LenUnit u = LenUnit::Mm;
    shl::AskOutUnit(nullptr, &u);
    // One picture per dialog asked for, each under a name of its own.
    EXPECT_EQ(shown.size(), 13) << shown.join(' ').toStdString();
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), shown.size()) << shown.join(' ').toStdString();
}

}  // namespace
