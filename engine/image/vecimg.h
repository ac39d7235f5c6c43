// The map image of the auto-vectorize window and its display bitmap.
//
// The image, the threshold and the display mode stay between openings of the window; the zoom is
// chosen afresh at each opening (VecZoomFit).
#pragma once
#include <cstdint>
#include "image/img.h"
#include "platform/platform.h"

extern ImgRec VecImg;    // empty until an image is loaded
extern int VecThr;       // 0..255: a pixel is ink when its grey value is at or below it
extern uint8_t VecMono;  // VecDspGrey or VecDspMono
extern float VecZoom;    // one of VecZoomTbl

enum VecDspMode { VecDspGrey = 0, VecDspMono = 1 };
constexpr int VecThrMax = 255;
constexpr int VecThrDef = 128;

// Display zooms in the order of the window's list: 1/10 .. 1/2, 1, 2 .. 10.
constexpr int VecZoomNum = 19;
constexpr int VecZoomOne = 9;  // index of 1
extern const float VecZoomTbl[VecZoomNum];
extern const char* const VecZoomTxt[VecZoomNum];
int VecZoomIdx(float z);  // index of z in the table, -1 when it is not one of them

// Display bitmap: bottom-up 24-bit rows padded to 4 bytes, described by hdr; every pixel has
// three equal bytes. Empty (bits null) until BldVecDsp has run for the loaded image.
struct VecDspRec {
    plt::ImgHdr hdr;
    long long rowBytes;
    uint8_t* bits;      // tag "VecDsp"
};
extern VecDspRec VecDsp;
constexpr long long VecDspMaxByt = 1LL << 28;  // larger bitmaps are refused (zoom too large)
constexpr int VecDspDefW = 640, VecDspDefH = 480;  // size before any image is loaded

// Grey value of a pixel of 4 bytes.
inline int PixGrey(const uint8_t* q) { return (q[0] + q[1] + q[2]) / 3; }

// Size of the bitmap for zoom z: trunc(W * z) x trunc(H * z).
void VecDspSize(float z, int* w, int* h);

// Entry points (each its own recovery point; messages are shown here):
// Reads path as the new map image. On failure a message naming the file says why, the previous
// image stays and -1 is returned. The display bitmap is built by the next BldVecDsp.
int LdVecImg(const char* path);
// Rebuilds the bitmap from the image, VecZoom, VecThr and VecMono. -1 without an image, or
// (with a message) when the bitmap would exceed VecDspMaxByt.
int BldVecDsp();
// VecZoom = z and rebuild; refused with a message, leaving the zoom as it was, when the bitmap
// would be too large. -1 when refused or z is not in the table.
int SetVecZoom(float z);
// The threshold spin: VecThr + delta kept within 0..VecThrMax, then rebuild when the bitmap
// exists. Returns the new threshold.
int StepVecThr(int delta);
// Zoom for opening the window on a screen of scrW x scrH pixels: the largest of 1, 1/2 .. 1/10
// whose bitmap fits (scrW - 126) x (scrH - 146); 1/10 when none fits.
float VecZoomFit(int scrW, int scrH);
constexpr int VecFitMrgW = 126, VecFitMrgH = 146;

void IniVecImg();   // start-up values; frees an image left from before
void FreeVecImg();  // image and bitmap (end of system)
