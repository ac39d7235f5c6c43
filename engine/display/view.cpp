// View model: the derived window state, the model/window mapping, the terrain application's
// 2D and 3D cameras and the view-volume commands.
#include "display/view.h"
#include <cmath>
#include <cstring>
#include "core/cmd.h"
#include "core/msg.h"
#include "display/drw.h"
#include "display/lgt.h"
#include "display/viewint.h"
#include "core/viewmath.h"
#include "scene/scene.h"
#include "display/dsp_cmd.h"

ViewWinRec ViewWin[ViewWinMax];
int WinSizW = 256, WinSizH = 256;
double PixAsp[2] = {1, 1};
const double ZRes = 2147483647.0;
uint8_t ViewDim = 0;
double Wnd2D[4] = {0, 0, 0, 0};
double DspVal = 0;
double WlkHgt = 1600.0;

void NtfCam(long code) { Notify(ID_UPDT_CAM_PROP, code); }

double PixAspK() {
    double h = PixAsp[0], v = PixAsp[1];
    return h * v >= 0.001 ? h / v : 1.0;
}

CamView* CurView() { return CurCamObj ? &CurCamObj->view : &ViewWin[0].v; }

void CamAxes(const CamView& v, double r[3][3]) {
    double m[4][4];
    AngRot(v.RotAng, m);
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) r[i][j] = m[i][j];
}

namespace {
bool NoBox(const BBox& b) {
    return !(b.min[0] <= b.max[0] && b.min[1] <= b.max[1] && b.min[2] <= b.max[2]);
}

// Near and far planes around the scene box, seen through a (model to eye-distance) transform.
void AutoClip(ViewWinRec& vw, const Mat4 a) {
    const BBox& b = SceneBox;
    if (NoBox(b)) return;  // nothing to fit the planes to: keep the camera's own
    double zmin = 1e15, zmax = -1e15;
    for (int i = 0; i < 8; i++) {
        double p[3] = {(i & 1) ? b.max[0] : b.min[0], (i & 2) ? b.max[1] : b.min[1],
                       (i & 4) ? b.max[2] : b.min[2]};
        double q[3];
        PntMul(p, a, q);
        if (q[2] < zmin) zmin = q[2];
        if (q[2] > zmax) zmax = q[2];
    }
    // A flat scene would sit exactly on the near plane and flicker in and out of the clip:
    // give the near side at least the 10 units the far side gets.
    double nr = zmin - std::fmax((zmax - zmin) * 0.2, 10.0);
    if (nr <= 10.0) nr = 10.0;
    double fr = zmax <= zmin + 10 ? zmin + 10 : zmax + (zmax - zmin) * 0.2;
    vw.v.ClpNear = nr;
    vw.v.ClpFar = fr;
    if (CurCamObj) {
        CamView& c = CurCamObj->view;
        c.ClpNear = nr < 1.0 ? 1.0 : nr;
        c.ClpFar = fr < c.ClpNear ? c.ClpNear + 100 : fr;
        NtfCam(0x270000);
        NtfCam(0x270000);
    }
}
}  // namespace

void SetView(int w) {
    if (w < 0 || w >= ViewWinMax) return;
    ViewWinRec& vw = ViewWin[w];
    if (CurCamObj) vw.v = CurCamObj->view;
    if (vw.W < 2) vw.W = 2;
    if (vw.H < 2) vw.H = 2;
    vw.cx = vw.W / 2.0;
    vw.cy = vw.H / 2.0;
    const CamView& v = vw.v;

    double r[4][4], flip[4][4];
    AngRot(v.RotAng, r);
    MatS(1, 1, -1, flip);
    MatMul(flip, r, vw.RotV);
    MatTrn(vw.RotV, vw.RotVT);

    double a[4][4], t[4][4];
    MatT(-v.RotCnt[0], -v.RotCnt[1], -v.RotCnt[2], a);
    // The 3D view stretches heights about the rotation centre by the exaggeration, so the
    // mapping both ways, the clipping and GL see the same stretched scene.
    vw.exag = ViewDim == 1 && VertExag > 1 ? VertExag : 1.0;
    double e[4][4];
    MatS(1, 1, vw.exag, e);
    if (vw.exag != 1.0) MatMul(a, e, a);
    MatMul(a, vw.RotVT, a);
    MatT(0, 0, v.EyeDst, t);
    MatMul(a, t, a);

    for (int i = 0; i < 3; i++) {
        vw.EyeDir[i] = static_cast<float>(-vw.RotV[2][i]);
        vw.Eye[i] = v.RotCnt[i] + v.EyeDst * -vw.RotV[2][i];
        vw.EyeF[i] = static_cast<float>(vw.Eye[i]);
    }

    if (v.AutoClp == 1) AutoClip(vw, a);

    // A zero or negative width would make the scale infinite; treat it as the smallest zoom.
    double sw = v.ScrWid > 1e-9 ? v.ScrWid : 1e-9;
    double k = vw.W / sw;
    vw.PixK = k;
    double s[4][4];
    MatS(k, k, k, s);
    MatMul(a, s, vw.MdlToDev);
    vw.ScrDstK = v.ScrDst * k;
    vw.NearK = v.ClpNear * k;
    vw.FarK = v.ClpFar * k;
    if (v.PrjFlg == PrjPrs) {
        double nk = vw.NearK > 1e-9 ? vw.NearK : 1e-9;
        double fk = vw.FarK > 1e-9 ? vw.FarK : 1e-9;
        double den = 1 / nk - 1 / fk;
        vw.DepthScl = den != 0 ? (ZRes - 1) / den : 1.0;
        vw.DepthOfs = 1 / fk;
    } else {
        double den = (v.ClpFar - v.ClpNear) * k;
        vw.DepthScl = den != 0 ? (ZRes - 1) / den : 1.0;
        vw.DepthOfs = vw.FarK;
    }

    // In the 2D view the grid's window is the part of the plan on show, so that the grid
    // covers the picture at a step suited to the zoom wherever the view has been moved.
    if (w == 0 && ViewDim == 0) {
        double hw = v.ScrWid / 2, hh = hw * vw.H / vw.W;
        double cx = v.RotCnt[0] + v.ScrShf[0] * vw.RotV[0][0] + v.ScrShf[1] * vw.RotV[1][0];
        double cy = v.RotCnt[1] + v.ScrShf[0] * vw.RotV[0][1] + v.ScrShf[1] * vw.RotV[1][1];
        Wnd2D[0] = cx - hw; Wnd2D[1] = cy - hh;
        Wnd2D[2] = cx + hw; Wnd2D[3] = cy + hh;
    }

    double d[4][4];
    MatS(1 / k, 1 / k, 1 / k, d);
    MatT(0, 0, -v.EyeDst, t);
    MatMul(d, t, d);
    MatMul(d, vw.RotV, d);
    if (vw.exag != 1.0) {
        MatS(1, 1, 1 / vw.exag, e);
        MatMul(d, e, d);
    }
    MatT(v.RotCnt[0], v.RotCnt[1], v.RotCnt[2], t);
    MatMul(d, t, vw.DevToMdl);
}

void MdlToWin(const double p[3], int w, double out[3]) {
    if (w < 0 || w >= ViewWinMax) w = 0;
    const ViewWinRec& vw = ViewWin[w];
    double q[3];
    PntMul(p, vw.MdlToDev, q);
    double depth;
    if (vw.v.PrjFlg == PrjPrs) {
        double z = q[2] < 0.001 ? 0.001 : q[2];
        double f = vw.ScrDstK / z;
        q[0] *= f;
        q[1] *= f;
        depth = (1 / z - vw.DepthOfs) * vw.DepthScl;
    } else {
        depth = (vw.DepthOfs - q[2]) * vw.DepthScl;
    }
    double k = vw.PixK;
    out[0] = (q[0] - vw.v.ScrShf[0] * k) * PixAspK() + vw.cx;
    out[1] = vw.v.ScrShf[1] * k + (vw.cy - q[1]);
    out[2] = depth;
}

void WinToMdl(const double in[3], int w, double p[3]) {
    if (w < 0 || w >= ViewWinMax) w = 0;
    const ViewWinRec& vw = ViewWin[w];
    double k = vw.PixK;
    double u = vw.v.ScrShf[0] * k + (in[0] - vw.cx) / PixAspK();
    // The inverse of MdlToWin's y: the shift enters with the same sign there.
    double v = (vw.cy - in[1]) + vw.v.ScrShf[1] * k;
    double z;
    if (vw.v.PrjFlg == PrjPrs) {
        double den = in[2] / vw.DepthScl + vw.DepthOfs;
        z = den != 0 ? 1 / den : 0;
        double f = vw.ScrDstK != 0 ? z / vw.ScrDstK : 0;
        u *= f;
        v *= f;
    } else {
        z = vw.DepthOfs - in[2] / vw.DepthScl;
    }
    double q[3] = {u, v, z};
    PntMul(q, vw.DevToMdl, p);
}

void MdlToWinF(const float p[3], int w, float out[3]) {
    double a[3] = {p[0], p[1], p[2]}, b[3];
    MdlToWin(a, w, b);
    for (int i = 0; i < 3; i++) out[i] = static_cast<float>(b[i]);
}

void WinToMdlF(const float in[3], int w, float p[3]) {
    double a[3] = {in[0], in[1], in[2]}, b[3];
    WinToMdl(a, w, b);
    for (int i = 0; i < 3; i++) p[i] = static_cast<float>(b[i]);
}

void UpdEyePos(cam* c) {
    CamView& v = c ? c->view : ViewWin[0].v;
    double r[3][3];
    CamAxes(v, r);
    for (int i = 0; i < 3; i++) {
        if (v.RotEye == 1)
            v.RotCnt[i] = v.EyePos[i] - v.EyeDst * r[2][i];
        else
            v.EyePos[i] = v.RotCnt[i] + v.EyeDst * r[2][i];
    }
}

int ChkUpAxis(cam* c, const double oldR[3], const double oldU[3]) {
    CamView& v = c ? c->view : ViewWin[0].v;
    if (v.UpAxis < 1 || v.UpAxis > 3) return 1;
    int i = v.UpAxis - 1;
    double m[3][3];
    CamAxes(v, m);
    double r[3] = {m[0][0], m[0][1], m[0][2]}, u[3] = {m[1][0], m[1][1], m[1][2]}, b[3];
    Cross(r, u, b);
    r[i] = 1e-6;
    Cross(b, r, u);
    if (u[i] < 1e-6) u[i] = 1e-6;
    Norm(r);
    Norm(u);
    Cross(r, u, b);
    Cross(b, r, u);
    VecAng(r, u, v.RotAng);
    CamAxes(v, m);
    if (m[1][i] < 1e-6) {
        VecAng(oldR, oldU, v.RotAng);
        return 0;
    }
    return 1;
}

void SetCamDef(cam* c) {
    CamView& v = c ? c->view : ViewWin[0].v;
    for (int i = 0; i < 3; i++) { v.RotCnt[i] = 0; v.RotAng[i] = 0; }
    v.ScrShf[0] = v.ScrShf[1] = 0;
    v.EyeDst = 50.0;
    v.ScrDst = 50.0;
    v.ScrWid = 35.0;
    v.ClpNear = 100.0;
    v.ClpFar = 15000.0;
    v.RndVal[0] = 0; v.RndVal[1] = 5000.0; v.RndVal[2] = 1000.0;
    v.Lens = 4.0f;
    v.RndInt = 30;
    v.UpAxis = UpZ;
    v.PrjFlg = PrjPrs;
    v.AutoClp = 1;
    v.RotEye = 0;
    v.FovFix = 1;
    UpdEyePos(c);
    v.ViewAng = static_cast<float>(2 * std::atan(v.ScrWid * 0.5 / v.ScrDst));
    ViewWin[0].v = v;
}

void SetWnd2D(double w) {
    const ViewWinRec& vw = ViewWin[0];
    double hw = w / 2, hh = w / 2 * vw.H / vw.W;
    Wnd2D[0] = -hw; Wnd2D[1] = -hh;
    Wnd2D[2] = hw;  Wnd2D[3] = hh;
}

void Wnd2DWid(double w) {
    double cx = (Wnd2D[0] + Wnd2D[2]) / 2, cy = (Wnd2D[1] + Wnd2D[3]) / 2;
    double ow = Wnd2D[2] - Wnd2D[0], oh = Wnd2D[3] - Wnd2D[1];
    double hh = ow > 0 ? oh * w / ow / 2 : w / 2 * ViewWin[0].H / ViewWin[0].W;
    Wnd2D[0] = cx - w / 2; Wnd2D[2] = cx + w / 2;
    Wnd2D[1] = cy - hh;    Wnd2D[3] = cy + hh;
}

void SetTrnView() {
    CamView& v = *CurView();
    v.PrjFlg = PrjPar;
    for (int i = 0; i < 3; i++) { v.RotCnt[i] = 0; v.RotAng[i] = 0; }
    v.EyePos[0] = 0; v.EyePos[1] = 0; v.EyePos[2] = -1e7;
    v.EyeDst = v.ScrDst = v.ScrWid = 1e7;
    v.ClpNear = 100.0;
    v.ClpFar = 2e7;
    v.AutoClp = 0;
    SetView(0);
    SetWnd2D(v.ScrWid);
    if (!Cam2D) Cam2D = NewCam("2Dカメラ");
    if (!Cam3D) Cam3D = NewCam("3Dカメラ");
    if (Cam2D) Cam2D->view = v;
    if (Cam3D) {
        Cam3D->view = v;
        Cam3D->view.PrjFlg = PrjPar;
        Cam3D->view.UpAxis = UpZ;
        Cam3D->view.AutoClp = 1;
    }
    ViewDim = 0;
}

void CamAzEl(const CamView& v, double* az, double* el) {
    double r[3][3];
    CamAxes(v, r);
    double sz = std::fmax(-1.0, std::fmin(1.0, r[2][2])), cz = r[1][2];
    // The forward direction in the plan: from the up row when looking down, from the view
    // direction towards the horizon.
    double fx = r[1][0] * sz - r[2][0] * cz, fy = r[1][1] * sz - r[2][1] * cz;
    double a = (std::fabs(fx) < 1e-12 && std::fabs(fy) < 1e-12) ? 0.0
                                                                  : std::atan2(fx, fy) * 180 / M_PI;
    if (a < 0) a += 360;
    if (a >= 360) a -= 360;
    if (az) *az = a;
    if (el) *el = std::asin(sz) * 180 / M_PI;
}

void AzElAng(double az, double el, double ang[3]) {
    ang[0] = (90.0 - el) * M_PI / 180;
    ang[1] = 0;
    ang[2] = -az * M_PI / 180;
}

namespace {
// The 3D camera as this module last saw it stored, and the plan extents of the scene it was
// set for: a stored camera that changed behind our back came with a document and is kept,
// unless it is the straight top view of a new scene.
struct {
    bool have = false;
    CamView cam{};
    double box[4] = {0, 0, 0, 0};
} Seen3D;

bool SameCam(const CamView& a, const CamView& b) {
    for (int i = 0; i < 3; i++)
        if (a.RotCnt[i] != b.RotCnt[i] || a.RotAng[i] != b.RotAng[i]) return false;
    return a.ScrWid == b.ScrWid && a.EyeDst == b.EyeDst && a.ScrShf[0] == b.ScrShf[0] &&
           a.ScrShf[1] == b.ScrShf[1] && a.PrjFlg == b.PrjFlg;
}

bool TopView(const CamView& v) {
    return std::fabs(v.RotAng[0]) < 1e-9 && std::fabs(v.RotAng[1]) < 1e-9;
}

// Plan extents of the curves and the terrain; false when there are none.
bool ContentBox(double b[4]) {
    UdtScnBox();
    const BBox& s = SceneBox;
    if (NoBox(s)) return false;
    b[0] = s.min[0]; b[1] = s.min[1]; b[2] = s.max[0]; b[3] = s.max[1];
    return true;
}

bool SameBox(const double a[4], const double b[4]) {
    double e = std::fmax(std::fmax(a[2] - a[0], a[3] - a[1]), 1.0) * 1e-4;
    for (int i = 0; i < 4; i++)
        if (std::fabs(a[i] - b[i]) > e) return false;
    return true;
}
}  // namespace

void Chk3DFit() {
    if (ViewDim != 1 || !Cam3D) return;
    double box[4];
    if (!ContentBox(box)) return;
    bool replaced = !Seen3D.have || !SameCam(Cam3D->view, Seen3D.cam);
    bool fit = replaced ? TopView(*CurView()) : !SameBox(box, Seen3D.box);
    Seen3D.have = true;
    Seen3D.cam = Cam3D->view;
    for (int i = 0; i < 4; i++) Seen3D.box[i] = box[i];
    if (fit) Fit3DView();
}

void Forget3DFit() { Seen3D.have = false; }

int SwDim(int dim) {
    if (!Cam2D || !Cam3D) return 0;
    CamView& cur = *CurView();
    uint8_t curFlg = cur.CurCam;
    if (dim == 1 && ViewDim == 0) {
        Cam2D->view = cur;
        cur = Cam3D->view;
        cur.AutoClp = 1;
        ViewDim = 1;
    } else if (dim == 0 && ViewDim == 1) {
        Cam3D->view = cur;
        Seen3D.cam = cur;
        cur = Cam2D->view;
        cur.AutoClp = 0;
        ViewDim = 0;
    } else {
        return 0;
    }
    // The shown camera stays the current one whatever the stored copy says.
    cur.CurCam = curFlg;
    SetView(0);
    Chk3DFit();
    // Lights are placed relative to the eye: hand them over again for the camera now shown.
    SetGLView(0);
    SetLgtGL();
    return 1;
}

ViewSave SaveView() {
    ViewSave s{*CurView(), ViewWin[0], {Wnd2D[0], Wnd2D[1], Wnd2D[2], Wnd2D[3]}, WinSizW, WinSizH};
    return s;
}

void RstView(const ViewSave& s) {
    *CurView() = s.cam;
    ViewWin[0] = s.win;
    for (int i = 0; i < 4; ++i) Wnd2D[i] = s.wnd2D[i];
    WinSizW = s.sizW;
    WinSizH = s.sizH;
    SetView(0);
}

void IniView() {
    WinSizW = WinSizH = 256;
    Forget3DFit();
    cam tmp{};
    for (int w = 0; w < ViewWinMax; w++) {
        ViewWinRec& vw = ViewWin[w];
        vw = ViewWinRec{};
        vw.W = vw.H = 256;
        vw.cx = vw.cy = 128;
        SetCamDef(&tmp);
        vw.v = tmp.view;
    }
    cam* keep = CurCamObj;
    CurCamObj = nullptr;  // the start-up state is computed from the defaults alone
    for (int w = 0; w < ViewWinMax; w++) SetView(w);
    CurCamObj = keep;
    SetWnd2D(ViewWin[0].v.ScrWid);
}

// CmdDspResize: the shell has recorded a new window size.
void ResizeView() {
    ViewWinRec& vw = ViewWin[0];
    vw.W = WinSizW < 2 ? 2 : WinSizW;
    vw.H = WinSizH < 2 ? 2 : WinSizH;
    vw.cx = vw.W / 2.0;
    vw.cy = vw.H / 2.0;
    SetUpdRctFull(0);
    DstrCmd(CatDsp, CmdFitWnd2D);
    SetView(0);
}

// CmdFitWnd2D: the 2D window takes the window's aspect, about its own centre.
void FitWnd2D() {
    const ViewWinRec& vw = ViewWin[0];
    double w = Wnd2D[2] - Wnd2D[0];
    double h = w * vw.H / vw.W;
    double cy = (Wnd2D[1] + Wnd2D[3]) / 2;
    Wnd2D[1] = cy - h / 2;
    Wnd2D[3] = cy + h / 2;
}

// CmdPrjPar / CmdPrjPrs.
void SetPrj(int flg) {
    CamView& v = *CurView();
    v.PrjFlg = static_cast<uint8_t>(flg);
    NtfCam(0x170000);
    if (!CurCamObj || v.CurCam) SetView(0);
    IntrCmd(CatDsp, CmdRdrwAll);
}

double PixToMdl(double n) {
    const ViewWinRec& vw = ViewWin[0];
    return n * vw.v.ScrWid / vw.W;
}

void PtrToMdl(double x, double y, double out[3]) {
    double in[3] = {x, y, 0};
    WinToMdl(in, 0, out);
    out[2] = 0;
}

bool CrvInView(const crv* c) {
    if (!c) return false;
    const ViewWinRec& vw = ViewWin[0];
    double w = vw.v.ScrWid, h = w * vw.H / vw.W;
    double cx = vw.v.RotCnt[0], cy = vw.v.RotCnt[1];
    return c->box.min[0] <= cx + w / 2 && c->box.max[0] >= cx - w / 2 &&
           c->box.min[1] <= cy + h / 2 && c->box.max[1] >= cy - h / 2;
}
