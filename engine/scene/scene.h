// Scene object model: a tree of named objects under four global tables.
#pragma once
#include <cstdint>
#include "display/camrec.h"
#include "display/lgtrec.h"

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

struct prm_anm {
    char* name;
    void* own;
    int ownKind;
    int nch;      // channels (none here)
    void* ch;
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
    prm_anm* anm;
    uint8_t b[4];    // 0, 0, 0, 1
};

struct pgn {
    void* own;
    int ownKind;
    int n;                // vertex index count
    int32_t* vtx_id;
    uint16_t rows, cols;
    uint8_t type;         // 0 general, 1 triangle, 2 quadrilateral, 5 grid
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
    uint8_t dspFlg;       // display flags (terrain 3)
    uint8_t vis;          // visible flag
};

struct crv : Node {
    int n;
    float* p;             // n points of x, y, z
    float col[3];         // 1.0 each when created
    uint8_t b1;           // 1
    uint8_t vis;          // 1
    uint8_t b3;           // 0
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

struct txt_map {
    char* name;
    void* own;
    int ownKind;
    char* file;
    double prm[8];
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
    uint8_t flg[8];       // 0, 1, 1, 1, 1, 0, 0, 0
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

// Constructors (defaults of new objects).
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
pgn* NewPgn(srf* s);          // created inside the surface
prj* NewPrj(srf* s);
siz* NewSiz(prt* p);

// Attach: append to the owner's list, set owner and kind, set the modified flag.
void AtchCamGlb(cam* c);
void AtchLgtTblGlb(lgt_tbl* t);
void AtchStgGlb(stg* s);
void AtchPrdGlb(prd* p);
void AtchCamStg(stg* s, cam* c);
void AtchLgtTblStg(stg* s, lgt_tbl* t);
void AtchMtlTblStg(stg* s, mtl_tbl* t);
void AtchPrtStg(stg* s, prt* p);
void AtchLnkStg(stg* s, lnk* l);
void AtchMtlTblPrd(prd* d, mtl_tbl* t);
void AtchPrtPrd(prd* d, prt* p);
void AtchLnkPrd(prd* d, lnk* l);
void AtchPrtPrt(prt* o, prt* p);
void AtchLnkPrt(prt* o, lnk* l);
void AtchSrfPrt(prt* o, srf* s);
void AtchCrvPrt(prt* o, crv* c);
void AtchPrtLnk(lnk* o, prt* p);
void AtchLgt(lgt_tbl* t, lgt* l);
void AtchMtl(mtl_tbl* t, mtl* m);

// Free an object and everything below it; detach also removes it from its owner's list.
void FreeStg(stg* s, bool detach);
void FreePrd(prd* p, bool detach);
void FreePrt(prt* p, bool detach);
void FreeLnk(lnk* l, bool detach);
void FreeSrf(srf* s, bool detach);
void FreeCrvObj(crv* c, bool detach);
void FreeCam(cam* c, bool detach);
void FreeLgtTbl(lgt_tbl* t, bool detach);
void FreeLgt(lgt* l, bool detach);
void FreeMtlTbl(mtl_tbl* t, bool detach);
void FreeMtl(mtl* m, bool detach);
void ClrScn();

// Names and paths. kind is the ObjKind of the siblings compared; owner the container
// (null and OK_GLB for the global tables).
char* UniqNam(const char* base, void* owner, int ownerKind, int kind);  // AlcMem'd text, tag "name"
int ObjPath(void* obj, int kind, char* buf, int bufLen);
void* FindPath(const char* path, int* kindOut);

// Points and boxes.
void AddCrvPnt(crv* c, float x, float y, float z);
void DelCrvPnt(crv* c, int index);
void UdtBox(void* obj, int kind);   // recompute the object's box, then its owners', up to SceneBox
mtl* SrfMtl(srf* s);                // resolve the surface's material
void UdtPrmMtl();                   // rebuild PrmMtl (and the display materials)
int RbdPrmLgt();                    // rebuild PrmLgt from the scene; -1 when it cannot grow

// Scenes.
void IniScn();    // start-up scene
void IniTrnScn(); // terrain scene
