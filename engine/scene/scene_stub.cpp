// PLACEHOLDER until the scene model lands.
#include "scene/scene.h"
#include "display/lgt.h"

ObjLst<stg> StgTbl; ObjLst<prd> PrdTbl; ObjLst<cam> CamTbl; ObjLst<lgt_tbl> LgtTblTbl;
BBox SceneBox{};
cam* CurCamObj = nullptr; lgt* CurLgtObj = nullptr;
int CurObjKind = OK_GLB; void* CurObj = nullptr;
uint8_t ModFlg = 0;
prd* TrnPrd = nullptr; prt* TrnPrt = nullptr; srf* TrnSrf = nullptr; pgn* TrnGrd = nullptr;
cam* Cam2D = nullptr; cam* Cam3D = nullptr;
int NumMtl = 0; mtl** PrmMtl = nullptr;
void ClrScn() {}
void IniScn() {}
void IniTrnScn() {}
int UdtPrmLgt() { return 0; }
cam* NewCam(const char*) { return nullptr; }
