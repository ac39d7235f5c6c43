// What the main view asks of the engine. The application uses the engine itself (EngineLink);
// tests put a recorder in its place to see exactly what each window event turns into.
#pragma once

namespace shl {

class ViewLink {
public:
    virtual ~ViewLink() = default;
    virtual void SetPtrPix(int x, int y) = 0;
    virtual void SetPtrKey(int vk) = 0;
    virtual int IntrEvt(int type) = 0;
    virtual int IntrCmd(int cat, int code) = 0;
    virtual int CurMode() = 0;
    // Feedback drawn by the event's handler becomes visible.
    virtual void Flush() = 0;
    // The view's size in pixels; followed by the resize command by the caller.
    virtual void SetWinSiz(int w, int h) = 0;
    // The view's GL context exists (true) or is about to go away (false).
    virtual void ViewOpen(bool open) = 0;
    // One-time set-up of a new context (first paint after creation).
    virtual void SetupWin() = 0;
    // Draw the picture of window 0 into the back buffer and present it.
    virtual void PaintWin() = 0;
};

// The engine's own entry points.
class EngineLink final : public ViewLink {
public:
    void SetPtrPix(int x, int y) override;
    void SetPtrKey(int vk) override;
    int IntrEvt(int type) override;
    int IntrCmd(int cat, int code) override;
    int CurMode() override;
    void Flush() override;
    void SetWinSiz(int w, int h) override;
    void ViewOpen(bool open) override;
    void SetupWin() override;
    void PaintWin() override;
};

}  // namespace shl
