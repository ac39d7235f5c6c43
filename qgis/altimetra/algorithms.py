"""The Processing algorithms "Contours to DEM" and "Tiled contours to DEM": altimetra-cli dem on the
layer's file (or on a copy, when QGIS holds the features elsewhere or filters them), the DEM in the
layer's CRS."""
import math
import os
import shutil
import tempfile

from osgeo import gdal
from qgis.core import (QgsCoordinateReferenceSystem, QgsCoordinateTransform, QgsFeatureRequest,
                       QgsPointXY, QgsProcessing, QgsProcessingAlgorithm, QgsProcessingException,
                       QgsProcessingParameterDistance, QgsProcessingParameterEnum,
                       QgsProcessingParameterExtent, QgsProcessingParameterFeatureSource,
                       QgsProcessingParameterField, QgsProcessingParameterNumber,
                       QgsProcessingParameterRasterDestination, QgsProcessingUtils,
                       QgsRasterFileWriter, QgsVectorFileWriter)

from . import cli
from .texts import lang, tx

NODATA = -9999.0
DEFAULT_METHOD = 'gradient-paths'  # the command's own default
# Extensions whose files altimetra-cli reads as they are (through OGR); other layers are copied.
PASS_EXTENSIONS = ['gpkg', 'shp', 'geojson', 'json', 'fgb', 'gml', 'kml', 'sqlite', 'tab', 'mif',
                   'gpx', 'csv']
WGS84 = 'EPSG:4326'


def _utm(crs, extent, context):
    """The WGS 84 UTM zone of the middle of extent (in crs)."""
    ct = QgsCoordinateTransform(crs, QgsCoordinateReferenceSystem(WGS84), context.transformContext())
    c = ct.transform(extent.center())
    zone = min(60, max(1, int(math.floor((c.x() + 180) / 6)) + 1))
    return QgsCoordinateReferenceSystem('EPSG:{}'.format((32600 if c.y() >= 0 else 32700) + zone))


def _metres(crs, utm, extent, cell, context):
    """The ground distance of a cell of `cell` degrees in the middle of extent, the shorter way."""
    ct = QgsCoordinateTransform(crs, utm, context.transformContext())
    c = extent.center()
    p0 = ct.transform(c)
    px = ct.transform(QgsPointXY(c.x() + cell, c.y()))
    py = ct.transform(QgsPointXY(c.x(), c.y() + cell))
    return round(min(p0.distance(px), p0.distance(py)), 3)


def _remove(paths):
    for p in paths:
        try:
            os.remove(p)
        except OSError:
            pass


def _creation(driver):
    return ['COMPRESS=DEFLATE', 'TILED=YES', 'BIGTIFF=IF_SAFER'] if driver == 'GTiff' else []


class ContoursToDem(QgsProcessingAlgorithm):
    tiled = False

    def __init__(self, methods=None):
        super().__init__()
        self.methods = list(methods or [])

    def createInstance(self):  # noqa: N802
        return type(self)(self.methods)

    def name(self):
        return 'contourstodem'

    def displayName(self):  # noqa: N802
        return 'Contours to DEM'

    def shortHelpString(self):  # noqa: N802
        lines = ['<p>{}</p>'.format(tx(self.name() + '.help'))]
        for p in self.parameterDefinitions():
            lines.append('<p><b>{}</b> ({}): {}</p>'.format(
                p.description(), p.name(), p.help().replace('\n', '<br>')))
        return '\n'.join(lines)

    def _add(self, param, help_key=None):
        param.setHelp(tx(help_key or param.name() + '.help'))
        self.addParameter(param)

    def _method_help(self):
        ja = lang() == 'ja'
        if not self.methods:
            return tx('METHOD.help') + '\n' + tx('no_methods')
        return tx('METHOD.help') + ''.join(
            '\n{}: {}'.format(n, j if ja else e) for n, e, j in self.methods)

    def initAlgorithm(self, config=None):  # noqa: N802
        self._add(QgsProcessingParameterFeatureSource('INPUT', tx('INPUT'), [QgsProcessing.TypeVectorLine]))
        self._add(QgsProcessingParameterField('FIELD', tx('FIELD'), None, 'INPUT',
                                              QgsProcessingParameterField.Numeric, optional=True))
        self._add(QgsProcessingParameterExtent('EXTENT', tx('EXTENT'), optional=True))
        self._add(QgsProcessingParameterDistance('CELL_SIZE', tx('CELL_SIZE'), 10.0, 'INPUT',
                                                 minValue=1e-9))
        names = [m[0] for m in self.methods] or [DEFAULT_METHOD]
        default = DEFAULT_METHOD if DEFAULT_METHOD in names else names[0]
        method = QgsProcessingParameterEnum('METHOD', tx('METHOD'), names, False, default, False, True)
        method.setHelp(self._method_help())
        self.addParameter(method)
        if self.tiled:
            self._add(QgsProcessingParameterNumber('TILE_SIZE', tx('TILE_SIZE'),
                                                   QgsProcessingParameterNumber.Integer, 1000,
                                                   minValue=3, maxValue=65535))
            self._add(QgsProcessingParameterNumber('OVERLAP', tx('OVERLAP'),
                                                   QgsProcessingParameterNumber.Integer, None, True,
                                                   minValue=0, maxValue=65535))
            self._add(QgsProcessingParameterNumber('JOBS', tx('JOBS'),
                                                   QgsProcessingParameterNumber.Integer,
                                                   max(1, os.cpu_count() or 1), minValue=1, maxValue=1024))
        self._add(QgsProcessingParameterRasterDestination('OUTPUT', tx('OUTPUT')),
                  'OUTPUT.tiled.help' if self.tiled else None)

    def canExecute(self):  # noqa: N802
        if not cli.program():
            return False, tx('no_cli')
        return True, ''

    # The layer as altimetra-cli reads it: (path, layer name, working CRS when the layer is
    # projected for the run, interval in the working unit, region or None).
    def _input(self, parameters, context, feedback, source, work):
        crs = source.sourceCrs()
        cell = self.parameterAsDouble(parameters, 'CELL_SIZE', context)
        extent = self.parameterAsExtent(parameters, 'EXTENT', context, crs)
        region = None if extent.isNull() else extent
        if not (crs.isValid() and crs.isGeographic()):
            path, layer = self.parameterAsCompatibleSourceLayerPathAndLayerName(
                parameters, 'INPUT', context, PASS_EXTENSIONS, 'gpkg', feedback)
            if not path:
                raise QgsProcessingException(self.invalidSourceError(parameters, 'INPUT'))
            return path, layer, None, cell, region
        # The command works in metres: the lines go to their UTM zone for the run.
        whole = region or source.sourceExtent()
        utm = _utm(crs, whole, context)
        metres = _metres(crs, utm, whole, cell, context)
        feedback.pushInfo(tx('geographic').format(utm.authid(), metres))
        path = os.path.join(work, 'contours.gpkg')
        opts = QgsVectorFileWriter.SaveVectorOptions()
        opts.driverName = 'GPKG'
        opts.layerName = 'contours'
        w = QgsVectorFileWriter.create(path, source.fields(), source.wkbType(), utm,
                                       context.transformContext(), opts)
        if w.hasError() != QgsVectorFileWriter.NoError:
            raise QgsProcessingException(tx('write_failed').format(path, w.errorMessage()))
        req = QgsFeatureRequest().setDestinationCrs(utm, context.transformContext())
        for f in source.getFeatures(req):
            if feedback.isCanceled():
                break
            w.addFeature(f)
        del w
        if region is not None:
            ct = QgsCoordinateTransform(crs, utm, context.transformContext())
            region = ct.transformBoundingBox(region)
        return path, 'contours', utm, metres, region

    def _args(self, parameters, context, path, layer, interval, region):
        method = self.parameterAsEnumString(parameters, 'METHOD', context)
        field = self.parameterAsString(parameters, 'FIELD', context)
        a = [path]
        if layer:
            a += ['--layer', layer]
        a += ['--interval', repr(float(interval)), '--method', method]
        if field:
            a += ['--field', field]
        if region is not None:
            a += ['--region'] + [repr(v) for v in (region.xMinimum(), region.yMinimum(),
                                                   region.xMaximum(), region.yMaximum())]
        return a

    def _run(self, commands, jobs, feedback, progress):
        runs = cli.Runs(commands, jobs, feedback, progress)
        status = runs.run()
        if status is None:
            raise QgsProcessingException(tx('cancelled'))
        if status != 0:
            raise QgsProcessingException('\n'.join(runs.errors))

    # Copies (or, with crs, warps back to the layer's CRS at the layer's cell size) src into out,
    # through a file of the same name in work, so that out is whole when it appears.
    def _finish(self, src, out, work, feedback, crs=None, cell=None, bounds=None):
        driver = QgsRasterFileWriter.driverForExtension(os.path.splitext(out)[1]) or 'GTiff'
        tmp = os.path.join(work, 'out')
        os.makedirs(tmp, exist_ok=True)
        part = os.path.join(tmp, os.path.basename(out))
        base = feedback.progress()

        def step(done, _msg, _data):
            feedback.setProgress(base + (100 - base) * done)
            return 0 if feedback.isCanceled() else 1

        def failed():
            if feedback.isCanceled():
                return QgsProcessingException(tx('cancelled'))
            return QgsProcessingException(tx('write_failed').format(out, gdal.GetLastErrorMsg()))

        if crs is not None:
            warped = os.path.join(work, 'warped.tif')
            ds = gdal.Warp(warped, src, options=gdal.WarpOptions(
                format='GTiff', dstSRS=crs.toWkt(QgsCoordinateReferenceSystem.WKT2_2019),
                xRes=cell, yRes=cell, outputBounds=bounds, resampleAlg='bilinear',
                srcNodata=NODATA, dstNodata=NODATA, outputType=gdal.GDT_Float32, callback=step))
            if ds is None:
                raise failed()
            ds = None
            src = warped
        gdal.ErrorReset()
        ds = gdal.Translate(part, src, options=gdal.TranslateOptions(
            format=driver, creationOptions=_creation(driver), callback=step))
        if ds is None or feedback.isCanceled():
            raise failed()
        files = ds.GetFileList() or [part]
        ds.FlushCache()
        ds = None
        if gdal.GetLastErrorType() >= gdal.CE_Failure:
            raise failed()
        for f in files:
            if os.path.dirname(f) == tmp:
                shutil.move(f, os.path.join(os.path.dirname(out), os.path.basename(f)))

    def processAlgorithm(self, parameters, context, feedback):  # noqa: N802
        prog = cli.program()
        if not prog:
            raise QgsProcessingException(tx('no_cli'))
        source = self.parameterAsSource(parameters, 'INPUT', context)
        if source is None:
            raise QgsProcessingException(self.invalidSourceError(parameters, 'INPUT'))
        out = self.parameterAsOutputLayer(parameters, 'OUTPUT', context)
        work = tempfile.mkdtemp(prefix='altimetra-', dir=QgsProcessingUtils.tempFolder())
        try:
            path, layer, utm, interval, region = self._input(parameters, context, feedback, source, work)
            if feedback.isCanceled():
                raise QgsProcessingException(tx('cancelled'))
            args = self._args(parameters, context, path, layer, interval, region)
            back = None
            if utm is not None:
                # Warped back over the layer's extent (or the one asked for) at its cell size.
                crs = source.sourceCrs()
                e = self.parameterAsExtent(parameters, 'EXTENT', context, crs)
                e = source.sourceExtent() if e.isNull() else e
                cell = self.parameterAsDouble(parameters, 'CELL_SIZE', context)
                back = (crs, cell, (e.xMinimum(), e.yMinimum(), e.xMaximum(), e.yMaximum()))
            self._make(prog, args, parameters, context, feedback, out, work, back)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        return {'OUTPUT': out}

    def _make(self, prog, args, parameters, context, feedback, out, work, back):
        target = out if back is None else os.path.join(work, 'dem.tif')
        share = 100 if back is None else 90
        self._run([[prog, 'dem'] + args + ['-o', target, '--progress']], 1, feedback,
                  lambda _i, p: feedback.setProgress(p * share / 100))
        if back is not None:
            try:
                self._finish(target, out, work, feedback, *back)
            except QgsProcessingException:
                _remove([out])
                raise
        feedback.setProgress(100)


class TiledContoursToDem(ContoursToDem):
    tiled = True

    def name(self):
        return 'tiledcontourstodem'

    def displayName(self):  # noqa: N802
        return 'Tiled contours to DEM'

    def _make(self, prog, args, parameters, context, feedback, out, work, back):
        size = self.parameterAsInt(parameters, 'TILE_SIZE', context)
        jobs = self.parameterAsInt(parameters, 'JOBS', context)
        tiling = ['--tile-size', str(size)]
        if parameters.get('OVERLAP') not in (None, ''):
            tiling += ['--overlap', str(self.parameterAsInt(parameters, 'OVERLAP', context))]
        # A .vrt is the mosaic itself, its tiles beside it; anything else is copied from a mosaic
        # made in the work folder.
        direct = back is None and out.lower().endswith('.vrt')
        vrt = out if direct else os.path.join(work, 'dem.vrt')
        rc, listing, said = cli.output([prog, 'tiles'] + args + ['-o', vrt] + tiling)
        if rc != 0:
            raise QgsProcessingException('\n'.join(said) or 'altimetra-cli tiles: status {}'.format(rc))
        tiles = [line.split('\t') for line in listing.splitlines() if line.strip()]
        existed = {t[3] for t in tiles if os.path.exists(t[3])}
        made = [t[3] for t in tiles if t[3] not in existed]
        vrt_existed = os.path.exists(vrt)
        feedback.pushInfo(tx('tiles').format(len(tiles), min(jobs, len(tiles))))
        done = [0] * len(tiles)

        def progress(i, p):
            done[i] = p
            feedback.setProgress(sum(done) * 90 / (100 * max(1, len(done))))

        cmd = [prog, 'dem'] + args + ['-o', vrt] + tiling
        try:
            self._run([cmd + ['--tile', t[0], '--progress'] for t in tiles], jobs, feedback, progress)
            self._run([cmd + ['--vrt-only']], 1, feedback, lambda _i, _p: None)
            if not direct:
                self._finish(vrt, out, work, feedback, *(back or ()))
        except QgsProcessingException:
            # Cancelled: nothing this run wrote stays. Failed: the tiles made stay for the run
            # that finishes the job (complete tiles are kept).
            if feedback.isCanceled():
                _remove(made + ([] if vrt_existed and direct else [vrt]) + ([] if direct else [out]))
            elif not direct:
                _remove([out])
            raise
        feedback.setProgress(100)
