#include "console_plt.h"
#include "core/msg.h"

namespace jrn {

std::string (*BoxTextFn)(const char* text) = nullptr;

const char* ConsolePlatform::AnsName(int ans) {
    switch (ans) {
    case plt::AnsOk: return "ok";
    case plt::AnsYes: return "yes";
    case plt::AnsNo: return "no";
    case plt::AnsCancel: return "cancel";
    default: return "?";
    }
}

int ConsolePlatform::AnsValue(const std::string& w) {
    if (w == "ok") return plt::AnsOk;
    if (w == "yes") return plt::AnsYes;
    if (w == "no") return plt::AnsNo;
    if (w == "cancel") return plt::AnsCancel;
    return 0;
}

int ConsolePlatform::MsgBox(const char* text, const char* caption, int buttons, int) {
    bool queued = !answers_.empty();
    // Unanswered: No for a Yes/No box; a Yes/No/Cancel box (save changes first?) is cancelled,
    // so that nothing is lost.
    int ans = buttons == plt::BtnYesNo ? plt::AnsNo
              : buttons == plt::BtnYesNoCancel ? plt::AnsCancel : plt::AnsOk;
    if (queued) {
        ans = answers_.front();
        answers_.pop_front();
    }
    // The window's platform gives the texts in the interface's language.
    const auto tx = [](const char* s) { return BoxTextFn ? BoxTextFn(s) : std::string(s ? s : ""); };
    const std::string cap = tx(caption), txt = tx(text);
    std::string line = "box " + std::to_string(MsgBoxId) + " \"" + cap + "\" " + AnsName(ans) + ": ";
    for (const char* p = txt.c_str(); *p; ++p) {
        if (*p == '\n')
            line += "\\n";
        else
            line += *p;
    }
    if (!queued) line += " (unanswered)";
    line += "\n";
    print_(line);
    if (ans == plt::AnsYes && onYes) onYes();
    return ans;
}

void ConsolePlatform::Console(const char* text) { print_(text ? text : ""); }

}  // namespace jrn
