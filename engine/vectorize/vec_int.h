// Internals shared by the two tracers (outlines and centre lines).
#pragma once
#include <chrono>
#include <cstdint>
#include "vectorize/vec.h"

namespace vec {

// Bits of a working map: one byte per pixel with a border of one blank pixel all round, so that
// a neighbour step never leaves the map.
constexpr uint8_t MapInk = 1;
constexpr uint8_t MapDone = 2;  // on an outline already walked

// Cancellation check: asks the trace's feedback at most every ms milliseconds (the first check
// always asks) whether the trace is cancelled.
class CnclChk {
public:
    CnclChk(const Feedback& fb, int ms) : fb_(fb), ms_(ms) {}
    bool operator()() {
        auto now = std::chrono::steady_clock::now();
        if (ms_ > 0 && !first_ && now - last_ < std::chrono::milliseconds(ms_)) return false;
        first_ = false;
        last_ = now;
        return fb_.Cancelled();
    }

private:
    const Feedback& fb_;
    int ms_;
    bool first_ = true;
    std::chrono::steady_clock::time_point last_;
};

// Model position of the lower-left corner of pixel column x, row y (rows top first) of a map of
// w x h pixels p mm wide: centred on the origin, or from the map's corner prm.org.
struct PixMdl {
    float p, halfW, halfH;
    bool orgOn;
    double ox, oy;
    int h;
    PixMdl(const VecPrm& prm, float pix, int w, int hh)
        : p(pix), halfW(w * pix / 2), halfH(hh * pix / 2), orgOn(prm.orgOn), ox(prm.org[0]),
          oy(prm.org[1]), h(hh) {}
    float X(int x) const { return orgOn ? static_cast<float>(ox + static_cast<double>(x) * p) : x * p - halfW; }
    float Y(int y) const {
        return orgOn ? static_cast<float>(oy + static_cast<double>(h - y - 1) * p) : (h - y - 1) * p - halfH;
    }
    // A fractional pixel position (pixel centres at +0.5).
    float Xf(double x) const {
        return static_cast<float>((orgOn ? ox : -static_cast<double>(halfW)) + x * p);
    }
    float Yf(double y) const {
        return static_cast<float>((orgOn ? oy : -static_cast<double>(halfH)) + (h - y) * p);
    }
};

// Stores n points (x, y, z floats) as a new contour curve of height 0 in the curve part and
// counts it in VecMadeCrv / VecMadePnt.
void MkCntrCrv(int n, const float* p);

// The three thinning passes of an outline or centre line (after smoothing).
void ThinPnts(int* n, float* p, const VecPrm& prm, float pix);

// Outlines of every ink area of map ((w + 2) x (h + 2), MapInk bits, blank border) become curves.
// Reports progress row by row. 0 when the whole map was scanned, -1 when cancelled.
int ScanOutLin(uint8_t* map, int w, int h, const VecPrm& prm, float p, CnclChk& cancelled);

// The centre-line trace of src; prm.fb has begun.
int TrcCntLin(const VecSrc& src, const VecPrm& prm, float p, CnclChk& cancelled);

}  // namespace vec
