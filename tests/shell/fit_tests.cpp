// Texts the window cuts: every dialog of the window-texts journal, in Japanese and in English,
// gives each label, button and its title the room it needs ("Set Heig…g a Line" was cut).
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#ifndef ALT_APP_PATH
#error "ALT_APP_PATH names the application under test"
#endif

namespace {

// The journal run by the application in a scratch folder with the window journals' data.
QString RunWindowTexts(const QTemporaryDir& work, const QString& lang) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", work.filePath("config"));
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work.path());
    p.start(ALT_APP_PATH, {"--lang", lang, "--journal",
                           QStringLiteral(ALT_SHELL_TEST_DIR) + "/journals/window_texts.jrn", "--exit"});
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the application did not finish";
    }
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(TextFit, NoDialogCutsItsTextsInEitherLanguage) {
    for (const char* lang : {"ja", "en"}) {
        SCOPED_TRACE(lang);
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        QDir(work.path()).mkpath("config");
        QDir(work.path()).mkpath("data");
        QDirIterator it(QStringLiteral(ALT_SHELL_TEST_DIR) + "/data", QDir::Files);
        while (it.hasNext()) {
            it.next();
            QFile::copy(it.filePath(), work.filePath("data/" + it.fileName()));
        }
        const QString out = RunWindowTexts(work, QString::fromLatin1(lang));
        ASSERT_TRUE(out.contains("dialog 180 title")) << "the run reached the preferences";
        QStringList cut;
        for (const QString& l : out.split('\n'))
            if (l.contains(" clipped ")) cut << l;
        EXPECT_TRUE(cut.isEmpty()) << cut.join('\n').toStdString();
    }
}

}  // namespace
