// Fuzzes the command-line split with arbitrary bytes: it must stay inside its text, and what
// it returns must split again to the same result (the parameters are quoted so that they do).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "util/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view line(reinterpret_cast<const char*>(data), size);
    String program, params;
    SplitCommandLine(line, program, params);
    if (program.empty()) {
        if (!params.empty()) std::abort();
        return 0;
    }
    String again, againParams;
    SplitCommandLine("\"" + program + "\" " + params, again, againParams);
    if (again != program || againParams != params) std::abort();
    return 0;
}
