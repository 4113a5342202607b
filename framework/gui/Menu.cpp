// Menu items mirrored into the platform's menus; command ids and submenu handles lead back
// to the items.
#include "framework/gui/Menu.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/gui/Action.h"
#include "framework/gui/Control.h"

namespace {

std::map<UINT, TMenuItem*>& ItemsByCommand()
{
    static auto* map = new std::map<UINT, TMenuItem*>;  // never freed: menus die late
    return *map;
}

UINT NextCommand()
{
    static UINT next = 100;
    return next++;
}

// Menus whose platform menu is to be built again once the thread's menu loop has ended.
std::set<TMenu*>& PendingRebuilds()
{
    static auto* set = new std::set<TMenu*>;  // never freed: menus die late
    return *set;
}

// What waits for the thread's menu loop to end (AfterMenuLoop).
std::vector<std::function<void()>>& AfterLoop()
{
    static auto* actions = new std::vector<std::function<void()>>;  // never freed, as above
    return *actions;
}

// A menu bar armed or a menu dropped down on this thread, under one of the program's own
// windows. Only such a loop tells its end (WM_EXITMENULOOP, the pop-up's return); under
// another's (the system menu of a platform box) the program's menus are not in use, and what
// waited for the end would wait for the next menu the user opens.
bool InOwnMenuLoop()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0 &&
           TWinControl::FromHandle(info.hwndMenuOwner) != nullptr;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand())
{
    ItemsByCommand()[command_] = this;
}

TMenuItem::~TMenuItem()
{
    while (!items_.empty()) delete items_.back();
    if (action_) SetAction(nullptr);
    if (parent_) parent_->Remove(this);
    FreeHandles();
    ItemsByCommand().erase(command_);
}

TMenu* TMenuItem::RootMenu() const
{
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->menu_;
}

String TMenuItem::MenuText() const
{
    if (shortCut_) return caption_ + "\t" + ShortCutToText(shortCut_);
    return caption_;
}

void TMenuItem::UpdateItem()
{
    TMenu* menu = RootMenu();
    if (!menu || !parent_ || !menu->HandleAllocated()) return;
    HMENU root = menu->Handle();
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STATE;
    mi.fState =
        (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
    SetMenuItemInfoA(root, command_, FALSE, &mi);
    if (caption_ != "-") {
        String text = MenuText();
        mi.fMask = MIIM_STRING;
        mi.dwTypeData = text.data();
        SetMenuItemInfoA(root, command_, FALSE, &mi);
    }
    if (auto* main = dynamic_cast<TMainMenu*>(menu); main && main->Window && !parent_->parent_)
        DrawMenuBar(main->Window);
}

void TMenuItem::StructureChanged()
{
    if (TMenu* menu = RootMenu()) menu->Rebuild();
}

void TMenuItem::SetCaption(const String& v)
{
    if (v == caption_) return;
    const bool separatorChange = (v == "-") != (caption_ == "-");
    caption_ = v;
    if (separatorChange)
        StructureChanged();
    else
        UpdateItem();
}

void TMenuItem::SetChecked(bool v)
{
    if (v != checked_) {
        checked_ = v;
        UpdateItem();
    }
}
void TMenuItem::SetEnabled(bool v)
{
    if (v != enabled_) {
        enabled_ = v;
        UpdateItem();
    }
}
void TMenuItem::SetShortCut(TShortCut v)
{
    if (v != shortCut_) {
        shortCut_ = v;
        UpdateItem();
    }
}
void TMenuItem::SetDefault(bool v)
{
    if (v != default_) {
        default_ = v;
        UpdateItem();
    }
}
void TMenuItem::SetVisible(bool v)
{
    if (v != visible_) {
        visible_ = v;
        StructureChanged();
    }
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item) return;
    if (Item->parent_) throw EInvalidOperation(String(GuiText::MenuInserted));
    Index = std::clamp(Index, 0, Count());
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    StructureChanged();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    if (it == items_.end()) return;
    items_.erase(it);
    Item->parent_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) StructureChanged();
}

int TMenuItem::MenuIndex() const
{
    if (!parent_) return -1;
    auto& list = parent_->items_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::SetAction(TBasicAction* v)
{
    if (TBasicAction::Relink(this, action_, v) && v) ActionChanged();
}

void TMenuItem::ActionChanged()
{
    auto* a = dynamic_cast<TAction*>(action_);
    if (!a) return;
    caption_ = a->Caption();
    checked_ = a->Checked();
    enabled_ = a->Enabled();
    shortCut_ = a->ShortCut();
    Hint = a->Hint;
    if (visible_ != a->Visible()) {
        visible_ = a->Visible();
        StructureChanged();
    } else {
        UpdateItem();
    }
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == action_) action_ = nullptr;
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

bool TMenuItem::DispatchCommand(UINT Id)
{
    auto& map = ItemsByCommand();
    auto it = map.find(Id);
    if (it == map.end()) return false;
    TMenuItem* item = it->second;
    // A menu left open while its items were hidden still shows them (see TMenu::Rebuild): the
    // hidden ones are not there to choose.
    if (item->enabled_ && item->Shown()) item->Click();
    return true;
}

bool TMenuItem::Shown() const
{
    for (const TMenuItem* i = this; i; i = i->parent_)
        if (!i->visible_) return false;
    return true;
}

bool TMenuItem::DispatchPopup(HMENU Menu)
{
    for (auto& [id, item] : ItemsByCommand()) {
        if (item->submenu_ == Menu) {
            item->Click();
            return true;
        }
    }
    return false;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut ShortCut)
{
    for (TMenuItem* i : items_) {
        if (!i->visible_ || !i->enabled_) continue;
        if (i->shortCut_ == ShortCut) return i;
        if (TMenuItem* found = i->FindShortCut(ShortCut)) return found;
    }
    return nullptr;
}

void TMenuItem::Build(HMENU into)
{
    for (TMenuItem* i : items_) {
        if (!i->visible_) continue;
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        mi.wID = i->command_;
        mi.fState = (i->checked_ ? MFS_CHECKED : 0) | (i->enabled_ ? 0 : MFS_GRAYED) |
                    (i->default_ ? MFS_DEFAULT : 0);
        String text = i->MenuText();
        if (i->caption_ == "-") {
            mi.fType = MFT_SEPARATOR;
        } else {
            mi.fType = MFT_STRING | (i->RadioItem ? MFT_RADIOCHECK : 0);
            mi.fMask |= MIIM_STRING;
            mi.dwTypeData = text.data();
        }
        if (!i->items_.empty()) {
            i->submenu_ = CreatePopupMenu();
            i->Build(i->submenu_);
            mi.fMask |= MIIM_SUBMENU;
            mi.hSubMenu = i->submenu_;
        }
        InsertMenuItemA(into, GetMenuItemCount(into), TRUE, &mi);
    }
}

void TMenuItem::FreeHandles()
{
    // The platform frees submenus with their menu; only forget them here.
    submenu_ = nullptr;
    for (TMenuItem* i : items_) i->FreeHandles();
}

// ---- TMenu -------------------------------------------------------------------------------
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    PendingRebuilds().erase(this);
    delete items_;
    if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle()
{
    if (!handle_) {
        handle_ = CreateMenuHandle();
        items_->Build(handle_);
    }
    return handle_;
}

void TMenu::Rebuild()
{
    if (!handle_) return;
    // Emptying a menu destroys its submenus, the one dropped down too: the menu's loop then
    // works on a menu that is gone, and Wine ends the program (a send ending under a dropped
    // menu hid and showed its items so). While a loop runs the items stay as they are; the
    // loop's end builds the menu again (BuildPending).
    if (InOwnMenuLoop())
        PendingRebuilds().insert(this);
    else
        BuildAgain();
}

void TMenu::BuildAgain()
{
    PendingRebuilds().erase(this);
    if (!handle_) return;
    // Empty the platform menu and fill it again: the handle stays the same for its window.
    items_->FreeHandles();
    while (GetMenuItemCount(handle_) > 0) DeleteMenu(handle_, 0, MF_BYPOSITION);
    items_->Build(handle_);
}

void TMenu::BuildPending()
{
    // Each build takes its menu out of the set.
    while (!PendingRebuilds().empty()) (*PendingRebuilds().begin())->BuildAgain();
}

void TMenu::AfterMenuLoop(std::function<void()> Action)
{
    if (!InOwnMenuLoop()) {
        Action();
        return;
    }
    AfterLoop().push_back(std::move(Action));
    // Only asks: the loop ends once the message being handled now has returned to it.
    EndMenu();
}

bool TMenu::AfterLoopPending() { return !AfterLoop().empty(); }

void TMenu::RunAfterLoop()
{
    // An action may run a loop of its own in which more wait: those run after these.
    std::vector<std::function<void()>> actions;
    actions.swap(AfterLoop());
    for (auto& action : actions) action();
}

bool TMenu::DispatchPopup(HMENU Menu)
{
    if (!Menu) return false;
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* i : parent->items_) {
            if (i->submenu_ == Menu) return i;
            if (TMenuItem* found = find(i)) return found;
        }
        return nullptr;
    };
    TMenuItem* item = find(items_);
    if (!item) return false;
    item->Click();
    return true;
}

void TMainMenu::BuildAgain()
{
    TMenu::BuildAgain();
    if (Window) DrawMenuBar(Window);
}

HACCEL TMainMenu::CreateAccelerators(int& Count)
{
    std::vector<ACCEL> table;
    auto add = [&table](auto& self, TMenuItem* item) -> void {
        if (const TShortCut s = item->ShortCut()) {
            BYTE flags = FVIRTKEY;
            if (s & scShift) flags |= FSHIFT;
            if (s & scCtrl) flags |= FCONTROL;
            if (s & scAlt) flags |= FALT;
            table.push_back(
                ACCEL{flags, static_cast<WORD>(s & 0xFF), static_cast<WORD>(item->Command())});
        }
        for (int i = 0; i < item->Count(); ++i) self(self, item->Items(i));
    };
    for (int i = 0; i < Items()->Count(); ++i) {
        TMenuItem* top = Items()->Items(i);
        if (top->GroupIndex == 0 || top->GroupIndex == 2 || top->GroupIndex == 4) add(add, top);
    }
    Count = static_cast<int>(table.size());
    return table.empty() ? nullptr
                         : CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    // A hidden window of the thread receives the choice; its WM_COMMAND id leads to the item.
    HWND owner = GetActiveWindow();
    if (!owner) owner = GetDesktopWindow();
    UINT id = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, 0, owner,
                             nullptr);
    BuildPending();
    RunAfterLoop();
    if (id) TMenuItem::DispatchCommand(id);
}

TMenuItem* NewMenuItem(TComponent* Owner, TMenuItem* Parent, const String& Caption,
                       TNotifyEvent OnClick, TShortCut ShortCut)
{
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    item->OnClick = OnClick;
    item->SetShortCut(ShortCut);
    if (Parent) Parent->Add(item);
    return item;
}
