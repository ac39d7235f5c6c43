// Common ground of the fuzz targets: a started engine with a recording platform, a private
// scratch folder, and inputs handed to the readers as files (the readers take paths).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Starts the engine once (as the application does) in a scratch folder of its own.
void FuzzStart();
// Back to a fresh start-up scene, boxes and console forgotten: every input starts alike.
void FuzzFresh();
// Writes n bytes to name in the scratch folder; the full path.
std::string FuzzPut(const char* name, const uint8_t* data, size_t n);
// Every refusal must say something: a box was shown since FuzzFresh, or the console got a line.
bool FuzzTold();

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
