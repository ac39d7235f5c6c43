// Front and back buffers of a view window emulated with two framebuffer objects, for
// fixed-function GL. Redraws go into the back buffer and a swap copies it into the front buffer;
// feedback of the interactive modes goes straight into the front buffer. The picture the user
// sees is always the front buffer, so feedback shows at once and is gone after the next redraw,
// whatever the desktop's own buffering does.
//
// All calls need the window's GL context to be current.
#pragma once
#include <cstdint>
#include <vector>

namespace glbuf {

// Looks up a GL entry point by name (eglGetProcAddress, glXGetProcAddress, Qt's getProcAddress).
using ProcFn = void* (*)(const char* name);

// Resolves the framebuffer entry points (GL 3.0 or the framebuffer-object extensions). With a null
// resolver the entry points exported by the GL library itself are used. Returns false when the
// implementation has no framebuffer objects.
bool Init(ProcFn getProc);
bool Ready();

enum { Back = 0, Front = 1 };

struct Bufs {
    unsigned fbo[2] = {0, 0};
    unsigned col[2] = {0, 0};   // colour textures (RGBA8)
    unsigned dep[2] = {0, 0};   // depth renderbuffers (24 bits)
    int w = 0, h = 0;
    int cur = Front;            // buffer that drawing goes to
};

// Creates or resizes both buffers to w x h pixels (at least 1 x 1), cleared to black. The
// selected buffer stays selected and bound. Returns false when the buffers cannot be made.
bool Resize(Bufs& b, int w, int h);
// Makes buffer which (Back or Front) the target of drawing and reading.
void Bind(Bufs& b, int which);
// Binds the selected buffer again (after someone else bound another framebuffer).
void Rebind(const Bufs& b);
// Copies the back buffer into the front buffer (colour and depth). The selected buffer stays bound.
void Swap(Bufs& b);
// Copies the front buffer into framebuffer dst (0: the window system's) of size dw x dh,
// stretched when the sizes differ. The selected buffer is bound again afterwards.
void BlitFront(const Bufs& b, unsigned dst, int dw, int dh);
// Reads buffer which as RGBA bytes, bottom row first (w * h * 4 bytes).
bool Read(const Bufs& b, int which, std::vector<uint8_t>& rgba);
// Colour texture of a buffer, for drawing it as a textured quad.
unsigned Texture(const Bufs& b, int which);
// Deletes both buffers and binds the window system's framebuffer.
void Free(Bufs& b);

}  // namespace glbuf
