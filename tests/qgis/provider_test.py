"""The QGIS Processing provider in a headless QGIS, on the shared Andean contours: its DEM is the one
altimetra-cli dem writes, byte for byte in the heights (whole, tiled, and through qgis_process); a
cancelled run leaves nothing; a bad layer fails with our message; a layer in longitude and latitude
gives a DEM in its CRS; every parameter has its help in English and Japanese.

    provider_test.py ALTIMETRA_CLI SOURCE_DIR SHARED_DIR WORK_DIR

Exit status 0 when every check passed, 1 otherwise, 77 (skipped) without PyQGIS."""
import array
import glob
import os
import shutil
import subprocess
import sys
import time
import traceback

cli, src, shared, work = sys.argv[1:5]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
# A QGIS of its own: profile, settings and caches in the work folder; no window; the plugin's
# sources not littered with bytecode.
os.environ.update({'HOME': os.path.join(work, 'home'), 'XDG_RUNTIME_DIR': os.path.join(work, 'run'),
                   'QT_QPA_PLATFORM': 'offscreen', 'ALTIMETRA_CLI': cli,
                   'PYTHONDONTWRITEBYTECODE': '1', 'QGIS_PLUGINPATH': os.path.join(src, 'qgis')})
os.makedirs(os.environ['XDG_RUNTIME_DIR'], mode=0o700)
sys.dont_write_bytecode = True
try:
    from osgeo import gdal
    from qgis.core import (QgsApplication, QgsCoordinateReferenceSystem, QgsCoordinateTransform,
                           QgsFeature, QgsField, QgsGeometry, QgsProcessingException,
                           QgsProcessingFeedback, QgsProject, QgsVectorLayer, QgsVertexId)
    from qgis.PyQt.QtCore import QVariant
except ImportError as e:
    print('provider_test: no PyQGIS ({}): apt-get install qgis python3-qgis'.format(e))
    sys.exit(77)

CONTOURS = os.path.join(shared, 'bench', 'real', 'ecuador-contours-50.gpkg')
if not os.path.exists(CONTOURS):
    print('provider_test: no shared contours at ' + CONTOURS)
    sys.exit(77)

QgsApplication.setPrefixPath('/usr', True)
app = QgsApplication([], False)
app.initQgis()
sys.path.append(os.path.join(QgsApplication.pkgDataPath(), 'python', 'plugins'))
from processing.core.Processing import Processing  # noqa: E402
Processing.initialize()
import processing  # noqa: E402
sys.path.insert(0, os.path.join(src, 'qgis'))
from altimetra.provider import AltimetraProvider  # noqa: E402
from altimetra import texts  # noqa: E402

provider = AltimetraProvider()
assert QgsApplication.processingRegistry().addProvider(provider)
failures = []


class Recorder(QgsProcessingFeedback):
    """Keeps what the algorithm says; cancels at the first progress above cancel_at when given."""

    def __init__(self, cancel_at=None):
        super().__init__()
        self.errors, self.console, self.commands, self.progress_seen = [], [], [], []
        self.cancel_at = cancel_at
        self.progressChanged.connect(self._progress)

    def _progress(self, p):
        self.progress_seen.append(p)
        if self.cancel_at is not None and p > self.cancel_at and not self.isCanceled():
            self.cancelled_at = time.monotonic()
            self.cancel()

    def reportError(self, text, fatal=False):  # noqa: N802
        self.errors.append(text)

    def pushConsoleInfo(self, text):  # noqa: N802
        self.console.append(text)

    def pushCommandInfo(self, text):  # noqa: N802
        self.commands.append(text)


def run(alg, params, feedback=None):
    """(results or None, feedback)."""
    feedback = feedback or Recorder()
    try:
        return processing.run(alg, params, feedback=feedback), feedback
    except QgsProcessingException as e:
        feedback.errors.append(str(e))
        return None, feedback


def heights(path):
    ds = gdal.Open(path)
    assert ds is not None, path
    b = ds.GetRasterBand(1)
    return (ds.RasterXSize, ds.RasterYSize, ds.GetGeoTransform(), ds.GetProjection(),
            b.GetNoDataValue(), b.ReadRaster())


def reference(name, *args):
    out = os.path.join(work, name)
    subprocess.run([cli, 'dem', CONTOURS, '-o', out, '--quiet'] + list(args), check=True)
    return out


def check(name):
    def wrap(f):
        t0 = time.monotonic()
        try:
            f()
            print('ok    {} ({:.1f} s)'.format(name, time.monotonic() - t0))
        except Exception:
            failures.append(name)
            print('FAIL  ' + name)
            traceback.print_exc()
        return f
    return wrap


def line_layer(name, crs='EPSG:32717', z=True, features=True):
    """The contours as a memory layer (heights as z, or 2D lines without a height)."""
    src_layer = QgsVectorLayer(CONTOURS, 'contours', 'ogr')
    kind = 'LineStringZ' if z else 'LineString'
    layer = QgsVectorLayer('{}?crs={}'.format(kind, crs), name, 'memory')
    ct = QgsCoordinateTransform(src_layer.crs(), QgsCoordinateReferenceSystem(crs), QgsProject.instance())
    feats = []
    for f in src_layer.getFeatures() if features else []:
        g = QgsGeometry(f.geometry())
        if not z:
            g.get().dropZValue()
        g.transform(ct)
        n = QgsFeature()
        n.setGeometry(g)
        feats.append(n)
    layer.dataProvider().addFeatures(feats)
    return layer


@check('the METHOD choices are the methods altimetra-cli lists')
def _():
    listed = subprocess.run([cli, 'dem', '--list-methods'], capture_output=True, text=True,
                            check=True).stdout.split('\n')
    names = [line.split('\t')[0] for line in listed if line]
    for alg in ('altimetra:contourstodem', 'altimetra:tiledcontourstodem'):
        a = QgsApplication.processingRegistry().algorithmById(alg)
        assert a.parameterDefinition('METHOD').options() == names, a.parameterDefinition('METHOD').options()
        assert a.parameterDefinition('METHOD').defaultValue() in names


@check('every parameter has its help in English and in Japanese')
def _():
    for alg in ('altimetra:contourstodem', 'altimetra:tiledcontourstodem'):
        a = QgsApplication.processingRegistry().algorithmById(alg)
        for p in a.parameterDefinitions():
            key = p.name() + ('.tiled' if p.name() == 'OUTPUT' and 'tiled' in alg else '') + '.help'
            en, ja = texts.tx(key, 'en'), texts.tx(key, 'ja')
            # METHOD's help goes on with the methods' descriptions.
            assert p.help().startswith(en) and en and ja and en != ja, (alg, p.name())
            assert texts.tx(p.name(), 'en') and texts.tx(p.name(), 'ja'), (alg, p.name())


@check('Contours to DEM writes the heights altimetra-cli dem writes, with progress')
def _():
    ref = reference('ref.tif', '--interval', '10')
    out = os.path.join(work, 'dem.tif')
    res, fb = run('altimetra:contourstodem', {'INPUT': CONTOURS, 'CELL_SIZE': 10,
                                              'METHOD': 'gradient-paths', 'OUTPUT': out})
    assert res and res['OUTPUT'] == out, fb.errors
    assert heights(out) == heights(ref)
    assert any(0 < p < 100 for p in fb.progress_seen) and fb.progress_seen[-1] == 100, fb.progress_seen
    assert any('contours' in line for line in fb.console), fb.console


@check('a region and a height field reach the command')
def _():
    # The same contours with their heights in a field "h" of a GeoPackage layer that is not the
    # first; a region of a quarter of the extent.
    layer = line_layer('with_h')
    layer.dataProvider().addAttributes([QgsField('h', QVariant.Double)])
    layer.updateFields()
    layer.startEditing()
    for f in layer.getFeatures():
        layer.changeAttributeValue(f.id(), 0, f.geometry().constGet().vertexAt(QgsVertexId(0, 0, 0)).z())
        g = QgsGeometry(f.geometry())
        g.get().dropZValue()
        layer.changeGeometry(f.id(), g)
    layer.commitChanges()
    region = '712500,713500,9558000,9559000 [EPSG:32717]'
    ref = reference('ref-region.tif', '--interval', '10', '--region', '712500', '9558000', '713500',
                    '9559000')
    out = os.path.join(work, 'region.tif')
    res, fb = run('altimetra:contourstodem', {'INPUT': layer, 'FIELD': 'h', 'EXTENT': region,
                                              'CELL_SIZE': 10, 'OUTPUT': out})
    assert res, fb.errors
    assert heights(out) == heights(ref)


@check('Tiled contours to DEM writes the mosaic altimetra-cli dem --tile-size writes')
def _():
    ref = reference('ref-tiles.vrt', '--interval', '10', '--tile-size', '150')
    out = os.path.join(work, 'tiled.tif')
    res, fb = run('altimetra:tiledcontourstodem', {'INPUT': CONTOURS, 'CELL_SIZE': 10, 'TILE_SIZE': 150,
                                                   'JOBS': 2, 'OUTPUT': out})
    assert res, fb.errors
    a, b = heights(out), heights(ref)
    assert a[:3] == b[:3] and a[4:] == b[4:], 'the mosaic differs'
    assert not glob.glob(os.path.join(work, 'tiled_*')), 'tiles left beside a .tif output'
    # A .vrt output is the mosaic itself with its tiles beside it; the overlap reaches the command.
    ref = reference('ref-overlap.vrt', '--interval', '10', '--tile-size', '150', '--overlap', '80')
    vrt = os.path.join(work, 'mosaic.vrt')
    res, fb = run('altimetra:tiledcontourstodem', {'INPUT': CONTOURS, 'CELL_SIZE': 10, 'TILE_SIZE': 150,
                                                   'OVERLAP': 80, 'JOBS': 2, 'OUTPUT': vrt})
    assert res, fb.errors
    assert heights(vrt)[5] == heights(ref)[5]
    assert len(glob.glob(os.path.join(work, 'mosaic_*_*.tif'))) == 9


def leftovers(prefix):
    return sorted(f for f in os.listdir(work) if f.startswith(prefix) or f.startswith('.' + prefix))


@check('a cancelled run stops altimetra-cli and leaves no output')
def _():
    # Cross lines at 2 m run for many seconds: cancelled at the first progress.
    out = os.path.join(work, 'cancel.tif')
    fb = Recorder(cancel_at=0)
    t0 = time.monotonic()
    res, fb = run('altimetra:contourstodem', {'INPUT': CONTOURS, 'CELL_SIZE': 2, 'METHOD': 'cross-lines',
                                              'OUTPUT': out}, fb)
    assert res is None and fb.isCanceled(), 'the run was not cancelled'
    assert time.monotonic() - fb.cancelled_at < 20, 'altimetra-cli did not stop'
    assert any('interrupted' in line for line in fb.console), fb.console
    assert any('Cancelled' in e for e in fb.errors), fb.errors
    assert leftovers('cancel') == [], leftovers('cancel')
    # Tiled into a .vrt (gradient paths at 2 m): no tile, no mosaic.
    fb = Recorder(cancel_at=0)
    res, fb = run('altimetra:tiledcontourstodem', {'INPUT': CONTOURS, 'CELL_SIZE': 2, 'TILE_SIZE': 600,
                                                   'JOBS': 2, 'OUTPUT': os.path.join(work, 'cancelt.vrt')}, fb)
    assert res is None and fb.isCanceled()
    assert leftovers('cancelt') == [], leftovers('cancelt')
    print('      cancelled in {:.1f} s'.format(time.monotonic() - t0))


@check('a layer without lines or without heights fails with the command\'s message')
def _():
    out = os.path.join(work, 'bad.tif')
    res, fb = run('altimetra:contourstodem', {'INPUT': line_layer('empty', features=False),
                                              'CELL_SIZE': 10, 'OUTPUT': out})
    # An empty layer is refused before any work: "holds no features".
    assert res is None and any('holds no features' in e for e in fb.errors), fb.errors
    res, fb = run('altimetra:contourstodem', {'INPUT': line_layer('flat', z=False), 'CELL_SIZE': 10,
                                              'OUTPUT': out})
    assert res is None and any('has a height' in e and 'choose the height field' in e
                               for e in fb.errors), fb.errors
    assert not os.path.exists(out)


@check('a layer in longitude and latitude gives a DEM in its CRS over the same ground')
def _():
    layer = line_layer('lonlat', crs='EPSG:4326')
    out = os.path.join(work, 'lonlat.tif')
    res, fb = run('altimetra:contourstodem', {'INPUT': layer, 'CELL_SIZE': 0.0001, 'OUTPUT': out})
    assert res, fb.errors
    ds = gdal.Open(out)
    crs = QgsCoordinateReferenceSystem()
    crs.createFromWkt(ds.GetProjection())
    assert crs.authid() == 'EPSG:4326', crs.authid()
    assert abs(ds.GetGeoTransform()[1] - 0.0001) < 1e-9
    # The contours' own CRS is that UTM zone: the command's run on them at the interval the
    # provider chose, warped onto the same grid, gives the same heights (to the round trip of the
    # coordinates through longitude and latitude).
    words = fb.commands[0].split()
    ref = reference('ref-utm.tif', '--interval', words[words.index('--interval') + 1])
    gt = ds.GetGeoTransform()
    bounds = (gt[0], gt[3] + gt[5] * ds.RasterYSize, gt[0] + gt[1] * ds.RasterXSize, gt[3])
    w = gdal.Warp('', ref, format='MEM', dstSRS='EPSG:4326', outputBounds=bounds,
                  width=ds.RasterXSize, height=ds.RasterYSize, resampleAlg='bilinear',
                  srcNodata=-9999, dstNodata=-9999)
    a = array.array('f', ds.GetRasterBand(1).ReadRaster())
    b = array.array('f', w.GetRasterBand(1).ReadRaster())
    d = sorted(abs(x - y) for x, y in zip(a, b) if x != -9999 and y != -9999)
    assert len(d) > 0.8 * len(a), (len(d), len(a))
    assert d[-1] < 0.01, d[-1]


@check('qgis_process runs altimetra:contourstodem from the plugin folder')
def _():
    qp = shutil.which('qgis_process.bin') or shutil.which('qgis_process')
    assert qp, 'no qgis_process'
    subprocess.run([qp, 'plugins', 'enable', 'altimetra'], check=True, capture_output=True)
    out = os.path.join(work, 'qp.tif')
    r = subprocess.run([qp, 'run', 'altimetra:contourstodem', '--', 'INPUT=' + CONTOURS, 'CELL_SIZE=10',
                        'METHOD=gradient-paths', 'OUTPUT=' + out], capture_output=True, text=True)
    assert r.returncode == 0, r.stdout + r.stderr
    assert heights(out) == heights(os.path.join(work, 'ref.tif'))


QgsApplication.processingRegistry().removeProvider(provider)
app.exitQgis()
print('{} failed'.format(len(failures)) if failures else 'all passed')
sys.exit(1 if failures else 0)
