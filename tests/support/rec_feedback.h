// A feedback that records what a procedure tells it and answers "cancelled" from a given question
// on; it also notes whether it was ever called off the thread that made it.
#pragma once
#include <thread>
#include <vector>
#include "core/feedback.h"

struct RecFb {
    int begins = 0, ends = 0, asks = 0;
    std::vector<int> pct;      // every progress report, in order
    std::vector<double> marks; // x, y of every post marked, in model coordinates
    int cancelAt = 0;          // the question (1, 2, ...) from which the answer is yes; 0 never
    bool offThread = false;    // a call came from another thread
    std::thread::id owner = std::this_thread::get_id();

    Feedback Fb() {
        Feedback f;
        f.ctx = this;
        f.begin = [](void* c) { Rec(c).Note().begins++; };
        f.progress = [](void* c, int p) { Rec(c).Note().pct.push_back(p); };
        f.end = [](void* c) { Rec(c).Note().ends++; };
        f.mark = [](void* c, const float* v, int n, double ox, double oy) {
            RecFb& r = Rec(c).Note();
            for (int i = 0; i < n; i++) {
                r.marks.push_back(v[3 * i] + ox);
                r.marks.push_back(v[3 * i + 1] + oy);
            }
        };
        f.cancelled = [](void* c) {
            RecFb& r = Rec(c).Note();
            ++r.asks;
            return r.cancelAt > 0 && r.asks >= r.cancelAt;
        };
        return f;
    }
    // No report below the one before it, none outside 0..100.
    bool Rising() const {
        for (size_t i = 0; i < pct.size(); i++)
            if (pct[i] < 0 || pct[i] > 100 || (i > 0 && pct[i] < pct[i - 1])) return false;
        return true;
    }
    int Last() const { return pct.empty() ? -1 : pct.back(); }

private:
    static RecFb& Rec(void* c) { return *static_cast<RecFb*>(c); }
    RecFb& Note() {
        if (std::this_thread::get_id() != owner) offThread = true;
        return *this;
    }
};
