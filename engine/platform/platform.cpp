#include "platform/platform.h"
#include <cstdio>

namespace plt {

void Platform::Console(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

namespace {
// Used until someone installs a platform: boxes print to standard error and are answered "no"/"ok".
class NullPlatform final : public Platform {
public:
    int MsgBox(const char* text, const char* caption, int buttons, int) override {
        std::fprintf(stderr, "[%s] %s\n", caption, text);
        return buttons == BtnYesNo ? AnsNo : AnsOk;
    }
};
NullPlatform nullPlt;
Platform* cur = &nullPlt;
}  // namespace

Platform* Get() { return cur; }
void Set(Platform* p) { cur = p ? p : &nullPlt; }

}  // namespace plt
