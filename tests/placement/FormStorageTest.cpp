// TFormStorage on a real form and a private registry key: stored control properties and named
// values come back on the next show, a keyed value is hex on disk, an absent name keeps the
// value, a removed component's lines go, duplicate value names are refused, form data names
// the components as they are named now.
#include <gtest/gtest.h>

#include "framework/gui/Application.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "placement/FormStorage.h"
#include "placement/PlacementTexts.h"
#include "tests/placement/PlacementTestSupport.h"
#include "util/XorStrings.h"

class TStoredForm : public TForm {
public:
    TEdit* Edit1;
    TCheckBox* CheckBox1;
    TFormStorage* FormStorage1;
    TStoredValue* Secret;
    TStoredValue* Plain;

    explicit TStoredForm(const String& Key) : TForm(nullptr)
    {
        Edit1 = new TEdit(this);
        Edit1->Name = "Edit1";
        Edit1->SetParent(this);
        CheckBox1 = new TCheckBox(this);
        CheckBox1->Name = "CheckBox1";
        CheckBox1->SetParent(this);
        FormStorage1 = new TFormStorage(this);
        FormStorage1->BeginLoading();
        FormStorage1->UseRegistry = true;
        FormStorage1->SetIniFileName(Key);
        FormStorage1->StoredProps()->Add("Edit1.Text");
        FormStorage1->StoredProps()->Add("CheckBox1.Checked");
        FormStorage1->StoredProps()->Add("Edit1.Font");
        Secret = FormStorage1->StoredValues()->AddValue();
        Secret->SetName("Password");
        Secret->KeyString = "k3y";
        Plain = FormStorage1->StoredValues()->AddValue();
        Plain->SetName("Note");
        FormStorage1->EndLoading();
        DoCreate();
    }
};

namespace {

class FormStorageTest : public ::testing::Test {
protected:
    TPrivateKey key;
};

}  // namespace

TEST_F(FormStorageTest, PropertiesAndValuesComeBackAndAKeyedValueIsHexOnDisk)
{
    {
        TStoredForm form(key.Path);
        form.Show();
        form.Edit1->SetText("typed");
        form.CheckBox1->SetChecked(true);
        form.Edit1->Font()->SetSize(14);
        form.Secret->Value = String("hunter2");
        form.Plain->Value = String("two\r\nlines");
        form.Close();
    }
    EXPECT_EQ(key.Read("TStoredForm", "Edit1_Text"), "typed");
    EXPECT_EQ(key.Read("TStoredForm", "CheckBox1_Checked"), "True");
    EXPECT_EQ(key.Read("TStoredForm", "Edit1_FontSize"), "14");
    EXPECT_EQ(key.Read("TStoredForm", "Password"), XorEncode("k3y", "hunter2"));
    EXPECT_EQ(key.Read("TStoredForm", "Password").find("hunter"), String::npos);
    EXPECT_EQ(key.Read("TStoredForm", "Note"), "two\r\nlines");

    TStoredForm form(key.Path);
    form.Plain->Value = String("mine");
    key.Write("TStoredForm", "Note", "");  // stored empty: read back as empty
    form.Show();
    EXPECT_EQ(form.Edit1->Text(), "typed");
    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_EQ(form.Edit1->Font()->Size(), 14);
    EXPECT_EQ(VarToStr(form.Secret->Value), "hunter2");
    EXPECT_EQ(VarToStr(form.Plain->Value), "");
}

TEST_F(FormStorageTest, FormDataListsTheStoredPropertiesUnderTheComponentsCurrentNames)
{
    TStoredForm form(key.Path);
    form.Edit1->Name = "NameEdit";
    TMemoryFormData data(&form);
    form.FormStorage1->WriteState(data.Storage);
    EXPECT_EQ(data.Values["Data.StoredProps.Count"], "3");
    EXPECT_EQ(data.Values["Data.StoredProps.Item0"], "NameEdit.Text");
    EXPECT_EQ(data.Values["Data.StoredProps.Item2"], "NameEdit.Font");
    EXPECT_EQ(data.Values["Data.UseRegistry"], "True");
}

TEST_F(FormStorageTest, AnAbsentNameKeepsTheValueAndARemovedComponentsLinesGo)
{
    TStoredForm form(key.Path);
    form.Plain->Value = String("default");
    form.Edit1->SetText("design");
    form.Show();  // nothing stored yet
    EXPECT_EQ(VarToStr(form.Plain->Value), "default");
    EXPECT_EQ(form.Edit1->Text(), "design");

    EXPECT_EQ(form.FormStorage1->StoredProps()->Count(), 3);
    delete form.CheckBox1;
    ASSERT_EQ(form.FormStorage1->StoredProps()->Count(), 2);
    EXPECT_EQ(form.FormStorage1->StoredProps()->Strings(1), "Edit1.Font");
}

TEST_F(FormStorageTest, DuplicateValueNamesAreRefusedIgnoringCase)
{
    TStoredForm form(key.Path);
    TStoredValue* extra = form.FormStorage1->StoredValues()->AddValue();
    try {
        extra->SetName("NOTE");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, PlacementText::DuplicateName);
    }
    EXPECT_EQ(extra->Name(), "");
    form.Plain->SetName("note");  // its own name in another case is no duplicate
    EXPECT_EQ(form.FormStorage1->StoredValues()->GetValue("NOTE"), form.Plain);
    EXPECT_EQ(form.FormStorage1->StoredValues()->GetValue("missing"), nullptr);
}
