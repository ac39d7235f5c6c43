// Command ids of the main window's menu bar, toolbars and accelerators. The numbers are those of
// the menu resource; journals (`menu ID`) and the command routing use them.
#pragma once

namespace shl {

// File menu.
constexpr int IdFileNew = 57600;
constexpr int IdFileOpen = 57601;
constexpr int IdFileSave = 57603;
constexpr int IdFileSaveAs = 57604;
constexpr int IdDxfImport = 32876;
constexpr int IdDxfExport = 32856;
constexpr int IdVrmlExport = 32875;
constexpr int IdStlExport = 32878;
constexpr int IdGldExport = 32877;
constexpr int IdPreferences = 32824;
constexpr int IdFilePrint = 57607;
constexpr int IdFilePrintPreview = 57609;
constexpr int IdFilePrintSetup = 57606;
constexpr int IdFileMru1 = 57616;  // recent files: IdFileMru1 .. IdFileMru1 + MruMax - 1
constexpr int MruMax = 4;
constexpr int IdAppExit = 57665;

// Edit menu.
constexpr int IdEditUndo = 57643;
constexpr int IdEditRedo = 57644;
constexpr int IdUndoOff = 32868;
constexpr int IdUndoOn = 32869;
constexpr int IdUndoCutOff = 32870;
constexpr int IdUndoCutOn = 32871;
constexpr int IdBoxUpdOff = 32873;
constexpr int IdBoxUpdOn = 32874;

// Curve menu.
constexpr int IdDrawArea = 32825;
constexpr int IdCrvPntInput = 32787;
constexpr int IdCrvStrkInput = 32788;
constexpr int IdAutoVec = 32819;
constexpr int IdCrvSlctAll = 32828;
constexpr int IdCrvSlct = 32827;
constexpr int IdCrvSlctNone = 32829;
constexpr int IdCrvMove = 32826;
constexpr int IdCrvScale = 32848;
constexpr int IdCrvScaleDst = 32852;
constexpr int IdCrvRotate = 32849;
constexpr int IdCrvHeight = 32806;
constexpr int IdCrvConnect = 32791;
constexpr int IdCrvAutoConnect = 32790;
constexpr int IdCrvCut = 32793;
constexpr int IdCrvCutLine = 32864;
constexpr int IdCrvDelPnt = 32802;
constexpr int IdCrvDelete = 32795;
constexpr int IdCrvDelHidden = 32863;
constexpr int IdCrvDelZero = 32822;
constexpr int IdCrvDelAll = 32794;

// Terrain menu.
constexpr int IdTrnRegion = 32807;
constexpr int IdTrnCreate = 32808;
constexpr int IdTrnFilter = 32882;
constexpr int IdTrnSlctPnt = 32847;
constexpr int IdTrnDragHgt = 32812;
constexpr int IdTrnInputHgt = 32850;
constexpr int IdTrnDelete = 32809;
// The generation methods, one radio item each: IdTrnMethod0 + the method's number (TrnMethods).
constexpr int IdTrnMethod0 = 32930;

// View menu.
constexpr int IdCrvHidePick = 32860;
constexpr int IdCrvHideArea = 32867;
constexpr int IdCrvHideZero = 32835;
constexpr int IdCrvHideAll = 32842;
constexpr int IdCrvShowAll = 32837;
constexpr int IdCrvInvertVis = 32862;
constexpr int IdTrnHide = 32843;
constexpr int IdTrnShow = 32844;
constexpr int IdAxisHide = 32845;
constexpr int IdAxisShow = 32846;
constexpr int IdColor = 32810;
constexpr int IdLight = 32811;
constexpr int IdShading = 32818;
constexpr int IdWireframe = 32817;
constexpr int IdSlopeDsp = 32883;
constexpr int IdReliefDsp = 32925;   // relief display (2D and 3D)
constexpr int IdErrorDsp = 32926;    // expected-error display (2D and 3D)
constexpr int IdParallel = 32840;
constexpr int IdPerspective = 32841;
constexpr int IdWalkMove = 32805;
constexpr int IdWalkTurn = 32816;

// Toolbar-only buttons.
constexpr int IdView2D = 32800;
constexpr int IdView3D = 32801;
constexpr int IdLoupe = 32799;
constexpr int IdZoom = 32797;
constexpr int IdPan = 32796;
constexpr int IdRotate = 32798;
constexpr int IdFitView = 32803;
constexpr int IdBirdsEye = 32804;

// Help menu and its accelerators.
constexpr int IdHelpFinder = 57667;
constexpr int IdContextHelp = 57669;  // toolbar button and Shift+F1
constexpr int IdHelp = 57670;         // F1
constexpr int IdHomePage = 1044;
constexpr int IdAppAbout = 57664;

// Toolbar resource ids, in the order the frame creates them.
constexpr int TbMain = 128;
constexpr int TbCurve = 129;
constexpr int TbTerrain = 131;
constexpr int TbDisplay = 132;
constexpr int TbView = 130;

}  // namespace shl
