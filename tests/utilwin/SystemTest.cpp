// System services under Wine: environment, server registration with stand-in servers, OLE
// library freeing, errors, global memory, pending messages, waits, the version text and the
// library's string table.
#include <gtest/gtest.h>

#include <regex>

#include "tests/support/DialogScript.h"
#include "util/ErrorUtils.h"
#include "util/GlobalMemory.h"
#include "util/SysUtils.h"
#include "util/WinUtilTexts.h"

TEST(GetEnvVar, ReturnsValuesLongerThanTwoThousandCharacters)
{
    const String value = String(5000, 'x') + ";end";
    ASSERT_TRUE(SetEnvironmentVariableA("QV_LONG_VALUE", value.c_str()));
    EXPECT_EQ(GetEnvVar("QV_LONG_VALUE"), value);
    SetEnvironmentVariableA("QV_LONG_VALUE", nullptr);
    EXPECT_EQ(GetEnvVar("QV_LONG_VALUE"), "");
}

TEST(RegisterServer, TrueOnlyWhenTheServersRegistrationSucceeds)
{
    EXPECT_TRUE(RegisterServer("qv_test_RegisterOk.dll"));
    EXPECT_FALSE(RegisterServer("qv_test_RegisterFails.dll"));
    EXPECT_FALSE(RegisterServer("qv_test_NoRegisterEntry.dll"));
    try {
        RegisterServer("qv_no_such_server.dll");
        ADD_FAILURE() << "a missing library loaded";
    } catch (const EWin32Error& e) {
        EXPECT_NE(e.ErrorCode, 0u);
    }
}

TEST(FreeUnusedOle, LeavesALibraryLoadedBySomeoneElse)
{
    HMODULE ours = LoadLibraryA("oleaut32.dll");
    ASSERT_TRUE(ours);
    FreeUnusedOle();
    EXPECT_EQ(GetModuleHandleA("oleaut32.dll"), ours);
    FreeLibrary(ours);
}

TEST(Errors, SystemErrorCarriesItsCodeAndTheSystemsText)
{
    EXPECT_NO_THROW(RaiseWin32Error(0));
    try {
        RaiseWin32Error(ERROR_ACCESS_DENIED);
        ADD_FAILURE();
    } catch (const EWin32Error& e) {
        EXPECT_EQ(e.ErrorCode, 5u);
        EXPECT_EQ(e.Message.rfind("System error 5: ", 0), 0u) << e.Message;
        EXPECT_GT(e.Message.size(), 16u);
        EXPECT_NE(e.Message.back(), '\n');
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_THROW(CheckWin32(false), EWin32Error);
    EXPECT_TRUE(CheckWin32(true));
}

TEST(Errors, ResourceNotFoundNamesTheResourceOrItsNumber)
{
    try {
        ResourceNotFound("QV_PICTURE");
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource QV_PICTURE not found");
    }
    try {
        ResourceNotFound(MAKEINTRESOURCEA(1234));
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource 1234 not found");
    }
}

TEST(GlobalMemory, ZeroFilledBlocksThatGrowKeepingTheirBytes)
{
    EXPECT_EQ(AllocMemo(0), nullptr);
    EXPECT_EQ(GetMemoSize(nullptr), 0);
    void* block = AllocMemo(16);
    ASSERT_TRUE(block);
    EXPECT_GE(GetMemoSize(block), 16);
    auto* bytes = static_cast<unsigned char*>(block);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << i;
    bytes[15] = 0xAB;
    block = ReallocMemo(block, 4096);
    ASSERT_TRUE(block);
    EXPECT_GE(GetMemoSize(block), 4096);
    EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0xAB);
    FreeMemo(block);
    EXPECT_EQ(block, nullptr);
}

TEST(KillMessage, ARemovedQuitIsPostedAgainWithItsCode)
{
    PostQuitMessage(7);
    KillMessage(nullptr, WM_QUIT);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 7u);

    HWND w = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(w, WM_USER + 5, 0, 0);
    PostMessageA(w, WM_USER + 5, 0, 0);
    KillMessage(w, WM_USER + 5);
    EXPECT_TRUE(PeekMessageA(&m, w, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&m, w, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    DestroyWindow(w);
}

namespace {
int Handled = 0;
LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_USER + 1) ++Handled;
    return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

TEST(Delay, ZeroHandlesPendingMessagesOnceAndALongerDelayWaitsItOut)
{
    HWND w = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
    Handled = 0;
    PostMessageA(w, WM_USER + 1, 0, 0);
    Delay(0);
    EXPECT_EQ(Handled, 1);

    const DWORD start = GetTickCount();
    Delay(40);
    EXPECT_GE(GetTickCount() - start, 40u);
    DestroyWindow(w);
}

TEST(NotImplemented, TellsTheUserAndAbortsSilently)
{
    TDialogScript script;
    EXPECT_THROW(NotImplemented(), EAbort);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, WinUtilText::NotImplemented);
    EXPECT_EQ(script.Last().DlgType, mtInformation);
    // The text is the program's string table's: a German thread finds the German one.
    const LCID before = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_THROW(NotImplemented(), EAbort);
    SetThreadLocale(before);
    EXPECT_EQ(script.Last().Text, "Funktion noch nicht implementiert");
}

TEST(LibraryStrings, TheProgramsStringTableHoldsEachTextUnderItsNumber)
{
    for (const auto& [id, text] : WinUtilText::LibStrings) {
        char loaded[256] = {};
        LoadStringA(GetModuleHandleA(nullptr), id, loaded, sizeof loaded);
        EXPECT_STREQ(loaded, text) << id;
    }
}

TEST(GetWindowsVersion, PlatformVersionBuildAndServicePack)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    const String text = GetWindowsVersion();
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        text, m, std::regex(R"(Windows (32s|95|98|NT) (\d+)\.(\d\d+)\.(\d\d\d+) (.*))")))
        << text;
    EXPECT_EQ(std::stoul(m[2]), info.dwMajorVersion);
    EXPECT_EQ(std::stoul(m[3]), info.dwMinorVersion);
    EXPECT_EQ(m[5], String(info.szCSDVersion));
}

TEST(AnsiUpperFirstChar, UpperCasesTheFirstLetterByTheCodePage)
{
    EXPECT_EQ(AnsiUpperFirstChar("\xe9t\xe9"), "\xc9t\xe9");
    EXPECT_EQ(AnsiUpperFirstChar(""), "");
}
