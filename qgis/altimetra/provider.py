"""The Processing provider "Altimetra": its algorithms and the setting that names altimetra-cli."""
import os

from qgis.core import QgsProcessingProvider
from qgis.PyQt.QtGui import QIcon

from . import cli
from .algorithms import ContoursToDem, TiledContoursToDem
from .texts import tx

try:
    from processing.core.ProcessingConfig import ProcessingConfig, Setting
except ImportError:  # QGIS without its Processing plugin: $ALTIMETRA_CLI or PATH only
    ProcessingConfig = None


class AltimetraProvider(QgsProcessingProvider):
    def __init__(self):
        super().__init__()
        self._version = ''

    def id(self):
        return 'altimetra'

    def name(self):
        return 'Altimetra'

    def longName(self):  # noqa: N802
        v = self.versionInfo()
        return 'Orvane Altimetra ' + v if v else 'Orvane Altimetra'

    def icon(self):
        path = os.path.join(os.path.dirname(__file__), 'icon.svg')
        return QIcon(path) if os.path.exists(path) else super().icon()

    def versionInfo(self):  # noqa: N802
        return self._version

    def load(self):
        if ProcessingConfig is not None:
            ProcessingConfig.settingIcons[self.name()] = self.icon()
            ProcessingConfig.addSetting(Setting(self.name(), cli.SETTING, tx('setting'), '',
                                                valuetype=Setting.FILE))
            ProcessingConfig.readSettings()
        self.refreshAlgorithms()
        return True

    def unload(self):
        if ProcessingConfig is not None:
            ProcessingConfig.removeSetting(cli.SETTING)

    def loadAlgorithms(self):  # noqa: N802
        # The methods come from the program, so that a method it gains appears here.
        prog = cli.program()
        methods = cli.methods(prog)
        self._version = cli.version(prog) if prog else ''
        self.addAlgorithm(ContoursToDem(methods))
        self.addAlgorithm(TiledContoursToDem(methods))

    # The command writes files only.
    def supportsNonFileBasedOutput(self):  # noqa: N802
        return False
