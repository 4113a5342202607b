// Which locale services are in force: the system's, or a test's replacement.
#include "util/LocaleServices.h"

#include <atomic>

namespace {

std::atomic<const TLocaleServices*> replacementServices{nullptr};

}  // namespace

const TLocaleServices& Locale()
{
    const TLocaleServices* services = replacementServices.load();
    return services ? *services : SystemLocaleServices();
}

void SetLocaleServices(const TLocaleServices* Services) { replacementServices.store(Services); }
