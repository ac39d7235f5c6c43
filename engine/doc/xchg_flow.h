// The document's import and export actions without their file and unit dialogs: the shell shows
// the dialogs and then calls them; journals call them directly.
#pragma once
#include <string>

#include "formats/xchg.h"

// Whether the terrain can be exported as VRML, STL or GLD: a terrain surface with a grid of at
// least 2 x 2 vertices whose indexes are sound. When not, the user is told and false returned.
bool ChkTrnExp();

// DXF import action: scene reset, start-up and terrain scenes, title "無題", modified flag
// cleared, then the curves of path (".dxf" appended when it has no extension) read with InUnit.
// On success the title becomes the path. 0, or -1 when the file could not be read.
int ImpDxf(const std::string& path);

// Export action of fmt with OutUnit (GLD: the default corners, or those given to GldUseCrn).
// 0 when written, -1 otherwise (the user has been told why).
int ExpXchg(int fmt, const std::string& path, bool firstFilter = true);
