// Map images: JPEG, TIFF and BMP files read into 4 bytes per pixel (red, green, blue, 255), top
// row first, and written back (tests and benchmarks make their pictures with the writers).
#pragma once
#include <cstdint>

// A picture in memory. Empty when pix is null.
struct ImgRec {
    char* path;         // the file it came from (tag "VecImg:path"), null when none
    int w, h;           // pixels
    long long stride;   // bytes per row, 4 * w
    uint8_t* pix;       // pix[h * stride], top row first (tag "VecImg:pix")
};

// Outcome of a read.
enum ImgSt {
    ImgOk = 0,
    ImgErrOpen = 1,    // the file cannot be opened
    ImgErrRead = 2,    // truncated or corrupt
    ImgErrFmt = 3,     // not a JPEG, TIFF or BMP, or a variant of them that is not read
    ImgErrSize = 4,    // no pixels, or more than the limits below
};
struct ImgErrRec {
    int st;             // ImgSt
    char why[200];      // short reason for the user (may be empty)
};

// Limits checked before any pixel is allocated.
constexpr int ImgMaxDim = 100000;            // width or height
constexpr long long ImgMaxPix = 1LL << 28;   // width * height (1 GiB of pixels)

// File kinds, told by the file's first bytes (the name's extension does not matter).
enum ImgFmt { FmtUnknown = 0, FmtJpeg = 1, FmtTiff = 2, FmtBmp = 3 };
int ImgFmtOf(const uint8_t* head, int n);

// Reads path into *out (which must be empty). On failure out stays empty and *e says why.
// Returns 0 or -1. Allocation failures of a size that passed the limits go to the allocator's
// failure path.
int RdImgFile(const char* path, ImgRec* out, ImgErrRec* e);
void FreeImg(ImgRec* img);   // back to empty

// Writers. Returns 0, or -1 when the file cannot be written.
struct JpgWrOpt {
    int quality = 95;
    bool grey = false;       // one channel (the first)
};
int WrJpg(const char* path, const ImgRec& img, const JpgWrOpt& o);
struct TifWrOpt {
    int bits = 8;            // 1 (black below 128), 8 or 16 per sample
    bool grey = false;       // one sample per pixel (the first channel)
    bool bigEndian = false;  // "MM" byte order
    int compression = 1;     // libtiff's COMPRESSION_* value (1 none, 5 LZW, 8 deflate, 32773 packbits)
    int tile = 0;            // tile side (multiple of 16), 0 for strips
    int rowsPerStrip = 16;
    bool palette = false;    // 8-bit palette of the distinct colours (at most 256)
};
int WrTif(const char* path, const ImgRec& img, const TifWrOpt& o);
struct BmpWrOpt {
    int bits = 24;           // 1, 4, 8 (palette of the distinct colours), 24 or 32
    bool topDown = false;    // negative height
};
int WrBmp(const char* path, const ImgRec& img, const BmpWrOpt& o);
