// Event closures: assign, clear, compare, call, and chain in front of another handler.
#include <gtest/gtest.h>

#include "framework/Component.h"
#include "framework/Events.h"

namespace {

using TCountEvent = TClosure<void(TObject* Sender, unsigned long Count)>;
using TCloseQueryEvent = TClosure<void(TObject* Sender, bool& CanClose)>;

struct Handler : TComponent {
    Handler() : TComponent(nullptr) {}
    void Click(TObject* Sender) { log += "click;"; }
    void Other(TObject* Sender) { log += "other;"; }
    void Count(TObject* Sender, unsigned long n) { total += n; }
    void Query(TObject* Sender, bool& can) { can = false; }
    String log;
    unsigned long total = 0;
};

// A component that puts its own handler in front of a form's, as placement does.
struct Chainer : TComponent {
    Chainer() : TComponent(nullptr) {}
    void Attach(TNotifyEvent& event)
    {
        saved = event;
        event = TNotifyEvent(this, &Chainer::Show);
    }
    void Show(TObject* Sender)
    {
        *log += "restore;";
        saved(Sender);
    }
    TNotifyEvent saved;
    String* log = nullptr;
};

}  // namespace

TEST(Closures, EmptyClosureIsFalseAndCallingItDoesNothing)
{
    TNotifyEvent e;
    EXPECT_FALSE(e);
    e(nullptr);
    TClosure<int(int)> f;
    EXPECT_EQ(f(3), 0);
}

TEST(Closures, AssignCallCompareAndClear)
{
    Handler h, g;
    TNotifyEvent e(&h, &Handler::Click);
    ASSERT_TRUE(e);
    e(&h);
    EXPECT_EQ(h.log, "click;");
    EXPECT_EQ(e, TNotifyEvent(&h, &Handler::Click));
    EXPECT_NE(e, TNotifyEvent(&h, &Handler::Other));
    EXPECT_NE(e, TNotifyEvent(&g, &Handler::Click));
    EXPECT_EQ(e.Object(), static_cast<void*>(&h));
    e = nullptr;
    EXPECT_FALSE(e);
    EXPECT_TRUE(e == nullptr);
}

TEST(Closures, OtherSignaturesPassArgumentsAndReferences)
{
    Handler h;
    TCountEvent c = Closure(&h, &Handler::Count);
    c(nullptr, 5);
    c(nullptr, 7);
    EXPECT_EQ(h.total, 12u);
    TCloseQueryEvent q(&h, &Handler::Query);
    bool can = true;
    q(nullptr, can);
    EXPECT_FALSE(can);
}

TEST(Closures, ChainingRunsTheNewHandlerBeforeTheOldOne)
{
    Handler form;
    Chainer placement;
    placement.log = &form.log;
    TNotifyEvent onShow(&form, &Handler::Click);
    placement.Attach(onShow);
    onShow(&form);
    EXPECT_EQ(form.log, "restore;click;");
    EXPECT_EQ(onShow, TNotifyEvent(&placement, &Chainer::Show));
}
