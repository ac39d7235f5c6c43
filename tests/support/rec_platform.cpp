#include "support/rec_platform.h"
#include "core/msg.h"

void RecPlatform::Clear() {
    answers.clear();
    boxes.clear();
    notes.clear();
    cursors.clear();
    console.clear();
    helps.clear();
    beeps = 0;
    pumps = 0;
    pumpMax = 0;
}

std::string RecPlatform::ConsoleText() const {
    std::string s;
    for (const std::string& l : console) s += l;
    return s;
}

int RecPlatform::CountNotify(int id) const {
    int n = 0;
    for (const auto& p : notes)
        if (p.first == id) ++n;
    return n;
}

int RecPlatform::MsgBox(const char* text, const char* caption, int buttons, int icon) {
    boxes.push_back({text ? text : "", caption ? caption : "", buttons, icon, MsgBoxId});
    if (onBox) onBox(boxes.back());
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    if (buttons == plt::BtnYesNoCancel) return plt::AnsCancel;
    return buttons == plt::BtnYesNo ? plt::AnsNo : plt::AnsOk;
}

void RecPlatform::PumpMessages(int max) {
    ++pumps;
    pumpMax = max;
    if (onPump) onPump();
}
