// Cursors from resources and the wait cursor.
#include "util/CursorUtils.h"

#include <cstdint>

#include "framework/Exceptions.h"
#include "framework/gui/GuiTexts.h"
#include "util/ErrorUtils.h"
#include "util/WinUtilTexts.h"

TCursor WaitCursor = crHourGlass;

namespace {

int WaitCount = 0;
TCursor SavedCursor = crDefault;
const LPCSTR AniCursorType = MAKEINTRESOURCEA(21);  // animated cursor

}  // namespace

HCURSOR LoadAniCursor(HINSTANCE Module, LPCSTR ResID)
{
    HRSRC info = FindResourceA(Module, ResID, AniCursorType);
    if (!info) return nullptr;
    HGLOBAL data = LoadResource(Module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    const DWORD size = SizeofResource(Module, info);
    if (!bytes) return nullptr;

    char folder[MAX_PATH + 1];
    char file[MAX_PATH + 1];
    CheckWin32(GetTempPathA(sizeof folder, folder) != 0);
    CheckWin32(GetTempFileNameA(folder, "ANI", 0, file) != 0);
    HCURSOR cursor = nullptr;
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        const bool whole = WriteFile(h, bytes, size, &written, nullptr) && written == size;
        CloseHandle(h);
        if (whole) cursor = LoadCursorFromFileA(file);
    }
    DeleteFileA(file);
    return cursor;
}

TCursor DefineCursor(HINSTANCE Module, LPCSTR ResID)
{
    HCURSOR handle = LoadCursorA(Module, ResID);
    if (!handle) handle = LoadAniCursor(Module, ResID);
    if (!handle) ResourceNotFound(ResID);
    HCURSOR fallback = Screen->Cursors(crDefault);
    // The screen answers its default cursor for a number nobody registered.
    for (TCursor id = 100; id <= INT16_MAX; ++id) {
        if (Screen->Cursors(id) == fallback) {
            Screen->SetCursors(id, handle);
            return id;
        }
    }
    DestroyCursor(handle);
    throw EOutOfResources(String(GuiText::OutOfSystemResources));
}

void StartWait()
{
    if (WaitCount == 0) {
        SavedCursor = Screen->Cursor();
        Screen->SetCursor(WaitCursor);
    }
    ++WaitCount;
}

void StopWait()
{
    if (WaitCount <= 0) return;
    if (--WaitCount == 0) Screen->SetCursor(SavedCursor);
}
