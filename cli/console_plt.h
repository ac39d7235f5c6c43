// The journal's platform: answers message boxes from the queue of `answer` lines and prints
// every box and console line; everything else goes to the platform it wraps (the application's
// when replaying in the window, none in the batch program).
#pragma once
#include <deque>
#include <functional>
#include <string>
#include "platform/platform.h"

namespace jrn {

// A box's text or caption (written in Japanese) in the interface's language; null keeps them as
// they are. The window sets it when its language is chosen.
extern std::string (*BoxTextFn)(const char* text);

class ConsolePlatform final : public plt::Platform {
public:
    using PrintFn = std::function<void(const std::string&)>;
    // inner may be null; print receives every line, line feed included.
    ConsolePlatform(plt::Platform* inner, PrintFn print) : inner_(inner), print_(std::move(print)) {}

    // Queue an answer (plt::AnsOk, AnsYes, AnsNo or AnsCancel) for the next box.
    void QueueAnswer(int ans) { answers_.push_back(ans); }
    size_t PendingAnswers() const { return answers_.size(); }
    // Called just before a box is answered Yes.
    std::function<void()> onYes;

    int MsgBox(const char* text, const char* caption, int buttons, int icon) override;
    void Console(const char* text) override;

    void Beep() override { if (inner_) inner_->Beep(); }
    void SetCursor(int index) override { if (inner_) inner_->SetCursor(index); }
    void PumpMessages(int max) override { if (inner_) inner_->PumpMessages(max); }
    void Notify(int id, long wparam) override { if (inner_) inner_->Notify(id, wparam); }
    void HelpText(const char* text) override { if (inner_) inner_->HelpText(text); }
    bool GLMakeCurrent(int win) override { return inner_ && inner_->GLMakeCurrent(win); }
    bool GLHasWindow(int win) override { return inner_ && inner_->GLHasWindow(win); }
    void GLDrawBuffer(int win, int buf) override { if (inner_) inner_->GLDrawBuffer(win, buf); }
    void GLSwap(int win) override { if (inner_) inner_->GLSwap(win); }
    void GLFlushFront(int win) override { if (inner_) inner_->GLFlushFront(win); }
    bool GLFontLists(int win, int first, int count, int base) override {
        return inner_ && inner_->GLFontLists(win, first, count, base);
    }
    int DisplayDepth() override { return inner_ ? inner_->DisplayDepth() : 24; }

    // Name of an answer as journals write it ("ok", "yes", "no", "cancel").
    static const char* AnsName(int ans);
    // Answer value of a journal word; 0 when the word is not an answer.
    static int AnsValue(const std::string& word);

private:
    plt::Platform* inner_;
    PrintFn print_;
    std::deque<int> answers_;
};

}  // namespace jrn
