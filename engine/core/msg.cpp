// PLACEHOLDER until the message module lands.
#include "core/msg.h"
#include <cstdarg>
#include <cstdio>
#include "platform/platform.h"

uint8_t MsgLang = 0;
int LastErrId = 0;
int MsgBoxId = 0;

void Notify(int id, long wparam) { plt::Get()->Notify(id, wparam); }

void ConPrintf(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    plt::Get()->Console(buf);
}

int DspErrMsg(int id, const char* text) {
    LastErrId = id;
    int prev = MsgBoxId;
    MsgBoxId = id;
    int r = plt::Get()->MsgBox(text ? text : "", "エラー", plt::BtnOk, plt::IconError);
    MsgBoxId = prev;
    return r;
}
