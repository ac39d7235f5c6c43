// Extensions of file names: the one reading of where a name's extension starts.
#pragma once
#include <string>

// The extension of the last path component ("/" or "\\" ends a folder), without its dot; "" when
// it has none.
std::string FileExt(const std::string& path);
// Whether the extension of path is ext (without the dot, in lower case) written all in lower or
// all in upper case: "a.scn" and "A.SCN", not "a.Scn".
bool HasExt(const std::string& path, const char* ext);
