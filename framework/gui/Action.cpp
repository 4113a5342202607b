// Actions and action lists: execution, shared state pushed to clients, shortcuts.
#include "framework/gui/Action.h"

#include <algorithm>

#include "framework/gui/Menu.h"

TBasicAction::~TBasicAction()
{
    // Clients forget us through the free notification each one asked for.
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterClient(TComponent* Client)
{
    if (std::find(clients_.begin(), clients_.end(), Client) == clients_.end())
        clients_.push_back(Client);
}

void TBasicAction::UnregisterClient(TComponent* Client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), Client), clients_.end());
}

void TBasicAction::Changed()
{
    auto clients = clients_;  // a client may unlink itself while it updates
    for (TComponent* c : clients) {
        if (auto* control = dynamic_cast<TControl*>(c))
            control->ActionChanged();
        else if (auto* item = dynamic_cast<TMenuItem*>(c))
            item->ActionChanged();
    }
}

TAction::~TAction() { SetActionList(nullptr); }

bool TAction::Execute()
{
    if (OnUpdate) OnUpdate(this);
    if (!enabled_) return false;
    return TBasicAction::Execute();
}

void TAction::SetActionList(TActionList* v)
{
    if (list_ == v) return;
    if (list_)
        list_->actions_.erase(std::remove(list_->actions_.begin(), list_->actions_.end(), this),
                              list_->actions_.end());
    list_ = v;
    if (v) v->actions_.push_back(this);
}

TActionList::~TActionList()
{
    auto actions = actions_;
    for (TAction* a : actions) a->SetActionList(nullptr);
}

bool TActionList::IsShortCut(TShortCut ShortCut)
{
    for (TAction* a : actions_)
        if (a->ShortCut() == ShortCut && a->Visible()) return a->Execute();
    return false;
}

TAction* NewAction(TComponent* Owner, TActionList* List, const String& Caption,
                   TNotifyEvent OnExecute, TShortCut ShortCut)
{
    auto* a = new TAction(Owner);
    a->SetCaption(Caption);
    a->OnExecute = OnExecute;
    a->SetShortCut(ShortCut);
    a->SetActionList(List);
    return a;
}

bool TBasicAction::Relink(TComponent* Client, TBasicAction*& Current, TBasicAction* Next)
{
    if (Current == Next) return false;
    if (Current) {
        Current->UnregisterClient(Client);
        Client->RemoveFreeNotification(Current);
    }
    Current = Next;
    if (Next) {
        Next->RegisterClient(Client);
        Client->FreeNotification(Next);
    }
    return true;
}
