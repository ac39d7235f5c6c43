// Deterministic mutation of small DXF and STL files: whatever the damage, reading finishes, shows a
// bounded number of boxes and leaves only finite coordinates.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>
#include "formats/dxf.h"
#include "formats/stl.h"
#include "doc/doc.h"
#include "formats/xchg_fixture.h"

namespace {

class MutateTest : public XchgTest {};

// Small linear congruential generator: the same run on every machine.
struct Lcg {
    uint64_t s;
    uint32_t Next() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(s >> 33);
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
};

const char* const Tokens[] = {"0", "999", "SECTION", "ENTITIES", "ENDSEC", "EOF", "POLYLINE", "VERTEX",
                              "SEQEND", "LWPOLYLINE", "LINE", "TEXT", "70", "90", "10", "20", "30", "38",
                              "1e300", "-nan", "inf", "2147483647", "-2147483648", "\r", "#", "",
                              "solid", "endsolid", "facet normal", "vertex", "endfacet", "color 1 0 0",
                              "outer loop", "endloop", "\xff\xfe", "HEADER", "$ACADVER", "AC1027"};

std::string Mutate(const std::string& seed, Lcg& r) {
    std::string s = seed;
    int edits = 1 + static_cast<int>(r.Below(8));
    for (int e = 0; e < edits; ++e) {
        size_t at = r.Below(static_cast<uint32_t>(s.size() + 1));
        switch (r.Below(6)) {
        case 0:  // flip a byte
            if (!s.empty()) s[at % s.size()] = static_cast<char>(r.Next());
            break;
        case 1:  // cut a stretch
            s.erase(at, r.Below(40));
            break;
        case 2:  // insert a token line
            s.insert(at, std::string(Tokens[r.Below(sizeof Tokens / sizeof *Tokens)]) + "\n");
            break;
        case 3: {  // repeat a stretch
            std::string part = s.substr(at, r.Below(120));
            s.insert(at, part);
            break;
        }
        case 4:  // a long run of one character
            s.insert(at, std::string(r.Below(3000), static_cast<char>('0' + r.Below(10))));
            break;
        default:  // truncate
            s.resize(at);
            break;
        }
    }
    return s;
}

const std::string DxfSeed =
    "999\ncomment\n0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
    "0\nPOLYLINE\n8\nA\n66\n1\n70\n9\n0\nVERTEX\n10\n1\n20\n2\n30\n3\n0\nVERTEX\n10\n4\n20\n5\n30\n6\n"
    "0\nSEQEND\n0\nLWPOLYLINE\n90\n3\n38\n10\n10\n0\n20\n0\n10\n1\n20\n1\n10\n2\n20\n0\n"
    "0\nLINE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n1\n0\nTEXT\n10\n0\n20\n0\n30\n0\n1\nABC\n"
    "0\nENDSEC\n0\nEOF\n";

const std::string StlSeed =
    "solid s\n facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n   vertex 0 1 0\n"
    "  endloop\n endfacet\ncolor 1 0 0\n facet normal 0 0 1\n  outer loop\n   vertex 1 0 0\n"
    "   vertex 1 1 0\n   vertex 0 1 0\n   vertex 0 1 1\n  endloop\n endfacet\nendsolid s\n";

void CheckFinite() {
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; ++i) {
        const crv* c = CrvPart->crvs.a[i];
        for (int k = 0; k < 3 * c->n; ++k) ASSERT_TRUE(std::isfinite(c->p[k]));
    }
}

constexpr int Runs = 400;

TEST_F(MutateTest, DamagedDxfFilesNeverCrashTheImport) {
    Lcg r{20261209};
    for (int i = 0; i < Runs; ++i) {
        std::string text = Mutate(DxfSeed, r);
        Put("m.dxf", text);
        Plt().boxes.clear();
        DocRstScn();
        IniScn();
        IniTrnScn();
        DxfRdPrm p;
        p.fct = i % 2 ? 1000.0 : 1.0;
        ASSERT_EQ(RdDxf(Path("m.dxf"), p, nullptr), 0) << "run " << i;
        ASSERT_LE(Boxes(), DxfMsgMax + 1) << "run " << i;
        CheckFinite();
    }
}

TEST_F(MutateTest, DamagedStlFilesNeverCrashTheReader) {
    Lcg r{77};
    for (int i = 0; i < Runs; ++i) {
        std::string text = Mutate(StlSeed, r);
        Put("m.stl", text);
        DocRstScn();
        IniScn();
        IniTrnScn();
        // A file left without a facet line is refused (and the scene untouched); any other is read.
        bool facet = false;
        for (size_t b = 0; b < text.size();) {
            size_t e = text.find('\n', b);
            if (e == std::string::npos) e = text.size();
            size_t k = b;
            while (k < e && (text[k] == ' ' || text[k] == '\t' || text[k] == '\r')) ++k;
            facet = facet || text.compare(k, 5, "facet") == 0;
            b = e + 1;
        }
        StlRdSum sum;
        ASSERT_EQ(RdStlSum(Path("m.stl"), &sum), facet ? 0 : -1) << "run " << i;
        for (int k = 0; k < TrnPrd->prts.n; ++k)
            for (int j = 0; j < TrnPrd->prts.a[k]->srfs.n; ++j) {
                const srf* s = TrnPrd->prts.a[k]->srfs.a[j];
                for (int q = 0; q < 3 * s->nv; ++q) ASSERT_TRUE(std::isfinite(s->v[q]));
                for (int g = 0; g < s->pgns.n; ++g)
                    for (int q = 0; q < s->pgns.a[g]->n; ++q) ASSERT_LT(s->pgns.a[g]->vtx_id[q], s->nv);
            }
    }
}

}  // namespace
