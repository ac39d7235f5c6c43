// Journal dump and verb of the map image.
#include "image/vecimg.h"
#include "lexer.h"
#include "registry.h"
#include "vectorize/vec.h"

namespace jrn {

void DumpImage() {
    if (!VecImg.pix) {
        Line("image none");
        return;
    }
    std::string s = "image ";
    s += std::to_string(VecImg.w);
    s += ' ';
    s += std::to_string(VecImg.h);
    s += " zoom=";
    s += F3(VecZoom);
    s += " mono=";
    s += std::to_string(VecMono);
    s += " thr=";
    s += std::to_string(VecThr);
    s += " dpi=";
    s += F3(VecDpi);
    s += " scale=";
    s += F3(VecMapScl);
    Line(s);
}

}  // namespace jrn
