// The formatter benchmark as a plain timing loop for the Win32 build (Google Benchmark has no
// mingw package): input MB/s per display mode and traffic, printed one line each.
#include <chrono>
#include <cstdio>

#include "bench/formatter/Traffic.h"

int main()
{
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
    } traffic[] = {{"TextLines", bench_traffic::TextLines()},
                   {"Binary", bench_traffic::Binary()},
                   {"WorstCase", bench_traffic::WorstCase()}};
    const char* modes[] = {"ASCII/Text", "Mixed", "Hexadecimal"};
    std::vector<char> out(FormatBufferSize(bench_traffic::BlockSize));
    for (const auto& t : traffic) {
        for (int mode = 0; mode < 3; ++mode) {
            bench_traffic::Prepare(mode);
            using Clock = std::chrono::steady_clock;
            std::uint64_t bytes = 0;
            volatile std::uint32_t sink = 0;
            const auto start = Clock::now();
            auto now = start;
            // Half a second per case, checked every 64 blocks.
            while (now - start < std::chrono::milliseconds(500)) {
                for (int k = 0; k < 64; ++k)
                    sink = sink + bench_traffic::FormatOneBlock(t.Bytes, out);
                bytes += 64ull * t.Bytes.size();
                now = Clock::now();
            }
            const double seconds = std::chrono::duration<double>(now - start).count();
            std::printf("%-10s %-12s %8.1f MB/s\n", t.Name, modes[mode], bytes / seconds / 1e6);
        }
    }
    return 0;
}
