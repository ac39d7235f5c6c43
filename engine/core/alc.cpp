#include "core/alc.h"
#include <malloc.h>
#include <sys/mman.h>
#include <atomic>
#include <mutex>
#include <vector>
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

namespace {
// The blocks a MemReuse scope keeps (at most a few grids), and the scopes open.
constexpr size_t ReuseMin = 8u << 20;
std::mutex gKeepMx;
std::atomic<int> gKeepDepth{0};
std::vector<std::pair<void*, size_t>> gKept;

// A kept block for size bytes, null when none fits: no more than a sixteenth larger, so that
// reuse never holds much more than was asked.
void* Reuse(size_t size) {
    if (size < ReuseMin || gKeepDepth.load(std::memory_order_relaxed) == 0) return nullptr;
    std::lock_guard<std::mutex> lk(gKeepMx);
    for (size_t k = 0; k < gKept.size(); k++) {
        const size_t have = gKept[k].second;
        if (have >= size && have - size <= size / 16) {
            void* p = gKept[k].first;
            gKept.erase(gKept.begin() + static_cast<std::ptrdiff_t>(k));
            return p;
        }
    }
    return nullptr;
}

// Keeps block p when a scope is open and it is large; false when it is to be freed.
bool Keep(void* p) {
    if (!p) return true;
    if (gKeepDepth.load(std::memory_order_relaxed) == 0) return false;
    const size_t have = malloc_usable_size(p);
    if (have < ReuseMin) return false;
    std::lock_guard<std::mutex> lk(gKeepMx);
    if (gKeepDepth.load() == 0) return false;
    constexpr size_t MaxKept = 4;
    if (gKept.size() == MaxKept) {
        std::free(gKept.front().first);
        gKept.erase(gKept.begin());
    }
    gKept.emplace_back(p, have);
    return true;
}

void* NewBig(size_t size) {
    void* p = Reuse(size);
    if (p) return p;
    p = std::malloc(size);
    if (p) AdviseHuge(p, static_cast<long long>(size));
    return p;
}
}  // namespace

MemReuse::MemReuse() {
    std::lock_guard<std::mutex> lk(gKeepMx);
    gKeepDepth++;
}
MemReuse::~MemReuse() {
    std::lock_guard<std::mutex> lk(gKeepMx);
    if (--gKeepDepth > 0) return;
    for (auto& [p, n] : gKept) std::free(p);
    gKept.clear();
}

void TrimHeap() { malloc_trim(0); }

void* BigBlk(std::size_t size) { return NewBig(size); }
void BigFree(void* p) {
    if (!Keep(p)) std::free(p);
}

void* AlcMem(long long size, const char* tag) {
    if (size <= 0) return nullptr;
    void* p = NewBig(static_cast<size_t>(size));
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
    BigFree(block);
    return 0;
}
