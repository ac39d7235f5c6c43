#include "app.h"
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <memory>
#include "core/cmd.h"
#include "core/state.h"
#include "engcall.h"
#include "profile.h"
#include "scene/scene.h"

namespace shl {

void StartEngine() {
    EngCall c;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QSize px = s->size() * s->devicePixelRatio();
        ScrPixW = px.width();
        ScrPixH = px.height();
    }
    MkTmpNam();
    SetPrmDef();
    {
        std::unique_ptr<QSettings> s(OpenUserProfile());
        LoadProfile(*s, CurProfile());
    }
    StoPrm();
    AplPrm();
    DstrCmd(99, 200000);
    IniScn();
    IniTrnScn();
}

void EndEngine() {
    EngCall c;
    SavPrm();
    {
        std::unique_ptr<QSettings> s(OpenUserProfile());
        SaveProfile(*s, CurProfile());
    }
    if (EngineRunning()) DstrCmd(99, 200005);
}

// The end of the engine frees the scene, terrain product included.
bool EngineRunning() { return TrnPrd != nullptr; }

}  // namespace shl
