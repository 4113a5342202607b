// Fuzzes the word and field functions against a reference split: the first byte chooses
// which characters are delimiters (its bits over " ,;\t"), the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ReferenceMatchers.h"
#include "util/StrUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 512) return 0;
    TCharSet delimiters;
    const char candidates[] = " ,;\t";
    for (int bit = 0; bit < 4; ++bit)
        if (data[0] & (1 << bit)) delimiters.Include(candidates[bit]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const ReferenceSplit split = SplitByDelimiters(text, delimiters);
    const int words = static_cast<int>(split.Words.size());
    if (WordCount(text, delimiters) != words) std::abort();
    for (int n = 1; n <= words + 1; ++n) {
        int pos = -1;
        const String word = ExtractWordPos(n, text, delimiters, pos);
        if (word != (n <= words ? split.Words[n - 1] : String())) std::abort();
        if (pos != (n <= words ? split.WordStarts[n - 1] : 0)) std::abort();
        if (n <= words && !IsWordPresent(word, text, delimiters)) std::abort();
    }
    const int fields = static_cast<int>(split.Fields.size());
    for (int n = 1; n <= fields + 1; ++n)
        if (ExtractDelimited(n, text, delimiters) != (n <= fields ? split.Fields[n - 1] : String()))
            std::abort();
    return 0;
}
