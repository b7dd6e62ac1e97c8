// The demo's Close_Invoice dropped with Option on DemoTarget: the conflicts
// recorded, the copies made, and their links compared with what the demo's
// manifest says the source methods use.
#include <map>

#include "tests/transfer/CopyFixture.h"
#include "tests/transfer/DemoConflictsFixture.h"

namespace transfertest {
namespace {

struct Recorded {
    std::string source;
    int16_t code, choice;
};
std::vector<Recorded> gRecorded;

class DemoCopyTest : public DemoConflicts {
protected:
    void SetUp() override
    {
        DemoConflicts::SetUp();
        ResetAlerts();
        gRecorded.clear();
        // Every record the drop makes is seen on its way into the list.
        TransferHooks hooks = CurrentTransferHooks();
        static int16_t (*record)(TObjQz*, TObjQz*, int16_t, int16_t, C_ListRec*, TConflict**) = nullptr;
        record = hooks.recordConflict;
        hooks.recordConflict = [](TObjQz* s, TObjQz* d, int16_t code, int16_t choice, C_ListRec* l, TConflict** out) {
            gRecorded.push_back({s ? readtest::P(s->name) : "", code, choice});
            return record(s, d, code, choice, l, out);
        };
        SetTransferHooks(hooks);
        // The fixture's own lists are not this drop's.
        platform::DisposeHandle(transfer::G_Filters);
        transfer::G_Filters = nullptr;
    }
    void TearDown() override
    {
        platform::ClearDialogAnswers();
        DemoConflicts::TearDown();
    }

    // The project methods a method uses, by name, as the demo's manifest
    // lists them for the source, with `renamed` applied.
    static std::set<std::string> ManifestCalls(const std::string& method, const std::map<std::string, std::string>& renamed)
    {
        std::set<std::string> out;
        for (const std::vector<std::string>& f : ManifestRows("Demo.QzB.manifest", "link")) {
            if (f.size() < 8 || f[1] != "2" || f[3] != method || f[5] != "2") continue;
            auto it = renamed.find(f[7]);
            out.insert(it == renamed.end() ? f[7] : it->second);
        }
        return out;
    }
    static std::set<std::string> Calls(TObjQz* obj)
    {
        std::set<std::string> out;
        for (int32_t i = 0; obj && obj->uses && i < obj->uses->Size(); ++i)
            if (obj->uses->At(i)->kind == 2) out.insert(readtest::P(obj->uses->At(i)->name));
        return out;
    }
};

TEST_F(DemoCopyTest, CloseInvoiceWithWhatItUsesArrivesWithItsCallsRetargeted)
{
    TObjQz* close = In(&doc_, 2, "Close_Invoice");
    ASSERT_NE(close, nullptr);
    platform::PushDialogAnswer(1);
    ASSERT_EQ(transfer::MoveDropped(&doc_, &target_, &close, 1, 1), 0);
    // Recalculate's constant stays with the demo's lists: that alone is said.
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(LastAlert().text.rfind("Constant VAT_Rate", 0), 0u);

    // Log_Event meets the destination's (code 6), Recalculate's table Lines
    // its equal (101), the package it calls and that one's routine list are
    // not there (114, 116); the others come as they are.
    const std::map<std::string, int16_t> met{
        {"Log_Event", 6}, {"Lines", 101}, {"_Invoicing_Tools", 114}, {"Invoicing_Tools routines", 116}};
    std::map<std::string, int16_t> seen;
    for (const Recorded& r : gRecorded)
        if (r.code != 0) seen[r.source] = r.code;
    EXPECT_EQ(seen, met);

    const std::map<std::string, std::string> renamed{{"Log_Event", "Log_Event_2"}};
    for (const std::string method : {"Close_Invoice", "Recalculate", "Add_Tax"}) {
        TObjQz* copy = In(&target_, 2, method);
        ASSERT_NE(copy, nullptr) << method;
        EXPECT_EQ(Calls(copy), ManifestCalls(method, renamed)) << method;
    }
    ASSERT_NE(In(&target_, 2, "Log_Event_2"), nullptr);
    // A copy of a grouped method is in no group here: the main list shows it.
    ASSERT_TRUE(In(&doc_, 2, "Recalculate")->TstFlag(kFlagGrouped));
    EXPECT_FALSE(In(&target_, 2, "Recalculate")->TstFlag(kFlagGrouped));
    EXPECT_EQ(In(&target_, 2, "Recalculate")->parent, nullptr);
    // The destination's own Log_Event keeps its callers.
    EXPECT_EQ(Calls(In(&target_, 2, "Open_Shop")), std::set<std::string>{"Log_Event"});

    // The saved destination, read again, links the same.
    if (target_.fTypeList) DisposeTypeList(target_.fTypeList);
    target_.fTypeList = nullptr;
    CloseQzB(target_.fRsrFile, target_.fResFile, -1, -1);
    OpenTarget(folder_ / "DemoTarget.QzB");
    for (const std::string method : {"Close_Invoice", "Recalculate", "Add_Tax"}) {
        TObjQz* copy = In(&target_, 2, method);
        ASSERT_NE(copy, nullptr) << method;
        ASSERT_EQ(copy->Parse(), 0);
        EXPECT_EQ(Calls(copy), ManifestCalls(method, renamed)) << method;
    }
}

}  // namespace
}  // namespace transfertest
