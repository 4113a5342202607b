// TComponent ownership, free notification, loading state, and TPersistent::Assign.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Component.h"
#include "framework/Exceptions.h"

namespace {

std::vector<String> events;

struct Probe : TComponent {
    explicit Probe(TComponent* owner, String name) : TComponent(owner) { Name = std::move(name); }
    ~Probe() override { events.push_back("free " + Name); }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        events.push_back(Name + (op == opInsert ? " +" : " -") + c->Name);
        if (op == opRemove && c == watched) watched = nullptr;
    }
    void Loaded() override
    {
        TComponent::Loaded();
        events.push_back("loaded " + Name);
    }
    TComponent* watched = nullptr;
};

struct Chars : TPersistent {
    int value = 0;
    void Assign(TPersistent* Source) override
    {
        if (auto c = dynamic_cast<Chars*>(Source))
            value = c->value;
        else
            TPersistent::Assign(Source);
    }
};

}  // namespace

TEST(Component, OwnerFreesOwnedLastFirstAndAChildLeavesItsOwnerWhenFreed)
{
    events.clear();
    auto* owner = new Probe(nullptr, "form");
    auto* a = new Probe(owner, "a");
    new Probe(owner, "b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("A"), a);
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    events.clear();
    delete owner;
    EXPECT_EQ(events, (std::vector<String>{"free form", "free b"}));
}

TEST(Component, FreeNotificationClearsAWatchedPointerInBothDirections)
{
    events.clear();
    Probe watcher(nullptr, "hook");
    auto* control = new Probe(nullptr, "edit");
    watcher.watched = control;
    control->FreeNotification(&watcher);
    delete control;
    EXPECT_EQ(watcher.watched, nullptr);
    // The link is two-way: freeing the watcher must not leave the other side dangling.
    auto* other = new Probe(nullptr, "other");
    {
        Probe shortLived(nullptr, "short");
        other->FreeNotification(&shortLived);
    }
    delete other;  // would touch freed memory if the link had not been dropped
}

TEST(Component, DestroyingStateIsSetOnOwnedComponentsDuringTheOwnersDestruction)
{
    struct Child : TComponent {
        ~Child() override { sawDestroying = ComponentState().Contains(csDestroying); }
        bool& sawDestroying;
        Child(TComponent* o, bool& flag) : TComponent(o), sawDestroying(flag) {}
    };
    bool flag = false;
    auto* owner = new TComponent(nullptr);
    new Child(owner, flag);
    delete owner;
    EXPECT_TRUE(flag);
}

TEST(Component, EndLoadingCallsLoadedOnceOnEachLoadingComponentOwnerFirst)
{
    events.clear();
    Probe form(nullptr, "form");
    new Probe(&form, "a");
    new Probe(&form, "b");
    form.BeginLoading();
    EXPECT_TRUE(form.Components(1)->ComponentState().Contains(csLoading));
    events.clear();
    form.EndLoading();
    EXPECT_EQ(events, (std::vector<String>{"loaded form", "loaded a", "loaded b"}));
    EXPECT_FALSE(form.Components(0)->ComponentState().Contains(csLoading));
    events.clear();
    form.EndLoading();
    EXPECT_TRUE(events.empty());
    EXPECT_THROW(form.Components(2), EListError);
}

TEST(Persistent, AssignCopiesFromItsOwnKindAndRaisesForOthers)
{
    Chars a, b;
    b.value = 17;
    a.Assign(&b);
    EXPECT_EQ(a.value, 17);
    TPersistent plain;
    try {
        a.Assign(&plain);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a TPersistent to a (anonymous namespace)::Chars");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}
