// Which date settings are in force: the system's, or a test's replacement.
#include "util/DateLocale.h"

#include <atomic>

namespace {

std::atomic<const TDateLocale*> replacementSettings{nullptr};

}  // namespace

const TDateLocale& DateLocale()
{
    const TDateLocale* settings = replacementSettings.load();
    return settings ? *settings : SystemDateLocale();
}

void SetDateLocale(const TDateLocale* Settings) { replacementSettings.store(Settings); }
