// The command tables' registrations: each category's module and the mode switching.
#pragma once

// Registers every category with the dispatcher and the mode table with mode switching; StartEng
// calls it first. Adding a category is one line in app/cats.cpp.
void RegCats();

int IntrDrw2D(int code);   // category CatDrw2D: the curve commands (app/intr_drw2d.cpp)
void RegModes();           // the mode table's share of SetMode (app/router.cpp)
