// Scene object model: a tree of named objects under four global tables.
#pragma once
#include <cstdint>
#include "scene/camrec.h"
#include "scene/lgtrec.h"

enum ObjKind : int {
    OK_GLB = 1, OK_STG = 3, OK_PRD = 5, OK_CAM = 7, OK_LGT_TBL = 9, OK_LGT = 10,
    OK_MTL_TBL = 12, OK_MTL = 13, OK_PRT = 15, OK_LNK = 16, OK_SRF = 17, OK_CRV = 18,
};

struct BBox { float min[3], max[3]; };

struct XfmBlk {
    double scl[3], rot[3], trn[3], pvt[3];
    uint8_t flg;
    uint8_t b2;  // 4 when created
};

// A list: count and an array of pointers grown by one per insertion.
template <class T>
struct ObjLst {
    int n = 0;
    T** a = nullptr;
};

struct prm_anm;
struct stg; struct prd; struct cam; struct lgt_tbl; struct lgt; struct mtl_tbl; struct mtl;
struct prt; struct lnk; struct srf; struct pgn; struct crv; struct prj; struct siz; struct txt_map;

// Fields every tree node carries.
struct Node {
    char* name;
    void* own;
    int ownKind;
    XfmBlk xfm;
    double mtx[4][4];
    BBox box;
};

// One channel of a parameter animation: keys (flag and value), two values and three bytes, all
// carried unchanged for the animation subsystem.
struct AnmKey {
    uint8_t flg;
    double val;
};
struct AnmCh {
    int nk;
    AnmKey* k;    // nk keys (tag "anm_key")
    int32_t v[2];
    uint8_t b[3];
};

struct prm_anm {
    char* name;
    void* own;
    int ownKind;
    int nch;      // channels (none when the engine creates the block)
    AnmCh* ch;    // nch channels (tag "anm_ch")
};

struct stg : Node {
    ObjLst<cam> cams;
    ObjLst<lgt_tbl> lgtTbls; int curLgtTbl;
    ObjLst<mtl_tbl> mtlTbls; int mtlBase; int mtlIdx2;
    ObjLst<prt> prts;
    ObjLst<lnk> lnks;
    uint8_t active;  // 1
    int lgtBase;     // PrmLgt index of its first light
};

struct prd : Node {
    ObjLst<mtl_tbl> mtlTbls; int mtlBase; int mtlIdx2;
    ObjLst<prt> prts;
    ObjLst<lnk> lnks;
    prm_anm* anm; uint8_t anmFlg;
    uint8_t active;  // 1
};

struct prt : Node {
    ObjLst<prt> prts;
    ObjLst<lnk> lnks;
    ObjLst<srf> srfs;
    ObjLst<crv> crvs;
    ObjLst<siz> sizs;
    int id;          // -1
    int val;         // -1
    prt* ref; char* refPath;
    prm_anm* anm;
    uint8_t b1, b2;  // 1, 0
};

struct lnk : Node {
    ObjLst<prt> prts;
    double sclMin[3], sclMax[3], rotMin[3], rotMax[3], trnMin[3], trnMax[3];
    int id;          // -1
    int val;         // -1 (carried)
    prm_anm* anm;
    uint8_t b[4];    // 0, 0, 0, 1
};

// Polygon group types.
enum PgnType : uint8_t { PgnGen = 0, PgnTri = 1, PgnQuad = 2, PgnGrd = 5 };

// Surface display flags: shaded drawing allowed, bounding box only; the terrain has SrfFlgTrn.
constexpr uint8_t SrfFlgShd = 2, SrfFlgBox = 8, SrfFlgTrn = 1 | SrfFlgShd;

struct pgn {
    void* own;
    int ownKind;
    int n;                // vertex index count
    int32_t* vtx_id;
    uint16_t rows, cols;
    uint8_t type;         // PgnType
};

struct prj {
    void* own;
    int ownKind;
    int n;
    float* uv;            // n pairs
    double mtx[4][4];
    double lead;          // 100.0
    double prm[20];
    uint8_t type;         // 2
    // Renderer values carried unchanged: two triples, an integer, the raw parameter words, a byte.
    double v1[3], v2[3];
    int32_t iv;
    uint32_t raw[20];
    uint8_t b2;
};

struct srf : Node {
    ObjLst<pgn> pgns;
    ObjLst<prj> prjs;
    int mtlIdx;           // -1 when created, 0 for the terrain
    int mtlIdx2;
    mtl* mtlPtr;          // resolved
    int nv;
    float* v;             // nv points
    float* nrm;           // nv normals (srf->n)
    float* v3;            // optional third array
    int nvc; float* vc;   // colour table, K colours (rgb)
    int nce; int32_t* ce; // colour entries
    uint8_t b1;           // 1
    uint8_t kind;         // 0
    uint8_t dspFlg;       // SrfFlg* bits
    uint8_t vis;          // visible flag
};

struct crv : Node {
    int n;
    float* p;             // n points of x, y, z
    float col[3];         // 1.0 each when created
    uint8_t b1;           // 1
    uint8_t vis;          // 1
    uint8_t b3;           // 0
    uint32_t uid;         // identity that undo carries across copies (not stored in documents)
};

struct siz {
    void* own;
    int ownKind;
    int n;                // pairs of end points
    float* pts;           // n * 6 floats
    char* txt;
    int type;
    float v[4];           // 0.8 each
};

struct cam {
    char* name;
    void* own;
    int ownKind;
    CamView view;
    uint8_t cur;
    prm_anm* anm;
};

struct lgt_tbl {
    char* name;
    void* own;
    int ownKind;
    ObjLst<lgt> lgts;
    int curIdx;
    uint8_t active;
};

struct lgt {
    void* own;
    int ownKind;
    LgtRec r;             // r.name is the light's name
};

// One map of a material (texture, bump, reflection, transparency or environment); the name is
// the image file. The contents belong to the renderer and are carried unchanged: each kind uses
// a prefix of the integer words, the parameter array, the 32-bit words and the bytes.
enum MapKind : int { MAP_TXT = 0, MAP_BMP = 1, MAP_RFL = 2, MAP_TRS = 3, MAP_ENV = 4 };
struct txt_map {
    char* name;
    void* own;
    int ownKind;          // OK_MTL once attached
    int kind;             // MapKind of the list holding it
    char* file;           // unused (the name is the file)
    double prm[8];        // unused
    int32_t iv[16];
    int32_t par[200];
    uint32_t wv[12];      // 32-bit words (reals or integers) kept bit for bit
    uint8_t bv[12];
    uint8_t last;         // 0xFF: not in use, never written
};

struct mtl_tbl {
    char* name;
    void* own;
    int ownKind;
    ObjLst<mtl> mtls;
    int curIdx;
    uint8_t active;
};

struct mtl {
    char* name;
    void* own;
    int ownKind;
    float amb[3], dif[3], spc[3], col4[3];
    float shin;           // 50
    float emi[3];         // 0
    float flt[3];         // filter colour (1, 1, 1)
    float opac;           // 1.0
    float refr;           // 1.5
    float val2;           // transparency t (0 = opaque)
    float val3;           // self-illumination s (0 = none)
    ObjLst<txt_map> txtMap, bmpMap, rflMap, trsMap, envMap;
    int txtCur, bmpCur, rflCur, trsCur, envCur;
    void* txtSeq; void* bmpSeq; void* rflSeq; void* trsSeq; void* envSeq;
    uint8_t flg[9];       // 0, 1, 1, 1, 1, 0, 0, 0, 0
    float val1;           // material value 1 (0.2), carried
    float val4;           // material value 4 (0), carried
    uint8_t lastB;        // last material byte (0)
};

// Global tables and scene-wide state.
extern ObjLst<stg> StgTbl;
extern ObjLst<prd> PrdTbl;
extern ObjLst<cam> CamTbl;
extern ObjLst<lgt_tbl> LgtTblTbl;
extern BBox SceneBox;
extern cam* CurCamObj;   // current camera
extern lgt* CurLgtObj;   // current light
extern int CurObjKind;   // 1 and null: none
extern void* CurObj;
extern uint8_t ModFlg;   // document modified

// Terrain handles.
extern prd* TrnPrd;
extern prt* TrnPrt;      // also the part that holds the contour curves
extern srf* TrnSrf;
extern pgn* TrnGrd;
extern cam* Cam2D;
extern cam* Cam3D;

// Flattened materials.
extern int NumMtl;
extern mtl** PrmMtl;

// Constructors (defaults of new objects). Outside a command an allocation failure gives null
// (after message 100); inside one it abandons the command. Nothing is attached.
stg* NewStg(const char* name);
prd* NewPrd(const char* name);
prt* NewPrt(const char* name);
lnk* NewLnk(const char* name);
srf* NewSrf(const char* name);
crv* NewCrvObj(const char* name);
cam* NewCam(const char* name);
lgt_tbl* NewLgtTbl(const char* name);
lgt* NewLgt(const char* name);
mtl_tbl* NewMtlTbl(const char* name);
mtl* NewMtl(const char* name);
txt_map* NewMap(const char* name);
pgn* NewPgn(srf* s);          // created inside the surface (appended to its groups)
prj* NewPrj(srf* s);          // appended to the surface's projections
siz* NewSiz(prt* p);          // appended to the part's dimension texts
prm_anm* NewAnm(int ownKind); // "アニメーション", no channels
char* DupNam(const char* name);  // AlcMem'd copy, tag "name"

// Attach: append to the owner's list, set owner and kind, set the modified flag.
// 0, or -1 when the list cannot grow (the list and the child are then unchanged).
int AtchCamGlb(cam* c);
int AtchLgtTblGlb(lgt_tbl* t);
int AtchStgGlb(stg* s);
int AtchPrdGlb(prd* p);
int AtchCamStg(stg* s, cam* c);
int AtchLgtTblStg(stg* s, lgt_tbl* t);
int AtchMtlTblStg(stg* s, mtl_tbl* t);
int AtchPrtStg(stg* s, prt* p);
int AtchLnkStg(stg* s, lnk* l);
int AtchMtlTblPrd(prd* d, mtl_tbl* t);
int AtchPrtPrd(prd* d, prt* p);
int AtchLnkPrd(prd* d, lnk* l);
int AtchPrtPrt(prt* o, prt* p);
int AtchLnkPrt(prt* o, lnk* l);
int AtchSrfPrt(prt* o, srf* s);
int AtchCrvPrt(prt* o, crv* c);
int AtchPrtLnk(lnk* o, prt* p);
int AtchLgt(lgt_tbl* t, lgt* l);
int AtchMtl(mtl_tbl* t, mtl* m);
int AtchMap(mtl* m, int kind, txt_map* t);  // kind: MapKind
ObjLst<txt_map>* MapLst(mtl* m, int kind);

// Free an object and everything below it; detach also removes it from its owner's list,
// keeping the order of the others. Pointers of the engine to a freed object (current object,
// camera and light, terrain handles) are reset. Freeing lights rebuilds PrmLgt.
void FreeStg(stg* s, bool detach);
void FreePrd(prd* p, bool detach);
void FreePrt(prt* p, bool detach);
void FreeLnk(lnk* l, bool detach);
void FreeSrf(srf* s, bool detach);
void FreeCrvObj(crv* c, bool detach);
// Take a surface or curve out of its owner's list without freeing it (undo keeps it and puts it
// back later). The surface is forgotten as a freed one is; the curve is not.
void DtchSrf(srf* s);
void DtchCrv(crv* c);
void FreeCam(cam* c, bool detach);
void FreeLgtTbl(lgt_tbl* t, bool detach);
void FreeLgt(lgt* l, bool detach);
void FreeMtlTbl(mtl_tbl* t, bool detach);
void FreeMtl(mtl* m, bool detach);
void FreeMap(txt_map* t, bool detach);
void FreePgn(pgn* g, bool detach);
void FreePrj(prj* j, bool detach);
void FreeSiz(siz* z, bool detach);
void FreeAnm(prm_anm* a);
void ClrScn();    // free the four global tables (Cam2D and Cam3D survive)

// Names and paths. kind is the ObjKind of the siblings compared; owner the container
// (null and OK_GLB for the global tables).
char* UniqNam(const char* base, void* owner, int ownerKind, int kind);  // AlcMem'd text, tag "name"
const char* ObjName(const void* obj, int kind);
void* ObjOwner(const void* obj, int kind, int* ownKindOut);
int ObjPath(void* obj, int kind, char* buf, int bufLen);  // length, or -1 (no room, no name)
// Lookup by path; want (an ObjKind, 0 any) picks among objects of the same path, such as the
// part and the material table that a product may both name alike. Null when nothing matches.
void* FindPath(const char* path, int* kindOut, int want = 0);
// Part references: every part with a path text gets the part it names (null when none does).
void RslvPrtRef();
// Calls f(part) for every part of the stages and products, through sub-parts and links.
void ForEachPrt(void (*f)(prt*, void*), void* ctx);

// Points and boxes.
void AddCrvPnt(crv* c, float x, float y, float z);
void DelCrvPnt(crv* c, int index);
void UdtBox(void* obj, int kind);   // recompute the object's box, then its owners', up to SceneBox
void UdtScnBox();                   // SceneBox from the stages and products as they are
bool IsEmptyBox(const BBox& b);
mtl_tbl* ActMtlTbl(void* owner, int ownerKind);  // first active material table of a stage/product
mtl* SrfMtl(srf* s);                // resolve the surface's material (also stored in mtlPtr)
void UdtPrmMtl();                   // rebuild PrmMtl (and the display materials)
int RbdPrmLgt();                    // rebuild PrmLgt from the scene; -1 when it cannot grow

// Lights: the flattened table the display hands over, rebuilt from the scene.
extern LgtRec AmbLgt;     // the engine's own ambient light
extern LgtRec* PrmLgt;    // flattened lights
extern int PrmLgtCap;     // capacity (100 after start-up)
extern int NumLgt;
extern double AttDst;
int IniPrmLgt();          // start-up: 100 entries, first real of each 0.0
void IniLgtRec(LgtRec* r);          // defaults of a new light (name untouched)
void SetLgtMtx(LgtRec* r);          // light matrix from the angles in the light's angle order
lgt* CurLgt();                      // light 0 of light table 0, or null
// Direction towards a light from its angles in the given angle order (0..5), and back.
void LgtAngDir(const float ang[3], int order, float dir[3]);
void LgtDirAng(const float dir[3], float ang[3]);

// What the modules above the scene do when it changes. Each sets its entries when it is linked
// in; an entry left null does nothing.
struct ScnHooks {
    void (*lgtChg)();          // PrmLgt was rebuilt: hand the lights over
    void (*mtlChg)(int m);     // PrmMtl[m] changed: rebuild its display material
    void (*forget)(void* o);   // o is being freed: drop pointers to it
};
extern ScnHooks ScnHook;

