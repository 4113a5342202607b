// The selected embedded object of an editor control and its type names.
#include "richedit/RichEditOleObject.h"

TSelectedObject::TSelectedObject(IRichEditOle* Ole)
{
    Record.cbStruct = sizeof Record;
    if (!Ole || FAILED(Ole->GetObject(REO_IOB_SELECTION, &Record,
                                      REO_GETOBJ_POLEOBJ | REO_GETOBJ_POLESITE))) {
        if (Record.poleobj) Record.poleobj->Release();
        if (Record.polesite) Record.polesite->Release();
        Record = REOBJECT{};
        Record.cbStruct = sizeof Record;
    }
}

TSelectedObject::~TSelectedObject()
{
    if (Record.poleobj) Record.poleobj->Release();
    if (Record.polesite) Record.polesite->Release();
}

String NarrowOleText(LPCOLESTR Text)
{
    if (!Text) return String();
    const int size = WideCharToMultiByte(CP_ACP, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return String();
    String s(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, Text, -1, s.data(), size, nullptr, nullptr);
    s.resize(static_cast<size_t>(size - 1));
    return s;
}

String UserTypeName(IOleObject* Object, DWORD Form)
{
    LPOLESTR name = nullptr;
    if (!Object || FAILED(Object->GetUserType(Form, &name))) return String();
    String s = NarrowOleText(name);
    CoTaskMemFree(name);
    return s;
}
