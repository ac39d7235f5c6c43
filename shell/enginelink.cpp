#include <GL/gl.h>
#include "engcall.h"
#include "profile.h"
#include "viewlink.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "display/drw.h"
#include "display/view.h"
#include "platform/platform.h"

namespace shl {

void EngineLink::SetPtrPix(int x, int y) { ::SetPtrPix(x, y); }

void EngineLink::SetPtrKey(int vk) { ::SetPtrKey(vk); }

int EngineLink::IntrEvt(int type) {
    EngCall c;
    return ::IntrEvt(type);
}

int EngineLink::IntrCmd(int cat, int code) {
    EngCall c;
    return ::IntrCmd(cat, code);
}

int EngineLink::CurMode() { return CrntMode; }

void EngineLink::Flush() {
    FlushDrw();
    plt::Get()->GLFlushFront(0);
}

void EngineLink::SetWinSiz(int w, int h) {
    WinSizW = w;
    WinSizH = h;
}

void EngineLink::ViewOpen(bool) {}

void EngineLink::SetupWin() {}

void EngineLink::PaintWin() {
    // The picture is the background until the engine draws the scene itself.
    plt::Platform* p = plt::Get();
    if (!p->GLMakeCurrent(0)) return;
    p->GLDrawBuffer(0, plt::BufBack);
    const Profile& pr = CurProfile();
    glClearColor(float(pr.bg[0] / 255.0), float(pr.bg[1] / 255.0), float(pr.bg[2] / 255.0), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    p->GLSwap(0);
    p->GLDrawBuffer(0, plt::BufFront);
}

}  // namespace shl
