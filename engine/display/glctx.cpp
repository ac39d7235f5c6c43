#include "display/glctx.h"
#include <GL/gl.h>
#include "core/cmd.h"
#include "core/msg.h"
#include "display/drw.h"
#include "display/lgt.h"
#include "display/view.h"
#include "scene/scene.h"
#include "display/dsp_cmd.h"

GLWinRec GLWin[GLWinMax];
int CurGLWin = -1;
uint8_t PalTbl[256][4];

namespace {
constexpr int FontBase = 1000;

void ErrBox(const char* text) { plt::Get()->MsgBox(text, "Error", plt::BtnOk, plt::IconError); }
}  // namespace

void MkPal(bool needPal) {
    static const uint8_t r3[8] = {0, 63, 104, 139, 171, 200, 229, 255};
    static const uint8_t r2[4] = {0, 116, 191, 255};
    for (int i = 0; i < 256; ++i) {
        PalTbl[i][0] = r3[i & 7];
        PalTbl[i][1] = r3[(i >> 3) & 7];
        PalTbl[i][2] = r2[(i >> 6) & 3];
        PalTbl[i][3] = (needPal && i != 0 && i != 255) ? 4 : 0;  // 4: no-collapse
    }
}

int ChkDspCol() {
    if (plt::Get()->DisplayDepth() < 9) {
        ErrBox(MsgTx("ディスプレイのカラーパレットをTrue Colorに設定して再起動してください",
                     "Set <True Color> mode."));
        return -1;
    }
    return 0;
}

bool CreGLCtx(int w) {
    if (w < 0 || w >= GLWinMax) return false;
    // The palette only matters on an 8-bit display; build it anyway so the index values hold.
    MkPal(plt::Get()->DisplayDepth() <= 8);
    GLWinRec& g = GLWin[w];
    g.ctx = plt::Get()->GLCreate(w) ? 1 : 0;
    if (!g.ctx && !g.failMsg) {
        g.failMsg = 1;
        ErrBox("ChoosePixelFormat failed");
    }
    if (g.ctx) g.failMsg = 0;
    if (CurGLWin == w) CurGLWin = -1;
    return g.ctx != 0;
}

int SetCurWin(int w) {
    plt::Platform* p = plt::Get();
    if (w < 0) {
        if (CurGLWin >= 0) p->GLMakeCurrent(-1);
        CurGLWin = -1;
        return 0;
    }
    if (w >= GLWinMax) return 0;
    GLWinRec& g = GLWin[w];
    if (!g.ctx) {
        if (CurGLWin >= 0) p->GLMakeCurrent(-1);
        CurGLWin = -1;
        return 0;
    }
    if (CurGLWin == w) return 1;
    if (p->GLMakeCurrent(w)) {
        CurGLWin = w;
        return 1;
    }
    // The context is gone (display-mode change, driver reset): make it anew and set it up again.
    CurGLWin = -1;
    if (!CreGLCtx(w) || !p->GLMakeCurrent(w)) {
        g.ctx = 0;
        return 0;
    }
    g.needSetup = 1;
    if (w < DrwWinMax) p->GLDrawBuffer(w, DrwBufSel[w] == DRW_BACK ? plt::BufBack : plt::BufFront);
    CurGLWin = w;
    return 1;
}

void SetupGLWin(int w) {
    if (w < 0 || w >= DrwWinMax || !SetCurWin(w)) return;
    PushActWin(w);
    if (w == 0) IntrCmd(CatDsp, CmdDspResize);
    SetCurWin(w);
    glClearColor(static_cast<float>(BgCol[0] / 255.0), static_cast<float>(BgCol[1] / 255.0),
                 static_cast<float>(BgCol[2] / 255.0), 1.0f);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthFunc(GL_LEQUAL);
    glDepthRange(0.0, 1.0);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    SetDrwBuf(w, 0);
    glEnable(GL_LINE_STIPPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int m = 0; m < NumMtl; ++m) MkMtlGL(m);
    SetGLView(w);
    SetLgtGL();
    PopActWin();
    SetCurWin(w);
    plt::Get()->GLFontLists(w, 0, 128, FontBase);
    GLWin[w].needSetup = 0;
}

void SwpBuf() {
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinOpn[w]) continue;
        if (SetCurWin(w)) plt::Get()->GLSwap(w);
    }
}

void RelGLCtx(int w) {
    if (w < 0 || w >= GLWinMax) return;
    if (CurGLWin == w) {
        plt::Get()->GLMakeCurrent(-1);
        CurGLWin = -1;
    }
    if (GLWin[w].ctx) plt::Get()->GLRelease(w);
    GLWin[w] = GLWinRec{};
}

bool OpnGLWin(int w) {
    if (w < 0 || w >= DrwWinMax) return false;
    bool ok = CreGLCtx(w);
    GLWin[w].needSetup = 1;
    SetCurWin(-1);
    WinOpn[w] = 1;
    WinAct[w] = 1;
    DrwBufSel[w] = DRW_FRONT;
    SetUpdRctFull(w);
    return ok;
}

void ClsGLWin(int w) {
    if (w < 0 || w >= DrwWinMax) return;
    RelGLCtx(w);
    WinOpn[w] = 0;
    WinAct[w] = 0;
}

int ImgRowBytes(int w) { return (3 * w + 3) & ~3; }

void MkImgHdr(plt::ImgHdr* hdr, int w, int h) {
    if (!hdr) return;
    *hdr = plt::ImgHdr{};
    hdr->size = 40;
    hdr->width = w;
    hdr->height = h;
    hdr->planes = 1;
    hdr->bitCount = 24;
    hdr->compression = 0;
    hdr->sizeImage = (w > 0 && h > 0) ? static_cast<uint32_t>(ImgRowBytes(w)) * h : 0;
}

void BltImg(int dst, int x, int y, const plt::ImgHdr* hdr, const uint8_t* bits) {
    if (!hdr || !bits || hdr->width <= 0 || hdr->height <= 0) return;
    plt::Get()->BltImg(dst, x, y, *hdr, bits);
}
