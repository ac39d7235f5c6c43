// Scene document tests: files in the scratch folder, a field-by-field description of the scene,
// and a big-endian byte builder for hand-written documents.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "doc/doc.h"
#include "support/engine_fixture.h"

class ScnTest : public EngineTest {
public:
    void SetUp() override;  // also a document without a file, as at start-up
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& b);

// Every stored field of the scene, the document settings and the stored cameras, one per line.
std::string DescribeScene();

// Checks that the engine's pointers refer to live objects of a usable scene.
void ExpectUsableScene();

// Big-endian writer for hand-made documents.
struct Be {
    std::vector<uint8_t> b;
    void U8(int v) { b.push_back(static_cast<uint8_t>(v)); }
    void I16(int v) {
        U8(v >> 8);
        U8(v);
    }
    void I32(int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int s = 24; s >= 0; s -= 8) U8(static_cast<int>((u >> s) & 0xFF));
    }
    void F32(float f) {
        int32_t i;
        std::memcpy(&i, &f, 4);
        I32(i);
    }
    void F64(double d) {
        uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int s = 56; s >= 0; s -= 8) U8(static_cast<int>((u >> s) & 0xFF));
    }
    void Raw(const void* p, size_t n) {
        const uint8_t* c = static_cast<const uint8_t*>(p);
        b.insert(b.end(), c, c + n);
    }
    // Name in its stored form (bytes given already in code page 932).
    void Name(const std::string& sj) {
        I32(static_cast<int32_t>(sj.size() + 1));
        Raw(sj.data(), sj.size());
        U8(0);
    }
    void Zeros(size_t n) { b.insert(b.end(), n, 0); }
};

// Index of the first occurrence of needle in hay at or after from; -1 when none.
long Find(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle, size_t from = 0);
