#include "menutable.h"
#include <unordered_map>
#include "cmdids.h"
#include "chkpanel.h"
#include "giscmd.h"
#include "core/cmd.h"
#include "curves/crv_cmd.h"
#include "display/dsp_cmd.h"
#include "terrain/trn_cmd.h"

namespace shl {

namespace {

// Fly-by help and tool tip follow the resource habit: a sentence for the status bar, a few words
// for the tip.
const std::vector<CmdDef> kCmds = {
    // File.
    {IdFileNew, "新規作成(&N)", "新しいシーンを作成する", "新規作成", "new", AvAlways, 0, 0},
    {IdFileOpen, "開く(&O)...", "既存のシーンを開く", "開く", "open", AvAlways, 0, 0},
    {IdFileSave, "上書き保存(&S)", "シーンを上書きして保存する", "上書き保存", "save", AvAlways, 0, 0},
    {IdFileSaveAs, "名前を付けて保存(&A)...", "シーンに名前を付けて保存する", nullptr, nullptr, AvAlways, 0, 0},
    {IdDxfImport, "DXFﾌｧｲﾙの読み込み(&I)...", "DXF形式の等高線を読み込む", "DXF読み込み", nullptr, AvAlways, 0, 0},
    {IdDxfExport, "DXF形式で保存(&D)...", "地形をDXF形式で保存する", "DXF形式で保存", nullptr, AvAlways, 0, 0},
    {IdVrmlExport, "VRML形式で保存(&V)...", "地形をVRML形式で保存する", "VRML形式で保存", nullptr, AvAlways, 0, 0},
    {IdStlExport, "STL形式で保存(&T)...", "地形をSTL形式で保存する", "STL形式で保存", nullptr, AvAlways, 0, 0},
    {IdGldExport, "GLD形式で保存(&G)...", "データをGLD形式で保存する", "GLD形式で保存", nullptr, AvAlways, 0, 0},
    {CmdGisImp, "GIS 等高線のインポート...", "GIS形式(GeoPackage、Shapefile など)の等高線を読み込む", nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisTif, "GeoTIFF 形式で保存...", "地形をGeoTIFF形式で保存する", nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisRst, "その他のラスター形式で保存...", "地形をASCIIグリッドやXYZなどのラスター形式で保存する", nullptr, nullptr, AvAlways, 0, 0},
    {CmdGisVec, "等高線を GIS 形式で保存...", "等高線をGeoPackageやShapefileで保存する", nullptr, nullptr, AvAlways, 0, 0},
    {IdPreferences, "環境設定...", "ピックの大きさや接続距離などを設定する", "環境設定", "prefs", AvAlways, 0, 0},
    {IdFilePrint, "印刷(&P)...", "表示中の画像を印刷する", "印刷", "print", AvAlways, 0, 0},
    {IdFilePrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷イメージを表示する", "印刷ﾌﾟﾚﾋﾞｭｰ", nullptr, AvAlways, 0, 0},
    {IdFilePrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", "プリンタと用紙を設定する", "ﾌﾟﾘﾝﾀの設定", nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 0, "最近使ったﾌｧｲﾙ", "このシーンを開く", nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 1, "", "このシーンを開く", nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 2, "", "このシーンを開く", nullptr, nullptr, AvAlways, 0, 0},
    {IdFileMru1 + 3, "", "このシーンを開く", nullptr, nullptr, AvAlways, 0, 0},
    {IdAppExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "アプリケーションを終了する", "終了", nullptr, AvAlways, 0, 0},

    // Edit.
    {IdEditUndo, "元に戻す(&U)", "直前の編集を元に戻す", "元に戻す", nullptr, AvAlways, 0, 0},
    {IdEditRedo, "やり直し(&R)", "元に戻した編集をやり直す", "やり直し", nullptr, AvAlways, 0, 0},
    {IdUndoOff, "ｱﾝﾄﾞｳの停止", "アンドウの記録を停止する（大きなデータで速くなる）", nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoOn, "ｱﾝﾄﾞｳの開始", "アンドウの記録を開始する", nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoCutOff, "ｱﾝﾄﾞｳの停止(ｶｰﾌﾞを線で切断)", "線による切断のアンドウ記録を停止する", nullptr, nullptr, AvAlways, 0, 0},
    {IdUndoCutOn, "ｱﾝﾄﾞｳの開始(ｶｰﾌﾞを線で切断)", "線による切断のアンドウ記録を開始する", nullptr, nullptr, AvAlways, 0, 0},
    {IdBoxUpdOff, "ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新OFF", "編集のたびにバウンディングボックスを更新しない", nullptr, nullptr, AvAlways, 0, 0},
    {IdBoxUpdOn, "ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新ON", "編集のたびにバウンディングボックスを更新する", nullptr, nullptr, AvAlways, 0, 0},

    // Curves.
    {IdDrawArea, "作図領域設定", "作図する領域とグリッド間隔を設定する", "作図領域設定", "drawarea", Av2D, 0, 0},
    {IdCrvPntInput, "カーブのポイント入力", "クリックした点でカーブを入力する", "ポイント入力", nullptr, Av2D, CatDrw2D, CmdCrvClk},
    {IdCrvStrkInput, "カーブのストローク入力", "マウスのドラッグでカーブを入力する", "ストローク入力", "stroke", Av2D, CatDrw2D, CmdCrvStk},
    {IdAutoVec, "オートベクタライズ", "地図画像から等高線を自動で抽出する", "オートベクタライズ", "autovec", Av2D, 0, 0},
    {IdCrvSlctAll, "全てのカーブを選択", "全てのカーブを選択する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSlctAll},
    {IdCrvSlct, "カーブの選択", "カーブをピックして選択する", "カーブの選択", "select", Av2D, CatDrw2D, CmdCrvSlctWnd},
    {IdCrvSlctNone, "全てのカーブを非選択", "カーブの選択を全て解除する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSlctNone},
    {IdCrvMove, "カーブの移動", "選択したカーブをドラッグで移動する", "カーブの移動", "move", Av2D, CatDrw2D, CmdCrvMove},
    {IdCrvScale, "カーブのスケール", "選択したカーブを倍率で拡大・縮小する", nullptr, nullptr, Av2D, 0, 0},
    {IdCrvScaleDst, "カーブのスケール（距離指定）", "2点間の距離を指定してカーブを拡大・縮小する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvSclDst},
    {IdCrvRotate, "カーブの回転", "選択したカーブを角度で回転する", nullptr, nullptr, Av2D, 0, 0},
    {IdCrvHeight, "カーブの高さ", "カーブに高さを設定する", "カーブの高さ", "height", Av2D, 0, 0},
    {IdHgtLinCmd, "線に沿って高さを設定", "引いた線が横切るカーブに順に高さを設定する", nullptr, nullptr, Av2D, 0, 0},
    {IdChkCmd, "等高線のチェック", "交差や高さの誤りなど地形を損なう箇所を一覧する", nullptr, nullptr, AvAlways, 0, 0},
    {IdCrvConnect, "カーブの接続", "2つのカーブの端点を接続する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvCnct},
    {IdCrvAutoConnect, "カーブの自動接続", "矩形内の近い端点を自動で接続する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvAuto},
    {IdCrvCut, "カーブの切断", "カーブを点で切断する", nullptr, nullptr, Av2D, CatDrw2D, CmdCrvCut},
    {IdCrvCutLine, "カーブを線で切断", "引いた線で全てのカーブを切断する", "カーブを線で切断", "cutline", Av2D, CatDrw2D, CmdCrvCutLin},
    {IdCrvDelPnt, "カーブの点削除", "矩形内のカーブの点を削除する", "カーブの点削除", "delpnt", Av2D, CatDrw2D, CmdCrvDelPnt},
    {IdCrvDelete, "カーブの削除", "ピックしたカーブを削除する", "カーブの削除", "delcrv", Av2D, CatDrw2D, CmdCrvDelOne},
    {IdCrvDelHidden, "非表示のカーブを削除", "非表示のカーブを全て削除する", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvDelHid},
    {IdCrvDelZero, "高さゼロのカーブを削除", "高さがゼロのカーブを全て削除する", "高さゼロのカーブを削除", "delzero", AvAlways, CatDrw2D, CmdCrvDelZero},
    {IdCrvDelAll, "カーブの全削除", "全てのカーブを削除する", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvDelAll},

    // Terrain.
    {IdTrnRegion, "領域指定", "地形を作成する領域とメッシュ間隔を設定する", "領域指定", "region", Av2D, 0, 0},
    {IdTrnCreate, "地形作成", "等高線から地形を作成する", "地形作成", "create", AvAlways, CatMdl, CmdTrnCre},
    {IdTrnFilter, "フィルター", "傾斜角度で地形のとがりを取り除く", "フィルター", "filter", AvAlways, 0, 0},
    {IdTrnSlctPnt, "点を選択", "地形の頂点をピックして選択する", "点を選択", "selpnt", Av3D, CatMdl, CmdVtxPick},
    {IdTrnDragHgt, "高さをドラッグ", "選択した頂点の高さをドラッグで変える", "高さをドラッグ", "draghgt", Av3D, CatMdl, CmdVtxDrg},
    {IdTrnInputHgt, "高さを入力", "選択した頂点の高さを入力する", nullptr, nullptr, Av3D, 0, 0},
    {IdTrnDelete, "地形の削除", "地形を削除する", "地形の削除", "deltrn", AvAlways, CatMdl, CmdTrnDel},

    // View.
    {IdCrvHidePick, "ピックしたカーブを非表示", "ピックしたカーブを非表示にする", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHide},
    {IdCrvHideArea, "領域内のカーブを非表示", "矩形内のカーブを非表示にする", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideWnd},
    {IdCrvHideZero, "高さゼロのカーブを非表示", "高さがゼロのカーブを非表示にする", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideZero},
    {IdCrvHideAll, "全てのカーブを非表示", "全てのカーブを非表示にする", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvHideAll},
    {IdCrvShowAll, "全てのカーブを表示", "全てのカーブを表示する", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvShowAll},
    {IdCrvInvertVis, "カーブの表示・非表示を反転", "カーブの表示と非表示を入れ替える", nullptr, nullptr, AvAlways, CatDrw2D, CmdCrvVisInv},
    {IdTrnHide, "地形を非表示", "地形を非表示にする", nullptr, nullptr, AvAlways, CatMdl, CmdTrnHid},
    {IdTrnShow, "地形を表示", "地形を表示する", nullptr, nullptr, AvAlways, CatMdl, CmdTrnShw},
    {IdAxisHide, "座標軸を非表示", "座標軸を非表示にする", nullptr, nullptr, Av3D, 0, 0},
    {IdAxisShow, "座標軸を表示", "座標軸を表示する", nullptr, nullptr, Av3D, 0, 0},
    {IdColor, "カラー設定", "地形の色を設定する", "カラー設定", "color", Av3D, 0, 0},
    {IdLight, "光源設定", "光源の向きと明るさを設定する", "光源設定", "light", Av3D, 0, 0},
    {IdShading, "シェーディング表示", "地形を陰影付きで表示する", "シェーディング表示", "shading", Av3D, 0, 0},
    {IdWireframe, "ワイヤーフレーム表示", "地形を線で表示する", "ワイヤーフレーム表示", "wireframe", Av3D, 0, 0},
    {IdSlopeDsp, "傾斜角度表示", "地形を傾斜角度で色分けして表示する", "傾斜角度表示", "slope", Av3D, 0, 0},
    {IdReliefDsp, "段彩陰影表示", "地形を高さの色と陰影で表示する（もう一度選ぶと元の表示に戻る）", "段彩陰影表示", "relief", AvAlways, CatDsp, CmdRelDsp},
    {IdParallel, "平行投影", "平行投影で表示する", nullptr, nullptr, Av3D, CatDsp, CmdPrjPar},
    {IdPerspective, "透視投影", "透視投影で表示する", nullptr, nullptr, Av3D, CatDsp, CmdPrjPrs},
    {IdWalkMove, "ウォークスルーの視点の移動", "目の高さで視点を移動する", nullptr, nullptr, AvAlways, CatView, CmdWlkMode},
    {IdWalkTurn, "ウォークスルーの視線の回転", "目の位置で視線を回転する", nullptr, nullptr, AvAlways, CatView, CmdGazMode},

    // Toolbar only.
    {IdView2D, "2D", "2次元表示に切り替える", "2D表示", "view2d", AvAlways, 0, 0},
    {IdView3D, "3D", "3次元表示に切り替える", "3D表示", "view3d", AvAlways, 0, 0},
    {IdLoupe, "ルーペ", "クリックした点や囲んだ範囲を拡大する", "ルーペ", "loupe", Av2D, CatView, CmdLpeMode},
    {IdZoom, "拡大・縮小", "ドラッグで拡大・縮小する", "拡大・縮小", "zoom", AvAlways, CatDsp, CmdSclMode},
    {IdPan, "移動", "ドラッグで表示を移動する", "移動", "pan", AvAlways, CatDsp, CmdShfMode},
    {IdRotate, "回転", "ドラッグで視点を回転する", "回転", "rotate", Av3D, CatDsp, CmdRotMode},
    {IdFitView, "スナップ", "全体が見えるように表示する", "スナップ", "fit", AvAlways, CatDsp, CmdFitView},
    {IdBirdsEye, "鳥瞰図", "地形の周りを回って見る", "鳥瞰図", "birdseye", Av3D, CatView, CmdBrdMode},

    // Help.
    {IdHelpFinder, "ﾄﾋﾟｯｸの検索(&H)", "ヘルプの目次を表示する", "ヘルプ", nullptr, AvAlways, 0, 0},
    {IdContextHelp, "ﾍﾙﾌﾟの対象", "クリックした項目のヘルプを表示する", "ﾍﾙﾌﾟの対象", "help", AvAlways, 0, 0},
    {IdHelp, "ﾍﾙﾌﾟ", "ヘルプの目次を表示する", nullptr, nullptr, AvAlways, 0, 0},
    {IdHomePage, "Orvane ﾎｰﾑﾍﾟｰｼﾞ", "Orvane のホームページをブラウザで開く", nullptr, nullptr, AvAlways, 0, 0},
    {IdAppAbout, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "プログラムの情報とバージョンを表示する", "ﾊﾞｰｼﾞｮﾝ情報", nullptr, AvAlways, 0, 0},
};

const std::vector<MenuDef> kMenus = {
    {"ﾌｧｲﾙ(&F)",
     {IdFileNew, IdFileOpen, IdFileSave, IdFileSaveAs, 0, IdDxfImport, IdDxfExport, IdVrmlExport,
      IdStlExport, IdGldExport, 0, CmdGisImp, CmdGisTif, CmdGisRst, CmdGisVec, 0, IdPreferences, 0, IdFilePrint, IdFilePrintPreview,
      IdFilePrintSetup, 0, IdFileMru1, IdFileMru1 + 1, IdFileMru1 + 2, IdFileMru1 + 3, 0, IdAppExit}},
    {"編集(&E)",
     {IdEditUndo, IdEditRedo, 0, IdUndoOff, IdUndoOn, 0, IdUndoCutOff, IdUndoCutOn, 0, IdBoxUpdOff,
      IdBoxUpdOn}},
    {"等高線(&C)",
     {IdDrawArea, 0, IdCrvPntInput, IdCrvStrkInput, IdAutoVec, 0, IdCrvSlctAll, IdCrvSlct,
      IdCrvSlctNone, 0, IdCrvMove, IdCrvScale, IdCrvScaleDst, IdCrvRotate, 0, IdCrvHeight, IdHgtLinCmd, IdChkCmd, 0,
      IdCrvConnect, IdCrvAutoConnect, IdCrvCut, IdCrvCutLine, IdCrvDelPnt, 0, IdCrvDelete,
      IdCrvDelHidden, IdCrvDelZero, IdCrvDelAll}},
    {"地形(&T)",
     {IdTrnRegion, 0, IdTrnCreate, IdTrnFilter, 0, IdTrnSlctPnt, IdTrnDragHgt, IdTrnInputHgt, 0,
      IdTrnDelete}},
    {"表示(&V)",
     {IdCrvHidePick, IdCrvHideArea, IdCrvHideZero, IdCrvHideAll, IdCrvShowAll, IdCrvInvertVis, 0,
      IdTrnHide, IdTrnShow, 0, IdAxisHide, IdAxisShow, 0, IdColor, IdLight, 0, IdShading,
      IdWireframe, IdSlopeDsp, IdReliefDsp, 0, IdParallel, IdPerspective, 0, IdWalkMove, IdWalkTurn}},
    {"ﾍﾙﾌﾟ(&H)", {IdHelpFinder, IdContextHelp, 0, IdHomePage, 0, IdAppAbout}},
};

const std::vector<ToolbarDef> kToolbars = {
    {TbMain, "標準",
     {IdFileNew, IdFileOpen, IdFileSave, 0, IdView2D, IdView3D, 0, IdPreferences, 0, IdFilePrint,
      IdContextHelp}},
    {TbCurve, "等高線",
     {IdDrawArea, 0, IdCrvStrkInput, IdAutoVec, 0, IdCrvCutLine, IdCrvDelPnt, IdCrvSlct, IdCrvMove,
      IdCrvHeight, 0, IdCrvDelete, IdCrvDelZero}},
    {TbTerrain, "地形",
     {IdTrnRegion, 0, IdTrnCreate, IdTrnFilter, IdTrnSlctPnt, IdTrnDragHgt, 0, IdTrnDelete}},
    {TbDisplay, "表示方法", {IdColor, IdLight, 0, IdShading, IdWireframe, IdSlopeDsp, IdReliefDsp}},
    {TbView, "視点", {IdLoupe, IdZoom, IdPan, IdRotate, IdBirdsEye, IdFitView}},
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

}  // namespace shl
