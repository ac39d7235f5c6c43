// Map image of the auto-vectorize window: loading with messages, the display bitmap, the zoom.
#include "image/vecimg.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "core/alc.h"
#include "core/msg.h"

ImgRec VecImg = {};
int VecThr = VecThrDef;
uint8_t VecMono = VecDspGrey;
float VecZoom = 1.0f;
VecDspRec VecDsp = {};

const float VecZoomTbl[VecZoomNum] = {
    1.0f / 10, 1.0f / 9, 1.0f / 8, 1.0f / 7, 1.0f / 6, 1.0f / 5, 1.0f / 4, 1.0f / 3, 1.0f / 2, 1.0f,
    2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f};
const char* const VecZoomTxt[VecZoomNum] = {"1/10", "1/9", "1/8", "1/7", "1/6", "1/5", "1/4",
                                            "1/3", "1/2", "1", "2", "3", "4", "5",
                                            "6", "7", "8", "9", "10"};

int VecZoomIdx(float z) {
    for (int i = 0; i < VecZoomNum; ++i)
        if (std::fabs(z - VecZoomTbl[i]) <= 1e-6f * VecZoomTbl[i]) return i;
    return -1;
}

void VecDspSize(float z, int* w, int* h) {
    if (!VecImg.pix) {
        *w = VecDspDefW;
        *h = VecDspDefH;
        return;
    }
    *w = static_cast<int>(std::trunc(static_cast<double>(VecImg.w) * z));
    *h = static_cast<int>(std::trunc(static_cast<double>(VecImg.h) * z));
}

namespace {

void FreeDsp() {
    FreeMem(VecDsp.bits);
    VecDsp = VecDspRec{};
}

long long DspRowBytes(int w) { return (3LL * w + 3) / 4 * 4; }

bool DspFits(float z) {
    int w, h;
    VecDspSize(z, &w, &h);
    return DspRowBytes(w) * h <= VecDspMaxByt;
}

void DspTooBig() { DspErrMsg(MsgOwnErr, "表示倍率が大きすぎます。\n小さい倍率を選んでください。"); }

int BldDsp() {
    if (!VecImg.pix) return -1;
    if (!DspFits(VecZoom)) {
        DspTooBig();
        return -1;
    }
    int wd, hd;
    VecDspSize(VecZoom, &wd, &hd);
    const long long rb = DspRowBytes(wd);
    if (!VecDsp.bits || VecDsp.hdr.width != wd || VecDsp.hdr.height != hd) {
        FreeDsp();
        VecDsp.hdr = plt::ImgHdr{40, wd, hd, 1, 24, 0, static_cast<uint32_t>(rb * hd), 0, 0, 0, 0};
        VecDsp.rowBytes = rb;
        VecDsp.bits = static_cast<uint8_t*>(AlcMem(rb * hd, "VecDsp"));
    }
    if (!VecDsp.bits) return wd > 0 && hd > 0 ? -1 : 0;
    std::memset(VecDsp.bits, 0, static_cast<size_t>(rb * hd));
    // Display value of each channel sum c0 + c1 + c2.
    uint8_t lut[766];
    for (int s = 0; s < 766; ++s) {
        int g = s / 3;
        lut[s] = static_cast<uint8_t>(VecMono == VecDspMono ? (g > VecThr ? 255 : 0) : g);
    }
    int* col = static_cast<int*>(AlcMem(4LL * (wd > 0 ? wd : 1), "VecDsp:col"));
    for (int j = 0; j < wd; ++j) {
        int x = static_cast<int>(std::trunc(j / static_cast<double>(VecZoom)));
        col[j] = x < VecImg.w ? x : VecImg.w - 1;
    }
    for (int i = 0; i < hd; ++i) {
        int y = static_cast<int>(std::trunc(i / static_cast<double>(VecZoom)));
        if (y >= VecImg.h) y = VecImg.h - 1;
        const uint8_t* src = VecImg.pix + VecImg.stride * y;
        uint8_t* dst = VecDsp.bits + rb * (hd - i - 1);
        for (int j = 0; j < wd; ++j) {
            const uint8_t* q = src + 4LL * col[j];
            uint8_t v = lut[q[0] + q[1] + q[2]];
            dst[3 * j] = dst[3 * j + 1] = dst[3 * j + 2] = v;
        }
    }
    FreeMem(col);
    return 0;
}

}  // namespace

int BldVecDsp() {
    int r = -1;
    EngGuard([&] {
        r = BldDsp();
        return 0;
    });
    return r;
}

int SetVecZoom(float z) {
    int i = VecZoomIdx(z);
    if (i < 0) return -1;
    if (VecImg.pix && !DspFits(VecZoomTbl[i])) {
        DspTooBig();
        return -1;
    }
    VecZoom = VecZoomTbl[i];
    if (!VecImg.pix) return 0;
    return BldVecDsp();
}

int StepVecThr(int delta) {
    long long t = static_cast<long long>(VecThr) + delta;
    VecThr = static_cast<int>(t < 0 ? 0 : t > VecThrMax ? VecThrMax : t);
    if (VecDsp.bits) BldVecDsp();
    return VecThr;
}

float VecZoomFit(int scrW, int scrH) {
    int i = VecZoomOne;
    for (; i > 0; --i) {
        int w, h;
        VecDspSize(VecZoomTbl[i], &w, &h);
        if (w <= scrW - VecFitMrgW && h <= scrH - VecFitMrgH) break;
    }
    return VecZoomTbl[i];
}

int LdVecImg(const char* path) {
    int r = -1;
    EngGuard([&] {
        ImgRec img;
        ImgErrRec e;
        if (RdImgFile(path, &img, &e) == 0) {
            FreeDsp();
            FreeImg(&VecImg);
            VecImg = img;
            r = 0;
            const char* b = path ? std::strrchr(path, '/') : nullptr;
            char t[MsgLinLen];
            std::snprintf(t, sizeof t, MsgTx("画像読み込み: %s (%d x %d 画素)", "Image import: %s (%d x %d pixels)"),
                          b ? b + 1 : path ? path : "", img.w, img.h);
            PutMsg(t);
            return 0;
        }
        // The name leads the message; a long path gives way to its last part so the reason fits.
        const char* p = path ? path : "";
        if (std::strlen(p) > 120) {
            const char* s = std::strrchr(p, '/');
            if (s) p = s + 1;
        }
        std::string t;
        switch (e.st) {
        case ImgErrOpen:
            DspErrMsg(MsgFilOpn, p);
            return 0;
        case ImgErrFmt:
            t = p;
            t += "\nこの形式の画像は読み込めません。";
            break;
        case ImgErrSize:
            t = p;
            t += "\n画像を読み込めません。";
            break;
        case ImgErrRead:
        case ImgOk:
            t = p;
            t += "\nファイルの読み込み中にエラーが発生しました。";
            break;
        }
        if (e.why[0]) {
            t += '\n';
            t += e.why;
        }
        DspErrMsg(MsgOwnErr, t.c_str());
        return 0;
    });
    return r;
}

void IniVecImg() {
    FreeVecImg();
    VecThr = VecThrDef;
    VecMono = VecDspGrey;
    VecZoom = 1.0f;
}

void FreeVecImg() {
    FreeDsp();
    FreeImg(&VecImg);
}
