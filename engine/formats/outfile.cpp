// Temporary-file writer shared by the exports.
#include "formats/outfile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include "core/msg.h"
#include "formats/xchg.h"

namespace {

constexpr mode_t NewFileMode = 0666;     // before the umask, as fopen would create it

mode_t CurUmask() {
    mode_t m = umask(0);
    umask(m);
    return m;
}

}  // namespace

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
    if (f_) {
        std::fclose(f_);
        std::remove(tmp_.c_str());
    }
}

int OutFile::Open(const std::string& path) {
    path_ = path;
    tmp_ = path + ".XXXXXX";
    std::string t = tmp_;
    int fd = mkstemp(t.data());
    if (fd < 0) return OutOpenErr;
    tmp_ = t;
    // The final file gets the mode an existing target has, otherwise that of a new file.
    struct stat st;
    mode_t mode = NewFileMode & ~CurUmask();
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            close(fd);
            std::remove(tmp_.c_str());
            return OutOpenErr;
        }
        mode = st.st_mode & 07777;
    }
    fchmod(fd, mode);
    f_ = fdopen(fd, "wb");
    if (!f_) {
        close(fd);
        std::remove(tmp_.c_str());
        return OutOpenErr;
    }
    std::setvbuf(f_, nullptr, _IONBF, 0);  // our own buffer is enough
    n_ = 0;
    err_ = false;
    return OutOk;
}

void OutFile::Flush() {
    if (n_ && f_ && !err_ && std::fwrite(buf_, 1, n_, f_) != n_) err_ = true;
    n_ = 0;
}

void OutFile::Put(std::string_view s) {
    if (s.size() > BufSize - n_) {
        Flush();
        if (s.size() >= BufSize) {
            if (f_ && !err_ && std::fwrite(s.data(), 1, s.size(), f_) != s.size()) err_ = true;
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
    bool ok = !err_ && std::fflush(f_) == 0 && fdatasync(fileno(f_)) == 0;
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    if (ok && std::rename(tmp_.c_str(), path_.c_str()) == 0) return OutOk;
    std::remove(tmp_.c_str());
    return OutWriteErr;
}

namespace {
void OutResMsg(int res, const std::string& path) {
    if (res == OutOpenErr) DspErrMsg(MsgFilOpn, path.c_str());
    else if (res == OutWriteErr) DspErrMsg(MsgFilWrt, path.c_str());
}
}  // namespace

bool OutOpen(OutFile& o, const std::string& path) {
    const int r = o.Open(path);
    OutResMsg(r, path);
    return r == OutOk;
}

int OutCommit(OutFile& o, const std::string& path) {
    const int r = o.Commit();
    OutResMsg(r, path);
    return r == OutOk ? 0 : -1;
}
