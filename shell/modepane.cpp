#include "modepane.h"
#include "chkpanel.h"
#include "cmdids.h"
#include "core/mode.h"
#include "core/msg.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"

namespace shl {

namespace {

// One line per mode: the command that starts it and what the buttons do, in each interface
// language. The right button leaves every mode; Esc does as the right button.
struct ModeLine {
    int mode;
    int cmd;
    const char* ja;
    const char* en;
};

const ModeLine kModes[] = {
    {ModeCrvClk, IdCrvPntInput, "左: 点を入力　右・Esc: カーブを終えて終了",
     "left: add a point   right/Esc: end the curve and quit"},
    {ModeCrvStk, IdCrvStrkInput, "左ドラッグ: カーブを描く　右・Esc: 終了",
     "left drag: draw a curve   right/Esc: quit"},
    {ModeCrvCnct, IdCrvConnect, "左: 接続するカーブの端をピック　右・Esc: 終了",
     "left: pick the curve ends to join   right/Esc: quit"},
    {ModeCrvAuto, IdCrvAutoConnect, "左ドラッグ: 自動接続する範囲を囲む　右・Esc: 終了",
     "left drag: box the ends to join   right/Esc: quit"},
    {ModeCrvDelOne, IdCrvDelete, "左: 削除するカーブをピック　右・Esc: 終了",
     "left: pick the curve to delete   right/Esc: quit"},
    {ModeCrvDelPnt, IdCrvDelPnt, "左ドラッグ: 削除する点を囲む　右・Esc: 終了",
     "left drag: box the points to delete   right/Esc: quit"},
    {ModeCrvCut, IdCrvCut, "左: 切断する点をピック　右・Esc: 終了",
     "left: pick the point to cut at   right/Esc: quit"},
    {ModeCrvHide, IdCrvHidePick, "左: 非表示にするカーブをピック　右・Esc: 終了",
     "left: pick the curve to hide   right/Esc: quit"},
    {ModeCrvCutLin, IdCrvCutLine, "左ドラッグ: 切断する線を引く　右・Esc: 終了",
     "left drag: draw the cutting line   right/Esc: quit"},
    {ModeCrvHgt, IdCrvHeight, "左: ピックしたカーブにこの高さを与える　右・Esc: 終了",
     "left: give the picked curve this height   right/Esc: quit"},
    {ModeCrvHgtLin, IdHgtLinCmd, "左ドラッグ: 高さを与えるカーブを横切る線を引く　右・Esc: 終了",
     "left drag: draw a line across the curves to give heights   right/Esc: quit"},
    {ModeRgn, IdTrnRegion, "左ドラッグ: 地形の領域を囲む　右・Esc: 終了",
     "left drag: box the terrain region   right/Esc: quit"},
    {ModeCrvSlctWnd, IdCrvSlct, "左ドラッグ: 選択するカーブを横切って囲む　右・Esc: 終了",
     "left drag: box across the curves to select   right/Esc: quit"},
    {ModeCrvMove, IdCrvMove, "左ドラッグ: 選択したカーブを移動　右・Esc: 終了",
     "left drag: move the selected curves   right/Esc: quit"},
    {ModeCrvSclDst, IdCrvScaleDst, "左ドラッグ: 距離を測る2点を指定　右・Esc: 終了",
     "left drag: pick the two points to measure   right/Esc: quit"},
    {ModeCrvHideWnd, IdCrvHideArea, "左ドラッグ: 非表示にするカーブを囲む　右・Esc: 終了",
     "left drag: box the curves to hide   right/Esc: quit"},
    {ModeVtxPick, IdTrnSlctPnt, "左ドラッグ: 選択する頂点を囲む　右・Esc: 終了",
     "left drag: box the vertices to select   right/Esc: quit"},
    {ModeVtxDrg, IdTrnDragHgt, "左ドラッグ: 上・右で高く、下・左で低く　右・Esc: 終了",
     "left drag: up or right raises, down or left lowers   right/Esc: quit"},
    {ModeScl, IdZoom, "左ドラッグ: 拡大・縮小　右・Esc: 終了", "left drag: zoom   right/Esc: quit"},
    {ModeShf, IdPan, "左ドラッグ: 表示を移動　中: 奥行きを移動　右・Esc: 終了",
     "left drag: pan   middle: move in depth   right/Esc: quit"},
    {ModeRot, IdRotate, "左ドラッグ: 回転　中: 視線の周りに回転　右・Esc: 終了",
     "left drag: rotate   middle: roll   right/Esc: quit"},
    {ModeLpe, IdLoupe, "左: クリックした点・囲んだ範囲を拡大　中: 縮小　右・Esc: 終了",
     "left: zoom in at the point or box   middle: zoom out   right/Esc: quit"},
    {ModeWlk, IdWalkMove, "左ドラッグ: 歩く（押した点からの距離で速さ）　右・Esc: 終了",
     "left drag: walk (the distance from the press sets the speed)   right/Esc: quit"},
    {ModeBrd, IdBirdsEye, "左ドラッグ: 周りを回る（押した点からの距離で速さ）　右・Esc: 終了",
     "left drag: orbit (the distance from the press sets the speed)   right/Esc: quit"},
    {ModeGaz, IdWalkTurn, "左ドラッグ: 視線を回す（押した点からの距離で速さ）　右・Esc: 終了",
     "left drag: turn (the distance from the press sets the speed)   right/Esc: quit"},
};

const ModeLine* Find(int mode) {
    for (const ModeLine& m : kModes)
        if (m.mode == mode) return &m;
    return nullptr;
}

}  // namespace

int ModeCmdId(int mode) {
    const ModeLine* m = Find(mode);
    return m ? m->cmd : 0;
}

bool IsModeCmd(int id) {
    for (const ModeLine& m : kModes)
        if (m.cmd == id) return true;
    return false;
}

QString ModePaneText(int mode, const QString& menuText, const QString& heightText) {
    const ModeLine* m = Find(mode);
    if (!m) return QString();
    QString name = menuText;
    name.remove('&');
    if (name.endsWith(QLatin1String("..."))) name.chop(3);
    if (mode == ModeCrvHgt && !heightText.isEmpty()) name += QLatin1Char(' ') + heightText;
    return name + QStringLiteral(" — ") + QString::fromUtf8(MsgTx(m->ja, m->en));
}

}  // namespace shl
