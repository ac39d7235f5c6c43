// Helpers shared by the GIS files.
#pragma once
#include <string>

void GisInit();                                      // register the GDAL drivers once
std::string GisFmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void GisErr(const std::string& text);                // error box with its own text
std::string GisLastErr();                            // GDAL's last error text, or empty
std::string GisExt(const std::string& path);         // extension, lower case, without the dot
