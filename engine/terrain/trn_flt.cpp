// Terrain filter: spikes and pits steeper than the filter angle on both sides of a vertex, with
// gentle slopes one step further out, are replaced by the straight continuation of their
// neighbours. One pass in place: vertices changed earlier take part in later tests.
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/cmd.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "terrain/trn.h"

namespace {
struct Slp {
    double g[4];
    double z1, z3;
};

Slp Slopes(const float* v, const int32_t* id, const int at[5], double d) {
    Slp s;
    double z[5];
    for (int k = 0; k < 5; k++) z[k] = v[3 * id[at[k]] + 2];
    for (int k = 0; k < 4; k++) s.g[k] = (z[k + 1] - z[k]) / d;
    s.z1 = z[1];
    s.z3 = z[3];
    return s;
}

bool Both(const Slp& s, double G, double d, double* out) {
    if (std::fabs(s.g[1]) > G && std::fabs(s.g[2]) > G && std::fabs(s.g[0]) < G &&
        std::fabs(s.g[3]) < G) {
        *out = ((s.z1 + d * s.g[0]) + (s.z3 - d * s.g[3])) / 2;
        return true;
    }
    return false;
}

// One line of five heights on the border, with the one-sided repair when IntpPrph is set.
void OneLine(float* v, const int32_t* id, const int at[5], double G, double d) {
    Slp s = Slopes(v, id, at, d);
    if (!(std::fabs(s.g[1]) > G && std::fabs(s.g[2]) > G)) return;
    float* z2 = &v[3 * id[at[2]] + 2];
    double nz;
    if (std::fabs(s.g[0]) < G && std::fabs(s.g[3]) < G) {
        Both(s, G, d, &nz);
        *z2 = static_cast<float>(nz);
    } else if (IntpPrph) {
        if (std::fabs(s.g[0]) < G)
            *z2 = static_cast<float>(s.z1 + d * s.g[0]);
        else if (std::fabs(s.g[3]) < G)
            *z2 = static_cast<float>(s.z3 - d * s.g[3]);
    }
}
}  // namespace

int FltrTrn() { return FltrTrn(FltrAng); }

int FltrTrn(float ang) {
    if (!TrnSrf || !TrnGrd) {
        DspErrMsg(MsgOwnErr, "地形が作成されていません。");
        return -1;
    }
    const double G = std::tan(static_cast<double>(ang) * M_PI / 180.0);
    const double d = MshItv;
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    const int32_t* id = TrnGrd->vtx_id;
    float* v = TrnSrf->v;
    // Heights before, to count the vertices the pass changed.
    std::vector<float> z0(static_cast<size_t>(R) * static_cast<size_t>(C));
    for (size_t i = 0; i < z0.size(); ++i) z0[i] = v[3 * id[i] + 2];
    for (int r = 0; r < R; r++) {
        if (r < 2 || r > R - 3) {
            for (int c = 2; c <= C - 3; c++) {
                const int at[5] = {r * C + c - 2, r * C + c - 1, r * C + c, r * C + c + 1,
                                   r * C + c + 2};
                OneLine(v, id, at, G, d);
            }
            continue;
        }
        for (int c = 0; c < C; c++) {
            const int col[5] = {(r - 2) * C + c, (r - 1) * C + c, r * C + c, (r + 1) * C + c,
                                (r + 2) * C + c};
            if (c < 2 || c > C - 3) {
                // The corner blocks lie in the border rows, so they are never reached here.
                OneLine(v, id, col, G, d);
                continue;
            }
            const int row[5] = {r * C + c - 2, r * C + c - 1, r * C + c, r * C + c + 1,
                                r * C + c + 2};
            double e1, e2;
            bool b1 = Both(Slopes(v, id, row, d), G, d, &e1);
            bool b2 = Both(Slopes(v, id, col, d), G, d, &e2);
            if (b1 || b2) {
                double z = b1 && b2 ? (e1 + e2) / 2 : b1 ? e1 : e2;
                v[3 * id[r * C + c] + 2] = static_cast<float>(z);
            }
        }
    }
    CalTrnNrm();
    UdtBox(TrnSrf, OK_SRF);
    int changed = 0;
    for (size_t i = 0; i < z0.size(); ++i) changed += v[3 * id[i] + 2] != z0[i];
    return changed;
}

bool SetFltrDlg(double ang, int prph) {
    if (!(ang >= 0 && ang <= 90)) return false;
    FltrAng = static_cast<float>(ang);
    IntpPrph = prph ? 1 : 0;
    return true;
}
