// Helpers shared by the image readers and writers.
#pragma once
#include <cstdio>
#include "image/img.h"

// Format readers (one file each); f is positioned at the start. Contract as RdImgFile.
int RdJpg(std::FILE* f, ImgRec* out, ImgErrRec* e);
int RdTif(const char* path, ImgRec* out, ImgErrRec* e);
int RdBmp(std::FILE* f, ImgRec* out, ImgErrRec* e);

// Allocates out's pixels for w x h after checking the limits; false with *e set when the size is
// refused. Used by the readers.
bool AlcImgPix(int w, int h, ImgRec* out, ImgErrRec* e);
void SetImgErr(ImgErrRec* e, int st, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

// Closes the file when it goes out of scope.
struct FileCloser {
    std::FILE* f;
    ~FileCloser() { if (f) std::fclose(f); }
};
