// Published properties stored as text through a map, natively: every kind round-trips, the
// set and float forms, string lists, references, collections and nested objects by their
// keys, and the stored list's lines following their components.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "framework/Collections.h"
#include "framework/StringList.h"
#include "placement/PropsStorage.h"

namespace {

enum TColourName { cnRed, cnGreen, cnBlue };

class TInner : public TPersistent {
public:
    int Colour = 0;
};

class TRow : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    String Caption;
};

// One property of every kind the storage handles.
class TSample : public TComponent {
public:
    explicit TSample(TComponent* Owner) : TComponent(Owner) {}
    int Number = 0;
    char Letter = ' ';
    TColourName Colour = cnRed;
    unsigned Colours = 0;  // a set of TColourName
    double Ratio = 0;
    float Single = 0;
    String Text;
    TVariant Any;
    long long Big = 0;
    bool Flag = false;
    TStringList Lines;
    TInner Inner;
    TComponent* Buddy = nullptr;
    TCollection Rows{[](TCollection* c) -> TCollectionItem* { return new TRow(c); }};
};

void RegisterSample()
{
    static bool done = false;
    if (done) return;
    done = true;
    const std::vector<String> colours = {"cnRed", "cnGreen", "cnBlue"};
    RegisterPublished<TSample>({
        OrdProp<TSample>(
            "Number", tkInteger, [](TSample* s) { return s->Number; },
            [](TSample* s, long long v) { s->Number = int(v); }),
        OrdProp<TSample>(
            "Letter", tkChar, [](TSample* s) { return (unsigned char)s->Letter; },
            [](TSample* s, long long v) { s->Letter = char(v); }),
        OrdProp<TSample>(
            "Colour", tkEnumeration, [](TSample* s) { return s->Colour; },
            [](TSample* s, long long v) { s->Colour = TColourName(v); }, colours),
        OrdProp<TSample>(
            "Colours", tkSet, [](TSample* s) { return s->Colours; },
            [](TSample* s, long long v) { s->Colours = unsigned(v); }, colours),
        FloatProp<TSample>(
            "Ratio", ftDouble, [](TSample* s) { return s->Ratio; },
            [](TSample* s, double v) { s->Ratio = v; }),
        FloatProp<TSample>(
            "Single", ftSingle, [](TSample* s) { return s->Single; },
            [](TSample* s, double v) { s->Single = float(v); }),
        StrProp<TSample>(
            "Text", [](TSample* s) { return s->Text; },
            [](TSample* s, const String& v) { s->Text = v; }),
        VarProp<TSample>(
            "Any", [](TSample* s) { return s->Any; },
            [](TSample* s, const TVariant& v) { s->Any = v; }),
        OrdProp<TSample>(
            "Big", tkInt64, [](TSample* s) { return s->Big; },
            [](TSample* s, long long v) { s->Big = v; }),
        BoolProp<TSample>(
            "Flag", [](TSample* s) { return s->Flag; }, [](TSample* s, bool v) { s->Flag = v; }),
        ObjProp<TSample>("Lines", [](TSample* s) { return &s->Lines; }),
        ObjProp<TSample>("Inner", [](TSample* s) { return &s->Inner; }),
        ObjProp<TSample>(
            "Buddy", [](TSample* s) { return s->Buddy; },
            [](TSample* s, TObject* v) { s->Buddy = dynamic_cast<TComponent*>(v); }, true),
        ObjProp<TSample>("Rows", [](TSample* s) { return &s->Rows; }),
    });
    RegisterPublished<TInner>({OrdProp<TInner>(
        "Colour", tkInteger, [](TInner* i) { return i->Colour; },
        [](TInner* i, long long v) { i->Colour = int(v); })});
    RegisterPublished<TRow>({StrProp<TRow>(
        "Caption", [](TRow* r) { return r->Caption; },
        [](TRow* r, const String& v) { r->Caption = v; })});
}

// A key-value store: "section|key" -> text.
class TMapStorage {
public:
    String Read(const String& Section, const String& Item, const String& Default)
    {
        auto it = Values.find(Section + "|" + Item);
        return it == Values.end() ? Default : it->second;
    }
    void Write(const String& Section, const String& Item, const String& Value)
    {
        Values[Section + "|" + Item] = Value;
    }
    void Erase(const String& Section)
    {
        for (auto it = Values.begin(); it != Values.end();)
            it = it->first.rfind(Section + "|", 0) == 0 ? Values.erase(it) : std::next(it);
        Erased.push_back(Section);
    }
    std::map<String, String> Values;
    std::vector<String> Erased;
};

class PropsStorageTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterSample(); }

    void Wire(TPropsStorage& s, TObject* Object = nullptr)
    {
        s.AObject = Object;
        s.Section = "Form";
        s.OnReadString = Closure(&map, &TMapStorage::Read);
        s.OnWriteString = Closure(&map, &TMapStorage::Write);
        s.OnEraseSection = Closure(&map, &TMapStorage::Erase);
    }
    TMapStorage map;
    TComponent form{nullptr};
};

}  // namespace

TEST_F(PropsStorageTest, EveryKindRoundTripsUnderItsComponentsKey)
{
    form.Name = "Form";
    auto* s = new TSample(&form);
    s->Name = "S1";
    auto* buddy = new TComponent(&form);
    buddy->Name = "Pal";
    s->Number = -42;
    s->Letter = 'x';
    s->Colour = cnBlue;
    s->Colours = 0b101;
    s->Ratio = 0.1 + 0.2;  // needs all 17 digits to read back equal
    s->Single = 1.1f;
    s->Text = "  padded  ";
    s->Any = String("any");
    s->Big = 9000000000LL;
    s->Flag = true;
    s->Lines.SetText("one\r\ntwo\r\n");
    s->Inner.Colour = 7;
    s->Buddy = buddy;
    static_cast<TRow*>(s->Rows.Add())->Caption = "r0";
    static_cast<TRow*>(s->Rows.Add())->Caption = "r1";

    TStringList stored;
    for (const char* p : {"Number", "Letter", "Colour", "Colours", "Ratio", "Single", "Text", "Any",
                          "Big", "Flag", "Lines", "Inner", "Buddy", "Rows"})
        stored.AddObject(String("S1.") + p, s);
    TPropsStorage storage;
    Wire(storage);
    storage.StoreObjectsProps(&form, stored);

    auto& v = map.Values;
    EXPECT_EQ(v["Form|S1_Number"], "-42");
    EXPECT_EQ(v["Form|S1_Colour"], "cnBlue");
    EXPECT_EQ(v["Form|S1_Colours"], "[cnRed,cnBlue]");
    EXPECT_EQ(v["Form|S1_Ratio"], "0.30000000000000004");
    EXPECT_EQ(v["Form|S1_Single"], "1.1");
    EXPECT_EQ(v["Form|S1_Text"], "padded");  // trimmed on store
    EXPECT_EQ(v["Form|S1_Flag"], "True");
    EXPECT_EQ(v["Form.S1_Lines|Count"], "2");
    EXPECT_EQ(v["Form.S1_Lines|Item1"], "two");
    EXPECT_EQ(v["Form|S1_InnerColour"], "7");
    EXPECT_EQ(v["Form|S1_Buddy"], "Pal");
    EXPECT_EQ(v["Form|S1_Rows.Count"], "2");
    EXPECT_EQ(v["Form.S1_Rows|Item1_Caption"], "r1");

    TComponent other{nullptr};
    auto* t = new TSample(&other);
    t->Name = "S1";
    (new TComponent(&other))->Name = "Pal";
    t->Lines.Add("old");
    t->Any = String("x");  // an empty variant is not read at all
    t->Rows.Add();
    for (int i = 0; i < stored.Count(); ++i) stored.SetObjectAt(i, t);
    storage.LoadObjectsProps(&other, stored);
    EXPECT_EQ(t->Number, -42);
    EXPECT_EQ(t->Letter, 'x');
    EXPECT_EQ(t->Colour, cnBlue);
    EXPECT_EQ(t->Colours, 0b101u);
    EXPECT_EQ(t->Ratio, 0.1 + 0.2);
    EXPECT_EQ(t->Single, 1.1f);
    EXPECT_EQ(t->Text, "padded");
    EXPECT_EQ(VarToStr(t->Any), "any");
    EXPECT_EQ(t->Big, 9000000000LL);
    EXPECT_TRUE(t->Flag);
    EXPECT_EQ(t->Lines.Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(t->Inner.Colour, 7);
    EXPECT_EQ(t->Buddy, other.FindComponent("Pal"));
    ASSERT_EQ(t->Rows.Count(), 2);
    EXPECT_EQ(static_cast<TRow*>(t->Rows.Items(1))->Caption, "r1");
}

TEST_F(PropsStorageTest, SetsAndEnumerationsReadIdentifiersInAnyOrderAndCase)
{
    TSample s(nullptr);
    TPropsStorage storage;
    Wire(storage, &s);
    map.Values["Form|Colours"] = " [ cnblue , cnRED, nonsense ] ";
    map.Values["Form|Colour"] = "CNGREEN";
    storage.LoadAnyProperty(GetPropInfo(&s, "Colours"));
    storage.LoadAnyProperty(GetPropInfo(&s, "Colour"));
    EXPECT_EQ(s.Colours, 0b101u);
    EXPECT_EQ(s.Colour, cnGreen);

    map.Values["Form|Colour"] = "cnPurple";  // unknown: unchanged
    map.Values["Form|Number"] = "12abc";     // no number: 0
    s.Number = 5;
    storage.LoadAnyProperty(GetPropInfo(&s, "Colour"));
    storage.LoadAnyProperty(GetPropInfo(&s, "Number"));
    EXPECT_EQ(s.Colour, cnGreen);
    EXPECT_EQ(s.Number, 0);

    s.Colours = 0;
    storage.StoreAnyProperty(GetPropInfo(&s, "Colours"));
    EXPECT_EQ(map.Values["Form|Colours"], "[]");
}

TEST_F(PropsStorageTest, AbsentNamesKeepValuesAndABlankCharIsNotStored)
{
    TSample s(nullptr);
    s.Number = 3;
    s.Text = "kept";
    s.Letter = ' ';
    TPropsStorage storage;
    Wire(storage, &s);
    storage.LoadAnyProperty(GetPropInfo(&s, "Number"));
    storage.LoadAnyProperty(GetPropInfo(&s, "Text"));
    EXPECT_EQ(s.Number, 3);
    EXPECT_EQ(s.Text, "kept");
    storage.StoreAnyProperty(GetPropInfo(&s, "Letter"));
    EXPECT_EQ(map.Values.count("Form|Letter"), 0u);
    s.Text.clear();
    storage.StoreAnyProperty(GetPropInfo(&s, "Text"));  // an empty string is still written
    EXPECT_EQ(map.Values.count("Form|Text"), 1u);
}

TEST_F(PropsStorageTest, AnEmptyListIsStoredAsCountZeroAndEmptiesTheListOnLoad)
{
    TSample s(nullptr);
    TPropsStorage storage;
    Wire(storage, &s);
    storage.StoreAnyProperty(GetPropInfo(&s, "Lines"));
    EXPECT_EQ(map.Erased, std::vector<String>{"Form.Lines"});
    EXPECT_EQ(map.Values["Form.Lines|Count"], "0");
    s.Lines.Add("stale");
    storage.LoadAnyProperty(GetPropInfo(&s, "Lines"));
    EXPECT_EQ(s.Lines.Count(), 0);

    map.Values.clear();  // nothing stored at all: the list keeps its lines
    s.Lines.Add("mine");
    storage.LoadAnyProperty(GetPropInfo(&s, "Lines"));
    EXPECT_EQ(s.Lines.Count(), 1);
}

TEST_F(PropsStorageTest, ReferencesByOwnerAndNullAndUnknownOwnersLeaveThePropertyAlone)
{
    TComponent elsewhere(nullptr);
    elsewhere.Name = "Other";
    auto* far = new TComponent(&elsewhere);
    far->Name = "Far";
    TComponent unnamed(nullptr);  // an owner without a name is named by its class
    auto* anon = new TComponent(&unnamed);
    anon->Name = "Anon";
    TSample s(&form);
    TPropsStorage storage;
    Wire(storage, &s);
    storage.Owner = &form;
    s.Buddy = far;
    storage.StoreAnyProperty(GetPropInfo(&s, "Buddy"));
    EXPECT_EQ(map.Values["Form|Buddy"], "Other.Far");
    s.Buddy = anon;
    storage.StoreAnyProperty(GetPropInfo(&s, "Buddy"));
    EXPECT_EQ(map.Values["Form|Buddy"], "Component.Anon");
    s.Buddy = nullptr;
    storage.StoreAnyProperty(GetPropInfo(&s, "Buddy"));
    EXPECT_EQ(map.Values["Form|Buddy"], "(null)");

    FindGlobalComponent = [](std::string_view) -> TComponent* { return nullptr; };
    s.Buddy = far;
    map.Values["Form|Buddy"] = "Nowhere.Far";
    storage.LoadAnyProperty(GetPropInfo(&s, "Buddy"));
    EXPECT_EQ(s.Buddy, far);
    map.Values["Form|Buddy"] = "(NULL)";
    storage.LoadAnyProperty(GetPropInfo(&s, "Buddy"));
    EXPECT_EQ(s.Buddy, nullptr);
    FindGlobalComponent = nullptr;
}

TEST_F(PropsStorageTest, StoredLinesFollowTheirComponentsAndDropWhatIsGone)
{
    auto* edit = new TComponent(&form);
    edit->Name = "Edit1";
    TStringList lines;
    lines.Add("Edit1.Text");
    lines.Add("Gone.Text");
    lines.Add("NoDot");
    lines.Add(" Edit1 . Tag ");
    UpdateStoredList(&form, lines, true);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Objects(0), edit);
    edit->Name = "Edit2";
    UpdateStoredList(&form, lines, false);
    EXPECT_EQ(lines[0], "Edit2.Text");
    EXPECT_EQ(lines[1], "Edit2.Tag");

    String comp, prop;
    EXPECT_FALSE(ParseStoredItem("Edit1.", comp, prop));
    EXPECT_EQ(CreateStoredItem("", "Text"), "");
}
