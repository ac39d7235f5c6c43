// The engine's file-name buffer: the path that the next file command reads or writes.
#pragma once

constexpr int FilNamLen = 1024;
extern char FilNam[FilNamLen];
