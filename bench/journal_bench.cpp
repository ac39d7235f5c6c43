// Journal replay throughput: how much the runner adds on top of the engine calls it makes.
// Runs a generated journal of pointer drags, keys, parameters and dumps with the output discarded,
// and reports lines and events per second.
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include "journal.h"

namespace {
struct NullHost : jrn::Host {
    size_t bytes = 0;
    void Print(const std::string& s) override { bytes += s.size(); }
    void Error(const std::string& s) override { std::fputs(s.c_str(), stderr); }
};
}  // namespace

int main() {
    const int reps = 20000;
    std::string text = "window 1024 768\n";
    long events = 0;
    for (int i = 0; i < reps; ++i) {
        int x = i % 1000, y = (i * 7) % 700;
        text += "# step " + std::to_string(i) + "\n";
        text += "move " + std::to_string(x) + " " + std::to_string(y) + "\n";
        text += "drag " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(y) +
                " " + std::to_string(x) + " 8\n";
        text += "key 16\n";
        text += "set FltrAng " + std::to_string(i % 90) + ".5\n";
        text += "file \"maps/sheet " + std::to_string(i) + ".scn\"\n";
        text += "echo \"step\" " + std::to_string(i) + "\n";
        text += "dump mode\n";
        events += 1 + 10 + 2;
    }
    const long lines = 8L * reps + 1;

    NullHost host;
    std::istringstream in(text);
    auto t0 = std::chrono::steady_clock::now();
    int st = jrn::Run(in, host);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("journal replay: %ld lines, %ld events, %zu bytes printed in %.3f s\n", lines, events,
                host.bytes, s);
    std::printf("  %.0f lines/s, %.0f events/s (status %d)\n", lines / s, events / s, st);
    return st;
}
