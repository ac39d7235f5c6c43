"""The plugin object: registers the Processing provider when QGIS (or qgis_process) loads it."""
from qgis.core import QgsApplication

from .provider import AltimetraProvider


class AltimetraPlugin:
    def __init__(self, iface):
        self.iface = iface
        self.provider = None

    # qgis_process calls only this; the application calls initGui too.
    def initProcessing(self):  # noqa: N802
        if self.provider is None:
            self.provider = AltimetraProvider()
            QgsApplication.processingRegistry().addProvider(self.provider)

    def initGui(self):  # noqa: N802
        self.initProcessing()

    def unload(self):
        if self.provider is not None:
            QgsApplication.processingRegistry().removeProvider(self.provider)
            self.provider = None
