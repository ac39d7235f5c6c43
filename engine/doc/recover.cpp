// Recovery copies: snapshot, writing, description and restoring.
#include "doc/recover.h"
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include "core/state.h"
#include "display/view.h"
#include "doc/doc.h"
#include "formats/outfile.h"
#include "formats/scn.h"
#include "terrain/trn.h"

int AutoSaveSec = 120;

namespace {
const char* const MetaHead = "Orvane Altimetra recovery 1";
}  // namespace

void RcvSnap(RcvCopy* c, long long time) {
    ScnToMem(ViewDim, &c->scn);
    std::ostringstream m;
    char b[256];
    m << MetaHead << '\n';
    m << "time " << time << '\n';
    m << "modified " << (ModFlg ? 1 : 0) << '\n';
    std::snprintf(b, sizeof b, "region %.9g %.9g %.9g %.9g %.9g %.9g\n", TrnRgn[0], TrnRgn[1], TrnRgn[2],
                  TrnRgn[3], TrnRgn[4], TrnRgn[5]);
    m << b;
    std::snprintf(b, sizeof b, "interval %.9g\n", MshItv);
    m << b;
    // Last: the rest of the line is the path, whatever it holds.
    m << "path " << Doc.path << '\n';
    c->meta = m.str();
}

int RcvWrite(const RcvCopy& c, const std::string& scnPath, const std::string& metaPath, std::string* err) {
    // The description goes with the document it describes, in one commit.
    return OutBufs({{scnPath, c.scn.data(), c.scn.size()}, {metaPath, c.meta.data(), c.meta.size()}}, err);
}

bool RcvReadMeta(const std::string& metaPath, RcvMeta* m) {
    std::ifstream f(metaPath, std::ios::binary);
    if (!f) return false;
    std::string line;
    if (!std::getline(f, line) || line != MetaHead) return false;
    RcvMeta r;
    bool time = false, mod = false, rgn = false, itv = false, path = false;
    while (std::getline(f, line)) {
        const size_t sp = line.find(' ');
        const std::string key = line.substr(0, sp);
        const std::string val = sp == std::string::npos ? std::string() : line.substr(sp + 1);
        char rest = 0;
        if (key == "time") {
            time = std::sscanf(val.c_str(), "%lld %c", &r.time, &rest) == 1;
        } else if (key == "modified") {
            int v = 0;
            mod = std::sscanf(val.c_str(), "%d %c", &v, &rest) == 1 && (v == 0 || v == 1);
            r.modified = v == 1;
        } else if (key == "region") {
            rgn = std::sscanf(val.c_str(), "%f %f %f %f %f %f %c", &r.rgn[0], &r.rgn[1], &r.rgn[2], &r.rgn[3],
                              &r.rgn[4], &r.rgn[5], &rest) == 6;
        } else if (key == "interval") {
            itv = std::sscanf(val.c_str(), "%f %c", &r.itv, &rest) == 1;
        } else if (key == "path") {
            r.path = val;
            path = true;
        }
    }
    if (!(time && mod && rgn && itv && path)) return false;
    *m = r;
    return true;
}
