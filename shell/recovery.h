// Recovery copies beside the settings. While the document has unsaved changes this process writes
// its own copy every AutoSaveSec seconds (snapshot on the engine's thread, written on a worker);
// a save, a document without changes or a normal exit removes it. At start the copies that
// processes now gone left behind (a crash, a kill, a power cut) are offered for restoring.
#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

class QLockFile;

namespace shl {

class Recovery : public QObject {
public:
    explicit Recovery(QObject* parent = nullptr);
    ~Recovery() override;  // waits for a write in progress; the copy stays (End removes it)

    // The folder of the copies: "recovery" beside the settings file.
    static QString Folder();
    // This process's files: the scene document, its description and the lock that says the
    // process is alive.
    QString ScnPath() const { return scn_; }
    QString MetaPath() const { return meta_; }

    // Takes this process's lock and starts the clock.
    void Start();
    // Offers every copy whose process is gone, newest first (a Yes/No box each, through the
    // engine's platform so that journals answer it). True when one was restored.
    bool Offer();
    // Writes the copy now: snapshot here, writing on the worker. wait: until it is on disk.
    // False with *err when the write failed (only known when waiting) or another is running.
    bool WriteNow(bool wait, QString* err);
    // The document has no unsaved changes (saved, new, opened) or the program ends normally:
    // the copy goes.
    void Remove();
    // A normal end: the copy and the lock go.
    void End();

private:
    void Tick();
    void Join();

    QString scn_, meta_;
    std::unique_ptr<QLockFile> lock_;
    QTimer timer_;
    std::thread worker_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> failed_{false};
    qint64 due_ = -1;      // when the next copy is due (ms since epoch); -1: no changes seen
    bool written_ = false; // our copy exists on disk
};

// The application's one instance (null before the window exists and in tests).
Recovery* AppRecovery();
void SetAppRecovery(Recovery* r);

}  // namespace shl
