// Plain driver for the fuzz targets when libFuzzer is not at hand (GCC builds, CI): replays
// every seed file, then feeds the target random mutations of the seeds until the time is up.
// Takes libFuzzer's option spelling so that scripts call both alike:
//   fuzz_NAME [-max_total_time=S] [-runs=N] [-seed=N] [-ext=dxf,stl] [-artifact_prefix=P] FILE|DIR...
// Without coverage feedback it finds less than libFuzzer, but it runs under GCC's sanitizers.
// A crash (sanitizer report, abort, signal) leaves the input in PREFIXcrash-NAME for replay.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>
#include <fcntl.h>
#include <unistd.h>
#include "fuzz_host.h"

extern "C" void __sanitizer_set_death_callback(void (*)(void)) __attribute__((weak));

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const Bytes* gCur = nullptr;   // the input being run
char gArtifact[4096] = "crash-input";

// Leaves the current input behind; async-signal-safe.
void SaveCur() {
    if (!gCur) return;
    int fd = open(gArtifact, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    size_t done = 0;
    while (done < gCur->size()) {
        ssize_t w = write(fd, gCur->data() + done, gCur->size() - done);
        if (w <= 0) break;
        done += static_cast<size_t>(w);
    }
    close(fd);
    const char msg[] = "\nfuzz driver: the failing input is in ";
    if (write(2, msg, sizeof msg - 1) < 0 || write(2, gArtifact, std::strlen(gArtifact)) < 0 ||
        write(2, "\n", 1) < 0) {
    }
    gCur = nullptr;
}

void OnSignal(int sig) {
    SaveCur();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

bool Wanted(const fs::path& p, const std::vector<std::string>& exts) {
    if (exts.empty()) return true;
    std::string e = p.extension().string();
    if (!e.empty()) e.erase(0, 1);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(exts.begin(), exts.end(), e) != exts.end();
}

void AddSeed(const fs::path& p, std::vector<Bytes>* seeds, std::vector<std::string>* names) {
    std::ifstream in(p, std::ios::binary);
    seeds->emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    names->push_back(p.string());
}

constexpr size_t MaxLen = 1 << 20;

// Texts that break readers of numbers and counts.
const char* const Extremes[] = {"0", "-1", "1e308", "-1e308", "inf", "nan", "1e39", "3.5e38",
                                "2147483647", "-2147483648", "4294967296", "99999999999999999999",
                                "1e-320", "", " ", "0x10"};

void Mutate(Bytes* b, const std::vector<Bytes>& seeds, std::mt19937_64& rng) {
    auto below = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    int steps = 1 + static_cast<int>(below(6));
    for (int s = 0; s < steps; ++s) {
        const size_t n = b->size();
        switch (below(10)) {
        case 0:  // flip a bit
            if (n) (*b)[below(n)] ^= static_cast<uint8_t>(1u << below(8));
            break;
        case 1: {  // an interesting byte
            static const uint8_t v[] = {0, 1, 0x7f, 0x80, 0xff, '\n', '\r', ' ', '-', '.', '0', '9'};
            if (n) (*b)[below(n)] = v[below(sizeof v)];
            break;
        }
        case 2:  // cut short
            b->resize(below(n + 1));
            break;
        case 3: {  // remove a run
            size_t at = below(n + 1), len = std::min(n - at, 1 + below(64));
            b->erase(b->begin() + static_cast<long>(at), b->begin() + static_cast<long>(at + len));
            break;
        }
        case 4: {  // repeat a run
            size_t at = below(n + 1), len = std::min(n - at, 1 + below(256));
            Bytes run(b->begin() + static_cast<long>(at), b->begin() + static_cast<long>(at + len));
            b->insert(b->begin() + static_cast<long>(below(n + 1)), run.begin(), run.end());
            break;
        }
        case 5: {  // random bytes inserted
            size_t at = below(n + 1), len = 1 + below(16);
            Bytes r(len);
            for (uint8_t& c : r) c = static_cast<uint8_t>(rng());
            b->insert(b->begin() + static_cast<long>(at), r.begin(), r.end());
            break;
        }
        case 6: {  // a 32-bit word set to an extreme, either byte order
            static const uint32_t v[] = {0, 1, 0x7fffffff, 0x80000000, 0xffffffff, 0xffff, 0x10000};
            if (n >= 4) {
                uint32_t w = v[below(sizeof v / sizeof v[0])];
                size_t at = below(n - 3);
                bool be = below(2);
                for (int k = 0; k < 4; ++k)
                    (*b)[at + k] = static_cast<uint8_t>(w >> (be ? 24 - 8 * k : 8 * k));
            }
            break;
        }
        case 7: {  // a number in the text replaced by an extreme
            if (!n) break;
            size_t at = below(n);
            while (at < n && !std::isdigit((*b)[at])) ++at;
            size_t end = at;
            while (end < n && (std::isdigit((*b)[end]) || (*b)[end] == '.' || (*b)[end] == 'e')) ++end;
            const char* x = Extremes[below(sizeof Extremes / sizeof Extremes[0])];
            b->erase(b->begin() + static_cast<long>(at), b->begin() + static_cast<long>(end));
            b->insert(b->begin() + static_cast<long>(at), x, x + std::strlen(x));
            break;
        }
        case 8: {  // a piece of another seed spliced in
            const Bytes& o = seeds[below(seeds.size())];
            if (o.empty()) break;
            size_t from = below(o.size()), len = std::min(o.size() - from, 1 + below(512));
            size_t at = below(n + 1);
            b->insert(b->begin() + static_cast<long>(at), o.begin() + static_cast<long>(from),
                      o.begin() + static_cast<long>(from + len));
            break;
        }
        default: {  // a line dropped (text formats)
            if (!n) break;
            size_t at = below(n);
            size_t end = at;
            while (end < n && (*b)[end] != '\n') ++end;
            b->erase(b->begin() + static_cast<long>(at), b->begin() + static_cast<long>(std::min(n, end + 1)));
            break;
        }
        }
        if (b->size() > MaxLen) b->resize(MaxLen);
    }
}

}  // namespace

int main(int argc, char** argv) {
    double maxTime = 10;
    long long runs = -1;
    unsigned long long seed = 1;
    std::string prefix;
    std::vector<std::string> exts;
    std::vector<Bytes> seeds;
    std::vector<std::string> names;
    const std::string self = fs::path(argv[0]).filename().string();
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto val = [&](const char* key) -> const char* {
            size_t k = std::strlen(key);
            return a.compare(0, k, key) == 0 ? argv[i] + k : nullptr;
        };
        if (const char* v = val("-max_total_time=")) maxTime = std::atof(v);
        else if (const char* v2 = val("-runs=")) runs = std::atoll(v2);
        else if (const char* v3 = val("-seed=")) seed = std::strtoull(v3, nullptr, 10);
        else if (const char* v4 = val("-artifact_prefix=")) prefix = v4;
        else if (const char* v5 = val("-ext=")) {
            std::string l = v5;
            for (size_t at = 0; at <= l.size();) {
                size_t c = l.find(',', at);
                if (c == std::string::npos) c = l.size();
                if (c > at) exts.push_back(l.substr(at, c - at));
                at = c + 1;
            }
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "%s: option %s ignored\n", self.c_str(), a.c_str());
        } else if (fs::is_directory(a)) {
            std::vector<fs::path> ps;
            for (const auto& e : fs::recursive_directory_iterator(a))
                if (e.is_regular_file() && Wanted(e.path(), exts)) ps.push_back(e.path());
            std::sort(ps.begin(), ps.end());
            for (const fs::path& p : ps) AddSeed(p, &seeds, &names);
        } else if (fs::is_regular_file(a)) {
            AddSeed(a, &seeds, &names);
        } else {
            std::fprintf(stderr, "%s: no such seed %s\n", self.c_str(), a.c_str());
            return 2;
        }
    }
    std::snprintf(gArtifact, sizeof gArtifact, "%scrash-%s", prefix.c_str(), self.c_str());
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(SaveCur);
    for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, OnSignal);

    for (size_t i = 0; i < seeds.size(); ++i) {
        gCur = &seeds[i];
        LLVMFuzzerTestOneInput(seeds[i].data(), seeds[i].size());
    }
    gCur = nullptr;
    if (seeds.empty()) seeds.emplace_back();
    std::mt19937_64 rng(seed);
    const auto t0 = std::chrono::steady_clock::now();
    long long done = 0;
    Bytes b;
    while (runs < 0 || done < runs) {
        if ((done & 15) == 0 && runs < 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() >= maxTime)
            break;
        b = seeds[static_cast<size_t>(rng() % seeds.size())];
        Mutate(&b, seeds, rng);
        gCur = &b;
        LLVMFuzzerTestOneInput(b.data(), b.size());
        gCur = nullptr;
        ++done;
    }
    std::printf("%s: %zu seeds replayed, %lld mutated inputs in %.1f s, no failure\n", self.c_str(),
                names.size(), done,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return 0;
}
