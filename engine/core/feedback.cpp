// The window-backed feedback: the progress bar of the message module and the running flag.
#include "core/feedback.h"

#include "core/mode.h"
#include "core/msg.h"

namespace {

void BarBgn(void*) { PrgBgn(); }
void BarSet(void*, int percent) { PrgSet(percent); }
void BarEnd(void*) { PrgEnd(); }

void WndBgn(void*) {
    // The flag first: the bar that opens then knows that the work can be cancelled.
    BgnWork();
    PrgBgn();
}

void WndEnd(void*) {
    PrgEnd();
    RunFlg = 0;
}

bool WndCncl(void*) { return PumpMsg(); }

}  // namespace

const Feedback FbNone{};
const Feedback FbWnd{nullptr, WndBgn, BarSet, WndEnd, WndCncl};
const Feedback FbWndBar{nullptr, BarBgn, BarSet, BarEnd, nullptr};
