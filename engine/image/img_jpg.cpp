// JPEG through libjpeg: grey, YCbCr/RGB and CMYK/YCCK scans; and a writer for tests and benchmarks.
//
// libjpeg reports fatal errors through error_exit, which must not return: ours jumps back to the
// setjmp of the phase that called into the library. The phases hold no C++ objects, and every
// allocation of ours happens between them, so nothing is skipped by the jump.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>
#include "core/alc.h"
#include "image/img_int.h"

namespace {

struct JErr {
    jpeg_error_mgr pub;
    jmp_buf jb;
    char msg[JMSG_LENGTH_MAX];
    int code;
};

[[noreturn]] void JFail(j_common_ptr c) {
    JErr* e = reinterpret_cast<JErr*>(c->err);
    e->code = c->err->msg_code;
    c->err->format_message(c, e->msg);
    std::longjmp(e->jb, 1);
}

void JErrExit(j_common_ptr c) { JFail(c); }

// Warnings are not printed. A file that ends before its last scan is refused rather than shown
// half grey: a missing part of a map would trace as nothing.
void JEmit(j_common_ptr c, int level) {
    if (level >= 0) return;
    c->err->num_warnings++;
    if (c->err->msg_code == JWRN_JPEG_EOF) JFail(c);
}

void JOutput(j_common_ptr) {}

struct JDec {
    jpeg_decompress_struct ci;
    JErr err;
    bool made = false;
    JDec() {
        std::memset(&ci, 0, sizeof ci);
        std::memset(&err, 0, sizeof err);
    }
    ~JDec() {
        if (made) jpeg_destroy_decompress(&ci);
    }
};

// Phase 1: header. Returns 0 or -1 (d->err says why).
int JHead(JDec* d, std::FILE* f) {
    d->ci.err = jpeg_std_error(&d->err.pub);
    d->err.pub.error_exit = JErrExit;
    d->err.pub.emit_message = JEmit;
    d->err.pub.output_message = JOutput;
    if (setjmp(d->err.jb)) return -1;
    d->made = true;
    jpeg_create_decompress(&d->ci);
    jpeg_stdio_src(&d->ci, f);
    jpeg_read_header(&d->ci, TRUE);
    return 0;
}

// Phase 2: pixels into img, whose buffer is allocated for the header's size.
int JPix(JDec* d, ImgRec* img) {
    if (setjmp(d->err.jb)) return -1;
    jpeg_decompress_struct& ci = d->ci;
    const J_COLOR_SPACE in = ci.jpeg_color_space;
    const bool cmyk = in == JCS_CMYK || in == JCS_YCCK;
    const bool grey = ci.num_components == 1;
    if (grey)
        ci.out_color_space = JCS_GRAYSCALE;
    else if (cmyk)
        ci.out_color_space = JCS_CMYK;
    else
        ci.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&ci);
    if (static_cast<int>(ci.output_width) != img->w || static_cast<int>(ci.output_height) != img->h) {
        std::snprintf(d->err.msg, sizeof d->err.msg, "output size differs from the header");
        jpeg_abort_decompress(&ci);
        return -1;
    }
    // Adobe writes CMYK inverted (0 = full ink).
    const bool inv = ci.saw_Adobe_marker;
    const int w = img->w;
    while (ci.output_scanline < ci.output_height) {
        uint8_t* row = img->pix + img->stride * ci.output_scanline;
        JSAMPROW rp = row;
        if (jpeg_read_scanlines(&ci, &rp, 1) != 1) {
            std::snprintf(d->err.msg, sizeof d->err.msg, "no scan line");
            return -1;
        }
        if (grey) {
            for (int x = w - 1; x >= 0; --x) {
                uint8_t g = row[x];
                uint8_t* q = row + 4 * x;
                q[0] = q[1] = q[2] = g;
                q[3] = 255;
            }
        } else if (cmyk) {
            for (int x = 0; x < w; ++x) {
                uint8_t* q = row + 4 * x;
                int k = inv ? q[3] : 255 - q[3];
                for (int i = 0; i < 3; ++i) {
                    int c = inv ? q[i] : 255 - q[i];
                    q[i] = static_cast<uint8_t>((c * k + 127) / 255);
                }
                q[3] = 255;
            }
        }
    }
    jpeg_finish_decompress(&ci);
    return 0;
}

void JErrTo(const JDec& d, ImgErrRec* e) {
    int st = d.err.code == JERR_SOF_UNSUPPORTED ? ImgErrFmt : ImgErrRead;
    SetImgErr(e, st, "JPEG: %s", d.err.msg);
}

struct JEnc {
    jpeg_compress_struct ci;
    JErr err;
    bool made = false;
    JEnc() {
        std::memset(&ci, 0, sizeof ci);
        std::memset(&err, 0, sizeof err);
    }
    ~JEnc() {
        if (made) jpeg_destroy_compress(&ci);
    }
};

int JWrite(JEnc* d, std::FILE* f, const ImgRec& img, const JpgWrOpt& o, uint8_t* grey) {
    d->ci.err = jpeg_std_error(&d->err.pub);
    d->err.pub.error_exit = JErrExit;
    d->err.pub.output_message = JOutput;
    if (setjmp(d->err.jb)) return -1;
    d->made = true;
    jpeg_create_compress(&d->ci);
    jpeg_stdio_dest(&d->ci, f);
    d->ci.image_width = static_cast<JDIMENSION>(img.w);
    d->ci.image_height = static_cast<JDIMENSION>(img.h);
    d->ci.input_components = o.grey ? 1 : 4;
    d->ci.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_EXT_RGBX;
    jpeg_set_defaults(&d->ci);
    jpeg_set_quality(&d->ci, o.quality, TRUE);
    // At the highest qualities colour is not subsampled either.
    if (o.quality >= 90 && !o.grey)
        for (int i = 0; i < d->ci.num_components; ++i)
            d->ci.comp_info[i].h_samp_factor = d->ci.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&d->ci, TRUE);
    while (d->ci.next_scanline < d->ci.image_height) {
        uint8_t* src = img.pix + img.stride * d->ci.next_scanline;
        JSAMPROW rp = src;
        if (o.grey) {
            for (int x = 0; x < img.w; ++x) grey[x] = src[4 * x];
            rp = grey;
        }
        jpeg_write_scanlines(&d->ci, &rp, 1);
    }
    jpeg_finish_compress(&d->ci);
    return 0;
}

}  // namespace

int RdJpg(std::FILE* f, ImgRec* out, ImgErrRec* e) {
    JDec d;
    if (JHead(&d, f) != 0) {
        JErrTo(d, e);
        return -1;
    }
    const int nc = d.ci.num_components;
    if (nc != 1 && nc != 3 && nc != 4) {
        SetImgErr(e, ImgErrFmt, "JPEG: %d 色成分の画像は読み込めません。", nc);
        return -1;
    }
    if (d.ci.jpeg_color_space == JCS_UNKNOWN) {
        SetImgErr(e, ImgErrFmt, "JPEG: 色空間が不明です。");
        return -1;
    }
    if (!AlcImgPix(static_cast<int>(std::min<JDIMENSION>(d.ci.image_width, 0x7fffffff)),
                   static_cast<int>(std::min<JDIMENSION>(d.ci.image_height, 0x7fffffff)), out, e))
        return -1;
    if (JPix(&d, out) != 0) {
        JErrTo(d, e);
        return -1;
    }
    return 0;
}

int WrJpg(const char* path, const ImgRec& img, const JpgWrOpt& o) {
    if (!img.pix || img.w <= 0 || img.h <= 0 || img.w > 65500 || img.h > 65500) return -1;
    FileCloser fc{std::fopen(path, "wb")};
    if (!fc.f) return -1;
    uint8_t* grey = static_cast<uint8_t*>(AlcMem(img.w, "WrJpg:grey"));
    int r;
    {
        JEnc d;
        r = JWrite(&d, fc.f, img, o, grey);
    }
    FreeMem(grey);
    if (std::fclose(fc.f) != 0) r = -1;
    fc.f = nullptr;
    return r;
}
