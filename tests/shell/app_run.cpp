// The whole application, run as a user would start it with a journal: start-up, the view's
// picture, the profile written at exit, no temporary files left behind.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <vector>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#ifndef ALT_APP_PATH
#error "ALT_APP_PATH names the application under test"
#endif

namespace {

// Share of the picture's pixels that have colour c.
double Share(const QImage& img, QRgb c) {
    if (img.isNull()) return 0;
    long n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xffffff) == (c & 0xffffff)) ++n;
    return double(n) / (double(img.width()) * img.height());
}

struct Result {
    int exitCode = -1;
    QString out, err;
};

class AppRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(QDir(work.path()).mkpath("config"));
    }
    QString Path(const QString& name) const { return work.filePath(name); }
    QString ProfilePath() const { return Path("config/Orvane/Orvane Altimetra.conf"); }

    Result Run(const QByteArray& journal, bool exitAfter = true) {
        QFile f(Path("run.jrn"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(journal);
        f.close();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", Path("config"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work.path());
        QStringList args{"--journal", Path("run.jrn")};
        if (exitAfter) args << "--exit";
        p.start(ALT_APP_PATH, args);
        Result r;
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

    QTemporaryDir work;
};

TEST_F(AppRun, StartsShowsTheBackgroundAndLeavesNoTemporaryFiles) {
    const Result r = Run("window 240 160\n"
                         "snapshot view.png\n"
                         "echo shown\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("shown\n")) << r.out.toStdString();

    const QImage img(Path("view.png"));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(240, 160));
    // The background shows between the lines of the 2D grid.
    EXPECT_GT(Share(img, qRgb(0, 74, 74)), 0.02);

    const QStringList spill = QDir(work.path()).entryList({"*.Fbuf", "*.Tbuf"}, QDir::Files);
    EXPECT_TRUE(spill.isEmpty()) << spill.join(' ').toStdString();

    // The profile is written at exit with every key.
    QSettings s(ProfilePath(), QSettings::IniFormat);
    EXPECT_EQ(s.value("Default Parameters/Pick Apperture").toString(), "5");
    EXPECT_EQ(s.value("Default Parameters/Angle of Filter Surface").toString(), "45.000000");
    EXPECT_EQ(s.value("Default Parameters/Background Color G").toString(), "74.000000");
    EXPECT_TRUE(s.contains("File Directories/Image File Directory"));
}

TEST_F(AppRun, ProfileIsReadAtStartUpAndKeptAtExit) {
    {
        QSettings s(ProfilePath(), QSettings::IniFormat);
        s.setValue("Default Parameters/Pick Apperture", "9");
        s.setValue("Default Parameters/Custom Color3", "1 2 3");
        s.setValue("Default Parameters/Angle of Filter Surface", "banana");
        s.setValue("File Directories/Scean File Directory", "/srv/maps");
        s.setValue("Default Parameters/Background Color R", "10");
        s.setValue("Default Parameters/Background Color G", "20");
        s.setValue("Default Parameters/Background Color B", "30");
    }
    const Result r = Run("window 200 150\nsnapshot bg.png\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img(Path("bg.png"));
    EXPECT_GT(Share(img, qRgb(10, 20, 30)), 0.02);
    EXPECT_EQ(Share(img, qRgb(0, 74, 74)), 0.0);
    QSettings s(ProfilePath(), QSettings::IniFormat);
    EXPECT_EQ(s.value("Default Parameters/Pick Apperture").toString(), "9");
    EXPECT_EQ(s.value("Default Parameters/Custom Color3").toString(), "1 2 3");
    EXPECT_EQ(s.value("Default Parameters/Angle of Filter Surface").toString(), "45.000000");
    EXPECT_EQ(s.value("File Directories/Scean File Directory").toString(), "/srv/maps");
    EXPECT_EQ(s.value("Default Parameters/Background Color B").toString(), "30.000000");
}

TEST_F(AppRun, SnapshotsFollowTheWindowSize) {
    const Result r = Run("window 300 200\n"
                         "snapshot a.png\n"
                         "window 128 96\n"
                         "snapshot b.png\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(Path("a.png")).size(), QSize(300, 200));
    const QImage b(Path("b.png"));
    EXPECT_EQ(b.size(), QSize(128, 96));
    EXPECT_GT(Share(b, qRgb(0, 74, 74)), 0.02);
}

// Pixels of img within tol of c in each channel, inside the rectangle [x0, x1) x [y0, y1).
long Count(const QImage& img, QRgb c, int x0, int y0, int x1, int y1, int tol = 2) {
    long n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - qRed(c)) <= tol && std::abs(qGreen(p) - qGreen(c)) <= tol &&
                std::abs(qBlue(p) - qBlue(c)) <= tol)
                ++n;
        }
    return n;
}

TEST_F(AppRun, ReplayedEditingShowsTheContourAndTheTerrainInTheWindow) {
    // 800 px show 10 km: a contour across the top at 100 m, a 4 km x 2 km terrain in the middle.
    const Result r = Run("window 800 600\n"
                         "cmd 1 101001\n"
                         "click 200 100\n"
                         "click 600 100\n"
                         "rpress 0 0\nrrelease 0 0\n"
                         "set CrvHgt 100000\n"
                         "cmd 1 101022\n"
                         "click 400 100\n"
                         "rpress 0 0\nrrelease 0 0\n"
                         "snapshot curve.png\n"
                         "set TrnRgn -2000000 -1000000 2000000 1000000\n"
                         "set MshItv 100000\n"
                         "cmd 1 101042\n"
                         "snapshot terrain.png\n"
                         "cmd 4 104134\n"
                         "snapshot hidden.png\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    // The contour is drawn in its height colour along its whole length, nowhere else.
    const QImage curve(Path("curve.png"));
    ASSERT_EQ(curve.size(), QSize(800, 600));
    const QRgb hc = qRgb(65, 255, 51);
    EXPECT_GT(Count(curve, hc, 210, 98, 590, 103), 350);
    EXPECT_EQ(Count(curve, hc, 0, 110, 800, 600), 0);

    // The flat grid shows in the terrain colour inside the region (x 240..560, y 220..380) only.
    const QImage terrain(Path("terrain.png"));
    const QRgb wire = qRgb(0, 128, 64);
    EXPECT_GT(Count(terrain, wire, 245, 225, 555, 375), 5000);
    EXPECT_EQ(Count(terrain, wire, 0, 400, 800, 600), 0);
    EXPECT_GT(Count(terrain, hc, 210, 98, 590, 103), 350);

    // Hidden again: the region shows the plain background between the grid lines.
    const QImage hidden(Path("hidden.png"));
    EXPECT_EQ(Count(hidden, wire, 245, 225, 555, 375), 0);
    EXPECT_GT(Count(hidden, qRgb(0, 74, 74), 245, 225, 555, 375, 0), 5000);
}

TEST_F(AppRun, MalformedJournalStopsWithStatus2AndStillEndsCleanly) {
    const Result r = Run("echo before\n"
                         "frobnicate 1\n"
                         "echo after\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.contains("before\n"));
    EXPECT_FALSE(r.out.contains("after"));
    EXPECT_TRUE(r.err.contains("journal:2: ")) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(ProfilePath()));
    EXPECT_TRUE(QDir(work.path()).entryList({"*.Fbuf", "*.Tbuf"}, QDir::Files).isEmpty());
}

TEST_F(AppRun, UnwritableSnapshotIsReportedAndLeavesNothing) {
    const Result r = Run("snapshot no-such-dir/x.png\n"
                         "echo after\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("journal:1: snapshot no-such-dir/x.png")) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("after"));
}

TEST_F(AppRun, JournalThatQuitsEndsTheApplication) {
    // No --exit: the window would stay open, but the engine has ended.
    const Result r = Run("answer yes\n"
                         "cmd 99 100058\n"
                         "echo not reached\n",
                         false);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("box 399 \"注意\" yes: 終了してよろしいですか？")))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("not reached"));
    EXPECT_TRUE(QFile::exists(ProfilePath()));
}

TEST_F(AppRun, TerminationSignalSavesTheProfileAndCleansUp) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", Path("config"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work.path());
    p.start(ALT_APP_PATH, {});
    ASSERT_TRUE(p.waitForStarted());
    // Give it time to show its window; then ask it to end.
    p.waitForFinished(3000);
    ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(ProfilePath()));
    EXPECT_TRUE(QDir(work.path()).entryList({"*.Fbuf", "*.Tbuf"}, QDir::Files).isEmpty());
}

TEST_F(AppRun, UnreadableDocumentEndsBeforeTheWindowShows) {
    QProcess p;
    p.setWorkingDirectory(work.path());
    p.start(ALT_APP_PATH, {Path("missing.scn")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("missing.scn"));
}

}  // namespace

namespace {

// A number after "key " on the line of out that starts with it: "frame 1 2 3 4" gives 1, 2, 3, 4.
std::vector<double> Nums(const QString& out, const QString& key) {
    std::vector<double> v;
    for (const QString& l : out.split('\n'))
        if (l.startsWith(key + ' ')) {
            for (const QString& w : l.mid(key.size() + 1).split(' ', Qt::SkipEmptyParts)) v.push_back(w.toDouble());
            break;
        }
    return v;
}

}  // namespace

// Dragging the region box and the height line drew nothing until the release: the band is now part
// of every picture while the button is held (under Xvfb and Mesa's software GL as on any desktop),
// and gone once the drag ends.
TEST_F(AppRun, RubberBandsShowWhileDraggingAndGoAfterwards) {
    const Result r = Run("window 400 300\n"
                         "cmd 1 101024\n"
                         "press 100 80\nmove 200 150\nmove 300 220\n"
                         "snapshot box.png\n"
                         "release 300 220\n"
                         "rpress 0 0\nrrelease 0 0\n"
                         "snapshot after.png\n"
                         "dialog 190 ok\nmenu 32910\n"
                         "press 50 250\nmove 200 150\nmove 350 50\n"
                         "snapshot line.png\n"
                         "release 350 50\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QRgb yellow = qRgb(255, 255, 0);
    const QImage box(Path("box.png"));
    ASSERT_EQ(box.size(), QSize(400, 300));
    // The four sides from the press to the pointer, nothing inside or outside.
    EXPECT_GT(Count(box, yellow, 105, 78, 295, 83), 180);
    EXPECT_GT(Count(box, yellow, 105, 217, 295, 222), 180);
    EXPECT_GT(Count(box, yellow, 98, 85, 103, 215), 120);
    EXPECT_GT(Count(box, yellow, 297, 85, 302, 215), 120);
    EXPECT_EQ(Count(box, yellow, 110, 90, 290, 210), 0);
    EXPECT_EQ(Count(box, yellow, 0, 230, 400, 300), 0);
    EXPECT_EQ(Count(QImage(Path("after.png")), yellow, 0, 0, 400, 300), 0);
    // The line follows the pointer from the press.
    const QImage line(Path("line.png"));
    EXPECT_GT(Count(line, yellow, 195, 145, 205, 155), 3);
    EXPECT_GT(Count(line, yellow, 55, 50, 345, 250), 250);
    EXPECT_EQ(Count(line, yellow, 0, 0, 120, 120), 0);
}

// The printed sheet shows the view at its scale: a contour at (-2.5..2.5 km, 2.5 km) lies where the
// sheet's extent puts it on the page, and the window's view is as it was after the print.
TEST_F(AppRun, PrintedSheetDrawsTheViewAtItsScale) {
    const Result r = Run("window 800 600\n"
                         "cmd 1 101001\nclick 200 100\nclick 600 100\nrpress 0 0\nrrelease 0 0\n"
                         "set CrvHgt 100000\ncmd 1 101022\nclick 400 100\nrpress 0 0\nrrelease 0 0\n"
                         "dump camera\n"
                         "printsheet sheet.png 50000\n"
                         "dump print\n"
                         "dump camera\n"
                         "snapshot view.png\n");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList cams = r.out.split("camera \"");
    ASSERT_EQ(cams.size(), 3) << r.out.toStdString();
    const auto view = [](const QString& c) { return c.left(c.indexOf("PrjFlg")); };
    EXPECT_EQ(view(cams[1]).toStdString(), view(cams[2]).toStdString());
    EXPECT_TRUE(r.out.contains(" scale=1:50,000 fit=0 ")) << r.out.toStdString();

    const std::vector<double> f = Nums(r.out, "frame"), e = Nums(r.out, "extent");
    ASSERT_EQ(f.size(), 4u) << r.out.toStdString();
    ASSERT_EQ(e.size(), 4u) << r.out.toStdString();
    // The frame holds the scale: its width in ground metres is 50,000 times its width on paper.
    EXPECT_NEAR((e[2] - e[0]) * 1000 / f[2], 50000, 50);  // the frame printed to 0.1 mm
    EXPECT_NEAR((e[3] - e[1]) * 1000 / f[3], 50000, 50);
    const QImage sheet(Path("sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    const double k = 4;  // pixels a millimetre
    const auto px = [&](double x) { return (f[0] + (x - e[0]) / (e[2] - e[0]) * f[2]) * k; };
    const auto py = [&](double y) { return (f[1] + (e[3] - y) / (e[3] - e[1]) * f[3]) * k; };
    const QRgb hc = qRgb(65, 255, 51);
    const int row = int(py(2500)), x0 = int(px(-2500)), x1 = int(px(2500));
    const long along = Count(sheet, hc, x0 + 3, row - 3, x1 - 3, row + 4, 40);
    EXPECT_GT(along, (x1 - x0 - 6) * 8 / 10) << "row " << row << " columns " << x0 << ".." << x1;
    // Nowhere else in the frame (the legend below it shows the colour too).
    const int fl = int(f[0] * k) + 2, ft = int(f[1] * k) + 2, fr = int((f[0] + f[2]) * k) - 2, fb = int((f[1] + f[3]) * k) - 2;
    EXPECT_EQ(Count(sheet, hc, fl, ft, fr, row - 8, 40), 0);
    EXPECT_EQ(Count(sheet, hc, fl, row + 8, fr, fb, 40), 0);
    EXPECT_EQ(Count(sheet, hc, fl, row - 3, x0 - 6, row + 4, 40), 0);
    // The window shows what it showed before.
    EXPECT_GT(Count(QImage(Path("view.png")), hc, 210, 98, 590, 103), 350);
}
