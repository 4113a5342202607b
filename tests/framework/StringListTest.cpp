// String lists: text splitting and joining, sorted insertion, change events; TList.
#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "framework/List.h"
#include "framework/Streams.h"
#include "framework/StringList.h"

TEST(StringList, SetTextSplitsAtCrLfLfAndLoneCrWithoutATrailingEmptyLine)
{
    TStringList l;
    l.SetText("a\r\nb\nc\rd\r\n");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[3], "d");
    l.SetText("a\n\nb");
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l[1], "");
    l.SetText("\r\n");
    EXPECT_EQ(l.Count(), 1);
    EXPECT_EQ(l.Text(), "\r\n");
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
    l.SetText("x\r\ny");
    EXPECT_EQ(l.Text(), "x\r\ny\r\n");
}

TEST(StringList, SortedListInsertsInOrderAndHonoursDuplicates)
{
    TStringList l;
    l.SetSorted(true);
    l.Add("Courier");
    l.Add("arial");
    l.Add("Terminal");
    EXPECT_EQ(l.Text(), "arial\r\nCourier\r\nTerminal\r\n");
    EXPECT_EQ(l.Add("ARIAL"), 0);
    EXPECT_EQ(l.Count(), 3);
    l.Duplicates = dupError;
    EXPECT_THROW(l.Add("courier"), EListError);
    EXPECT_EQ(l.IndexOf("TERMINAL"), 2);
    EXPECT_THROW(l.Insert(0, "x"), EListError);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("TERMINAL"), -1);
}

TEST(StringList, ChangeEventsFireOncePerOutermostUpdate)
{
    struct Counter : TObject {
        int n = 0;
        void Changed(TObject*) { ++n; }
    } counter;
    TStringList l;
    l.OnChange = TNotifyEvent(&counter, &Counter::Changed);
    l.Add("a");
    EXPECT_EQ(counter.n, 1);
    l.BeginUpdate();
    l.Add("b");
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(counter.n, 2);
    l.SetText("x\ny\nz");
    EXPECT_EQ(counter.n, 3);
}

TEST(StringList, AssignCopiesLinesAndObjectsAndIndexesAreChecked)
{
    TStringList a, b;
    TObject tag;
    a.AddObject("one", &tag);
    a.Add("two");
    b.Add("old");
    b.Assign(&a);
    EXPECT_EQ(b.Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(b.Objects(0), &tag);
    EXPECT_EQ(b.IndexOfObject(&tag), 0);
    EXPECT_THROW(b.Get(2), EListError);
    EXPECT_THROW(b.Delete(-1), EListError);
    b.Put(1, "TWO");
    EXPECT_EQ(b[1], "TWO");
}

TEST(StringList, StreamRoundTripReadsFromTheCurrentPosition)
{
    TStringList l;
    l.SetText("a\nb");
    TMemoryStream s;
    s.WriteString("#");
    l.SaveToStream(&s);
    s.SetPosition(1);
    TStringList m;
    m.LoadFromStream(&s);
    EXPECT_EQ(m.Text(), "a\r\nb\r\n");
}

TEST(List, AddRemoveMoveAndCheckedIndexes)
{
    int a, b, c;
    TList l;
    l.Add(&a);
    l.Add(&b);
    l.Add(&c);
    l.Move(0, 2);
    EXPECT_EQ(l.Items(2), &a);
    EXPECT_EQ(l.Remove(&b), 0);
    EXPECT_EQ(l.Remove(&b), -1);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.First(), &c);
    EXPECT_THROW(l.Items(2), EListError);
    l.Clear();
    EXPECT_THROW(l.Last(), EListError);
}
