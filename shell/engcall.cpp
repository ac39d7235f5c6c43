#include "engcall.h"
#include <utility>
#include <vector>

namespace shl {

namespace {
int depth = 0;
std::vector<std::function<void()>> idleQ;
}  // namespace

int EngDepth() { return depth; }

EngCall::EngCall() { ++depth; }

EngCall::~EngCall() {
    if (--depth > 0) return;
    // Actions may start engine calls of their own; take the queue first.
    std::vector<std::function<void()>> q;
    q.swap(idleQ);
    for (auto& f : q) f();
}

EngPause::EngPause() : saved_(depth) { depth = 0; }

EngPause::~EngPause() { depth = saved_; }

void WhenIdle(std::function<void()> f) {
    if (depth == 0) {
        f();
        return;
    }
    idleQ.push_back(std::move(f));
}

}  // namespace shl
