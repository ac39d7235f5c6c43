// View commands and the handlers of their interactive modes.
#pragma once
#include "display/dsp_cmd.h"

// The display's command modules (categories CatView and CatDsp).
int IntrView(int code);
int DstrView(int code);
int IntrDsp(int code);
int DstrDsp(int code);

// Camera operations on the current camera.
void MovCam(double a, double b, double c);              // pixels along right, up and forward
void RotCam(double a0, double a1, double a2, bool clamp);  // radians about the camera's axes
int ZoomCam(double d);   // d pixels of a scale drag; -1 when the eye cannot come closer
// Zooms the current camera by f (< 1 closer) keeping the model point under window pixel (x, y)
// where it is on the screen.
void ZoomAt(double x, double y, double f);
constexpr double WhlZoom = 0.8;   // one wheel notch towards the screen
// Keeps a 3D camera with a level right vector between looking straight down and the horizon.
void ClampTilt(struct CamView& v);

// Steps and start commands (category 13).
void DrgBgn();       // CmdDrgBgn
void DrgEnd();       // CmdDrgEnd
void ViewModeEnd();  // CmdViewModeEnd
void ShfStep();      // CmdShfStep, CmdModShfStep
void SclStep();      // CmdSclStep, CmdModSclStep
void RotStep();      // CmdRotStep
void RimStep();      // CmdRimStep
void ModBgn();       // CmdModBgn
void ModEnd();       // CmdModEnd
void FitView();      // CmdFitView
void WhlStep(int in); // CmdWhlIn (1), CmdWhlOut (0)
void ShfMode();      // CmdShfMode
void SclMode();      // CmdSclMode
void RotMode();      // CmdRotMode

// Category 9.
void LpeMode();      // CmdLpeMode
void LpePress();     // CmdLpePrs
void LpeMove();      // CmdLpeMove
void LpeRelease();   // CmdLpeRls
void WlkMode();      // CmdWlkMode
void WlkPress();     // CmdWlkPrs
void WlkStep();      // CmdWlkStep
void WlkTmr();       // CmdWlkTmr: the walk step while a walk is held
void WlkRelease();   // CmdWlkRls
void BrdMode();      // CmdBrdMode
void BrdPress();     // CmdBrdPrs
void BrdStep();      // CmdBrdStep
void BrdRelease();   // CmdBrdRls
void GazMode();      // CmdGazMode
void GazPress();     // CmdGazPrs
void GazStep();      // CmdGazStep
void GazRelease();   // CmdGazRls

// Mode handlers and help texts (mode table entries).
void SclModeHnd();   // 3:12
void ShfModeHnd();   // 3:13
void RotModeHnd();   // 3:14
void LpeModeHnd();   // 3:230
void WlkModeHnd();   // 3:231
void BrdModeHnd();   // 3:232
void GazModeHnd();   // 3:233
extern const char* const HlpScl;
extern const char* const HlpShf;
extern const char* const HlpRot;
extern const char* const HlpLpe;
extern const char* const HlpWlk;
extern const char* const HlpBrd;
extern const char* const HlpGaz;
