// Dump of the drawing: display switches and the 2D grid the view would show.
#include <string>
#include "display/drw.h"
#include "registry.h"
#include "terrain/trn.h"

namespace jrn {

void DumpDisplay() {
    auto b = [](unsigned v) { return std::to_string(v ? 1 : 0); };
    Line("display shaded=" + b(SrfDsp[0] & SrfDspShd) + " slope=" + b(SlpDsp) +
         " surfaces=" + b(SrfDsp[0] & SrfDspOn) + " curves=" + b(CrvDsp[0] & 1) +
         " axes=" + b(AxisOn) + " grid=" + b(GridOn) + " twoside=" + b(TwoSide) +
         " bg=" + G6(BgCol[0]) + " " + G6(BgCol[1]) + " " + G6(BgCol[2]));
    GrdInfoRec g;
    GrdInfo(&g);
    Line("grid step=" + std::to_string(g.step) + " major=" + std::to_string(g.major) +
         " lines=" + std::to_string(g.nx) + "x" + std::to_string(g.ny) +
         " labels=" + std::to_string(g.lblStep) + " unit=" + g.unit);
}

}  // namespace jrn
