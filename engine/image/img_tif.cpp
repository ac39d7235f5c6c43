// TIFF through libtiff: every layout its RGBA reader handles (strips and tiles, the usual
// compressions, 1 to 16 bits, palette, grey, RGB, both byte orders); and a writer.
//
// libtiff's messages go to handlers of the opened file, never to the standard error: the first
// error becomes the reason shown to the user, warnings are dropped.
#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstring>
#include <tiffio.h>
#include "core/alc.h"
#include "image/img_int.h"

namespace {

// A single libtiff allocation larger than this is refused (a corrupt tag could ask for any size).
constexpr tmsize_t TifMaxAlloc = 512LL << 20;

struct TMsg {
    char text[160];
    bool set;
};

int TErrH(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    TMsg* m = static_cast<TMsg*>(user);
    if (m && !m->set) {
        char b[140];
        std::vsnprintf(b, sizeof b, fmt, ap);
        std::snprintf(m->text, sizeof m->text, "%s%s%s", module ? module : "", module ? ": " : "", b);
        m->set = true;
    }
    return 1;
}

int TWarnH(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TifCloser {
    TIFF* t;
    ~TifCloser() {
        if (t) TIFFClose(t);
    }
};

TIFF* TOpen(const char* path, const char* mode, TMsg* m) {
    TIFFOpenOptions* op = TIFFOpenOptionsAlloc();
    if (!op) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(op, TifMaxAlloc);
    TIFFOpenOptionsSetErrorHandlerExtR(op, TErrH, m);
    TIFFOpenOptionsSetWarningHandlerExtR(op, TWarnH, m);
    TIFF* t = TIFFOpenExt(path, mode, op);
    TIFFOpenOptionsFree(op);
    return t;
}

// Grey 16-bit tiles, which libtiff 4.5's RGBA reader shifts in the last column of tiles: read
// tile by tile here (high byte of each sample). Returns 1 having filled out (alpha 255), 0 without
// touching it when the file is of another kind, -1 on a read error.
int RdGrey16Tiles(TIFF* t, ImgRec* out) {
    uint16_t bps = 0, spp = 1, pc = PLANARCONFIG_CONTIG, ph = 0;
    uint32_t tw = 0, th = 0;
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &pc);
    if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &ph)) return 0;
    if (bps != 16 || spp != 1 || (ph != PHOTOMETRIC_MINISBLACK && ph != PHOTOMETRIC_MINISWHITE)) return 0;
    if (!TIFFGetField(t, TIFFTAG_TILEWIDTH, &tw) || !TIFFGetField(t, TIFFTAG_TILELENGTH, &th)) return 0;
    const tmsize_t tsz = TIFFTileSize(t);
    if (tw == 0 || th == 0 || tsz < static_cast<tmsize_t>(2ULL * tw * th)) return 0;
    uint16_t* tb = static_cast<uint16_t*>(AlcMem(tsz, "RdTif:tile"));
    int r = 0;
    for (uint32_t ty = 0; ty < static_cast<uint32_t>(out->h) && r == 0; ty += th)
        for (uint32_t tx = 0; tx < static_cast<uint32_t>(out->w) && r == 0; tx += tw) {
            if (TIFFReadTile(t, tb, tx, ty, 0, 0) < 0) {
                r = -1;
                break;
            }
            for (uint32_t y = ty; y < std::min<uint32_t>(ty + th, out->h); ++y)
                for (uint32_t x = tx; x < std::min<uint32_t>(tx + tw, out->w); ++x) {
                    int v = tb[static_cast<size_t>(y - ty) * tw + (x - tx)] >> 8;
                    if (ph == PHOTOMETRIC_MINISWHITE) v = 255 - v;
                    uint8_t* q = out->pix + out->stride * y + 4LL * x;
                    q[0] = q[1] = q[2] = static_cast<uint8_t>(v);
                    q[3] = 255;
                }
        }
    FreeMem(tb);
    return r == 0 ? 1 : -1;
}

// The reason libtiff gave, or a generic one when it gave none (some refusals are silent).
const char* TWhy(const TMsg& m) { return m.set && m.text[0] ? m.text : "unreadable TIFF structure"; }

}  // namespace

int RdTif(const char* path, ImgRec* out, ImgErrRec* e) {
    TMsg m{};
    // Memory-mapped: libtiff 4.5's unmapped path misreads tiles smaller than its first read.
    TifCloser tc{TOpen(path, "r", &m)};
    if (!tc.t) {
        SetImgErr(e, ImgErrRead, "TIFF: %s", TWhy(m));
        return -1;
    }
    uint32_t w = 0, h = 0;
    if (!TIFFGetField(tc.t, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tc.t, TIFFTAG_IMAGELENGTH, &h)) {
        SetImgErr(e, ImgErrRead, "TIFF: 画像の大きさがありません。");
        return -1;
    }
    char why[1024] = {};
    if (!TIFFRGBAImageOK(tc.t, why)) {
        SetImgErr(e, ImgErrFmt, "TIFF: %.150s", why[0] ? why : "unreadable TIFF structure");
        return -1;
    }
    const int wi = static_cast<int>(std::min<uint32_t>(w, 0x7fffffff));
    const int hi = static_cast<int>(std::min<uint32_t>(h, 0x7fffffff));
    if (!AlcImgPix(wi, hi, out, e)) return -1;
    m.set = false;
    const int g16 = TIFFIsTiled(tc.t) ? RdGrey16Tiles(tc.t, out) : 0;
    if (g16 < 0) {
        SetImgErr(e, ImgErrRead, "TIFF: %s", TWhy(m));
        return -1;
    }
    if (g16 == 0 && !TIFFReadRGBAImageOriented(tc.t, w, h, reinterpret_cast<uint32_t*>(out->pix),
                                   ORIENTATION_TOPLEFT, 1)) {
        SetImgErr(e, ImgErrRead, "TIFF: %s", TWhy(m));
        return -1;
    }
    // The reader packs R in the low byte of each 32-bit word.
    if constexpr (std::endian::native == std::endian::big) {
        uint32_t* p = reinterpret_cast<uint32_t*>(out->pix);
        for (long long i = 0, n = static_cast<long long>(w) * h; i < n; ++i) {
            uint32_t v = p[i];
            uint8_t* q = reinterpret_cast<uint8_t*>(p + i);
            q[0] = static_cast<uint8_t>(TIFFGetR(v));
            q[1] = static_cast<uint8_t>(TIFFGetG(v));
            q[2] = static_cast<uint8_t>(TIFFGetB(v));
            q[3] = static_cast<uint8_t>(TIFFGetA(v));
        }
    }
    return 0;
}

namespace {

// Palette of the image's distinct colours; false when there are more than 256.
bool MkPal(const ImgRec& img, uint32_t pal[256], int* n, uint8_t* idx) {
    *n = 0;
    for (long long i = 0, np = static_cast<long long>(img.w) * img.h; i < np; ++i) {
        const uint8_t* q = img.pix + 4 * i;
        uint32_t c = q[0] | (q[1] << 8) | (q[2] << 16);
        int k = 0;
        while (k < *n && pal[k] != c) ++k;
        if (k == *n) {
            if (*n == 256) return false;
            pal[(*n)++] = c;
        }
        idx[i] = static_cast<uint8_t>(k);
    }
    return true;
}

// One row of samples in the file's layout.
void PackRow(const ImgRec& img, const TifWrOpt& o, const uint8_t* idx, int y, uint8_t* buf) {
    const uint8_t* src = img.pix + img.stride * y;
    const int spp = o.grey || o.palette ? 1 : 3;
    if (o.palette) {
        std::memcpy(buf, idx + static_cast<long long>(img.w) * y, static_cast<size_t>(img.w));
        return;
    }
    if (o.bits == 1) {
        std::memset(buf, 0, static_cast<size_t>((img.w + 7) / 8));
        for (int x = 0; x < img.w; ++x)
            if (src[4 * x] >= 128) buf[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        return;
    }
    for (int x = 0; x < img.w; ++x)
        for (int s = 0; s < spp; ++s) {
            uint8_t v = src[4 * x + s];
            if (o.bits == 16) {
                uint16_t v16 = static_cast<uint16_t>(v * 257);
                std::memcpy(buf + 2 * (x * spp + s), &v16, 2);
            } else {
                buf[x * spp + s] = v;
            }
        }
}

}  // namespace

int WrTif(const char* path, const ImgRec& img, const TifWrOpt& o) {
    if (!img.pix || img.w <= 0 || img.h <= 0) return -1;
    if (o.bits != 1 && o.bits != 8 && o.bits != 16) return -1;
    if ((o.bits == 1 && !o.grey) || (o.palette && o.bits != 8)) return -1;
    if (o.tile % 16 != 0 || o.tile < 0) return -1;
    TMsg m{};
    TifCloser tc{TOpen(path, o.bigEndian ? "wb" : "wl", &m)};
    if (!tc.t) return -1;
    TIFF* t = tc.t;
    const long long np = static_cast<long long>(img.w) * img.h;
    uint8_t* idx = nullptr;
    uint32_t pal[256];
    int npal = 0;
    if (o.palette) {
        idx = static_cast<uint8_t*>(AlcMem(np, "WrTif:idx"));
        if (!MkPal(img, pal, &npal, idx)) {
            FreeMem(idx);
            return -1;
        }
    }
    const int spp = o.grey || o.palette ? 1 : 3;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(img.w));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(img.h));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(o.bits));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(spp));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, static_cast<uint16_t>(o.compression));
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 o.palette ? PHOTOMETRIC_PALETTE : o.grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 300.0f);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 300.0f);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (o.palette) {
        uint16_t r[256] = {}, g[256] = {}, b[256] = {};
        for (int i = 0; i < npal; ++i) {
            r[i] = static_cast<uint16_t>((pal[i] & 0xFF) * 257);
            g[i] = static_cast<uint16_t>(((pal[i] >> 8) & 0xFF) * 257);
            b[i] = static_cast<uint16_t>(((pal[i] >> 16) & 0xFF) * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, r, g, b);
    }
    const long long rowBytes = o.bits == 1 ? (img.w + 7) / 8 : static_cast<long long>(img.w) * spp * (o.bits / 8);
    uint8_t* row = static_cast<uint8_t*>(AlcMem(rowBytes, "WrTif:row"));
    bool ok = true;
    if (o.tile == 0) {
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(std::max(1, o.rowsPerStrip)));
        for (int y = 0; y < img.h && ok; ++y) {
            PackRow(img, o, idx, y, row);
            ok = TIFFWriteScanline(t, row, static_cast<uint32_t>(y), 0) == 1;
        }
    } else {
        TIFFSetField(t, TIFFTAG_TILEWIDTH, static_cast<uint32_t>(o.tile));
        TIFFSetField(t, TIFFTAG_TILELENGTH, static_cast<uint32_t>(o.tile));
        const tmsize_t tsz = TIFFTileSize(t);
        const long long tRow = tsz / o.tile;  // bytes of one tile row
        uint8_t* tb = static_cast<uint8_t*>(AlcMem(tsz, "WrTif:tile"));
        for (int ty = 0; ty < img.h && ok; ty += o.tile)
            for (int tx = 0; tx < img.w && ok; tx += o.tile) {
                std::memset(tb, 0, static_cast<size_t>(tsz));
                for (int y = ty; y < std::min(img.h, ty + o.tile); ++y) {
                    PackRow(img, o, idx, y, row);
                    // Columns tx.. of the row; 1-bit tiles start on a byte since tile % 16 == 0.
                    long long off = o.bits == 1 ? tx / 8 : static_cast<long long>(tx) * spp * (o.bits / 8);
                    long long n = std::min(tRow, rowBytes - off);
                    std::memcpy(tb + tRow * (y - ty), row + off, static_cast<size_t>(n));
                }
                ok = TIFFWriteTile(t, tb, static_cast<uint32_t>(tx), static_cast<uint32_t>(ty), 0, 0) >= 0;
            }
        FreeMem(tb);
    }
    FreeMem(row);
    FreeMem(idx);
    if (!ok) return -1;
    TIFF* tt = tc.t;
    tc.t = nullptr;
    TIFFClose(tt);
    return m.set ? -1 : 0;
}
