// The MDI children and grid layouts. The children are found and made through the application
// form services' registry of form classes; the values go through the placement's INI storage.
#include "placement/LayoutStorage.h"

#include "placement/IniStorage.h"
#include "placement/LayoutStorageTexts.h"
#include "placement/PlacementValues.h"
#include "util/AppForms.h"
#include "util/CursorUtils.h"

namespace {

TForm* MdiFrame(TForm* MainForm)
{
    if (!MainForm || MainForm->FormStyle() != fsMDIForm)
        throw EInvalidOperation(LayoutStorageText::NoMdiForms);
    return MainForm;
}

String GridSection(const IGridColumns& Grid)
{
    return GetDefaultSection(dynamic_cast<const TComponent*>(&Grid));
}

}  // namespace

void InternalSaveMDIChildren(TForm* MainForm, TCustomIniFile* Ini)
{
    const TForm* frame = MdiFrame(MainForm);
    IniEraseSection(Ini, LayoutStorageText::MdiSection);
    const int count = frame->MDIChildCount();
    if (count <= 0) return;
    IniWriteInteger(Ini, LayoutStorageText::MdiSection, LayoutStorageText::CountKey, count);
    for (int i = 0; i < count; ++i)
        IniWriteString(Ini, LayoutStorageText::MdiSection, Format(LayoutStorageText::ItemKey, i),
                       frame->MDIChildren(i)->ClassName());
}

void InternalRestoreMDIChildren(TForm* MainForm, const TCustomIniFile* Ini)
{
    MdiFrame(MainForm);
    StartWait();
    struct EndWait {
        ~EndWait() { StopWait(); }
    } endWait;
    const int count =
        IniReadInteger(Ini, LayoutStorageText::MdiSection, LayoutStorageText::CountKey, 0);
    for (int i = 0; i < count; ++i) {
        const String name = IniReadString(Ini, LayoutStorageText::MdiSection,
                                          Format(LayoutStorageText::ItemKey, count - 1 - i), "");
        if (const TFormClass* formClass = FindFormClass(name))
            FindOrCreateShowForm(*formClass, "", false);
    }
}

void SaveMDIChildren(TForm* MainForm, TIniFile* Ini) { InternalSaveMDIChildren(MainForm, Ini); }
void SaveMDIChildrenReg(TForm* MainForm, TRegIniFile* Ini)
{
    InternalSaveMDIChildren(MainForm, Ini);
}
void RestoreMDIChildren(TForm* MainForm, const TIniFile* Ini)
{
    InternalRestoreMDIChildren(MainForm, Ini);
}
void RestoreMDIChildrenReg(TForm* MainForm, const TRegIniFile* Ini)
{
    InternalRestoreMDIChildren(MainForm, Ini);
}

void InternalSaveGridLayout(const IGridColumns& Grid, TCustomIniFile* Ini, const String& Section)
{
    for (int i = 0; i < Grid.ColCount(); ++i)
        IniWriteInteger(Ini, Section, Format(LayoutStorageText::ItemKey, i), Grid.ColWidths(i));
}

void InternalRestoreGridLayout(IGridColumns& Grid, const TCustomIniFile* Ini, const String& Section)
{
    for (int i = 0; i < Grid.ColCount(); ++i)
        Grid.SetColWidths(i, IniReadInteger(Ini, Section, Format(LayoutStorageText::ItemKey, i),
                                            Grid.ColWidths(i)));
}

void SaveGridLayout(const IGridColumns& Grid, TIniFile* Ini)
{
    InternalSaveGridLayout(Grid, Ini, GridSection(Grid));
}
void SaveGridLayoutReg(const IGridColumns& Grid, TRegIniFile* Ini)
{
    InternalSaveGridLayout(Grid, Ini, GridSection(Grid));
}
void RestoreGridLayout(IGridColumns& Grid, const TIniFile* Ini)
{
    InternalRestoreGridLayout(Grid, Ini, GridSection(Grid));
}
void RestoreGridLayoutReg(IGridColumns& Grid, const TRegIniFile* Ini)
{
    InternalRestoreGridLayout(Grid, Ini, GridSection(Grid));
}
