// Tiny fixture files kept under tests/data (the scripts beside them make the generated ones).
#pragma once
#include <string>

inline std::string DataPath(const std::string& name) {
    return std::string(ALT_SOURCE_DIR) + "/tests/data/" + name;
}
