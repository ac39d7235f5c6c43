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

// Scenes: the start-up scene (default camera and light, in the view), then the terrain scene
// (its product, materials and part, the terrain views, the curve part).
void IniScn();
void IniTrnScn();

// The new-document scene: scene reset, start-up scene, terrain scene (modified flag clear).
// Also where a document that could not be read leaves the user. The title is the caller's.
void DocIniScn();
// A new document titled title ("" untitled), without a file: the new-document scene, then the
// title and its hook. New, and the imports that replace the document (DXF, OGR), start here.
void DocFresh(const std::string& title);

// Results of the flows.
enum DocRes : int {
    DocDone = 0,      // the action ran (a failed read or write has shown its message)
    DocFailed,        // the action could not run or did not succeed (message shown)
    DocNeedName,      // Save on a document without a scene file name: run Save As instead
    DocCancelled,     // the user said No or Cancel
};

// New: the new-document scene, title "無題". Does not ask about unsaved changes (DocAskSave).
int DocNew();
// Open: ".scn" appended when the path has no extension. A file that cannot be opened is reported
// (error 110) and the present document stays; a document that turns out damaged or foreign leaves
// the new-document scene. Done only when the document was read.
int DocOpen(const std::string& path);
// Open from the command line, the recent-file list or a dropped file: only ".scn"/".SCN" paths
// load; anything else is DocDone with nothing loaded.
int DocOpenArg(const std::string& path);
// Save to the document's own file, without a question (it is the file the document came from or
// was last saved to).
int DocSave();
// Save As: ".scn" appended unless the path ends in .scn; no overwrite question (the file dialog
// asks it).
int DocSaveAs(const std::string& path);
// Saving to path without questions (the shell's OnSaveDocument). Done only when the file and its
// side file (the origin and CRS of a document in real-world coordinates) were written; the title
// and path follow it then. When the side file fails the scene file is written but the save fails:
// the old side file is removed (no stale origin) and the document stays modified.
int DocWrite(const std::string& path);

// With unsaved changes, asks whether to save them first (Yes/No/Cancel). Yes saves (DocNeedName
// when the document has no file: the caller runs Save As, then goes on); No goes on; Cancel stops.
// Without changes: DocDone at once.
int DocAskSave();
// The scene file a document read from another format (a drawing, GIS contours) is offered to be
// saved as: the source's name with ".scn" for its extension; empty for a document with a scene
// file or none.
std::string DocScnName();

// Called after a flow has changed the document's title (the shell updates its window); null
// when nobody listens.
extern void (*DocTitleHook)();
// The document's file and title (title "" for a document without a name: "無題"), then the hook.
// Every flow that names the document goes through here.
void DocSetTitle(const std::string& path, const std::string& title);

// The scene document with the view it stores (ScnWrite, ScnRead). RdScn then makes the marked
// camera current (a default one when there is none), sets the 2D window from it, rebuilds the
// material and light tables and clears the modified flag.
int WrScn(const char* path, std::string* err = nullptr);
int RdScn(const char* path);
