<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Altimetra</name>
    <message>
        <source>緯度・経度の範囲</source>
        <translation>Latitude and Longitude Range</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Lower left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Upper right</translation>
    </message>
    <message>
        <source>緯度</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>経度</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>度</source>
        <translation>°</translation>
    </message>
    <message>
        <source>分</source>
        <translation>&apos;</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>&quot;</translation>
    </message>
    <message>
        <source>距離を固定</source>
        <translation>Keep the distance</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>ライトの設定</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>方位角（度）</source>
        <translation>Azimuth (°)</translation>
    </message>
    <message>
        <source>仰角（度）</source>
        <translation>Elevation (°)</translation>
    </message>
    <message>
        <source>0 から 359 までの整数を入力してください。</source>
        <translation>Enter a whole number from 0 to 359.</translation>
    </message>
    <message>
        <source>0 から 90 までの整数を入力してください。</source>
        <translation>Enter a whole number from 0 to 90.</translation>
    </message>
    <message>
        <source>北(0°)</source>
        <translation>North (0°)</translation>
    </message>
    <message>
        <source>90°</source>
        <translation>90°</translation>
    </message>
    <message>
        <source>0°</source>
        <translation>0°</translation>
    </message>
    <message>
        <source>方位角</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>仰角</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>光源がありません。</source>
        <translation>There is no light.</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>出力単位の設定</source>
        <translation>Output Unit</translation>
    </message>
    <message>
        <source>入力単位の設定</source>
        <translation>Input Unit</translation>
    </message>
    <message>
        <source>色の設定</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>地形のマテリアルがありません。</source>
        <translation>The terrain has no material.</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Orvane Altimetra</translation>
    </message>
    <message>
        <source>等高線から数値地形モデルを作成します。</source>
        <translation>Builds digital terrain models from contour lines.</translation>
    </message>
    <message>
        <source>距離を指定しｶｰﾌﾞをスケール</source>
        <translation>Scale Curves by Distance</translation>
    </message>
    <message>
        <source>測定した距離</source>
        <translation>Measured distance</translation>
    </message>
    <message>
        <source>実際の距離</source>
        <translation>Real distance</translation>
    </message>
    <message>
        <source>測定した距離が 0 です。
離れた 2 点を指定してください。</source>
        <translation>The measured distance is 0.
Pick two points apart from each other.</translation>
    </message>
    <message>
        <source>倍率を計算できません。</source>
        <translation>The scale factor cannot be computed.</translation>
    </message>
    <message>
        <source>環境設定</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>背景色...</source>
        <translation>Background Colour...</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>英語 (English)</source>
        <translation>English</translation>
    </message>
    <message>
        <source>システムに従う</source>
        <translation>Follow the system</translation>
    </message>
    <message>
        <source>ピックの範囲（ピクセル）</source>
        <translation>Pick aperture (pixels)</translation>
    </message>
    <message>
        <source>自動接続の距離（ピクセル）</source>
        <translation>Auto-connect distance (pixels)</translation>
    </message>
    <message>
        <source>同じ高さとみなす距離（mm）</source>
        <translation>Same-height distance (mm)</translation>
    </message>
    <message>
        <source>等高線の色の範囲（m）</source>
        <translation>Contour colour range (m)</translation>
    </message>
    <message>
        <source>生成方法</source>
        <translation>Generation method</translation>
    </message>
    <message>
        <source>表示の背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>言語 / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>フィルター</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>外周部の直線補間</source>
        <translation>Linear interpolation along the edges</translation>
    </message>
    <message>
        <source>最大傾斜角度（度）</source>
        <translation>Maximum slope angle (°)</translation>
    </message>
    <message>
        <source>傾斜角度表示</source>
        <translation>Slope Display</translation>
    </message>
    <message>
        <source>しきい値 %1（度）</source>
        <translation>Threshold %1 (°)</translation>
    </message>
    <message>
        <source>最大傾斜角度</source>
        <translation>Maximum slope angle</translation>
    </message>
    <message>
        <source>平均傾斜角度</source>
        <translation>Mean slope angle</translation>
    </message>
    <message>
        <source>傾斜角度</source>
        <translation>Slope angle</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>カーブの高さ</source>
        <translation>Curve Height</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>頂点の高さ</source>
        <translation>Vertex Height</translation>
    </message>
    <message>
        <source>ｶｰﾌﾞのスケール</source>
        <translation>Scale Curves</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Scale factor</translation>
    </message>
    <message>
        <source>ｶｰﾌﾞの回転</source>
        <translation>Rotate Curves</translation>
    </message>
    <message>
        <source>回転角度（度）</source>
        <translation>Rotation angle (°)</translation>
    </message>
    <message>
        <source>作図領域設定</source>
        <translation>Drawing Area</translation>
    </message>
    <message>
        <source>作図領域の幅</source>
        <translation>Drawing area width</translation>
    </message>
    <message>
        <source>ﾒｯｼｭ領域設定</source>
        <translation>Mesh Region</translation>
    </message>
    <message>
        <source>マウスによりメッシュ領域を設定</source>
        <translation>Set the Mesh Region with the Mouse</translation>
    </message>
    <message>
        <source>メッシュ領域</source>
        <translation>Mesh region</translation>
    </message>
    <message>
        <source>メッシュ間隔</source>
        <translation>Mesh interval</translation>
    </message>
    <message>
        <source>地形を作成する領域をマウスでドラッグして下さい。</source>
        <translation>Drag the region of the terrain with the mouse.</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 から %2 までの数値を入力してください。</source>
        <translation>Enter a number from %1 to %2.</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>ｼｰﾝﾃﾞｰﾀ(*.scn)</source>
        <translation>Scenes (*.scn)</translation>
    </message>
    <message>
        <source>DXFﾃﾞｰﾀ(*.dxf)</source>
        <translation>DXF drawings (*.dxf)</translation>
    </message>
    <message>
        <source>VRMLﾃﾞｰﾀ(*.wrl)</source>
        <translation>VRML worlds (*.wrl)</translation>
    </message>
    <message>
        <source>STLﾃﾞｰﾀ(*.stl)</source>
        <translation>STL meshes (*.stl)</translation>
    </message>
    <message>
        <source>GLDﾃﾞｰﾀ(*.gld)</source>
        <translation>GLD height files (*.gld)</translation>
    </message>
    <message>
        <source>
このファイルはすでに存在します。
上書きしますか？</source>
        <translation>
This file already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダーが見つかりません</source>
        <translation>No such file or folder</translation>
    </message>
    <message>
        <source>アクセスが拒否されました</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>フォルダーです</source>
        <translation>It is a folder</translation>
    </message>
    <message>
        <source>読み取り専用のドライブです</source>
        <translation>The drive is read-only</translation>
    </message>
    <message>
        <source>パスの途中がフォルダーではありません</source>
        <translation>A part of the path is not a folder</translation>
    </message>
    <message>
        <source>
ファイルに書き込めません: </source>
        <translation>
The file cannot be written: </translation>
    </message>
    <message>
        <source>
ファイルが開けませんでした: </source>
        <translation>
The file could not be opened: </translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>DXF読み込み</source>
        <translation>Import DXF</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>GIS 等高線のインポート</source>
        <translation>Import GIS Contours</translation>
    </message>
    <message>
        <source>（線なし）</source>
        <translation> (no lines)</translation>
    </message>
    <message>
        <source>（%1 件）</source>
        <translation> (%1 features)</translation>
    </message>
    <message>
        <source>レイヤー</source>
        <translation>Layer</translation>
    </message>
    <message>
        <source>高さのフィールド</source>
        <translation>Height field</translation>
    </message>
    <message>
        <source>座標と高さはデータの座標系の単位（通常はメートル）で読み込みます。</source>
        <translation>Coordinates and heights are read in the units of the data&apos;s coordinate system (usually metres).</translation>
    </message>
    <message>
        <source>（線の Z 値）</source>
        <translation>(Z of the lines)</translation>
    </message>
    <message>
        <source>（文字）</source>
        <translation> (text)</translation>
    </message>
    <message>
        <source>GISベクターデータ (*.gpkg *.shp *.geojson *.json *.gml *.kml *.fgb *.gpx *.tab *.mif *.sqlite *.csv);;すべてのファイル (*)</source>
        <translation>GIS vector data (*.gpkg *.shp *.geojson *.json *.gml *.kml *.fgb *.gpx *.tab *.mif *.sqlite *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>GeoTIFF 形式で保存</source>
        <translation>Save as GeoTIFF</translation>
    </message>
    <message>
        <source>ラスター形式で保存</source>
        <translation>Save as Raster</translation>
    </message>
    <message>
        <source>ASCII グリッド (*.asc);;XYZ (*.xyz);;その他の GDAL 形式 (*)</source>
        <translation>ASCII grid (*.asc);;XYZ (*.xyz);;Other GDAL formats (*)</translation>
    </message>
    <message>
        <source>等高線を GIS 形式で保存</source>
        <translation>Save Contours in a GIS Format</translation>
    </message>
    <message>
        <source>GeoPackage (*.gpkg);;Shapefile (*.shp);;GeoJSON (*.geojson);;その他の OGR 形式 (*)</source>
        <translation>GeoPackage (*.gpkg);;Shapefile (*.shp);;GeoJSON (*.geojson);;Other OGR formats (*)</translation>
    </message>
    <message>
        <source>現在の高さ %1%2</source>
        <translation>Current height %1 %2</translation>
    </message>
    <message>
        <source>地形と等高線の表示です。左ボタンで操作し、右ボタンで操作を終わります。Ctrl・Shift を押しながらドラッグすると表示を移動・拡大・回転します。</source>
        <translation>The view of the terrain and the contours. The left button works, the right button ends the operation. Dragging with Ctrl or Shift held pans, zooms and rotates the view.</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>最近使ったﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>等高線から数値地形モデルを作成します。右ボタンでいつでも操作を終わります。</source>
        <translation>Builds digital terrain models from contour lines. The right button ends any operation.</translation>
    </message>
    <message>
        <source>Orvane Altimetra ヘルプ</source>
        <translation>Orvane Altimetra Help</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>新しいシーンを作成する</source>
        <translation>Create a new scene</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>既存のシーンを開く</source>
        <translation>Open an existing scene</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>シーンを上書きして保存する</source>
        <translation>Save the scene</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>シーンに名前を付けて保存する</source>
        <translation>Save the scene under a new name</translation>
    </message>
    <message>
        <source>DXFﾌｧｲﾙの読み込み(&amp;I)...</source>
        <translation>&amp;Import DXF...</translation>
    </message>
    <message>
        <source>DXF形式の等高線を読み込む</source>
        <translation>Read contours from a DXF drawing</translation>
    </message>
    <message>
        <source>DXF形式で保存(&amp;D)...</source>
        <translation>Export &amp;DXF...</translation>
    </message>
    <message>
        <source>地形をDXF形式で保存する</source>
        <translation>Save the terrain as a DXF drawing</translation>
    </message>
    <message>
        <source>DXF形式で保存</source>
        <translation>Export DXF</translation>
    </message>
    <message>
        <source>VRML形式で保存(&amp;V)...</source>
        <translation>Export &amp;VRML...</translation>
    </message>
    <message>
        <source>地形をVRML形式で保存する</source>
        <translation>Save the terrain as a VRML world</translation>
    </message>
    <message>
        <source>VRML形式で保存</source>
        <translation>Export VRML</translation>
    </message>
    <message>
        <source>STL形式で保存(&amp;T)...</source>
        <translation>Export S&amp;TL...</translation>
    </message>
    <message>
        <source>地形をSTL形式で保存する</source>
        <translation>Save the terrain as an STL mesh</translation>
    </message>
    <message>
        <source>STL形式で保存</source>
        <translation>Export STL</translation>
    </message>
    <message>
        <source>GLD形式で保存(&amp;G)...</source>
        <translation>Export &amp;GLD...</translation>
    </message>
    <message>
        <source>データをGLD形式で保存する</source>
        <translation>Save the terrain heights as a GLD file</translation>
    </message>
    <message>
        <source>GLD形式で保存</source>
        <translation>Export GLD</translation>
    </message>
    <message>
        <source>GIS 等高線のインポート...</source>
        <translation>Import GIS Contours...</translation>
    </message>
    <message>
        <source>GIS形式(GeoPackage、Shapefile など)の等高線を読み込む</source>
        <translation>Read contours from GIS data (GeoPackage, Shapefile and others)</translation>
    </message>
    <message>
        <source>GeoTIFF 形式で保存...</source>
        <translation>Save as GeoTIFF...</translation>
    </message>
    <message>
        <source>地形をGeoTIFF形式で保存する</source>
        <translation>Save the terrain as a GeoTIFF</translation>
    </message>
    <message>
        <source>その他のラスター形式で保存...</source>
        <translation>Save as Another Raster Format...</translation>
    </message>
    <message>
        <source>地形をASCIIグリッドやXYZなどのラスター形式で保存する</source>
        <translation>Save the terrain as an ASCII grid, XYZ or another raster format</translation>
    </message>
    <message>
        <source>等高線を GIS 形式で保存...</source>
        <translation>Save Contours in a GIS Format...</translation>
    </message>
    <message>
        <source>等高線をGeoPackageやShapefileで保存する</source>
        <translation>Save the contours as GeoPackage or Shapefile</translation>
    </message>
    <message>
        <source>環境設定...</source>
        <translation>Preferences...</translation>
    </message>
    <message>
        <source>ピックの大きさや接続距離などを設定する</source>
        <translation>Set the pick aperture, the connection distance and other preferences</translation>
    </message>
    <message>
        <source>印刷(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>表示中の画像を印刷する</source>
        <translation>Print the picture of the view</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>印刷ﾌﾟﾚﾋﾞｭｰ(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>印刷イメージを表示する</source>
        <translation>Show the page as it will be printed</translation>
    </message>
    <message>
        <source>印刷ﾌﾟﾚﾋﾞｭｰ</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>ﾌﾟﾘﾝﾀの設定(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>プリンタと用紙を設定する</source>
        <translation>Choose the printer and the paper</translation>
    </message>
    <message>
        <source>ﾌﾟﾘﾝﾀの設定</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>このシーンを開く</source>
        <translation>Open this scene</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アプリケーションを終了する</source>
        <translation>Quit the application</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>直前の編集を元に戻す</source>
        <translation>Undo the last edit</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>元に戻した編集をやり直す</source>
        <translation>Redo the edit that was undone</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>ｱﾝﾄﾞｳの停止</source>
        <translation>Stop Recording Undo</translation>
    </message>
    <message>
        <source>アンドウの記録を停止する（大きなデータで速くなる）</source>
        <translation>Stop recording undo steps (faster with large data)</translation>
    </message>
    <message>
        <source>ｱﾝﾄﾞｳの開始</source>
        <translation>Start Recording Undo</translation>
    </message>
    <message>
        <source>アンドウの記録を開始する</source>
        <translation>Start recording undo steps</translation>
    </message>
    <message>
        <source>ｱﾝﾄﾞｳの停止(ｶｰﾌﾞを線で切断)</source>
        <translation>Stop Recording Undo (Cut Curves by Line)</translation>
    </message>
    <message>
        <source>線による切断のアンドウ記録を停止する</source>
        <translation>Stop recording undo steps for cutting by line</translation>
    </message>
    <message>
        <source>ｱﾝﾄﾞｳの開始(ｶｰﾌﾞを線で切断)</source>
        <translation>Start Recording Undo (Cut Curves by Line)</translation>
    </message>
    <message>
        <source>線による切断のアンドウ記録を開始する</source>
        <translation>Start recording undo steps for cutting by line</translation>
    </message>
    <message>
        <source>ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新OFF</source>
        <translation>Bounding Box Updates Off</translation>
    </message>
    <message>
        <source>編集のたびにバウンディングボックスを更新しない</source>
        <translation>Do not update the bounding boxes after each edit</translation>
    </message>
    <message>
        <source>ﾊﾞｳﾝﾃﾞｨﾝｸﾞﾎﾞｯｸｽの更新ON</source>
        <translation>Bounding Box Updates On</translation>
    </message>
    <message>
        <source>編集のたびにバウンディングボックスを更新する</source>
        <translation>Update the bounding boxes after each edit</translation>
    </message>
    <message>
        <source>作図する領域とグリッド間隔を設定する</source>
        <translation>Set the drawing area and the grid interval</translation>
    </message>
    <message>
        <source>カーブのポイント入力</source>
        <translation>Enter Curve Points</translation>
    </message>
    <message>
        <source>クリックした点でカーブを入力する</source>
        <translation>Enter a curve point by point with clicks</translation>
    </message>
    <message>
        <source>ポイント入力</source>
        <translation>Enter Points</translation>
    </message>
    <message>
        <source>カーブのストローク入力</source>
        <translation>Draw Curve Strokes</translation>
    </message>
    <message>
        <source>マウスのドラッグでカーブを入力する</source>
        <translation>Draw a curve by dragging the mouse</translation>
    </message>
    <message>
        <source>ストローク入力</source>
        <translation>Draw Strokes</translation>
    </message>
    <message>
        <source>オートベクタライズ</source>
        <translation>Auto-Vectorize</translation>
    </message>
    <message>
        <source>地図画像から等高線を自動で抽出する</source>
        <translation>Trace contours from a scanned map automatically</translation>
    </message>
    <message>
        <source>全てのカーブを選択</source>
        <translation>Select All Curves</translation>
    </message>
    <message>
        <source>全てのカーブを選択する</source>
        <translation>Select every curve</translation>
    </message>
    <message>
        <source>カーブの選択</source>
        <translation>Select Curves</translation>
    </message>
    <message>
        <source>カーブをピックして選択する</source>
        <translation>Select curves by picking them</translation>
    </message>
    <message>
        <source>全てのカーブを非選択</source>
        <translation>Deselect All Curves</translation>
    </message>
    <message>
        <source>カーブの選択を全て解除する</source>
        <translation>Clear the curve selection</translation>
    </message>
    <message>
        <source>カーブの移動</source>
        <translation>Move Curves</translation>
    </message>
    <message>
        <source>選択したカーブをドラッグで移動する</source>
        <translation>Move the selected curves by dragging</translation>
    </message>
    <message>
        <source>カーブのスケール</source>
        <translation>Scale Curves</translation>
    </message>
    <message>
        <source>選択したカーブを倍率で拡大・縮小する</source>
        <translation>Scale the selected curves by a factor</translation>
    </message>
    <message>
        <source>カーブのスケール（距離指定）</source>
        <translation>Scale Curves by Distance</translation>
    </message>
    <message>
        <source>2点間の距離を指定してカーブを拡大・縮小する</source>
        <translation>Scale the curves by giving the real distance between two points</translation>
    </message>
    <message>
        <source>カーブの回転</source>
        <translation>Rotate Curves</translation>
    </message>
    <message>
        <source>選択したカーブを角度で回転する</source>
        <translation>Rotate the selected curves by an angle</translation>
    </message>
    <message>
        <source>カーブに高さを設定する</source>
        <translation>Give curves their height</translation>
    </message>
    <message>
        <source>カーブの接続</source>
        <translation>Connect Curves</translation>
    </message>
    <message>
        <source>2つのカーブの端点を接続する</source>
        <translation>Join the ends of two curves</translation>
    </message>
    <message>
        <source>カーブの自動接続</source>
        <translation>Auto-Connect Curves</translation>
    </message>
    <message>
        <source>矩形内の近い端点を自動で接続する</source>
        <translation>Join nearby curve ends inside a rectangle</translation>
    </message>
    <message>
        <source>カーブの切断</source>
        <translation>Cut Curve</translation>
    </message>
    <message>
        <source>カーブを点で切断する</source>
        <translation>Cut a curve at a point</translation>
    </message>
    <message>
        <source>カーブを線で切断</source>
        <translation>Cut Curves by Line</translation>
    </message>
    <message>
        <source>引いた線で全てのカーブを切断する</source>
        <translation>Cut every curve along a drawn line</translation>
    </message>
    <message>
        <source>カーブの点削除</source>
        <translation>Delete Curve Points</translation>
    </message>
    <message>
        <source>矩形内のカーブの点を削除する</source>
        <translation>Delete the curve points inside a rectangle</translation>
    </message>
    <message>
        <source>カーブの削除</source>
        <translation>Delete Curve</translation>
    </message>
    <message>
        <source>ピックしたカーブを削除する</source>
        <translation>Delete the picked curve</translation>
    </message>
    <message>
        <source>非表示のカーブを削除</source>
        <translation>Delete Hidden Curves</translation>
    </message>
    <message>
        <source>非表示のカーブを全て削除する</source>
        <translation>Delete every hidden curve</translation>
    </message>
    <message>
        <source>高さゼロのカーブを削除</source>
        <translation>Delete Zero-Height Curves</translation>
    </message>
    <message>
        <source>高さがゼロのカーブを全て削除する</source>
        <translation>Delete every curve of height zero</translation>
    </message>
    <message>
        <source>カーブの全削除</source>
        <translation>Delete All Curves</translation>
    </message>
    <message>
        <source>全てのカーブを削除する</source>
        <translation>Delete every curve</translation>
    </message>
    <message>
        <source>領域指定</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>地形を作成する領域とメッシュ間隔を設定する</source>
        <translation>Set the terrain region and the mesh interval</translation>
    </message>
    <message>
        <source>地形作成</source>
        <translation>Create Terrain</translation>
    </message>
    <message>
        <source>等高線から地形を作成する</source>
        <translation>Build the terrain from the contours</translation>
    </message>
    <message>
        <source>傾斜角度で地形のとがりを取り除く</source>
        <translation>Remove spikes from the terrain by a maximum slope angle</translation>
    </message>
    <message>
        <source>点を選択</source>
        <translation>Select Points</translation>
    </message>
    <message>
        <source>地形の頂点をピックして選択する</source>
        <translation>Select terrain vertices by picking them</translation>
    </message>
    <message>
        <source>高さをドラッグ</source>
        <translation>Drag Height</translation>
    </message>
    <message>
        <source>選択した頂点の高さをドラッグで変える</source>
        <translation>Change the height of the selected vertices by dragging</translation>
    </message>
    <message>
        <source>高さを入力</source>
        <translation>Enter Height</translation>
    </message>
    <message>
        <source>選択した頂点の高さを入力する</source>
        <translation>Type the height of the selected vertices</translation>
    </message>
    <message>
        <source>地形の削除</source>
        <translation>Delete Terrain</translation>
    </message>
    <message>
        <source>地形を削除する</source>
        <translation>Delete the terrain</translation>
    </message>
    <message>
        <source>ピックしたカーブを非表示</source>
        <translation>Hide Picked Curves</translation>
    </message>
    <message>
        <source>ピックしたカーブを非表示にする</source>
        <translation>Hide the curves you pick</translation>
    </message>
    <message>
        <source>領域内のカーブを非表示</source>
        <translation>Hide Curves in Area</translation>
    </message>
    <message>
        <source>矩形内のカーブを非表示にする</source>
        <translation>Hide the curves inside a rectangle</translation>
    </message>
    <message>
        <source>高さゼロのカーブを非表示</source>
        <translation>Hide Zero-Height Curves</translation>
    </message>
    <message>
        <source>高さがゼロのカーブを非表示にする</source>
        <translation>Hide the curves of height zero</translation>
    </message>
    <message>
        <source>全てのカーブを非表示</source>
        <translation>Hide All Curves</translation>
    </message>
    <message>
        <source>全てのカーブを非表示にする</source>
        <translation>Hide every curve</translation>
    </message>
    <message>
        <source>全てのカーブを表示</source>
        <translation>Show All Curves</translation>
    </message>
    <message>
        <source>全てのカーブを表示する</source>
        <translation>Show every curve</translation>
    </message>
    <message>
        <source>カーブの表示・非表示を反転</source>
        <translation>Invert Curve Visibility</translation>
    </message>
    <message>
        <source>カーブの表示と非表示を入れ替える</source>
        <translation>Show the hidden curves and hide the shown ones</translation>
    </message>
    <message>
        <source>地形を非表示</source>
        <translation>Hide Terrain</translation>
    </message>
    <message>
        <source>地形を非表示にする</source>
        <translation>Hide the terrain</translation>
    </message>
    <message>
        <source>地形を表示</source>
        <translation>Show Terrain</translation>
    </message>
    <message>
        <source>地形を表示する</source>
        <translation>Show the terrain</translation>
    </message>
    <message>
        <source>座標軸を非表示</source>
        <translation>Hide Axes</translation>
    </message>
    <message>
        <source>座標軸を非表示にする</source>
        <translation>Hide the coordinate axes</translation>
    </message>
    <message>
        <source>座標軸を表示</source>
        <translation>Show Axes</translation>
    </message>
    <message>
        <source>座標軸を表示する</source>
        <translation>Show the coordinate axes</translation>
    </message>
    <message>
        <source>カラー設定</source>
        <translation>Terrain Colour</translation>
    </message>
    <message>
        <source>地形の色を設定する</source>
        <translation>Set the colour of the terrain</translation>
    </message>
    <message>
        <source>光源設定</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>光源の向きと明るさを設定する</source>
        <translation>Set the direction of the light</translation>
    </message>
    <message>
        <source>シェーディング表示</source>
        <translation>Shaded</translation>
    </message>
    <message>
        <source>地形を陰影付きで表示する</source>
        <translation>Show the terrain shaded</translation>
    </message>
    <message>
        <source>ワイヤーフレーム表示</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>地形を線で表示する</source>
        <translation>Show the terrain as a wireframe</translation>
    </message>
    <message>
        <source>地形を傾斜角度で色分けして表示する</source>
        <translation>Colour the terrain by slope class</translation>
    </message>
    <message>
        <source>平行投影</source>
        <translation>Parallel Projection</translation>
    </message>
    <message>
        <source>平行投影で表示する</source>
        <translation>Show the view in parallel projection</translation>
    </message>
    <message>
        <source>透視投影</source>
        <translation>Perspective Projection</translation>
    </message>
    <message>
        <source>透視投影で表示する</source>
        <translation>Show the view in perspective</translation>
    </message>
    <message>
        <source>ウォークスルーの視点の移動</source>
        <translation>Walk-Through: Move the Eye</translation>
    </message>
    <message>
        <source>目の高さで視点を移動する</source>
        <translation>Move the eye at eye level</translation>
    </message>
    <message>
        <source>ウォークスルーの視線の回転</source>
        <translation>Walk-Through: Turn the View</translation>
    </message>
    <message>
        <source>目の位置で視線を回転する</source>
        <translation>Turn the line of sight about the eye</translation>
    </message>
    <message>
        <source>2D</source>
        <translation>2D</translation>
    </message>
    <message>
        <source>2次元表示に切り替える</source>
        <translation>Switch to the 2D view</translation>
    </message>
    <message>
        <source>2D表示</source>
        <translation>2D View</translation>
    </message>
    <message>
        <source>3D</source>
        <translation>3D</translation>
    </message>
    <message>
        <source>3次元表示に切り替える</source>
        <translation>Switch to the 3D view</translation>
    </message>
    <message>
        <source>3D表示</source>
        <translation>3D View</translation>
    </message>
    <message>
        <source>ルーペ</source>
        <translation>Loupe</translation>
    </message>
    <message>
        <source>クリックした点や囲んだ範囲を拡大する</source>
        <translation>Magnify around a clicked point or a dragged rectangle</translation>
    </message>
    <message>
        <source>拡大・縮小</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>ドラッグで拡大・縮小する</source>
        <translation>Zoom by dragging</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Pan</translation>
    </message>
    <message>
        <source>ドラッグで表示を移動する</source>
        <translation>Pan the view by dragging</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>ドラッグで視点を回転する</source>
        <translation>Rotate the view by dragging</translation>
    </message>
    <message>
        <source>スナップ</source>
        <translation>Fit to View</translation>
    </message>
    <message>
        <source>全体が見えるように表示する</source>
        <translation>Show the whole model</translation>
    </message>
    <message>
        <source>鳥瞰図</source>
        <translation>Bird&apos;s-Eye View</translation>
    </message>
    <message>
        <source>地形の周りを回って見る</source>
        <translation>Fly around the terrain</translation>
    </message>
    <message>
        <source>ﾄﾋﾟｯｸの検索(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>ヘルプの目次を表示する</source>
        <translation>Show the help topics</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟの対象</source>
        <translation>What&apos;s This?</translation>
    </message>
    <message>
        <source>クリックした項目のヘルプを表示する</source>
        <translation>Show help for the item you click</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Orvane ﾎｰﾑﾍﾟｰｼﾞ</source>
        <translation>Orvane Home Page</translation>
    </message>
    <message>
        <source>Orvane のホームページをブラウザで開く</source>
        <translation>Open Orvane&apos;s home page in the browser</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Orvane Altimetra...</translation>
    </message>
    <message>
        <source>プログラムの情報とバージョンを表示する</source>
        <translation>Show the program&apos;s information and version</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>等高線(&amp;C)</source>
        <translation>&amp;Contours</translation>
    </message>
    <message>
        <source>地形(&amp;T)</source>
        <translation>&amp;Terrain</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>等高線</source>
        <translation>Contours</translation>
    </message>
    <message>
        <source>地形</source>
        <translation>Terrain</translation>
    </message>
    <message>
        <source>表示方法</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>視点</source>
        <translation>View</translation>
    </message>
    <message>
        <source>レンダリング・イメージがありません。</source>
        <translation>There is no picture to print.</translation>
    </message>
    <message>
        <source>印刷プレビュー</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ｵｰﾄﾍﾞｸﾀﾗｲｽﾞ･ｳｨﾝﾄﾞｳ</source>
        <translation>Auto-Vectorize</translation>
    </message>
    <message>
        <source>ｽｹｰﾙ</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>ｸﾞﾚｰ</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>ﾓﾉｸﾛ</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>しきい値</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>縮尺</source>
        <translation>Map scale</translation>
    </message>
    <message>
        <source>解像度</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>ｶｰﾌﾞを選択</source>
        <translation>Select curves</translation>
    </message>
    <message>
        <source>ﾍﾞｸﾀﾗｲｽﾞ</source>
        <translation>Vectorize</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>全てのカーブを削除しますが、よろしいですか？</source>
        <translation>Every curve will be deleted. Continue?</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>線に沿って高さを設定</source>
        <translation>Set Heights Along a Line</translation>
    </message>
    <message>
        <source>最初の高さ</source>
        <translation>First height</translation>
    </message>
    <message>
        <source>高さの間隔</source>
        <translation>Height step</translation>
    </message>
    <message>
        <source>高さの異なるカーブが交差・接触</source>
        <translation>Curves of different heights cross or touch</translation>
    </message>
    <message>
        <source>カーブが自分自身と交差</source>
        <translation>Curve crosses itself</translation>
    </message>
    <message>
        <source>カーブが重複</source>
        <translation>Curves coincide</translation>
    </message>
    <message>
        <source>高さゼロのカーブ</source>
        <translation>Curve of height zero</translation>
    </message>
    <message>
        <source>領域の内側で終わる開いたカーブ</source>
        <translation>Open curve ends inside the region</translation>
    </message>
    <message>
        <source>隣のカーブとの高さの差が不自然</source>
        <translation>Unexpected height step to the neighbouring curve</translation>
    </message>
    <message>
        <source>等高線のチェック</source>
        <translation>Check Contours</translation>
    </message>
    <message>
        <source>問題はありません</source>
        <translation>No problems found</translation>
    </message>
    <message>
        <source>高さの強調（倍、3D と段彩陰影）</source>
        <translation>Vertical exaggeration (times, 3D and relief)</translation>
    </message>
    <message>
        <source>しきい値 1 以上</source>
        <translation>Threshold 1 or steeper</translation>
    </message>
    <message>
        <source>しきい値 4 未満</source>
        <translation>Gentler than threshold 4</translation>
    </message>
    <message>
        <source>しきい値 %1 以上 %2 未満</source>
        <translation>Threshold %1 or steeper, gentler than %2</translation>
    </message>
    <message>
        <source>表示色（急→緩）</source>
        <translation>Colours (steep to gentle)</translation>
    </message>
    <message>
        <source>選択されている %1 個の頂点にこの高さを与えます。</source>
        <translation>This height will be given to the %1 selected vertices.</translation>
    </message>
    <message>
        <source>頂点が選択されていません。高さは変わりません。</source>
        <translation>No vertex is selected. No height will change.</translation>
    </message>
    <message>
        <source>引いた線が横切るカーブに順に高さを設定する</source>
        <translation>Give heights in order to the curves a drawn line crosses</translation>
    </message>
    <message>
        <source>交差や高さの誤りなど地形を損なう箇所を一覧する</source>
        <translation>List what would spoil the terrain, such as crossings and wrong heights</translation>
    </message>
    <message>
        <source>段彩陰影表示</source>
        <translation>Relief Display</translation>
    </message>
    <message>
        <source>地形を高さの色と陰影で表示する（もう一度選ぶと元の表示に戻る）</source>
        <translation>Show the terrain in height colours with hillshading (choose again to go back)</translation>
    </message>
    <message>
        <source>予想誤差表示</source>
        <translation>Expected Error Display</translation>
    </message>
    <message>
        <source>地形の各点の高さの予想誤差（メートル）を色で表示する（もう一度選ぶと元の表示に戻る）</source>
        <translation>Show the expected error of each height of the terrain in colours, in metres (choose again to go back)</translation>
    </message>
    <message>
        <source>
印刷を始められませんでした。このファイルに書き込めません。</source>
        <translation>
Printing could not start. This file cannot be written.</translation>
    </message>
    <message>
        <source>印刷を始められませんでした。プリンターが見つからないか、使えません。
印刷ダイアログでプリンターに「PDF」を選び、ファイル名を指定すると、ファイルに印刷できます。</source>
        <translation>Printing could not start. No printer was found, or it cannot be used.
Choose &quot;PDF&quot; as the printer in the print dialog and give a file name to print to a file.</translation>
    </message>
    <message>
        <source>中心線</source>
        <translation>Centre lines</translation>
    </message>
    <message>
        <source>線の輪郭ではなく中心を1本のカーブにする</source>
        <translation>Trace each line&apos;s middle as one curve instead of its two edges</translation>
    </message>
    <message>
        <source>左下 X</source>
        <translation>Lower-left X</translation>
    </message>
    <message>
        <source>画像 (*.jpg *.jpeg *.JPG *.bmp *.BMP *.tif *.tiff *.TIF *.TIFF);;JPEG (*.jpg *.jpeg *.JPG);;BMP (*.bmp *.BMP);;TIFF (*.tif *.tiff *.TIF *.TIFF)</source>
        <translation>Images (*.jpg *.jpeg *.JPG *.bmp *.BMP *.tif *.tiff *.TIF *.TIFF);;JPEG (*.jpg *.jpeg *.JPG);;BMP (*.bmp *.BMP);;TIFF (*.tif *.tiff *.TIF *.TIFF)</translation>
    </message>
    <message>
        <source>復元用コピーの間隔（秒、0 で保存しない）</source>
        <translation>Recovery copy every (seconds, 0: never)</translation>
    </message>
    <message>
        <source>カーブの入力</source>
        <translation>Curve input</translation>
    </message>
    <message>
        <source>カーブの編集</source>
        <translation>Curve editing</translation>
    </message>
    <message>
        <source>全カーブの削除</source>
        <translation>Delete all curves</translation>
    </message>
    <message>
        <source>地形の変更</source>
        <translation>Terrain change</translation>
    </message>
    <message>
        <source>カーブの非表示</source>
        <translation>Hide curve</translation>
    </message>
    <message>
        <source>元に戻す: %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>やり直し: %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>交差線による補間（標準）</source>
        <translation>Cross-line interpolation (standard)</translation>
    </message>
    <message>
        <source>最小曲率による補間</source>
        <translation>Minimum curvature</translation>
    </message>
    <message>
        <source>傾斜線に沿った補間</source>
        <translation>Along gradient paths</translation>
    </message>
    <message>
        <source>高さなし</source>
        <translation>no height</translation>
    </message>
    <message>
        <source>等高線 %1</source>
        <translation>contour %1</translation>
    </message>
    <message>
        <source>座標系: ローカル</source>
        <translation>CRS: local</translation>
    </message>
    <message>
        <source>座標系: 不明</source>
        <translation>CRS: unknown</translation>
    </message>
    <message>
        <source>座標系: %1</source>
        <translation>CRS: %1</translation>
    </message>
    <message>
        <source>高さ ×%1</source>
        <translation>Vertical ×%1</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>復元用のコピー %1 は壊れているため復元できません。
%2 として残しました。</source>
        <translation>The recovery copy %1 is damaged and cannot be restored.
It has been kept as %2.</translation>
    </message>
    <message>
        <source>前回、プログラムが正常に終了しませんでした。
文書 %1 の復元用のコピー（%2 に作成）があります。
復元しますか？</source>
        <translation>The program did not end normally last time.
There is a recovery copy of the document %1 (made at %2).
Restore it?</translation>
    </message>
    <message>
        <source>復元用のコピーを %1 として残しました。</source>
        <translation>The recovery copy has been kept as %1.</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>実行中の処理を中止します (Esc)</source>
        <translation>Stop the running work (Esc)</translation>
    </message>
    <message>
        <source>メッセージ</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>等高線%1</source>
        <translation>Contour %1</translation>
    </message>
    <message>
        <source>傾斜</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>推定誤差</source>
        <translation>Expected error</translation>
    </message>
    <message>
        <source>標高</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>等高線の高さ</source>
        <translation>Contour heights</translation>
    </message>
    <message>
        <source> (全体)</source>
        <translation> (fitted)</translation>
    </message>
    <message>
        <source>縮尺なし (3D)</source>
        <translation>no scale (3D)</translation>
    </message>
    <message>
        <source>印刷: %1 (%2, 用紙 %3 x %4 mm)</source>
        <translation>Printed: %1 (%2, page %3 x %4 mm)</translation>
    </message>
    <message>
        <source>印刷レイアウト</source>
        <translation>Print Layout</translation>
    </message>
    <message>
        <source>縮尺を指定 (1:N)</source>
        <translation>At a scale (1:N)</translation>
    </message>
    <message>
        <source>ビュー全体を用紙に合わせる</source>
        <translation>Fit the view to the page</translation>
    </message>
    <message>
        <source>表題</source>
        <translation>Title</translation>
    </message>
</context>
</TS>
