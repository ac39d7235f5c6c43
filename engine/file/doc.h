// The document: the user-facing file flows (new, open, save, import, export) without their
// dialogs. The shell adds the file and unit dialogs; journals call these directly. The document
// holds no data of its own: it is the engine's scene, plus a path, a title and the modified flag
// (ModFlg of the scene module).
#pragma once
#include <string>

struct DocState {
    std::string path;   // the file the document was opened from or saved to; empty: none
    std::string title;  // "無題" for a document without a file
};
extern DocState Doc;

// Scene reset: drop the undo record, clear the scene, forget the terrain handles, reset the
// per-document display and render settings. Used by New, Open and DXF import.
void DocRstScn();

// Binds TrnPrd/TrnPrt/TrnSrf/TrnGrd (and the curve part) to what an opened scene holds.
void DocBindTrn();

// Sets or clears the modified flag.
void DocSetMod(bool modified);
