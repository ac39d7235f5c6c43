#include "support/gltest.h"
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace gltest {

namespace {
struct Egl {
    bool tried = false;
    bool ok = false;
    bool surfaceless = false;
    EGLDisplay dpy = EGL_NO_DISPLAY;
    EGLConfig cfg = nullptr;
    std::string why;
};
Egl egl;

void* GetProc(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

bool HasExt(const char* list, const char* ext) {
    if (!list) return false;
    size_t n = std::strlen(ext);
    for (const char* p = std::strstr(list, ext); p; p = std::strstr(p + 1, ext))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == 0)) return true;
    return false;
}

// Opens the display once: Mesa's surfaceless platform first, the default display second.
bool OpenDisplay() {
    if (egl.tried) return egl.ok;
    egl.tried = true;
    const char* cext = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    auto getPlat = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLint major = 0, minor = 0;
    if (getPlat && HasExt(cext, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay d = getPlat(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, &major, &minor)) {
            const char* ext = eglQueryString(d, EGL_EXTENSIONS);
            if (HasExt(ext, "EGL_KHR_surfaceless_context")) {
                egl.dpy = d;
                egl.surfaceless = true;
            }
        }
    }
    if (egl.dpy == EGL_NO_DISPLAY) {
        EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
            egl.why = "no EGL display";
            return false;
        }
        egl.dpy = d;
        egl.surfaceless = HasExt(eglQueryString(d, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        egl.why = "EGL has no desktop OpenGL";
        return false;
    }
    EGLint att[] = {EGL_SURFACE_TYPE, egl.surfaceless ? 0 : EGL_PBUFFER_BIT,
                    EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                    EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                    EGL_DEPTH_SIZE, 24, EGL_NONE};
    EGLint n = 0;
    if (!eglChooseConfig(egl.dpy, att, &egl.cfg, 1, &n) || n < 1) {
        egl.cfg = nullptr;
        if (!egl.surfaceless ||
            !HasExt(eglQueryString(egl.dpy, EGL_EXTENSIONS), "EGL_KHR_no_config_context")) {
            egl.why = "no EGL configuration for OpenGL";
            return false;
        }
    }
    egl.ok = true;
    return true;
}
}  // namespace

bool Available() {
    static int state = -1;
    if (state < 0) {
        state = 0;
        if (OpenDisplay()) {
            // Prove that a context with framebuffer objects can really be made.
            GLPlatform probe(nullptr, 4, 4);
            state = probe.GLCreate(0) ? 1 : 0;
            if (!state && egl.why.empty()) egl.why = "no OpenGL context with framebuffer objects";
            probe.GLRelease(0);
        }
    }
    return state == 1;
}

const std::string& Why() { return egl.why; }

GLPlatform::GLPlatform(plt::Platform* inner, int w, int h) : inner_(inner), w_(w), h_(h) {}

GLPlatform::~GLPlatform() { DropCtx(); }

int GLPlatform::MsgBox(const char* text, const char* caption, int buttons, int icon) {
    if (inner_) return inner_->MsgBox(text, caption, buttons, icon);
    return buttons == plt::BtnYesNo ? plt::AnsNo : plt::AnsOk;
}
void GLPlatform::Beep() { if (inner_) inner_->Beep(); }
void GLPlatform::SetCursor(int index) { if (inner_) inner_->SetCursor(index); }
void GLPlatform::PumpMessages(int max) { if (inner_) inner_->PumpMessages(max); }
void GLPlatform::Notify(int id, long wparam) { if (inner_) inner_->Notify(id, wparam); }
void GLPlatform::Console(const char* text) { if (inner_) inner_->Console(text); }
void GLPlatform::HelpText(const char* text) { if (inner_) inner_->HelpText(text); }

bool GLPlatform::MakeCtx() {
    if (!OpenDisplay()) return false;
    EGLint cat[] = {EGL_NONE};
    EGLContext c = eglCreateContext(egl.dpy, egl.cfg ? egl.cfg : EGL_NO_CONFIG_KHR,
                                    EGL_NO_CONTEXT, cat);
    if (c == EGL_NO_CONTEXT) {
        egl.why = "eglCreateContext failed";
        return false;
    }
    EGLSurface s = EGL_NO_SURFACE;
    if (!egl.surfaceless) {
        EGLint pa[] = {EGL_WIDTH, 16, EGL_HEIGHT, 16, EGL_NONE};
        s = eglCreatePbufferSurface(egl.dpy, egl.cfg, pa);
        if (s == EGL_NO_SURFACE) {
            eglDestroyContext(egl.dpy, c);
            egl.why = "eglCreatePbufferSurface failed";
            return false;
        }
    }
    if (!eglMakeCurrent(egl.dpy, s, s, c)) {
        if (s != EGL_NO_SURFACE) eglDestroySurface(egl.dpy, s);
        eglDestroyContext(egl.dpy, c);
        egl.why = "eglMakeCurrent failed";
        return false;
    }
    ctx_ = c;
    surf_ = s;
    if (!glbuf::Init(GetProc)) {
        egl.why = "no framebuffer objects";
        DropCtx();
        return false;
    }
    bufs_ = glbuf::Bufs{};
    if (!glbuf::Resize(bufs_, w_, h_)) {
        egl.why = "framebuffer objects cannot be made";
        DropCtx();
        return false;
    }
    return true;
}

void GLPlatform::DropCtx() {
    if (!ctx_) return;
    eglMakeCurrent(egl.dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    // The buffers die with their context.
    bufs_ = glbuf::Bufs{};
    eglDestroyContext(egl.dpy, static_cast<EGLContext>(ctx_));
    if (surf_) eglDestroySurface(egl.dpy, static_cast<EGLSurface>(surf_));
    ctx_ = nullptr;
    surf_ = nullptr;
    glOk = false;
}

bool GLPlatform::GLCreate(int win) {
    if (win != 0) return false;
    ++creates;
    DropCtx();
    if (failCreate) return false;
    loseNext = false;
    glOk = MakeCtx();
    return glOk;
}

void GLPlatform::GLRelease(int win) {
    if (win != 0) return;
    ++releases;
    DropCtx();
}

bool GLPlatform::GLMakeCurrent(int win) {
    if (win < 0) {
        if (egl.ok) eglMakeCurrent(egl.dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        return true;
    }
    if (win != 0 || !ctx_) return false;
    if (loseNext) {
        loseNext = false;
        return false;
    }
    if (!eglMakeCurrent(egl.dpy, static_cast<EGLSurface>(surf_), static_cast<EGLSurface>(surf_),
                        static_cast<EGLContext>(ctx_)))
        return false;
    glbuf::Rebind(bufs_);
    return true;
}

bool GLPlatform::GLHasWindow(int win) { return win == 0 && ctx_ != nullptr; }

void GLPlatform::GLDrawBuffer(int win, int buf) {
    if (win != 0 || !ctx_) return;
    glbuf::Bind(bufs_, buf == plt::BufBack ? glbuf::Back : glbuf::Front);
}

void GLPlatform::GLSwap(int win) {
    if (win != 0 || !ctx_) return;
    ++swaps;
    glbuf::Swap(bufs_);
}

void GLPlatform::GLFlushFront(int win) {
    if (win == 0 && ctx_) glFlush();
}

// A plain bitmap font: every printable character is a 6 x 8 block with an 8-pixel advance, the
// space is blank. Enough to find where text went.
bool GLPlatform::GLFontLists(int win, int first, int count, int base) {
    if (win != 0 || !ctx_) return false;
    ++fontCalls;
    static const GLubyte block[8] = {0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc};
    static const GLubyte blank[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < count; ++i) {
        int ch = first + i;
        glNewList(static_cast<GLuint>(base + i), GL_COMPILE);
        glBitmap(8, 8, 0, 0, 8, 0, (ch > 32 && ch < 127) ? block : blank);
        glEndList();
    }
    glPopClientAttrib();
    return true;
}

void GLPlatform::BltImg(int, int, int, const plt::ImgHdr& hdr, const uint8_t*) {
    ++blits;
    lastBlitW = hdr.width;
    lastBlitH = hdr.height;
}

void GLPlatform::Resize(int w, int h) {
    w_ = w;
    h_ = h;
    if (ctx_ && GLMakeCurrent(0)) glbuf::Resize(bufs_, w, h);
}

void GLPlatform::Grab(int which) {
    pix_.clear();
    pixW_ = pixH_ = 0;
    if (!ctx_ || !GLMakeCurrent(0)) return;
    if (glbuf::Read(bufs_, which, pix_)) {
        pixW_ = bufs_.w;
        pixH_ = bufs_.h;
    }
}

Rgb GLPlatform::Px(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixW_ || y >= pixH_) return {-1, -1, -1};
    const uint8_t* p = &pix_[(static_cast<size_t>(pixH_ - 1 - y) * pixW_ + x) * 4];
    return {p[0], p[1], p[2]};
}

int GLPlatform::Count(Rgb c, int tol, int x0, int y0, int x1, int y1) const {
    if (x1 < 0) x1 = pixW_ - 1;
    if (y1 < 0) y1 = pixH_ - 1;
    int n = 0;
    for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < pixH_; ++y)
        for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < pixW_; ++x) {
            Rgb p = Px(x, y);
            if (std::abs(p.r - c.r) <= tol && std::abs(p.g - c.g) <= tol &&
                std::abs(p.b - c.b) <= tol)
                ++n;
        }
    return n;
}

bool GLPlatform::SavePpm(const char* path) const {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", pixW_, pixH_);
    for (int y = 0; y < pixH_; ++y)
        for (int x = 0; x < pixW_; ++x) {
            Rgb c = Px(x, y);
            unsigned char b[3] = {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                  static_cast<unsigned char>(c.b)};
            std::fwrite(b, 1, 3, f);
        }
    return std::fclose(f) == 0;
}

}  // namespace gltest
