// Start-up of the rich text editor unit: the library is chosen with the error box off (a
// missing library shows nothing), then the clipboard formats are registered.
#include "richedit/RichEditLibrary.h"

#include "framework/Exceptions.h"
#include "richedit/RichEditTexts.h"

int RichEditVersion = 1;
TRichEditClipboardFormats RichEditClipboardFormats;

namespace {

HMODULE library = nullptr;
bool started = false;
int livingControls = 0;

HMODULE LoadQuietly(const char* name)
{
    HMODULE h = LoadLibraryA(name);
    // Old systems reported a failed load as a handle below 32.
    if (reinterpret_cast<UINT_PTR>(h) < 32) return nullptr;
    return h;
}

// Frees the library when the program ends, as the unit's finalisation.
struct LibraryRelease {
    ~LibraryRelease() { RichEditShutdown(); }
} libraryRelease;

}  // namespace

void RichEditStartup()
{
    if (started) return;
    started = true;
    RichEditVersion = 1;
    const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    library = LoadQuietly("RICHED20.DLL");
    if (library) {
        RichEditVersion = 2;
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
            info.dwMajorVersion >= 5)
            RichEditVersion = 3;
    } else {
        library = LoadQuietly("RICHED32.DLL");
    }
    SetErrorMode(oldMode);
    RichEditClipboardFormats.EmbeddedObject = RegisterClipboardFormatA("Embedded Object");
    RichEditClipboardFormats.LinkSource = RegisterClipboardFormatA("Link Source");
    RichEditClipboardFormats.RichText = RegisterClipboardFormatA("Rich Text Format");
    RichEditClipboardFormats.RichTextNoObjects =
        RegisterClipboardFormatA("Rich Text Format Without Objects");
}

void RichEditShutdown()
{
    if (library) FreeLibrary(library);
    library = nullptr;
}

void OverrideRichEditVersion(int Version)
{
    if (Version < 1 || Version > 3) throw EInvalidOperation(RichEditText::VersionRange, Version);
    if (livingControls > 0) throw EInvalidOperation(String(RichEditText::VersionLocked));
    RichEditStartup();
    const char* needed = Version == 1 ? "RICHED32.DLL" : "RICHED20.DLL";
    if (!GetModuleHandleA(needed)) {
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        // Kept loaded for the rest of the run, like the start-up's own choice.
        LoadQuietly(needed);
        SetErrorMode(oldMode);
    }
    RichEditVersion = Version;
}

void RichEditControlCreated() { ++livingControls; }
void RichEditControlDestroyed() { --livingControls; }
