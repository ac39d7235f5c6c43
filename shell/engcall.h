// Bookkeeping of the shell's calls into the engine. A long engine operation dispatches window
// messages while it runs; input arriving then must not start a second engine call under it.
#pragma once
#include <functional>

namespace shl {

// Number of shell-to-engine calls in progress (0 when the engine is idle).
int EngDepth();

// Marks one engine call for its lifetime. When the outermost call ends, the actions queued with
// WhenIdle run.
class EngCall {
public:
    EngCall();
    ~EngCall();
    EngCall(const EngCall&) = delete;
    EngCall& operator=(const EngCall&) = delete;
};

// Lets window events reach the engine again for its lifetime, inside an engine call that waits
// for them (the journal replaying events into the view).
class EngPause {
public:
    EngPause();
    ~EngPause();
    EngPause(const EngPause&) = delete;
    EngPause& operator=(const EngPause&) = delete;

private:
    int saved_;
};

// Runs f at once when the engine is idle, otherwise when the outermost engine call ends.
void WhenIdle(std::function<void()> f);

}  // namespace shl
