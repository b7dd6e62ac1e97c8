// The rename dialog and the naming dialogs run headless: what Rename gives
// back with and without the users' list, each refusal in its order (the
// alert and its text, the dialog staying), a name cut to its room with a
// beep; the prefix dialog's question asked once; a find text losing a
// variable's prefix; the command-replace dialog's buttons following what
// is typed, names compared as the document compares them.
#include <cstring>
#include <map>
#include <set>

#include "app/dialogs/Messages.h"
#include "browser/dialogs/CmdReplaceDialog.h"
#include "browser/dialogs/NamingDialogs.h"
#include "browser/dialogs/RenameDialog.h"
#include "design/objects/RenameHooks.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CollationTables.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/events/Events.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

std::string Str(int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    return P(s);
}

class NamingDialogs : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        std::memcpy(local_, stlocalvar, sizeof local_);
        std::memcpy(global_, stglobglob, sizeof global_);
        std::memcpy(filter_, tabfiltre, sizeof filter_);
        std::memcpy(filter3_, tabfiltre3, sizeof filter3_);
        apptest::ToP("$", stlocalvar);
        apptest::ToP("<>", stglobglob);
        // The names' comparison the program sets up at start.
        BuildFilterTable(tabfiltre);
        BuildFilterIntlTable(tabfiltre3);
        browser::G_ReplaceAll = false;
    }
    void TearDown() override
    {
        for (ObjListHdl l : lists_) FreeObjList(l);
        std::memcpy(stlocalvar, local_, sizeof local_);
        std::memcpy(stglobglob, global_, sizeof global_);
        std::memcpy(tabfiltre, filter_, sizeof filter_);
        std::memcpy(tabfiltre3, filter3_, sizeof filter3_);
        browser::G_ReplaceAll = false;
        DialogFixture::TearDown();
    }
    ObjListHdl List(const std::vector<TObjQz*>& objects)
    {
        ObjListHdl l = nullptr;
        EXPECT_EQ(NewObjList(&l, 10), 0);
        for (TObjQz* o : objects) AddObjList(&l, o);
        lists_.push_back(l);
        return l;
    }

    struct Renamed {
        bool ok = false;
        std::string name;
        uint8_t mode = 0;
        std::set<TObjQz*> rewrite;
        int32_t alerts = 0;
    };
    Renamed Rename(TObjQz* obj, int16_t number, uint8_t mode, ObjListHdl users, Script script, TObjQz* owner = nullptr)
    {
        Renamed r;
        const int32_t alerts = AlertCount();
        unsigned char name[256];
        obj->GetName(name);
        ObjListHdl rewrite = nullptr;
        r.mode = mode;
        {
            platform::testing::HeadlessRun run(std::move(script));
            r.ok = browser::GetReplace(&doc_, obj->kind, owner, name, number, &r.mode, users, &rewrite,
                                       obj->MaxNameLen());
            EXPECT_EQ(run.watchdogMessage, "");
        }
        r.name = P(name);
        for (int32_t i = 0; rewrite && i < rewrite->Size(); ++i) r.rewrite.insert(rewrite->At(i));
        FreeObjList(rewrite);
        r.alerts = AlertCount() - alerts;
        return r;
    }
    // The new name typed, then the dialog's and the alerts' answers.
    static Script Typed(const std::string& name, std::vector<int16_t> answers, std::vector<Point> clicks = {},
                        uint16_t clickMods = 0)
    {
        Script s;
        s.Wait(5).Type(name).Wait(2);
        for (size_t i = 0; i < clicks.size(); ++i)
            s.Click(clicks[i].h, clicks[i].v, i == 0 ? 0 : clickMods).Wait(3);
        for (int16_t a : answers) s.Choose(a).Wait(5);
        return s;
    }

    std::vector<ObjListHdl> lists_;
    unsigned char local_[256], global_[256];
    uint8_t filter_[256], filter3_[256];
};

// The kinds ask for a new name through the dialog the panes install.
TEST_F(NamingDialogs, ThePanesInstallTheRenameDialogForTheKinds)
{
    TObjQz* addTax = Make(2, "Add_Tax", 1);
    ObjListHdl users = List({Make(2, "Recalculate", 2)});
    ResetRenameHooks();
    browser::InstallBrowserPanes();
    unsigned char name[256];
    addTax->GetName(name);
    uint8_t mode = 1;
    ObjListHdl rewrite = nullptr;
    bool ok = false;
    {
        platform::testing::HeadlessRun run(Typed("Add_VAT", {1}));
        ok = ::GetReplace(0, &doc_, 2, nullptr, name, -1, &mode, users, &rewrite, addTax->MaxNameLen());
    }
    FreeObjList(rewrite);
    EXPECT_TRUE(ok);
    EXPECT_EQ(P(name), "Add_VAT");
}

TEST_F(NamingDialogs, RenameGivesTheUsersToRewriteAndTheMode)
{
    TObjQz* addTax = Make(2, "Add_Tax", 1);
    TObjQz* recalc = Make(2, "Recalculate", 2);
    TObjQz* close = Make(2, "Close_Invoice", 3);
    ObjListHdl users = List({recalc, close});
    // The name alone: a copy of every user, mode 1.
    Renamed alone = Rename(addTax, -1, 1, users, Typed("Add_VAT", {1}));
    EXPECT_TRUE(alone.ok);
    EXPECT_EQ(alone.name, "Add_VAT");
    EXPECT_EQ(alone.mode, 1);
    EXPECT_EQ(alone.rewrite, (std::set<TObjQz*>{recalc, close}));

    // With the list: one row chosen gives it alone and mode 0; both rows
    // chosen by hand give mode 1 as the all-users box would.
    const DialogPlace place = Place(browser::kRenameWithUsers);
    const Point row0 = place.Row(browser::kRenameUsers, 0, rowHeight_, 8);
    const Point row1 = place.Row(browser::kRenameUsers, 1, rowHeight_, 8);
    Renamed one = Rename(addTax, -1, 0, users, Typed("Add_VAT", {1}, {row0}));
    EXPECT_TRUE(one.ok);
    EXPECT_EQ(one.mode, 0);
    EXPECT_EQ(one.rewrite.size(), 1u);
    Renamed both = Rename(addTax, -1, 0, users, Typed("Add_VAT", {1}, {row0, row1}, platform::shiftKey));
    EXPECT_TRUE(both.ok);
    EXPECT_EQ(both.mode, 1);
    EXPECT_EQ(both.rewrite, (std::set<TObjQz*>{recalc, close}));
    // No row chosen: Rename stays dimmed, Cancel ends with nothing.
    Renamed none = Rename(addTax, -1, 0, users, Typed("Add_VAT", {1, 2}));
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.name, "Add_Tax");
    EXPECT_TRUE(none.rewrite.empty());
    // "Tables" chosen from the header's pop-up (its items in id order, the
    // current one at the header) leaves the table alone in the list: every
    // user chosen then gives the table only.
    TObjQz* table = Make(1, "Invoices", 1);
    int16_t tablesItem = 1;
    for (const auto& [id, filter] : Filters()) {
        if (filter.name == "Tables") break;
        ++tablesItem;
    }
    const Point header = place.Corner(browser::kRenameHeader, 9, 30);
    Script narrowing = Typed("Add_VAT", {});
    narrowing.Press(header.h, header.v).Wait(3).Move(header.h, int16_t(header.v + 19 * (tablesItem - 1))).Wait(3);
    narrowing.Release().Wait(3);
    const Point every = place.At(browser::kRenameAllUsers);
    narrowing.Click(every.h, every.v).Wait(3).Choose(1).Wait(5);
    Renamed narrowed = Rename(addTax, -1, 0, List({recalc, table}), std::move(narrowing));
    EXPECT_TRUE(narrowed.ok);
    EXPECT_EQ(narrowed.rewrite, (std::set<TObjQz*>{table}));

    // Typed through the desktop's text input: the name holds what Mac Roman
    // holds; a Japanese word and an emoji are refused with a beep.
    Script input;
    input.Wait(5).Text("Add_\xC3\xA9\xC3\xBC\xC3\x9F\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80").Wait(20);
    input.Choose(1).Wait(5);
    const uint32_t beeps = platform::SysBeepCount();
    Renamed typed = Rename(addTax, -1, 1, users, std::move(input));
    EXPECT_TRUE(typed.ok);
    EXPECT_EQ(typed.name, "Add_\x8E\x9F\xA7");
    EXPECT_EQ(platform::SysBeepCount(), beeps + 1);
}

TEST_F(NamingDialogs, EachRefusalShowsItsTextAndKeepsTheDialog)
{
    auto* customers = static_cast<TFileObjQz*>(Make(1, "Customers", 1));
    TObjQz* invoices = Make(1, "Invoices", 2);
    TObjQz* addTax = Make(2, "Add_Tax", 1);
    Make(2, "Recalculate", 2);
    TObjQz* sum = Make(9, "Sum", 1);
    Make(5, "Main", 1);
    TObjQz* other = Make(5, "Other", 2);
    Make(23, "Accounting", 1);
    TObjQz* sales = Make(23, "Sales", 2);
    NewObjList(&customers->forms, 2);
    TObjQz* form = Owned(&customers->forms, 24, "Entry", customers, 7);
    ASSERT_NE(form, nullptr);
    ObjListHdl formUsers = List({form});
    const std::string taken = Str(1002, 23);
    struct Case {
        const char* what;
        TObjQz* obj;
        int16_t number;
        std::string name;
        ObjListHdl users;
        std::string said;
    } cases[] = {
        {"a table's name", invoices, -1, "Customers", nullptr, taken},
        {"a menu bar's name", other, 2, "Main", nullptr, taken},
        {"a group's name", sales, -1, "Accounting", nullptr, taken},
        {"a process variable's name", addTax, -1, "Sum", nullptr, Str(1002, 26)},
        {"a project method's name", addTax, -1, "Recalculate", nullptr, taken},
        {"a variable named as a method", sum, 1, "Add_Tax", nullptr, Str(1002, 27)},
        {"a local name a form uses", sum, 1, "$Sum", formUsers, Str(1002, 30)},
        {"two prefixes", sum, 1, "<>$Sum", nullptr,
         Str(1001, 18) + " " + Str(1008, 9) + " " + Str(1001, 19)},
    };
    for (const Case& c : cases) {
        const std::string before = P(c.obj->name);
        // Rename, the alert's OK, then Cancel: the dialog stayed.
        Renamed r = Rename(c.obj, c.number, 1, c.users, Typed(c.name, {1, 1, 2}));
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.name, before) << c.what;
        EXPECT_EQ(r.alerts, 1) << c.what;
        EXPECT_EQ(LastAlert().alertId, 1000) << c.what;
        EXPECT_EQ(LastAlert().text, c.said) << c.what;
    }
}

TEST_F(NamingDialogs, AnotherKindsDuplicateIsAskedAboutAndTheNameCutToItsRoom)
{
    Make(4, "Towns", 1);
    TObjQz* cities = Make(4, "Cities", 2);
    // Button 2 keeps the dialog (then Cancel); button 1 takes the name.
    Renamed kept = Rename(cities, -1, 1, nullptr, Typed("Towns", {1, 2, 2}));
    EXPECT_FALSE(kept.ok);
    EXPECT_EQ(kept.alerts, 1);
    EXPECT_EQ(LastAlert().alertId, 1002);
    EXPECT_EQ(LastAlert().text, Str(1002, 23) + Str(1001, 21));
    Renamed taken = Rename(cities, -1, 1, nullptr, Typed("Towns", {1, 1}));
    EXPECT_TRUE(taken.ok);
    EXPECT_EQ(taken.name, "Towns");

    // Past its room a name beeps and is cut; a variable's prefix does not
    // count.
    TObjQz* sum = Make(9, "Sum", 1);
    const std::string longName(40, 'x');
    struct Case {
        TObjQz* obj;
        std::string typed, got;
    } cases[] = {
        {cities, longName, longName.substr(0, 31)},
        {sum, "<>" + longName, "<>" + longName.substr(0, 31)},
        {sum, "$" + longName, "$" + longName.substr(0, 31)},
    };
    for (const Case& c : cases) {
        const uint32_t beeps = SysBeepCount();
        Renamed r = Rename(c.obj, c.obj == sum ? 1 : -1, 1, nullptr, Typed(c.typed, {1}));
        EXPECT_TRUE(r.ok) << c.typed;
        EXPECT_EQ(r.name, c.got) << c.typed;
        EXPECT_GT(SysBeepCount(), beeps) << c.typed;
    }
}

class NamingLists : public NamingDialogs {
protected:
    // The main list's rows of the objects, all selected.
    LongListHandle Selected(const std::vector<TObjQz*>& objects)
    {
        auto* pane = Add<browser::TLstPlane>(window_, platform::Rect{0, 0, 100, 100}, doc_.fTypeList);
        pane->AddMenuFilter(128);
        pane->SetFilter(128);
        pane->SetDfltFilter(128);
        RazSelect(pane->fList);
        for (TObjQz* o : objects) {
            const int32_t row = browser::GetCellData(o, pane->fList);
            EXPECT_GE(row, 0) << P(o->name);
            LongLSetSelect(true, row, pane->fList);
        }
        return pane->fList;
    }
};

TEST_F(NamingLists, APrefixMakingOneNameTooLongIsAskedOnce)
{
    TObjQz* a = Make(2, "Add_Tax", 1);
    TObjQz* b = Make(2, std::string(28, 'M'), 2);
    LongListHandle selection = Selected({a, b});
    struct Case {
        std::vector<int16_t> answers;
        bool ok;
        int32_t alerts;
    } cases[] = {
        {{1, 2, 2}, false, 1},  // OK, the question's button 2, Cancel
        {{1, 1}, true, 1},      // OK, going on anyway
    };
    for (const Case& c : cases) {
        const int32_t alerts = AlertCount();
        unsigned char prefix[256] = {0};
        bool ok = false;
        {
            platform::testing::HeadlessRun run(Typed("Pre_", c.answers));
            ok = browser::GetPrefix(prefix, selection);
            EXPECT_EQ(run.watchdogMessage, "");
        }
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(AlertCount() - alerts, c.alerts);
        EXPECT_EQ(LastAlert().alertId, 1002);
        EXPECT_EQ(LastAlert().text, Str(1002, 33));
        if (c.ok) {
            EXPECT_EQ(P(prefix), "Pre_");
        }
    }
    // A prefix that fits both asks nothing.
    const int32_t alerts = AlertCount();
    unsigned char prefix[256] = {0};
    {
        platform::testing::HeadlessRun run(Typed("P", {1}));
        EXPECT_TRUE(browser::GetPrefix(prefix, selection));
    }
    EXPECT_EQ(AlertCount(), alerts);
}

TEST_F(NamingLists, AFindTextBeginningAsAVariableLosesItsFirstCharacter)
{
    TObjQz* sum = Make(9, "Sum", 1);
    LongListHandle selection = Selected({sum});
    const DialogPlace place = Place(browser::kSelReplaceDialog);
    const Point replacement = place.At(browser::kNamingReplacement);
    struct Case {
        std::string find, replace, gotFind, gotReplace;
        uint32_t beeps;
    } cases[] = {
        {"$Sum", "Total", "Sum", "Total", 1},
        {"Sum", "$Total", "Sum", "Total", 1},
        {"Su", "Total", "Su", "Total", 0},
    };
    for (const Case& c : cases) {
        const uint32_t beeps = SysBeepCount();
        unsigned char find[256] = {0}, repl[256] = {0};
        Script s;
        s.Wait(5).Type(c.find).Wait(2).Click(replacement.h, replacement.v).Wait(2).Type(c.replace).Wait(2).Choose(1);
        {
            platform::testing::HeadlessRun run(std::move(s));
            EXPECT_TRUE(browser::GetSel_Replace(find, repl, selection)) << c.find;
            EXPECT_EQ(run.watchdogMessage, "");
        }
        EXPECT_EQ(P(find), c.gotFind);
        EXPECT_EQ(P(repl), c.gotReplace);
        EXPECT_EQ(SysBeepCount() - beeps, c.beeps) << c.find << " " << c.replace;
    }
}

// Prefix and Replace in Names refuse, before anything is renamed, a name
// that would be empty or one its kind cannot take, and two names that
// would be one once cut to their room.
TEST_F(NamingLists, ANameEmptyInvalidOrDuplicatedOnceCutRenamesNothing)
{
    TObjQz* tax = Make(2, "Tax", 1);
    TObjQz* longA = Make(2, "A" + std::string(30, 'x'), 2);
    TObjQz* longB = Make(2, "A" + std::string(29, 'x') + "y", 3);
    TObjQz* rate = Make(9, "$Rate", 1);
    TObjQz* count = Make(9, "<>Count", 2);
    const std::string word = Str(1001, 18) + " " + Str(1008, 2) + " " + Str(1001, 19);
    const std::string varWord = Str(1001, 18) + " " + Str(1008, 9) + " " + Str(1001, 19);
    const std::string named = " " + Str(1024, 1) + " ";
    const DialogPlace place = Place(browser::kSelReplaceDialog);
    const Point replacement = place.At(browser::kNamingReplacement);
    struct Case {
        const char* what;
        std::vector<TObjQz*> selected;
        bool prefix;
        std::string find, replace;
        std::vector<int16_t> answers;  // the dialog's, the question's, the refusal's
        std::string said;
    } cases[] = {
        {"an empty name", {tax}, false, "Tax", "", {1, 1}, named + word},
        {"a local variable's prefix alone", {rate}, false, "Rate", "", {1, 1}, "$" + named + varWord},
        {"two prefixes", {count}, true, "$", "", {1, 1}, varWord},
        {"two names one once cut", {longA, longB}, true, "P", "", {1, 1, 1}, Str(1002, 23)},
        {"a name another has once cut", {longA}, false, "A", "Tax", {1, 1, 1}, "Tax" + std::string(28, 'x') + named + Str(1002, 23)},
        {"a name left as it was", {tax}, false, "T", "T", {1, 1}, "Tax" + named + Str(1002, 24)},
        {"a process variable's name", {tax}, false, "Tax", "vTotal", {1, 1}, "vTotal" + named + Str(1002, 23)},
    };
    Make(2, "Tax" + std::string(28, 'x'), 4);
    Make(9, "vTotal", 3);
    for (const Case& c : cases) {
        auto* pane = Add<browser::TLstPlane>(window_, platform::Rect{0, 0, 100, 100}, doc_.fTypeList);
        pane->AddMenuFilter(128);
        pane->SetFilter(128);
        pane->SetDfltFilter(128);
        RazSelect(pane->fList);
        for (TObjQz* o : c.selected) {
            const int32_t row = browser::GetCellData(o, pane->fList);
            ASSERT_GE(row, 0) << c.what;
            LongLSetSelect(true, row, pane->fList);
        }
        std::map<TObjQz*, std::string> names;
        for (TObjQz* o : {tax, longA, longB, rate, count}) names[o] = P(o->name);
        Script s;
        s.Wait(5).Type(c.find).Wait(2);
        if (!c.prefix) s.Click(replacement.h, replacement.v).Wait(2).Type(c.replace).Wait(2);
        for (int16_t a : c.answers) s.Choose(a).Wait(5);
        const int32_t alerts = AlertCount();
        {
            platform::testing::HeadlessRun run(std::move(s));
            c.prefix ? pane->Prefix() : pane->Sel_Replace();
            EXPECT_EQ(run.watchdogMessage, "") << c.what;
        }
        EXPECT_EQ(AlertCount() - alerts, int32_t(c.answers.size()) - 1) << c.what;
        EXPECT_EQ(LastAlert().text, c.said) << c.what;
        for (TObjQz* o : {tax, longA, longB, rate, count}) EXPECT_EQ(P(o->name), names[o]) << c.what;
    }
}

// A group's name: OK with no name beeps and keeps the dialog; one letter
// is a name.
TEST_F(NamingDialogs, AGroupNeedsANameOfOneLetterAtLeast)
{
    const struct {
        std::string typed;
        std::vector<int16_t> answers;
        bool ok;
        uint32_t beeps;
    } cases[] = {{"A", {1}, true, 0}, {"", {1, 2}, false, 1}, {"Billing", {1}, true, 0}};
    for (const auto& c : cases) {
        const uint32_t beeps = SysBeepCount();
        unsigned char name[256] = {0};
        bool ok = false;
        {
            platform::testing::HeadlessRun run(Typed(c.typed, c.answers));
            ok = browser::GetGroupName(&doc_, name);
            EXPECT_EQ(run.watchdogMessage, "") << c.typed;
        }
        EXPECT_EQ(ok, c.ok) << c.typed;
        EXPECT_EQ(SysBeepCount() - beeps, c.beeps) << c.typed;
        if (c.ok) {
            EXPECT_EQ(P(name), c.typed);
        }
    }
}

// A pick-list row matches a typed beginning of its object's name, case
// aside; a row too short to hold an object, or holding none, matches
// nothing.
TEST_F(NamingDialogs, ARowMatchesOnlyTheBeginningOfItsObjectsName)
{
    TObjQz* method = Make(2, "Upper_Name", 1);
    TObjQz* none = nullptr;
    uint8_t row[kObjectRowLength];
    std::memcpy(row, &method, sizeof method);
    uint8_t empty[kObjectRowLength];
    std::memcpy(empty, &none, sizeof none);
    const struct {
        const uint8_t* row;
        int16_t length;
        std::string key;
        int16_t answer;
    } cases[] = {
        {row, kObjectRowLength, "upper", 0},
        {row, kObjectRowLength, "Upper_Name", 0},
        {row, kObjectRowLength, "", 0},
        {row, kObjectRowLength, "Uppr", 1},
        {row, kObjectRowLength, "Upper_Names", 1},
        {row, int16_t(kObjectRowLength - 1), "upper", 1},
        {empty, kObjectRowLength, "upper", 1},
        {nullptr, kObjectRowLength, "upper", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browser::ObjSearchProc(c.row, c.key.data(), c.length, int16_t(c.key.size())), c.answer)
            << c.key << " " << c.length;
}

// The command-replace dialog: what the second text names decides which
// button ends it. A name no object has makes a new method (item 3); a
// method's name, whatever its letters' case, is that method (item 1).
TEST_F(NamingDialogs, CommandReplaceButtonsFollowTheTypedNames)
{
    TObjQz* command = Make(3, "Uppercase", 15);
    TObjQz* upper = Make(2, "Upper_Name", 1);
    Make(9, "Sum", 1);
    ObjListHdl first = List({command});
    ObjListHdl second = List({upper});
    const DialogPlace place = Place(browser::kCmdReplaceDialog);
    const Point firstRow = place.Corner(browser::kCmdReplaceFirstList, 8, 8);
    const Point secondText = place.At(browser::kCmdReplaceSecondText);
    struct Case {
        std::string typed;
        std::vector<int16_t> answers;  // a dimmed item's answer is ignored
        bool ok;
        uint8_t newName;
    } cases[] = {
        {"Lower_Name", {1, 3}, true, 1},  // item 1 dimmed: item 3 ends it
        {"Upper_Name", {3, 1}, true, 0},  // item 3 dimmed: item 1 ends it
        {"upper_name", {3, 1}, true, 0},  // the same method
        {"UPPER_NAME", {3, 1}, true, 0},
        {"Sum", {3, 1, 2}, false, 0},     // a variable's: neither
        {"$Local", {3, 1, 2}, false, 0},
    };
    for (const Case& c : cases) {
        unsigned char a[256] = {0}, b[256] = {0};
        uint8_t newName = 9;
        Script s;
        s.Wait(5).Click(firstRow.h, firstRow.v).Wait(3).Click(secondText.h, secondText.v).Wait(2).Type(c.typed).Wait(2);
        for (int16_t answer : c.answers) s.Choose(answer).Wait(5);
        bool ok = false;
        {
            platform::testing::HeadlessRun run(std::move(s));
            ok = browser::GetCmd_Replace(first, second, a, b, &newName);
            EXPECT_EQ(run.watchdogMessage, "");
        }
        EXPECT_EQ(ok, c.ok) << c.typed;
        EXPECT_EQ(newName, c.newName) << c.typed;
        if (c.ok) {
            unsigned char shown[256];
            command->GetName(shown);
            EXPECT_EQ(P(a), P(shown)) << c.typed;
            EXPECT_EQ(P(b), c.typed) << c.typed;
        }
    }
}

}  // namespace
}  // namespace browsertest
