// Dialog answers in the real window: a journal run by the application answers the dialog that
// the scale-by-distance drag opens, on the same path a user's click takes.
#include <gtest/gtest.h>
#include <QDir>
#include <cmath>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#ifndef ALT_APP_PATH
#error "ALT_APP_PATH names the application under test"
#endif

namespace {

struct AppOut {
    int exitCode = -1;
    QString out, err;
};

AppOut RunApp(const QTemporaryDir& work, const QByteArray& journal) {
    QFile f(work.filePath("run.jrn"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(journal);
    f.close();
    QDir(work.path()).mkpath("config");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", work.filePath("config"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work.path());
    p.start(ALT_APP_PATH, {"--journal", work.filePath("run.jrn"), "--exit"});
    AppOut r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the application did not finish";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The x of every point of the curves in `dump curves` blocks, in order.
QList<double> Xs(const QString& block) {
    QList<double> xs;
    static const QRegularExpression pt("^  (-?[0-9.]+) (-?[0-9.]+) (-?[0-9.]+)$",
                                       QRegularExpression::MultilineOption);
    auto it = pt.globalMatch(block);
    while (it.hasNext()) xs << it.next().captured(1).toDouble();
    return xs;
}

TEST(DlgJournal, ScaleByDistanceDialogIsAnsweredInTheWindow) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const AppOut r = RunApp(work,
                         "window 400 300\n"
                         "dump camera\n"
                         "cmd 1 101001\n"
                         "click 100 150\nclick 300 150\nclick 300 100\n"
                         "rpress 300 100\nrrelease 300 100\n"
                         "echo before\ndump curves\n"
                         "cmd 1 101045\n"
                         "drag 100 150 300 150 4\n"  // nothing queued: cancelled
                         "dialog 184 1036=0 ok\n"
                         "drag 100 150 300 150 4\n"  // refused
                         "dialog 184 1037=3 1036=1000 ok\n"
                         "drag 100 150 300 150 4\n"
                         "rpress 0 0\nrrelease 0 0\n"
                         "echo after\ndump curves\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("dialog 184 (unanswered)\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(
        "dialog 184 refused: 1e-11 から 1e+11 までの数値を入力してください。\n")))
        << r.out.toStdString();

    const QRegularExpression wid("^ScrWid ([0-9.e+]+)$", QRegularExpression::MultilineOption);
    const auto m = wid.match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    // 200 pixels of a 400-pixel view measure half the view's width.
    const double measured = m.captured(1).toDouble() / 2;
    const int b = r.out.indexOf("before\n"), a = r.out.indexOf("after\n");
    ASSERT_GE(b, 0);
    ASSERT_GT(a, b);
    const QList<double> x0 = Xs(r.out.mid(b, a - b)), x1 = Xs(r.out.mid(a));
    ASSERT_EQ(x0.size(), 3);
    ASSERT_EQ(x1.size(), 3);
    const double f = 1000 / measured;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x1[i], x0[i] * f, std::fabs(x0[i] * f) * 1e-3 + 1e-3);
}

TEST(DlgJournal, MalformedAnswerStopsTheWindowJournal) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const AppOut r = RunApp(work, "echo a\ndialog 145 1060=30\necho b\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("journal:2: dialog: the last word must be ok or cancel"))
        << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("b\n"));
}

}  // namespace
