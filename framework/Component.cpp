// TComponent: ownership, free notification and the loading/destroying states.
#include "framework/Component.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/TypeInfo.h"

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone linked to us; each may drop its link (or others) while being told, so
    // take them one at a time from the end.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError("List index out of bounds (%d)", Index);
    return components_[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(std::string_view AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->Name, AName)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ == this) return;
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    components_.push_back(AComponent);
    AComponent->owner_ = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->owner_ != this) return;
    Notification(AComponent, opRemove);
    Erase(components_, AComponent);
    AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        // The child's destructor removes it from our list (and tells us).
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end()) {
        freeNotifies_.push_back(AComponent);
        AComponent->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    Erase(freeNotifies_, AComponent);
    Erase(AComponent->freeNotifies_, this);
}

void TComponent::BeginLoading()
{
    state_ << csLoading;
    for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading()
{
    if (state_.Contains(csLoading)) Loaded();
    // Loaded may create or free components: walk by index over what is there now.
    for (size_t i = 0; i < components_.size(); ++i) components_[i]->EndLoading();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {}

void TComponent::Loaded() { state_ >> csLoading; }

void TComponent::Destroying()
{
    if (state_.Contains(csDestroying)) return;
    state_ << csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::WriteState(TWriter& Writer)
{
    for (const TPropInfo* p : GetPropList(this))
        if (!p->Stored || p->Stored(this)) Writer.WriteProperty(this, *p);
}

void TComponent::ReadState(TReader& Reader)
{
    for (const TPropInfo* p : GetPropList(this)) Reader.ReadProperty(this, *p);
}
