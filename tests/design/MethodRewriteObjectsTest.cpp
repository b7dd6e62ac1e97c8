// The method objects rewriting their own text: references renamed, a
// command replaced by a method with its edges moved, texts replaced and
// comments removed; each committed, and refused where the method may not
// be changed.
#include <functional>

#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

class MethodRewriteObjects : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
    }
    static const unsigned char* P(const char* text, unsigned char* out)
    {
        apptest::ToP(text, out);
        return out;
    }
    unsigned char a_[256], b_[256];
};

TEST_F(MethodRewriteObjects, EditsReachTheTextWhereTheyMay)
{
    struct Case {
        const char* what;
        std::function<void(TGnlProcObjQz*)> edit;
        size_t line;
        std::string expected;
    };
    TGnlProcObjQz* recalculate = Method("Recalculate");
    const Case cases[] = {
        {"a renamed callee", [&](TGnlProcObjQz* m) { m->XRefReplace(Method("Add_Tax"), P("Add_VAT", a_), false); },
         5, "Add_VAT(Sum)"},
        {"a renamed variable", [&](TGnlProcObjQz* m) { m->XRefReplace(Find(9, "Sum"), P("Total", a_), false); }, 1,
         "Total:=0"},
        {"a replaced text", [&](TGnlProcObjQz* m) { EXPECT_EQ(m->ReplaceTxt(P("calculated", a_), P("done", b_), nullptr), 0); },
         6, "Log_Event(\"Redone\")"},
        {"comments kept for mode 1", [&](TGnlProcObjQz* m) { m->RemoveComment(1); }, 0,
         "  `Adds up the lines of the current invoice"},
        {"comments removed", [&](TGnlProcObjQz* m) { m->RemoveComment(0); }, 0, "  `"},
    };
    for (const Case& c : cases) {
        c.edit(recalculate);
        EXPECT_EQ(Texts(recalculate)[c.line], c.expected) << c.what;
    }
    // Stored and committed: the document read again shows the same.
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    const std::vector<std::string> again = Texts(Method("Recalculate"));
    EXPECT_EQ(again[0], "  `");
    EXPECT_EQ(again[5], "Add_VAT(Total)");
    EXPECT_EQ(again[6], "Log_Event(\"Redone\")");
}

TEST_F(MethodRewriteObjects, AMethodThatMayNotChangeKeepsItsText)
{
    // What locks it, and whether a rename not forced still reaches it.
    const std::pair<std::function<void(TGnlProcObjQz*)>, bool> cases[] = {
        {[](TGnlProcObjQz* m) { m->SetFlag(kFlagCiphered, true); }, false},
        {[](TGnlProcObjQz* m) { m->SetFlag(kFlagControlChar, true); }, true},
        {[this](TGnlProcObjQz*) { doc_.fRemote = true; }, true},
    };
    for (const auto& [lock, renamed] : cases) {
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        doc_.fRemote = false;
        ASSERT_TRUE(ReadDemo());
        TGnlProcObjQz* m = Method("Recalculate");
        const std::vector<std::string> before = Texts(m);
        lock(m);
        EXPECT_FALSE(m->EnableReplaceTxt());
        EXPECT_EQ(m->ReplaceTxt(P("Sum", a_), P("Total", b_), nullptr), 0);
        EXPECT_EQ(Texts(m), before);
        m->XRefReplace(Method("Add_Tax"), P("Add_VAT", a_), false);
        EXPECT_EQ(Texts(m)[5] == "Add_VAT(Sum)", renamed);
    }
    doc_.fRemote = false;
}

TEST_F(MethodRewriteObjects, ACommandReplacedByAMethodMovesTheEdge)
{
    auto* customers = static_cast<TFileObjQz*>(Find(1, "Customers"));
    auto* tableMethod = static_cast<TGnlProcObjQz*>(customers->method);
    ASSERT_NE(tableMethod, nullptr);
    TObjQz* command = nullptr;
    for (int32_t i = 0; tableMethod->uses && i < tableMethod->uses->Size(); ++i)
        if (tableMethod->uses->At(i)->kind == 3) command = tableMethod->uses->At(i);
    ASSERT_NE(command, nullptr);
    TObjQz* logEvent = Method("Log_Event");
    // A method is no command: nothing changes.
    EXPECT_EQ(tableMethod->ReplaceCmd(logEvent, logEvent), 0);
    const std::vector<std::string> before = Texts(tableMethod);
    EXPECT_EQ(tableMethod->ReplaceCmd(command, logEvent), 0);
    const std::vector<std::string> after = Texts(tableMethod);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[1], "Log_Event([Customers]Name)");
    EXPECT_FALSE(IsInList(tableMethod->uses, command));
    EXPECT_TRUE(IsInList(tableMethod->uses, logEvent));
    EXPECT_TRUE(IsInList(logEvent->usedBy, tableMethod));
}

}  // namespace
}  // namespace readtest
