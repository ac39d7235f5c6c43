// Recording platform for tests: answers message boxes from a queue and records everything the
// engine sends to the window system.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "platform/platform.h"

struct RecBox {
    std::string text, caption;
    int buttons, icon;
    int id;  // message id of the box (MsgBoxId while it was shown)
};

class RecPlatform : public plt::Platform {
public:
    // Answers for the next message boxes, in order. An unanswered OK box answers OK, an
    // unanswered Yes/No box answers No, an unanswered Yes/No/Cancel box Cancel.
    std::deque<int> answers;
    std::vector<RecBox> boxes;
    std::vector<std::pair<int, long>> notes;  // notifications: id, wparam
    std::vector<int> cursors;                 // every SetCursor index
    std::vector<std::string> console;         // console lines as printed
    std::vector<std::string> helps;           // help texts of modes entered
    int beeps = 0;
    int pumps = 0;                            // PumpMessages calls
    int pumpMax = 0;                          // max argument of the last PumpMessages
    std::function<void()> onPump;             // runs inside PumpMessages (e.g. press Cancel)
    std::function<void(const RecBox&)> onBox; // runs when a box is shown, before it answers

    void Answer(int ans) { answers.push_back(ans); }
    void Clear();
    // All console lines joined.
    std::string ConsoleText() const;
    // Number of notifications with this id.
    int CountNotify(int id) const;
    const RecBox* LastBox() const { return boxes.empty() ? nullptr : &boxes.back(); }

    int MsgBox(const char* text, const char* caption, int buttons, int icon) override;
    void Beep() override { ++beeps; }
    void SetCursor(int index) override { cursors.push_back(index); }
    void PumpMessages(int max) override;
    void Notify(int id, long wparam) override { notes.emplace_back(id, wparam); }
    void Console(const char* text) override { console.emplace_back(text ? text : ""); }
    void HelpText(const char* text) override { helps.emplace_back(text ? text : ""); }
};
