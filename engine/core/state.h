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

int IniSys();
void RstDocPrm();  // per-document display and rendering parameters back to defaults

// Temporary spill files and start-up date.
void MkTmpNam();
void MkTmpNamAt(int hour, int minute, int second, int year, int month, int day);
extern char TmpFbuf[64];
extern char TmpTbuf[64];
extern uint8_t DateByt[3];  // year - 1900, month, day

extern int DbgLvl;  // debug level; above 1 some operations print traces
