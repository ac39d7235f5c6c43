// Point and stroke input.
#include "curves/crv_int.h"

namespace {
float FstPnt[3], PrvPnt[3];
uint8_t LftStt = 0;
}  // namespace

void RstInpState() {
    LftStt = 0;
    FstPnt[0] = FstPnt[1] = FstPnt[2] = 0;
    PrvPnt[0] = PrvPnt[1] = PrvPnt[2] = 0;
}
