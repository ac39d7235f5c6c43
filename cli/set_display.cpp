// Journal parameters of the drawing: the display menu items and switches.
#include "display/drw.h"
#include "registry.h"

namespace jrn {

// The menu items "シェーディング表示" (1) and "ワイヤーフレーム表示" (0); each redraws.
bool SetShaded(const Words& v, std::string* err) {
    int on;
    if (!GetInts(v, 1, 0, 1, &on, err)) return false;
    if (on)
        SetShdDsp();
    else
        SetWireDsp();
    return true;
}

// "座標軸を表示" (1) and "座標軸を非表示" (0); each redraws.
bool SetAxisOn(const Words& v, std::string* err) {
    int on;
    if (!GetInts(v, 1, 0, 1, &on, err)) return false;
    SetAxisDsp(on);
    return true;
}

// The relief display item: 1 on, 0 back to shaded or wireframe as they were; redraws.
bool SetRelDspJ(const Words& v, std::string* err) {
    int on;
    if (!GetInts(v, 1, 0, 1, &on, err)) return false;
    SetRelDsp(on);
    return true;
}

// The expected-error display item: 1 on, 0 back to shaded or wireframe as they were; redraws.
bool SetErrDspJ(const Words& v, std::string* err) {
    int on;
    if (!GetInts(v, 1, 0, 1, &on, err)) return false;
    SetErrDsp(on);
    return true;
}

// Vertical exaggeration of the 3D view and the relief, as the view settings store it.
bool SetVertExagJ(const Words& v, std::string* err) {
    double f;
    if (!GetReals(v, 1, VertExagMin, VertExagMax, &f, err)) return false;
    SetVertExag(f);
    return true;
}

bool SetGridOn(const Words& v, std::string* err) { return SetByte(v, 0, 1, &GridOn, err); }
bool SetTwoSide(const Words& v, std::string* err) { return SetByte(v, 0, 1, &TwoSide, err); }

// Background colour, 0..255 each, as the colour dialog stores it.
bool SetBgCol(const Words& v, std::string* err) {
    double c[3];
    if (!GetReals(v, 3, 0, 255, c, err)) return false;
    for (int i = 0; i < 3; ++i) BgCol[i] = c[i];
    return true;
}

}  // namespace jrn
