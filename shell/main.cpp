// Orvane Altimetra: contour lines to digital terrain models.
#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>
#include <cstring>
#include <memory>
#include "app.h"
#include "cmdroute.h"
#include "display/glctx.h"
#include "doccmd.h"
#include "engcall.h"
#include "core/state.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "journalhost.h"
#include "recovery.h"
#include "lang.h"
#include "mainframe.h"
#include "mainview.h"
#include "profile.h"
#include "qtplatform.h"
#include "viewlink.h"

namespace {
// A termination signal (logout, kill, Ctrl-C) ends the application as its window would, so the
// profile is saved and the engine's temporary files go. The handler only writes to a pipe.
int sigFd[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(sigFd[1], &c, 1);
}

void CatchSignals(QApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, sigFd) != 0) return;
    auto* sn = new QSocketNotifier(sigFd[0], QSocketNotifier::Read, &app);
    QObject::connect(sn, &QSocketNotifier::activated, &app, [sn] {
        sn->setEnabled(false);
        char c;
        [[maybe_unused]] ssize_t n = ::read(sigFd[0], &c, 1);
        for (QWidget* w : QApplication::topLevelWidgets()) w->close();
        QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

// The window title follows the document's title after every document flow.
shl::MainFrame* titleFrame = nullptr;
void UpdTitle() {
    if (titleFrame)
        titleFrame->SetDocTitle(Doc.title == "無題" ? QString() : QString::fromStdString(Doc.title));
    // Saved, new or opened: nothing is left to recover.
    if (shl::Recovery* r = shl::AppRecovery(); r && !ModFlg) r->Remove();
}

void Usage() {
    std::fprintf(stderr,
                 "usage: altimetra [--lang en|ja] [FILE.scn]\n"
                 "       altimetra [--lang en|ja] --journal FILE.jrn [--exit]\n"
                 "       altimetra --version\n");
}
}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they need no display.
    if (argc == 2 && !std::strcmp(argv[1], "--version")) {
        std::puts("altimetra " ALT_VERSION);
        return 0;
    }
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        Usage();
        return 0;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane Altimetra"));
    QApplication app(argc, argv);
    // The desktop's entry for the application (its icon and the documents it opens).
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane-altimetra"));

    QString doc, journal;
    bool exitAfter = false;
    shl::UiLang argLang = shl::LangJa;
    bool haveLang = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--journal") && i + 1 < args.size()) {
            journal = args[++i];
        } else if (a == QLatin1String("--lang") && i + 1 < args.size()) {
            if (!shl::ParseLang(args[++i], &argLang)) {
                std::fprintf(stderr, "altimetra: --lang takes en or ja\n");
                return 2;
            }
            haveLang = true;
        } else if (a == QLatin1String("--exit")) {
            exitAfter = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            Usage();
            return 0;
        } else if (a.startsWith(QLatin1String("--")) || !doc.isEmpty()) {
            Usage();
            return 2;
        } else {
            doc = a;
        }
    }

    // A document that cannot be read ends the application before its window shows.
    if (!doc.isEmpty() && !QFileInfo(doc).isReadable()) {
        std::fprintf(stderr, "altimetra: cannot read %s\n", doc.toLocal8Bit().constData());
        return 1;
    }

    shl::QtPlatform plat;
    plt::Set(&plat);
    shl::StartEngine();
    CatchSignals(app);
    // The profile is read by now: its language choice is known.
    const shl::UiLang lang = shl::ChooseLang(haveLang ? &argLang : nullptr,
                                             shl::CurProfile().lang, shl::MsgLocaleName());
    if (!shl::SetUiLang(lang)) std::fprintf(stderr, "altimetra: the English texts are missing\n");

    shl::EngineLink link;
    auto frame = std::make_unique<shl::MainFrame>(&link);
    plat.SetFrame(frame.get());
    // Too few colours for the view: the message is shown and the application ends.
    if (ChkDspCol() < 0) {
        plat.SetFrame(nullptr);
        frame.reset();
        shl::EndEngine();
        plt::Set(nullptr);
        return 1;
    }
    titleFrame = frame.get();
    DocTitleHook = UpdTitle;
    frame->show();
    shl::Recovery recovery;
    shl::SetAppRecovery(&recovery);
    recovery.Start();
    if (journal.isEmpty()) {
        // Copies left by a crash are offered once the window is up (a journal answers the
        // question after its first line); a restored document takes the place of FILE.
        QTimer::singleShot(0, &app, [&recovery, &frame, doc] {
            if (!recovery.Offer() && !doc.isEmpty())
                DocOpenPath(frame.get(), QFileInfo(doc).absoluteFilePath());
        });
    } else if (!doc.isEmpty()) {
        // Opened once the window is up, so the 2D window follows the view's real size.
        const QString path = QFileInfo(doc).absoluteFilePath();
        QTimer::singleShot(0, &app, [&frame, path] { DocOpenPath(frame.get(), path); });
    }

    int journalStatus = 0;
    if (!journal.isEmpty()) {
        // Ticks come from the journal, not from the clock.
        frame->View()->SetTimerOn(false);
        QTimer::singleShot(0, &app, [&] {
            shl::JournalHost host(frame.get());
            journalStatus = host.Run(journal);
            // A journal that ended the engine ends the application too.
            if (exitAfter || !shl::EngineRunning()) {
                shl::DocSkipCloseAsk();
                frame->close();
                QCoreApplication::exit(journalStatus);
            }
        });
    }

    int rc = app.exec();
    if (!journal.isEmpty() && (exitAfter || !shl::EngineRunning())) rc = journalStatus;

    // A normal end: the recovery copy goes with the lock.
    recovery.End();
    shl::SetAppRecovery(nullptr);
    DocTitleHook = nullptr;
    titleFrame = nullptr;
    plat.SetFrame(nullptr);
    frame.reset();
    shl::EndEngine();
    plt::Set(nullptr);
    return rc;
}
