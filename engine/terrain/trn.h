// Terrain grid, region, generation parameters, vertex selection and slope classes.
#pragma once
#include <cstdint>
#include "core/feedback.h"
#include "core/unit.h"
#include "scene/scene.h"
#include "terrain/trn_cmd.h"

extern float TrnRgn[6];   // x0 y0 z0 x1 y1 z1
extern float MshItv;

// Units of the dialogs, kept between them (km for the region only).
extern LenUnit RgnUnit;
extern LenUnit ItvUnit;
extern LenUnit HgtUnit;
double Rnd2(double v);           // rounded to two decimals, half away from zero

// Generation and filter parameters.
extern int CrsAngNum;
extern float CrsLenScl;
extern float SamHgtDst;
extern float FltrAng;
extern int IntpPrph;
// Generation method: 0 cross lines (the default), 1 contour-constrained minimum curvature,
// 2 gradient paths between neighbouring contours (terrain/trn_mth.h lists them).
enum TrnMethodKind { TrnMethodCrs = 0, TrnMethodMinCrv = 1, TrnMethodPath = 2 };
extern int TrnMethod;

// Selected grid vertices, in selection order.
extern int NumVtxSlct;
extern int* VtxSlct;
extern float VtxHgtVal;   // height set by the vertex-height dialog (mm)

// Slope classes.
extern float SlpThr[4];
extern uint8_t SlpMode;
extern uint8_t SlpDsp;
// Colour of grid vertex i in the slope-class display (rgb 0..1).
void SlpCol(int i, float rgb[3]);
// Slope of grid vertex (r, c) by SlpMode: the steepest or the mean slope to its grid neighbours.
double VtxSlp(int r, int c);
// Class colour (bytes) of a slope by the thresholds SlpThr.
void SlpClsCol(double s, uint8_t rgb[3]);
void SlpClsRgb(int k, uint8_t rgb[3]);   // colour of class k (0 gentlest .. 4 steepest)

void RstTrnRgn();   // terrain scene: region back to its start value, no vertex selected
// The region becomes the extent of the contours (false: none with points); with onlyDef only
// while it is still the start-up region, so that a region the user set stays.
bool RgnFromCrv(bool onlyDef);
bool RgnFromExt(float x0, float y0, float x1, float y1, bool onlyDef);
void RgnFromTrn();  // region = the corners of the current grid (after its undo); no grid: unchanged
void ClrVtxSlct();

// Interpolating uniform cubic B-spline through n points (x, y, z): (n - 1) * sub + 1 samples.
bool SplCrv(int n, const float* p, int sub, int* outN, float* out);
struct cntr;
// Height of one vertex from the contours (x, y read, z written); false when no line crossed a
// contour (z unchanged). fb hears the vertex as a mark.
bool IntpVtxHgt(float v[3], const cntr* c, int n, const Feedback& fb = FbNone);

// Grid layout of a region and interval: rows and columns (false when either would pass 65535),
// and the R × C vertices, row by row from the lower-left corner, all at height 0.
bool TrnMshDim(const float rgn[6], float d, int* R, int* C);
void TrnMshPts(const float rgn[6], float d, int R, int C, float* v);
// The same layout as two axes: the x of each of the C columns and the y of each of the R rows.
void TrnMshAxes(const float rgn[6], float d, int R, int C, float* xs, float* ys);

bool CreTrnMsh();
// Heights of the terrain grid by method m (CreTrn(fb): the method of the settings, TrnMethod; MshItv
// and TrnGenRef as they are). fb begins and ends with the run, hears its progress and its marks and
// may cancel it: the terrain command passes the window's feedback with its marks, a batch run its
// terminal feedback or FbNone. True when the heights were written. False with a message and nothing
// changed when there is no grid or no contour; false and the terrain as it was when cancelled, when
// the window replaced or freed the grid meanwhile, or when memory ran out (the allocator's message;
// the terrain is only written once the whole run succeeded).
bool CreTrn(const Feedback& fb, TrnMethodKind m);
bool CreTrn(const Feedback& fb);
// The lines the last CreTrn read at another level than their own (gradient paths: a line whose
// neighbours show it digitised one interval off), as pairs of levels given and read (mm).
int TrnRelevelCount();
void TrnRelevelAt(int k, float* given, float* read, double* x = nullptr, double* y = nullptr);
// The slope filter: spikes steeper than ang degrees (FltrTrn(): FltrAng) flattened. The number of
// posts it changed; -1 without a terrain.
int FltrTrn(float ang);
int FltrTrn();
void CalTrnNrm();
void CalVtxNrm(int r, int c);  // one grid vertex of TrnSrf/TrnGrd
void UdtSlctNrm();
void AddVtxSlct(int i);         // append grid vertex i of TrnSrf to the selection
bool AnyVtxSlctOk();            // a selected vertex lies on the terrain
void RaiseVtxSlct(double dz);   // the selected vertices dz higher, their normals and box updated
void SetVtxHgt();
void DelTrn();              // free the terrain surface (region and interval stay)
void SetTrnVis(int vis);    // visible flag of every surface of the terrain part

// Vertices the last generation could not reach (no cross line met a contour; they kept their
// earlier height): one byte per vertex of TrnSrf, 1 = unreached. TrnGapOf gives the mask only while
// it still describes the current grid (null otherwise, and when every vertex was reached).
void TrnGapSet(const uint8_t* gap);   // for TrnSrf as it is now
void TrnGapClr();
const uint8_t* TrnGapOf();

// Which generator the creation command runs: 0 the parallel one, 1 the per-vertex reference.
extern uint8_t TrnGenRef;

// Values of the terrain dialogs. The shell shows what the Get procedures give and hands back
// what the user typed; the Set procedures convert to millimetres and store.
// Region dialog: corners x0 y0 x1 y1 in the region unit, interval in the interval unit, both
// rounded to two decimals. A document with a local origin (GisRef) shows and takes real-world
// corners, rounded to the millimetre.
void GetRgnDlg(double corner[4], double* itv);
// OK: false (nothing stored) when the interval is outside 1 .. 1e11 of its unit. Corners given in
// the wrong order are stored ordered.
bool SetRgnDlg(const double corner[4], double itv);
// The region from real-world corners in metres (x0 y0 x1 y1, any order): the document's origin
// subtracted as the batch command subtracts it from --region.
void SetRgnWld(const double m[4]);
// Button "by mouse": stores the interval only.
bool SetRgnItv(double itv);
bool ChkItv(double itv);
// Filter dialog: false when the angle is outside 0 .. 90.
bool SetFltrDlg(double ang, int prph);
// Vertex-height dialog: the stored height shown in HgtUnit, and storing a typed value.
double GetVtxHgtDlg();
void SetVtxHgtDlg(double v);
// Slope dialog: thresholds as whole degrees (OK: SetSlpDlg, cmd/trn_cmds.h).
void GetSlpDlg(int thr[4], int* mode);
void RstSlpDlg();    // "初期化": thresholds 60, 45, 30, 15 and the steepest mode
