// The arithmetic and texts of a file send's progress: the bytes of each write, steps of a
// twentieth of the file, the percentage, the progress bar's units and the status texts.
// Platform-free, 64-bit throughout, so a file past 2 GiB counts and reports correctly.
#pragma once

#include <cstdint>

#include "framework/Strings.h"

// The decimal text of a count.
String CountToText(std::int64_t Count);

// The bytes a file send writes at once: what a line of BaudRate carries in 20 ms (ten bits a
// byte), 1 to 4,096. A write returns once the port has taken its bytes, and Stop or a disconnect
// is seen between two writes: a longer write would hold them back on a slow line.
int FileSendBlockBytes(std::uint32_t BaudRate);
// The bytes of the next write: a block, but never past the next progress mark (Mark > Sent; a
// mark of 0 is none), so that the progress reaches each twentieth exactly.
int NextBlockBytes(int BlockBytes, std::int64_t Sent, std::int64_t Mark);

// Bytes between two progress updates: a twentieth of the file, 0 below 20 bytes (then only the
// pass's start and end are shown).
std::int64_t ProgressStep(std::int64_t FileSize);
// Sent as a whole percentage of FileSize, truncated; 0 for an empty file.
std::int64_t ProgressPercent(std::int64_t Sent, std::int64_t FileSize);

// The progress bar holds 32-bit positions: a file larger than that is shown in units of a
// power of two bytes, the same for its range and every position.
int ProgressBarUnits(std::int64_t Bytes, std::int64_t FileSize);

// "File size: N bytes, Completed: 0%" (the pass's start) and "... Completed:P%".
String ProgressStartText(std::int64_t FileSize);
String ProgressText(std::int64_t FileSize, std::int64_t Percent);
