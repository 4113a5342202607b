// Fuzzes the cursor inspector's byte lookup with any selection the screen could report against a
// record table of any size (sanitizers catch a read outside it): a byte is only ever named for a
// selection one position long (text mode) or of one or two characters, and its text always
// starts with the eight bits of that byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "terminal/CaretInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    constexpr std::size_t Head = 6 * sizeof(std::int32_t) + 2;
    if (Size < Head) return 0;
    std::int32_t v[6];
    std::memcpy(v, Data, sizeof v);
    TScreenSelection s;
    s.SelMin = v[0];
    s.SelMax = v[1];
    s.Copied = v[2];
    s.LineBreaks = v[3];
    s.Line0 = v[4];
    s.LineStart = v[5];
    s.First = char(Data[Head - 2]);
    s.Last = char(Data[Head - 1]);
    // The rest: the records, four bytes each, in a table of exactly that size.
    std::vector<std::uint32_t> records((Size - Head) / 4);
    if (!records.empty()) std::memcpy(records.data(), Data + Head, records.size() * 4);

    for (const bool textMode : {false, true}) {
        const auto byte = ByteUnderSelection(s, textMode, records.data(), records.size());
        const std::int64_t sel = std::int64_t(s.Copied) - s.LineBreaks;
        if (byte && !textMode && sel != 1 && sel != 2) std::abort();
        if (byte && textMode && std::int64_t(s.SelMax) - s.SelMin != 1) std::abort();
        const String info = ByteInfoFor(byte, textMode);
        if (byte.has_value() == info.empty()) std::abort();
        if (byte && (info.compare(0, 3, "B: ") != 0 || info.find_first_not_of("01", 3) != 11))
            std::abort();
        CaretInfoFor(s, textMode);
    }
    return 0;
}
