// Reading a map image: the kind of file from its first bytes, the size limits, the empty record.
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include "core/alc.h"
#include "image/img_int.h"

int ImgFmtOf(const uint8_t* b, int n) {
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return FmtJpeg;
    if (n >= 4 && b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) return FmtTiff;
    if (n >= 4 && b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42) return FmtTiff;
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') return FmtBmp;
    return FmtUnknown;
}

void SetImgErr(ImgErrRec* e, int st, const char* fmt, ...) {
    e->st = st;
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(e->why, sizeof e->why, fmt, ap);
    va_end(ap);
}

bool AlcImgPix(int w, int h, ImgRec* out, ImgErrRec* e) {
    if (w <= 0 || h <= 0) {
        SetImgErr(e, ImgErrSize, "画像の大きさが異常です (%d x %d)。", w, h);
        return false;
    }
    if (w > ImgMaxDim || h > ImgMaxDim || static_cast<long long>(w) * h > ImgMaxPix) {
        SetImgErr(e, ImgErrSize, "画像が大きすぎます (%d x %d)。", w, h);
        return false;
    }
    out->w = w;
    out->h = h;
    out->stride = 4LL * w;
    out->pix = static_cast<uint8_t*>(AlcMem(out->stride * h, "VecImg:pix"));
    return out->pix != nullptr;
}

void FreeImg(ImgRec* img) {
    FreeMem(img->path);
    FreeMem(img->pix);
    *img = ImgRec{};
}

int RdImgFile(const char* path, ImgRec* out, ImgErrRec* e) {
    *out = ImgRec{};
    *e = ImgErrRec{};
    if (!path || !*path) {
        SetImgErr(e, ImgErrOpen, "ファイル名がありません。");
        return -1;
    }
    FileCloser fc{std::fopen(path, "rb")};
    if (!fc.f) {
        SetImgErr(e, ImgErrOpen, "%s", std::strerror(errno));
        return -1;
    }
    uint8_t head[8] = {};
    int n = static_cast<int>(std::fread(head, 1, sizeof head, fc.f));
    // A folder opens on Linux but cannot be read.
    if (n == 0 && std::ferror(fc.f)) {
        SetImgErr(e, ImgErrOpen, "%s", std::strerror(EISDIR));
        return -1;
    }
    std::rewind(fc.f);
    int r = -1;
    Cleanup drop([&] { FreeImg(out); });
    switch (ImgFmtOf(head, n)) {
    case FmtJpeg: r = RdJpg(fc.f, out, e); break;
    case FmtBmp: r = RdBmp(fc.f, out, e); break;
    case FmtTiff:
        std::fclose(fc.f);
        fc.f = nullptr;
        r = RdTif(path, out, e);
        break;
    case FmtUnknown:
        if (n == 0)
            SetImgErr(e, ImgErrRead, "ファイルが空です。");
        else
            SetImgErr(e, ImgErrFmt, "JPEG, TIFF, BMP のいずれでもありません。");
        break;
    }
    if (r != 0) {
        if (e->st == ImgOk) SetImgErr(e, ImgErrRead, "%s", "");
        return -1;  // out is freed on the way
    }
    size_t len = std::strlen(path) + 1;
    out->path = static_cast<char*>(AlcMem(static_cast<long long>(len), "VecImg:path"));
    drop.Keep();
    std::memcpy(out->path, path, len);
    return 0;
}
