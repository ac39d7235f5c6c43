// The shared corpus (DXF drawings and ASCII STL meshes of other projects' test suites) and a
// fixture that reads its files one by one into a fresh scene.
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "core/alc.h"
#include "core/msg.h"
#include "curves/crv.h"
#include "doc/doc.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"
#include "terrain/trn.h"

inline std::string CorpusDir() {
    const char* e = std::getenv("ALT_SHARED_DIR");
    return std::string(e && *e ? e : ALT_SHARED_DIR) + "/corpus";
}

inline std::vector<std::filesystem::path> CorpusFiles(const char* ext) {
    std::vector<std::filesystem::path> r;
    if (!std::filesystem::is_directory(CorpusDir())) return r;
    for (const auto& e : std::filesystem::recursive_directory_iterator(CorpusDir())) {
        std::string x = e.path().extension().string();
        for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (e.is_regular_file() && x == ext) r.push_back(e.path());
    }
    std::sort(r.begin(), r.end());
    return r;
}

class CorpusTest : public EngineTest {
public:
    // A fresh start-up scene, boxes and message lines forgotten.
    void Fresh() {
        DocRstScn();
        IniScn();
        IniTrnScn();
        ClrMsg();
        Plt().Clear();
    }
    bool Told() { return !Plt().boxes.empty() || MsgLinNum > 0; }
    // Curve points must be finite: a reader must never store what it could not parse.
    static void ExpectFiniteCurves() {
        for (int i = 0; CrvPart && i < CrvPart->crvs.n; i++) {
            const crv* c = CrvPart->crvs.a[i];
            for (int k = 0; k < 3 * c->n; k++) ASSERT_TRUE(std::isfinite(c->p[k])) << "curve " << i;
        }
    }
};

