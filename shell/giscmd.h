// File menu commands of the GIS interchange: contours from GIS vector files, the terrain grid
// as GeoTIFF and other rasters, the contours as GIS vector files.
#pragma once

class QWidget;

constexpr int CmdGisImp = 32900;  // "GIS 等高線のインポート..."
constexpr int CmdGisTif = 32901;  // "GeoTIFF 形式で保存..."
constexpr int CmdGisRst = 32902;  // "その他のラスター形式で保存..." (.asc, .xyz, ...)
constexpr int CmdGisVec = 32903;  // "等高線を GIS 形式で保存..." (.gpkg, .shp, ...)

// Runs the command; false for an id it does not own.
bool GisCmd(QWidget* frame, int id);
