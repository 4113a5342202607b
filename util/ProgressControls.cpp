// The progress control registry. The last matching record wins, so a later registration for a
// derived class overrides the one of its base.
#include "util/ProgressControls.h"

#include <array>
#include <memory>
#include <vector>

#include "framework/TypeInfo.h"
#include "framework/gui/CommonControls.h"

namespace {

struct TProgressRecord {
    TClassRef ControlClass;
    std::array<String, 3> PropNames;  // maximum, minimum, progress
};

enum TProgressProp { ppMax, ppMin, ppProgress };

void PublishProgressBar()
{
    RegisterPublished<TProgressBar>(
        {OrdProp<TProgressBar>(
             "Max", tkInteger, [](TProgressBar* p) -> long long { return p->Max(); },
             [](TProgressBar* p, long long v) { p->SetMax(static_cast<int>(v)); }),
         OrdProp<TProgressBar>(
             "Min", tkInteger, [](TProgressBar* p) -> long long { return p->Min(); },
             [](TProgressBar* p, long long v) { p->SetMin(static_cast<int>(v)); }),
         OrdProp<TProgressBar>(
             "Position", tkInteger, [](TProgressBar* p) -> long long { return p->Position(); },
             [](TProgressBar* p, long long v) { p->SetPosition(static_cast<int>(v)); })});
}

// Made on first use; unregistering before then has nothing to remove.
std::unique_ptr<std::vector<TProgressRecord>> list;

std::vector<TProgressRecord>& ProgressList()
{
    if (!list) {
        static bool published = false;
        if (!published) PublishProgressBar();
        published = true;
        list = std::make_unique<std::vector<TProgressRecord>>();
        list->push_back({ClassOf<TProgressBar>("TProgressBar"), {"Max", "Min", "Position"}});
    }
    return *list;
}

const TProgressRecord* FindRecord(const TObject* Control)
{
    if (!Control) return nullptr;
    const auto& records = ProgressList();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->ControlClass.IsInstance(Control)) return &*it;
    return nullptr;
}

bool SetProgressProp(TObject* Control, TProgressProp Prop, int Value)
{
    const TProgressRecord* record = FindRecord(Control);
    if (!record) return false;
    const TPropInfo* info = GetPropInfo(Control, record->PropNames[Prop]);
    if (!info) return false;
    switch (info->Kind) {
    case tkInteger: info->SetOrd(Control, Value); return true;
    case tkFloat: info->SetFloat(Control, Value); return true;
    case tkVariant: info->SetVar(Control, TVariant(static_cast<long long>(Value))); return true;
    default: return false;
    }
}

}  // namespace

void RegisterProgressControl(const TClassRef& AClass, const String& MaxPropName,
                             const String& MinPropName, const String& ProgressPropName)
{
    auto cut = [](const String& s) { return s.substr(0, ProgressPropNameMax); };
    ProgressList().push_back({AClass, {cut(MaxPropName), cut(MinPropName), cut(ProgressPropName)}});
}

void UnRegisterProgressControl(const TClassRef& AClass)
{
    if (!list) return;
    for (auto i = list->size(); i-- > 0;)
        if ((*list)[i].ControlClass.InheritsFrom(AClass)) list->erase(list->begin() + i);
}

bool SupportsProgressControl(const TObject* Control) { return FindRecord(Control) != nullptr; }

bool SetProgressMax(TObject* Control, int Value) { return SetProgressProp(Control, ppMax, Value); }
bool SetProgressMin(TObject* Control, int Value) { return SetProgressProp(Control, ppMin, Value); }
bool SetProgressValue(TObject* Control, int Value)
{
    return SetProgressProp(Control, ppProgress, Value);
}
