// Scene document: application constants, byte streams, names and the origin stamp.
#include "formats/scn.h"

#include <cerrno>
#include <unistd.h>
#include "core/msg.h"
#include "formats/codepage.h"
#include "formats/scn_io.h"

int AppKind = AppKindTrn;
char SceneMagic[20] = "Orvane|Altimetra";
uint8_t RelNum[3] = {1, 1, 1};
char OriginStamp[StampLen] = "ORVANEALTIMETRA111";
AnmOutRec AnmOut{30, 0, 0, 0, 0.0, 0, 0};
int ScnRdSt = ScnRdOk;
int ScnWrSt = -1;
bool ScnNamLoss = false;

void RstAnmOut() { AnmOut = AnmOutRec{30, 0, 0, 0, 0.0, 0, 0}; }

namespace {
// Position p of a stored character: digits '0'..'9' at 0..9, 'A'..'Z' at 10..35.
constexpr char StampTbl[] = "5ykf31ixom2w8pat4hv9nc7gqbsl6r0edzju";
static_assert(sizeof StampTbl == 37, "36 characters");

bool IsAscii(const char* s, size_t n) {
    for (size_t i = 0; i < n; i++)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
    return true;
}
}  // namespace

std::string ScrStamp(const std::string& plain) {
    std::string s = plain;
    for (char& c : s) {
        if (c >= '0' && c <= '9') c = StampTbl[c - '0'];
        else if (c >= 'A' && c <= 'Z') c = StampTbl[10 + (c - 'A')];
    }
    return s;
}

std::string UnscrStamp(const std::string& stored) {
    std::string s = stored;
    for (char& c : s) {
        for (int p = 0; p < 36; p++) {
            if (StampTbl[p] != c) continue;
            c = p < 10 ? static_cast<char>('0' + p) : static_cast<char>('A' + (p - 10));
            break;
        }
    }
    return s;
}

namespace scnio {

void Out::Raw(const void* p, size_t n) {
    pos += n;
    if (Counting() || err) return;
    if (buf_.size() + n > BufCap && !Flush()) return;
    const uint8_t* b = static_cast<const uint8_t*>(p);
    buf_.insert(buf_.end(), b, b + n);
}

bool Out::Flush() {
    if (Counting()) return true;
    if (mem_) {
        mem_->insert(mem_->end(), buf_.begin(), buf_.end());
        buf_.clear();
        return true;
    }
    size_t off = 0;
    while (!err && off < buf_.size()) {
        ssize_t w = ::write(fd_, buf_.data() + off, buf_.size() - off);
        if (w < 0) {
            if (errno == EINTR) continue;
            err = errno;
        } else if (w == 0) {
            err = EIO;
        } else {
            off += size_t(w);
        }
    }
    buf_.clear();
    return !err;
}

void Out::F32s(const float* p, size_t n) {
    if (Counting() || err) {
        pos += 4 * n;
        return;
    }
    // In slices that fit the buffer, swapped on the way in.
    while (n > 0) {
        size_t k = n < 65536 ? n : 65536;
        if (buf_.size() + 4 * k > BufCap && !Flush()) {
            pos += 4 * n;
            return;
        }
        size_t at = buf_.size();
        buf_.resize(at + 4 * k);
        uint8_t* d = buf_.data() + at;
        for (size_t i = 0; i < k; i++) {
            uint32_t u;
            std::memcpy(&u, p + i, 4);
            u = Swap(u);
            std::memcpy(d + 4 * i, &u, 4);
        }
        pos += 4 * k;
        p += k;
        n -= k;
    }
}

void Out::I32s(const int32_t* p, size_t n) {
    static_assert(sizeof(float) == sizeof(int32_t), "32-bit floats");
    F32s(reinterpret_cast<const float*>(p), n);
}

void Out::Name(const char* utf8) {
    if (!utf8) utf8 = "";
    size_t n = std::strlen(utf8);
    std::string sj;
    if (IsAscii(utf8, n)) {
        sj.assign(utf8, n);
    } else if (!Utf8ToSjis(std::string_view(utf8, n), &sj)) {
        ScnNamLoss = true;
    }
    // The reader's buffer holds 255 bytes and the zero: a longer name is cut at a character.
    if (sj.size() > ScnNamMax - 1) {
        size_t k = 0;
        while (k < sj.size()) {
            unsigned char c = static_cast<unsigned char>(sj[k]);
            size_t w = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
            if (k + w > ScnNamMax - 1) break;
            k += w;
        }
        sj.resize(k);
        ScnNamLoss = true;
    }
    int32_t L = static_cast<int32_t>(sj.size() + 1);
    if (leRaw) {
        uint32_t u = static_cast<uint32_t>(L);
        Raw(&u, 4);
    } else {
        I32(L);
    }
    Raw(sj.data(), sj.size());
    uint8_t z = 0;
    Raw(&z, 1);
}

void Out::Prog() {
    if (!Counting() && total > 0) fb->Progress(static_cast<int>(pos * 100 / total));
}

void In::F32s(float* p, size_t n) {
    if (n == 0) return;
    if (n > left_ / 4) throw Damaged{};
    std::memcpy(p, p_, 4 * n);
    p_ += 4 * n;
    left_ -= 4 * n;
    uint32_t* u = reinterpret_cast<uint32_t*>(p);
    for (size_t i = 0; i < n; i++) {
        uint32_t w;
        std::memcpy(&w, u + i, 4);
        w = Swap(w);
        std::memcpy(u + i, &w, 4);
    }
}

void In::I32s(int32_t* p, size_t n) { F32s(reinterpret_cast<float*>(p), n); }

int In::Count(size_t minEach) {
    int32_t n;
    I32(n);
    if (n < 0) throw Damaged{};
    if (minEach > 0 && static_cast<uint64_t>(n) > left_ / minEach) throw Damaged{};
    return n;
}

std::string In::Name() {
    int32_t L;
    if (leRaw) {
        uint32_t u;
        Raw(&u, 4);
        L = static_cast<int32_t>(u);
    } else {
        I32(L);
    }
    if (L < 1 || L > ScnNamMax) throw Damaged{};
    Need(size_t(L));
    const char* s = reinterpret_cast<const char*>(p_);
    if (s[L - 1] != '\0') throw Damaged{};
    size_t n = std::strlen(s);  // a zero inside ends the text, as the stored buffer would
    std::string out;
    if (IsAscii(s, n)) {
        out.assign(s, n);
    } else if (!SjisToUtf8(std::string_view(s, n), &out)) {
        ScnNamLoss = true;
    }
    p_ += L;
    left_ -= size_t(L);
    return out;
}

void In::Prog() {
    if (size_ > 0) fb->Progress(static_cast<int>(static_cast<uint64_t>(Pos()) * 100 / size_));
}

}  // namespace scnio
