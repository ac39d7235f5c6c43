// Display switches, colour table, active windows, update rectangles and the drawing services.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstring>
#include "core/alc.h"
#include "core/cmd.h"
#include "display/drw.h"
#include "display/glctx.h"
#include "display/view.h"
#include "terrain/trn.h"
#include "display/dsp_cmd.h"

uint32_t SrfDsp[DrwWinMax] = {SrfDspOn, SrfDspOn, SrfDspOn, SrfDspOn};
uint32_t& DspFlg = SrfDsp[0];
uint8_t CrvDsp[DrwWinMax] = {1, 1, 1, 1};
uint8_t WinDsp[DrwWinMax] = {0x1f, 0x1f, 0x1f, 0x1f};
uint8_t AxisOn = 1;
uint8_t GridOn = 1;
uint8_t DepthOn = 1;
uint8_t TwoSide = 0;
uint8_t CullOn = 0;
double BgCol[3] = {0, 74, 74};
double WireMin = 0.2;
uint8_t NoFlush = 0;
uint8_t DrwArrOn = 1;
uint8_t DrwLodOn = 1;
int DspIntVal = 0;
int GrdStp = 100, GrdMaj = 500;
uint8_t RelDsp = 0;
uint8_t ErrDsp = 0;
double VertExag = 1.0;

uint8_t ColTbl[ColTblNum][3] = {
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
    {0, 255, 255},   {255, 0, 211},   {255, 255, 0},   {255, 138, 0},   {159, 211, 0},
    {0, 255, 159},   {0, 138, 255},   {148, 0, 211},   {255, 0, 148},   {105, 105, 105},
    {174, 174, 174}, {210, 210, 210}, {60, 60, 60},    {112, 119, 163}, {106, 160, 121},
    {255, 102, 102}, {102, 153, 153}, {174, 174, 174}, {160, 160, 160}, {120, 120, 120},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {105, 105, 105}, {255, 255, 255},
    {200, 200, 200}, {0, 20, 90},     {230, 230, 230}, {0, 200, 100},   {0, 0, 0},
    {230, 190, 0},
};

uint8_t WinAct[DrwWinMax];
UpdRctRec UpdRct[DrwWinMax];
int DrwBufSel[DrwWinMax] = {DRW_FRONT, DRW_FRONT, DRW_FRONT, DRW_FRONT};

namespace {
constexpr int ActStkMax = 10;
uint8_t ActStk[ActStkMax][DrwWinMax];
int ActStkN = 0;

// Makes w current when it is open and usable.
bool Use(int w) { return WinOpn[w] && SetCurWin(w); }

// Window-pixel drawing: ortho projection over the window, identity modelview; overlays are
// never hidden by depth.
void BgnPix(int w) {
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, DrwWinW(w) - 1, 0, DrwWinH(w) - 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}
void EndPix() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Feedback is flat colour whatever the last surface left switched on.
void Flat() {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

void MulMtx(const double* m) {
    float f[16];
    for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
    glMatrixMode(GL_MODELVIEW);
    glMultMatrixf(f);
}
}  // namespace

// ---- switches ----

void IniDrwSw() {
    for (int w = 0; w < DrwWinMax; ++w) {
        SrfDsp[w] = SrfDspOn;
        CrvDsp[w] = 1;
        WinDsp[w] = 0x1f;
    }
    AxisOn = 1;
    GridOn = 1;
    DepthOn = 1;
    TwoSide = 0;
    CullOn = 0;
    WireMin = 0.2;
    NoFlush = 0;
    DrwArrOn = 1;
    DrwLodOn = 1;
    RelDsp = 0;
    ErrDsp = 0;
    DspIntVal = 0;
}

void SetShdDsp() {
    DspFlg |= SrfDspShd;
    SlpDsp = 0;
    RelDsp = 0;
    ErrDsp = 0;
    IntrCmd(CatDsp, CmdRdrwAll);
}

void SetWireDsp() {
    DspFlg &= ~SrfDspShd;
    SlpDsp = 0;
    RelDsp = 0;
    ErrDsp = 0;
    IntrCmd(CatDsp, CmdRdrwAll);
}

void SetRelDsp(int on) {
    RelDsp = on ? 1 : 0;
    if (on) SlpDsp = ErrDsp = 0;
    IntrCmd(CatDsp, CmdRdrwAll);
}

void SetErrDsp(int on) {
    ErrDsp = on ? 1 : 0;
    if (on) SlpDsp = RelDsp = 0;
    IntrCmd(CatDsp, CmdRdrwAll);
}

bool SetVertExag(double f) {
    if (!(f >= VertExagMin && f <= VertExagMax)) return false;
    VertExag = f;
    SetView(0);
    IntrCmd(CatDsp, CmdRdrwAll);
    return true;
}

int CurDspMode() {
    if (SlpDsp) return DspSlope;
    if (ErrDsp) return DspError;
    if (RelDsp) return DspRelief;
    return (DspFlg & SrfDspShd) ? DspShade : DspWire;
}

const char* DspModeName(int mode) {
    switch (static_cast<DspMode>(mode)) {
    case DspWire: return "wire";
    case DspShade: return "shade";
    case DspSlope: return "slope";
    case DspRelief: return "relief";
    case DspError: return "error";
    }
    return "wire";
}

void SetAxisDsp(int on) {
    AxisOn = on ? 1 : 0;
    IntrCmd(CatDsp, CmdRdrwAll);
}

// ---- colours ----

void ColRgb(uint32_t code, uint8_t rgb[3]) {
    if (code & ColRGB) {
        rgb[0] = code & 0xff;
        rgb[1] = (code >> 8) & 0xff;
        rgb[2] = (code >> 16) & 0xff;
        return;
    }
    // An unknown index draws black rather than reading past the table.
    const uint8_t* c = code < static_cast<uint32_t>(ColTblNum) ? ColTbl[code] : ColTbl[0];
    rgb[0] = c[0];
    rgb[1] = c[1];
    rgb[2] = c[2];
}

int ColIdx(const uint8_t rgb[3]) { return (rgb[0] >> 5) | ((rgb[1] >> 2) & 0x38) | (rgb[2] & 0xc0); }

void SetCol(uint32_t code) {
    uint8_t c[3];
    ColRgb(code, c);
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        glColor3ubv(c);
        glIndexi(ColIdx(c));
    }
}

void SetColRGB(float r, float g, float b) {
    auto byte = [](float v) {
        v = v < 0 ? 0 : (v > 1 ? 1 : v);
        return static_cast<uint32_t>(v * 255.0f + 0.5f);
    };
    SetCol(ColRGB | byte(r) | byte(g) << 8 | byte(b) << 16);
}

// ---- windows ----

int DrwWinW(int w) {
    int v = (w >= 0 && w < ViewWinMax) ? ViewWin[w].W : 0;
    if (v < 2) v = WinSizW;
    return v < 2 ? 2 : v;
}

int DrwWinH(int w) {
    int v = (w >= 0 && w < ViewWinMax) ? ViewWin[w].H : 0;
    if (v < 2) v = WinSizH;
    return v < 2 ? 2 : v;
}

void PushActWin(int w) {
    // A stack that is full keeps its bottom entries; the set still changes as asked.
    if (ActStkN < ActStkMax) std::memcpy(ActStk[ActStkN++], WinAct, sizeof WinAct);
    if (w >= 0) {
        std::memset(WinAct, 0, sizeof WinAct);
        if (w < DrwWinMax) WinAct[w] = 1;
    } else if (w == -1) {
        std::memset(WinAct, 0, sizeof WinAct);
    }
}

void PopActWin() {
    if (ActStkN > 0) std::memcpy(WinAct, ActStk[--ActStkN], sizeof WinAct);
}

void IniDrwWin() {
    for (int w = 0; w < DrwWinMax; ++w) {
        WinAct[w] = WinOpn[w];
        DrwBufSel[w] = DRW_FRONT;
        SetUpdRctFull(w);
    }
    ActStkN = 0;
}

void SetUpdRct(int w, int x0, int x1, int y0, int y1) {
    if (w < 0 || w >= DrwWinMax) return;
    int W = DrwWinW(w), H = DrwWinH(w);
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    x0 -= 2; y0 -= 2; x1 += 2; y1 += 2;
    UpdRctRec& r = UpdRct[w];
    r.empty = 0;
    if (x1 < 0 || y1 < 0 || x0 > W - 1 || y0 > H - 1) {
        x0 = x1 = y0 = y1 = 0;
        r.empty = 1;
    } else {
        if (x0 < 0) x0 = 0;
        if (y0 < 0) y0 = 0;
        if (x1 > W - 1) x1 = W - 1;
        if (y1 > H - 1) y1 = H - 1;
    }
    r.x0 = x0; r.x1 = x1; r.y0 = y0; r.y1 = y1;
    r.z0 = 0;
    r.z1 = static_cast<int>(ZRes - 1);
    r.dx0 = x0; r.dx1 = x1; r.dy0 = y0; r.dy1 = y1;
    r.dz0 = 0;
    r.dz1 = ZRes - 1;
    if (!WinOpn[w] || !SetCurWin(w)) return;
    if (r.empty)
        glScissor(0, 0, 0, 0);
    else
        glScissor(x0, H - y1 - 1, x1 - x0 + 1, y1 - y0 + 1);
    glEnable(GL_SCISSOR_TEST);
}

void SetUpdRctFull(int w) { SetUpdRct(w, 0, DrwWinW(w) - 1, 0, DrwWinH(w) - 1); }

// ---- buffers ----

void SetDrwBuf(int w, int back) {
    if (w < 0 || w >= DrwWinMax) return;
    DrwBufSel[w] = back ? DRW_BACK : DRW_FRONT;
    if (!WinOpn[w]) return;
    // The start of a drawing sequence: ask the platform again, a toolkit may have switched.
    CurGLWin = -1;
    if (!SetCurWin(w)) return;
    plt::Get()->GLDrawBuffer(w, back ? plt::BufBack : plt::BufFront);
}

void SetDrwBuf(int buf) {
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinOpn[w]) SetDrwBuf(w, buf == DRW_BACK ? 1 : 0);
}

// ---- services ----

bool DrwWinOpen() {
    for (int w = 0; w < DrwWinMax; ++w)
        if (WinOpn[w] && GLWin[w].ctx) return true;
    return false;
}

void DrwLin(const double a[3], const double b[3]) {
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        Flat();
        glBegin(GL_LINES);
        glVertex3dv(a);
        glVertex3dv(b);
        glEnd();
    }
}

void DrwLin(const float a[3], const float b[3], const double* mtx) {
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        Flat();
        if (mtx) {
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            MulMtx(mtx);
        }
        glBegin(GL_LINES);
        glVertex3fv(a);
        glVertex3fv(b);
        glEnd();
        if (mtx) glPopMatrix();
    }
}

void DrwPlyLin(const double* pts, int n) {
    if (!pts || n < 2) return;
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !(WinDsp[w] & 1) || !Use(w)) continue;
        Flat();
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < n; ++i) glVertex3dv(pts + 3 * i);
        glEnd();
    }
}

void DrwPlyLin(int n, const float* pts, const double* mtx) {
    if (!pts || n < 2) return;
    float* mf = nullptr;
    if (mtx) {
        mf = static_cast<float*>(AlcMem(16 * sizeof(float), "DrwPlyLin:mtx_flt"));
        for (int i = 0; i < 16; ++i) mf[i] = static_cast<float>(mtx[i]);
    }
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !(WinDsp[w] & 1) || !Use(w)) continue;
        Flat();
        if (mf) {
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glMultMatrixf(mf);
        }
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < n; ++i) glVertex3fv(pts + 3 * i);
        glEnd();
        if (mf) glPopMatrix();
    }
    FreeMem(mf);
}

namespace {
struct {
    int kind = RubNone;
    double a[2] = {0, 0}, b[2] = {0, 0};
} Rub;
}  // namespace

void SetRubBand(int kind, const double a[2], const double b[2]) {
    Rub.kind = kind == RubLine || kind == RubBox ? kind : RubNone;
    Rub.a[0] = a[0], Rub.a[1] = a[1];
    Rub.b[0] = b[0], Rub.b[1] = b[1];
}

void ClrRubBand() { Rub.kind = RubNone; }

int RubBandKind() { return Rub.kind; }

// In the colour of the modes' feedback (yellow), over everything.
void DrwRubBand(int w) {
    if (Rub.kind == RubNone || !Use(w)) return;
    SetGLView(w);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    Flat();
    glColor3f(1, 1, 0);
    if (Rub.kind == RubLine) {
        glBegin(GL_LINES);
        glVertex3d(Rub.a[0], Rub.a[1], 0);
        glVertex3d(Rub.b[0], Rub.b[1], 0);
    } else {
        glBegin(GL_LINE_LOOP);
        glVertex3d(Rub.a[0], Rub.a[1], 0);
        glVertex3d(Rub.b[0], Rub.a[1], 0);
        glVertex3d(Rub.b[0], Rub.b[1], 0);
        glVertex3d(Rub.a[0], Rub.b[1], 0);
    }
    glEnd();
    glPopAttrib();
}

void DrwBox(const double lo[3], const double hi[3]) {
    double z = lo[2];
    double p[5][3] = {{lo[0], lo[1], z}, {hi[0], lo[1], z}, {hi[0], hi[1], z}, {lo[0], hi[1], z},
                      {lo[0], lo[1], z}};
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        Flat();
        glBegin(GL_LINE_STRIP);
        for (auto& q : p) glVertex3dv(q);
        glEnd();
    }
}

void DrwBox(int x, int y, int bw, int bh) {
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        int H = DrwWinH(w);
        Flat();
        BgnPix(w);
        if (bw == 0 || bh == 0) {
            glBegin(GL_LINES);
            glVertex2i(x, H - y);
            glVertex2i(x + bw, H - (y + bh));
            glEnd();
        } else {
            glBegin(GL_LINE_LOOP);
            glVertex2i(x, H - y);
            glVertex2i(x + bw, H - y);
            glVertex2i(x + bw, H - (y + bh));
            glVertex2i(x, H - (y + bh));
            glEnd();
        }
        EndPix();
    }
}

void DrwTxt(int x, int y, const char* text) {
    if (!text || !*text) return;
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !Use(w)) continue;
        int H = DrwWinH(w);
        Flat();
        BgnPix(w);
        glRasterPos2i(x, H - y);
        glListBase(1000);
        glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
        EndPix();
    }
}

void DrwTxt(const double p[3], const char* text) {
    double q[3];
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !WinOpn[w]) continue;
        MdlToWin(p, w, q);
        PushActWin(w);
        DrwTxt(static_cast<int>(q[0]), static_cast<int>(q[1]), text);
        PopActWin();
    }
}

void DrwMrk(const double p[3], int sizePix) {
    double q[3];
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinAct[w] || !WinOpn[w]) continue;
        MdlToWin(p, w, q);
        int x = static_cast<int>(q[0] + 0.5), y = static_cast<int>(q[1] + 0.5);
        PushActWin(w);
        DrwBox(x - sizePix, y, 2 * sizePix, 0);
        DrwBox(x, y - sizePix, 0, 2 * sizePix);
        PopActWin();
    }
}

void FlushDrw() {
    if (NoFlush) return;
    for (int w = 0; w < DrwWinMax; ++w) {
        if (!WinOpn[w] || !SetCurWin(w)) continue;
        glFlush();
        if (DrwBufSel[w] == DRW_FRONT) plt::Get()->GLFlushFront(w);
    }
}
