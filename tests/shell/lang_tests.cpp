// The interface's language: chosen from the locale, the profile and the command line; the English
// catalogue covers the window; Qt's own texts follow; the whole window run in English shows no
// Japanese text.
#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include "core/msg.h"
#include "cmdids.h"
#include "lang.h"
#include "mainframe.h"
#include "mainview.h"
#include "menutable.h"
#include "reclink.h"
#include "tr.h"

#ifndef ALT_APP_PATH
#error "ALT_APP_PATH names the application under test"
#endif

namespace {

using namespace shl;

// Kana, kanji, CJK punctuation and the full- and half-width forms: what no English text holds.
bool HasJapanese(const QString& s) {
    for (const QChar c : s) {
        const ushort u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Restores the Japanese interface after a test that switched it.
struct JaAfter {
    ~JaAfter() { SetUiLang(LangJa); }
};

TEST(Language, LocaleDecidesJapaneseOrEnglish) {
    struct Case {
        const char* name;
        UiLang want;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", LangJa}, {"ja_JP.eucJP", LangJa}, {"ja", LangJa}, {"ja_JP@calendar", LangJa}, {"japanese.euc", LangJa},
        {"C", LangJa}, {"POSIX", LangJa}, {"C.UTF-8", LangJa}, {"C.utf8", LangJa}, {"", LangJa},
        {"en_US.UTF-8", LangEn}, {"en_GB", LangEn}, {"de_DE.UTF-8", LangEn}, {"fr_CA", LangEn},
        // Languages whose codes only begin like Japanese's.
        {"jv_ID", LangEn}, {"jam", LangEn}, {"Cy", LangEn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LangOfLocale(QString::fromLatin1(c.name)), c.want);
    }
}

TEST(Language, CommandLineThenProfileThenLocale) {
    const UiLang en = LangEn, ja = LangJa;
    EXPECT_EQ(ChooseLang(nullptr, PrefSystem, "en_US.UTF-8"), LangEn);
    EXPECT_EQ(ChooseLang(nullptr, PrefSystem, "ja_JP.UTF-8"), LangJa);
    EXPECT_EQ(ChooseLang(nullptr, PrefJa, "en_US.UTF-8"), LangJa);
    EXPECT_EQ(ChooseLang(nullptr, PrefEn, "C"), LangEn);
    EXPECT_EQ(ChooseLang(&en, PrefJa, "ja_JP.UTF-8"), LangEn);
    EXPECT_EQ(ChooseLang(&ja, PrefEn, "en_US.UTF-8"), LangJa);

    UiLang l = LangJa;
    EXPECT_TRUE(ParseLang("en", &l));
    EXPECT_EQ(l, LangEn);
    EXPECT_TRUE(ParseLang("ja", &l));
    EXPECT_EQ(l, LangJa);
    EXPECT_FALSE(ParseLang("EN", &l));
    EXPECT_FALSE(ParseLang("english", &l));
    EXPECT_FALSE(ParseLang("", &l));
}

// Every text of the menu and toolbar tables has its English; the failure lists those missing.
TEST(Language, CatalogueCoversEveryMenuText) {
    JaAfter restore;
    ASSERT_TRUE(SetUiLang(LangEn));
    EXPECT_EQ(MsgLang, 1);
    QStringList missing;
    const auto check = [&missing](const char* ja) {
        if (ja && HasJapanese(TrTxt(ja))) missing << QString::fromUtf8(ja);
    };
    for (const CmdDef& c : AllCmds()) {
        check(c.text);
        check(c.status);
        check(c.tip);
    }
    for (const MenuDef& m : MenuBarDef()) check(m.title);
    for (const ToolbarDef& t : ToolbarsDef()) check(t.title);
    EXPECT_TRUE(missing.isEmpty()) << "untranslated:\n  " << missing.join("\n  ").toStdString();
    EXPECT_EQ(Tx::tr("無題"), "Untitled");

    ASSERT_TRUE(SetUiLang(LangJa));
    EXPECT_EQ(MsgLang, 0);
    EXPECT_EQ(Tx::tr("無題"), QString::fromUtf8("無題"));
}

// The catalogue in the repository has no text left without its English (lupdate marks new ones
// "unfinished").
TEST(Language, CatalogueFileHasNoUnfinishedText) {
    QFile f(QStringLiteral(ALT_SHELL_TEST_DIR) + "/../../shell/lang/altimetra_en.ts");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    QStringList left;
    for (int i = 1; i < lines.size(); ++i)
        if (lines[i].contains("type=\"unfinished\"")) left << lines[i - 1].trimmed();
    EXPECT_TRUE(left.isEmpty()) << "untranslated:\n  " << left.join("\n  ").toStdString();
}

// Qt's standard buttons and dialogs speak the interface's language.
TEST(Language, QtsOwnTextsFollow) {
    JaAfter restore;
    SetUiLang(LangEn);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    SetUiLang(LangJa);
    const QString ja = QCoreApplication::translate("QPlatformTheme", "Cancel");
    if (ja == "Cancel") GTEST_SKIP() << "Qt's Japanese catalogue (qt6-translations-l10n) is not installed";
    EXPECT_TRUE(HasJapanese(ja)) << ja.toStdString();
}

// A language chosen while the window is open (the preferences) shows at once.
TEST(Language, OpenWindowFollowsTheNewLanguage) {
    JaAfter restore;
    RecLink link;
    MainFrame frame(&link);
    frame.View()->SetTimerOn(false);
    EXPECT_EQ(frame.Action(IdFileNew)->text(), QString::fromUtf8("新規作成(&N)"));
    SetUiLang(LangEn);
    EXPECT_EQ(frame.Action(IdFileNew)->text(), "&New");
    EXPECT_EQ(frame.Action(IdFileNew)->statusTip(), "Create a new scene");
    EXPECT_EQ(frame.ShownTitle(), "Untitled - Orvane Altimetra");
    EXPECT_EQ(frame.HgtPane(), "Current height 0 m");
    frame.SetDocTitle("site.scn");
    SetUiLang(LangJa);
    EXPECT_EQ(frame.Action(IdFileNew)->text(), QString::fromUtf8("新規作成(&N)"));
    EXPECT_EQ(frame.ShownTitle(), "site.scn - Orvane Altimetra");
    EXPECT_EQ(frame.HgtPane(), QString::fromUtf8("現在の高さ 0m"));
}

// The application started as a user would, with a locale, a profile and arguments of its own.
class LanguageRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(QDir(work.path()).mkpath("config"));
        // The window journals' data.
        QDir().mkpath(work.filePath("data"));
        QDirIterator it(QStringLiteral(ALT_SHELL_TEST_DIR) + "/data", QDir::Files);
        while (it.hasNext()) {
            it.next();
            QFile::copy(it.filePath(), work.filePath("data/" + it.fileName()));
        }
    }
    QString ProfilePath() const { return work.filePath("config/Orvane/Orvane Altimetra.conf"); }

    // Runs the journal text (or file) with the locale and arguments; returns standard output.
    QString Run(const QString& journalPath, const QString& locale, QStringList args = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", work.filePath("config"));
        env.insert("LC_ALL", locale);
        env.remove("LANGUAGE");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work.path());
        args << "--journal" << journalPath << "--exit";
        p.start(ALT_APP_PATH, args);
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "the application did not finish";
        }
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString RunText(const QByteArray& journal, const QString& locale, const QStringList& args = {}) {
        QFile f(work.filePath("run.jrn"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(journal);
        f.close();
        return Run(work.filePath("run.jrn"), locale, args);
    }
    QString Title(const QString& out) {
        for (const QString& l : out.split('\n'))
            if (l.startsWith("title ")) return l.mid(6);
        return QString();
    }

    QTemporaryDir work;
};

// The whole menu, every dialog, the file dialogs, refusals and message boxes in English: any line
// still holding Japanese is reported.
TEST_F(LanguageRun, EnglishWindowHasNoJapaneseLeft) {
    const QString out =
        Run(QStringLiteral(ALT_SHELL_TEST_DIR) + "/journals/window_texts.jrn", "C.UTF-8", {"--lang", "en"});
    QStringList left;
    for (const QString& l : out.split('\n'))
        if (HasJapanese(l)) left << l;
    EXPECT_TRUE(left.isEmpty()) << left.size() << " lines with untranslated texts:\n"
                                << left.join('\n').toStdString();
    // The run reached every part (the same journal prints the Japanese texts in window_texts.out).
    EXPECT_TRUE(out.contains("title \"Untitled - Orvane Altimetra\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("menu \"&Contours\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("dialog 180 refused: Enter a whole number from 1 to 100.")) << out.toStdString();
    EXPECT_TRUE(out.contains("dialog 178 title \"Auto-Vectorize\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("box 199 \"Error\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("dialog 144 title \"Latitude and Longitude Range\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("Save the changes to Untitled?")) << out.toStdString();
}

// The boxes of unreadable and unwritable files, of commands without contours or terrain, of views
// that need a surface, the unit question, the contour check panel, the GLD export's note, the
// message log and the print layout, in English: no line holds Japanese.
TEST_F(LanguageRun, EnglishWindowBoxesPanelAndNotes) {
    QStringList out;
    for (const char* j : {"window_boxes", "hgtline_checks", "import_log", "print_layout"})
        out << Run(QStringLiteral(ALT_SHELL_TEST_DIR) + "/journals/" + j + ".jrn", "C.UTF-8", {"--lang", "en"});
    const QString all = out.join('\n');
    QStringList left;
    for (const QString& l : all.split('\n'))
        if (HasJapanese(l)) left << l;
    EXPECT_TRUE(left.isEmpty()) << left.size() << " lines with untranslated texts:\n" << left.join('\n').toStdString();
    // The runs reached the boxes, the panel, the GLD note, the log and the sheet.
    for (const char* want : {"box 110 ", "box 398 ", "checkpanel \"Check Contours\"", "GLD holds rows",
                             "DXF import: contours.dxf", "Filter (5°)", "legend \"Slope\"", "Printed: "})
        EXPECT_TRUE(all.contains(QString::fromUtf8(want))) << want << "\n" << all.toStdString();
}

TEST_F(LanguageRun, LocaleProfileAndCommandLineChooseTheLanguage) {
    const QByteArray j = "dump window\n";
    const QString ja = QString::fromUtf8("\"無題 - Orvane Altimetra\"");
    const QString en = "\"Untitled - Orvane Altimetra\"";
    EXPECT_EQ(Title(RunText(j, "en_US.UTF-8")), en);
    EXPECT_EQ(Title(RunText(j, "ja_JP.UTF-8")), ja);
    EXPECT_EQ(Title(RunText(j, "C.UTF-8", {"--lang", "en"})), en);
    {
        QSettings s(ProfilePath(), QSettings::IniFormat);
        s.setValue("Interface/Language", "ja");
    }
    EXPECT_EQ(Title(RunText(j, "en_US.UTF-8")), ja);
    EXPECT_EQ(Title(RunText(j, "en_US.UTF-8", {"--lang", "en"})), en);
    // The command line's choice is for one run: the profile keeps its own.
    EXPECT_EQ(QSettings(ProfilePath(), QSettings::IniFormat).value("Interface/Language").toString(), "ja");
}

TEST_F(LanguageRun, PreferencesChoiceShowsAtOnceAndIsKept) {
    // Japanese item 1 is English; the window follows before the dialog's caller returns.
    const QString out = RunText("dialog 180 1069=1 ok\nmenu 32824\ndump window\n", "ja_JP.UTF-8");
    EXPECT_EQ(Title(out), "\"Untitled - Orvane Altimetra\"") << out.toStdString();
    EXPECT_EQ(QSettings(ProfilePath(), QSettings::IniFormat).value("Interface/Language").toString(), "en");
    // Back to following the system.
    RunText("dialog 180 1069=2 ok\nmenu 32824\n", "en_US.UTF-8");
    EXPECT_EQ(QSettings(ProfilePath(), QSettings::IniFormat).value("Interface/Language").toString(), "system");
}

TEST_F(LanguageRun, UnknownLanguageIsRefused) {
    QProcess p;
    p.start(ALT_APP_PATH, {"--lang", "fr"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--lang takes en or ja"));
}

}  // namespace
