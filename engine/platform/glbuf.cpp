#define GL_GLEXT_PROTOTYPES 1
#include "platform/glbuf.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>

namespace glbuf {

namespace {
struct Fns {
    PFNGLGENFRAMEBUFFERSPROC genFb = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delFb = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFb = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC fbTex = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRb = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delRb = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRb = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC rbStore = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC fbRb = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit = nullptr;  // optional: a textured quad stands in
    bool ok = false;
};
Fns fn;

template <class T>
bool Look(ProcFn get, T& out, const char* core, const char* ext) {
    void* p = get(core);
    if (!p && ext) p = get(ext);
    out = reinterpret_cast<T>(p);
    return p != nullptr;
}

// Binding the window system's framebuffer (0) differs between desktops; remember what to use.
constexpr unsigned kNone = 0;

// Draws texture tex over the whole of the bound framebuffer of size w x h, leaving GL state as found.
void TexQuad(unsigned tex, int w, int h) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LINE_STIPPLE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(-1, -1);
    glTexCoord2f(1, 0); glVertex2f(1, -1);
    glTexCoord2f(1, 1); glVertex2f(1, 1);
    glTexCoord2f(0, 1); glVertex2f(-1, 1);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void FreeNames(Bufs& b) {
    if (!fn.ok) return;
    for (int i = 0; i < 2; ++i) {
        if (b.fbo[i]) fn.delFb(1, &b.fbo[i]);
        if (b.dep[i]) fn.delRb(1, &b.dep[i]);
        if (b.col[i]) glDeleteTextures(1, &b.col[i]);
        b.fbo[i] = b.dep[i] = b.col[i] = 0;
    }
}
}  // namespace

bool Init(ProcFn get) {
    if (fn.ok) return true;
    Fns f;
    if (!get) {
        f.genFb = glGenFramebuffers;
        f.delFb = glDeleteFramebuffers;
        f.bindFb = glBindFramebuffer;
        f.fbTex = glFramebufferTexture2D;
        f.genRb = glGenRenderbuffers;
        f.delRb = glDeleteRenderbuffers;
        f.bindRb = glBindRenderbuffer;
        f.rbStore = glRenderbufferStorage;
        f.fbRb = glFramebufferRenderbuffer;
        f.check = glCheckFramebufferStatus;
        f.blit = glBlitFramebuffer;
    } else {
        bool ok = Look(get, f.genFb, "glGenFramebuffers", "glGenFramebuffersEXT") &&
                  Look(get, f.delFb, "glDeleteFramebuffers", "glDeleteFramebuffersEXT") &&
                  Look(get, f.bindFb, "glBindFramebuffer", "glBindFramebufferEXT") &&
                  Look(get, f.fbTex, "glFramebufferTexture2D", "glFramebufferTexture2DEXT") &&
                  Look(get, f.genRb, "glGenRenderbuffers", "glGenRenderbuffersEXT") &&
                  Look(get, f.delRb, "glDeleteRenderbuffers", "glDeleteRenderbuffersEXT") &&
                  Look(get, f.bindRb, "glBindRenderbuffer", "glBindRenderbufferEXT") &&
                  Look(get, f.rbStore, "glRenderbufferStorage", "glRenderbufferStorageEXT") &&
                  Look(get, f.fbRb, "glFramebufferRenderbuffer", "glFramebufferRenderbufferEXT") &&
                  Look(get, f.check, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
        if (!ok) return false;
        Look(get, f.blit, "glBlitFramebuffer", "glBlitFramebufferEXT");
    }
    f.ok = true;
    fn = f;
    return true;
}

bool Ready() { return fn.ok; }

bool Resize(Bufs& b, int w, int h) {
    if (!fn.ok) return false;
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    if (b.fbo[0] && b.w == w && b.h == h) return true;
    FreeNames(b);
    GLint oldTex = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &oldTex);
    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        glGenTextures(1, &b.col[i]);
        glBindTexture(GL_TEXTURE_2D, b.col[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        fn.genRb(1, &b.dep[i]);
        fn.bindRb(GL_RENDERBUFFER, b.dep[i]);
        fn.rbStore(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
        fn.genFb(1, &b.fbo[i]);
        fn.bindFb(GL_FRAMEBUFFER, b.fbo[i]);
        fn.fbTex(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, b.col[i], 0);
        fn.fbRb(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, b.dep[i]);
        if (fn.check(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) ok = false;
        if (ok) {
            // A new buffer starts black with the far depth, whatever the scissor says.
            glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_SCISSOR_BIT);
            glDisable(GL_SCISSOR_TEST);
            glClearColor(0, 0, 0, 1);
            glClearDepth(1.0);
            glDepthMask(GL_TRUE);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glPopAttrib();
        }
    }
    fn.bindRb(GL_RENDERBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(oldTex));
    if (!ok) {
        FreeNames(b);
        fn.bindFb(GL_FRAMEBUFFER, kNone);
        b.w = b.h = 0;
        return false;
    }
    b.w = w;
    b.h = h;
    Rebind(b);
    return true;
}

void Bind(Bufs& b, int which) {
    b.cur = which == Back ? Back : Front;
    Rebind(b);
}

void Rebind(const Bufs& b) {
    if (!fn.ok || !b.fbo[b.cur]) return;
    fn.bindFb(GL_FRAMEBUFFER, b.fbo[b.cur]);
}

void Swap(Bufs& b) {
    if (!fn.ok || !b.fbo[0]) return;
    glFlush();
    if (fn.blit) {
        GLboolean sc = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        fn.bindFb(GL_READ_FRAMEBUFFER, b.fbo[Back]);
        fn.bindFb(GL_DRAW_FRAMEBUFFER, b.fbo[Front]);
        fn.blit(0, 0, b.w, b.h, 0, 0, b.w, b.h, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
                GL_NEAREST);
        if (sc) glEnable(GL_SCISSOR_TEST);
    } else {
        fn.bindFb(GL_FRAMEBUFFER, b.fbo[Front]);
        TexQuad(b.col[Back], b.w, b.h);
    }
    Rebind(b);
}

void BlitFront(const Bufs& b, unsigned dst, int dw, int dh) {
    if (!fn.ok || !b.fbo[0]) return;
    if (fn.blit) {
        GLboolean sc = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        fn.bindFb(GL_READ_FRAMEBUFFER, b.fbo[Front]);
        fn.bindFb(GL_DRAW_FRAMEBUFFER, dst);
        fn.blit(0, 0, b.w, b.h, 0, 0, dw, dh, GL_COLOR_BUFFER_BIT,
                (dw == b.w && dh == b.h) ? GL_NEAREST : GL_LINEAR);
        if (sc) glEnable(GL_SCISSOR_TEST);
    } else {
        fn.bindFb(GL_FRAMEBUFFER, dst);
        TexQuad(b.col[Front], dw, dh);
    }
    Rebind(b);
}

bool Read(const Bufs& b, int which, std::vector<uint8_t>& rgba) {
    if (!fn.ok || !b.fbo[0]) return false;
    int i = which == Back ? Back : Front;
    rgba.assign(static_cast<size_t>(b.w) * b.h * 4, 0);
    while (glGetError() != GL_NO_ERROR) {
    }
    glFinish();
    fn.bindFb(GL_FRAMEBUFFER, b.fbo[i]);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, b.w, b.h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopClientAttrib();
    Rebind(b);
    return glGetError() == GL_NO_ERROR;
}

unsigned Texture(const Bufs& b, int which) { return b.col[which == Back ? Back : Front]; }

void Free(Bufs& b) {
    FreeNames(b);
    if (fn.ok) fn.bindFb(GL_FRAMEBUFFER, kNone);
    b.w = b.h = 0;
    b.cur = Front;
}

}  // namespace glbuf
