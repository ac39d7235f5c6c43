// View fields of a camera, in their stored order.
#pragma once
#include <cstdint>

struct CamView {
    double RotCnt[3];
    double RotAng[3];
    double EyePos[3];
    double ScrShf[2];
    double EyeDst;
    double ScrDst;
    double ScrWid;
    double ClpNear, ClpFar;
    double RndVal[3];  // renderer: (unused), focus distance, depth-of-field range
    float Lens;        // renderer lens number
    float ViewAng;     // radians across the screen width
    int32_t RndInt;    // renderer
    uint8_t UpAxis;    // 0 none, 1 x, 2 y, 3 z
    uint8_t Byte1;     // unused by the display
    uint8_t CurCam;
    uint8_t RotEye;
    uint8_t AutoClp;
    uint8_t PrjFlg;    // 1 parallel, 2 perspective
    uint8_t FovFix;
};
