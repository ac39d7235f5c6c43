// View fields of a camera, in their stored order.
#pragma once
#include <cstdint>

// Up-axis constraint of a camera, and its projection.
enum UpAxisKind : uint8_t { UpNone = 0, UpX = 1, UpY = 2, UpZ = 3 };
enum PrjKind : uint8_t { PrjPar = 1, PrjPrs = 2 };

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
    uint8_t UpAxis;    // UpAxisKind
    uint8_t Byte1;     // unused by the display
    uint8_t CurCam;
    uint8_t RotEye;
    uint8_t AutoClp;
    uint8_t PrjFlg;    // PrjKind
    uint8_t FovFix;
};
