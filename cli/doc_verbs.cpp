// Document verbs of journals: new, open PATH, save [PATH], and `dump document`. They run the
// document flows of the engine (file/doc.h) without the file dialogs.
#include "doc_verbs.h"
#include "registry.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "curves/crv.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "cmd/crv_cmds.h"

namespace jrn {

namespace {
// Unsaved changes first: true to go on.
bool SaveFirst() {
    int r = DocAskSave();
    if (r == DocNeedName) {
        Line("save: the document has no file name (save PATH)");
        return false;
    }
    return r == DocDone;
}
}  // namespace

namespace {
// `import contours PATH`: the contour text of the benchmark data ("curve N H" followed by N
// lines "X Y", millimetres; other lines are ignored), each contour a curve of the terrain part
// at its height, in file order.
void ImportContours(const std::string& path, std::string* err) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        *err = "import contours " + path + ": " + std::strerror(errno);
        return;
    }
    char line[512];
    int want = 0, lineNo = 0;
    float h = 0;
    crv* c = nullptr;
    while (std::fgets(line, sizeof line, f)) {
        ++lineNo;
        double x, y, z;
        int n;
        if (want > 0) {
            if (std::sscanf(line, "%lf %lf", &x, &y) != 2) break;
            AddPnt(c, static_cast<float>(x), static_cast<float>(y), h);
            --want;
        } else if (std::sscanf(line, "curve %d %lf", &n, &z) == 2 && n > 0) {
            c = NewCrv();
            if (!c) break;
            h = static_cast<float>(z);
            want = n;
        }
    }
    std::fclose(f);
    if (want > 0) *err = "import contours " + path + ": short or malformed at line " + std::to_string(lineNo);
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; ++i) {
        crv* k = CrvPart->crvs.a[i];
        if (k->p) SetCrvHgt(k, k->p[2]);
    }
    UdtCrvBox();
    Redraw();
}
}  // namespace

bool DocVerb(const Words& w, std::string* err) {
    const std::string& v = w[0];
    if (v == "import" && w.size() == 3 && w[1] == "contours") {
        ImportContours(w[2], err);
        return true;
    }
    if (v != "new" && v != "open" && v != "save") return false;
    const size_t n = w.size() - 1;
    if (v == "new") {
        if (n != 0) *err = "too many arguments to new";
        else if (SaveFirst()) DocNew();
    } else if (v == "open") {
        if (n != 1) *err = n == 0 ? "missing argument to open" : "too many arguments to open";
        else if (SaveFirst()) DocOpen(w[1]);
    } else {
        if (n > 1) {
            *err = "too many arguments to save";
        } else if (n == 1) {
            DocSaveAs(w[1]);
        } else if (DocSave() == DocNeedName) {
            Line("save: the document has no file name (save PATH)");
        }
    }
    return true;
}

void DumpDocument() {
    Line("document " + Quote(Doc.title.c_str()) + " modified=" + std::to_string(ModFlg ? 1 : 0));
}

}  // namespace jrn
