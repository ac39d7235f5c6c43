// The engine's file-name buffer: the path that the next file command reads or writes.
#pragma once

constexpr int FilNamLen = 1024;
extern char FilNam[FilNamLen];

#include <string>
// The file name without its directory (cut at the last '/' or '\').
std::string FilBase(const char* path);
