// Journal parameters of the terrain module, with the ranges their dialogs accept.
#include "registry.h"
#include "terrain/trn.h"

namespace jrn {

namespace {
constexpr double Far = 1e30;  // lengths beyond this do not fit the engine's floats sensibly
}

// Corners x0 y0 x1 y1; the heights of the region stay as they are.
bool SetTrnRgn(const Words& v, std::string* err) {
    double c[4];
    if (!GetReals(v, 4, -Far, Far, c, err)) return false;
    TrnRgn[0] = static_cast<float>(c[0]);
    TrnRgn[1] = static_cast<float>(c[1]);
    TrnRgn[3] = static_cast<float>(c[2]);
    TrnRgn[4] = static_cast<float>(c[3]);
    return true;
}

// Real-world corners in metres (the document's origin subtracted, as `dem --region` does).
bool SetGeoRgn(const Words& v, std::string* err) {
    double c[4];
    if (!GetReals(v, 4, -1e12, 1e12, c, err)) return false;
    SetRgnWld(c);
    return true;
}

// The region dialog accepts 1 mm up to 1e11 m.
bool SetMshItv(const Words& v, std::string* err) { return SetFloat(v, 1, 1e14, &MshItv, err); }
bool SetCrsAngNum(const Words& v, std::string* err) { return SetInt(v, 1, 360, &CrsAngNum, err); }
// A zero step would never leave the vertex.
bool SetCrsLenScl(const Words& v, std::string* err) { return SetFloat(v, 1e-4, 10, &CrsLenScl, err); }
bool SetSamHgtDst(const Words& v, std::string* err) {
    return SetFloat(v, 0, 4294967295.0, &SamHgtDst, err);
}
bool SetFltrAng(const Words& v, std::string* err) { return SetFloat(v, 0, 90, &FltrAng, err); }
bool SetIntpPrph(const Words& v, std::string* err) { return SetInt(v, 0, 1, &IntpPrph, err); }
// 0 cross lines, 1 minimum curvature.
bool SetTrnMethod(const Words& v, std::string* err) {
    return SetInt(v, TrnMethodCrs, TrnMethodPath, &TrnMethod, err);
}

bool SetSlpThr(const Words& v, std::string* err) {
    double t[4];
    if (!GetReals(v, 4, 0, 90, t, err)) return false;
    for (int i = 0; i < 4; ++i) SlpThr[i] = static_cast<float>(t[i]);
    return true;
}

bool SetSlpMode(const Words& v, std::string* err) { return SetByte(v, 0, 1, &SlpMode, err); }
bool SetSlpDsp(const Words& v, std::string* err) { return SetByte(v, 0, 1, &SlpDsp, err); }

}  // namespace jrn
