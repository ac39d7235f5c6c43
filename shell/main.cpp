// Orvane Altimetra: contour lines to digital terrain models.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include "app.h"
#include "journalhost.h"
#include "mainframe.h"
#include "mainview.h"
#include "qtplatform.h"
#include "viewlink.h"

namespace {
void Usage() {
    std::fprintf(stderr,
                 "usage: altimetra [FILE.scn]\n"
                 "       altimetra --journal FILE.jrn [--exit]\n");
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane Altimetra"));
    QApplication app(argc, argv);

    QString doc, journal;
    bool exitAfter = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--journal") && i + 1 < args.size()) {
            journal = args[++i];
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

    shl::QtPlatform plat;
    plt::Set(&plat);
    shl::StartEngine();

    shl::EngineLink link;
    auto frame = std::make_unique<shl::MainFrame>(&link);
    plat.SetFrame(frame.get());
    frame->show();

    int journalStatus = 0;
    if (!journal.isEmpty()) {
        // Ticks come from the journal, not from the clock.
        frame->View()->SetTimerOn(false);
        QTimer::singleShot(0, &app, [&] {
            shl::JournalHost host(frame.get());
            journalStatus = host.Run(journal);
            if (exitAfter) {
                frame->close();
                QCoreApplication::exit(journalStatus);
            }
        });
    }

    int rc = app.exec();
    if (!journal.isEmpty() && exitAfter) rc = journalStatus;

    plat.SetFrame(nullptr);
    frame.reset();
    shl::EndEngine();
    plt::Set(nullptr);
    return rc;
}
