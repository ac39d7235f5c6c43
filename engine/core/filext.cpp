// Extensions of file names.
#include "core/filext.h"

std::string FileExt(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    return path.substr(dot + 1);
}

bool HasExt(const std::string& path, const char* ext) {
    const std::string e = FileExt(path);
    std::string upper(ext);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return e == ext || e == upper;
}
