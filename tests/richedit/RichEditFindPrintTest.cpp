// The editor control's find and replace (dialog events driven as the dialogs fire them),
// printing into an enhanced metafile, the notifications with links, and embedded objects as
// far as Wine's rich edit and OLE let them run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/GuiTestSupport.h"
#include "tests/support/DialogScript.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/OleForm.h"
#include "framework/gui/Timer.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditOle.h"
#include "tests/support/DialogScript.h"

namespace {

// Records what the control's events report.
class TEventLog : public TObject {
public:
    void Changed(TObject*) { ++changes; }
    void SelectionChanged(TObject*) { ++selectionChanges; }
    void NotFound(TObject*, const String& text) { notFound.push_back(text); }
    void Clicked(TObject*, const String& url, TMouseButton button)
    {
        clicks.push_back(url);
        buttons.push_back(button);
    }
    void AllowProtected(TObject*, int, int, bool& allow) { allow = true; }
    void Resize(TObject*, TRect& r) { resized = r; }
    void DialogClosed(TObject*, TFindDialog* dialog) { closed = dialog; }
    TFindDialog* closed = nullptr;
    int changes = 0, selectionChanges = 0;
    std::vector<String> notFound, clicks;
    std::vector<TMouseButton> buttons;
    TRect resized;
};

// A print target on an enhanced metafile: counts the pages instead of printing them.
class TMetafileTarget : public TRichPrintTarget {
public:
    TMetafileTarget(int width, int height) : width_(width), height_(height) {}
    ~TMetafileTarget() override
    {
        if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    }
    HDC Handle() override { return dc_; }
    int PageWidth() override { return width_; }
    int PageHeight() override { return height_; }
    void BeginDoc(const String& title) override
    {
        Title = title;
        dc_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        Pages = 1;
    }
    void NewPage() override
    {
        ++Pages;
        // A runaway loop is cut short here rather than by the test's time-out.
        if (Pages > 1000) throw Exception(String("runaway printing"));
    }
    void EndDoc() override { Ended = true; }
    void Abort() override { Aborted = true; }
    String Title;
    int Pages = 0;
    bool Ended = false, Aborted = false;

private:
    HDC dc_ = nullptr;
    int width_, height_;
};

class RichEditFindPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 400);
        re = new TQvRichEdit(form.get());
        re->SetParent(form.get());
        re->SetBounds(10, 10, 400, 300);
        form->Show();
        PumpPending();
        re->OnTextNotFound = TRichEditFindErrorEvent(&log, &TEventLog::NotFound);
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
    }
    std::unique_ptr<TForm> form;
    TQvRichEdit* re = nullptr;
    TEventLog log;
    TDialogScript script;  // the modeless dialogs are recorded, never shown
};

TEST_F(RichEditFindPrintTest, FindStepsFromHitToHitForwardAndBackward)
{
    re->SetText("one two one two one");
    re->SetSelection(0, 0, false);
    TFindDialog* dialog = re->FindDialog("one");
    ASSERT_EQ(script.Last().Caption, "TFindDialog");
    std::vector<int> hits;
    for (int i = 0; i < 3; ++i) {
        dialog->DoFind();
        hits.push_back(re->SelStart());
    }
    EXPECT_EQ(hits, (std::vector<int>{0, 8, 16}));
    EXPECT_EQ(re->SelLength(), 3);
    dialog->DoFind();
    EXPECT_EQ(log.notFound, std::vector<String>{"one"});

    dialog->Options >> frDown;
    hits.clear();
    for (int i = 0; i < 2; ++i) {
        dialog->DoFind();
        hits.push_back(re->SelStart());
    }
    EXPECT_EQ(hits, (std::vector<int>{8, 0}));
    EXPECT_TRUE(re->CanFindNext());
    EXPECT_FALSE(re->FindNext());
    EXPECT_EQ(log.notFound.size(), 2u);

    re->OnCloseFindDialog = TRichEditFindCloseEvent(&log, &TEventLog::DialogClosed);
    dialog->Notify(FR_DIALOGTERM);
    EXPECT_EQ(log.closed, dialog);
}

TEST_F(RichEditFindPrintTest, EmptyFindTextNeverMatchesNorBecomesTheLastDialog)
{
    re->SetText("abc");
    TFindDialog* dialog = re->FindDialog("");
    dialog->DoFind();
    EXPECT_EQ(log.notFound.size(), 1u);
    EXPECT_FALSE(re->CanFindNext());
    EXPECT_FALSE(re->FindNext());
    EXPECT_EQ(re->FindText("", 0, 3, {}), -1);
}

TEST_F(RichEditFindPrintTest, ReplaceAllGivesOneChangeAndOneSelectionChangeOrOneNotFound)
{
    re->SetText("a cat and a cat and a CAT");
    re->SetSelection(0, 0, false);
    re->OnChange = TNotifyEvent(&log, &TEventLog::Changed);
    re->OnSelectionChange = TNotifyEvent(&log, &TEventLog::SelectionChanged);
    TReplaceDialog* dialog = re->ReplaceDialog("cat", "dog");
    dialog->Options << frReplaceAll;
    PumpPending();
    log.changes = log.selectionChanges = 0;
    dialog->DoReplace();
    EXPECT_EQ(re->Text(), "a dog and a dog and a dog");
    EXPECT_EQ(log.changes, 1);
    EXPECT_EQ(log.selectionChanges, 1);
    EXPECT_TRUE(log.notFound.empty());
    EXPECT_TRUE(re->OnSelectionChange);  // put back after the run

    log.changes = log.selectionChanges = 0;
    re->SetSelection(0, 0, false);
    log.selectionChanges = 0;
    dialog->FindText = "zebra";
    dialog->DoReplace();
    EXPECT_EQ(log.notFound, std::vector<String>{"zebra"});
    EXPECT_EQ(log.changes, 0);

    // An empty find text ends at once instead of replacing in place for ever.
    dialog->FindText = "";
    dialog->DoReplace();
    EXPECT_EQ(log.notFound.size(), 2u);
    EXPECT_EQ(re->Text(), "a dog and a dog and a dog");
}

TEST_F(RichEditFindPrintTest, SingleReplaceReplacesOnlyTheSelectedMatchThenSelectsTheNext)
{
    re->SetText("cat cat");
    re->SetSelection(0, 0, false);
    TReplaceDialog* dialog = re->ReplaceDialog("cat", "dog");
    dialog->Options << frReplace;
    dialog->DoReplace();  // nothing selected yet: the first hit is only shown
    EXPECT_EQ(re->Text(), "cat cat");
    EXPECT_EQ(re->SelStart(), 0);
    EXPECT_EQ(re->SelLength(), 3);
    dialog->DoReplace();
    EXPECT_EQ(re->Text(), "dog cat");
    EXPECT_EQ(re->SelStart(), 4);
    EXPECT_EQ(re->SelText(), "cat");
}

TEST_F(RichEditFindPrintTest, LinksFireOnlyForTheSameButtonDownAndUpOnOneRange)
{
    re->SetText("go http://a.example/ or http://b.example/ now");
    re->OnURLClick = TRichEditURLClickEvent(&log, &TEventLog::Clicked);
    auto link = [&](UINT msg, LONG from, LONG to) {
        ENLINK n{};
        n.nmhdr.hwndFrom = re->Handle();
        n.nmhdr.code = EN_LINK;
        n.msg = msg;
        n.chrg = {from, to};
        re->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    };
    link(WM_LBUTTONDOWN, 3, 20);
    link(WM_LBUTTONUP, 3, 20);
    EXPECT_EQ(log.clicks, std::vector<String>{"http://a.example/"});
    link(WM_LBUTTONDOWN, 3, 20);
    link(WM_LBUTTONUP, 24, 41);  // released over the other link
    link(WM_LBUTTONUP, 3, 20);   // the press was used up
    link(WM_RBUTTONDOWN, 24, 41);
    link(WM_LBUTTONUP, 24, 41);  // another button
    link(WM_MOUSEMOVE, 24, 41);
    EXPECT_EQ(log.clicks.size(), 1u);
    link(WM_RBUTTONDOWN, 24, 41);
    link(WM_RBUTTONUP, 24, 41);
    EXPECT_EQ(log.clicks.back(), "http://b.example/");
    EXPECT_EQ(log.buttons.back(), mbRight);
}

TEST_F(RichEditFindPrintTest, RealClickOnADetectedUrlReportsItsText)
{
    // The handler records the link; nothing is launched (opening it is the application's).
    re->OnURLClick = TRichEditURLClickEvent(&log, &TEventLog::Clicked);
    re->SetText("see http://example.com/page here");
    PumpPending();
    const TPoint p = re->GetCharPos(10);
    ClickAt(re->Handle(), p.x + 1, p.y + 4);
    PumpPending();
    ASSERT_EQ(log.clicks.size(), 1u);
    EXPECT_EQ(log.clicks[0], "http://example.com/page");
    EXPECT_EQ(log.buttons[0], mbLeft);
}

TEST_F(RichEditFindPrintTest, ProtectedChangesAreRefusedUnlessAHandlerAllowsThem)
{
    ENPROTECTED n{};
    n.nmhdr.code = EN_PROTECTED;
    n.msg = WM_CHAR;
    n.chrg = {0, 1};
    EXPECT_EQ(re->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&n)), 1);
    re->OnProtectChange = TRichEditProtectChange(&log, &TEventLog::AllowProtected);
    EXPECT_EQ(re->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&n)), 0);

    ENSAVECLIPBOARD s{};
    s.nmhdr.code = EN_SAVECLIPBOARD;
    EXPECT_EQ(re->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&s)), 0);  // kept by default

    re->OnResizeRequest = TRichEditResizeEvent(&log, &TEventLog::Resize);
    REQRESIZE r{};
    r.nmhdr.code = EN_REQUESTRESIZE;
    r.rc = {1, 2, 300, 40};
    re->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(log.resized.Bottom, 40);
}

// Wine's rich edit answers EM_FORMATRANGE with 0 always (a stub), so the page loop is driven
// here by a layer over the control's window that formats a fixed number of characters a
// page, or none at all.
struct TFakePages {
    static inline WNDPROC next = nullptr;
    static inline int charsPerPage = 0;
    static inline std::vector<RECT> pages;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        if (msg == EM_FORMATRANGE && l) {
            const auto* range = reinterpret_cast<const FORMATRANGE*>(l);
            pages.push_back(range->rc);
            const int length = GetWindowTextLengthA(h);
            return std::min<LRESULT>(range->chrg.cpMin + charsPerPage, length);
        }
        return CallWindowProcA(next, h, msg, w, l);
    }
    explicit TFakePages(HWND h, int perPage) : window(h)
    {
        charsPerPage = perPage;
        pages.clear();
        next = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~TFakePages() { SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next)); }
    HWND window;
};

TEST_F(RichEditFindPrintTest, EmptyTextPrintsOnePage)
{
    TMetafileTarget empty(800, 1000);
    re->PrintTo(empty, "Notes");
    EXPECT_EQ(empty.Pages, 1);
    EXPECT_TRUE(empty.Ended);
    EXPECT_EQ(empty.Title, "Notes");
}

TEST_F(RichEditFindPrintTest, LongTextPrintsPageByPageOnTheWholePageOrThePrintRect)
{
    re->SetText(String(2890, 'x'));
    TMetafileTarget target(800, 1000);
    {
        TFakePages fake(re->Handle(), 1000);
        re->PrintTo(target, "Long");
    }
    EXPECT_EQ(target.Pages, 3);
    ASSERT_EQ(TFakePages::pages.size(), 3u);
    const int logY = GetDeviceCaps(target.Handle(), LOGPIXELSY);
    EXPECT_EQ(TFakePages::pages[0].bottom, 1000 * 1440 / logY);  // twips

    re->PrintRect = TRect{10, 20, 400, 500};
    TMetafileTarget inRect(800, 1000);
    {
        TFakePages fake(re->Handle(), 2000);
        re->PrintTo(inRect, "Rect");
    }
    EXPECT_EQ(inRect.Pages, 2);
    EXPECT_EQ(TFakePages::pages[0].top, 20 * 1440 / logY);
    EXPECT_EQ(TFakePages::pages[0].bottom, 500 * 1440 / logY);
}

TEST_F(RichEditFindPrintTest, PrintingEndsWhenAPageTakesNoText)
{
    re->SetText("some text that will not fit");
    TMetafileTarget target(800, 1000);
    {
        TFakePages fake(re->Handle(), 0);  // a page too small for one line
        re->PrintTo(target, "Stuck");
    }
    EXPECT_TRUE(target.Ended);
    EXPECT_FALSE(target.Aborted);
    EXPECT_EQ(target.Pages, 1);
}

BOOL CALLBACK CountVisible(HWND h, LPARAM counter)
{
    if (IsWindowVisible(h)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int TopLevelWindowsOfThisThread()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(RichEditFindPrintTest, WithObjectsNotAllowedTheObjectDialogsReturnFalseAndShowNothing)
{
    re->SetAllowObjects(false);
    EXPECT_EQ(re->OleInterface(), nullptr);
    const int windows = TopLevelWindowsOfThisThread();
    EXPECT_FALSE(re->InsertObjectDialog());
    EXPECT_FALSE(re->PasteSpecialDialog());
    EXPECT_FALSE(re->ObjectPropertiesDialog());
    re->CloseObjects();
    EXPECT_EQ(TopLevelWindowsOfThisThread(), windows);
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(RichEditFindPrintTest, WithObjectsAllowedTheWindowTakesTheCallbackAndGivesItsOleInterface)
{
    re->SetText("text survives the switch");
    re->SetAllowObjects(false);
    re->SetAllowObjects(true);  // made again, with objects
    ASSERT_NE(re->OleInterface(), nullptr);
    EXPECT_EQ(re->Text(), "text survives the switch");
    EXPECT_GT(re->OleCallback()->RefCount(), 0u);
    EXPECT_EQ(re->OleInterface()->GetObjectCount(), 0);
    re->SetTitle("User notes");

    IStorage* storage = nullptr;
    ASSERT_EQ(re->OleCallback()->GetNewStorage(&storage), S_OK);
    ASSERT_NE(storage, nullptr);
    IStream* stream = nullptr;
    EXPECT_EQ(storage->CreateStream(L"probe", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                    0, 0, &stream),
              S_OK);
    if (stream) stream->Release();
    storage->Release();

    // In place, the form is the frame, with its main menu's shortcuts as accelerators.
    auto* menu = new TMainMenu(form.get());
    NewMenuItem(form.get(), NewMenuItem(form.get(), menu->Items(), "&File"), "&Save", nullptr,
                ShortCut('S', TShiftState{ssCtrl}));
    form->SetMenu(menu);
    OLEINPLACEFRAMEINFO info{};
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    ASSERT_EQ(re->OleCallback()->GetInPlaceContext(&frame, &document, &info), S_OK);
    TOleForm* ole = TOleForm::Of(form.get(), false);
    EXPECT_EQ(frame, static_cast<IOleInPlaceFrame*>(ole));
    EXPECT_EQ(info.hwndFrame, form->Handle());
    EXPECT_FALSE(info.fMDIApp);
    EXPECT_EQ(info.cAccelEntries, 1u);
    EXPECT_EQ(re->OleCallback()->ShowContainerUI(FALSE), S_OK);  // the object takes over
    EXPECT_EQ(ole->ActiveOleControl(), re);
    EXPECT_EQ(re->OleCallback()->ShowContainerUI(TRUE), S_OK);
    EXPECT_EQ(ole->ActiveOleControl(), nullptr);
    re->AllowInPlace = false;
    EXPECT_EQ(re->OleCallback()->GetInPlaceContext(&frame, &document, &info), E_NOTIMPL);
    EXPECT_EQ(frame, nullptr);
    re->Clear();  // closes the (no) objects, then empties the text
    EXPECT_EQ(re->Text(), "");
}

// A class of objects known only by its registry entries (no server), where the object below
// reads its name and verbs as the system's handler would. Removed again with the guard.
constexpr CLSID ProbeClass = {
    0x5A1C3E70, 0x1111, 0x4D2E, {0x9A, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
constexpr const char* ProbeKey = "CLSID\\{5A1C3E70-1111-4D2E-9A11-223344556677}";
struct TProbeClass {
    TProbeClass()
    {
        Set("", "Probe Object");
        Set("\\Verb\\0", "&Open,0,2");  // 2: on the container's menu
        Set("\\Verb\\1", "&Edit,0,2");
        Set("\\Verb\\2", "&Hidden,0,0");
    }
    ~TProbeClass() { RegDeleteTreeA(HKEY_CLASSES_ROOT, ProbeKey); }
    static void Set(const String& sub, const String& value)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, (ProbeKey + sub).c_str(), REG_SZ, value.c_str(),
                     static_cast<DWORD>(value.size()));
    }
};

// An object of the probe class that notes the verbs it is asked to run (Wine's own handler
// of a class without a server runs none); it frees itself with its last reference.
class TVerbSpy : public IOleObject {
public:
    std::vector<LONG> Run;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IOleObject ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND,
                                     LPCRECT) override
    {
        Run.push_back(verb);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override
    {
        return OleRegEnumVerbs(ProbeClass, verbs);
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* name) override
    {
        return OleRegGetUserType(ProbeClass, form, name);
    }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override
    {
        *id = ProbeClass;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    ULONG refs = 1;
};

std::vector<String> Captions(TMenuItem* parent)
{
    std::vector<String> captions;
    for (int i = 0; i < parent->Count(); ++i) captions.push_back(parent->Items(i)->Caption());
    return captions;
}

TEST_F(RichEditFindPrintTest, TheSelectedObjectsVerbsAndPropertiesJoinTheContextMenu)
{
    TProbeClass probe;
    re->SetText("ab");
    IStorage* storage = nullptr;
    ASSERT_EQ(re->OleCallback()->GetNewStorage(&storage), S_OK);
    IOleClientSite* site = nullptr;
    re->OleInterface()->GetClientSite(&site);
    auto* object = new TVerbSpy;  // the control keeps it alive
    REOBJECT record{sizeof(REOBJECT), 1, ProbeClass, object, storage, site};
    record.dvaspect = DVASPECT_CONTENT;
    ASSERT_EQ(re->OleInterface()->InsertObject(&record), S_OK);
    object->Release();
    site->Release();
    storage->Release();
    re->SetSelection(1, 2, false);

    // No popup menu of its own: a right click pops up the verbs, up to the first kept off the
    // menu, under the properties item.
    struct Menus {
        void Close(TObject*) { EndMenu(); }
    } menus;
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = TNotifyEvent(&menus, &Menus::Close);
    SendMessageA(re->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(re->Handle()),
                 MAKELPARAM(20, 20));
    TPopupMenu* verbs = re->ObjectVerbMenu();
    ASSERT_NE(verbs, nullptr);
    EXPECT_EQ(verbs->PopupComponent, re);
    EXPECT_EQ(Captions(verbs->Items()),
              (std::vector<String>{"Probe Object Properties", "&Open", "&Edit"}));
    EXPECT_TRUE(verbs->Items()->Items(1)->Default());
    verbs->Items()->Items(2)->Click();
    verbs->Items()->Items(1)->Click();
    EXPECT_EQ(object->Run, (std::vector<LONG>{1, 0}));  // each item runs its own verb

    // With a popup menu of its own (asked twice, as two right clicks would), the object's
    // items follow once.
    auto* own = new TPopupMenu(form.get());
    NewMenuItem(form.get(), own->Items(), "Copy");
    re->SetPopupMenu(own);
    re->GetPopupMenu();
    EXPECT_EQ(re->GetPopupMenu(), own);
    EXPECT_EQ(Captions(own->Items()),
              (std::vector<String>{"Copy", "-", "Probe Object Properties", "Probe Object"}));
    EXPECT_EQ(Captions(own->Items()->Items(3)), (std::vector<String>{"&Open", "&Edit"}));

    // Wine has no object properties sheet: its stub is reached and says so.
    EXPECT_FALSE(re->ObjectPropertiesDialog());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
}

}  // namespace
