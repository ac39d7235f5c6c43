// Engine-wide state: settings record, start-up defaults, temporary file names, date.
#pragma once
#include <cstdint>

// Settings record. The renderer fields are carried unchanged by the copy operations.
struct SetRec {
    int pickAp;          // pick aperture, pixels
    double cnctDst;      // auto-connect distance, pixels
    int winSiz[4][2];    // renderer window and image sizes
    char thrTxt[3][16];  // three real thresholds as text
    double thr[3];
    char font[5][64];    // font patterns
    double ang[2];       // two angle fields, degrees in the edit/stored copies
    int cnt[4];          // further renderer counts and switches
    double cntR[4];      // working copy only: the counts held as reals
};
extern SetRec SetEdt;  // what the settings dialog shows; the profile is read into it
extern SetRec SetSto;  // what is written back to the profile
extern SetRec SetWrk;  // what the engine uses

void SetPrmDef();  // edit copy = defaults
void StoPrm();     // stored copy = edit copy
void AplPrm();     // working copy = edit copy
void SavPrm();     // stored copy = working copy

// Working values the other modules read.
extern int PickAp;      // pick aperture, pixels
extern double CnctDst;  // auto-connect distance, pixels

// The core's share of start-up (IniSys, app/sys.h): run flags, working settings, interaction
// and render defaults, document parameters.
void IniState();
void RstDocPrm();  // per-document display and rendering parameters back to defaults
// The core's share of the end (EndSys): the document's background images, the spill files.
void EndState();

// View windows open (six window flags; cleared by IniState).
extern uint8_t WinOpn[6];

// Render and display settings a document carries (the settings block of the scene document).
struct BgImgRec {
    char* name;        // image file path (AlcMem'd, tag "name")
    int32_t val[5];    // values 1..5
    uint8_t byt[3];    // bytes 1..3
};
struct DocPrmRec {
    int32_t rndPrm[4];   // render parameters 1..4
    uint8_t rndSw[7];    // render switches 1..7 (4 and 5 select back-face culling in the display)
    uint8_t fogOn;
    float fogDns, fogBgn, fogEnd;
    float fogCol[3];
    double dspFct[2];    // display factors 1 and 2
    uint8_t rndSw2[2];   // render switches 8..9
    int32_t rndPrm2[6];  // render parameters 5..10
    uint8_t rndSw3[2];   // render switches 10..11
    int nBgImg;
    BgImgRec* bgImg;     // tag "bgImg"
    uint8_t grdOn;       // background gradient
    int32_t grdCol1[3], grdCol2[3];
    double viewPos[3];
    double viewVal[2];
};
extern DocPrmRec DocPrm;

// Temporary spill files and start-up date.
void MkTmpNam();
void MkTmpNamAt(int hour, int minute, int second, int year, int month, int day);
extern char TmpFbuf[64];
extern char TmpTbuf[64];
extern uint8_t DateByt[3];  // year - 1900, month, day

extern int DbgLvl;  // debug level; above 1 some operations print traces

// Screen size in pixels, recorded by the shell at start-up (windows that show map images fit
// them to it); 1024 x 768 until then.
extern int ScrPixW, ScrPixH;
