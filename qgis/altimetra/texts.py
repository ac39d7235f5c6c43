"""The provider's texts in English and Japanese; QGIS's interface language chooses."""
from qgis.core import QgsApplication

# key: (English, Japanese)
TEXTS = {
    # Parameters: label, then help ('.help').
    'INPUT': ('Contour lines', '等高線'),
    'INPUT.help': (
        'A line layer of contours, each line at its height (in the height field or as the z of its '
        'vertices). Any CRS QGIS reads: a layer in longitude and latitude is projected to its UTM '
        'zone for the generation and the DEM brought back to the layer\'s CRS.',
        '等高線の線レイヤー。各線の高さは高さフィールドか頂点の z 値で与えます。QGIS が読める座標系なら'
        'どれでも使えます。経緯度のレイヤーは生成のあいだその UTM 帯に投影し、DEM をレイヤーの座標系に'
        '戻します。'),
    'FIELD': ('Height field', '高さフィールド'),
    'FIELD.help': (
        'The numeric field that holds each line\'s height. Empty: the z of the lines.',
        '各線の高さを持つ数値フィールド。空欄のときは線の z 値を使います。'),
    'EXTENT': ('Extent', '範囲'),
    'EXTENT.help': (
        'The region of the DEM. Empty: the extent of the contours.',
        'DEM を作る範囲。空欄のときは等高線の範囲です。'),
    'CELL_SIZE': ('Cell size', 'セルサイズ'),
    'CELL_SIZE.help': (
        'The distance between grid posts, in the layer\'s unit (metres in a projected CRS, degrees '
        'in longitude and latitude).',
        '格子点の間隔。レイヤーの単位で指定します(投影座標系ならメートル、経緯度なら度)。'),
    'METHOD': ('Method', '補間方法'),
    'METHOD.help': (
        'How heights are interpolated between the contours:',
        '等高線のあいだの高さの求め方:'),
    'OUTPUT': ('DEM', 'DEM'),
    'OUTPUT.help': (
        'The raster written: Float32 heights, nodata -9999, the layer\'s CRS; the extension '
        'chooses the format (.tif GeoTIFF, .asc ASCII grid, ...).',
        '書き出すラスター。高さは Float32、NoData は -9999、座標系はレイヤーのものです。形式は拡張子で'
        '決まります(.tif は GeoTIFF、.asc は ASCII グリッドなど)。'),
    'TILE_SIZE': ('Tile size (posts)', 'タイルの大きさ(格子点数)'),
    'TILE_SIZE.help': (
        'Posts across and down of each tile. Each tile is generated from the contours of its area '
        'and overlap alone, so memory follows the tile, not the region.',
        'タイル 1 枚の縦横の格子点数。各タイルはその範囲と重なりの等高線だけから作るので、メモリは全体'
        'ではなくタイルの大きさで決まります。'),
    'OVERLAP': ('Overlap (posts)', '重なり(格子点数)'),
    'OVERLAP.help': (
        'Posts generated around each tile and dropped, so that the tiles meet without seams. '
        'Empty: altimetra-cli chooses each tile\'s overlap from the contours around it.',
        '継ぎ目が出ないよう各タイルの周りに余分に作って捨てる格子点数。空欄のときは altimetra-cli が'
        'タイルごとに周りの等高線から決めます。'),
    'JOBS': ('Parallel jobs', '並列ジョブ数'),
    'JOBS.help': (
        'Tiles made at once, each by its own altimetra-cli process.',
        '同時に作るタイルの数。タイルごとに altimetra-cli を 1 つ起動します。'),
    'OUTPUT.tiled.help': (
        'The raster written: Float32 heights, nodata -9999, the layer\'s CRS. NAME.vrt: a GDAL '
        'mosaic of the tiles NAME_ROW_COL.tif written beside it (complete tiles are kept, so a run '
        'cut short is finished by running it again). Any other extension: the tiles are made in a '
        'temporary folder and copied into one raster of that format.',
        '書き出すラスター。高さは Float32、NoData は -9999、座標系はレイヤーのものです。NAME.vrt の'
        'ときは同じフォルダーにタイル NAME_行_列.tif を書き、それらをまとめた GDAL モザイクになります'
        '(できあがったタイルは残すので、途中で止まった処理はもう一度実行すると続きから作ります)。'
        'それ以外の拡張子ではタイルを一時フォルダーで作り、その形式の 1 つのラスターにまとめます。'),

    # The algorithms.
    'contourstodem.help': (
        'Makes a DEM from contour lines with altimetra-cli dem, the batch command of Orvane '
        'Altimetra. The program is taken from Settings > Options > Processing > Providers > '
        'Altimetra, else from $ALTIMETRA_CLI, else from PATH.',
        'Orvane Altimetra のバッチコマンド altimetra-cli dem で等高線から DEM を作ります。プログラムは'
        '設定 > オプション > プロセッシング > プロバイダー > Altimetra の指定、なければ $ALTIMETRA_CLI、'
        'なければ PATH から探します。'),
    'tiledcontourstodem.help': (
        'Makes a DEM in tiles with altimetra-cli dem --tile-size, several tiles at once: for '
        'regions too large for one process. With gradient paths and the default overlap the '
        'mosaic matches the whole grid to within a tenth of the contour interval.',
        'altimetra-cli dem --tile-size で DEM をタイルに分けて、複数を同時に作ります。1 つのプロセスに'
        '収まらない広い範囲に向きます。傾斜線の補間と既定の重なりでは、モザイクは一度に作った格子と'
        '等高線間隔の 1/10 以内で一致します。'),

    # Settings and messages.
    'setting': ('altimetra-cli program', 'altimetra-cli のプログラム'),
    'no_cli': (
        'altimetra-cli was not found: install Orvane Altimetra, or name the program in Settings > '
        'Options > Processing > Providers > Altimetra.',
        'altimetra-cli が見つかりません。Orvane Altimetra をインストールするか、設定 > オプション > '
        'プロセッシング > プロバイダー > Altimetra でプログラムを指定してください。'),
    'no_methods': ('(altimetra-cli not found)', '(altimetra-cli が見つかりません)'),
    'cancelled': ('Cancelled: nothing was written.', 'キャンセルしました。何も書き出していません。'),
    'geographic': (
        'The layer is in longitude and latitude: the DEM is generated in {} at {:.6g} m and warped '
        'back to the layer\'s CRS.',
        'レイヤーは経緯度です。DEM を {} で {:.6g} m 間隔で作り、レイヤーの座標系に戻します。'),
    'no_feature': (
        'The layer holds no feature to write for altimetra-cli.',
        'altimetra-cli に渡す地物がレイヤーにありません。'),
    'write_failed': ('{} could not be written: {}', '{} を書き出せませんでした: {}'),
    'tiles': ('{} tiles, {} at once', 'タイル {} 枚、同時に {} 枚'),
}


def lang():
    """'ja' when QGIS speaks Japanese, else 'en'."""
    try:
        loc = QgsApplication.locale() or ''
    except (AttributeError, RuntimeError):
        loc = ''
    return 'ja' if loc.lower().startswith('ja') else 'en'


def tx(key, language=None):
    en, ja = TEXTS[key]
    return ja if (language or lang()) == 'ja' else en
