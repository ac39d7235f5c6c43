// Byte streams of the scene document: big-endian values into a buffered file (or only counted),
// and out of a document held in memory with every count checked against the bytes left.
// Shared by the writer and the reader; record fields common to both live in scn_fld.h.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "core/feedback.h"

namespace scnio {

inline uint16_t Swap(uint16_t v) { return __builtin_bswap16(v); }
inline uint32_t Swap(uint32_t v) { return __builtin_bswap32(v); }
inline uint64_t Swap(uint64_t v) { return __builtin_bswap64(v); }

// Output: counting pass (no file), writing pass (buffered, flushed to fd) or into memory.
class Out {
public:
    explicit Out(int fd) : fd_(fd) {
        if (fd_ >= 0) buf_.reserve(BufCap);
    }
    // The whole document appended to *mem (which may hold the expected size reserved).
    explicit Out(std::vector<uint8_t>* mem) : fd_(-1), mem_(mem) {}
    int ver = 110;        // writers always write the current version
    uint64_t pos = 0;     // bytes emitted so far
    uint64_t total = 0;   // expected size (progress); 0 while counting
    uint8_t viewDim = 0;  // 2D (0) or 3D (1) view, written after the cameras
    int err = 0;          // errno of the first failed write
    bool leRaw = false;   // inside a little-endian block
    const Feedback* fb = &FbNone;  // hears the progress of the writing pass

    bool Counting() const { return fd_ < 0 && !mem_; }
    void Raw(const void* p, size_t n);
    bool Flush();

    void U8(const uint8_t& v) { Raw(&v, 1); }
    void I16(const uint16_t& v) { Put16(v); }
    void I32(const int32_t& v) { Put32(static_cast<uint32_t>(v)); }
    void W32(const uint32_t& v) { Put32(v); }
    void F32(const float& v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        Put32(u);
    }
    void F64(const double& v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        Put64(u);
    }
    // n floats (vertex arrays): swapped in bulk.
    void F32s(const float* p, size_t n);
    void I32s(const int32_t* p, size_t n);
    // A name: length with the zero byte, the code-page-932 text, the zero byte.
    void Name(const char* utf8);
    // Progress after a record: one step per whole percent.
    void Prog();

private:
    void Put16(uint16_t v) {
        if (!leRaw) v = Swap(v);
        Raw(&v, 2);
    }
    void Put32(uint32_t v) {
        if (!leRaw) v = Swap(v);
        Raw(&v, 4);
    }
    void Put64(uint64_t v) {
        if (!leRaw) v = Swap(v);
        Raw(&v, 8);
    }
    static constexpr size_t BufCap = size_t(1) << 20;
    int fd_;
    std::vector<uint8_t>* mem_ = nullptr;
    std::vector<uint8_t> buf_;
};

// A short or inconsistent document: reading stops.
struct Damaged {};

// Input from a document in memory.
class In {
public:
    In(const uint8_t* p, size_t n) : base_(p), p_(p), left_(n), size_(n) {}
    uint8_t viewDim = 0;  // the view stored after the cameras, once read
    bool dimRead = false;
    int ver = 110;
    int kind = 3;
    bool leRaw = false;
    const Feedback* fb = &FbNone;  // hears the progress of the read

    size_t Left() const { return left_; }
    size_t Pos() const { return size_ - left_; }
    void Need(size_t n) const {
        if (left_ < n) throw Damaged{};
    }
    void Raw(void* dst, size_t n) {
        Need(n);
        std::memcpy(dst, p_, n);
        p_ += n;
        left_ -= n;
    }
    void U8(uint8_t& v) { Raw(&v, 1); }
    void I16(uint16_t& v) { v = Get<uint16_t>(); }
    void I32(int32_t& v) { v = static_cast<int32_t>(Get<uint32_t>()); }
    void W32(uint32_t& v) { v = Get<uint32_t>(); }
    void F32(float& v) {
        uint32_t u = Get<uint32_t>();
        std::memcpy(&v, &u, 4);
    }
    void F64(double& v) {
        uint64_t u = Get<uint64_t>();
        std::memcpy(&v, &u, 8);
    }
    void F32s(float* p, size_t n);
    void I32s(int32_t* p, size_t n);
    // A count of records of at least minEach bytes each: negative or more than the rest of the
    // document could hold is damage.
    int Count(size_t minEach);
    // A name into UTF-8 (at most ScnNamMax bytes with the zero byte, which must end it).
    std::string Name();
    void Prog();

private:
    template <class T>
    T Get() {
        T v;
        Raw(&v, sizeof v);
        return leRaw ? v : Swap(v);
    }
    const uint8_t* base_;
    const uint8_t* p_;
    size_t left_, size_;
};

// Least bytes of a stored name (length and the zero byte).
constexpr size_t NamMin = 5;

}  // namespace scnio
