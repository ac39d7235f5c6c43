#include "fuzz_host.h"
#include "app/sys.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include "core/cmd.h"
#include "core/msg.h"
#include "core/state.h"
#include "doc/doc.h"
#include "gis/gis.h"
#include "scene/scene.h"
#include "support/rec_platform.h"
#include "terrain/trn.h"

namespace {
RecPlatform gPlt;
std::string gDir;
}  // namespace

void FuzzStart() {
    if (!gDir.empty()) return;
    plt::Set(&gPlt);
    // /dev/shm keeps the many small writes off the disk.
    std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path().string();
    std::string tmpl = base + "/alt-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data()) || chdir(tmpl.c_str()) != 0) {
        std::perror("alt-fuzz: scratch folder");
        std::exit(1);
    }
    gDir = tmpl;
    // The folder goes at exit; a crash leaves it for inspection.
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(gDir, ec);
    });
    StartEng();
}

void FuzzFresh() {
    FuzzStart();
    DocRstScn();
    IniScn();
    IniTrnScn();
    GisClear();
    gPlt.Clear();
}

std::string FuzzPut(const char* name, const uint8_t* data, size_t n) {
    std::string path = gDir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (n && std::fwrite(data, 1, n, f) != n) || std::fclose(f) != 0) {
        std::perror("alt-fuzz: write");
        std::abort();
    }
    return path;
}

bool FuzzTold() { return !gPlt.boxes.empty() || !gPlt.console.empty() || MsgLinNum > 0; }
