// Drawing services used by the modes for feedback and by the redraw cycle.
// They draw nothing while no view window is open.
#pragma once
#include <cstdint>

// Display switches (bit 1, value 2, is toggled by F3/F4).
extern uint32_t DspFlg;

enum { DRW_BACK = 0, DRW_FRONT = 1 };
void SetDrwBuf(int buf);
void SetCol(uint32_t code);        // colour code: 0x1000000 | rgb, or an index into ColTbl
void SetColRGB(float r, float g, float b);
void DrwLin(const double a[3], const double b[3]);          // model coordinates
void DrwPlyLin(const double* pts, int n);                    // n points of x, y, z
void DrwBox(const double lo[3], const double hi[3]);        // rectangle in the plan
void DrwTxt(const double p[3], const char* text);
void DrwMrk(const double p[3], int sizePix);                 // marker cross at a model point
void FlushDrw();
bool DrwWinOpen();                                           // a view window can be drawn in
