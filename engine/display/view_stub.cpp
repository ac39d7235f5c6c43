// PLACEHOLDER until the view model lands: lets the rest of the engine link.
#include <cmath>
#include "display/lgt.h"
#include "display/view.h"
#include "scene/scene.h"

LgtRec AmbLgt{};
LgtRec* PrmLgt = nullptr;
int PrmLgtCap = 0;
int NumLgt = 0;
double AttDst = 0;
float (*RndrOGL_Mtl)[17] = nullptr;
int RndrOGL_MtlCap = 0;
ViewWinRec ViewWin[ViewWinMax];
int WinSizW = 256, WinSizH = 256;
double PixAsp[2] = {1, 1};
const double ZRes = 2147483647.0;
uint8_t ViewDim = 0;
double Wnd2D[4] = {0, 0, 0, 0};
double DspVal = 0;

int IniPrmLgt() { return 0; }
void UdtLgtTbl() {}
void SetLgtGL() {}
void EnaLgtGL() {}
void MkMtlGL(int) {}
void SetMtlGL(int) {}
void IniView() {}
void SetView(int) {}
void SetTrnView() {}
void SetCamDef(cam*) {}
double PixToMdl(double n) { return n; }
void PtrToMdl(double x, double y, double out[3]) { out[0] = x; out[1] = y; out[2] = 0; }
bool CrvInView(const crv*) { return true; }
void SetGLView(int) {}
// Direction (-1, 0, 0) turned by Rx, Ry, Rz (order 0 only).
void LgtAngDir(const float a[3], int, float d[3]) {
    double cy = std::cos(a[1]), sy = std::sin(a[1]), cz = std::cos(a[2]), sz = std::sin(a[2]);
    d[0] = static_cast<float>(-cy * cz); d[1] = static_cast<float>(-cy * sz); d[2] = static_cast<float>(sy);
}
