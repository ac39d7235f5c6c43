#include "registry.h"
#include <charconv>
#include <cmath>
#include <cstring>

namespace jrn {

namespace {
struct SetEnt { const char* name; SetFn fn; };
struct DumpEnt { const char* kind; DumpFn fn; };

#define JRN_SET(name, fn) {name, fn},
#define JRN_DUMP(kind, fn)
const SetEnt SetTbl[] = {
#include "registry.def"
};
#undef JRN_SET
#undef JRN_DUMP

#define JRN_SET(name, fn)
#define JRN_DUMP(kind, fn) {kind, fn},
const DumpEnt DumpTbl[] = {
#include "registry.def"
};
#undef JRN_SET
#undef JRN_DUMP

std::string Fmt(double v, std::chars_format f, int prec) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, f, prec);
    std::string s(buf, r.ptr);
    // A negative value that rounds to zero would print "-0.000" (or "-0"): print it unsigned.
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos)
        s.erase(0, 1);
    return s;
}

std::string Range(double lo, double hi) {
    return G6(lo) + ".." + G6(hi);
}
}  // namespace

SetFn FindSet(const std::string& name) {
    for (const SetEnt& e : SetTbl)
        if (name == e.name) return e.fn;
    return nullptr;
}

DumpFn FindDump(const std::string& kind) {
    for (const DumpEnt& e : DumpTbl)
        if (kind == e.kind) return e.fn;
    return nullptr;
}

std::string F3(double v) { return Fmt(v, std::chars_format::fixed, 3); }
std::string F4(double v) { return Fmt(v, std::chars_format::fixed, 4); }
std::string G6(double v) { return Fmt(v, std::chars_format::general, 6); }
std::string Quote(const char* s) { return std::string("\"") + (s ? s : "") + "\""; }

bool GetReals(const Words& v, int n, double lo, double hi, double* out, std::string* err) {
    if (static_cast<int>(v.size()) != n) {
        *err = "expects " + std::to_string(n) + (n == 1 ? " value" : " values") + ", got " +
               std::to_string(v.size());
        return false;
    }
    for (int i = 0; i < n; ++i) {
        if (!ParseReal(v[i], &out[i])) {
            *err = "'" + v[i] + "' is not a number";
            return false;
        }
        if (out[i] < lo || out[i] > hi) {
            *err = "value " + v[i] + " outside " + Range(lo, hi);
            return false;
        }
    }
    return true;
}

bool GetInts(const Words& v, int n, int lo, int hi, int* out, std::string* err) {
    if (static_cast<int>(v.size()) != n) {
        *err = "expects " + std::to_string(n) + (n == 1 ? " value" : " values") + ", got " +
               std::to_string(v.size());
        return false;
    }
    for (int i = 0; i < n; ++i) {
        if (!ParseInt(v[i], &out[i])) {
            *err = "'" + v[i] + "' is not an integer";
            return false;
        }
        if (out[i] < lo || out[i] > hi) {
            *err = "value " + v[i] + " outside " + std::to_string(lo) + ".." + std::to_string(hi);
            return false;
        }
    }
    return true;
}

bool SetFloat(const Words& v, double lo, double hi, float* dst, std::string* err) {
    double x;
    if (!GetReals(v, 1, lo, hi, &x, err)) return false;
    *dst = static_cast<float>(x);
    return true;
}

bool SetDouble(const Words& v, double lo, double hi, double* dst, std::string* err) {
    double x;
    if (!GetReals(v, 1, lo, hi, &x, err)) return false;
    *dst = x;
    return true;
}

bool SetInt(const Words& v, int lo, int hi, int* dst, std::string* err) {
    int x;
    if (!GetInts(v, 1, lo, hi, &x, err)) return false;
    *dst = x;
    return true;
}

bool SetByte(const Words& v, int lo, int hi, uint8_t* dst, std::string* err) {
    int x;
    if (!GetInts(v, 1, lo, hi, &x, err)) return false;
    *dst = static_cast<uint8_t>(x);
    return true;
}

}  // namespace jrn
