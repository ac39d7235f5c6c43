// The scene document (.scn): a big-endian binary dump of the whole scene model, the document's
// render and animation-output settings, and the terrain application's 2D/3D cameras.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "core/feedback.h"

constexpr int ScnVersion = 110;      // format version written
constexpr int ScnVersionMin = 100;   // oldest version read
constexpr int ScnHdrLen = 32;        // header bytes of a document (20-byte magic)
constexpr int ScnNamMax = 256;       // a stored name, zero byte included, fits this buffer

// Kind of a document, from its magic.
enum ScnKind : int { ScnKindPixalune = 1, ScnKindPixaluneX = 2, ScnKindOrvane = 3 };

// Application constants the shell sets at start-up (these are their values already).
constexpr int AppKindTrn = 3;        // the terrain application: documents carry Cam2D/Cam3D/ViewDim
extern int AppKind;
extern char SceneMagic[20];          // "Orvane|Altimetra", zero-padded
extern uint8_t RelNum[3];            // 1, 1, 1
constexpr int StampLen = 64;
extern char OriginStamp[StampLen];   // "ORVANEALTIMETRA111"; a read document's stamp replaces it

// Animation-output settings a document carries.
struct AnmOutRec {
    int32_t frmCnt;   // frame count (30)
    int32_t curFrm;   // current frame, kept within 0..frmCnt-1 after reading
    int32_t v3, v4;   // carried
    double rate;      // carried
    int32_t v6, v7;   // carried
};
extern AnmOutRec AnmOut;
void RstAnmOut();

// Substitution of the origin stamp: digits and upper-case letters are replaced through a fixed
// 36-character table; every other character is kept.
std::string ScrStamp(const std::string& plain);
std::string UnscrStamp(const std::string& stored);

// Outcome of the last ScnRead.
enum ScnRdStatus : int {
    ScnRdOk = 0,
    ScnRdNoFile,      // cannot be opened
    ScnRdBadMagic,    // not a scene document (message 199 shown)
    ScnRdBadVersion,  // a version this program cannot read
    ScnRdDamaged,     // short or inconsistent; reading stopped
    ScnRdNoMem,       // an allocation failed (message 100 shown)
};
extern int ScnRdSt;

// Result of the last write command (DstrFile 210001): 0 written, -1 not.
extern int ScnWrSt;

// Writes the scene to path, with viewDim (0 2D, 1 3D) as the view the terrain application shows.
// The document is written to a temporary file in the same folder and renamed over path only
// when every write, the flush and the close succeeded; on failure the old file is untouched, the
// temporary file removed and *err (when given) says why.
// fb begins and ends with the writing pass and hears its progress (it is never asked to cancel).
// 0 on success, -1 on failure (no message: the caller reports).
int ScnWrite(const char* path, uint8_t viewDim, const Feedback& fb, std::string* err = nullptr);

// The document as ScnWrite would write it, into *out (replaced), without a file, a message or a
// progress bar: a snapshot that another thread may then write. 0; an allocation failure throws.
int ScnToMem(uint8_t viewDim, std::vector<uint8_t>* out);

// Reads a document into the scene (appending to the tables; the caller has reset the scene) and
// resolves its references; *viewDim gets the stored view once it has been read. Returns 0, also
// for a damaged or foreign file (ScnRdSt tells which), or -1 when the file cannot be opened. A
// damaged document leaves what was read so far in the scene: the caller replaces it by the
// new-document scene. The current camera, the 2D window and the display tables are the caller's.
// fb begins and ends with the read of an opened file and hears its progress.
int ScnRead(const char* path, uint8_t* viewDim, const Feedback& fb);

// A name that could not be converted (either way) was replaced in the last read or write.
extern bool ScnNamLoss;
