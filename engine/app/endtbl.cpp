// What the end of the system frees, in order: the lists that point into the scene, the scene, then
// the buffers and flat tables the modules keep.
#include "app/sys.h"
#include "core/alc.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "display/lgt.h"
#include "scene/scene.h"
#include "terrain/trn.h"
#include "image/vecimg.h"
#include "cmd/undo.h"

void FreeEngBuf() {
    // Lists that point into the scene go before it.
    ClrCrvSlct();
    ClrUndo();
    ClrVtxSlct();
    ClrScn();
    FreeDrwBuf();
    // Flat light and material tables.
    FreeMem(PrmLgt);
    PrmLgt = nullptr;
    PrmLgtCap = 0;
    NumLgt = 0;
    FreeMem(RndrOGL_Mtl);
    RndrOGL_Mtl = nullptr;
    RndrOGL_MtlCap = 0;
    FreeMem(PrmMtl);
    PrmMtl = nullptr;
    NumMtl = 0;
    FreeVecImg();
}
