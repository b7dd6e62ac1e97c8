// Groups made, filled and taken apart on the demo: each change lands in
// one commit, and one that fails leaves the groups, their members and the
// document's bytes as they were.
#include <set>
#include <utility>
#include <vector>

#include "app/dialogs/Messages.h"
#include "design/links/XRef.h"
#include "design/objects/GroupChanges.h"
#include "platform/core/Faults.h"
#include "resources/ResourceApi.h"
#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

class GroupChanges : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
    }
    TGroupObjQz* Group(const std::string& name) { return static_cast<TGroupObjQz*>(Find(23, name)); }
    static std::set<std::string> Members(TGroupObjQz* group)
    {
        std::set<std::string> out;
        for (int32_t i = 0; group && group->members && i < group->members->Size(); ++i)
            out.insert(P(group->members->At(i)->name));
        return out;
    }
    struct PName {
        explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
        operator const unsigned char*() const { return bytes; }
        unsigned char bytes[256];
    };
};

TEST_F(GroupChanges, ANewGroupIsEmptyWithRoomForTenAndStored)
{
    TGroupObjQz* sales = nullptr;
    ASSERT_EQ(NewGroupOf(&doc_, PName("Sales"), &sales), 0);
    ASSERT_NE(sales, nullptr);
    EXPECT_EQ(sales->members->Size(), 0);
    EXPECT_EQ(sales->members->room, 11);  // ten members and the count's slot
    EXPECT_EQ(Group("Sales"), sales);
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    ASSERT_NE(Group("Sales"), nullptr);
    EXPECT_EQ(Members(Group("Sales")), std::set<std::string>{});
}

TEST_F(GroupChanges, MembersOfOtherGroupsAreSkippedOrTaken)
{
    struct Case {
        bool takeFromGroups;
        std::set<std::string> sales, accounting;
    } cases[] = {
        // A method's local variables go with it.
        {false, {"Close_Invoice"}, {"$0", "$1", "$Rate", "Add_Tax", "Recalculate", "Lines", "Line_Entry"}},
        {true, {"$0", "$1", "$Rate", "Add_Tax", "Close_Invoice"}, {"Recalculate", "Lines", "Line_Entry"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.takeFromGroups);
        TGroupObjQz* sales = nullptr;
        ASSERT_EQ(MakeGroupOf(&doc_, PName("Sales"), {Method("Add_Tax"), Method("Close_Invoice")},
                              c.takeFromGroups, &sales),
                  0);
        EXPECT_EQ(Members(sales), c.sales);
        EXPECT_EQ(Members(Group("Accounting")), c.accounting);
        EXPECT_EQ(Method("Close_Invoice")->parent, sales);
        Reopen(built_);
        ASSERT_EQ(Read(), 0);
        EXPECT_EQ(Members(Group("Sales")), c.sales);
        EXPECT_EQ(Members(Group("Accounting")), c.accounting);
        ASSERT_EQ(Ungroup(Group("Sales")), 0);
    }
}

// Every allocation and every disk write of the change fails in turn: no
// group Sales, Add_Tax back in Accounting, the file byte for byte.
TEST_F(GroupChanges, AFailingAdditionUndoesTheGroupCompletely)
{
    const std::set<std::string> accounting = Members(Group("Accounting"));
    for (platform::FaultKind kind : {platform::FaultKind::DiskFull, platform::FaultKind::Allocation}) {
        int failed = 0;
        for (int step = 0;; ++step) {
            ASSERT_LT(step, 3000);
            ASSERT_TRUE(updateres(doc_.fResFile));
            const Bytes before = StoredBytes(built_.dataPath);
            TGroupObjQz* sales = nullptr;
            platform::InjectFault(kind, step);
            const int16_t err = MakeGroupOf(&doc_, PName("Sales"), {Method("Add_Tax"), Method("Close_Invoice")}, true, &sales);
            const bool fired = !platform::IsFaultArmed(kind);
            platform::ClearFault(kind);
            if (!fired) {
                EXPECT_EQ(err, 0);
                ASSERT_EQ(Ungroup(sales), 0);
                ASSERT_EQ(Method("Add_Tax")->parent, nullptr);
                // Back into Accounting for the next kind.
                ASSERT_EQ(AddToGroup(Group("Accounting"), {Method("Add_Tax")}, true, nullptr), 0);
                break;
            }
            if (err == 0) {  // the failure was met and got round
                ASSERT_EQ(Ungroup(sales), 0);
                ASSERT_EQ(AddToGroup(Group("Accounting"), {Method("Add_Tax")}, true, nullptr), 0);
                continue;
            }
            ++failed;
            EXPECT_EQ(sales, nullptr) << step;
            EXPECT_EQ(Group("Sales"), nullptr) << step;
            EXPECT_EQ(Members(Group("Accounting")), accounting) << int(kind) << " " << step;
            EXPECT_EQ(Method("Add_Tax")->parent, Group("Accounting")) << step;
            EXPECT_EQ(Method("Close_Invoice")->parent, nullptr) << step;
            EXPECT_TRUE(StoredBytes(built_.dataPath) == before) << int(kind) << " " << step;
        }
        EXPECT_GT(failed, 2) << int(kind);
    }
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Group("Sales"), nullptr);
    EXPECT_EQ(Members(Group("Accounting")), accounting);
}

// Deleting a group, a picture or a component with the disk failing from
// one write on, each write in turn until one deletion goes through: a
// deletion that fails says so and leaves the object in its list and every
// resource it had stored; the one that goes through removes them all.
TEST_F(GroupChanges, ADeletionThatCannotBeCommittedKeepsTheObjectWhole)
{
    using Resources = std::vector<std::pair<uint32_t, int16_t>>;
    const struct {
        int16_t kind;
        const char* name;
        Resources (*resources)(TObjQz*);
    } cases[] = {
        {23, "Sales", [](TObjQz* g) { return Resources{{g->GetOwnResType(), g->id}}; }},
        {18, "Stamp",
         [](TObjQz* p) { return Resources{{FourCC("PICT"), p->id}, {FourCC("PIWZ"), p->id}, {FourCC("PIC#"), 128}}; }},
        {32, "Reports",
         [](TObjQz* c) {
             return Resources{{FourCC("moQz"), c->id}, {FourCC("MODQ"), c->id}, {FourCC("MAPQ"), c->id},
                              {c->GetOwnResType(), c->id}};
         }},
    };
    for (const auto& c : cases) {
        int32_t failed = 0;
        for (int32_t write = 0;; ++write) {
            ASSERT_LT(write, 100) << c.name;
            Reopen(built_);
            ASSERT_EQ(Read(), 0);
            if (c.kind == 23 && !Find(23, "Sales")) {
                TGroupObjQz* sales = nullptr;
                ASSERT_EQ(NewGroupOf(&doc_, PName("Sales"), &sales), 0);
            }
            TObjQz* obj = Find(c.kind, c.name);
            ASSERT_NE(obj, nullptr) << c.name << " write " << write;
            // A component is deleted once its folders left it.
            while (obj->members && obj->members->Size() > 0) {
                TObjQz* m = obj->members->At(0);
                DelObjList(obj->members, m);
                m->parent = nullptr;
                m->level = 0;
            }
            const Resources resources = c.resources(obj);
            UseQzRes(doc_.fResFile);
            std::vector<Bytes> stored;
            for (const auto& [type, id] : resources) stored.push_back(Stored(type, id));
            ASSERT_FALSE(stored[0].empty()) << c.name;
            const int32_t alerts = AlertCount();
            {
                platform::ScopedFault full(platform::FaultKind::DiskFull, write, -1);
                obj->DeleteObj(true);
            }
            const bool deleted = Find(c.kind, c.name) == nullptr;
            EXPECT_EQ(AlertCount() == alerts, deleted) << c.name << " write " << write;
            failed += deleted ? 0 : 1;
            Reopen(built_);
            UseQzRes(doc_.fResFile);
            for (size_t i = 0; i < resources.size(); ++i) {
                const Bytes now = Stored(resources[i].first, resources[i].second);
                if (!deleted) EXPECT_EQ(now, stored[i]) << c.name << " " << i << " write " << write;
                else if (resources[i].first != FourCC("PIC#")) EXPECT_TRUE(now.empty()) << c.name << " " << i;
                else EXPECT_EQ(now.size() + 34, stored[i].size()) << c.name;
            }
            if (deleted) break;
        }
        EXPECT_GE(failed, 3) << c.name;
    }
}

// With the disk failing from one write on, each write in turn: an ungroup
// that answers 0 has taken the group out of the document and the store.
TEST_F(GroupChanges, UngroupDeletesTheGroupAndKeepsItsMembers)
{
    for (int32_t write = 0;; ++write) {
        ASSERT_LT(write, 100);
        Reopen(built_);
        ASSERT_EQ(Read(), 0);
        TGroupObjQz* accounting = Group("Accounting");
        ASSERT_NE(accounting, nullptr) << write;
        const uint32_t type = accounting->GetOwnResType();
        const int16_t id = accounting->id;
        // Its record enciphered, as a protected component's are: removed all the same.
        UseQzRes(doc_.fResFile);
        platform::Handle own = xget1res(type, id);
        ASSERT_TRUE(own && hcrypteres(own, true) && xwriteres(own) && updateres(doc_.fResFile));
        int16_t err = 0;
        {
            platform::ScopedFault full(platform::FaultKind::DiskFull, write, -1);
            err = Ungroup(accounting);
        }
        if (err != 0) {
            EXPECT_EQ(Group("Accounting"), accounting) << write;
            continue;
        }
        EXPECT_EQ(Group("Accounting"), nullptr) << write;
        for (const char* name : {"Add_Tax", "Recalculate"}) {
            ASSERT_NE(Method(name), nullptr) << name;
            EXPECT_EQ(Method(name)->parent, nullptr) << name;
        }
        Reopen(built_);
        UseQzRes(doc_.fResFile);
        EXPECT_TRUE(Stored(type, id).empty()) << write;
        break;
    }
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Group("Accounting"), nullptr);
    EXPECT_NE(Method("Add_Tax"), nullptr);
    EXPECT_EQ(Members(Group("Logging")), (std::set<std::string>{"$1", "Log_Event"}));
}

// An ungroup that cannot be committed puts every member back, the members
// of a nested group at their depth again.
TEST_F(GroupChanges, AFailedUngroupPutsNestedMembersBackAtTheirLevels)
{
    TGroupObjQz* outer = nullptr;
    ASSERT_EQ(MakeGroupOf(&doc_, PName("Outer"), {Group("Accounting")}, true, &outer), 0);
    auto levels = [&] {
        std::vector<std::pair<std::string, int>> out;
        for (TGroupObjQz* g : {outer, Group("Accounting")})
            for (int32_t i = 0; i < g->members->Size(); ++i)
                out.emplace_back(P(g->members->At(i)->name), g->members->At(i)->level);
        return out;
    };
    const auto before = levels();
    ASSERT_EQ(before.front(), std::make_pair(std::string("Accounting"), 1));
    ASSERT_EQ(before.back().second, 2);
    int32_t failed = 0;
    for (int32_t write = 0;; ++write) {
        ASSERT_LT(write, 100);
        platform::InjectFault(platform::FaultKind::DiskFull, write, -1);
        const int16_t err = Ungroup(outer);
        platform::ClearFault(platform::FaultKind::DiskFull);
        if (err == 0) break;
        ++failed;
        EXPECT_EQ(Group("Accounting")->parent, outer) << write;
        EXPECT_EQ(levels(), before) << write;
    }
    EXPECT_GE(failed, 1);
    EXPECT_EQ(Group("Accounting")->parent, nullptr);
    EXPECT_EQ(Group("Accounting")->level, 0);
}

TEST_F(GroupChanges, AGroupDroppedOnItsOwnMemberWouldHoldItself)
{
    TGroupObjQz* accounting = Group("Accounting");
    auto* reports = static_cast<TModuleObjQz*>(Find(32, "Reports"));
    ASSERT_TRUE(reports && reports->publicFolder && reports->privateFolder);
    struct Case {
        TObjQz* dragged;
        TObjQz* target;
        bool self;
    } cases[] = {
        {accounting, Method("Add_Tax"), true},
        {accounting, accounting, true},
        {Method("Add_Tax"), accounting, false},
        {Group("Logging"), accounting, false},
        // Nothing that holds objects goes into a component's folder.
        {reports->publicFolder, reports->privateFolder, true},
        {accounting, reports->privateFolder, true},
        {Method("Add_Tax"), reports->privateFolder, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelfGrouping(c.dragged, c.target), c.self) << P(c.dragged->name) << " on " << P(c.target->name);
}

// A form goes into a component's public folder only if neither it nor
// its methods use a private member.
TEST_F(GroupChanges, AFormDependsPrivatelyThroughItsMethods)
{
    auto* reports = static_cast<TModuleObjQz*>(Find(32, "Reports"));
    auto* invoices = static_cast<TFileObjQz*>(Find(1, "Invoices"));
    ASSERT_TRUE(reports && invoices);
    auto* form = static_cast<TLayoutObjQz*>(SearchListObj_Name(invoices->forms, PName("Invoice")));
    ASSERT_TRUE(form && form->objMethods && form->objMethods->Size() > 0);
    EXPECT_FALSE(form->HasPrivateDependencies(reports)) << "its button calls a public method";
    ASSERT_EQ(XRef(form->objMethods->At(0), Method("Start_Up")), 0);
    EXPECT_TRUE(form->HasPrivateDependencies(reports));
}

}  // namespace
}  // namespace readtest
