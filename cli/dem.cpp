// altimetra-cli dem: contours from a GIS source to a georeferenced DEM, through the same engine
// commands as the window (region, terrain creation, filter) and the GIS exports.
#include "dem.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include "core/alc.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "core/state.h"
#include "curves/crv.h"
#include "gis/gis.h"
#include "doc/xchg_flow.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "terrain/trn.h"
#include "terrain/trn_mth.h"
#include "curves/crv_cmd.h"
#include "terrain/trn_cmd.h"

namespace jrn {

namespace {

const char DemUsage[] =
    "usage: altimetra-cli dem INPUT -o OUTPUT --interval D [--field NAME] [--layer NAME]\n"
    "                         [--region X0 Y0 X1 Y1] [--method NAME] [--filter ANGLE]\n"
    "                         [--times] [--quiet]\n"
    "\n"
    "Makes a terrain grid from the contour lines of INPUT (any vector format GDAL reads) and\n"
    "writes it to OUTPUT (format by extension: .tif GeoTIFF, .asc, .xyz, ...).\n"
    "  --interval D      grid interval in the coordinate unit of INPUT (metres)\n"
    "  --field NAME      attribute holding the heights (default: the z of the lines)\n"
    "  --layer NAME      layer of INPUT (default: the first layer of lines)\n"
    "  --region X0 Y0 X1 Y1  region in INPUT's coordinates (default: the contours' extent)\n"
    "  --method NAME     generation method (default: gradient-paths); names, the numbers\n"
    "                    of set TrnMethod, and what each does:\n"
    "%s"
    "  --filter ANGLE    run the slope filter once with this maximum angle (degrees, 0..90)\n"
    "  --times           print the time of each stage on standard error\n"
    "  --quiet           no progress bar\n"
    "Exit status: 0 written; 1 the engine could not start; 2 wrong command line; 3 the input\n"
    "cannot be read or holds no usable contours; 4 no grid could be made; 5 the output could\n"
    "not be written.\n";

// Message boxes go to standard error; the progress bar too, when it is a terminal.
class DemPlatform final : public plt::Platform {
public:
    bool bar = false;
    int errors = 0;

    int MsgBox(const char* text, const char* caption, int buttons, int icon) override {
        (void)caption;
        if (icon == plt::IconError) errors++;
        EndBar();
        std::string t = text ? text : "";
        for (char& c : t)
            if (c == '\n') c = ' ';
        std::fprintf(stderr, "altimetra-cli dem: %s\n", t.c_str());
        return buttons == plt::BtnYesNo ? plt::AnsNo : plt::AnsOk;
    }
    void Console(const char* text) override { (void)text; }
    void Notify(int id, long wparam) override {
        (void)wparam;
        if (!bar) return;
        if (id == ID_PRG_CRE) {
            steps_ = 0;
            shown_ = -1;
            on_ = true;
            Draw();
        } else if (id == ID_PRG_DSP && on_) {
            steps_++;
            Draw();
        } else if (id == ID_PRG_DEL) {
            EndBar();
        }
    }

private:
    void Draw() {
        int pct = steps_ > 100 ? 100 : steps_;
        if (pct == shown_) return;
        shown_ = pct;
        char line[96];
        int n = pct / 2;
        std::snprintf(line, sizeof line, "\rgenerating [%-50.*s] %3d%%", n,
                      "##################################################", pct);
        std::fputs(line, stderr);
        std::fflush(stderr);
    }
    void EndBar() {
        if (!on_) return;
        on_ = false;
        std::fputs("\n", stderr);
    }
    int steps_ = 0, shown_ = -1;
    bool on_ = false;
};

bool Real(const char* s, double* v) {
    char* end = nullptr;
    *v = std::strtod(s, &end);
    return end != s && *end == '\0' && std::isfinite(*v);
}

// The usage text with one line per generation method.
std::string Usage() {
    std::string m;
    for (const TrnMethodInfo& t : TrnMethods) {
        char line[160];
        std::snprintf(line, sizeof line, "      %-15s %d  %s\n", t.name, static_cast<int>(t.kind), t.desc);
        m += line;
    }
    const char* at = std::strstr(DemUsage, "%s");
    std::string u(DemUsage, static_cast<size_t>(at - DemUsage));
    u += m;
    u += at + 2;
    return u;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Processor time of the whole process (all threads), seconds.
double Cpu() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

int DemMain(int argc, char** argv) {
    std::string in, out, field, layer;
    double itv = 0, rgn[4] = {0, 0, 0, 0}, flt = -1;
    bool haveRgn = false, times = false, quiet = false;
    const TrnMethodInfo* method = TrnMethodByName("gradient-paths");
    auto bad = [](const std::string& why) {
        std::fprintf(stderr, "altimetra-cli dem: %s\n%s", why.c_str(), Usage().c_str());
        return 2;
    };
    for (int i = 2; i < argc; i++) {
        std::string a = argv[i];
        auto need = [&](int n) { return i + n < argc; };
        if (a == "-h" || a == "--help") {
            std::fputs(Usage().c_str(), stdout);
            return 0;
        } else if (a == "-o" || a == "--output") {
            if (!need(1)) return bad("missing value of " + a);
            out = argv[++i];
        } else if (a == "--interval") {
            if (!need(1) || !Real(argv[i + 1], &itv) || !(itv > 0))
                return bad("--interval needs a positive number");
            i++;
        } else if (a == "--field") {
            if (!need(1)) return bad("missing value of --field");
            field = argv[++i];
        } else if (a == "--layer") {
            if (!need(1)) return bad("missing value of --layer");
            layer = argv[++i];
        } else if (a == "--region") {
            if (!need(4)) return bad("--region needs four numbers");
            for (int k = 0; k < 4; k++)
                if (!Real(argv[i + 1 + k], &rgn[k])) return bad("--region needs four numbers");
            if (!(rgn[0] < rgn[2] && rgn[1] < rgn[3]))
                return bad("--region needs X0 < X1 and Y0 < Y1");
            haveRgn = true;
            i += 4;
        } else if (a == "--method") {
            if (!need(1)) return bad("missing value of --method");
            method = TrnMethodByName(argv[++i]);
            if (!method) return bad(std::string("unknown method ") + argv[i]);
        } else if (a == "--filter") {
            if (!need(1) || !Real(argv[i + 1], &flt) || flt < 0 || flt > 90)
                return bad("--filter needs an angle from 0 to 90");
            i++;
        } else if (a == "--times") {
            times = true;
        } else if (a == "--quiet") {
            quiet = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return bad("unknown option " + a);
        } else if (in.empty()) {
            in = a;
        } else {
            return bad("more than one input: " + a);
        }
    }
    if (in.empty()) return bad("no input");
    if (out.empty()) return bad("no output (-o OUTPUT)");
    if (itv == 0) return bad("no interval (--interval D)");
    // The engine holds millimetres in 32-bit floats; the dialog accepts 1 mm .. 1e8 m too.
    if (itv < 0.001 || itv > 1e8) return bad("--interval outside 0.001 .. 1e8");

    DemPlatform dp;
    dp.bar = !quiet && isatty(2);
    plt::Platform* prev = plt::Get();
    plt::Set(&dp);
    const uint8_t lang = MsgLang;
    const int prevMethod = TrnMethod;
    int status = 0;
    bool started = EngGuard([] {
                       MkTmpNam();
                       SetPrmDef();
                       StoPrm();
                       AplPrm();
                       DstrCmd(CatSys, CmdSysIni);
                       IniScn();
                       IniTrnScn();
                       return 1;
                   }) == 1;
    if (!started) {
        std::fputs("altimetra-cli dem: the engine could not start\n", stderr);
        plt::Set(prev);
        MsgLang = lang;
        return 1;
    }
    MsgLang = 1;  // console texts are English
    double t0 = Now(), c0 = Cpu();
    OgrImpRes res;
    OgrImpPrm p{in, layer, field};
    if (EngGuard([&] { return ImpOgr(p, &res); }) != 0) status = 3;
    double t1 = Now(), t2 = t1, t3 = t1;
    double c1 = Cpu(), c2 = c1, c3 = c1;
    if (status == 0) {
        if (haveRgn) {
            TrnRgn[0] = static_cast<float>((rgn[0] - res.ox) * 1000.0);
            TrnRgn[1] = static_cast<float>((rgn[1] - res.oy) * 1000.0);
            TrnRgn[3] = static_cast<float>((rgn[2] - res.ox) * 1000.0);
            TrnRgn[4] = static_cast<float>((rgn[3] - res.oy) * 1000.0);
        }
        MshItv = static_cast<float>(itv * 1000.0);
        int R = 0, C = 0;
        if (!TrnMshDim(TrnRgn, MshItv, &R, &C) || static_cast<long long>(R) * C > 200000000LL) {
            std::fprintf(stderr, "altimetra-cli dem: the grid would be too large "
                                 "(more than 65535 rows or columns): choose a larger interval\n");
            status = 4;
        } else {
            if (!quiet)
                std::fprintf(stderr, "altimetra-cli dem: %d contours (%d skipped), grid %d x %d\n",
                             res.curves, res.skipped, C, R);
            IntrCmd(CatDrw2D, CmdRgnDlgOk);  // region dialog OK: the flat grid
            TrnMethod = method->kind;
            int before = dp.errors;
            if (TrnSrf) IntrCmd(CatMdl, CmdTrnCre);
            if (!TrnSrf || dp.errors != before) status = 4;
            t2 = Now();
            c2 = Cpu();
            if (status == 0 && flt >= 0) {
                FltrAng = static_cast<float>(flt);
                IntrCmd(CatMdl, CmdTrnFltr);
            }
            t3 = Now();
            c3 = Cpu();
            ClrMsg();
            if (status == 0 && EngGuard([&] { return ExpGisRst(out.c_str()); }) != 0) status = 5;
        }
    }
    double t4 = Now(), c4 = Cpu();
    if (status == 0 && !quiet && MsgLinNum > 0) std::fprintf(stderr, "altimetra-cli dem: %s\n", MsgLin[0]);
    if (times)
        std::fprintf(stderr,
                     "times (wall / processor): read %.3f / %.3f s, generate %.3f / %.3f s, "
                     "filter %.3f / %.3f s, write %.3f / %.3f s\n",
                     t1 - t0, c1 - c0, t2 - t1, c2 - c1, t3 - t2, c3 - c2, t4 - t3, c4 - c3);
    DstrCmd(CatSys, CmdSysEnd);
    plt::Set(prev);
    MsgLang = lang;
    TrnMethod = prevMethod;
    return status;
}

}  // namespace jrn
