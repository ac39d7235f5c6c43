#include "journal.h"
#include "app/sys.h"
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include "console_plt.h"
#include "doc_verbs.h"
#include "drag.h"
#include "core/alc.h"
#include "core/cmd.h"
#include "core/mode.h"
#include "core/state.h"
#include "display/drw.h"
#include "display/view.h"
#include "doc/filnam.h"
#include "gis_verbs.h"
#include "image/vecimg.h"
#include "lexer.h"
#include "registry.h"
#include "scene/scene.h"
#include "doc/doc.h"
#include "display/dsp_cmd.h"
#include "xchg_verb.h"
#include "app/modetbl.h"

namespace jrn {

void Host::Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void Host::Error(const std::string& text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

namespace {

Host* gHost = nullptr;  // the running journal's host, for Line()

constexpr int VkMax = 255;
constexpr int WinMax = 32767;
constexpr int CountMax = 1000000;


class Runner {
public:
    Runner(Host& host, const Options& opt)
        : host_(host), opt_(opt),
          plt_(plt::Get(), [&host](const std::string& s) { host.Print(s); }) {}

    int Run(std::istream& in);

private:
    // A malformed line: the message is reported and the run stops.
    struct Bad {
        std::string what;
    };

    bool Start();
    void Exec(const Words& w);

    int Int(const Words& w, size_t i, int lo, int hi) const;
    void Count(const Words& w, size_t lo, size_t hi) const;

    void Window(int w, int h);
    void Pointer(int x, int y, int type);
    void Key(int vk, int type);

    Host& host_;
    Options opt_;
    ConsolePlatform plt_;
    bool ended_ = false;  // the journal ended the engine (quit)
};

int Runner::Int(const Words& w, size_t i, int lo, int hi) const {
    int v;
    if (!ParseInt(w[i], &v)) throw Bad{"'" + w[i] + "' is not an integer"};
    if (v < lo || v > hi)
        throw Bad{w[0] + ": " + w[i] + " outside " + std::to_string(lo) + ".." + std::to_string(hi)};
    return v;
}

// Word count check: w holds the verb and between lo and hi arguments.
void Runner::Count(const Words& w, size_t lo, size_t hi) const {
    size_t n = w.size() - 1;
    if (n < lo) throw Bad{"missing argument to " + w[0]};
    if (n > hi) throw Bad{"too many arguments to " + w[0]};
}

void Runner::Window(int w, int h) {
    if (host_.Resize(w, h)) return;
    WinSizW = w;
    WinSizH = h;
    IntrCmd(CatDsp, CmdDspResize);
}

// The pointer position, the event, then the flush the view does after every pointer event.
void Runner::Pointer(int x, int y, int type) {
    if (!host_.Pointer(x, y, type)) {
        SetPtrPix(x, y);
        IntrEvt(type);
        FlushDrw();
    }
    host_.Idle();
}

void Runner::Key(int vk, int type) {
    if (!host_.Key(vk, type)) {
        SetPtrKey(vk);
        IntrEvt(type);
    }
    host_.Idle();
}

// The application's start-up order, with an empty profile.
bool Runner::Start() {
    return EngGuard([] {
               // The profile's default connection distance.
               StartEng([](void*) { SetEdt.cnctDst = 10; });
               return 1;
           }) == 1;
}

void Runner::Exec(const Words& w) {
    const std::string& v = w[0];
    if (v == "window") {
        Count(w, 2, 2);
        int ww = Int(w, 1, 1, WinMax), hh = Int(w, 2, 1, WinMax);
        Window(ww, hh);
    } else if (v == "cmd" || v == "dstr") {
        Count(w, 2, 2);
        int c = Int(w, 1, INT32_MIN, INT32_MAX), n = Int(w, 2, INT32_MIN, INT32_MAX);
        if (v == "cmd") {
            bool quit = c == CatSys && n == CmdQuit && QuitNoAsk;
            IntrCmd(c, n);
            if (quit) ended_ = true;
        } else {
            DstrCmd(c, n);
            if (c == CatSys && n == CmdSysEnd) ended_ = true;
        }
    } else if (v == "ptr") {
        Count(w, 2, 2);
        int x = Int(w, 1, -WinMax, WinMax), y = Int(w, 2, -WinMax, WinMax);
        SetPtrPix(x, y);
    } else if (v == "evt") {
        Count(w, 1, 1);
        int t = Int(w, 1, INT32_MIN, INT32_MAX);
        IntrEvt(t);
        if (t >= EVT_LDOWN && t <= EVT_MOVE) FlushDrw();
        host_.Idle();
    } else if (v == "press" || v == "move" || v == "release" || v == "rpress" ||
               v == "rrelease" || v == "click") {
        Count(w, 2, 2);
        int x = Int(w, 1, -WinMax, WinMax), y = Int(w, 2, -WinMax, WinMax);
        if (v == "press" || v == "click") Pointer(x, y, EVT_LDOWN);
        if (v == "move") Pointer(x, y, EVT_MOVE);
        if (v == "release" || v == "click") Pointer(x, y, EVT_LUP);
        if (v == "rpress") Pointer(x, y, EVT_RDOWN);
        if (v == "rrelease") Pointer(x, y, EVT_RUP);
    } else if (v == "drag") {
        Count(w, 4, 5);
        int x0 = Int(w, 1, -WinMax, WinMax), y0 = Int(w, 2, -WinMax, WinMax);
        int x1 = Int(w, 3, -WinMax, WinMax), y1 = Int(w, 4, -WinMax, WinMax);
        int steps = w.size() > 5 ? Int(w, 5, 0, CountMax) : 10;
        Pointer(x0, y0, EVT_LDOWN);
        for (auto [x, y] : DragMoves(x0, y0, x1, y1, steps)) Pointer(x, y, EVT_MOVE);
        Pointer(x1, y1, EVT_LUP);
    } else if (v == "wheel") {
        Count(w, 3, 3);
        int x = Int(w, 1, -WinMax, WinMax), y = Int(w, 2, -WinMax, WinMax);
        int n = Int(w, 3, -1000, 1000);
        if (!host_.Wheel(x, y, n)) {
            SetPtrPix(x, y);
            for (int i = 0; i < std::abs(n); ++i) IntrCmd(CatDsp, n > 0 ? CmdWhlIn : CmdWhlOut);
            FlushDrw();
        }
        host_.Idle();
    } else if (v == "keydown" || v == "keyup" || v == "key") {
        Count(w, 1, 1);
        int vk = Int(w, 1, 0, VkMax);
        if (v != "keyup") Key(vk, EVT_KEYDOWN);
        if (v != "keydown") Key(vk, EVT_KEYUP);
    } else if (v == "tick") {
        Count(w, 0, 1);
        int n = w.size() > 1 ? Int(w, 1, 0, CountMax) : 1;
        for (int i = 0; i < n && !ended_; ++i) {
            if (!host_.Tick()) IntrEvt(EVT_TIMER);
            host_.Idle();
        }
    } else if (v == "answer") {
        Count(w, 1, SIZE_MAX);
        std::vector<int> ans;
        for (size_t i = 1; i < w.size(); ++i) {
            int a = ConsolePlatform::AnsValue(w[i]);
            if (!a) throw Bad{"'" + w[i] + "' is not an answer (ok, yes, no, cancel)"};
            ans.push_back(a);
        }
        for (int a : ans) plt_.QueueAnswer(a);
    } else if (v == "set") {
        Count(w, 1, SIZE_MAX);
        SetFn f = FindSet(w[1]);
        if (!f) throw Bad{"unknown parameter " + w[1]};
        std::string err;
        if (!f(Words(w.begin() + 2, w.end()), &err)) throw Bad{"set " + w[1] + ": " + err};
    } else if (v == "file") {
        Count(w, 1, 1);
        if (w[1].size() >= static_cast<size_t>(FilNamLen)) throw Bad{"file name too long"};
        std::memcpy(FilNam, w[1].c_str(), w[1].size() + 1);
    } else if (v == "echo") {
        std::string s;
        for (size_t i = 1; i < w.size(); ++i) s += (i > 1 ? " " : "") + w[i];
        host_.Print(s + "\n");
    } else if (v == "dump") {
        Count(w, 1, 1);
        DumpFn f = FindDump(w[1]);
        if (f) {
            f();
        } else {
            // Dumps of the window (menu, window) belong to the host.
            std::string err;
            if (!host_.WindowVerb(w, &err)) throw Bad{err.empty() ? "unknown dump kind " + w[1] : err};
        }
    } else if (v == "snapshot") {
        Count(w, 1, 1);
        if (!host_.CanSnapshot()) throw Bad{"snapshot needs a view (altimetra --journal)"};
        std::string err;
        if (!host_.Snapshot(w[1], &err)) throw Bad{"snapshot " + w[1] + ": " + err};
    } else if (v == "image") {
        // The auto-vectorize command after its file dialog: a file that cannot be read is
        // reported in a box, the previous image stays.
        Count(w, 1, 1);
        LdVecImg(w[1].c_str());
    } else if (CrvVerb(w)) {  // undo, redo (dump_curves.cpp)
    } else if (std::string herr; ChkVerb(w, &herr)) {  // hgtline (chk_verbs.cpp)
        if (!herr.empty()) throw Bad{herr};
    } else if (std::string derr; DocVerb(w, &derr)) {
        if (!derr.empty()) throw Bad{derr};
    } else {
        std::string err;
        if (GisVerb(w, &err)) {  // import ogr, export gtiff|asc|... (gis_verbs.cpp)
            if (!err.empty()) throw Bad{err};
        } else if (int x = XchgVerb(w, &err)) {  // import dxf, export dxf|vrml|stl|gld (set_file.cpp)
            if (x < 0) throw Bad{err};
        } else if (!host_.WindowVerb(w, &err)) {
            throw Bad{err.empty() ? "unknown verb " + v : err};
        }
    }
}

int Runner::Run(std::istream& in) {
    plt::Platform* prev = plt::Get();
    plt_.onYes = [this] {
        // A Yes runs the pending commands; when one of them is the end of system, the journal
        // has quitted the engine.
        if (PndDstr.armed && PndDstr.cat == CatSys && PndDstr.code == CmdSysEnd) ended_ = true;
    };
    plt::Set(&plt_);
    Host* prevHost = gHost;
    gHost = &host_;

    int status = StOk;
    if (opt_.startEngine && !Start()) {
        host_.Error("journal: the engine could not start\n");
        status = StNoEngine;
    }
    if (status == StOk) Window(800, 600);

    std::string line;
    int lineNo = 0;
    Words words;
    bool begun = false;
    while (status == StOk && !ended_ && std::getline(in, line)) {
        ++lineNo;
        try {
            std::string err;
            if (line.find('\0') != std::string::npos) throw Bad{"NUL byte in line"};
            if (!SplitLine(line, &words, &err)) throw Bad{err};
            if (words.empty()) continue;
            Exec(words);
            host_.Idle();
            if (!begun) {
                begun = true;
                host_.Begun();
            }
        } catch (const Bad& b) {
            // The message quotes the line: keep control bytes of a binary file off the terminal.
            std::string what = b.what;
            for (char& c : what)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
            host_.Error("journal:" + std::to_string(lineNo) + ": " + what + "\n");
            status = StMalformed;
        }
    }
    if (status == StOk && !ended_ && !begun) host_.Begun();
    if (status == StOk && !ended_ && in.bad()) {
        host_.Error("journal: read error after line " + std::to_string(lineNo) + "\n");
        status = StNoEngine;
    }
    if (ended_ && status == StOk && in.peek() != std::char_traits<char>::eof())
        host_.Error("journal:" + std::to_string(lineNo) +
                    ": the engine has ended; the remaining lines are not run\n");

    if (opt_.endEngine && !ended_ && status != StNoEngine) DstrCmd(CatSys, CmdSysEnd);
    gHost = prevHost;
    plt::Set(prev);
    std::fflush(stdout);
    return status;
}

}  // namespace

void Line(const std::string& text) {
    if (gHost) gHost->Print(text + "\n");
}

int Run(std::istream& in, Host& host, const Options& opt) {
    Runner r(host, opt);
    return r.Run(in);
}

int RunFile(const std::string& path, Host& host, const Options& opt) {
    if (path == "-") return Run(std::cin, host, opt);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        host.Error("journal: cannot read " + path + ": " + std::strerror(EISDIR) + "\n");
        return StNoEngine;
    }
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        host.Error("journal: cannot read " + path + ": " + std::strerror(errno) + "\n");
        return StNoEngine;
    }
    return Run(f, host, opt);
}

}  // namespace jrn
