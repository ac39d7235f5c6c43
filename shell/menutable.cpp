#include "menutable.h"
#include <QtGlobal>
#include <unordered_map>
#include "cmdids.h"
#include "chkpanel.h"
#include "giscmd.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"
#include "terrain/trn_mth.h"
#include "tr.h"

namespace shl {

namespace {

// The methods' short names as the engine's labels begin them (MethodText), in TrnMethods' order.
const char* const kMethodNames[] = {
    QT_TRANSLATE_NOOP("Altimetra", "交差線による補間（標準）"),
    QT_TRANSLATE_NOOP("Altimetra", "最小曲率による補間"),
    QT_TRANSLATE_NOOP("Altimetra", "傾斜線に沿った補間"),
};
static_assert(sizeof kMethodNames / sizeof kMethodNames[0] == TrnMethodNum, "a short name for every method");

// The table with one radio item per generation method after 地形作成 (their texts: MethodText and
// MethodHelp, which follow the engine's table).
std::vector<CmdDef> WithMethods(std::vector<CmdDef> cmds) {
    auto at = cmds.begin();
    while (at != cmds.end() && at->id != IdTrnCreate) ++at;
    if (at != cmds.end()) ++at;
    std::vector<CmdDef> m;
    for (int k = 0; k < TrnMethodNum; ++k) m.push_back({IdTrnMethod0 + k, kMethodNames[k], "", nullptr, nullptr, AvAlways, 0, 0});
    cmds.insert(at, m.begin(), m.end());
    return cmds;
}

std::vector<int> MethodIds() {
    std::vector<int> ids;
    for (int k = 0; k < TrnMethodNum; ++k) ids.push_back(IdTrnMethod0 + k);
    return ids;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b, std::vector<int> c) {
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

// Fly-by help and tool tip follow the resource habit: a sentence for the status bar, a few words
// for the tip.
const std::vector<CmdDef> kCmds = WithMethods({
    // File.
    {IdFileNew, QT_TRANSLATE_NOOP("Altimetra", "新規作成(&N)"), QT_TRANSLATE_NOOP("Altimetra", "新しいシーンを作成する"), QT_TRANSLATE_NOOP("Altimetra", "新規作成"), "new", AvAlways, 0, 0},
    {IdFileOpen, QT_TRANSLATE_NOOP("Altimetra", "開く(&O)..."), QT_TRANSLATE_NOOP("Altimetra", "既存のシーンを開く"), QT_TRANSLATE_NOOP("Altimetra", "開く"), "open", AvAlways, 0, 0},
    {IdFileSave, QT_TRANSLATE_NOOP("Altimetra", "上書き保存(&S)"), QT_TRANSLATE_NOOP("Altimetra", "シーンを上書きして保存する"), QT_TRANSLATE_NOOP("Altimetra", "上書き保存"), "save", AvAlways, 0, 0},
    {IdFileSaveAs, QT_TRANSLATE_NOOP("Altimetra", "名前を付けて保存(&A)..."), QT_TRANSLATE_NOOP("Altimetra", "シーンに名前を付けて保存する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdDxfImport, QT_TRANSLATE_NOOP("Altimetra", "DXFﾌｧｲﾙの読み込み(&I)..."), QT_TRANSLATE_NOOP("Altimetra", "DXF形式の等高線を読み込む"), QT_TRANSLATE_NOOP("Altimetra", "DXF読み込み"), nullptr, AvAlways, 0, 0},
    {IdDxfExport, QT_TRANSLATE_NOOP("Altimetra", "DXF形式で保存(&D)..."), QT_TRANSLATE_NOOP("Altimetra", "地形をDXF形式で保存する"), QT_TRANSLATE_NOOP("Altimetra", "DXF形式で保存"), nullptr, AvAlways, 0, 0},
    {IdVrmlExport, QT_TRANSLATE_NOOP("Altimetra", "VRML形式で保存(&V)..."), QT_TRANSLATE_NOOP("Altimetra", "地形をVRML形式で保存する"), QT_TRANSLATE_NOOP("Altimetra", "VRML形式で保存"), nullptr, AvAlways, 0, 0},
    {IdStlExport, QT_TRANSLATE_NOOP("Altimetra", "STL形式で保存(&T)..."), QT_TRANSLATE_NOOP("Altimetra", "地形をSTL形式で保存する"), QT_TRANSLATE_NOOP("Altimetra", "STL形式で保存"), nullptr, AvAlways, 0, 0},
    {IdGldExport, QT_TRANSLATE_NOOP("Altimetra", "GLD形式で保存(&G)..."), QT_TRANSLATE_NOOP("Altimetra", "データをGLD形式で保存する"), QT_TRANSLATE_NOOP("Altimetra", "GLD形式で保存"), nullptr, AvAlways, 0, 0},
    {CmdGisImp, QT_TRANSLATE_NOOP("Altimetra", "GIS 等高線のインポート..."), QT_TRANSLATE_NOOP("Altimetra", "GIS形式(GeoPackage、Shapefile など)の等高線を読み込む"), nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisTif, QT_TRANSLATE_NOOP("Altimetra", "GeoTIFF 形式で保存..."), QT_TRANSLATE_NOOP("Altimetra", "地形をGeoTIFF形式で保存する"), nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisRst, QT_TRANSLATE_NOOP("Altimetra", "その他のラスター形式で保存..."), QT_TRANSLATE_NOOP("Altimetra", "地形をASCIIグリッドやXYZなどのラスター形式で保存する"), nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisVec, QT_TRANSLATE_NOOP("Altimetra", "等高線を GIS 形式で保存..."), QT_TRANSLATE_NOOP("Altimetra", "等高線をGeoPackageやShapefileで保存する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdPreferences, QT_TRANSLATE_NOOP("Altimetra", "環境設定..."), QT_TRANSLATE_NOOP("Altimetra", "ピックの大きさや接続距離などを設定する"), QT_TRANSLATE_NOOP("Altimetra", "環境設定"), "prefs", AvAlways, 0, 0},
    {IdFilePrint, QT_TRANSLATE_NOOP("Altimetra", "印刷(&P)..."), QT_TRANSLATE_NOOP("Altimetra", "表示中の画像を印刷する"), QT_TRANSLATE_NOOP("Altimetra", "印刷"), "print", AvAlways, 0, 0},
    {IdFilePrintPreview, QT_TRANSLATE_NOOP("Altimetra", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)"), QT_TRANSLATE_NOOP("Altimetra", "印刷イメージを表示する"), QT_TRANSLATE_NOOP("Altimetra", "印刷ﾌﾟﾚﾋﾞｭｰ"), nullptr, AvAlways, 0, 0},
    {IdFilePrintSetup, QT_TRANSLATE_NOOP("Altimetra", "ﾌﾟﾘﾝﾀの設定(&R)..."), QT_TRANSLATE_NOOP("Altimetra", "プリンタと用紙を設定する"), QT_TRANSLATE_NOOP("Altimetra", "ﾌﾟﾘﾝﾀの設定"), nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 0, QT_TRANSLATE_NOOP("Altimetra", "最近使ったﾌｧｲﾙ"), QT_TRANSLATE_NOOP("Altimetra", "このシーンを開く"), nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 1, "", QT_TRANSLATE_NOOP("Altimetra", "このシーンを開く"), nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 2, "", QT_TRANSLATE_NOOP("Altimetra", "このシーンを開く"), nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 3, "", QT_TRANSLATE_NOOP("Altimetra", "このシーンを開く"), nullptr, nullptr, AvAlways, 0, 0},
    {IdAppExit, QT_TRANSLATE_NOOP("Altimetra", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"), QT_TRANSLATE_NOOP("Altimetra", "アプリケーションを終了する"), QT_TRANSLATE_NOOP("Altimetra", "終了"), nullptr, AvAlways, 0, 0},

    // Edit.
    {IdEditUndo, QT_TRANSLATE_NOOP("Altimetra", "元に戻す(&U)"), QT_TRANSLATE_NOOP("Altimetra", "直前の編集を元に戻す"), QT_TRANSLATE_NOOP("Altimetra", "元に戻す"), nullptr, AvAlways, 0, 0},
    {IdEditRedo, QT_TRANSLATE_NOOP("Altimetra", "やり直し(&R)"), QT_TRANSLATE_NOOP("Altimetra", "元に戻した編集をやり直す"), QT_TRANSLATE_NOOP("Altimetra", "やり直し"), nullptr, AvAlways, 0, 0},
    {IdUndoOff, QT_TRANSLATE_NOOP("Altimetra", "ｱﾝﾄﾞｳの停止"), QT_TRANSLATE_NOOP("Altimetra", "アンドウの記録を停止する（大きなデータで速くなる）"), nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoOn, QT_TRANSLATE_NOOP("Altimetra", "ｱﾝﾄﾞｳの開始"), QT_TRANSLATE_NOOP("Altimetra", "アンドウの記録を開始する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoCutOff, QT_TRANSLATE_NOOP("Altimetra", "ｱﾝﾄﾞｳの停止(ｶｰﾌﾞを線で切断)"), QT_TRANSLATE_NOOP("Altimetra", "線による切断のアンドウ記録を停止する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoCutOn, QT_TRANSLATE_NOOP("Altimetra", "ｱﾝﾄﾞｳの開始(ｶｰﾌﾞを線で切断)"), QT_TRANSLATE_NOOP("Altimetra", "線による切断のアンドウ記録を開始する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdBoxUpdOff, QT_TRANSLATE_NOOP("Altimetra", "ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新OFF"), QT_TRANSLATE_NOOP("Altimetra", "編集のたびにバウンディングボックスを更新しない"), nullptr, nullptr, AvAlways, 0, 0},
    {IdBoxUpdOn, QT_TRANSLATE_NOOP("Altimetra", "ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新ON"), QT_TRANSLATE_NOOP("Altimetra", "編集のたびにバウンディングボックスを更新する"), nullptr, nullptr, AvAlways, 0, 0},

    // Curves.
    {IdDrawArea, QT_TRANSLATE_NOOP("Altimetra", "作図領域設定"), QT_TRANSLATE_NOOP("Altimetra", "作図する領域とグリッド間隔を設定する"), QT_TRANSLATE_NOOP("Altimetra", "作図領域設定"), "drawarea", Av2D, 0, 0},
    {IdCrvPntInput, QT_TRANSLATE_NOOP("Altimetra", "カーブのポイント入力"), QT_TRANSLATE_NOOP("Altimetra", "クリックした点でカーブを入力する"), QT_TRANSLATE_NOOP("Altimetra", "ポイント入力"), nullptr, Av2D, CatDrw2D, CmdCrvClk},
    {IdCrvStrkInput, QT_TRANSLATE_NOOP("Altimetra", "カーブのストローク入力"), QT_TRANSLATE_NOOP("Altimetra", "マウスのドラッグでカーブを入力する"), QT_TRANSLATE_NOOP("Altimetra", "ストローク入力"), "stroke", Av2D, CatDrw2D, CmdCrvStk},
    {IdAutoVec, QT_TRANSLATE_NOOP("Altimetra", "オートベクタライズ"), QT_TRANSLATE_NOOP("Altimetra", "地図画像から等高線を自動で抽出する"), QT_TRANSLATE_NOOP("Altimetra", "オートベクタライズ"), "autovec", Av2D, 0, 0},
    {IdCrvSlctAll, QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを選択"), QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを選択する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSlctAll},
    {IdCrvSlct, QT_TRANSLATE_NOOP("Altimetra", "カーブの選択"), QT_TRANSLATE_NOOP("Altimetra", "カーブをピックして選択する"), QT_TRANSLATE_NOOP("Altimetra", "カーブの選択"), "select", Av2D, CatDrw2D, CmdCrvSlctWnd},
    {IdCrvSlctNone, QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを非選択"), QT_TRANSLATE_NOOP("Altimetra", "カーブの選択を全て解除する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSlctNone},
    {IdCrvMove, QT_TRANSLATE_NOOP("Altimetra", "カーブの移動"), QT_TRANSLATE_NOOP("Altimetra", "選択したカーブをドラッグで移動する"), QT_TRANSLATE_NOOP("Altimetra", "カーブの移動"), "move", Av2D, CatDrw2D, CmdCrvMove},
    {IdCrvScale, QT_TRANSLATE_NOOP("Altimetra", "カーブのスケール"), QT_TRANSLATE_NOOP("Altimetra", "選択したカーブを倍率で拡大・縮小する"), nullptr, nullptr, Av2D, 0, 0},
    {IdCrvScaleDst, QT_TRANSLATE_NOOP("Altimetra", "カーブのスケール（距離指定）"), QT_TRANSLATE_NOOP("Altimetra", "2点間の距離を指定してカーブを拡大・縮小する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSclDst},
    {IdCrvRotate, QT_TRANSLATE_NOOP("Altimetra", "カーブの回転"), QT_TRANSLATE_NOOP("Altimetra", "選択したカーブを角度で回転する"), nullptr, nullptr, Av2D, 0, 0},
    {IdCrvHeight, QT_TRANSLATE_NOOP("Altimetra", "カーブの高さ"), QT_TRANSLATE_NOOP("Altimetra", "カーブに高さを設定する"), QT_TRANSLATE_NOOP("Altimetra", "カーブの高さ"), "height", Av2D, 0, 0},
    {IdHgtLinCmd, QT_TRANSLATE_NOOP("Altimetra", "線に沿って高さを設定"), QT_TRANSLATE_NOOP("Altimetra", "引いた線が横切るカーブに順に高さを設定する"), nullptr, nullptr, Av2D, 0, 0},
    {IdChkCmd, QT_TRANSLATE_NOOP("Altimetra", "等高線のチェック"), QT_TRANSLATE_NOOP("Altimetra", "交差や高さの誤りなど地形を損なう箇所を一覧する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdCrvConnect, QT_TRANSLATE_NOOP("Altimetra", "カーブの接続"), QT_TRANSLATE_NOOP("Altimetra", "2つのカーブの端点を接続する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvCnct},
    {IdCrvAutoConnect, QT_TRANSLATE_NOOP("Altimetra", "カーブの自動接続"), QT_TRANSLATE_NOOP("Altimetra", "矩形内の近い端点を自動で接続する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvAuto},
    {IdCrvCut, QT_TRANSLATE_NOOP("Altimetra", "カーブの切断"), QT_TRANSLATE_NOOP("Altimetra", "カーブを点で切断する"), nullptr, nullptr, Av2D, CatDrw2D, CmdCrvCut},
    {IdCrvCutLine, QT_TRANSLATE_NOOP("Altimetra", "カーブを線で切断"), QT_TRANSLATE_NOOP("Altimetra", "引いた線で全てのカーブを切断する"), QT_TRANSLATE_NOOP("Altimetra", "カーブを線で切断"), "cutline", Av2D, CatDrw2D, CmdCrvCutLin},
    {IdCrvDelPnt, QT_TRANSLATE_NOOP("Altimetra", "カーブの点削除"), QT_TRANSLATE_NOOP("Altimetra", "矩形内のカーブの点を削除する"), QT_TRANSLATE_NOOP("Altimetra", "カーブの点削除"), "delpnt", Av2D, CatDrw2D, CmdCrvDelPnt},
    {IdCrvDelete, QT_TRANSLATE_NOOP("Altimetra", "カーブの削除"), QT_TRANSLATE_NOOP("Altimetra", "ピックしたカーブを削除する"), QT_TRANSLATE_NOOP("Altimetra", "カーブの削除"), "delcrv", Av2D, CatDrw2D, CmdCrvDelOne},
    {IdCrvDelHidden, QT_TRANSLATE_NOOP("Altimetra", "非表示のカーブを削除"), QT_TRANSLATE_NOOP("Altimetra", "非表示のカーブを全て削除する"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvDelHid},
    {IdCrvDelZero, QT_TRANSLATE_NOOP("Altimetra", "高さゼロのカーブを削除"), QT_TRANSLATE_NOOP("Altimetra", "高さがゼロのカーブを全て削除する"), QT_TRANSLATE_NOOP("Altimetra", "高さゼロのカーブを削除"), "delzero", AvAlways, CatDrw2D, CmdCrvDelZero},
    {IdCrvDelAll, QT_TRANSLATE_NOOP("Altimetra", "カーブの全削除"), QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを削除する"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvDelAll},

    // Terrain.
    {IdTrnRegion, QT_TRANSLATE_NOOP("Altimetra", "領域指定"), QT_TRANSLATE_NOOP("Altimetra", "地形を作成する領域とメッシュ間隔を設定する"), QT_TRANSLATE_NOOP("Altimetra", "領域指定"), "region", Av2D, 0, 0},
    {IdTrnCreate, QT_TRANSLATE_NOOP("Altimetra", "地形作成"), QT_TRANSLATE_NOOP("Altimetra", "等高線から地形を作成する"), QT_TRANSLATE_NOOP("Altimetra", "地形作成"), "create", AvAlways, CatMdl, CmdTrnCre},
    {IdTrnFilter, QT_TRANSLATE_NOOP("Altimetra", "フィルター"), QT_TRANSLATE_NOOP("Altimetra", "傾斜角度で地形のとがりを取り除く"), QT_TRANSLATE_NOOP("Altimetra", "フィルター"), "filter", AvAlways, 0, 0},
    {IdTrnSlctPnt, QT_TRANSLATE_NOOP("Altimetra", "点を選択"), QT_TRANSLATE_NOOP("Altimetra", "地形の頂点をピックして選択する"), QT_TRANSLATE_NOOP("Altimetra", "点を選択"), "selpnt", Av3D, CatMdl, CmdVtxPick},
    {IdTrnDragHgt, QT_TRANSLATE_NOOP("Altimetra", "高さをドラッグ"), QT_TRANSLATE_NOOP("Altimetra", "選択した頂点の高さをドラッグで変える"), QT_TRANSLATE_NOOP("Altimetra", "高さをドラッグ"), "draghgt", Av3D, CatMdl, CmdVtxDrg},
    {IdTrnInputHgt, QT_TRANSLATE_NOOP("Altimetra", "高さを入力"), QT_TRANSLATE_NOOP("Altimetra", "選択した頂点の高さを入力する"), nullptr, nullptr, Av3D, 0, 0},
    {IdTrnDelete, QT_TRANSLATE_NOOP("Altimetra", "地形の削除"), QT_TRANSLATE_NOOP("Altimetra", "地形を削除する"), QT_TRANSLATE_NOOP("Altimetra", "地形の削除"), "deltrn", AvAlways, CatMdl, CmdTrnDel},

    // View.
    {IdCrvHidePick, QT_TRANSLATE_NOOP("Altimetra", "ピックしたカーブを非表示"), QT_TRANSLATE_NOOP("Altimetra", "ピックしたカーブを非表示にする"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHide},
    {IdCrvHideArea, QT_TRANSLATE_NOOP("Altimetra", "領域内のカーブを非表示"), QT_TRANSLATE_NOOP("Altimetra", "矩形内のカーブを非表示にする"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideWnd},
    {IdCrvHideZero, QT_TRANSLATE_NOOP("Altimetra", "高さゼロのカーブを非表示"), QT_TRANSLATE_NOOP("Altimetra", "高さがゼロのカーブを非表示にする"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideZero},
    {IdCrvHideAll, QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを非表示"), QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを非表示にする"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideAll},
    {IdCrvShowAll, QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを表示"), QT_TRANSLATE_NOOP("Altimetra", "全てのカーブを表示する"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvShowAll},
    {IdCrvInvertVis, QT_TRANSLATE_NOOP("Altimetra", "カーブの表示・非表示を反転"), QT_TRANSLATE_NOOP("Altimetra", "カーブの表示と非表示を入れ替える"), nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvVisInv},
    {IdTrnHide, QT_TRANSLATE_NOOP("Altimetra", "地形を非表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を非表示にする"), nullptr, nullptr, AvAlways, CatMdl, CmdTrnHid},
    {IdTrnShow, QT_TRANSLATE_NOOP("Altimetra", "地形を表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を表示する"), nullptr, nullptr, AvAlways, CatMdl, CmdTrnShw},
    {IdAxisHide, QT_TRANSLATE_NOOP("Altimetra", "座標軸を非表示"), QT_TRANSLATE_NOOP("Altimetra", "座標軸を非表示にする"), nullptr, nullptr, Av3D, 0, 0},
    {IdAxisShow, QT_TRANSLATE_NOOP("Altimetra", "座標軸を表示"), QT_TRANSLATE_NOOP("Altimetra", "座標軸を表示する"), nullptr, nullptr, Av3D, 0, 0},
    {IdColor, QT_TRANSLATE_NOOP("Altimetra", "カラー設定"), QT_TRANSLATE_NOOP("Altimetra", "地形の色を設定する"), QT_TRANSLATE_NOOP("Altimetra", "カラー設定"), "color", Av3D, 0, 0},
    {IdLight, QT_TRANSLATE_NOOP("Altimetra", "光源設定"), QT_TRANSLATE_NOOP("Altimetra", "光源の向きと明るさを設定する"), QT_TRANSLATE_NOOP("Altimetra", "光源設定"), "light", Av3D, 0, 0},
    {IdShading, QT_TRANSLATE_NOOP("Altimetra", "シェーディング表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を陰影付きで表示する"), QT_TRANSLATE_NOOP("Altimetra", "シェーディング表示"), "shading", Av3D, 0, 0},
    {IdWireframe, QT_TRANSLATE_NOOP("Altimetra", "ワイヤーフレーム表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を線で表示する"), QT_TRANSLATE_NOOP("Altimetra", "ワイヤーフレーム表示"), "wireframe", Av3D, 0, 0},
    {IdSlopeDsp, QT_TRANSLATE_NOOP("Altimetra", "傾斜角度表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を傾斜角度で色分けして表示する"), QT_TRANSLATE_NOOP("Altimetra", "傾斜角度表示"), "slope", Av3D, 0, 0},
    {IdReliefDsp, QT_TRANSLATE_NOOP("Altimetra", "段彩陰影表示"), QT_TRANSLATE_NOOP("Altimetra", "地形を高さの色と陰影で表示する（もう一度選ぶと元の表示に戻る）"), QT_TRANSLATE_NOOP("Altimetra", "段彩陰影表示"), "relief", AvAlways, CatDsp, CmdRelDsp},
    {IdErrorDsp, QT_TRANSLATE_NOOP("Altimetra", "予想誤差表示"), QT_TRANSLATE_NOOP("Altimetra", "地形の各点の高さの予想誤差（メートル）を色で表示する（もう一度選ぶと元の表示に戻る）"), QT_TRANSLATE_NOOP("Altimetra", "予想誤差表示"), "error", AvAlways, CatDsp, CmdErrDsp},
    {IdParallel, QT_TRANSLATE_NOOP("Altimetra", "平行投影"), QT_TRANSLATE_NOOP("Altimetra", "平行投影で表示する"), nullptr, nullptr, Av3D, CatDsp, CmdPrjPar},
    {IdPerspective, QT_TRANSLATE_NOOP("Altimetra", "透視投影"), QT_TRANSLATE_NOOP("Altimetra", "透視投影で表示する"), nullptr, nullptr, Av3D, CatDsp, CmdPrjPrs},
    {IdWalkMove, QT_TRANSLATE_NOOP("Altimetra", "ウォークスルーの視点の移動"), QT_TRANSLATE_NOOP("Altimetra", "目の高さで視点を移動する"), nullptr, nullptr, AvAlways, CatView, CmdWlkMode},
    {IdWalkTurn, QT_TRANSLATE_NOOP("Altimetra", "ウォークスルーの視線の回転"), QT_TRANSLATE_NOOP("Altimetra", "目の位置で視線を回転する"), nullptr, nullptr, AvAlways, CatView, CmdGazMode},

    // Toolbar only.
    {IdView2D, QT_TRANSLATE_NOOP("Altimetra", "2D"), QT_TRANSLATE_NOOP("Altimetra", "2次元表示に切り替える"), QT_TRANSLATE_NOOP("Altimetra", "2D表示"), "view2d", AvAlways, 0, 0},
    {IdView3D, QT_TRANSLATE_NOOP("Altimetra", "3D"), QT_TRANSLATE_NOOP("Altimetra", "3次元表示に切り替える"), QT_TRANSLATE_NOOP("Altimetra", "3D表示"), "view3d", AvAlways, 0, 0},
    {IdLoupe, QT_TRANSLATE_NOOP("Altimetra", "ルーペ"), QT_TRANSLATE_NOOP("Altimetra", "クリックした点や囲んだ範囲を拡大する"), QT_TRANSLATE_NOOP("Altimetra", "ルーペ"), "loupe", Av2D, CatView, CmdLpeMode},
    {IdZoom, QT_TRANSLATE_NOOP("Altimetra", "拡大・縮小"), QT_TRANSLATE_NOOP("Altimetra", "ドラッグで拡大・縮小する"), QT_TRANSLATE_NOOP("Altimetra", "拡大・縮小"), "zoom", AvAlways, CatDsp, CmdSclMode},
    {IdPan, QT_TRANSLATE_NOOP("Altimetra", "移動"), QT_TRANSLATE_NOOP("Altimetra", "ドラッグで表示を移動する"), QT_TRANSLATE_NOOP("Altimetra", "移動"), "pan", AvAlways, CatDsp, CmdShfMode},
    {IdRotate, QT_TRANSLATE_NOOP("Altimetra", "回転"), QT_TRANSLATE_NOOP("Altimetra", "ドラッグで視点を回転する"), QT_TRANSLATE_NOOP("Altimetra", "回転"), "rotate", Av3D, CatDsp, CmdRotMode},
    {IdFitView, QT_TRANSLATE_NOOP("Altimetra", "スナップ"), QT_TRANSLATE_NOOP("Altimetra", "全体が見えるように表示する"), QT_TRANSLATE_NOOP("Altimetra", "スナップ"), "fit", AvAlways, CatDsp, CmdFitView},
    {IdBirdsEye, QT_TRANSLATE_NOOP("Altimetra", "鳥瞰図"), QT_TRANSLATE_NOOP("Altimetra", "地形の周りを回って見る"), QT_TRANSLATE_NOOP("Altimetra", "鳥瞰図"), "birdseye", Av3D, CatView, CmdBrdMode},

    // Help.
    {IdHelpFinder, QT_TRANSLATE_NOOP("Altimetra", "ﾄﾋﾟｯｸの検索(&H)"), QT_TRANSLATE_NOOP("Altimetra", "ヘルプの目次を表示する"), QT_TRANSLATE_NOOP("Altimetra", "ヘルプ"), nullptr, AvAlways, 0, 0},
    {IdContextHelp, QT_TRANSLATE_NOOP("Altimetra", "ﾍﾙﾌﾟの対象"), QT_TRANSLATE_NOOP("Altimetra", "クリックした項目のヘルプを表示する"), QT_TRANSLATE_NOOP("Altimetra", "ﾍﾙﾌﾟの対象"), "help", AvAlways, 0, 0},
    {IdHelp, QT_TRANSLATE_NOOP("Altimetra", "ﾍﾙﾌﾟ"), QT_TRANSLATE_NOOP("Altimetra", "ヘルプの目次を表示する"), nullptr, nullptr, AvAlways, 0, 0},
    {IdHomePage, QT_TRANSLATE_NOOP("Altimetra", "Orvane ﾎｰﾑﾍﾟｰｼﾞ"), QT_TRANSLATE_NOOP("Altimetra", "Orvane のホームページをブラウザで開く"), nullptr, nullptr, AvAlways, 0, 0},
    {IdAppAbout, QT_TRANSLATE_NOOP("Altimetra", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."), QT_TRANSLATE_NOOP("Altimetra", "プログラムの情報とバージョンを表示する"), QT_TRANSLATE_NOOP("Altimetra", "ﾊﾞｰｼﾞｮﾝ情報"), nullptr, AvAlways, 0, 0},
});

const std::vector<MenuDef> kMenus = {
    {QT_TRANSLATE_NOOP("Altimetra", "ﾌｧｲﾙ(&F)"),
     {IdFileNew, IdFileOpen, IdFileSave, IdFileSaveAs, 0, IdDxfImport, IdDxfExport, IdVrmlExport,
      IdStlExport, IdGldExport, 0, CmdGisImp, CmdGisTif, CmdGisRst, CmdGisVec, 0, IdPreferences, 0, IdFilePrint, IdFilePrintPreview,
      IdFilePrintSetup, 0, IdFileMru1, IdFileMru1 + 1, IdFileMru1 + 2, IdFileMru1 + 3, 0, IdAppExit}},
    {QT_TRANSLATE_NOOP("Altimetra", "編集(&E)"),
     {IdEditUndo, IdEditRedo, 0, IdUndoOff, IdUndoOn, 0, IdUndoCutOff, IdUndoCutOn, 0, IdBoxUpdOff,
      IdBoxUpdOn}},
    {QT_TRANSLATE_NOOP("Altimetra", "等高線(&C)"),
     {IdDrawArea, 0, IdCrvPntInput, IdCrvStrkInput, IdAutoVec, 0, IdCrvSlctAll, IdCrvSlct,
      IdCrvSlctNone, 0, IdCrvMove, IdCrvScale, IdCrvScaleDst, IdCrvRotate, 0, IdCrvHeight, IdHgtLinCmd, IdChkCmd, 0,
      IdCrvConnect, IdCrvAutoConnect, IdCrvCut, IdCrvCutLine, IdCrvDelPnt, 0, IdCrvDelete,
      IdCrvDelHidden, IdCrvDelZero, IdCrvDelAll}},
    {QT_TRANSLATE_NOOP("Altimetra", "地形(&T)"),
     Concat({IdTrnRegion, 0, IdTrnCreate}, MethodIds(),
            {0, IdTrnFilter, 0, IdTrnSlctPnt, IdTrnDragHgt, IdTrnInputHgt, 0, IdTrnDelete})},
    {QT_TRANSLATE_NOOP("Altimetra", "表示(&V)"),
     {IdCrvHidePick, IdCrvHideArea, IdCrvHideZero, IdCrvHideAll, IdCrvShowAll, IdCrvInvertVis, 0,
      IdTrnHide, IdTrnShow, 0, IdAxisHide, IdAxisShow, 0, IdColor, IdLight, 0, IdShading,
      IdWireframe, IdSlopeDsp, IdReliefDsp, IdErrorDsp, 0, IdParallel, IdPerspective, 0, IdWalkMove, IdWalkTurn}},
    {QT_TRANSLATE_NOOP("Altimetra", "ﾍﾙﾌﾟ(&H)"), {IdHelpFinder, IdContextHelp, 0, IdHomePage, 0, IdAppAbout}},
};

const std::vector<ToolbarDef> kToolbars = {
    {TbMain, QT_TRANSLATE_NOOP("Altimetra", "標準"),
     {IdFileNew, IdFileOpen, IdFileSave, 0, IdView2D, IdView3D, 0, IdPreferences, 0, IdFilePrint,
      IdContextHelp}},
    {TbCurve, QT_TRANSLATE_NOOP("Altimetra", "等高線"),
     {IdDrawArea, 0, IdCrvStrkInput, IdAutoVec, 0, IdCrvCutLine, IdCrvDelPnt, IdCrvSlct, IdCrvMove,
      IdCrvHeight, 0, IdCrvDelete, IdCrvDelZero}},
    {TbTerrain, QT_TRANSLATE_NOOP("Altimetra", "地形"),
     {IdTrnRegion, 0, IdTrnCreate, IdTrnFilter, IdTrnSlctPnt, IdTrnDragHgt, 0, IdTrnDelete}},
    {TbDisplay, QT_TRANSLATE_NOOP("Altimetra", "表示方法"), {IdColor, IdLight, 0, IdShading, IdWireframe, IdSlopeDsp, IdReliefDsp, IdErrorDsp}},
    {TbView, QT_TRANSLATE_NOOP("Altimetra", "視点"), {IdLoupe, IdZoom, IdPan, IdRotate, IdBirdsEye, IdFitView}},
};

}  // namespace

const std::vector<CmdDef>& AllCmds() { return kCmds; }

const CmdDef* FindCmd(int id) {
    static const std::unordered_map<int, const CmdDef*> byId = [] {
        std::unordered_map<int, const CmdDef*> m;
        for (const CmdDef& c : kCmds) m.emplace(c.id, &c);
        return m;
    }();
    auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

const std::vector<MenuDef>& MenuBarDef() { return kMenus; }

const std::vector<ToolbarDef>& ToolbarsDef() { return kToolbars; }

int MethodOfCmd(int id) { return id >= IdTrnMethod0 && id < IdTrnMethod0 + TrnMethodNum ? id - IdTrnMethod0 : -1; }

namespace {
// The engine's label "NAME：DESCRIPTION" (a full-width colon), split.
QString LabelPart(int k, bool name) {
    const QString l = QString::fromUtf8(TrnMethods[k].label);
    const int cut = l.indexOf(QChar(0xFF1A));
    return cut < 0 ? (name ? l : QString()) : name ? l.left(cut) : l.mid(cut + 1);
}
}  // namespace

QString MethodText(int k) {
    if (k < 0 || k >= TrnMethodNum) return QString();
    // The short name is translated like any menu text; the description is the engine's own.
    return Tx::tr(LabelPart(k, true).toUtf8().constData());
}

QString MethodHelp(int k) {
    if (k < 0 || k >= TrnMethodNum) return QString();
    if (Tx::tr(LabelPart(k, true).toUtf8().constData()) != LabelPart(k, true))
        return QString::fromUtf8(TrnMethods[k].desc);
    return LabelPart(k, false);
}

}  // namespace shl
