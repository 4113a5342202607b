// The main window's placement under a private registry key: maximized on the first run, its
// rectangle and state stored on close and restored on the next start.
#include "tests/support/MainWindowHarness.h"

namespace mainwindow_test {
namespace {

using MainWindowTest = qv::test::MainWindowHarness;

std::string StoredValue(const std::string& key, const char* name)
{
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    return buffer;
}

TEST_F(MainWindowTest, OpensMaximizedFirstAndReopensWhereTheUserLeftIt)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    StartMainWindow();
    EXPECT_TRUE(Form1->FormPlacement1->UseRegistry);
    EXPECT_EQ(Form1->FormPlacement1->IniFileName(), PlacementCompanyKey() + "\\quorvalink");
    const std::string key = PlacementCompanyKey() + "\\quorvalink\\TForm1";

    Form1->Show();
    EXPECT_TRUE(IsZoomed(Form1->Handle()));
    EXPECT_EQ(StoredValue(key, "FormVersion"), "<none>");
    Form1->SetWindowState(wsNormal);
    Form1->SetBounds(30, 40, 700, 500);
    ASSERT_TRUE(Form1->CloseQuery());
    EXPECT_EQ(StoredValue(key, "ShowCmd"), "1");
    EXPECT_EQ(StoredValue(key, "NormPos"), "30,40,730,540");

    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    StartMainWindow();
    Form1->Show();
    EXPECT_FALSE(IsZoomed(Form1->Handle()));
    EXPECT_EQ(Form1->Left(), 30);
    EXPECT_EQ(Form1->Top(), 40);
    EXPECT_EQ(Form1->Width(), 700);
    EXPECT_EQ(Form1->Height(), 500);
}

}  // namespace
}  // namespace mainwindow_test
