// Windows bitmaps, read and written here: 1, 4 and 8 bits with a colour table, 16, 24 and 32 bits
// (plain or with bit-field masks), bottom-up or top-down rows. Compressed (RLE) files are refused.
#include <climits>
#include <cstring>
#include "core/alc.h"
#include "image/img_int.h"

namespace {

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3, BiAlphaBitFields = 6;

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void P32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void P16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// A channel mask: its lowest bit and its width, to scale the field to 0..255.
struct Mask {
    uint32_t m = 0;
    int shift = 0;
    uint32_t max = 0;
    void Set(uint32_t v) {
        m = v;
        shift = 0;
        max = 0;
        if (!v) return;
        while (!((v >> shift) & 1)) ++shift;
        max = v >> shift;
    }
    uint8_t Get(uint32_t px) const {
        if (!max) return 0;
        return static_cast<uint8_t>(((px & m) >> shift) * 255u / max);
    }
};

bool ReadAll(std::FILE* f, void* buf, size_t n) { return std::fread(buf, 1, n, f) == n; }

// The file and information headers: what RdBmp needs of them. False (e set) when they are cut
// short or of a size that cannot be read.
struct BmpHdr {
    uint8_t ih[124] = {};   // the information header as read
    uint32_t off = 0;       // offset of the pixels
    uint32_t hsz = 0;       // size of the information header
    int32_t w = 0, h = 0;
    int bpp = 0;
    uint32_t comp = BiRgb, clrUsed = 0;
    int palEnt = 4;         // bytes per colour-table entry
};

bool RdBmpHdr(std::FILE* f, BmpHdr* b, ImgErrRec* e) {
    uint8_t fh[14];
    uint8_t* ih = b->ih;
    if (!ReadAll(f, fh, sizeof fh) || !ReadAll(f, ih, 4)) {
        SetImgErr(e, ImgErrRead, "BMP: ヘッダーが途中で切れています。");
        return false;
    }
    b->off = U32(fh + 10);
    b->hsz = U32(ih);
    const uint32_t hsz = b->hsz;
    if (hsz == 12) {
        if (!ReadAll(f, ih + 4, 8)) {
            SetImgErr(e, ImgErrRead, "BMP: ヘッダーが途中で切れています。");
            return false;
        }
        b->w = U16(ih + 4);
        b->h = static_cast<int16_t>(U16(ih + 6));
        b->bpp = U16(ih + 10);
        b->palEnt = 3;
    } else if (hsz >= 40 && hsz <= 124) {
        if (!ReadAll(f, ih + 4, hsz - 4)) {
            SetImgErr(e, ImgErrRead, "BMP: ヘッダーが途中で切れています。");
            return false;
        }
        b->w = static_cast<int32_t>(U32(ih + 4));
        b->h = static_cast<int32_t>(U32(ih + 8));
        b->bpp = U16(ih + 14);
        b->comp = U32(ih + 16);
        b->clrUsed = U32(ih + 32);
    } else {
        SetImgErr(e, ImgErrFmt, "BMP: 情報ヘッダーの大きさ %u は読み込めません。", hsz);
        return false;
    }
    return true;
}

// The channel masks of 16 and 32 bits (read after the header when it does not hold them) and the
// check of the compression and depth. False (e set) for what cannot be read.
bool RdBmpMasks(std::FILE* f, const BmpHdr& b, Mask mk[3], ImgErrRec* e) {
    const int bpp = b.bpp;
    if (b.comp == BiBitFields || b.comp == BiAlphaBitFields) {
        if (bpp != 16 && bpp != 32) {
            SetImgErr(e, ImgErrFmt, "BMP: %d ビットのビットフィールドは読み込めません。", bpp);
            return false;
        }
        uint8_t mb[12];
        if (b.hsz >= 52) {
            std::memcpy(mb, b.ih + 40, 12);
        } else if (!ReadAll(f, mb, 12)) {
            SetImgErr(e, ImgErrRead, "BMP: ヘッダーが途中で切れています。");
            return false;
        }
        for (int i = 0; i < 3; ++i) mk[i].Set(U32(mb + 4 * i));
    } else if (b.comp == BiRle8 || b.comp == BiRle4) {
        SetImgErr(e, ImgErrFmt, "BMP: 圧縮 (RLE) された画像は読み込めません。");
        return false;
    } else if (b.comp != BiRgb) {
        SetImgErr(e, ImgErrFmt, "BMP: 圧縮形式 %u は読み込めません。", b.comp);
        return false;
    } else if (bpp == 16) {
        mk[0].Set(0x7C00);
        mk[1].Set(0x03E0);
        mk[2].Set(0x001F);
    } else if (bpp == 32) {
        mk[0].Set(0x00FF0000);
        mk[1].Set(0x0000FF00);
        mk[2].Set(0x000000FF);
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        SetImgErr(e, ImgErrFmt, "BMP: %d ビットの画像は読み込めません。", bpp);
        return false;
    }
    return true;
}

// The colour table of 1 to 8 bits into pal, which stays zero-filled past its end (an index there
// reads black). False (e set) when it is cut short.
bool RdBmpPal(std::FILE* f, const BmpHdr& b, uint8_t pal[256][3], ImgErrRec* e) {
    if (b.bpp > 8) return true;
    const uint32_t all = 1u << b.bpp;
    uint32_t n = b.clrUsed == 0 || b.clrUsed > all ? all : b.clrUsed;
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t q[4];
        if (!ReadAll(f, q, static_cast<size_t>(b.palEnt))) {
            SetImgErr(e, ImgErrRead, "BMP: カラーテーブルが途中で切れています。");
            return false;
        }
        pal[i][0] = q[2];
        pal[i][1] = q[1];
        pal[i][2] = q[0];
    }
    return true;
}

// One row of the file into w RGBA pixels at d.
void BmpRow(const uint8_t* row, int w, int bpp, const uint8_t pal[256][3], const Mask mk[3], uint8_t* d) {
    for (int x = 0; x < w; ++x, d += 4) {
        switch (bpp) {
        case 1:
        case 4:
        case 8: {
            long long bit = static_cast<long long>(x) * bpp;
            int v = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
            std::memcpy(d, pal[v], 3);
            break;
        }
        case 16:
        case 32: {
            uint32_t px = bpp == 16 ? U16(row + 2LL * x) : U32(row + 4LL * x);
            for (int i = 0; i < 3; ++i) d[i] = mk[i].Get(px);
            break;
        }
        default:  // 24
            d[0] = row[3LL * x + 2];
            d[1] = row[3LL * x + 1];
            d[2] = row[3LL * x];
            break;
        }
        d[3] = 255;
    }
}

}  // namespace

int RdBmp(std::FILE* f, ImgRec* out, ImgErrRec* e) {
    BmpHdr b;
    Mask mk[3];
    uint8_t pal[256][3] = {};
    if (!RdBmpHdr(f, &b, e) || !RdBmpMasks(f, b, mk, e) || !RdBmpPal(f, b, pal, e)) return -1;
    const int32_t w = b.w;
    const int bpp = b.bpp;
    int32_t h = b.h;
    const bool topDown = h < 0;
    if (h == INT32_MIN) h = 0;
    if (topDown) h = -h;
    if (!AlcImgPix(w, h, out, e)) return -1;
    const long long rowSize = (static_cast<long long>(w) * bpp + 31) / 32 * 4;
    if (std::fseek(f, static_cast<long>(b.off), SEEK_SET) != 0) {
        SetImgErr(e, ImgErrRead, "BMP: 画素データがありません。");
        return -1;
    }
    uint8_t* row = static_cast<uint8_t*>(AlcMem(rowSize, "RdBmp:row"));
    int r = 0;
    for (int fy = 0; fy < h; ++fy) {
        if (!ReadAll(f, row, static_cast<size_t>(rowSize))) {
            SetImgErr(e, ImgErrRead, "BMP: 画素データが途中で切れています (%d / %d 行)。", fy, h);
            r = -1;
            break;
        }
        BmpRow(row, w, bpp, pal, mk, out->pix + out->stride * (topDown ? fy : h - 1 - fy));
    }
    FreeMem(row);
    return r;
}

int WrBmp(const char* path, const ImgRec& img, const BmpWrOpt& o) {
    if (!img.pix || img.w <= 0 || img.h <= 0) return -1;
    const int bpp = o.bits;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return -1;
    // Colour table of the distinct colours.
    uint32_t pal[256];
    int npal = 0;
    const long long np = static_cast<long long>(img.w) * img.h;
    uint8_t* idx = nullptr;
    if (bpp <= 8) {
        idx = static_cast<uint8_t*>(AlcMem(np, "WrBmp:idx"));
        for (long long i = 0; i < np; ++i) {
            const uint8_t* q = img.pix + 4 * i;
            uint32_t c = q[0] | (q[1] << 8) | (q[2] << 16);
            int k = 0;
            while (k < npal && pal[k] != c) ++k;
            if (k == npal) {
                if (npal == (1 << bpp)) {
                    FreeMem(idx);
                    return -1;
                }
                pal[npal++] = c;
            }
            idx[i] = static_cast<uint8_t>(k);
        }
    }
    const long long rowSize = (static_cast<long long>(img.w) * bpp + 31) / 32 * 4;
    const uint32_t off = 14 + 40 + 4 * static_cast<uint32_t>(npal);
    uint8_t hd[54] = {};
    hd[0] = 'B';
    hd[1] = 'M';
    P32(hd + 2, static_cast<uint32_t>(off + rowSize * img.h));
    P32(hd + 10, off);
    P32(hd + 14, 40);
    P32(hd + 18, static_cast<uint32_t>(img.w));
    P32(hd + 22, static_cast<uint32_t>(o.topDown ? -img.h : img.h));
    P16(hd + 26, 1);
    P16(hd + 28, static_cast<uint16_t>(bpp));
    P32(hd + 34, static_cast<uint32_t>(rowSize * img.h));
    P32(hd + 46, static_cast<uint32_t>(npal));
    FileCloser fc{std::fopen(path, "wb")};
    if (!fc.f) {
        FreeMem(idx);
        return -1;
    }
    bool ok = std::fwrite(hd, 1, sizeof hd, fc.f) == sizeof hd;
    for (int i = 0; i < npal && ok; ++i) {
        uint8_t q[4] = {static_cast<uint8_t>(pal[i] >> 16), static_cast<uint8_t>(pal[i] >> 8),
                        static_cast<uint8_t>(pal[i]), 0};
        ok = std::fwrite(q, 1, 4, fc.f) == 4;
    }
    uint8_t* row = static_cast<uint8_t*>(AlcMem(rowSize, "WrBmp:row"));
    for (int fy = 0; fy < img.h && ok; ++fy) {
        const int y = o.topDown ? fy : img.h - 1 - fy;
        std::memset(row, 0, static_cast<size_t>(rowSize));
        const uint8_t* s = img.pix + img.stride * y;
        for (int x = 0; x < img.w; ++x) {
            if (bpp <= 8) {
                long long bit = static_cast<long long>(x) * bpp;
                int v = idx[static_cast<long long>(img.w) * y + x];
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - bpp - bit % 8));
            } else {
                uint8_t* d = row + static_cast<long long>(x) * (bpp / 8);
                d[0] = s[4 * x + 2];
                d[1] = s[4 * x + 1];
                d[2] = s[4 * x];
            }
        }
        ok = std::fwrite(row, 1, static_cast<size_t>(rowSize), fc.f) == static_cast<size_t>(rowSize);
    }
    FreeMem(row);
    FreeMem(idx);
    if (std::fclose(fc.f) != 0) ok = false;
    fc.f = nullptr;
    return ok ? 0 : -1;
}
