// The table of terrain generation methods.
#include "terrain/trn_mth.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/msg.h"

#include "terrain/trn_gen.h"
#include "terrain/trn_mc.h"
#include "terrain/trn_path.h"

const TrnMethodInfo TrnMethods[TrnMethodNum] = {
    {TrnMethodCrs, "cross-lines",
     "a cubic through four contours on straight lines through each post",
     "交差線による補間（標準）：各点を通る直線上の4本の等高線から三次式で求めます",
     "its cross lines walk up to the extent of the whole scene"},
    {TrnMethodMinCrv, "min-curvature",
     "the smoothest surface through the contours",
     "最小曲率による補間：等高線を通る最もなめらかな面です。等高線が密な地形に向きます",
     "it solves one system over the whole grid"},
    {TrnMethodPath, "gradient-paths",
     "along the slope between the nearest contours; sharp valleys and ridges",
     "傾斜線に沿った補間：上下の等高線の最も近い点を結んで求め、谷と尾根を鋭く保ちます",
     nullptr},
};

const TrnMethodInfo* TrnMethodByName(const char* name) {
    if (!name) return nullptr;
    for (const TrnMethodInfo& m : TrnMethods)
        if (std::strcmp(m.name, name) == 0) return &m;
    return nullptr;
}

const TrnMethodInfo& TrnMethodOf(int kind) {
    for (const TrnMethodInfo& m : TrnMethods)
        if (m.kind == kind) return m;
    return TrnMethods[0];
}

void TrnCreNote() {
    if (!TrnSrf || !TrnGrd) return;
    const TrnMethodInfo& m = TrnMethodOf(TrnMethod);
    // The Japanese label's short name ends at its full-width colon.
    std::string name = MsgTx(m.label, m.name);
    if (name.find("\xEF\xBC\x9A") != std::string::npos) name.resize(name.find("\xEF\xBC\x9A"));
    int gaps = 0;
    if (const uint8_t* g = TrnGapOf())
        for (int i = 0; i < TrnSrf->nv; ++i) gaps += g[i] != 0;
    char t[MsgLinLen * 2];
    std::snprintf(t, sizeof t, MsgTx("地形作成: %s, %d x %d 点", "Terrain made by %s: %d x %d posts"), name.c_str(),
                  TrnGrd->cols, TrnGrd->rows);
    std::string line = t;
    if (gaps > 0) {
        std::snprintf(t, sizeof t, MsgTx(", 高さなし %d 点", ", %d without a height"), gaps);
        line += t;
    }
    // Lines the terrain read one interval off, a message line each: the user should mend them in
    // the contours.
    const int nr = TrnRelevelCount();
    for (int k = 0; k < std::min(nr, 3); k++) {
        float given = 0, read = 0;
        TrnRelevelAt(k, &given, &read);
        const double u = MmPer(HgtUnit);
        std::snprintf(t, sizeof t,
                      MsgTx("%g %s の等高線を %g %s とみなしました (両隣と 1 間隔ずれ)",
                            "the %g %s line read as %g %s (one interval off its neighbours)"),
                      given / u, UnitName(HgtUnit), read / u, UnitName(HgtUnit));
        line += "\n";
        line += t;
    }
    if (nr > 3) {
        std::snprintf(t, sizeof t, MsgTx("ほかに %d 本", "and %d more"), nr - 3);
        line += "\n";
        line += t;
    }
    // Logged without opening the window's log over the new terrain.
    PutNote(line.c_str());
}

bool TrnGenMethod(TrnMethodKind k, const cntr* c, int nc, float* v, int R, int C, double d, const TrnRun& run) {
    switch (k) {
    case TrnMethodMinCrv: {
        McPrm prm;
        prm.itv = d;
        prm.fb = run.fb;
        return GenTrnMc(c, nc, v, R, C, prm);
    }
    case TrnMethodPath: {
        PathPrm prm;
        prm.itv = d;
        prm.fb = run.fb;
        prm.z = run.z;
        prm.relevel = run.relevel;
        return GenTrnPath(c, nc, v, R, C, prm);
    }
    case TrnMethodCrs: {
        // Local coordinates, the extent from the contours and the grid, heights in their bands.
        TrnGenPrm prm = GenPrmOfSettings();
        prm.fb = run.fb;
        return GenTrnCrs(c, nc, v, R * C, run.id, R, C, d, prm, run.ref, run.live);
    }
    }
    return false;
}
