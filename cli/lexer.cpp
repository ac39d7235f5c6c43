#include "lexer.h"
#include <charconv>

namespace jrn {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool SplitLine(const std::string& line, Words* words, std::string* err) {
    words->clear();
    size_t n = line.size();
    if (n > 0 && line[n - 1] == '\r') --n;
    size_t i = 0;
    while (i < n) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i >= n || line[i] == '#') break;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos || close >= n) {
                *err = "unterminated quoted word";
                return false;
            }
            if (close + 1 < n && !IsBlank(line[close + 1])) {
                *err = "text after closing quote";
                return false;
            }
            words->push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            size_t b = i;
            while (i < n && !IsBlank(line[i])) ++i;
            words->push_back(line.substr(b, i - b));
        }
    }
    return true;
}

bool ParseInt(const std::string& s, int* out) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!IsDigit(s[k])) return false;
    const char* b = s.data();
    if (*b == '+') ++b;
    int v = 0;
    auto r = std::from_chars(b, s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
    *out = v;
    return true;
}

bool ParseReal(const std::string& s, double* out) {
    size_t i = 0, n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t intDigits = 0, fracDigits = 0;
    while (i < n && IsDigit(s[i])) ++i, ++intDigits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    // from_chars ignores the locale (the application may run under one with a decimal comma).
    const char* b = s.data();
    if (*b == '+') ++b;
    double v = 0;
    auto r = std::from_chars(b, s.data() + n, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow towards zero is harmless; overflow is refused.
        size_t e = s.find_first_of("eE");
        if (e == std::string::npos || s.find('-', e) == std::string::npos) return false;
        v = 0;
    } else if (r.ec != std::errc() || r.ptr != s.data() + n) {
        return false;
    }
    *out = v;
    return true;
}

}  // namespace jrn
