// The journal's `set NAME ...` parameters and `dump KIND` printers.
//
// Each module adds its entries with one line in registry.def, pointing at a function in its own
// cli/ file (set_<module>.cpp, dump_<module>.cpp). A name that is not registered is a malformed
// journal line, so a parameter appears in journals only once its module exists.
#pragma once
#include <cstdint>
#include <string>
#include "lexer.h"

namespace jrn {

// Sets the parameter from its values (the words after NAME). Returns false with *err saying what
// is wrong (wrong count, not a number, out of range); the engine is then left untouched.
using SetFn = bool (*)(const Words& vals, std::string* err);
// Prints one dump through Line().
using DumpFn = void (*)();

SetFn FindSet(const std::string& name);
DumpFn FindDump(const std::string& kind);

// Output of dumps: one line, the line feed is added.
void Line(const std::string& text);

// Number formats of the dumps, independent of the locale; -0 prints as 0.
std::string F3(double v);   // %.3f
std::string F4(double v);   // %.4f
std::string G6(double v);   // %.6g
std::string Quote(const char* s);  // "s" ("" for null)

// Helpers for set functions: exactly n values, each in lo..hi (inclusive).
bool GetReals(const Words& v, int n, double lo, double hi, double* out, std::string* err);
bool GetInts(const Words& v, int n, int lo, int hi, int* out, std::string* err);
// Single values stored straight into an engine variable.
bool SetFloat(const Words& v, double lo, double hi, float* dst, std::string* err);
bool SetDouble(const Words& v, double lo, double hi, double* dst, std::string* err);
bool SetInt(const Words& v, int lo, int hi, int* dst, std::string* err);
bool SetByte(const Words& v, int lo, int hi, uint8_t* dst, std::string* err);

// Verbs of the curve module (undo, redo): true when w was one of them (dump_curves.cpp).
bool CrvVerb(const Words& w);
// The height-line verb (hgtline X0 Y0 X1 Y1): true when w was it; *err set when malformed
// (chk_verbs.cpp).
bool ChkVerb(const Words& w, std::string* err);

// The set and dump functions named in registry.def.
#define JRN_SET(name, fn) bool fn(const Words&, std::string*);
#define JRN_DUMP(kind, fn) void fn();
#include "registry.def"
#undef JRN_SET
#undef JRN_DUMP

}  // namespace jrn
