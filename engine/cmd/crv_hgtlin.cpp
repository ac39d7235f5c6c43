// Heights along a line: the user drags a line across the contours and each curve it crosses, in
// order from the line's start, gets the next height of an arithmetic series.
#include <algorithm>
#include <cmath>
#include <vector>
#include "core/mode.h"
#include "cmd/crv_chk.h"
#include "curves/crv_int.h"
#include "display/view.h"
#include "cmd/undo.h"
#include "cmd/crv_cmds.h"

float HgtLinStart = 0;
float HgtLinStep = 0;

int HgtLin(const double a[2], const double b[2]) {
    const double p0[3] = {a[0], a[1], 0}, p1[3] = {b[0], b[1], 0};
    DrwSeg(p0, p1, 1, 1, 0);
    if (!CrvPart) return 0;
    const double lo[2] = {std::fmin(a[0], b[0]), std::fmin(a[1], b[1])};
    const double hi[2] = {std::fmax(a[0], b[0]), std::fmax(a[1], b[1])};
    // First crossing of each curve: distance from a along the line.
    struct Hit {
        double t;
        int k;
    };
    std::vector<Hit> hits;
    for (int k = 0; k < CrvPart->crvs.n; ++k) {
        const crv* c = CrvPart->crvs.a[k];
        if (!c->vis || c->n < 2 || !CrvBoxOvl(c, lo, hi)) continue;
        double best = -1;
        for (int j = 0; j + 1 < c->n; ++j) {
            const double s0[2] = {c->p[3 * j], c->p[3 * j + 1]};
            const double s1[2] = {c->p[3 * j + 3], c->p[3 * j + 4]};
            double x[2][2];
            if (IntscSeg(s0, s1, a, b, x) == 0) continue;
            const double t = std::hypot(x[0][0] - a[0], x[0][1] - a[1]);
            if (best < 0 || t < best) best = t;
        }
        if (best >= 0) hits.push_back({best, k});
    }
    if (hits.empty()) return 0;
    // Equal distances keep the list order, so that the result does not depend on the sort.
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& u, const Hit& v) { return u.t < v.t; });
    RecUndo(UndoPart, 0, nullptr);
    for (size_t i = 0; i < hits.size(); ++i) {
        crv* c = CrvPart->crvs.a[hits[i].k];
        SetCrvHgt(c, static_cast<float>(HgtLinStart + static_cast<double>(HgtLinStep) * static_cast<double>(i)));
        if (IsCrvSlct(c)) c->col[0] = 1, c->col[1] = 0, c->col[2] = 0;  // selected stays red
        CalCrvBox(c);
    }
    UdtCrvBox();
    ShowDrw();
    Redraw();
    return static_cast<int>(hits.size());
}

int CrvHgtLinCmd(int code) {
    switch (code) {
    case CmdCrvHgtLin:
        ClrCrvSlct();
        Redraw();
        RecUndo(UndoDiscard, 0, nullptr);
        SetMode(ModeCrvHgtLin);
        SetCrs(CrsPick);
        return 0;
    case CmdCrvHgtLinRls: {
        double p0[3], p1[3];
        PtrToMdl(PrsPos[0], PrsPos[1], p0);
        PtrToMdl(PtrPos[0], PtrPos[1], p1);
        HgtLin(p0, p1);
        return 0;
    }
    default:
        return 1;
    }
}
