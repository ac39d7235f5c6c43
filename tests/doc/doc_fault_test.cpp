// Document flows at their edges: a document without any product, a file named only by its
// extension.
#include <filesystem>
#include <string>
#include "doc/doc.h"
#include "formats/scn.h"
#include "formats/scn_fixture.h"
#include "scene/scene.h"
#include "terrain/trn.h"

// A document that holds no product at all reads as a document, but there is no terrain to bind:
// the user gets the new-document scene with its terrain product, not a dangling one.
TEST_F(ScnTest, DocumentWithoutAProductOpensAsTheNewDocument) {
    while (PrdTbl.n > 0) FreePrd(PrdTbl.a[0], true);
    TrnPrd = nullptr;
    TrnPrt = nullptr;
    TrnSrf = nullptr;
    TrnGrd = nullptr;
    ASSERT_EQ(DocSaveAs(Path("empty.scn")), DocDone);
    DocNew();
    EXPECT_EQ(DocOpen(Path("empty.scn")), DocFailed);
    ASSERT_GT(PrdTbl.n, 0);
    EXPECT_EQ(TrnPrd, PrdTbl.a[0]);
    ASSERT_NE(TrnPrt, nullptr);
    ExpectUsableScene();
}

// A file named only ".scn" (in the working folder) is a scene document: given on the command
// line it is read, not ignored.
TEST_F(ScnTest, FileNamedOnlyByTheExtensionOpensFromTheCommandLine) {
    crv* c = NewCrvObj("only");
    AtchCrvPrt(TrnPrt, c);
    AddCrvPnt(c, 1, 2, 3);
    ASSERT_EQ(DocSaveAs(Path("a.scn")), DocDone);
    std::filesystem::rename(Path("a.scn"), Path(".scn"));
    DocNew();
    ASSERT_EQ(TrnPrt->crvs.n, 0);
    EXPECT_EQ(DocOpenArg(".scn"), DocDone);
    ASSERT_EQ(TrnPrt->crvs.n, 1);
    EXPECT_STREQ(TrnPrt->crvs.a[0]->name, "only");
}
