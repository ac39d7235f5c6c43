// Code page conversion through the C library's iconv.
#include "formats/codepage.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Converts with one iconv descriptor; an unconvertible or malformed input byte is replaced by
// `bad` and skipped (a whole UTF-8 character when reading UTF-8).
bool Conv(const char* to, const char* from, std::string_view in, std::string* out,
          std::string_view bad, bool fromUtf8) {
    out->clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) {
        out->assign(in);
        return false;
    }
    bool ok = true;
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[512];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out->append(buf, size_t(dst - buf));
        if (r != (size_t)-1) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: replace one character (or byte) and go on.
        ok = false;
        out->append(bad);
        size_t skip = 1;
        if (fromUtf8) {
            const unsigned char c = static_cast<unsigned char>(*src);
            skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (skip > left) skip = left;
        }
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buf;
    size_t room = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out->append(buf, size_t(dst - buf));
    iconv_close(cd);
    return ok;
}

}  // namespace

bool Utf8ToSjis(std::string_view in, std::string* out) {
    return Conv("CP932", "UTF-8", in, out, "?", true);
}

bool SjisToUtf8(std::string_view in, std::string* out) {
    return Conv("UTF-8", "CP932", in, out, "\xEF\xBF\xBD", false);
}

bool IsUtf8(std::string_view in) {
    size_t i = 0;
    while (i < in.size()) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > in.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}
