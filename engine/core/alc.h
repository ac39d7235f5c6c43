// Tagged allocator. Every engine allocation goes through here so that exhaustion is reported
// with the requester's tag and the running command is abandoned cleanly.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

// size <= 0 gives null without a message. On exhaustion: message 100, last key -1, and the
// current command is abandoned (AlcMem does not return); outside every entry point there is no
// command to abandon and the caller gets null.
void* AlcMem(long long size, const char* tag);
// Asks for huge pages over block p of size bytes when it is large (AlcMem does it itself).
void AdviseHuge(void* p, long long size);
void* RealcMem(void* block, long long size, const char* tag);

// A standard allocator whose large blocks ask for huge pages: working grids of a post or more a
// node, which otherwise cost a page fault every 4 KB. Throws std::bad_alloc as std::allocator does.
template <class T>
struct HugeAlloc {
    using value_type = T;
    HugeAlloc() = default;
    template <class U>
    HugeAlloc(const HugeAlloc<U>&) {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        void* p = HugeBlk(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { HugeFree(p); }
    template <class U>
    bool operator==(const HugeAlloc<U>&) const { return true; }
    static void* HugeBlk(std::size_t size);
    static void HugeFree(void* p);
};
// A large block: from those a MemReuse scope keeps, else new (in huge pages); null when none.
void* BigBlk(std::size_t size);
void BigFree(void* p);
template <class T>
void* HugeAlloc<T>::HugeBlk(std::size_t size) {
    return BigBlk(size);
}
template <class T>
void HugeAlloc<T>::HugeFree(void* p) {
    BigFree(p);
}

// While one lives, large blocks freed are kept and handed to the next request of about their size,
// and what is left is freed when the outermost ends. Each new page costs a fault and its zeroing:
// a run that drops one grid and then makes another of its size takes no new pages for it.
// Gives the heap's free pages back to the system.
void TrimHeap();

class MemReuse {
public:
    MemReuse();
    ~MemReuse();
    MemReuse(const MemReuse&) = delete;
    MemReuse& operator=(const MemReuse&) = delete;
};
// HugeAlloc whose elements made without a value are left as they are: a grid that a pass fills
// (perhaps on several threads) is not cleared first on one.
template <class T>
struct RawAlloc : HugeAlloc<T> {
    template <class U>
    struct rebind {
        using other = RawAlloc<U>;
    };
    RawAlloc() = default;
    template <class U>
    RawAlloc(const RawAlloc<U>&) {}
    template <class U, class... A>
    void construct(U* p, A&&... a) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
    }
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
};
int FreeMem(void* block);

// Thrown by the allocator after the failure message; EngGuard ends it. Code that must undo a
// half-made change may catch it on the way and rethrow. A reader that gives the failure back as
// its own result may end it instead (ScnRead: ScnRdNoMem, whose caller puts the new-document
// scene in place of the partial one); the rest of the command then goes on.
struct AlcAbort {};

// Recovery point: runs f and turns an abandoned command into a result of 0.
// The entry points (IntrCmd, DstrCmd, IntrEvt) run their work inside one; nested guards rethrow
// so that the whole outermost command is abandoned.
int EngGuardDepth();
// Serial of the outermost entry (one user action: a menu command, a pointer or key event).
unsigned EngEntry();
template <class F>
int EngGuard(F&& f) {
    extern int gEngGuardDepth;
    extern unsigned gEngEntry;
    if (gEngGuardDepth == 0) ++gEngEntry;
    ++gEngGuardDepth;
    try {
        int r = f();
        --gEngGuardDepth;
        return r;
    } catch (const AlcAbort&) {
        --gEngGuardDepth;
        if (gEngGuardDepth > 0) throw;
        return 0;
    }
}

// Platform calls that dispatch window messages (modal boxes, the message pump) can re-enter the
// engine. Inside one, the entry points are outermost again: a command started there is abandoned
// on its own and never unwound through the window system's frames.
class GuardBarrier {
public:
    GuardBarrier();
    ~GuardBarrier();
    GuardBarrier(const GuardBarrier&) = delete;
    GuardBarrier& operator=(const GuardBarrier&) = delete;

private:
    int saved_;
};

// Clean-up of a half-made step: f runs when the scope is left before Keep(), by an abandoned
// command (AlcAbort) as by a return. f must not throw.
template <class F>
class Cleanup {
public:
    explicit Cleanup(F f) : f_(std::move(f)) {}
    ~Cleanup() {
        if (!kept_) f_();
    }
    Cleanup(const Cleanup&) = delete;
    Cleanup& operator=(const Cleanup&) = delete;
    void Keep() { kept_ = true; }

private:
    F f_;
    bool kept_ = false;
};

// An array of n T through the tagged allocator, freed on scope exit. Alc frees what it held first;
// a count <= 0 holds nothing (p null).
template <class T>
struct AlcArr {
    T* p = nullptr;   // p[n]
    long long n = 0;
    AlcArr() = default;
    AlcArr(const AlcArr&) = delete;
    AlcArr& operator=(const AlcArr&) = delete;
    ~AlcArr() { FreeMem(p); }
    void Alc(long long cnt, const char* tag) {
        FreeMem(p);
        p = nullptr;
        n = cnt;
        if (cnt > 0) p = static_cast<T*>(AlcMem(cnt * static_cast<long long>(sizeof(T)), tag));
    }
    T& operator[](long long i) { return p[i]; }
    const T& operator[](long long i) const { return p[i]; }
};

// Objects with constructors, allocated through the tagged allocator.
template <class T, class... A>
T* AlcObj(const char* tag, A&&... a) {
    void* p = AlcMem(static_cast<long long>(sizeof(T)), tag);
    return new (p) T(std::forward<A>(a)...);
}
template <class T>
void FreeObj(T* p) {
    if (!p) return;
    p->~T();
    FreeMem(p);
}
