// Document verbs of journals: new, open PATH, save [PATH], and `dump document`. They run the
// document flows of the engine (file/doc.h) without the file dialogs.
#include "doc_verbs.h"
#include "registry.h"
#include "scene/scene.h"
#include "file/doc.h"

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

bool DocVerb(const Words& w, std::string* err) {
    const std::string& v = w[0];
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
