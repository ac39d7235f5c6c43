// Command codes of the file module (category 14): interaction codes of IntrFile and execution
// operations of DstrFile.
#pragma once
#include "core/cmd.h"  // CatFile

// IntrFile: the file name comes from the engine's file-name buffer (FilNam).
constexpr int CmdFileOpen = 110002;     // open by extension
constexpr int CmdFileSave = 110003;     // save when the name ends in .scn
constexpr int CmdFileRdScn = 110032;    // read a scene document
constexpr int CmdFileWrScn = 110033;    // write a scene document
constexpr int CmdFileRdBgImg = 110040;  // read a background image
constexpr int CmdFileWrImg = 110041;    // write the rendered image
constexpr int CmdFileRdStl = 110080;    // read an ASCII STL file
constexpr int CmdFileRd3ds = 110083;    // read a 3DS file
constexpr int CmdFileRdDfa = 110084;    // read a DFA text-mesh file
constexpr int CmdFileFirst = 110002;
constexpr int CmdFileLast = 110084;

// DstrFile.
constexpr int OpFileRdScn = 210000;
constexpr int OpFileWrScn = 210001;
constexpr int OpFileRdBgImg = 210008;
constexpr int OpFileWrImg = 210009;
constexpr int OpFileRdStl = 210034;
constexpr int OpFileRd3ds = 210037;
constexpr int OpFileRdDfa = 210038;

// The file module's command procedures (category CatFile).
int IntrFile(int code);
int DstrFile(int code);
