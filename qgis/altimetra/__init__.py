"""QGIS plugin of Orvane Altimetra: a Processing provider whose algorithms run altimetra-cli."""


def classFactory(iface):  # noqa: N802 (QGIS's name)
    from .plugin import AltimetraPlugin
    return AltimetraPlugin(iface)
