// The embedded object at an editor control's selection, held for one operation, and the
// texts its class gives, as this program's strings.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richole.h>

#include "framework/Strings.h"

// The selected object's record with its object and client site as the control gave them;
// both are released when this goes.
class TSelectedObject {
public:
    explicit TSelectedObject(IRichEditOle* Ole);
    ~TSelectedObject();
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;
    bool Valid() const { return Record.poleobj != nullptr; }
    bool InPlaceActive() const { return (Record.dwFlags & REO_INPLACEACTIVE) != 0; }
    REOBJECT Record{};
};

// An OLE (UTF-16) text in the ANSI code page; nullptr gives "".
String NarrowOleText(LPCOLESTR Text);
// The object's type name in a USERCLASSTYPE_ form, or "" when its class gives none.
String UserTypeName(IOleObject* Object, DWORD Form);
