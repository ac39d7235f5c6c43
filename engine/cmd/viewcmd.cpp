// View commands: shift, scale and rotate drags, the modifier drags, fit to view, the loupe,
// the bird's-eye view, the walk-through and the gaze, with their interactive modes.
#include <cmath>
#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "display/drw.h"
#include "display/lgt.h"
#include "cmd/viewcmd.h"
#include "display/viewint.h"
#include "core/viewmath.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "display/dsp_cmd.h"

namespace {
constexpr double ShfThr = 4.999;
constexpr double RotThr = 0.999 * M_PI / 180;
constexpr double RotSpd = 0.01;
constexpr double RotFac = 1.0;
constexpr double SclFac = 5.0;
constexpr double RotMax = M_PI / 5;
constexpr double WlkSpd = 0.25;
constexpr double TrnSpd = M_PI * 0.05;


uint8_t DragRun = 0;  // an IntrDsp drag is running and draws into the back buffer

void Caution(const char* text) {
    plt::Get()->Beep();
    DspWrnMsg(MsgOwnWrn, text);
}

// The camera shown may be used by the commands that move the current camera.
bool CamUsable() {
    if (CurCamObj && CurCamObj->view.CurCam) return true;
    Caution("このカメラでは使用できません。");
    return false;
}

void LastStep(int cat, int code) {
    RptCat = cat;
    RptCode = code;
}

// After a camera change: rebuild the window state, hand the matrices and lights to GL, draw the
// picture into the back buffer and show it.
void ShowStep() {
    SetView(0);
    SetGLView(0);
    SetLgtGL();
    DstrCmd(CatDsp, CmdDrwPic);
    plt::Get()->GLSwap(0);
}

void Reanchor() {
    for (int i = 0; i < 3; i++) PrsPos[i] = PtrPos[i];
}

bool PrtHasSrf(const prt* p) {
    if (!p) return false;
    for (int i = 0; i < p->srfs.n; i++)
        if (p->srfs.a[i] && p->srfs.a[i]->vis && p->srfs.a[i]->nv > 0) return true;
    for (int i = 0; i < p->prts.n; i++)
        if (PrtHasSrf(p->prts.a[i])) return true;
    for (int i = 0; i < p->lnks.n; i++)
        if (p->lnks.a[i])
            for (int j = 0; j < p->lnks.a[i]->prts.n; j++)
                if (PrtHasSrf(p->lnks.a[i]->prts.a[j])) return true;
    return false;
}

bool SceneHasSrf() {
    for (int i = 0; i < PrdTbl.n; i++)
        if (PrdTbl.a[i])
            for (int j = 0; j < PrdTbl.a[i]->prts.n; j++)
                if (PrtHasSrf(PrdTbl.a[i]->prts.a[j])) return true;
    for (int i = 0; i < StgTbl.n; i++)
        if (StgTbl.a[i])
            for (int j = 0; j < StgTbl.a[i]->prts.n; j++)
                if (PrtHasSrf(StgTbl.a[i]->prts.a[j])) return true;
    return false;
}

// Ends a scale drag that hit the nearest eye distance.
void EndDrag() {
    DragRun = 0;
    bool mod = ModDrag;
    BtnHeld = 0;  // the following moves of this press must not retry the refused zoom
    ModDrag = 0;
    IntrCmd(CatDsp, mod ? CmdModEnd : CmdDrgEnd);
}
}  // namespace

void MovCam(double a, double b, double c) {
    CamView& v = *CurView();
    float u = static_cast<float>(v.ScrWid / Win0W());
    double r[3][3];
    CamAxes(v, r);
    for (int i = 0; i < 3; i++) {
        float d = static_cast<float>(a) * u * static_cast<float>(r[0][i]) +
                  static_cast<float>(b) * u * static_cast<float>(r[1][i]) -
                  static_cast<float>(c) * u * static_cast<float>(r[2][i]);
        v.EyePos[i] += d;
    }
    NtfCam(0x700);
    for (int i = 0; i < 3; i++) {
        float d = static_cast<float>(a) * u * static_cast<float>(r[0][i]) +
                  static_cast<float>(b) * u * static_cast<float>(r[1][i]) -
                  static_cast<float>(c) * u * static_cast<float>(r[2][i]);
        v.RotCnt[i] += d;
    }
    NtfCam(0x1700);
}

void RotCam(double a0, double a1, double a2, bool clamp) {
    if (clamp) {
        a0 = std::fmax(-RotMax, std::fmin(RotMax, a0));
        a1 = std::fmax(-RotMax, std::fmin(RotMax, a1));
        a2 = std::fmax(-RotMax, std::fmin(RotMax, a2));
    }
    cam* c = CurCamObj;
    CamView& v = *CurView();
    double r[4][4];
    AngRot(v.RotAng, r);
    double oldR[3] = {r[0][0], r[0][1], r[0][2]}, oldU[3] = {r[1][0], r[1][1], r[1][2]};
    double m[4][4], t[4][4];
    MatRz(-a2, m);
    MatRy(a1, t);
    MatMul(m, t, m);
    MatRx(a0, t);
    MatMul(m, t, m);
    MatMul(m, r, m);
    RotAng(m, v.RotAng);
    ChkUpAxis(c, oldR, oldU);
    NtfCam(0x2700);
    UpdEyePos(c);
    NtfCam(v.RotEye == 1 ? 0x1700 : 0x700);
}

int ZoomCam(double d) {
    CamView& v = *CurView();
    double W = Win0W();
    int rc = 0;
    if (v.PrjFlg != PrjPrs) {
        v.ScrWid -= d * 0.5 * v.ScrWid / W;
        if (v.ScrWid < 1.0) v.ScrWid = 1.0;
        NtfCam(0x70000);
        KeepViewAng(v);
        NtfCam(0x70000);
    } else if (v.RotEye != 1) {
        double dd = d * 0.5 * v.ScrDst / W;
        if (v.EyeDst - dd >= 0.01) {
            v.EyeDst -= dd;
            UpdEyePos(CurCamObj);
        } else {
            plt::Get()->Beep();
            DspWrnMsg(MsgOwnWrn, "回転の中心がﾀｰｹﾞｯﾄに\nなっています。\nこれ以上視点をﾀｰｹﾞｯﾄに\n近づけることはできません。");
            v.EyeDst = 0.01;
            UpdEyePos(CurCamObj);
            rc = -1;
        }
        NtfCam(0x70000);
        NtfCam(0x700);
    } else {
        // Turning about the eye: the eye and its centre travel together along the view axis,
        // by as much as a dolly towards the centre would move.
        double dd = d * 0.5 * v.ScrDst / W;
        double r[3][3];
        CamAxes(v, r);
        for (int i = 0; i < 3; i++) {
            v.EyePos[i] -= dd * r[2][i];
            v.RotCnt[i] -= dd * r[2][i];
        }
        NtfCam(0x700);
        NtfCam(0x1700);
    }
    Wnd2DWid(v.ScrWid);
    return rc;
}

// CmdDrgBgn: press of a view drag.
void DrgBgn() {
    if (!DragRun) SetDrwBuf(DRW_BACK);
    DragRun = 1;
}

// CmdDrgEnd: release of a view drag.
void DrgEnd() {
    DragRun = 0;
    SetDrwBuf(DRW_FRONT);
    IntrCmd(CatDsp, CmdRdrwAll);
}

// CmdViewModeEnd: a view mode is left.
void ViewModeEnd() {
    if (DragRun) {
        DragRun = 0;
        SetDrwBuf(DRW_FRONT);
    }
    TmrAct = TmrNone;
}

// CmdShfStep.
void ShfStep() {
    const CamView& v = *CurView();
    double a = -(PtrPos[0] - PrsPos[0]), b = PtrPos[1] - PrsPos[1], c = PtrPos[2] - PrsPos[2];
    double t = v.PrjFlg == PrjPrs ? ShfThr : std::fmin(ShfThr, ShfThr * v.ScrWid / 5000);
    LastStep(CatDsp, ModDrag ? CmdModShfStep : CmdShfStep);
    if (std::fabs(a) <= t && std::fabs(b) <= t && std::fabs(c) <= t) return;
    MovCam(a, b, c);
    ShowStep();
    Reanchor();
}

// CmdSclStep.
void SclStep() {
    double d = (PtrPos[0] - PrsPos[0]) * SclFac;
    LastStep(CatDsp, ModDrag ? CmdModSclStep : CmdSclStep);
    if (std::fabs(d) <= ShfThr) return;
    if (ZoomCam(d) < 0) {
        ShowStep();
        EndDrag();
        return;
    }
    ShowStep();
    Reanchor();
}

void ClampTilt(CamView& v) {
    double r[3][3];
    CamAxes(v, r);
    // Only a camera whose right vector lies level has a tilt to keep (the up-axis constraint).
    if (std::fabs(r[0][2]) > 1e-3) return;
    double el = std::asin(std::fmax(-1.0, std::fmin(1.0, r[2][2])));
    if (el >= 0 && r[1][2] >= 0) return;
    double az;
    CamAzEl(v, &az, nullptr);
    double e = el < 0 ? 0.0 : 90.0;
    AzElAng(az, e, v.RotAng);
    NtfCam(0x2700);
    UpdEyePos(CurCamObj);
    NtfCam(v.RotEye == 1 ? 0x1700 : 0x700);
}

// CmdRotStep. The tilt stays between straight down and the horizon: a vertical drag beyond
// either would show the terrain from below (the Ctrl+Shift drag still turns freely).
void RotStep() {
    if (ViewDim != 1) return;
    double f = RotSpd * RotFac;
    double a0 = -(PtrPos[1] - PrsPos[1]) * f, a1 = -(PtrPos[0] - PrsPos[0]) * f,
           a2 = (PtrPos[2] - PrsPos[2]) * f;
    LastStep(CatDsp, CmdRotStep);
    if (std::fabs(a0) <= RotThr && std::fabs(a1) <= RotThr && std::fabs(a2) <= RotThr) return;
    RotCam(a0, a1, a2, true);
    ClampTilt(*CurView());
    ShowStep();
    Reanchor();
}

// CmdRimStep: Ctrl+Shift drag, rolling the view along the window's rim.
void RimStep() {
    if (ViewDim != 1) return;
    double f = RotSpd * RotFac, W = Win0W(), H = Win0H();
    double x0 = PrsPos[0], y0 = PrsPos[1], x = PtrPos[0], y = PtrPos[1];
    double a0 = 0, a1 = 0, a2 = 0;
    if (x0 < 0.2 * W && x < 0.2 * W) a2 = (y - y0) * f;
    else if (x0 > 0.8 * W && x > 0.8 * W) a2 = -(y - y0) * f;
    else if (y0 < 0.2 * H && y < 0.2 * H) a2 = -(x - x0) * f;
    else if (y0 > 0.8 * H && y > 0.8 * H) a2 = (x - x0) * f;
    else {
        a0 = -(y - y0) * f;
        a1 = -(x - x0) * f;
        a2 = (PtrPos[2] - PrsPos[2]) * f;
    }
    LastStep(CatDsp, CmdRimStep);
    if (std::fabs(a0) <= RotThr && std::fabs(a1) <= RotThr && std::fabs(a2) <= RotThr) return;
    RotCam(a0, a1, a2, true);
    ShowStep();
    Reanchor();
}

// CmdModBgn: first move of a Ctrl/Shift drag.
void ModBgn() {
    SetDrwBuf(DRW_BACK);
    DragRun = 1;
}

// CmdModEnd: release of a Ctrl/Shift drag.
void ModEnd() {
    DragRun = 0;
    SetDrwBuf(DRW_FRONT);
    IntrCmd(CatDsp, CmdRdrwAll);
    SetCrs(CrsIdx);
}

// CmdFitView.
void FitView() {
    CamView& v = *CurView();
    UdtScnBox();
    BBox b = SceneBox;
    if (!BoxOk(b)) {
        // Nothing in the scene: show the terrain region when there is one, else leave the view.
        if (!(TrnRgnBox(b) && BoxOk(b))) {
            IntrCmd(CatDsp, CmdRdrwAll);
            return;
        }
    }
    double lo[3] = {b.min[0], b.min[1], b.min[2]}, hi[3] = {b.max[0], b.max[1], b.max[2]};
    double ex = hi[0] - lo[0], ey = hi[1] - lo[1], ez = hi[2] - lo[2];
    WlkHgt = (lo[2] + hi[2]) / 2;
    for (int i = 0; i < 3; i++) v.RotCnt[i] = (lo[i] + hi[i]) / 2;
    NtfCam(0x1700);
    double f = Win0W() > Win0H() ? Win0W() / Win0H() : 1.0;
    v.ScrWid = std::fmax(ex, std::fmax(ey, ez)) * 1.2 * f;
    if (v.ScrWid < 1.0) v.ScrWid = 1.0;  // a single point still gets a view of some width
    NtfCam(0x70000);
    v.ScrShf[0] = v.ScrShf[1] = 0;
    KeepViewAng(v);
    v.EyeDst = v.ScrDst;
    NtfCam(0x70000);
    v.ClpFar = ex * 0.7 + v.ScrDst;
    UpdEyePos(CurCamObj);
    NtfCam(0x700);
    double n = v.EyeDst - ex * 0.5;
    v.ClpNear = n <= 100.0 ? (n < 0 ? 1.0 : n) : 100.0;
    if (v.ClpFar <= v.ClpNear) v.ClpFar = v.ClpNear + 100;
    NtfCam(0x270000);
    Wnd2DWid(v.ScrWid);
    SetView(0);
    IntrCmd(CatDsp, CmdRdrwAll);
}

void ZoomAt(double x, double y, double f) {
    if (!(f > 0) || !CurCamObj) return;
    CamView& v = *CurView();
    double W = Win0W(), H = Win0H();
    // Model units per pixel at the rotation centre's distance.
    double upp = v.ScrWid / W;
    if (v.PrjFlg == PrjPrs && v.ScrDst > 0) upp *= v.EyeDst / v.ScrDst;
    double dx = (x - W / 2) / PixAspK() * upp, dy = (H / 2 - y) * upp;
    double r[3][3];
    CamAxes(v, r);
    // The fixed point: where the pointer's ray meets the centre's plane, or in perspective the
    // terrain point the pointer shows (a point off that plane would slide across the screen).
    double q[3];
    for (int i = 0; i < 3; i++) q[i] = v.RotCnt[i] + dx * r[0][i] + dy * r[1][i];
    if (v.PrjFlg == PrjPrs) {
        double t[3];
        if (ViewDim == 1 && PtrMdlPnt(x, y, t) == 2)
            for (int i = 0; i < 3; i++) q[i] = t[i];
        // A dolly towards the fixed point, by the factor.
        double nd = v.EyeDst * f;
        if (nd < 0.01) return;
        v.EyeDst = nd;
    } else {
        double nw = v.ScrWid * f;
        if (nw < 1.0) return;
        v.ScrWid = nw;
        KeepViewAng(v);
    }
    // Scaling about the fixed point keeps it under the pointer: in perspective the centre and the
    // eye move towards it; in parallel projection both shift across the screen.
    for (int i = 0; i < 3; i++) {
        const double d = (q[i] - v.RotCnt[i]) * (1 - f);
        v.RotCnt[i] += d;
        v.EyePos[i] = v.PrjFlg == PrjPrs ? q[i] + (v.EyePos[i] - q[i]) * f : v.EyePos[i] + d;
    }
    NtfCam(0x70000);
    UpdEyePos(CurCamObj);
    NtfCam(0x1700);
    Wnd2DWid(v.ScrWid);
    SetView(0);
}

void WhlStep(int in) {
    if (!CamUsable()) return;
    // The pixel the shell reported: PtrPos belongs to the running mode's steps and still holds
    // the last press or step.
    ZoomAt(PtrPix[0], PtrPix[1], in ? WhlZoom : 1 / WhlZoom);
    IntrCmd(CatDsp, CmdRdrwAll);
}

// Start commands of the three drag modes.
void ShfMode() {
    SetMode(ModeShf);
    SetCrs(CrsMove);
}

void SclMode() {
    SetMode(ModeScl);
    SetCrs(CrsScl);
}

void RotMode() {
    if (ViewDim != 1) return;
    SetMode(ModeRot);
    SetCrs(CrsRot);
}

// CmdLpeMode: loupe.
void LpeMode() {
    if (!CamUsable()) return;
    if (CurView()->PrjFlg == PrjPrs) {
        Caution("平行投影にしてください。");
        return;
    }
    SetMode(ModeLpe);
    SetCrs(CrsLpe);
}

// CmdLpePrs.
void LpePress() { Reanchor(); }

// CmdLpeMove: the cursor shows which way the box is dragged.
void LpeMove() {
    double dx = PtrPos[0] - PrsPos[0], dy = PtrPos[1] - PrsPos[1];
    if (std::fabs(dx) <= 5 && std::fabs(dy) <= 5) return;
    int crs = dx > 0 ? (dy > 0 ? CrsLpePP : CrsLpePN) : (dy > 0 ? CrsLpeNP : CrsLpeNN);
    if (crs != CrsIdx) SetCrs(crs);
}

// CmdLpeRls.
void LpeRelease() {
    CamView& v = *CurView();
    SetCrs(CrsLpe);
    SetDrwBuf(DRW_BACK);
    double x0 = PrsPos[0], y0 = PrsPos[1], x = PtrPos[0], y = PtrPos[1];
    bool left = CurBtn == 1;
    double in[3] = {x, y, 0}, m[3];
    if (std::fabs(x - x0) <= 5 && std::fabs(y - y0) <= 5) {
        WinToMdl(in, 0, m);
        v.ScrWid = left ? v.ScrWid / 2 : v.ScrWid * 2;
    } else {
        in[0] = (x0 + x) / 2;
        in[1] = (y0 + y) / 2;
        WinToMdl(in, 0, m);
        double w = std::fabs(x - x0);
        v.ScrWid = left ? v.ScrWid * (w + 1) / Win0W() : v.ScrWid * Win0W() / (w + 1);
    }
    if (v.ScrWid < 1.0) v.ScrWid = 1.0;
    for (int i = 0; i < 2; i++) v.RotCnt[i] = v.EyePos[i] = m[i];
    KeepViewAng(v);
    Wnd2DWid(v.ScrWid);
    NtfCam(0x1700);
    NtfCam(0x700);
    NtfCam(0x70000);
    SetView(0);
    DstrCmd(CatDsp, CmdDrwPic);
    plt::Get()->GLSwap(0);
    SetDrwBuf(DRW_FRONT);
    ModFlg = 1;
    IntrCmd(CatDsp, CmdRdrwAll);
}

namespace {
void ShowNew() {
    SetDrwBuf(DRW_BACK);
    ShowStep();
    SetDrwBuf(DRW_FRONT);
}

// Level the camera at eye height, looking the way it looked, ready to walk.
void LvlCam() {
    CamView& v = *CurView();
    double r[3][3];
    CamAxes(v, r);
    double hx = r[2][0], hy = r[2][1];
    if (std::hypot(hx, hy) < 1e-3) {
        // Looking straight down or up: walk towards the top of the picture.
        hx = -r[1][0];
        hy = -r[1][1];
    }
    double h = std::atan2(hy, hx);
    v.RotAng[0] = M_PI / 2;
    v.RotAng[1] = 0;
    v.RotAng[2] = M_PI / 2 + h;
    v.EyePos[2] = WlkHgt;
    v.RotCnt[2] = WlkHgt;
    v.UpAxis = UpZ;
    v.RotEye = 1;
    double d[3] = {v.EyePos[0] - v.RotCnt[0], v.EyePos[1] - v.RotCnt[1], 0};
    double len = std::sqrt(Dot(d, d));
    // Eye and centre on one vertical: keep the distance and put the centre ahead of the eye.
    if (len > 1e-6) v.EyeDst = len;
    UpdEyePos(CurCamObj);
    NtfCam(0x2700);
    NtfCam(0x700);
    NtfCam(0x1700);
}

void TmrBgn() {
    SetDrwBuf(DRW_BACK);
    LastStep(-1, -1);
    TmrAct = TmrRpt;
}

void TmrEnd() {
    SetDrwBuf(DRW_FRONT);
    TmrAct = TmrNone;
    ModFlg = 1;
    IntrCmd(CatDsp, CmdRdrwAll);
}

void TmrShow(int code) {
    ShowStep();
    LastStep(CatView, code);
}
}  // namespace

// CmdBrdMode: bird's-eye view.
void BrdMode() {
    if (!CamUsable()) return;
    UdtScnBox();
    if (!SceneHasSrf() || !BoxOk(SceneBox)) {
        Caution("三次元形状が存在しません。");
        return;
    }
    SetMode(ModeBrd);
    SetCrs(CrsBrd);
    CamView& v = *CurView();
    v.RotEye = 0;
    v.PrjFlg = PrjPrs;
    const BBox& b = SceneBox;
    double diag[3];
    for (int i = 0; i < 3; i++) {
        v.RotCnt[i] = (b.min[i] + b.max[i]) / 2.0;
        diag[i] = static_cast<double>(b.max[i]) - b.min[i];
    }
    v.EyeDst = 1.2 * std::sqrt(Dot(diag, diag));
    if (v.EyeDst < 1.0) v.EyeDst = 1.0;
    if (v.ClpFar < 2 * v.EyeDst) v.ClpFar = 2 * v.EyeDst;
    v.RotAng[0] = 60 * M_PI / 180;
    v.RotAng[1] = 0;
    v.UpAxis = UpZ;
    v.AutoClp = 1;
    UpdEyePos(CurCamObj);
    NtfCam(0x170000);
    NtfCam(0x1700);
    NtfCam(0x2700);
    NtfCam(0x700);
    ShowNew();
}

void BrdPress() { TmrBgn(); }

// CmdBrdStep, repeated by the timer while held: the turning speed follows the pointer's offset.
void BrdStep() {
    double W = Win0W();
    RotCam((PtrPos[1] - PrsPos[1]) / W * TrnSpd, (PtrPos[0] - PrsPos[0]) / W * TrnSpd, 0, false);
    TmrShow(CmdBrdStep);
}

void BrdRelease() { TmrEnd(); }

// CmdWlkMode: walk-through.
void WlkMode() {
    if (!CamUsable()) return;
    SetMode(ModeWlk);
    SetCrs(CrsWlk);
    LvlCam();
    ShowNew();
}

void WlkPress() { TmrBgn(); }

// CmdWlkStep, repeated by the timer: pointer above the press point walks forward.
void WlkStep() {
    const CamView& v = *CurView();
    double dx = PtrPos[0] - PrsPos[0], dy = PtrPos[1] - PrsPos[1];
    double k = Win0W() / v.ScrWid * WlkSpd;
    MovCam(dx * k, 0, -dy * k);
    TmrShow(CmdWlkStep);
}

void WlkTmr() {
    if (CrntMode == ModeWlk && BtnHeld) WlkStep();
}

void WlkRelease() { TmrEnd(); }

// CmdGazMode: gaze.
void GazMode() {
    if (!CamUsable()) return;
    SetMode(ModeGaz);
    SetCrs(CrsGaz);
    LvlCam();
    ShowNew();
}

void GazPress() { TmrBgn(); }

// CmdGazStep, repeated by the timer: the gaze turns about the eye.
void GazStep() {
    RotCam(0, -(PtrPos[0] - PrsPos[0]) / Win0W() * TrnSpd, 0, false);
    TmrShow(CmdGazStep);
}

void GazRelease() { TmrEnd(); }

// Mode handlers.
namespace {
struct ViewModeCmds {
    int cat;
    int press, move, release;
    bool depthBtn;  // the middle button drives the third component
};

void ViewHnd(const ViewModeCmds& m) {
    const MouseEvtRec& e = MouseEvt;
    auto pos = [&] {
        if (m.depthBtn && CurBtn == 2) {
            PtrPos[0] = 0; PtrPos[1] = 0; PtrPos[2] = e.x;
        } else {
            PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0;
        }
    };
    switch (e.kind) {
    case MsPress:
    case MsPress6:
        if (e.button == 3) {
            if (BtnHeld) IntrCmd(m.cat, m.release);
            BtnHeld = 0;
            TmrAct = TmrNone;
            SetMode(BaseMode);
            SetCrs(CrsArrow);
            return;
        }
        CurBtn = e.button;
        pos();
        Reanchor();
        BtnHeld = 1;
        Moved = 0;
        IntrCmd(m.cat, m.press);
        return;
    case MsMove:
        if (!BtnHeld) return;
        pos();
        IntrCmd(m.cat, m.move);
        return;
    case MsRelease:
        if (!BtnHeld) return;
        BtnHeld = 0;
        if (!m.depthBtn || CurBtn != 2) { PtrPos[0] = e.x; PtrPos[1] = e.y; PtrPos[2] = 0; }
        IntrCmd(m.cat, m.release);
        return;
    default:
        return;
    }
}
}  // namespace

void SclModeHnd() { ViewHnd({CatDsp, CmdDrgBgn, CmdSclStep, CmdDrgEnd, true}); }
void ShfModeHnd() { ViewHnd({CatDsp, CmdDrgBgn, CmdShfStep, CmdDrgEnd, true}); }
void RotModeHnd() { ViewHnd({CatDsp, CmdDrgBgn, CmdRotStep, CmdDrgEnd, true}); }
void LpeModeHnd() { ViewHnd({CatView, CmdLpePrs, CmdLpeMove, CmdLpeRls, false}); }
void WlkModeHnd() { ViewHnd({CatView, CmdWlkPrs, CmdWlkStep, CmdWlkRls, false}); }
void BrdModeHnd() { ViewHnd({CatView, CmdBrdPrs, CmdBrdStep, CmdBrdRls, false}); }
void GazModeHnd() { ViewHnd({CatView, CmdGazPrs, CmdGazStep, CmdGazRls, false}); }

const char* const HlpScl = "Scale view.\n\n  left  : change scale\n  right : quit";
const char* const HlpShf = "Shift view rotation center.\n\n  left  : shift UV\n  middle: shift W\n  right : quit";
const char* const HlpRot = "Rotate view.\n\n  left  : rotate UV\n  middle: rotate W\n  right : quit";
const char* const HlpLpe = "Loupe.\n\n  left  : zoom in at the point or to the box\n  middle: zoom out\n  right : quit";
const char* const HlpWlk = "Walk through.\n\n  left  : walk (offset from the press sets speed)\n  right : quit";
const char* const HlpBrd = "Bird's-eye view.\n\n  left  : orbit (offset from the press sets speed)\n  right : quit";
const char* const HlpGaz = "Turn the gaze.\n\n  left  : turn (offset from the press sets speed)\n  right : quit";
