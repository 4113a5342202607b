// Main and pop-up menus: a tree of TMenuItem (caption with '&', checked, enabled, visible,
// shortcut, OnClick) mirrored into the platform's menus. Opening a submenu fires its item's
// OnClick first, so handlers can set checks and captions just before the menu shows.
#pragma once

#include <functional>
#include <vector>

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/gui/Control.h"

class TMenu;
class TBasicAction;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;  // frees its sub-items

    String Caption() const { return caption_; }
    void SetCaption(const String& v);  // "-" makes a separator
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v);
    bool RadioItem = false;
    // Shown in bold: the item a double click on the menu's owner would choose.
    bool Default() const { return default_; }
    void SetDefault(bool v);
    String Hint;
    // A main menu's top-level items of groups 0, 2 and 4 are the form's own when an embedded
    // object's menus join them (see TMainMenu::CreateAccelerators).
    int GroupIndex = 0;

    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int Index) const { return items_[static_cast<size_t>(Index)]; }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;

    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* v);
    void ActionChanged();

    // OnClick, or the linked action.
    virtual void Click();
    TNotifyEvent OnClick;

    // The command id this item has in the platform's menu (WM_COMMAND).
    UINT Command() const { return command_; }
    // The submenu's handle while built (items with children).
    HMENU Handle() const { return submenu_; }

    // Runs the item of a WM_COMMAND id / the item whose submenu is about to open.
    static bool DispatchCommand(UINT Id);
    static bool DispatchPopup(HMENU Menu);
    // Visible, and so is every item above it.
    bool Shown() const;
    // The item (at any depth) whose shortcut this is, enabled and visible, or nullptr.
    TMenuItem* FindShortCut(TShortCut ShortCut);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TMenu;
    TMenu* RootMenu() const;
    void UpdateItem();        // state and text into the built menu
    void StructureChanged();  // items added, removed, shown or hidden: build again
    void Build(HMENU into);   // appends this item's visible children to a platform menu
    void FreeHandles();
    String MenuText() const;

    String caption_;
    bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
    TShortCut shortCut_ = 0;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item
    TBasicAction* action_ = nullptr;
    UINT command_;
    HMENU submenu_ = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    TMenuItem* Items() { return items_; }
    // The platform's menu, built on first use.
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Builds the platform's menu again (after structural changes); while a menu loop of the
    // thread runs, once it has ended (BuildPending).
    void Rebuild();
    // Builds every menu whose rebuild waited for a menu loop's end (the loop's owner calls it
    // when the loop has ended).
    static void BuildPending();
    // Runs Action now; while a menu loop of the thread runs, closes the menus and runs it once
    // the loop has ended instead. A box shown from inside the loop came up under the menu still
    // drawn open, and the loop kept the mouse from it (for the box an event of the program
    // shows on its own, such as a lost device's).
    static void AfterMenuLoop(std::function<void()> Action);
    // Runs what waited for a menu loop's end (the loop's owner posts CM_AFTERMENULOOP to
    // itself when something waits, and calls it when the message arrives).
    static void RunAfterLoop();
    static bool AfterLoopPending();
    // Runs the item of this menu (at any depth) whose submenu is about to open; false when
    // the submenu is none of this menu's.
    bool DispatchPopup(HMENU Menu);

protected:
    virtual HMENU CreateMenuHandle() = 0;
    // Empties the platform's menu and fills it from the items (a main menu redraws its bar).
    virtual void BuildAgain();
    HMENU handle_ = nullptr;

private:
    TMenuItem* items_;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    // The window whose menu bar shows this menu (set by the form).
    HWND Window = nullptr;
    // An accelerator table of the shortcuts under the top-level items of groups 0, 2 and 4
    // (the container's, for an object active in place), with Count its entries; the caller
    // destroys it. nullptr when there are none.
    HACCEL CreateAccelerators(int& Count);

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
    void BuildAgain() override;
};

class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    // Shows the menu at a screen position and runs the chosen item (the menu's loop runs
    // until the user chooses or dismisses it).
    virtual void Popup(int X, int Y);
    TComponent* PopupComponent = nullptr;
    bool AutoPopup = true;
    TNotifyEvent OnPopup;

protected:
    HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

// Convenience for building menus in form data: a new item owned by Owner, added to Parent.
TMenuItem* NewMenuItem(TComponent* Owner, TMenuItem* Parent, const String& Caption,
                       TNotifyEvent OnClick = nullptr, TShortCut ShortCut = 0);
