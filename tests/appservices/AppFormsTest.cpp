// The application form services on real forms: finding and creating by class and caption,
// modal dialogs by class, the MDI children and grid layouts through an INI file in a private
// temporary folder (on a real MDI frame, with stand-in grids), broadcasting, the caption bits
// and the library's cursors.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Screen.h"
#include "placement/LayoutStorage.h"
#include "util/AppForms.h"

// The form classes live outside any unnamed namespace: the MDI list stores ClassName(), which
// would carry the namespace's name.
std::vector<String> created;  // class names, in the order forms were made
int dialogResult = mrNone;
constexpr UINT EndDialogMessage = WM_APP + 7;

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* Owner) : TForm(Owner)
    {
        created.push_back(ClassName());
        OnShow = Closure(this, &TTestForm::FormShow);
    }
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == EndDialogMessage) {
            ModalResult = dialogResult;
            return;
        }
        if (Message.Msg == WM_USER + 1) broadcastSeen.push_back(this);
        TForm::Dispatch(Message);
    }
    // A modal showing ends itself with the result the test chose.
    void FormShow(TObject*)
    {
        if (Modal()) PostMessageA(Handle(), EndDialogMessage, 0, 0);
    }
    static inline std::vector<TForm*> broadcastSeen;
};

// Inside a base constructor ClassName() is the base's: the most derived one corrects it.
class TAlphaForm : public TTestForm {
public:
    explicit TAlphaForm(TComponent* Owner) : TTestForm(Owner) { created.back() = ClassName(); }
};

class TBetaForm : public TTestForm {
public:
    explicit TBetaForm(TComponent* Owner) : TTestForm(Owner) { created.back() = ClassName(); }
};

class TGammaForm : public TTestForm {
public:
    explicit TGammaForm(TComponent* Owner) : TTestForm(Owner) { created.back() = ClassName(); }
};

namespace {

const TFormClass AnyTestForm = FormClassOf<TTestForm>("TTestForm");
const TFormClass Alpha = FormClassOf<TAlphaForm>("TAlphaForm");
const TFormClass Beta = FormClassOf<TBetaForm>("TBetaForm");
const TFormClass Gamma = FormClassOf<TGammaForm>("TGammaForm");

class TFakeGrid : public TComponent, public IGridColumns {
public:
    explicit TFakeGrid(std::vector<int> Widths) : TComponent(nullptr), widths(std::move(Widths))
    {
        Name = "Grid1";
    }
    std::vector<int> widths;
    int ColCount() const override { return static_cast<int>(widths.size()); }
    int ColWidths(int Index) const override { return widths[Index]; }
    void SetColWidths(int Index, int Width) override { widths[Index] = Width; }
};

class AppForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        created.clear();
        TTestForm::broadcastSeen.clear();
        folder = std::filesystem::temp_directory_path() /
                 ("qv_appforms_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        iniName = (folder / "layout.ini").string();
    }
    void TearDown() override
    {
        for (TForm* form : ScreenForms()) delete form;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
    String iniName;
};

}  // namespace

TEST_F(AppForms, FindOrCreateShowFormMatchesClassAndCaption)
{
    TForm* one = FindOrCreateShowForm(Alpha, "One", false);
    EXPECT_EQ(one->Caption(), "One");
    EXPECT_TRUE(one->Visible());
    EXPECT_EQ(FindOrCreateShowForm(Alpha, "One", false), one);
    TForm* two = FindOrCreateShowForm(Alpha, "Two", false);
    EXPECT_NE(two, one);
    EXPECT_EQ(FindOrCreateShowForm(Alpha, "", false), one);
    EXPECT_EQ(created.size(), 2u);

    EXPECT_EQ(FindForm(Beta), nullptr);
    TForm* beta = FindOrCreateShowForm(Beta, "", false);
    EXPECT_EQ(FindForm(Beta), beta);
    EXPECT_EQ(FindForm(AnyTestForm), one);  // derived classes count; the first in the list wins

    beta->SetWindowState(wsMinimized);
    FindOrCreateShowForm(Beta, "", false);
    EXPECT_EQ(beta->WindowState(), wsMinimized);
    EXPECT_EQ(FindShowForm(Beta, ""), beta);
    EXPECT_EQ(beta->WindowState(), wsNormal);

    TForm* reference = nullptr;
    TForm* made = InstantiateForm(Gamma, reference);
    EXPECT_EQ(reference, made);
    EXPECT_EQ(InstantiateForm(Gamma, reference), made);
    EXPECT_FALSE(made->Visible());
}

TEST_F(AppForms, ShowDialogIsTrueOnlyForOkAndYesAndFreesTheForm)
{
    for (auto [result, expected] : {std::pair{mrOk, true}, std::pair{mrYes, true},
                                    std::pair{mrCancel, false}, std::pair{mrNo, false}}) {
        dialogResult = result;
        EXPECT_EQ(ShowDialog(Beta), expected) << result;
        EXPECT_EQ(FindForm(Beta), nullptr);
    }
    EXPECT_EQ(created.size(), 4u);
}

TEST_F(AppForms, MdiChildrenAreStoredByClassAndReopenedInReverseSkippingUnknownOnes)
{
    RegisterFormClass(Alpha);
    RegisterFormClass(Beta);
    UnRegisterFormClass("TGammaForm");
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->Show();
    TAlphaForm a(nullptr);
    TGammaForm g(nullptr);
    TBetaForm b(nullptr);
    for (TForm* child : std::initializer_list<TForm*>{&b, &g, &a}) {
        child->SetFormStyle(fsMDIChild);
        child->Show();  // each shown comes on top
    }
    {
        TIniFile ini(iniName);
        ini.WriteString("MDI Children", "Item7", "stale");
        SaveMDIChildren(main, &ini);
        EXPECT_EQ(ini.ReadSection("MDI Children"),
                  (std::vector<String>{"Count", "Item0", "Item1", "Item2"}));
        EXPECT_EQ(ini.ReadString("MDI Children", "Item0", ""), "TAlphaForm");
        EXPECT_EQ(ini.ReadString("MDI Children", "Item1", ""), "TGammaForm");
    }
    created.clear();
    TIniFile ini(iniName);
    RestoreMDIChildren(main, &ini);
    EXPECT_EQ(created, (std::vector<String>{"TBetaForm", "TAlphaForm"}));
    EXPECT_EQ(Screen->Cursor(), crDefault);

    TForm plain(nullptr);
    for (TForm* notMdi : {&plain, static_cast<TForm*>(nullptr)}) {
        try {
            SaveMDIChildren(notMdi, &ini);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidOperation& e) {
            EXPECT_STREQ(e.what(), "Cannot create form. No MDI forms are currently active");
        }
        EXPECT_THROW(RestoreMDIChildren(notMdi, &ini), EInvalidOperation);
    }
}

TEST_F(AppForms, GridLayoutRoundTripsAndKeepsWidthsNotStored)
{
    TIniFile ini(iniName);
    TFakeGrid saved({40, 55, 70});
    SaveGridLayout(saved, &ini);
    EXPECT_EQ(ini.ReadString("Grid1", "Item2", ""), "70");
    TFakeGrid restored({1, 2, 3, 99});
    RestoreGridLayout(restored, &ini);
    EXPECT_EQ(restored.widths, (std::vector<int>{40, 55, 70, 99}));
}

TEST_F(AppForms, BroadcastReachesEveryFormInListOrderCreatingWindows)
{
    auto* first = new TAlphaForm(Application);
    auto* second = new TBetaForm(Application);
    ASSERT_FALSE(first->HandleAllocated());
    AppBroadcast(WM_USER + 1, 0, 0);
    EXPECT_EQ(TTestForm::broadcastSeen, (std::vector<TForm*>{first, second}));
}

TEST_F(AppForms, TaskbarIconsSwitchTheCaptionBits)
{
    TForm* form = FindOrCreateShowForm(Alpha, "", false);
    AppTaskbarIcons(false, form->Handle());
    EXPECT_EQ(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);
    AppTaskbarIcons(true, form->Handle());
    EXPECT_EQ(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST(LibraryCursors, LoadUnderTheirNumbersOnce)
{
    const HCURSOR arrow = Screen->Cursors(crDefault);
    InstallLibraryCursors();
    const HCURSOR hand = Screen->Cursors(LibHandCursor);
    const HCURSOR drag = Screen->Cursors(LibDragCursor);
    ASSERT_NE(hand, arrow);
    ASSERT_NE(drag, arrow);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    InstallLibraryCursors();
    EXPECT_EQ(Screen->Cursors(LibHandCursor), hand);
}
