// The one interface through which the engine reaches the window system.
// The shell implements it with Qt, the batch runner with the console, tests with a recording double.
#pragma once
#include <cstdint>

namespace plt {

// Message box buttons and icons, and the answers (the values the engine compares with).
enum MsgBtn { BtnOk = 0, BtnYesNoCancel = 3, BtnYesNo = 4 };
enum MsgIcon { IconNone = 0, IconInfo = 1, IconError = 2, IconWarning = 3 };
enum MsgAns { AnsOk = 1, AnsCancel = 2, AnsYes = 6, AnsNo = 7 };

// Which buffer engine drawing goes to (the front buffer is emulated off screen by the view).
enum DrwBuf { BufBack = 0, BufFront = 1 };

struct ImgHdr;

class Platform {
public:
    virtual ~Platform() = default;

    // Modal message box owned by the main frame; returns an MsgAns value.
    virtual int MsgBox(const char* text, const char* caption, int buttons, int icon) = 0;
    virtual void Beep() {}
    // Cursor index 0..29 of the engine's cursor table, for every open view window.
    virtual void SetCursor(int index) { (void)index; }
    // Dispatch at most max pending window messages without waiting.
    virtual void PumpMessages(int max) { (void)max; }
    // Window command sent to the main frame (progress bar, scale-by-distance dialog, ...).
    virtual void Notify(int id, long wparam) { (void)id; (void)wparam; }
    // A console line of the engine, exactly as formatted (line feed included).
    virtual void Console(const char* text);
    // Help text of the mode just entered; may be shown or ignored.
    virtual void HelpText(const char* text) { (void)text; }

    // OpenGL window binding. Window index 0 is the main view.
    // Make the context of window win current (win < 0: none). Returns false without a context.
    virtual bool GLMakeCurrent(int win) { (void)win; return false; }
    // True when window win has a usable context.
    virtual bool GLHasWindow(int win) { (void)win; return false; }
    // Select the buffer that following GL drawing goes to.
    virtual void GLDrawBuffer(int win, int buf) { (void)win; (void)buf; }
    // Present the back buffer of window win.
    virtual void GLSwap(int win) { (void)win; }
    // Make the front buffer's content visible now (feedback drawing).
    virtual void GLFlushFront(int win) { (void)win; }
    // Build bitmap-font display lists base..base+count-1 for characters first..first+count-1.
    virtual bool GLFontLists(int win, int first, int count, int base) {
        (void)win; (void)first; (void)count; (void)base; return false;
    }
    // Colour depth of the display in bits per pixel.
    virtual int DisplayDepth() { return 24; }
    // Create the GL context of window win, or create it anew after it was lost, with its front
    // and back buffers; the context need not be left current. False when no context can be made.
    virtual bool GLCreate(int win) { (void)win; return false; }
    // Window destruction: release the context of window win.
    virtual void GLRelease(int win) { (void)win; }
    // True when a paint may redraw only its invalid rectangle (the buffers keep their content).
    virtual bool GLPartialPaint(int win) { (void)win; return false; }
    // Show an image in the image window dst: a bottom-up 24-bit picture described by hdr
    // (MkImgHdr), its rows padded to 4 bytes, placed at x, y (pixels, y downwards).
    virtual void BltImg(int dst, int x, int y, const ImgHdr& hdr, const uint8_t* bits) {
        (void)dst; (void)x; (void)y; (void)hdr; (void)bits;
    }
};

// Header of a bottom-up 24-bit image, laid out as the 40 bytes of a device-independent bitmap.
struct ImgHdr {
    uint32_t size;      // 40
    int32_t width;
    int32_t height;     // positive: bottom-up
    uint16_t planes;    // 1
    uint16_t bitCount;  // 24
    uint32_t compression;  // 0: none
    uint32_t sizeImage;    // rowBytes * height
    int32_t xPelsPerMeter, yPelsPerMeter;
    uint32_t clrUsed, clrImportant;
};
static_assert(sizeof(ImgHdr) == 40, "image header is 40 bytes");

// The platform in force; a console platform until the shell or a test installs its own.
Platform* Get();
void Set(Platform* p);

}  // namespace plt
