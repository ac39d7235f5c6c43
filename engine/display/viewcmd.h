// View commands and the handlers of their interactive modes.
#pragma once

// Camera operations on the current camera.
void MovCam(double a, double b, double c);              // pixels along right, up and forward
void RotCam(double a0, double a1, double a2, bool clamp);  // radians about the camera's axes
int ZoomCam(double d);   // d pixels of a scale drag; -1 when the eye cannot come closer

// Steps and start commands (category 13).
void DrgBgn();       // 115093
void DrgEnd();       // 115094
void ViewModeEnd();  // 115043
void ShfStep();      // 115036, 115219
void SclStep();      // 115132, 115217
void RotStep();      // 115037
void RimStep();      // 115218
void ModBgn();       // 115220
void ModEnd();       // 115221
void FitView();      // 115114
void ShfMode();      // 115014
void SclMode();      // 115131
void RotMode();      // 115015

// Category 9.
void LpeMode();      // 111034
void LpePress();     // 111035
void LpeMove();      // 111036
void LpeRelease();   // 111037
void WlkMode();      // 111038
void WlkPress();     // 111039
void WlkStep();      // 111040
void WlkTmr();       // 111000: the walk step while a walk is held
void WlkRelease();   // 111041
void BrdMode();      // 111042
void BrdPress();     // 111043
void BrdStep();      // 111044
void BrdRelease();   // 111045
void GazMode();      // 111046
void GazPress();     // 111047
void GazStep();      // 111048
void GazRelease();   // 111049

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
