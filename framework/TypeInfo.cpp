// The registry of published properties.
#include "framework/TypeInfo.h"

namespace {

struct TRegistration {
    std::function<bool(const TObject*)> IsA;
    std::vector<TPropInfo> Props;
};

std::vector<std::unique_ptr<TRegistration>>& Registrations()
{
    static std::vector<std::unique_ptr<TRegistration>> registrations;
    return registrations;
}

}  // namespace

void RegisterPublished(std::function<bool(const TObject*)> IsA, std::vector<TPropInfo> Props)
{
    auto entry = std::make_unique<TRegistration>();
    entry->IsA = std::move(IsA);
    entry->Props = std::move(Props);
    Registrations().push_back(std::move(entry));
}

std::vector<const TPropInfo*> GetPropList(const TObject* Object, TTypeKinds Filter)
{
    std::vector<const TPropInfo*> list;
    if (!Object) return list;
    for (const auto& entry : Registrations()) {
        if (!entry->IsA(Object)) continue;
        for (const TPropInfo& p : entry->Props)
            if (Filter.Contains(p.Kind)) list.push_back(&p);
    }
    return list;
}

const TPropInfo* GetPropInfo(const TObject* Object, std::string_view Name)
{
    for (const TPropInfo* p : GetPropList(Object))
        if (SameText(p->Name, Name)) return p;
    return nullptr;
}
