// Headless OpenGL for tests and benchmarks: an EGL context on Mesa (surfaceless, or a small
// pbuffer on the default display) and a platform whose view window 0 draws into front and back
// framebuffer objects that the test reads back. Works without any display and under xvfb-run.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/glbuf.h"
#include "platform/platform.h"

namespace gltest {

// True when a headless context can be made on this machine; otherwise Why() tells why.
bool Available();
const std::string& Why();

struct Rgb {
    int r, g, b;
};

// Platform with a GL binding for window 0. Everything that is not GL goes to the inner platform
// (the recording double, say); without one, boxes are answered Ok/No and console lines dropped.
class GLPlatform : public plt::Platform {
public:
    GLPlatform(plt::Platform* inner, int w, int h);
    ~GLPlatform() override;

    // Forwarded to the inner platform.
    int MsgBox(const char* text, const char* caption, int buttons, int icon) override;
    void Beep() override;
    void SetCursor(int index) override;
    void PumpMessages(int max) override;
    void Notify(int id, long wparam) override;
    void Console(const char* text) override;
    void HelpText(const char* text) override;

    // GL binding.
    bool GLCreate(int win) override;
    void GLRelease(int win) override;
    bool GLMakeCurrent(int win) override;
    bool GLHasWindow(int win) override;
    void GLDrawBuffer(int win, int buf) override;
    void GLSwap(int win) override;
    void GLFlushFront(int win) override;
    bool GLFontLists(int win, int first, int count, int base) override;
    int DisplayDepth() override { return depth; }
    bool GLPartialPaint(int) override { return partialPaint; }
    void BltImg(int dst, int x, int y, const plt::ImgHdr& hdr, const uint8_t* bits) override;

    // Buffers of window 0 at their current size; resizing takes effect at the next GLCreate or
    // Resize call.
    int W() const { return w_; }
    int H() const { return h_; }
    void Resize(int w, int h);

    // Pixels of the visible picture (the front buffer) or of the back buffer; x, y in window
    // pixels with y growing downwards, as the engine counts them.
    void Grab(int which = glbuf::Front);
    Rgb Px(int x, int y) const;
    // Count of pixels in the last grab within tol of colour c, inside x0..x1, y0..y1 (inclusive).
    int Count(Rgb c, int tol = 2, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const;
    // True when the rectangle holds a pixel within tol of c.
    bool Has(Rgb c, int x0, int y0, int x1, int y1, int tol = 2) const {
        return Count(c, tol, x0, y0, x1, y1) > 0;
    }
    // Writes the last grab as a binary PPM (for looking at a failing picture).
    bool SavePpm(const char* path) const;

    // Test controls and counters.
    int depth = 24;              // display colour depth
    bool partialPaint = false;   // the buffers support paints of a part of the window
    bool loseNext = false;       // the next GLMakeCurrent fails as after a display-mode change
    bool failCreate = false;     // GLCreate fails (no usable pixel format)
    int creates = 0, releases = 0, swaps = 0, fontCalls = 0, blits = 0;
    int lastBlitW = 0, lastBlitH = 0;
    bool glOk = false;           // window 0 has a context and buffers

private:
    bool MakeCtx();
    void DropCtx();
    plt::Platform* inner_;
    int w_, h_;
    void* ctx_ = nullptr;   // EGLContext
    void* surf_ = nullptr;  // EGLSurface (pbuffer fallback only)
    glbuf::Bufs bufs_;
    std::vector<uint8_t> pix_;
    int pixW_ = 0, pixH_ = 0;
};

}  // namespace gltest
