// Dumps and parameters of the terrain module.
#include "registry.h"
#include "terrain/trn.h"

namespace jrn {

bool SetVtxHgtVal(const Words& v, std::string* err) {
    return SetFloat(v, -1e30, 1e30, &VtxHgtVal, err);
}

void DumpRegion() {
    Line("region " + F3(TrnRgn[0]) + " " + F3(TrnRgn[1]) + " " + F3(TrnRgn[3]) + " " +
         F3(TrnRgn[4]) + " interval " + F3(MshItv));
}

void DumpTerrain() {
    if (!TrnSrf || !TrnGrd) {
        Line("terrain none");
        return;
    }
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    Line("terrain rows=" + std::to_string(R) + " cols=" + std::to_string(C) +
         " vis=" + std::to_string(TrnSrf->vis));
    for (int r = 0; r < R; r++) {
        std::string s;
        for (int c = 0; c < C; c++) {
            if (c) s += ' ';
            s += F3(TrnSrf->v[3 * TrnGrd->vtx_id[r * C + c] + 2]);
        }
        Line(s);
    }
}

void DumpGrid() {
    if (!TrnSrf || !TrnGrd) {
        Line("grid none");
        return;
    }
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    Line("grid rows=" + std::to_string(R) + " cols=" + std::to_string(C));
    std::string xs, ys;
    for (int c = 0; c < C; c++) xs += (c ? " " : "") + F3(TrnSrf->v[3 * TrnGrd->vtx_id[c]]);
    for (int r = 0; r < R; r++)
        ys += (r ? " " : "") + F3(TrnSrf->v[3 * TrnGrd->vtx_id[r * C] + 1]);
    Line(xs);
    Line(ys);
}

void DumpVertices() {
    std::string s = "vertices " + std::to_string(NumVtxSlct);
    Line(s);
    std::string ids;
    for (int k = 0; k < NumVtxSlct; k++) ids += (k ? " " : "") + std::to_string(VtxSlct[k]);
    if (NumVtxSlct) Line(ids);
}

}  // namespace jrn
