// The notation converter window: typing in one edit fills the other two, keys outside its
// notation are dropped, texts put into an edit that is not the one typed in convert nothing,
// an error shows in red until the timer takes it away, and closing keeps the texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dialogs/NotationConverter.h"
#include "framework/gui/Application.h"
#include "placement/PlacementValues.h"

namespace {

class ConverterWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The window's placement goes to a private key, never the program's own.
        DefCompanyName = "QvConverterTest" + std::to_string(GetCurrentProcessId());
        form = new TOKBottomDlg(nullptr);
        form->Show();
    }
    void TearDown() override
    {
        delete form;
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + DefCompanyName).c_str());
        DefCompanyName.clear();
    }

    // Characters as the keyboard delivers them to the edit, through its key filter.
    static void Type(TEdit* Edit, const std::string& Keys)
    {
        Edit->SetFocus();
        for (char key : Keys)
            SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    // A paste: the whole text at once, in the edit the user works in.
    static void Paste(TEdit* Edit, const std::string& Text)
    {
        Edit->SetFocus();
        Edit->SetText(Text);
    }

    TOKBottomDlg* form = nullptr;
};

TEST_F(ConverterWindowTest, TypingInOneEditFillsTheOtherTwoAndKeysOutsideItsNotationAreDropped)
{
    EXPECT_EQ(form->Caption(), "Notation Converter (32-bit)");
    EXPECT_EQ(form->ClientWidth(), 415);
    EXPECT_EQ(form->ClientHeight(), 161);
    EXPECT_EQ(form->bin_lbl->Caption(), "Bin Digits: 0");

    Type(form->edt_dec, "2x5-5");
    EXPECT_EQ(form->edt_dec->Text(), "255");
    EXPECT_EQ(form->edt_hex->Text(), "FF");
    EXPECT_EQ(form->edt_binary->Text(), "1111 1111");
    EXPECT_EQ(form->bin_lbl->Caption(), "Bin Digits: 8");

    form->edt_hex->SelectAll();
    Type(form->edt_hex, "1g f");
    EXPECT_EQ(form->edt_hex->Text(), "1f");
    EXPECT_EQ(form->edt_dec->Text(), "31");
    EXPECT_EQ(form->edt_binary->Text(), "0001 1111");

    form->edt_binary->SelectAll();
    Type(form->edt_binary, "1 0000 0021");
    EXPECT_EQ(form->edt_binary->Text(), "1 0000 001");
    EXPECT_EQ(form->edt_hex->Text(), "81");
    EXPECT_EQ(form->edt_dec->Text(), "129");
    EXPECT_EQ(form->bin_lbl->Caption(), "Bin Digits: 8");
}

TEST_F(ConverterWindowTest, ATextPutIntoAnEditThatIsNotTheOneTypedInConvertsNothing)
{
    Type(form->edt_hex, "A");
    form->edt_dec->SetText("99");
    EXPECT_EQ(form->edt_hex->Text(), "A");
    EXPECT_EQ(form->edt_binary->Text(), "1010");
}

TEST_F(ConverterWindowTest, AnErrorEmptiesTheEditsAndShowsInRedUntilTheTimerTakesItAway)
{
    Type(form->edt_dec, "300");
    Paste(form->edt_dec, "12a");
    EXPECT_EQ(form->edt_dec->Text() + form->edt_hex->Text() + form->edt_binary->Text(), "");
    EXPECT_EQ(form->lblMsg->Caption(), "Error: non-decimal characters found");
    EXPECT_EQ(form->lblMsg->Font()->Color(), clRed);
    EXPECT_EQ(form->bin_lbl->Caption(), "Bin Digits: 12");
    ASSERT_TRUE(form->NotConvTmr->Enabled());
    EXPECT_EQ(form->NotConvTmr->Interval(), 4000u);

    // A good change takes the message away at once; the running timer goes on.
    Paste(form->edt_dec, "4294967296");
    EXPECT_EQ(form->edt_dec->Text(), "4294967295");
    EXPECT_EQ(form->edt_hex->Text(), "FFFFFFFF");
    EXPECT_EQ(form->lblMsg->Caption(), "Error: overflow - reduced to (max) 4294967295");

    form->NotConvTmr->OnTimer(form->NotConvTmr);
    EXPECT_EQ(form->lblMsg->Caption(), "");
    EXPECT_FALSE(form->NotConvTmr->Enabled());
}

TEST_F(ConverterWindowTest, ThirtyThreePastedDigitsAreCutTo32AndTheEditTakesNoMore)
{
    const std::string pasted = std::string(32, '1') + "0";
    Paste(form->edt_binary, pasted);
    EXPECT_EQ(form->edt_binary->Text(), std::string(32, '1'));
    EXPECT_EQ(form->edt_binary->MaxLength(), 32);
    EXPECT_EQ(form->edt_dec->Text(), "4294967295");
    EXPECT_EQ(form->lblMsg->Caption(), "Error: too many digits - truncated/compressed to 32 max.");
    Type(form->edt_binary, "1");
    EXPECT_EQ(form->edt_binary->Text(), std::string(32, '1'));
}

TEST_F(ConverterWindowTest, ClosingHidesTheWindowAndShowingAgainKeepsTheTextsButNotTheMessage)
{
    Paste(form->edt_hex, "zz");
    EXPECT_NE(form->lblMsg->Caption(), "");
    Type(form->edt_hex, "7");
    form->lblMsg->SetCaption("left over");
    form->sbtnCloseClick(form->sbtnClose);
    EXPECT_FALSE(form->Visible());
    form->Show();
    EXPECT_EQ(form->edt_dec->Text(), "7");
    EXPECT_EQ(form->lblMsg->Caption(), "");
}

}  // namespace
