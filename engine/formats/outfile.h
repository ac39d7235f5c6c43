// The one way the engine writes a file: under a temporary name in the target's folder, renamed over
// the target only when every byte has reached the disk, so a failed save never leaves a partial
// file under the target name and never destroys an existing one. OutSet does it for any number of
// files at once; OutFile is buffered text output through it.
// Numbers are formatted without the C locale's decimal separator, so a shell running in a
// comma-decimal locale still writes "1.500000".
#pragma once
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// A dataset of one or more files saved all or nothing. Each file is staged under a temporary name
// beside its target and written by whoever writes it (an OutFile, the scene writer, a library);
// Commit then syncs every staged file, moves the targets that exist aside, renames every temporary
// over its target and syncs the folders. When any step fails the targets that were replaced get
// their old files back, every temporary is removed and Reason() says why.
class OutSet {
public:
    OutSet() = default;
    ~OutSet();  // temporaries of an uncommitted set are removed
    OutSet(const OutSet&) = delete;
    OutSet& operator=(const OutSet&) = delete;

    // Creates an empty temporary file beside target with the mode the target has (or a new file's)
    // and returns its descriptor, which the caller writes and closes. -1 with Reason() on failure
    // (the folder refuses the file, or target is a folder); the set is then refused as a whole:
    // Commit writes nothing and returns false.
    int Stage(const std::string& target);
    // The temporary name of the file last staged.
    const std::string& TmpName() const { return files_.back().tmp; }
    // Adds a file already written under tmp (a library's dataset) that is to replace target.
    void Adopt(const std::string& tmp, const std::string& target);
    bool Commit();
    // Removes every temporary; the targets are untouched and the set is empty again.
    void Abort();
    const std::string& Reason() const { return reason_; }
    int Errno() const { return errno_; }

private:
    struct Entry {
        std::string tmp, target, aside;
    };
    bool Fail(int e);
    std::vector<Entry> files_;
    bool refused_ = false;   // a Stage failed
    std::string reason_;
    int errno_ = 0;
};

// Whole files from memory, written as one set (all or nothing) with OutSet. No message and no
// engine state: any thread may call it. 0 when every target holds its bytes; -1 with *err.
struct OutBuf {
    std::string target;
    const void* data;
    size_t size;
};
int OutBufs(const std::vector<OutBuf>& files, std::string* err);

// Result of OutFile::Open and OutFile::Commit.
enum OutRes { OutOk = 0, OutOpenErr = -1, OutWriteErr = -2 };

class OutFile {
public:
    OutFile() = default;
    ~OutFile();  // an uncommitted file is removed
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    // Creates the temporary file beside path. OutOpenErr when the folder cannot take it.
    int Open(const std::string& path);
    // Buffered writes; a failure is remembered and reported by Commit.
    void Put(std::string_view s);
    void Put(char c) {
        if (n_ == BufSize) Flush();
        buf_[n_++] = c;
    }
    void Line(std::string_view s) { Put(s); Put('\n'); }
    // Fixed-point number as printf "%*.*f" would write it in the C locale.
    void Fix(double v, int prec = 6, int width = 0);
    void Int(long long v, int width = 0);
    // Flushes, syncs and renames over the target. OutWriteErr (temporary removed) on any failure.
    int Commit();
    bool Failed() const { return err_; }
    // Why Open or Commit failed ("" when they did not).
    const std::string& Reason() const { return reason_; }

private:
    static constexpr size_t BufSize = 1 << 16;
    void Flush();
    // The first write failure, with its errno kept for the message (later calls may change errno).
    void Fail() {
        err_ = true;
        errNo_ = errno;
    }
    std::FILE* f_ = nullptr;
    OutSet set_;
    std::string reason_;
    char buf_[BufSize];
    size_t n_ = 0;
    bool err_ = false;
    int errNo_ = 0;
};

// Formats v as "%.*f" (C locale) into buf (room for at least FixBufLen bytes); returns the length.
constexpr int FixBufLen = 400;
int FmtFix(char* buf, double v, int prec);

// Open and Commit that report a failure to the user (110 when the file could not be created, 111
// when writing failed): OutOpen is true when the file is open, OutCommit is 0 when the target
// holds the whole file, -1 otherwise.
bool OutOpen(OutFile& o, const std::string& path);
int OutCommit(OutFile& o, const std::string& path);
