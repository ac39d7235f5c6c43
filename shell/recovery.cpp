#include "recovery.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <algorithm>
#include <vector>
#include "core/state.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "doc/recover.h"
#include "engcall.h"
#include "platform/platform.h"
#include "profile.h"
#include "tr.h"

namespace shl {

namespace {
Recovery* gRecovery = nullptr;
constexpr int PollMs = 1000;  // how often the clock looks at the document
const char* const Prefix = "altimetra-";

qint64 NowMs() { return QDateTime::currentMSecsSinceEpoch(); }

QString Base(qint64 pid) { return QString::fromLatin1(Prefix) + QString::number(pid); }

// A box through the engine's platform: the window shows it, a journal answers it.
int Ask(const QString& text, int buttons, int icon) {
    const QByteArray t = text.toUtf8();
    const QByteArray c = Tx::tr("注意").toUtf8();
    return plt::Get()->MsgBox(t.constData(), c.constData(), buttons, icon);
}

// Puts a damaged copy aside under a name the offer no longer looks at.
QString SetAside(const QString& scn, const QString& meta) {
    const QString stamp = QString::number(NowMs());
    const QString aside = scn + QStringLiteral(".damaged-") + stamp;
    QFile::rename(scn, aside);
    QFile::rename(meta, meta + QStringLiteral(".damaged-") + stamp);
    return aside;
}
}  // namespace

Recovery* AppRecovery() { return gRecovery; }
void SetAppRecovery(Recovery* r) { gRecovery = r; }

Recovery::Recovery(QObject* parent) : QObject(parent) {
    const QString dir = Folder();
    const QString base = dir + QLatin1Char('/') + Base(QCoreApplication::applicationPid());
    scn_ = base + QStringLiteral(".scn");
    meta_ = base + QStringLiteral(".rcv");
    timer_.setInterval(PollMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

Recovery::~Recovery() { Join(); }

QString Recovery::Folder() {
    std::unique_ptr<QSettings> s(OpenUserProfile());
    return QFileInfo(s->fileName()).absolutePath() + QStringLiteral("/recovery");
}

void Recovery::Start() {
    QDir().mkpath(Folder());
    lock_ = std::make_unique<QLockFile>(Folder() + QLatin1Char('/') + Base(QCoreApplication::applicationPid()) +
                                        QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);  // only a process that is gone leaves a stale lock
    lock_->tryLock(0);
    timer_.start();
}

void Recovery::Join() {
    if (worker_.joinable()) worker_.join();
}

bool Recovery::WriteNow(bool wait, QString* err) {
    if (busy_) {
        if (!wait) return false;
        Join();
    }
    Join();
    QDir().mkpath(Folder());
    // The snapshot is the only part on this thread: the file is written beside the window.
    auto copy = std::make_shared<RcvCopy>();
    {
        EngCall c;
        RcvSnap(copy.get(), QDateTime::currentSecsSinceEpoch());
    }
    busy_ = true;
    failed_ = false;
    written_ = true;
    const std::string scn = scn_.toStdString(), meta = meta_.toStdString();
    auto errText = std::make_shared<std::string>();
    worker_ = std::thread([this, copy, scn, meta, errText] {
        if (RcvWrite(*copy, scn, meta, errText.get()) != 0) failed_ = true;
        busy_ = false;
    });
    due_ = AutoSaveSec > 0 ? NowMs() + 1000LL * AutoSaveSec : -1;
    if (!wait) return true;
    Join();
    if (failed_) {
        if (err) *err = QString::fromStdString(*errText);
        return false;
    }
    return true;
}

void Recovery::Remove() {
    Join();
    if (!written_ && !QFile::exists(scn_) && !QFile::exists(meta_)) return;
    QFile::remove(scn_);
    QFile::remove(meta_);
    written_ = false;
    due_ = -1;
}

void Recovery::End() {
    timer_.stop();
    Remove();
    if (lock_) lock_->unlock();
    lock_.reset();
}

void Recovery::Tick() {
    // Never inside an engine call (a modal box, a long operation): the scene may be half made.
    if (EngDepth() > 0) return;
    if (!ModFlg) {
        if (written_) Remove();
        due_ = -1;
        return;
    }
    if (AutoSaveSec <= 0) return;
    const qint64 now = NowMs();
    if (due_ < 0 || due_ > now + 1000LL * AutoSaveSec) {
        // First changes seen (or a shorter period chosen): the copy is due one period later.
        due_ = now + 1000LL * AutoSaveSec;
        return;
    }
    if (now >= due_ && !busy_) WriteNow(false, nullptr);
}

bool Recovery::Offer() {
    const QDir dir(Folder());
    const qint64 own = QCoreApplication::applicationPid();
    struct Found {
        QString scn, meta, lock;
        qint64 when;
    };
    std::vector<Found> found;
    for (const QFileInfo& fi : dir.entryInfoList({QString::fromLatin1(Prefix) + QStringLiteral("*.rcv")}, QDir::Files)) {
        const QString base = fi.completeBaseName();
        bool ok = false;
        const qint64 pid = base.mid(int(std::strlen(Prefix))).toLongLong(&ok);
        if (!ok || pid == own) continue;
        const QString stem = dir.absoluteFilePath(base);
        found.push_back({stem + QStringLiteral(".scn"), fi.absoluteFilePath(), stem + QStringLiteral(".lock"),
                         fi.lastModified().toMSecsSinceEpoch()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.when > b.when; });
    bool restored = false;
    for (const Found& f : found) {
        // The lock of a live process is held: its copy is not ours to offer. Holding it meanwhile
        // keeps a second starting instance from offering the same copy.
        QLockFile lock(f.lock);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;
        RcvMeta m;
        if (!RcvReadMeta(f.meta.toStdString(), &m) || !QFile::exists(f.scn)) {
            const QString aside = SetAside(f.scn, f.meta);
            Ask(Tx::tr("復元用のコピー %1 は壊れているため復元できません。\n%2 として残しました。")
                    .arg(QDir::toNativeSeparators(f.meta), QDir::toNativeSeparators(aside)),
                plt::BtnOk, plt::IconWarning);
            continue;
        }
        if (restored) continue;  // one document at a time: the others wait for the next start
        const QString when = QDateTime::fromSecsSinceEpoch(m.time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString name = m.path.empty() ? Tx::tr("無題") : QString::fromStdString(m.path);
        const int ans = Ask(Tx::tr("前回、プログラムが正常に終了しませんでした。\n"
                                   "文書 %1 の復元用のコピー（%2 に作成）があります。\n復元しますか？")
                                .arg(name, when),
                            plt::BtnYesNo, plt::IconWarning);
        if (ans == plt::AnsYes) {
            int r;
            {
                EngCall c;
                r = DocRecover(f.scn.toStdString(), m);
            }
            if (r != DocDone) {
                const QString aside = SetAside(f.scn, f.meta);
                Ask(Tx::tr("復元用のコピーを %1 として残しました。").arg(QDir::toNativeSeparators(aside)),
                    plt::BtnOk, plt::IconWarning);
                continue;
            }
            restored = true;
        }
        QFile::remove(f.scn);
        QFile::remove(f.meta);
    }
    return restored;
}

}  // namespace shl
