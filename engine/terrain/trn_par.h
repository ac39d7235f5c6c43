// Work shared among threads by ranges of an index.
#pragma once

#include <system_error>
#include <thread>
#include <vector>

// fn(t, a, b) over [a, b) ranges of [0, n), range t of nth (at least 1) on a thread of its own;
// range 0 runs on the calling thread, and the ranges of threads that cannot start run there after
// it. Returns when every range is done. fn must not throw.
template <class Fn>
void ForParts(int n, int nth, Fn&& fn) {
    auto at = [&](int t) { return static_cast<int>(static_cast<long long>(n) * t / nth); };
    auto part = [&](int t) { fn(t, at(t), at(t + 1)); };
    std::vector<std::thread> th;
    int started = 1;
    try {
        for (int t = 1; t < nth; t++, started++) th.emplace_back(part, t);
    } catch (const std::system_error&) {
        // Fewer threads: the rest below.
    }
    part(0);
    for (std::thread& x : th) x.join();
    for (int t = started; t < nth; t++) part(t);
}

// The threads to use when the caller does not say: one per processor.
inline int DefaultThreads() {
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 2 : static_cast<int>(hw < 64 ? hw : 64);
}
