// The batch command's run: import, region, terrain, filter and export as one call with values.
#include "doc/dem_run.h"

#include <cmath>
#include <vector>

#include "core/alc.h"
#include "core/msg.h"
#include "doc/xchg_flow.h"
#include "scene/scene.h"
#include "terrain/trn_gen.h"
#include "terrain/trn_path.h"

namespace {

// f inside a recovery point: false when it failed or was abandoned for want of memory (after
// its message), which EngGuard alone would give as a result of 0.
template <class F>
bool Ran(F&& f) {
    return EngGuard([&] { return f() ? 1 : 0; }) == 1;
}

// Grids larger than this are refused before any allocation (about 6 GB of working memory).
constexpr long long DemMaxPosts = 200000000LL;

// The run of gradient paths straight into a plain height grid, then its export.
template <class Tell>
int RunPlain(const DemPrm& p, const Feedback& fb, DemRes& r, Tell& tell) {
    if (p.rgnMm && (r.R != p.wantR || r.C != p.wantC)) return DemNoGrid;
    std::vector<float> xs(static_cast<size_t>(r.C)), ys(static_cast<size_t>(r.R));
    TrnMshAxes(TrnRgn, MshItv, r.R, r.C, xs.data(), ys.data());
    AlcArr<float> z;
    bool made = Ran([&] {
        z.Alc(static_cast<long long>(r.R) * r.C, "srf->v");
        int nc = 0;
        cntr* c = MkCntr(&nc);
        fb.Begin();
        // The feedback and the contours end with the run, however it ends.
        Cleanup endRun([&] {
            fb.End();
            FreeCntr(c, nc);
        });
        PathPrm prm;
        prm.itv = MshItv;
        prm.fb = fb;
        prm.z = z.p;
        prm.relevel = &r.relevel;
        return GenTrnPathAxes(c, nc, xs.data(), ys.data(), r.R, r.C, prm);
    });
    tell(DemStMade);
    if (fb.Cancelled()) return DemInterrupted;
    if (!made) {
        r.said = true;
        return DemNoGrid;
    }
    tell(DemStFiltered);
    for (long long i = 0; i < static_cast<long long>(r.R) * r.C; i++) r.nodata += std::isnan(z.p[i]);
    ClrMsg();
    GisPlain g;
    g.R = r.R;
    g.C = r.C;
    g.xs = xs.data();
    g.ys = ys.data();
    g.z = z.p;
    g.itv = MshItv;
    if (!Ran([&] { return ExpGisRstPlain(p.out.c_str(), g, p.blk) == 0; })) return DemNotWritten;
    if (MsgLinNum > 0) r.note = MsgLin[0];
    return DemOk;
}

int Run(const DemPrm& p, const Feedback& fb, DemRes& r) {
    auto tell = [&](DemStage s) {
        if (p.told) p.told(s, r);
    };
    const bool read = Ran([&] { return ImpOgr(p.src, &r.imp, p.clip) == 0; });
    tell(DemStRead);
    if (!read) return DemBadInput;
    if (fb.Cancelled()) return DemInterrupted;
    if (p.rgnMm) {
        TrnRgn[0] = static_cast<float>(p.rgn[0]);
        TrnRgn[1] = static_cast<float>(p.rgn[1]);
        TrnRgn[3] = static_cast<float>(p.rgn[2]);
        TrnRgn[4] = static_cast<float>(p.rgn[3]);
    } else if (p.haveRgn) {
        TrnRgn[0] = static_cast<float>((p.rgn[0] - r.imp.ox) * 1000.0);
        TrnRgn[1] = static_cast<float>((p.rgn[1] - r.imp.oy) * 1000.0);
        TrnRgn[3] = static_cast<float>((p.rgn[2] - r.imp.ox) * 1000.0);
        TrnRgn[4] = static_cast<float>((p.rgn[3] - r.imp.oy) * 1000.0);
    }
    MshItv = static_cast<float>(p.itv * 1000.0);
    const bool fits = TrnMshDim(TrnRgn, MshItv, &r.R, &r.C);
    // A grid the caller laid out was sized by it; the mesh refuses one that cannot be held.
    if (!p.rgnMm && (!fits || static_cast<long long>(r.R) * r.C > DemMaxPosts)) {
        r.tooLarge = true;
        return DemNoGrid;
    }
    tell(DemStLaid);
    // Gradient paths with nothing after them but the heights' export need no mesh: the heights
    // alone, 4 bytes a post instead of the mesh's 28.
    if (p.method == TrnMethodPath && p.flt < 0 && p.err.empty() && r.imp.curves > 0)
        return RunPlain(p, fb, r, tell);
    if (!Ran([] { return CreTrnMsh(); })) {
        r.said = true;
        return DemNoGrid;
    }
    if (!TrnSrf || !TrnGrd || (p.rgnMm && (TrnGrd->rows != p.wantR || TrnGrd->cols != p.wantC)))
        return DemNoGrid;
    if (r.imp.curves > 0 || !p.emptyIsNodata) {
        const bool made = Ran([&] { return CreTrn(fb, p.method); });
        tell(DemStMade);
        if (fb.Cancelled()) return DemInterrupted;
        if (!made) {
            r.said = true;
            return DemNoGrid;
        }
        for (int k = 0; k < TrnRelevelCount(); k++) {
            LineRelevel l{};
            TrnRelevelAt(k, &l.given, &l.read, &l.x, &l.y);
            r.relevel.push_back(l);
        }
        if (p.flt >= 0) {
            Ran([&] {
                FltrTrn(static_cast<float>(p.flt));
                return true;
            });
            if (fb.Cancelled()) return DemInterrupted;
        }
        tell(DemStFiltered);
    } else {
        // No contour near: every post is nodata.
        std::vector<uint8_t> gap(static_cast<size_t>(TrnSrf->nv), 1);
        TrnGapSet(gap.data());
    }
    if (const uint8_t* gap = TrnGapOf())
        for (int i = 0; i < TrnSrf->nv; ++i) r.nodata += gap[i] != 0;
    ClrMsg();
    const char* out = p.out.c_str();
    if (!Ran([&] { return (p.blk ? ExpGisRstBlk(out, *p.blk) : ExpGisRst(out)) == 0; })) return DemNotWritten;
    const char* err = p.err.c_str();
    if (!p.err.empty() && !Ran([&] { return (p.blk ? ExpGisErrBlk(err, *p.blk) : ExpGisErr(err)) == 0; }))
        return DemNotWritten;
    if (MsgLinNum > 0) r.note = MsgLin[0];
    return DemOk;
}

}  // namespace

int DemRun(const DemPrm& p, const Feedback& fb, DemRes* res) {
    DemRes local;
    DemRes& r = res ? *res : local;
    r = DemRes();
    return Run(p, fb, r);
}
