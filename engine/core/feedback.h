// Progress and cancellation of a long procedure, passed in by whoever starts it: the window's
// progress bar and running flag, the batch command's bar on the terminal, silence (FbNone) for a
// bench, a recorder in a test. The procedure only calls these; it never reads the window's state
// itself. The procedure that runs the work (CreTrn, ScnRead, ...) calls begin once before it and
// end once after it, however it ends; the algorithms below it only report progress and ask
// cancelled. Every call comes on the thread that started the work.
#pragma once

struct Feedback {
    void* ctx = nullptr;                               // handed back to every call
    void (*begin)(void* ctx) = nullptr;                // the work starts
    void (*progress)(void* ctx, int percent) = nullptr;  // done so far, 0..100: may repeat, never goes back
    void (*end)(void* ctx) = nullptr;                  // the work ended, however it ended
    bool (*cancelled)(void* ctx) = nullptr;            // asked between steps: true stops the work
    // Posts just computed, n of x, y, z in the run's coordinates whose origin lies at (ox, oy):
    // the window marks them at once. Only long procedures over posts call it.
    void (*mark)(void* ctx, const float* v, int n, double ox, double oy) = nullptr;

    void Begin() const { if (begin) begin(ctx); }
    void Progress(int percent) const { if (progress) progress(ctx, percent); }
    void End() const { if (end) end(ctx); }
    bool Cancelled() const { return cancelled && cancelled(ctx); }
    void Mark(const float* v, int n, double ox, double oy) const {
        if (mark && n > 0) mark(ctx, v, n, ox, oy);
    }
};

// Says nothing and is never cancelled.
extern const Feedback FbNone;
// The window: begin opens the progress bar and sets the running flag, progress advances the bar,
// cancelled pumps the window's messages and reports the flag cleared, end closes the bar and
// clears the flag. Only the thread that runs the window may call it.
extern const Feedback FbWnd;
// The progress bar alone, for work that cannot be cancelled (the running flag is left alone).
extern const Feedback FbWndBar;
