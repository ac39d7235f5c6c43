// The engine's platform in the application: Qt message boxes, cursors, the message pump, the
// frame's notifications and the binding of the view's OpenGL context.
#pragma once
#include <functional>
#include "platform/platform.h"

namespace shl {

class MainFrame;

class QtPlatform : public plt::Platform {
public:
    void SetFrame(MainFrame* f) { frame_ = f; }

    int MsgBox(const char* text, const char* caption, int buttons, int icon) override;
    void Beep() override;
    void SetCursor(int index) override;
    void PumpMessages(int max) override;
    void Notify(int id, long wparam) override;
    void Console(const char* text) override;
    void HelpText(const char* text) override;
    bool GLMakeCurrent(int win) override;
    bool GLHasWindow(int win) override;
    void GLDrawBuffer(int win, int buf) override;
    void GLSwap(int win) override;
    void GLFlushFront(int win) override;
    bool GLFontLists(int win, int first, int count, int base) override;
    int DisplayDepth() override;
    bool GLCreate(int win) override;
    void GLRelease(int win) override;

    // Replaces the modal boxes (the journal answers them instead of the user).
    std::function<int(const char* text, const char* caption, int buttons, int icon)> boxHook;

private:
    MainFrame* frame_ = nullptr;
};

// Builds bitmap display lists base..base+count-1 for characters first..first+count-1 in the
// current GL context with the application's fixed-width font.
bool MakeFontLists(int first, int count, int base);

}  // namespace shl
