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
    Line("image " + std::to_string(VecImg.w) + " " + std::to_string(VecImg.h) +
         " zoom=" + F3(VecZoom) + " mono=" + std::to_string(VecMono) +
         " thr=" + std::to_string(VecThr) + " dpi=" + F3(VecDpi) + " scale=" + F3(VecMapScl));
}

}  // namespace jrn
