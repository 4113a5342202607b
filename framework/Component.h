// TComponent: a named object in an ownership tree. An owner frees what it owns; components
// can ask to be told when another one goes away; form building marks them as loading.
#pragma once

#include <vector>

#include "framework/Object.h"
#include "framework/Sets.h"

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TWriter;
class TReader;

class TComponent : public TPersistent {
public:
    // Owner may be nullptr; an owned component is freed by its owner's destructor.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int Index) const;
    // The owned component with this name (case-insensitive), or nullptr.
    TComponent* FindComponent(std::string_view AName) const;

    void InsertComponent(TComponent* AComponent);  // takes ownership (from any old owner)
    void RemoveComponent(TComponent* AComponent);  // gives it up; the caller then owns it
    // Frees the owned components, last first. Derived destructors that want their own
    // Notification to see the removals call it before their own members go away.
    void DestroyComponents();

    String Name;
    int Tag = 0;

    const TComponentState& ComponentState() const { return state_; }

    // AComponent's Notification(this, opRemove) runs when this component is destroyed, and
    // this one's when AComponent is: the link is kept both ways and dropped by either side.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Form building in code: BeginLoading marks this component and everything it owns
    // (recursively) as loading; EndLoading calls Loaded() on this component and then on the
    // owned ones, in creation order, each of which clears its csLoading.
    void BeginLoading();
    void EndLoading();

    // Form data: the published properties of this component that are stored (TPropInfo::
    // Stored), written out one by one; and read back, each property in registration order.
    virtual void WriteState(TWriter& Writer);
    virtual void ReadState(TReader& Reader);

protected:
    // Told about components inserted into or removed from this owner, and about the
    // destruction of components this one asked to hear about.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once a component's properties are all set; the override calls the inherited one.
    virtual void Loaded();
    // Marks destruction (csDestroying on this and the owned components).
    void Destroying();
    // For derived classes that keep further state flags (csDesigning, csReading...).
    TComponentState& State() { return state_; }

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_;
};
