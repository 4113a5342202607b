// TFormPlacement: a non-visual component a form owns that restores the form's window placement
// each time the form is shown and saves it when the form closes, in an INI file or a registry
// key. TIniLink lets other objects save and restore along with it.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "framework/Component.h"
#include "framework/CustomIniFile.h"
#include "framework/Events.h"
#include "framework/Sets.h"
#include "framework/gui/Messages.h"

class TForm;
class TFormPlacement;
class TQvWindowHook;

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;
enum TPlacementOperation { poSave, poRestore };
enum TPlacementRegRoot {
    prCurrentUser,
    prLocalMachine,
    prCurrentConfig,
    prClassesRoot,
    prUsers,
    prDynData
};

// Minimum and maximum sizes imposed on the form, laid out as the platform's MINMAXINFO.
class TWinMinMaxInfo : public TPersistent {
public:
    enum Index {
        MaxPosLeft,
        MaxPosTop,
        MaxSizeHeight,
        MaxSizeWidth,
        MaxTrackHeight,
        MaxTrackWidth,
        MinTrackHeight,
        MinTrackWidth
    };
    explicit TWinMinMaxInfo(TFormPlacement* Owner) : owner_(Owner) {}

    int GetMinMaxInfo(Index I) const;
    void SetMinMaxInfo(Index I, int Value);
    bool DefaultMinMaxInfo() const;
    const MINMAXINFO& Info() const { return info_; }
    void Assign(TPersistent* Source) override;

private:
    TFormPlacement* owner_;
    MINMAXINFO info_{};
};

// Told when its placement component saves or restores (after the placement's own values).
class TIniLink : public TPersistent {
public:
    TIniLink() = default;
    ~TIniLink() override;

    TFormPlacement* Storage() const { return storage_; }
    void SetStorage(TFormPlacement* Value);
    // The placement's open storage object (only during a save or restore), or nullptr.
    TCustomIniFile* GetIniObject() const;
    // The placement's section as set (not its default) and "\", or empty.
    String GetRootSection() const;

    virtual void SaveToIni();
    virtual void LoadFromIni();

    TNotifyEvent OnSave;
    TNotifyEvent OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* AOwner);
    ~TFormPlacement() override;

    // ---- properties ------------------------------------------------------------------------
    // False: nothing is saved or restored by the form's events.
    bool Active = true;
    // Empty: the default file or registry key; IniFileName() gives the one in use.
    String IniFileName() const;
    void SetIniFileName(const String& Value) { iniFileName_ = Value; }
    String IniSection() const;
    void SetIniSection(const String& Value) { iniSection_ = Value; }
    TWinMinMaxInfo* MinMaxInfo() { return minMaxInfo_.get(); }
    void SetMinMaxInfo(TWinMinMaxInfo* Value) { minMaxInfo_->Assign(Value); }
    TPlacementOptions Options;
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool Value);
    TPlacementRegRoot RegistryRoot = prCurrentUser;
    bool UseRegistry = false;
    // Stored placements of an older version are not restored.
    int Version = 0;
    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    // ---- operations -------------------------------------------------------------------------
    void SaveFormPlacement();
    void RestoreFormPlacement();
    String ReadString(const String& Ident, const String& Default);
    void WriteString(const String& Ident, const String& Value);
    int ReadInteger(const String& Ident, int Default);
    void WriteInteger(const String& Ident, int Value);
    // Erases the section, and the sections below it ("Section.*" and "Section\*").
    void EraseSections();

    void AddLink(TIniLink* Link);
    void RemoveLink(TIniLink* Link);

    // The open storage object, only inside a save, restore, read, write or erase.
    TCustomIniFile* IniObject() const { return ini_.get(); }
    TQvWindowHook* WinHook() const { return winHook_; }
    TForm* GetForm() const;
    void MinMaxInfoModified();

    virtual String DoReadString(const String& Section, const String& Ident, const String& Default);
    virtual void DoWriteString(const String& Section, const String& Ident, const String& Value);

protected:
    void Loaded() override;
    virtual void SavePlacement();
    virtual void RestorePlacement();
    virtual void Save();
    virtual void Restore();
    bool restored_ = false;

private:
    friend class TIniLink;
    static void RegisterProps();
    void SetEvents();
    void RestoreEvents();
    void NotifyLinks(TPlacementOperation Operation);
    void IniNeeded(bool ReadOnly);
    void IniFree();
    void UpdatePlacement();
    void UpdatePreventResize();
    bool CheckMinMaxInfo() const;
    void CheckToggleHook();
    void SetHook();
    void ReleaseHook();

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);
    void WndMessage(TObject* Sender, TMessage& Msg, bool& Handled);

    String iniFileName_;
    String iniSection_;
    String restoredSection_;
    bool preventResize_ = false;
    std::unique_ptr<TWinMinMaxInfo> minMaxInfo_;
    std::unique_ptr<TCustomIniFile> ini_;
    std::vector<TIniLink*> links_;
    bool saved_ = false;
    bool destroying_ = false;
    bool defMaximize_ = false;
    bool eventsSet_ = false;
    TQvWindowHook* winHook_;
    TNotifyEvent saveFormShow_;
    TClosure<void(TObject*, bool&)> saveFormCloseQuery_;
    TNotifyEvent saveFormDestroy_;
};

// The placement every window of the program keeps in the registry under its default key, as the
// component "FormPlacement1" of Form. Made after the form's own show and close handlers, it
// chains in front of them.
TFormPlacement* NewRegistryPlacement(TForm* Form);
