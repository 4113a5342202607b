// The font families the Wine bench has (Wine lists the system's fontconfig fonts; Debian's
// DejaVu fonts are there, Windows' own such as "Terminal" are not). Settings files written by
// tests name the fixed-pitch one, as a user's would name an installed screen font.
#pragma once

namespace qv::test {

inline constexpr const char* BenchFixedFont = "DejaVu Sans Mono";
inline constexpr const char* BenchProportionalFont = "DejaVu Sans";

}  // namespace qv::test
