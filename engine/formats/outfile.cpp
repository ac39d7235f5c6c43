// Temporary-file writer of every output.
#include "formats/outfile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include "core/msg.h"
#include "core/msg_why.h"
#include "formats/xchg.h"

namespace {

constexpr mode_t NewFileMode = 0666;     // before the umask, as fopen would create it

mode_t CurUmask() {
    mode_t m = umask(0);
    umask(m);
    return m;
}

}  // namespace

// Set of staged files.

namespace {

std::string DirOf(const std::string& path) {
    size_t s = path.find_last_of('/');
    if (s == std::string::npos) return ".";
    return s == 0 ? "/" : path.substr(0, s);
}

// Makes a file's (or a folder's) content durable; errno value, 0 when done.
int SyncPath(const std::string& path, bool dir) {
    int fd = open(path.c_str(), dir ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0) return errno;
    int e = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    return e;
}

}  // namespace

OutSet::~OutSet() { Abort(); }

bool OutSet::Fail(int e) {
    errno_ = e;
    reason_ = std::strerror(e);
    return false;
}

int OutSet::Stage(const std::string& target) {
    struct stat st;
    const bool existed = stat(target.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) {
        refused_ = true;
        Fail(EISDIR);
        return -1;
    }
    std::string t = target + ".XXXXXX";
    int fd = mkstemp(t.data());
    if (fd < 0) {
        refused_ = true;
        Fail(errno);
        return -1;
    }
    // The final file gets the mode an existing target has, otherwise that of a new file.
    fchmod(fd, existed ? st.st_mode & 07777 : NewFileMode & ~CurUmask());
    files_.push_back({t, target, std::string()});
    return fd;
}

void OutSet::Adopt(const std::string& tmp, const std::string& target) {
    files_.push_back({tmp, target, std::string()});
}

bool OutSet::Commit() {
    // A dataset with a file missing is no dataset: nothing replaces the targets.
    if (refused_) {
        const int e = errno_;
        Abort();
        return Fail(e);
    }
    for (const Entry& f : files_)
        if (int e = SyncPath(f.tmp, false)) {
            Abort();
            return Fail(e);
        }
    // Targets that exist are moved aside first, so that a failure half-way can put them back.
    // A single file needs no such step: its rename replaces the target in one go.
    const bool several = files_.size() > 1;
    size_t done = 0;
    int e = 0;
    for (; done < files_.size() && !e; ++done) {
        Entry& f = files_[done];
        if (several && access(f.target.c_str(), F_OK) == 0) {
            std::string a = f.target + ".old-XXXXXX";
            int fd = mkstemp(a.data());
            if (fd < 0) {
                e = errno;
                break;
            }
            close(fd);
            if (rename(f.target.c_str(), a.c_str()) != 0) {
                e = errno;
                unlink(a.c_str());
                break;
            }
            f.aside = a;
        }
        if (rename(f.tmp.c_str(), f.target.c_str()) != 0) {
            e = errno;
            break;
        }
    }
    if (e) {
        // Undo: the entries before `done` hold their new file; the one at `done` may be aside.
        for (size_t i = 0; i <= done && i < files_.size(); ++i) {
            Entry& f = files_[i];
            if (i < done) unlink(f.target.c_str());
            if (!f.aside.empty()) rename(f.aside.c_str(), f.target.c_str());
            f.aside.clear();
        }
        for (size_t i = done; i < files_.size(); ++i) unlink(files_[i].tmp.c_str());
        files_.clear();
        return Fail(e);
    }
    for (Entry& f : files_)
        if (!f.aside.empty()) unlink(f.aside.c_str());
    // The folder entries are made durable too.
    std::vector<std::string> dirs;
    for (const Entry& f : files_) {
        std::string d = DirOf(f.target);
        if (std::find(dirs.begin(), dirs.end(), d) == dirs.end()) dirs.push_back(d);
    }
    files_.clear();
    // The files are in place whatever a folder sync says; only a crash could still lose them.
    for (const std::string& d : dirs) SyncPath(d, true);
    return true;
}

void OutSet::Abort() {
    for (const Entry& f : files_) unlink(f.tmp.c_str());
    files_.clear();
    refused_ = false;
}

int OutBufs(const std::vector<OutBuf>& files, std::string* err) {
    OutSet set;
    for (const OutBuf& f : files) {
        const int fd = set.Stage(f.target);
        if (fd < 0) {
            if (err) *err = set.Reason();
            return -1;
        }
        const char* p = static_cast<const char*>(f.data);
        size_t left = f.size;
        int e = 0;
        while (left > 0 && !e) {
            const ssize_t w = write(fd, p, left);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) e = w < 0 ? errno : EIO;
            else p += w, left -= static_cast<size_t>(w);
        }
        if (close(fd) != 0 && !e) e = errno;
        if (e) {
            if (err) *err = std::strerror(e);
            return -1;
        }
    }
    if (!set.Commit()) {
        if (err) *err = set.Reason();
        return -1;
    }
    return 0;
}

int FmtFix(char* buf, double v, int prec) {
    auto r = std::to_chars(buf, buf + FixBufLen - 1, v, std::chars_format::fixed, prec);
    if (r.ec != std::errc()) {
        // Only a value beyond any width could fail; write what printf would for infinity.
        std::strcpy(buf, v < 0 ? "-inf" : "inf");
        return static_cast<int>(std::strlen(buf));
    }
    *r.ptr = '\0';
    return static_cast<int>(r.ptr - buf);
}

OutFile::~OutFile() {
    if (f_) std::fclose(f_);  // set_ removes the temporary
}

int OutFile::Open(const std::string& path) {
    set_.Abort();
    reason_.clear();
    int fd = set_.Stage(path);
    if (fd < 0) {
        reason_ = set_.Reason();
        return OutOpenErr;
    }
    f_ = fdopen(fd, "wb");
    if (!f_) {
        reason_ = std::strerror(errno);
        close(fd);
        set_.Abort();
        return OutOpenErr;
    }
    std::setvbuf(f_, nullptr, _IONBF, 0);  // our own buffer is enough
    n_ = 0;
    err_ = false;
    return OutOk;
}

void OutFile::Flush() {
    if (n_ && f_ && !err_ && std::fwrite(buf_, 1, n_, f_) != n_) Fail();
    n_ = 0;
}

void OutFile::Put(std::string_view s) {
    if (s.size() > BufSize - n_) {
        Flush();
        if (s.size() >= BufSize) {
            if (f_ && !err_ && std::fwrite(s.data(), 1, s.size(), f_) != s.size()) Fail();
            return;
        }
    }
    std::memcpy(buf_ + n_, s.data(), s.size());
    n_ += s.size();
}

void OutFile::Fix(double v, int prec, int width) {
    char b[FixBufLen];
    int len = FmtFix(b, v, prec);
    for (int i = len; i < width; ++i) Put(' ');
    Put(std::string_view(b, static_cast<size_t>(len)));
}

void OutFile::Int(long long v, int width) {
    char b[32];
    auto r = std::to_chars(b, b + sizeof b, v);
    int len = static_cast<int>(r.ptr - b);
    for (int i = len; i < width; ++i) Put(' ');
    Put(std::string_view(b, static_cast<size_t>(len)));
}

int OutFile::Commit() {
    if (!f_) return OutWriteErr;
    Flush();
    int e = err_ ? (errNo_ ? errNo_ : EIO) : 0;
    if (!e && std::fflush(f_) != 0) e = errno;
    if (std::fclose(f_) != 0 && !e) e = errno;
    f_ = nullptr;
    if (e) {
        reason_ = std::strerror(e);
        set_.Abort();
        return OutWriteErr;
    }
    if (set_.Commit()) return OutOk;
    reason_ = set_.Reason();
    return OutWriteErr;
}

namespace {
// The message names the file and says why, in the words a document save uses; a failed write
// also says that the file already there was kept.
void OutResMsg(int res, const std::string& path, const std::string& reason) {
    if (res == OutOk) return;
    std::string why = reason;
    struct stat st;
    if (res == OutWriteErr && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        why += (why.empty() ? "" : "\n") + std::string("元のファイルは変更されていません。");
    DspErrMsgWhy(res == OutOpenErr ? MsgFilOpn : MsgFilWrt, path.c_str(), why.c_str());
}
}  // namespace

bool OutOpen(OutFile& o, const std::string& path) {
    const int r = o.Open(path);
    OutResMsg(r, path, o.Reason());
    return r == OutOk;
}

int OutCommit(OutFile& o, const std::string& path) {
    const int r = o.Commit();
    OutResMsg(r, path, o.Reason());
    return r == OutOk ? 0 : -1;
}
