// Journal lexer: line splitting and number reading over every line of the input.
#include <cmath>
#include <climits>
#include <cstdlib>
#include <string>
#include "fuzz_host.h"
#include "lexer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    while (at <= text.size()) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        jrn::Words w;
        std::string err;
        if (jrn::SplitLine(text.substr(at, nl - at), &w, &err)) {
            for (const std::string& s : w) {
                int i = 0;
                double d = 0;
                // A number read is a plain finite decimal; an integer is a real too.
                if (jrn::ParseReal(s, &d) && !std::isfinite(d)) std::abort();
                if (jrn::ParseInt(s, &i) && (!jrn::ParseReal(s, &d) || d != i)) std::abort();
            }
        } else if (err.empty()) {
            std::abort();  // a refused line always says why
        }
        at = nl + 1;
    }
    return 0;
}
