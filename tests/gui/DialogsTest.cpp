// Common dialogs through the dialog service (scripted: no test waits on a box), the find
// dialog's notifications, the clipboard, and the printer when there is none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/Clipboard.h"
#include "framework/gui/CommonDialogs.h"
#include "framework/gui/Form.h"
#include "framework/gui/Printer.h"
#include "framework/gui/RichEdit.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/DialogScript.h"

TEST(Dialogs, ScriptedOpenDialogGivesTheChosenFileAndACancelledOneNothing)
{
    TDialogScript script;
    TOpenDialog open(nullptr);
    open.Filter = "All (*.*)|*.*|Dat file (*.dat)|*.dat";
    open.Options << ofFileMustExist;
    script.AnswerDialog([](TCommonDialog& d) {
        static_cast<TOpenDialog&>(d).FileName = "C:\\data\\x.dat";
        return true;
    });
    script.Cancel();
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "C:\\data\\x.dat");
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "C:\\data\\x.dat");
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Shown()[0].Caption, "TOpenDialog");
    EXPECT_EQ(script.Unanswered, 0);
}

TEST(Dialogs, UnscriptedCommonDialogIsCancelledAndCounted)
{
    TDialogScript script;
    TFontDialog font(nullptr);
    TPrinterSetupDialog setup(nullptr);
    EXPECT_FALSE(font.Execute());
    EXPECT_FALSE(setup.Execute());
    EXPECT_EQ(script.Unanswered, 2);
    EXPECT_EQ(script.Shown()[1].Caption, "TPrinterSetupDialog");
}

TEST(Dialogs, FindDialogIsModelessAndReportsTheFindButtonWithItsOptions)
{
    // The platform's own dialog: it appears without blocking and tells us about its button.
    TForm form(nullptr);
    form.Show();
    TFindDialog find(&form);
    find.FindText = "abc";
    find.Options << frHideUpDown << frMatchCase;
    struct Finds {
        std::vector<std::string> seen;
        void Find(TObject* s) { seen.push_back(static_cast<TFindDialog*>(s)->FindText); }
    } finds;
    find.OnFind = Closure(&finds, &Finds::Find);
    find.SetPosition(10, 20);
    ASSERT_TRUE(find.ExecutePlatform());
    ASSERT_NE(find.Handle(), nullptr);
    EXPECT_TRUE(IsWindowVisible(find.Handle()));
    // Press "Find Next" (IDOK) as the user would.
    SendMessageA(find.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(find.Handle(), IDOK)));
    PumpPending();
    EXPECT_EQ(finds.seen, std::vector<std::string>{"abc"});
    EXPECT_TRUE(find.Options.Contains(frMatchCase));
    find.CloseDialog();
    EXPECT_EQ(find.Handle(), nullptr);
}

TEST(Dialogs, ClipboardTextRoundTrip)
{
    Clipboard()->SetAsText("Bytes Out:12");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "Bytes Out:12");
}

TEST(Dialogs, PrintingWithoutAPrinterRaisesInsteadOfFailingSilently)
{
    if (!Printer()->PrinterName().empty()) GTEST_SKIP() << "a printer is installed here";
    TForm form(nullptr);
    auto* re = new TRichEdit(&form);
    re->SetParent(&form);
    re->SetText("to print");
    EXPECT_THROW(re->Print(""), EPrinter);
    EXPECT_FALSE(Printer()->Printing());
}
