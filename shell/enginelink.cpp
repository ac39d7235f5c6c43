#include "engcall.h"
#include "viewlink.h"
#include "app/modetbl.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "display/drw.h"
#include "display/glctx.h"
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

void EngineLink::ViewOpen(bool open) {
    EngCall c;
    if (open)
        OpnGLWin(0);
    else
        ClsGLWin(0);
}

void EngineLink::SetupWin() {
    EngCall c;
    if (GLWin[0].needSetup) SetupGLWin(0);
}

void EngineLink::PaintWin() {
    EngCall c;
    ::PaintWin(0, nullptr);
}

}  // namespace shl
