// Safe text output for the exports: the file is written under a temporary name in the target's
// folder and renamed over the target only when every byte has reached the disk, so a failed
// export never leaves a partial file under the target name and never destroys an existing one.
// Numbers are formatted without the C locale's decimal separator, so a shell running in a
// comma-decimal locale still writes "1.500000".
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

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

private:
    static constexpr size_t BufSize = 1 << 16;
    void Flush();
    std::FILE* f_ = nullptr;
    std::string path_, tmp_;
    char buf_[BufSize];
    size_t n_ = 0;
    bool err_ = false;
};

// Formats v as "%.*f" (C locale) into buf (room for at least FixBufLen bytes); returns the length.
constexpr int FixBufLen = 400;
int FmtFix(char* buf, double v, int prec);

// Open and Commit that report a failure to the user (110 when the file could not be created, 111
// when writing failed): OutOpen is true when the file is open, OutCommit is 0 when the target
// holds the whole file, -1 otherwise.
bool OutOpen(OutFile& o, const std::string& path);
int OutCommit(OutFile& o, const std::string& path);
