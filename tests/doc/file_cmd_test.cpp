// File commands of category 14 as the menus issue them: the name from the file-name buffer,
// extensions added or dispatched on, files that cannot be read, formats this application has no
// reader or writer for.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include "core/cmd.h"
#include "core/mode.h"
#include "doc/doc.h"
#include "doc/filecmd.h"
#include "doc/filnam.h"
#include "scene/scene.h"
#include "support/engine_fixture.h"

namespace {

class FileCmd : public EngineTest {
public:
    void SetUp() override {
        EngineTest::SetUp();
        FilNam[0] = 0;
    }
    void TearDown() override {
        FilNam[0] = 0;
        EngineTest::TearDown();
    }
    // Runs the command on name; the cursor must be as it was afterwards.
    void Run(int code, const std::string& name) {
        std::strcpy(FilNam, name.c_str());
        Plt().Clear();
        ClearCmds();
        const int crs = CrsIdx;
        IntrCmd(CatFile, code);
        EXPECT_EQ(CrsIdx, crs);
    }
    void PutStl(const std::string& path) {
        std::ofstream(path) << "solid t\n facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n"
                               "   vertex 1 0 0\n   vertex 0 1 0\n  endloop\n endfacet\nendsolid t\n";
    }
    int Boxes() { return static_cast<int>(Plt().boxes.size()); }
    int BoxId() { return Plt().LastBox() ? Plt().LastBox()->id : 0; }
    std::string BoxText() { return Plt().LastBox() ? Plt().LastBox()->text : ""; }
};

}  // namespace

// Open goes by the extension, in lower or upper case; a name with no known extension does
// nothing at all.
TEST_F(FileCmd, OpenDispatchesOnTheExtension) {
    PutStl(Path("hill.STL"));
    const int parts = TrnPrd->prts.n;
    Run(CmdFileOpen, Path("hill.STL"));
    EXPECT_EQ(CountCmd(CatFile, CmdFileRdStl), 1);
    EXPECT_EQ(CountCmd(CatFile, OpFileRdStl, true), 1);
    EXPECT_EQ(TrnPrd->prts.n, parts + 1);

    ASSERT_EQ(DocSaveAs(Path("d.scn")), DocDone);
    Run(CmdFileOpen, Path("d.SCN"));  // no such file: the upper-case name is another file
    EXPECT_EQ(CountCmd(CatFile, CmdFileRdScn), 1);
    EXPECT_EQ(BoxId(), 110);
    Run(CmdFileOpen, Path("d.scn"));
    EXPECT_EQ(CountCmd(CatFile, OpFileRdScn, true), 1);
    EXPECT_EQ(Boxes(), 0);

    for (const char* ext : {".3ds", ".dfa"}) {
        SCOPED_TRACE(ext);
        const std::string name = std::string("m") + ext;
        std::ofstream(Path(name)) << "x";
        Run(CmdFileOpen, Path(name));
        ASSERT_EQ(Boxes(), 1);
        EXPECT_EQ(BoxId(), 199);
        EXPECT_EQ(BoxText().rfind(name + ":", 0), 0u) << BoxText();
    }
    std::ofstream(Path("notes.txt")) << "x";
    Run(CmdFileOpen, Path("notes.txt"));
    EXPECT_EQ(Cmds().size(), 1u);  // the open command itself, nothing after it
    EXPECT_EQ(Boxes(), 0);
}

// The read commands add their extension to a bare name; a missing file or a folder is error
// 110 naming the file, and nothing is read.
TEST_F(FileCmd, ReadAddsTheExtensionAndRefusesWhatCannotBeRead) {
    PutStl(Path("hill.stl"));
    const int parts = TrnPrd->prts.n;
    Run(CmdFileRdStl, Path("hill"));
    EXPECT_STREQ(FilNam, Path("hill.stl").c_str());
    EXPECT_EQ(TrnPrd->prts.n, parts + 1);
    EXPECT_EQ(Boxes(), 0);

    Run(CmdFileRdStl, Path("gone"));
    EXPECT_EQ(BoxId(), 110);
    EXPECT_NE(BoxText().find("gone.stl"), std::string::npos) << BoxText();
    EXPECT_EQ(CountCmd(CatFile, OpFileRdStl, true), 0);

    std::filesystem::create_directory(Path("dir.stl"));
    Run(CmdFileRdStl, Path("dir.stl"));
    EXPECT_EQ(BoxId(), 110);
    EXPECT_EQ(CountCmd(CatFile, OpFileRdStl, true), 0);
    EXPECT_EQ(TrnPrd->prts.n, parts + 1);
    // Opened as a document, it is read into the new-document scene.
    EXPECT_EQ(DocOpen(Path("hill.stl")), DocDone);
    EXPECT_EQ(TrnPrd->prts.n, parts + 1);
}

// Save writes only a name ending in .scn; the write command adds the extension, and a name
// with no room left for it is error 110 with nothing written.
TEST_F(FileCmd, SaveWritesSceneDocumentsOnly) {
    Run(CmdFileSave, Path("d.txt"));
    EXPECT_EQ(Cmds().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(Path("d.txt")));
    Run(CmdFileSave, Path("d.scn"));
    EXPECT_EQ(CountCmd(CatFile, OpFileWrScn, true), 1);
    EXPECT_TRUE(std::filesystem::exists(Path("d.scn")));
    Run(CmdFileWrScn, Path("e"));
    EXPECT_STREQ(FilNam, Path("e.scn").c_str());
    EXPECT_TRUE(std::filesystem::exists(Path("e.scn")));
    EXPECT_EQ(Boxes(), 0);

    const std::string dir = Dir() + "/";
    const std::string full = dir + std::string(FilNamLen - 4 - dir.size(), 'f');  // room for 3
    Run(CmdFileWrScn, full);
    EXPECT_EQ(BoxId(), 110);
    EXPECT_EQ(CountCmd(CatFile, OpFileWrScn, true), 0);
    EXPECT_STREQ(FilNam, full.c_str());
    const std::string fits = dir + std::string(FilNamLen - 5 - dir.size(), 'g');  // room for 4
    Run(CmdFileWrScn, fits);
    EXPECT_EQ(CountCmd(CatFile, OpFileWrScn, true), 1);
    EXPECT_STREQ(FilNam, (fits + ".scn").c_str());
}

// Neither a background image nor a rendered image exists in this application: reading one is
// error 112 naming the file, writing one warning 205, after the image extension (".xwd" unless
// the name has one of the image formats').
TEST_F(FileCmd, ImagesAreRefusedWithTheirMessages) {
    std::ofstream(Path("bg.bmp")) << "x";
    Run(CmdFileRdBgImg, Path("bg.bmp"));
    EXPECT_EQ(BoxId(), 112);
    EXPECT_NE(BoxText().find("bg.bmp"), std::string::npos) << BoxText();
    Run(CmdFileWrImg, Path("pic"));
    EXPECT_STREQ(FilNam, Path("pic.xwd").c_str());
    EXPECT_EQ(CountCmd(CatFile, OpFileWrImg, true), 1);
    EXPECT_EQ(BoxId(), 205);
    for (const char* n : {"a.TIFF", "b.jpg", "c.bmp"}) {
        Run(CmdFileWrImg, Path(n));
        EXPECT_STREQ(FilNam, Path(n).c_str());
        EXPECT_EQ(BoxId(), 205);
    }
    EXPECT_FALSE(std::filesystem::exists(Path("pic.xwd")));
}
