// A file send's progress arithmetic and status texts.
#include "terminal/FileSendProgress.h"

#include <algorithm>
#include <limits>

#include "terminal/MainTexts.h"

String CountToText(std::int64_t Count) { return std::to_string(Count); }

int FileSendBlockBytes(std::uint32_t BaudRate)
{
    return static_cast<int>(std::clamp<std::uint32_t>(BaudRate / 10 / 50, 1, 4096));
}

int NextBlockBytes(int BlockBytes, std::int64_t Sent, std::int64_t Mark)
{
    if (Mark <= Sent) return BlockBytes;
    return static_cast<int>(std::min<std::int64_t>(BlockBytes, Mark - Sent));
}

std::int64_t ProgressStep(std::int64_t FileSize) { return FileSize / 20; }

std::int64_t ProgressPercent(std::int64_t Sent, std::int64_t FileSize)
{
    if (FileSize <= 0) return 0;
    // In 64 bits: a 32-bit product overflowed from 21 MB on, and a 32-bit size from 2 GiB.
    return Sent * 100 / FileSize;
}

int ProgressBarUnits(std::int64_t Bytes, std::int64_t FileSize)
{
    int shift = 0;
    while ((FileSize >> shift) > std::numeric_limits<int>::max()) ++shift;
    return static_cast<int>(Bytes >> shift);
}

String ProgressStartText(std::int64_t FileSize)
{
    return MainText::ProgressSizeHead + CountToText(FileSize) + MainText::ProgressSizeTail +
           MainText::ProgressStart;
}

String ProgressText(std::int64_t FileSize, std::int64_t Percent)
{
    return MainText::ProgressSizeHead + CountToText(FileSize) + MainText::ProgressSizeTail +
           MainText::ProgressCompleted + CountToText(Percent) + "%";
}
