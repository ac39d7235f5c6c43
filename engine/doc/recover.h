// Recovery copies: the document written aside while it has unsaved changes, so that a crash, a
// killed process or a power cut loses at most the last few minutes. The shell chooses where the
// copies go and when; the snapshot is taken here on the engine's thread and may be written on any.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern int AutoSaveSec;  // seconds between recovery copies while there are unsaved changes; 0 off
constexpr int AutoSaveMax = 86400;

// A copy of the document in memory: the scene document's bytes and the description that gives
// back what the scene document does not hold (name, modified mark, region).
struct RcvCopy {
    std::vector<uint8_t> scn;
    std::string meta;
};

// What a copy's description says.
struct RcvMeta {
    long long time = 0;    // when the copy was made, seconds since 1970 (UTC)
    std::string path;      // the document's file; empty: none ("無題")
    bool modified = true;
    float rgn[6] = {0, 0, 0, 0, 0, 0};
    float itv = 0;
};

// Snapshot of the present document, made at time (seconds since 1970).
void RcvSnap(RcvCopy* c, long long time);
// Writes a snapshot as scnPath and metaPath, both or neither (the one safe writer). No message,
// no engine state: any thread. 0, or -1 with *err.
int RcvWrite(const RcvCopy& c, const std::string& scnPath, const std::string& metaPath, std::string* err);
// Reads a description. false when the file is missing or is not a whole description.
bool RcvReadMeta(const std::string& metaPath, RcvMeta* m);
// Opens the copy scnPath as the document m describes: its name and title, the modified mark, the
// region and interval. DocDone when it was read; DocFailed when the copy is damaged (reported as
// any damaged document is, and the new-document scene is left).
int DocRecover(const std::string& scnPath, const RcvMeta& m);
