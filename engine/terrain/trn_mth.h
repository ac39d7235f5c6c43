// The terrain generation methods: number, command-line name and one-line descriptions, in the
// order of their numbers (the value of TrnMethod and the row of the preferences' method combo).
#pragma once
#include "terrain/trn.h"

struct cntr;

struct TrnMethodInfo {
    TrnMethodKind kind;
    const char* name;    // name of `altimetra-cli dem --method`
    const char* desc;    // one line for the command's help
    const char* label;   // one line for the preferences' method combo
};
constexpr int TrnMethodNum = 3;
extern const TrnMethodInfo TrnMethods[TrnMethodNum];

// The method of a command-line name; null when there is none.
const TrnMethodInfo* TrnMethodByName(const char* name);
// The method of a TrnMethod value; the default (cross lines) for an unknown one.
const TrnMethodInfo& TrnMethodOf(int kind);

// Runs method k alone over the R x C grid v (row-major as the mesh lays it out; z written), with
// the engine's generation settings, no window and no progress marks: L is the scene extent (cross
// lines), d the mesh interval. False when it did not finish.
bool TrnGenMethod(TrnMethodKind k, const cntr* c, int nc, double L, float* v, int R, int C, double d);
