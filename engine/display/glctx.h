// OpenGL contexts of the view windows: the display check, creation, selection and recreation of
// a context, its one-time set-up, buffer swapping, and the image service.
#pragma once
#include <cstdint>
#include "platform/platform.h"

constexpr int GLWinMax = 6;

struct GLWinRec {
    uint8_t ctx;        // the window has a rendering context
    uint8_t needSetup;  // set after creating a context, cleared by the set-up
    uint8_t failMsg;    // the creation failure was reported
};
extern GLWinRec GLWin[GLWinMax];
extern int CurGLWin;              // window whose context is current, -1 none

// 3-3-2 palette (red, green, blue, flags) for 8-bit displays; true-colour contexts ignore it.
extern uint8_t PalTbl[256][4];
void MkPal(bool needPal);

// Start-up check: fewer than 9 bits per pixel shows the true-colour message (caption "Error") and
// returns -1: the program must end with exit code 1. Otherwise 0.
int ChkDspCol();

bool CreGLCtx(int w);      // create (or create anew) window w's context
int SetCurWin(int w);      // 1 when w is current; w < 0 releases the current context
void SetupGLWin(int w);    // one-time set-up of a new context
void SwpBuf();             // swap every open window
void RelGLCtx(int w);      // window destruction

// The view window's life: creation (context, needs-set-up, window open) and destruction.
bool OpnGLWin(int w);
void ClsGLWin(int w);

// Images for the image windows.
void MkImgHdr(plt::ImgHdr* hdr, int w, int h);
int ImgRowBytes(int w);    // 3 * w rounded up to a multiple of 4
void BltImg(int dst, int x, int y, const plt::ImgHdr* hdr, const uint8_t* bits);
