// The layouts kept beside the window placement: the open MDI children (by form class) and a
// grid's column widths, saved to and restored from an INI file or the registry-as-INI.
#pragma once

#include "framework/IniFile.h"
#include "framework/gui/Form.h"
#include "framework/win/RegIniFile.h"

// Writes "Count" and "Item<i>" (each child's class name, in the frame's MDI child list) to
// the section "MDI Children"; EInvalidOperation when MainForm is no MDI frame (fsMDIForm).
void InternalSaveMDIChildren(TForm* MainForm, TCustomIniFile* Ini);
// Opens the stored children, the last stored first, so the first stored ends on top; names
// that are not registered form classes are skipped.
void InternalRestoreMDIChildren(TForm* MainForm, const TCustomIniFile* Ini);
void SaveMDIChildren(TForm* MainForm, TIniFile* Ini);
void SaveMDIChildrenReg(TForm* MainForm, TRegIniFile* Ini);
void RestoreMDIChildren(TForm* MainForm, const TIniFile* Ini);
void RestoreMDIChildrenReg(TForm* MainForm, const TRegIniFile* Ini);

// What the grid layout needs of a grid (the framework has no grid control). The section is
// the default section of the grid when it is a component.
class IGridColumns {
public:
    virtual ~IGridColumns() = default;
    virtual int ColCount() const = 0;
    virtual int ColWidths(int Index) const = 0;
    virtual void SetColWidths(int Index, int Width) = 0;
};

void InternalSaveGridLayout(const IGridColumns& Grid, TCustomIniFile* Ini, const String& Section);
void InternalRestoreGridLayout(IGridColumns& Grid, const TCustomIniFile* Ini,
                               const String& Section);
void SaveGridLayout(const IGridColumns& Grid, TIniFile* Ini);
void SaveGridLayoutReg(const IGridColumns& Grid, TRegIniFile* Ini);
void RestoreGridLayout(IGridColumns& Grid, const TIniFile* Ini);
void RestoreGridLayoutReg(IGridColumns& Grid, const TRegIniFile* Ini);
