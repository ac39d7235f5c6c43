// Splitting journal lines into words and reading numbers out of them.
#pragma once
#include <string>
#include <vector>

namespace jrn {

using Words = std::vector<std::string>;

// Splits one line into words. Words are separated by blanks (space, tab); a word that starts
// with a double quote runs to the next double quote and may hold blanks; a # at the start of a
// word (outside quotes) starts a comment that runs to the end of the line; a trailing carriage
// return is ignored. Returns false with *err set when a quoted word is not closed or a closing
// quote is glued to further text.
bool SplitLine(const std::string& line, Words* words, std::string* err);

// Decimal numbers only: [+-]digits for integers, [+-]digits[.digits][e[+-]digits] (or .digits)
// for reals. No hex, no "inf"/"nan", no trailing text. Integers must fit in an int.
bool ParseInt(const std::string& s, int* out);
bool ParseReal(const std::string& s, double* out);

}  // namespace jrn
