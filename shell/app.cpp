#include "app.h"
#include "app/sys.h"
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <memory>
#include "core/cmd.h"
#include "core/state.h"
#include "engcall.h"
#include "profile.h"
#include "scene/scene.h"
#include "doc/doc.h"

namespace shl {

void StartEngine() {
    EngCall c;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QSize px = s->size() * s->devicePixelRatio();
        ScrPixW = px.width();
        ScrPixH = px.height();
    }
    StartEng([](void*) {
        std::unique_ptr<QSettings> s(OpenUserProfile());
        LoadProfile(*s, CurProfile());
    });
}

void EndEngine() {
    EngCall c;
    SavPrm();
    {
        std::unique_ptr<QSettings> s(OpenUserProfile());
        SaveProfile(*s, CurProfile());
    }
    if (EngineRunning()) DstrCmd(CatSys, CmdSysEnd);
}

// The end of the engine frees the scene, terrain product included.
bool EngineRunning() { return TrnPrd != nullptr; }

}  // namespace shl
