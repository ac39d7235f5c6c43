// Light record (the same record is copied whole into PrmLgt).
#pragma once
#include <cstdint>

// Kinds of light.
enum LgtKind : uint8_t { LgtAmb = 0, LgtPar = 1, LgtPnt = 2, LgtSpot = 3 };

struct LgtRec {
    char* name;         // owned by the light (tag "name"); null in PrmLgt copies of unnamed lights
    float pos[3];
    float tgt[3];
    float ang[3];       // radians
    float dir[3];       // unit vector from the scene towards the light
    float col[3];
    float spotExp;
    float attKind;      // < 0.5 none, < 1.5 inverse distance, else inverse square
    float spotAng;      // full cone angle, radians
    float attDst;
    float intens;
    int32_t val6;
    float mtx[16];
    float rv7, rv8;
    int32_t rv9;
    float rv10;
    uint8_t kind;       // LgtKind
    uint8_t angOrd;     // 0..5
    uint8_t rb3, rb4;
    uint8_t on;
    int32_t prmIdx;     // index in PrmLgt, -1 until the first rebuild
};
