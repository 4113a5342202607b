// Actions: one command with its caption, Enabled, Checked, Visible and shortcut, shared by
// the buttons and menu items linked to it. A form runs an enabled action's shortcut before
// the focused control sees the key.
#pragma once

#include <vector>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/gui/Control.h"

class TActionList;

class TBasicAction : public TComponent {
public:
    using TComponent::TComponent;
    ~TBasicAction() override;
    // Runs OnExecute; false when there is nothing to run (or the action is disabled).
    virtual bool Execute();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    // Clients: controls and menu items that show the action.
    void RegisterClient(TComponent* Client);
    void UnregisterClient(TComponent* Client);
    // Moves Client's link (registration and free notification) from Current to Next and
    // stores Next in Current; false when Next is already the linked action.
    static bool Relink(TComponent* Client, TBasicAction*& Current, TBasicAction* Next);

protected:
    void Changed();  // every client takes the new state
private:
    std::vector<TComponent*> clients_;
};

class TAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    ~TAction() override;
    bool Execute() override;

    String Caption() const { return caption_; }
    void SetCaption(const String& v)
    {
        caption_ = v;
        Changed();
    }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v)
    {
        if (v != enabled_) {
            enabled_ = v;
            Changed();
        }
    }
    bool Checked() const { return checked_; }
    void SetChecked(bool v)
    {
        if (v != checked_) {
            checked_ = v;
            Changed();
        }
    }
    bool Visible() const { return visible_; }
    void SetVisible(bool v)
    {
        if (v != visible_) {
            visible_ = v;
            Changed();
        }
    }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v)
    {
        shortCut_ = v;
        Changed();
    }
    String Hint;
    int ImageIndex = -1;

    TActionList* ActionList() const { return list_; }
    void SetActionList(TActionList* v);

private:
    String caption_;
    bool enabled_ = true, checked_ = false, visible_ = true;
    TShortCut shortCut_ = 0;
    TActionList* list_ = nullptr;
};

class TActionList : public TComponent {
public:
    using TComponent::TComponent;
    ~TActionList() override;
    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TAction* Actions(int Index) const { return actions_[static_cast<size_t>(Index)]; }
    // Runs the enabled action with this shortcut; true when one ran.
    bool IsShortCut(TShortCut ShortCut);

private:
    friend class TAction;
    std::vector<TAction*> actions_;
};

// Convenience for form data: a new action owned by Owner in List.
TAction* NewAction(TComponent* Owner, TActionList* List, const String& Caption,
                   TNotifyEvent OnExecute, TShortCut ShortCut = 0);
