// Fuzzes the line-break normaliser: any bytes in any chunking come out with every CR followed
// by LF and every LF preceded by CR, and the chunking never changes the result.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "richedit/LineBreaks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const bool wide = data[0] & 1;
    const std::size_t step = 1 + (data[0] >> 1) % 7;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const std::size_t n = size - 1;
    std::string whole, chunked;
    TLineBreakNormaliser a(wide), b(wide);
    a.Feed(text, n, whole);
    a.Finish(whole);
    for (std::size_t at = 0; at < n; at += step) b.Feed(text + at, std::min(step, n - at), chunked);
    b.Finish(chunked);
    if (whole != chunked) std::abort();
    if (!wide)
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (whole[i] == '\r' && (i + 1 >= whole.size() || whole[i + 1] != '\n')) std::abort();
            if (whole[i] == '\n' && (i == 0 || whole[i - 1] != '\r')) std::abort();
        }
    return 0;
}
