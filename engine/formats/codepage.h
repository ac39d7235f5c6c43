// Text in files is in the system's multi-byte code page (Shift-JIS, code page 932); in memory it is
// UTF-8. Conversion happens at the edge of every reader and writer.
#pragma once
#include <string>
#include <string_view>

// Converts UTF-8 to code page 932. Returns false when some character has no equivalent; *out then
// holds the convertible text with '?' for each character that could not be converted.
bool Utf8ToSjis(std::string_view in, std::string* out);

// Converts code page 932 to UTF-8. Returns false on a malformed byte sequence; *out then holds the
// text with U+FFFD for each byte that could not be converted.
bool SjisToUtf8(std::string_view in, std::string* out);

// True when the text is valid UTF-8.
bool IsUtf8(std::string_view in);
