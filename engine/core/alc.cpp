#include "core/alc.h"
#include <sys/mman.h>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include "core/mode.h"
#include "core/msg.h"

int gEngGuardDepth = 0;
int EngGuardDepth() { return gEngGuardDepth; }
unsigned gEngEntry = 0;
unsigned EngEntry() { return gEngEntry; }

GuardBarrier::GuardBarrier() : saved_(gEngGuardDepth) { gEngGuardDepth = 0; }
GuardBarrier::~GuardBarrier() { gEngGuardDepth = saved_; }

namespace {
// Shows message 100, stops key-driven work and abandons the running command.
[[noreturn]] void AlcFail(const char* text) {
    DspErrMsg(MsgNoMem, text);
    LastKey = -1;
    throw AlcAbort{};
}
// Outside any entry point there is no command to abandon: the caller gets null.
bool CanAbort() { return gEngGuardDepth > 0; }
}  // namespace

// Large blocks (grids of millions of posts) in huge pages where the system offers them: a fine
// grid's run otherwise spends a tenth of its time taking page faults.
void AdviseHuge(void* p, long long size) {
    constexpr uintptr_t huge = 2u << 20;
    if (size < 8 * static_cast<long long>(huge)) return;
    const uintptr_t a = (reinterpret_cast<uintptr_t>(p) + huge - 1) & ~(huge - 1);
    const uintptr_t e = (reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(size)) & ~(huge - 1);
    if (e > a) madvise(reinterpret_cast<void*>(a), e - a, MADV_HUGEPAGE);
}

void* AlcMem(long long size, const char* tag) {
    if (size <= 0) return nullptr;
    void* p = std::malloc(static_cast<size_t>(size));
    if (p) AdviseHuge(p, size);
    if (!p) {
        char buf[256];
        std::snprintf(buf, sizeof buf, "%s\nSIZE = %lld", tag ? tag : "", size);
        if (!CanAbort()) { DspErrMsg(MsgNoMem, buf); LastKey = -1; return nullptr; }
        AlcFail(buf);
    }
    return p;
}

void* RealcMem(void* block, long long size, const char* tag) {
    if (size <= 0) {
        if (block) std::free(block);
        return nullptr;
    }
    if (!block) return AlcMem(size, tag);
    void* p = std::realloc(block, static_cast<size_t>(size));
    if (!p) {
        char buf[256];
        std::snprintf(buf, sizeof buf, "%s\nADDR = %lx\nSIZE = %lld", tag ? tag : "",
                      static_cast<unsigned long>(reinterpret_cast<uintptr_t>(block)), size);
        if (!CanAbort()) { DspErrMsg(MsgNoMem, buf); LastKey = -1; return nullptr; }
        AlcFail(buf);
    }
    return p;
}

int FreeMem(void* block) {
    if (block) std::free(block);
    return 0;
}
