// The form placement component: chaining in front of the form's show, close-query and destroy
// events, the save and restore sequences with their version check, the storage object's short
// life, and the size limits applied through the window hook.
#include "placement/FormPlacement.h"

#include <algorithm>

#include "framework/IniFile.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"
#include "framework/gui/Application.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/win/RegIniFile.h"
#include "placement/IniStorage.h"
#include "placement/PlacementValues.h"
#include "placement/WindowHook.h"
#include "util/Wildcards.h"

namespace {

// A value of MINMAXINFO by the published index.
LONG& Field(MINMAXINFO& Info, TWinMinMaxInfo::Index I)
{
    switch (I) {
    case TWinMinMaxInfo::MaxPosLeft: return Info.ptMaxPosition.x;
    case TWinMinMaxInfo::MaxPosTop: return Info.ptMaxPosition.y;
    case TWinMinMaxInfo::MaxSizeHeight: return Info.ptMaxSize.y;
    case TWinMinMaxInfo::MaxSizeWidth: return Info.ptMaxSize.x;
    case TWinMinMaxInfo::MaxTrackHeight: return Info.ptMaxTrackSize.y;
    case TWinMinMaxInfo::MaxTrackWidth: return Info.ptMaxTrackSize.x;
    case TWinMinMaxInfo::MinTrackHeight: return Info.ptMinTrackSize.y;
    case TWinMinMaxInfo::MinTrackWidth: break;
    }
    return Info.ptMinTrackSize.x;
}

bool IsLoading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

}  // namespace

// ---- TWinMinMaxInfo -------------------------------------------------------------------------

int TWinMinMaxInfo::GetMinMaxInfo(Index I) const
{
    return Field(const_cast<MINMAXINFO&>(info_), I);
}

void TWinMinMaxInfo::SetMinMaxInfo(Index I, int Value)
{
    if (Field(info_, I) == Value) return;
    Field(info_, I) = Value;
    if (owner_) owner_->MinMaxInfoModified();
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const
{
    for (int i = MaxPosLeft; i <= MinTrackWidth; ++i)
        if (GetMinMaxInfo(static_cast<Index>(i)) != 0) return false;
    return true;
}

void TWinMinMaxInfo::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TWinMinMaxInfo*>(Source)) {
        info_ = other->info_;
        if (owner_) owner_->MinMaxInfoModified();
        return;
    }
    TPersistent::Assign(Source);
}

// ---- TIniLink --------------------------------------------------------------------------------

TIniLink::~TIniLink()
{
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* Value)
{
    if (Value == storage_) return;
    if (storage_) storage_->RemoveLink(this);
    if (Value) Value->AddLink(this);
}

TCustomIniFile* TIniLink::GetIniObject() const
{
    return storage_ ? storage_->IniObject() : nullptr;
}

String TIniLink::GetRootSection() const
{
    if (!storage_ || storage_->iniSection_.empty()) return "";
    return storage_->iniSection_ + "\\";
}

void TIniLink::SaveToIni()
{
    if (OnSave) OnSave(this);
}

void TIniLink::LoadFromIni()
{
    if (OnLoad) OnLoad(this);
}

// ---- TFormPlacement: life --------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* AOwner)
    : TComponent(AOwner),
      minMaxInfo_(std::make_unique<TWinMinMaxInfo>(this))
{
    RegisterProps();
    if (dynamic_cast<TForm*>(AOwner)) Options = {fpState, fpPosition};
    winHook_ = new TQvWindowHook(this);
    winHook_->AfterMessage = Closure(this, &TFormPlacement::WndMessage);
}

TFormPlacement::~TFormPlacement()
{
    Destroying();
    ini_.reset();
    while (!links_.empty()) RemoveLink(links_.back());
    if (!IsDesigning(this)) {
        ReleaseHook();
        // A form being destroyed no longer runs its events; only a living one gets its own
        // handlers back.
        if (Owner() && !Owner()->ComponentState().Contains(csDestroying)) RestoreEvents();
    }
    DestroyComponents();
}

void TFormPlacement::RegisterProps()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    using P = TFormPlacement;
    auto boolField = [](const char* Name, bool P::*Field) {
        return BoolProp<P>(
            Name, [Field](P* p) { return p->*Field; }, [Field](P* p, bool v) { p->*Field = v; });
    };
    // The names as set: form data keeps an empty name empty (the default is found on use).
    auto textField = [](const char* Name, String P::*Field) {
        return StrProp<P>(
            Name, [Field](P* p) { return p->*Field; },
            [Field](P* p, const String& v) { p->*Field = v; });
    };
    RegisterPublished<P>({
        boolField("Active", &P::Active),
        textField("IniFileName", &P::iniFileName_),
        textField("IniSection", &P::iniSection_),
        ObjProp<P>("MinMaxInfo", [](P* p) -> TObject* { return p->MinMaxInfo(); }),
        OrdProp<P>(
            "Options", tkSet, [](P* p) { return static_cast<long long>(p->Options.Bits()); },
            [](P* p, long long v) {
                p->Options = TPlacementOptions::FromBits(static_cast<std::uint32_t>(v));
            },
            {"fpState", "fpPosition", "fpActiveControl"}),
        BoolProp<P>(
            "PreventResize", [](P* p) { return p->PreventResize(); },
            [](P* p, bool v) { p->SetPreventResize(v); }),
        OrdProp<P>(
            "RegistryRoot", tkEnumeration,
            [](P* p) { return static_cast<long long>(p->RegistryRoot); },
            [](P* p, long long v) { p->RegistryRoot = static_cast<TPlacementRegRoot>(v); },
            {"prCurrentUser", "prLocalMachine", "prCurrentConfig", "prClassesRoot", "prUsers",
             "prDynData"}),
        boolField("UseRegistry", &P::UseRegistry),
        OrdProp<P>(
            "Version", tkInteger, [](P* p) { return static_cast<long long>(p->Version); },
            [](P* p, long long v) { p->Version = static_cast<int>(v); }),
    });
    std::vector<TPropInfo> limits;
    const char* names[] = {"MaxPosLeft",     "MaxPosTop",     "MaxSizeHeight",  "MaxSizeWidth",
                           "MaxTrackHeight", "MaxTrackWidth", "MinTrackHeight", "MinTrackWidth"};
    for (int i = TWinMinMaxInfo::MaxPosLeft; i <= TWinMinMaxInfo::MinTrackWidth; ++i) {
        const auto index = static_cast<TWinMinMaxInfo::Index>(i);
        limits.push_back(OrdProp<TWinMinMaxInfo>(
            names[i], tkInteger, [index](TWinMinMaxInfo* m) { return m->GetMinMaxInfo(index); },
            [index](TWinMinMaxInfo* m, long long v) {
                m->SetMinMaxInfo(index, static_cast<int>(v));
            }));
    }
    RegisterPublished<TWinMinMaxInfo>(std::move(limits));
}

void TFormPlacement::Loaded()
{
    const bool loading = IsLoading(this);
    TComponent::Loaded();
    if (IsDesigning(this)) return;
    if (loading) SetEvents();
    CheckToggleHook();
}

TForm* TFormPlacement::GetForm() const { return dynamic_cast<TForm*>(Owner()); }

void TFormPlacement::SetEvents()
{
    TForm* form = GetForm();
    if (!form || eventsSet_) return;
    saveFormShow_ = form->OnShow;
    saveFormCloseQuery_ = form->OnCloseQuery;
    saveFormDestroy_ = form->OnDestroy;
    form->OnShow = Closure(this, &TFormPlacement::FormShow);
    form->OnCloseQuery = Closure(this, &TFormPlacement::FormCloseQuery);
    form->OnDestroy = Closure(this, &TFormPlacement::FormDestroy);
    eventsSet_ = true;
    defMaximize_ = form->BorderIcons().Contains(biMaximize);
    if (preventResize_) UpdatePreventResize();
}

void TFormPlacement::RestoreEvents()
{
    TForm* form = GetForm();
    if (!form || !eventsSet_) return;
    form->OnShow = saveFormShow_;
    form->OnCloseQuery = saveFormCloseQuery_;
    form->OnDestroy = saveFormDestroy_;
    eventsSet_ = false;
}

// ---- chained form events ------------------------------------------------------------------------

void TFormPlacement::FormShow(TObject* Sender)
{
    if (Active) {
        try {
            RestoreFormPlacement();
        } catch (...) {
            Application->HandleException(this);
        }
    }
    if (saveFormShow_) saveFormShow_(Sender);
}

void TFormPlacement::FormCloseQuery(TObject* Sender, bool& CanClose)
{
    if (saveFormCloseQuery_) saveFormCloseQuery_(Sender, CanClose);
    TForm* form = GetForm();
    if (!CanClose || !Active || !form) return;
    try {
        form->HandleNeeded();
        SaveFormPlacement();
    } catch (...) {
        Application->HandleException(this);
    }
}

void TFormPlacement::FormDestroy(TObject* Sender)
{
    if (Active && !saved_) {
        destroying_ = true;
        try {
            SaveFormPlacement();
        } catch (...) {
            Application->HandleException(this);
        }
        destroying_ = false;
    }
    if (saveFormDestroy_) saveFormDestroy_(Sender);
}

// ---- save and restore ---------------------------------------------------------------------------

void TFormPlacement::SaveFormPlacement()
{
    // A form never shown (never restored) must not overwrite what is stored.
    if (Active && !restored_) return;
    IniNeeded(false);
    try {
        IniWriteInteger(ini_.get(), IniSection(), "FormVersion", Version);
        SavePlacement();
        Save();
        saved_ = true;
        if (auto* file = dynamic_cast<TIniFile*>(ini_.get())) file->UpdateFile();
    } catch (...) {
        IniFree();
        throw;
    }
    IniFree();
}

void TFormPlacement::SavePlacement()
{
    if (TForm* form = GetForm()) {
        const String section = IniSection();
        WriteFormPlacementValues(form, ini_.get(), section);
        if (Options.Contains(fpActiveControl) && form->ActiveControl())
            IniWriteString(ini_.get(), section, "ActiveControl", form->ActiveControl()->Name);
        IniWriteBool(ini_.get(), section, "Visible", destroying_);
    }
    NotifyLinks(poSave);
}

void TFormPlacement::RestoreFormPlacement()
{
    saved_ = false;
    IniNeeded(true);
    try {
        const String section = IniSection();
        restoredSection_ = section;
        if (IniReadInteger(ini_.get(), section, "FormVersion", 0) >= Version) {
            RestorePlacement();
            restored_ = true;
            Restore();
            TForm* form = GetForm();
            if (Options.Contains(fpActiveControl) && form) {
                const String name = IniReadString(ini_.get(), section, "ActiveControl", "");
                auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
                if (control && control->CanFocus()) form->SetActiveControl(control);
            }
        }
        restored_ = true;
    } catch (...) {
        restored_ = true;
        IniFree();
        throw;
    }
    IniFree();
    UpdatePlacement();
}

void TFormPlacement::RestorePlacement()
{
    if (TForm* form = GetForm())
        ReadFormPlacementValues(form, ini_.get(), IniSection(), Options.Contains(fpState),
                                Options.Contains(fpPosition));
    NotifyLinks(poRestore);
}

void TFormPlacement::Save()
{
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::Restore()
{
    if (OnRestorePlacement) OnRestorePlacement(this);
}

// ---- storage
// ---------------------------------------------------------------------------------------

String TFormPlacement::IniFileName() const
{
    if (!iniFileName_.empty() || IsDesigning(this)) return iniFileName_;
    return UseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

String TFormPlacement::IniSection() const
{
    if (!iniSection_.empty() || IsDesigning(this)) return iniSection_;
    // A form freed without DoDestroy first saves from its base destructor, where its class
    // name is the base's: the section of its last restore is the one it had.
    if (destroying_ && !restoredSection_.empty()) return restoredSection_;
    return GetDefaultSection(Owner());
}

void TFormPlacement::IniNeeded(bool ReadOnly)
{
    if (ini_) return;
    if (!UseRegistry) {
        ini_ = std::make_unique<TIniFile>(IniFileName());
        return;
    }
    auto reg = std::make_unique<TRegIniFile>(IniFileName());
    if (ReadOnly) reg->Access = KEY_READ;
    switch (RegistryRoot) {
    case prCurrentUser: break;
    case prLocalMachine: reg->RootKey = HKEY_LOCAL_MACHINE; break;
    case prCurrentConfig: reg->RootKey = HKEY_CURRENT_CONFIG; break;
    case prClassesRoot: reg->RootKey = HKEY_CLASSES_ROOT; break;
    case prUsers: reg->RootKey = HKEY_USERS; break;
    case prDynData: reg->RootKey = HKEY_DYN_DATA; break;
    }
    ini_ = std::move(reg);
}

void TFormPlacement::IniFree() { ini_.reset(); }

String TFormPlacement::DoReadString(const String& Section, const String& Ident,
                                    const String& Default)
{
    if (ini_) return IniReadString(ini_.get(), Section, Ident, Default);
    IniNeeded(true);
    String result;
    try {
        result = IniReadString(ini_.get(), Section, Ident, Default);
    } catch (...) {
        IniFree();
        throw;
    }
    IniFree();
    return result;
}

void TFormPlacement::DoWriteString(const String& Section, const String& Ident, const String& Value)
{
    if (ini_) {
        IniWriteString(ini_.get(), Section, Ident, Value);
        return;
    }
    IniNeeded(false);
    try {
        IniWriteString(ini_.get(), Section, Ident, Value);
        if (auto* file = dynamic_cast<TIniFile*>(ini_.get())) file->UpdateFile();
    } catch (...) {
        IniFree();
        throw;
    }
    IniFree();
}

String TFormPlacement::ReadString(const String& Ident, const String& Default)
{
    return DoReadString(IniSection(), Ident, Default);
}

void TFormPlacement::WriteString(const String& Ident, const String& Value)
{
    DoWriteString(IniSection(), Ident, Value);
}

int TFormPlacement::ReadInteger(const String& Ident, int Default)
{
    int value = Default;
    return TryStrToInt(Trim(ReadString(Ident, IntToStr(Default))), value) ? value : Default;
}

void TFormPlacement::WriteInteger(const String& Ident, int Value)
{
    WriteString(Ident, IntToStr(Value));
}

void TFormPlacement::EraseSections()
{
    if (ini_) return;
    IniNeeded(false);
    try {
        TStringList sections;
        IniReadSections(ini_.get(), sections);
        const String section = IniSection();
        for (int i = 0; i < sections.Count(); ++i) {
            const String name = sections.Strings(i);
            if (name == section || IsWild(name, section + ".*", false) ||
                IsWild(name, section + "\\*", false))
                IniEraseSection(ini_.get(), name);
        }
        if (auto* file = dynamic_cast<TIniFile*>(ini_.get())) file->UpdateFile();
    } catch (...) {
        IniFree();
        throw;
    }
    IniFree();
}

// ---- links
// ---------------------------------------------------------------------------------------

void TFormPlacement::AddLink(TIniLink* Link)
{
    links_.push_back(Link);
    Link->storage_ = this;
}

void TFormPlacement::RemoveLink(TIniLink* Link)
{
    Link->storage_ = nullptr;
    links_.erase(std::remove(links_.begin(), links_.end(), Link), links_.end());
}

void TFormPlacement::NotifyLinks(TPlacementOperation Operation)
{
    const std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links) {
        if (Operation == poSave)
            link->SaveToIni();
        else
            link->LoadFromIni();
    }
}

// ---- size limits --------------------------------------------------------------------------------

void TFormPlacement::SetPreventResize(bool Value)
{
    if (!GetForm() || Value == preventResize_) return;
    preventResize_ = Value;
    UpdatePlacement();
    UpdatePreventResize();
}

void TFormPlacement::MinMaxInfoModified()
{
    UpdatePlacement();
    if (!IsLoading(this)) CheckToggleHook();
}

bool TFormPlacement::CheckMinMaxInfo() const { return !minMaxInfo_->DefaultMinMaxInfo(); }

void TFormPlacement::CheckToggleHook()
{
    if (CheckMinMaxInfo() || preventResize_)
        SetHook();
    else
        ReleaseHook();
}

void TFormPlacement::SetHook()
{
    if (!IsDesigning(this) && GetForm()) winHook_->SetWinControl(GetForm());
}

void TFormPlacement::ReleaseHook() { winHook_->SetWinControl(nullptr); }

void TFormPlacement::UpdatePlacement()
{
    TForm* form = GetForm();
    if (!form || !form->HandleAllocated() || IsLoading(this) || preventResize_ || CheckMinMaxInfo())
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(form->Handle(), &placement);
    if (!IsWindowVisible(form->Handle())) placement.showCmd = SW_HIDE;
    int cx = 0, cy = 0;
    switch (form->BorderStyle()) {
    case bsSingle:
    case bsToolWindow:
        cx = GetSystemMetrics(SM_CXBORDER);
        cy = GetSystemMetrics(SM_CYBORDER);
        break;
    case bsSizeable:
    case bsSizeToolWin:
        cx = GetSystemMetrics(SM_CXFRAME);
        cy = GetSystemMetrics(SM_CYFRAME);
        break;
    case bsDialog:
        cx = GetSystemMetrics(SM_CXDLGFRAME);
        cy = GetSystemMetrics(SM_CYDLGFRAME);
        break;
    case bsNone: break;
    }
    placement.ptMaxPosition = {-cx, -cy};
    SetWindowPlacement(form->Handle(), &placement);
}

void TFormPlacement::UpdatePreventResize()
{
    TForm* form = GetForm();
    if (IsDesigning(this) || !form) return;
    if (preventResize_) defMaximize_ = form->BorderIcons().Contains(biMaximize);
    const bool wasActive = Active;
    Active = false;
    try {
        TBorderIcons icons = form->BorderIcons();
        if (!preventResize_ && defMaximize_ && form->BorderStyle() != bsDialog)
            icons << biMaximize;
        else
            icons >> biMaximize;
        form->SetBorderIcons(icons);
    } catch (...) {
        Active = wasActive;
        throw;
    }
    Active = wasActive;
    if (!IsLoading(this)) CheckToggleHook();
}

void TFormPlacement::WndMessage(TObject* Sender, TMessage& Msg, bool& Handled)
{
    TForm* form = GetForm();
    if (preventResize_ && form) {
        switch (Msg.Msg) {
        case WM_GETMINMAXINFO:
            if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
                // The window's size, not the form's: a resize in progress has already
                // changed the form's.
                RECT r;
                GetWindowRect(form->Handle(), &r);
                auto* info = reinterpret_cast<MINMAXINFO*>(Msg.LParam);
                info->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
                info->ptMaxTrackSize = {r.right - r.left, r.bottom - r.top};
                Msg.Result = 1;
            }
            break;
        case WM_NCHITTEST:
            if (Msg.Result >= HTLEFT && Msg.Result <= HTBOTTOMRIGHT) Msg.Result = HTNOWHERE;
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(Msg.LParam) != 0) {
                auto menu = reinterpret_cast<HMENU>(Msg.WParam);
                // The form's menu has its say first; the size commands stay grey whatever
                // it did.
                if (form->Menu()) form->Menu()->DispatchPopup(menu);
                EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
                Msg.Result = 1;
            }
            break;
        default: break;
        }
        return;
    }
    if (Msg.Msg != WM_GETMINMAXINFO) return;
    auto* info = reinterpret_cast<MINMAXINFO*>(Msg.LParam);
    if (CheckMinMaxInfo()) {
        const MINMAXINFO& own = minMaxInfo_->Info();
        auto copy = [](LONG from, LONG& to) {
            if (from != 0) to = from;
        };
        copy(own.ptMinTrackSize.x, info->ptMinTrackSize.x);
        copy(own.ptMinTrackSize.y, info->ptMinTrackSize.y);
        copy(own.ptMaxTrackSize.x, info->ptMaxTrackSize.x);
        copy(own.ptMaxTrackSize.y, info->ptMaxTrackSize.y);
        copy(own.ptMaxSize.x, info->ptMaxSize.x);
        copy(own.ptMaxSize.y, info->ptMaxSize.y);
        copy(own.ptMaxPosition.x, info->ptMaxPosition.x);
        copy(own.ptMaxPosition.y, info->ptMaxPosition.y);
    } else {
        info->ptMaxPosition = {0, 0};
    }
    Msg.Result = 1;
}

TFormPlacement* NewRegistryPlacement(TForm* Form)
{
    auto* placement = new TFormPlacement(Form);
    placement->Name = "FormPlacement1";
    placement->BeginLoading();
    placement->UseRegistry = true;
    placement->EndLoading();
    return placement;
}
