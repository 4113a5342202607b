// What the placement tests share: a private registry key removed before and after each test,
// raw reads and writes of its string values, form data kept in memory, and message pumping
// with a time-out.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <vector>

#include <windows.h>

#include "framework/Strings.h"
#include "framework/gui/Application.h"
#include "placement/PropsStorage.h"
#include "tests/support/GuiTestSupport.h"

// A key under HKCU that no program uses, made unique per test process.
class TPrivateKey {
public:
    TPrivateKey() : Path("Software\\QvPlacementTest" + std::to_string(std::random_device{}()))
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, Path.c_str());
    }
    ~TPrivateKey() { RegDeleteTreeA(HKEY_CURRENT_USER, Path.c_str()); }
    TPrivateKey(const TPrivateKey&) = delete;
    TPrivateKey& operator=(const TPrivateKey&) = delete;

    // The string value, or "<none>" when it is missing.
    String Read(const String& Section, const String& Name) const
    {
        char buffer[512];
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, (Path + "\\" + Section).c_str(), Name.c_str(),
                         RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
            return "<none>";
        return String(buffer);
    }
    void Write(const String& Section, const String& Name, const String& Value) const
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, (Path + "\\" + Section).c_str(), Name.c_str(), REG_SZ,
                        Value.c_str(), static_cast<DWORD>(Value.size() + 1));
    }
    // Value names of a section in the order the registry lists them.
    std::vector<String> Names(const String& Section) const
    {
        std::vector<String> names;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (Path + "\\" + Section).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof name;
            if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            names.emplace_back(name, size);
        }
        RegCloseKey(key);
        return names;
    }

    const String Path;
};

// Form data in memory: what components write through Storage, as "Section.Name" = text.
class TMemoryFormData {
public:
    explicit TMemoryFormData(TComponent* Owner)
    {
        Storage.Owner = Owner;
        Storage.Section = "Data";
        Storage.OnWriteString = Closure(this, &TMemoryFormData::Write);
        Storage.OnReadString = Closure(this, &TMemoryFormData::Read);
    }
    void Write(const String& Section, const String& Name, const String& V)
    {
        Values[Section + "." + Name] = V;
    }
    String Read(const String& Section, const String& Name, const String& Default)
    {
        auto it = Values.find(Section + "." + Name);
        return it == Values.end() ? Default : it->second;
    }

    TPropsStorage Storage;
    std::map<String, String> Values;
};

// The window's normal (restored) rectangle.
inline RECT NormalRect(HWND Window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Window, &placement);
    return placement.rcNormalPosition;
}
