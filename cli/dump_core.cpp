// Dumps of the command core: mode state and the message area.
#include "core/mode.h"
#include "core/msg.h"
#include <cstring>
#include "registry.h"

namespace jrn {

void DumpMode() {
    Line("mode " + std::to_string(CrntMode) + " base=" + std::to_string(BaseMode) +
         " cursor=" + std::to_string(CrsIdx) + " held=" + std::to_string(BtnHeld));
}

void DumpMessages() {
    int n = MsgLinNum < 0 ? 0 : (MsgLinNum > MsgLinMax ? MsgLinMax : MsgLinNum);
    Line("msg " + std::to_string(n));
    for (int i = 0; i < n; ++i) Line(std::string(MsgLin[i], strnlen(MsgLin[i], MsgLinLen)));
}

}  // namespace jrn
