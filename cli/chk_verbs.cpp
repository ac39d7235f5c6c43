// Journal lines of the map-to-contours helps: the centre-line and placement settings of tracing,
// heights along a line (set HgtLinStart/HgtLinStep, hgtline) and the contour checks (dump checks).
#include <cmath>
#include "core/alc.h"
#include "cmd/crv_chk.h"
#include "registry.h"
#include "vectorize/vec.h"

namespace jrn {

bool SetVecCentreJ(const Words& v, std::string* err) { return SetByte(v, 0, 1, &VecCentre, err); }

// Two reals, or the word none for the stated placement (the map centred on the origin).
bool SetVecOrgJ(const Words& v, std::string* err) {
    if (v.size() == 1 && v[0] == "none") {
        VecOrgOn = 0;
        return true;
    }
    double xy[2];
    if (!GetReals(v, 2, -1e15, 1e15, xy, err)) return false;
    VecOrg[0] = xy[0];
    VecOrg[1] = xy[1];
    VecOrgOn = 1;
    return true;
}

bool SetHgtLinStartJ(const Words& v, std::string* err) { return SetFloat(v, -1e9, 1e9, &HgtLinStart, err); }
bool SetHgtLinStepJ(const Words& v, std::string* err) { return SetFloat(v, -1e9, 1e9, &HgtLinStep, err); }

bool ChkVerb(const Words& w, std::string* err) {
    if (w.empty() || w[0] != "hgtline") return false;
    double xy[4];
    if (!GetReals(Words(w.begin() + 1, w.end()), 4, -1e15, 1e15, xy, err)) {
        *err = "hgtline: " + *err;
        return true;
    }
    const double a[2] = {xy[0], xy[1]}, b[2] = {xy[2], xy[3]};
    EngGuard([&] {
        HgtLin(a, b);
        return 0;
    });
    return true;
}

void DumpChecks() {
    std::vector<ChkFnd> f;
    if (CrvPart) f = ChkCrv(CrvPart->crvs.a, CrvPart->crvs.n, CurChkPrm());
    Line("checks " + std::to_string(f.size()));
    for (const ChkFnd& k : f) {
        std::string s = ChkWord(k.kind);
        s += ' ' + std::to_string(k.i);
        if (k.j >= 0) s += ' ' + std::to_string(k.j);
        Line(s);
    }
}

}  // namespace jrn
