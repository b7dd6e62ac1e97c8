// Renaming the demo's objects: the name lands where the document keeps it
// and every user follows, all in one commit; a disk or memory failure at
// any step leaves the document byte for byte as it was.
#include <cctype>
#include <functional>
#include <map>
#include <set>

#include "app/dialogs/Messages.h"
#include "design/links/XRef.h"
#include "design/objects/ObjBlocks.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/RenameHooks.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

class Rename : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
    }
    static ObjListHdl Copy(ObjListHdl list)
    {
        ObjListHdl out = nullptr;
        EXPECT_EQ(NewObjList(&out, 10), 0);
        for (int32_t i = 0; list && i < list->Size(); ++i) AddObjList(&out, list->At(i));
        return out;
    }
    // Renamed with every user following, as the rename dialog's "every
    // user" gives it.
    int16_t RenameAll(TObjQz* obj, const std::string& name)
    {
        TObjQz* out = nullptr;
        return obj->DoReplace(PName(name), true, Copy(obj->usedBy), &out, false);
    }
    static std::set<TObjQz*> Set(ObjListHdl list)
    {
        std::set<TObjQz*> out;
        for (int32_t i = 0; list && i < list->Size(); ++i) out.insert(list->At(i));
        return out;
    }
    // The method name of item `item` (1-based) of 'MENQ' `id`.
    static std::string ItemMethod(int16_t id, int item)
    {
        const Bytes menu = Stored(FourCC("MENQ"), id);
        const size_t at = 24 + 86 * size_t(item - 1) + 32;
        return menu.size() < at + 32 ? "" : std::string(menu.begin() + at + 1, menu.begin() + at + 1 + menu[at]);
    }
    struct PName {
        explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
        operator const unsigned char*() const { return bytes; }
        unsigned char bytes[256];
    };
};

TEST_F(Rename, AProjectMethodsCallersMenusAndRecordTakeTheNewName)
{
    TGnlProcObjQz* addTax = Method("Add_Tax");
    const std::set<TObjQz*> uses = Set(addTax->uses), usedBy = Set(addTax->usedBy);
    ASSERT_EQ(RenameAll(addTax, "Add_VAT"), 0);
    EXPECT_EQ(Texts(Method("Recalculate"))[5], "Add_VAT(Sum)");
    EXPECT_EQ(SearchObj_Name(&doc_, 2, PName("Add_VAT")), addTax);
    EXPECT_EQ(SearchObj_Name(&doc_, 2, PName("Add_Tax")), nullptr);
    // The graph is the same: only names changed.
    EXPECT_EQ(Set(addTax->uses), uses);
    EXPECT_EQ(Set(addTax->usedBy), usedBy);
    // Menus name the method they run: both menus and the bar follow.
    TGnlProcObjQz* close = Method("Close_Invoice");
    const size_t closeUsers = Set(close->usedBy).size();
    ASSERT_EQ(RenameAll(close, "Close_Sale"), 0);
    EXPECT_EQ(ItemMethod(1, 1), "Close_Sale");
    EXPECT_EQ(ItemMethod(2, 2), "Close_Sale");
    EXPECT_EQ(ItemMethod(2, 1), "Recalculate");
    // All of it on disk.
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(Method("Add_VAT"), nullptr);
    EXPECT_EQ(Method("Add_Tax"), nullptr);
    EXPECT_EQ(Texts(Method("Recalculate"))[5], "Add_VAT(Sum)");
    EXPECT_EQ(ItemMethod(1, 1), "Close_Sale");
    EXPECT_EQ(Set(Method("Close_Sale")->usedBy).size(), closeUsers);
}

TEST_F(Rename, AFailureAtAnyStepLeavesTheDocumentByteForByte)
{
    // Log_Event has three users: Recalculate, Close_Invoice and Start_Up.
    TGnlProcObjQz* log = Method("Log_Event");
    ASSERT_EQ(log->usedBy->Size(), 3);
    const std::string names[] = {"Log_Event", "Journal"};
    for (platform::FaultKind kind : {platform::FaultKind::DiskFull, platform::FaultKind::Allocation}) {
        int step = 0, failed = 0;
        for (bool fired = true; fired; ++step) {
            ASSERT_LT(step, 2000);
            const std::string from = P(log->name), to = from == names[0] ? names[1] : names[0];
            // What a commit puts off (bits of space given up) is written
            // first: the bytes compared are then the committed state.
            ASSERT_TRUE(updateres(doc_.fResFile));
            const Bytes before = StoredBytes(built_.dataPath);
            ObjListHdl users = Copy(log->usedBy);
            TObjQz* out = nullptr;
            platform::InjectFault(kind, step);
            const int16_t err = log->DoReplace(PName(to), true, users, &out, false);
            fired = !platform::IsFaultArmed(kind);
            platform::ClearFault(kind);
            // The users' texts, the name and the disk change together.
            const std::string shown = err ? from : to;
            EXPECT_EQ(P(log->name), shown) << step;
            EXPECT_EQ(Texts(Method("Start_Up"))[1], shown + "(\"Started\")") << step;
            EXPECT_EQ(Texts(Method("Close_Invoice"))[1], shown + "(\"Closed\")") << step;
            if (err) {
                ++failed;
                const Bytes after = StoredBytes(built_.dataPath);
                size_t at = 0;
                while (at < after.size() && at < before.size() && after[at] == before[at]) ++at;
                EXPECT_EQ(after.size(), before.size()) << int(kind) << " " << step;
                EXPECT_EQ(at, before.size()) << int(kind) << " " << step << " differs at " << at;
            }
        }
        EXPECT_GT(failed, 0) << "a failure was met";
    }
    const std::string last = P(log->name);
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Texts(Method("Recalculate"))[6], last + "(\"Recalculated\")");
}

TEST_F(Rename, EachKindKeepsItsNewNameWhereTheDocumentReadsIt)
{
    struct Case {
        int16_t kind;
        std::string from, to, stored;  // stored: the name as its directory keeps it
    };
    const Case cases[] = {
        {1, "Lines", "Items", "Items"},
        {12, "Heading", "Title", "Title"},
        {18, "Stamp", "Seal", "Seal"},
        {19, "Titles", "Headings", "Headings"},
        {10, "Name_Help", "Name_Of_The_Customer", "Name_Of_The_Cus"},
        {5, "Main", "Primary", "Primary"},
        {23, "Logging", "Journal", "Journal"},
        {4, "Towns", "Cities", "Cities"},
    };
    for (const Case& c : cases) {
        TObjQz* obj = Find(c.kind, c.from);
        ASSERT_NE(obj, nullptr) << c.from;
        ASSERT_EQ(RenameAll(obj, c.to), 0) << c.from;
        EXPECT_EQ(P(obj->name), c.to);
        if (c.kind != 1) {
            EXPECT_EQ(SearchObj_Name(&doc_, c.kind, PName(c.to)), obj) << c.to;
        }
    }
    // A form is kept in its table's form table.
    auto* customers = static_cast<TFileObjQz*>(Find(1, "Customers"));
    TObjQz* listing = nullptr;
    for (int32_t i = 0; i < customers->forms->Size(); ++i)
        if (P(customers->forms->At(i)->name) == "Listing") listing = customers->forms->At(i);
    ASSERT_NE(listing, nullptr);
    ASSERT_EQ(RenameAll(listing, "Overview"), 0);
    // The other pictures keep their names: the entry is found by its id.
    const int16_t logoId = Find(18, "Logo")->id;
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    for (const Case& c : cases) {
        EXPECT_NE(Find(c.kind, c.kind == 10 ? c.stored : c.to), nullptr) << c.to;
        EXPECT_EQ(Find(c.kind, c.from), nullptr) << c.from;
    }
    EXPECT_EQ(Find(18, "Logo")->id, logoId);
    customers = static_cast<TFileObjQz*>(Find(1, "Customers"));
    std::set<std::string> forms;
    for (int32_t i = 0; i < customers->forms->Size(); ++i) forms.insert(P(customers->forms->At(i)->name));
    EXPECT_EQ(forms, (std::set<std::string>{"Card", "Entry", "Overview"}));
}

TEST_F(Rename, ATableRenamedRenamesItsFormsReferences)
{
    ASSERT_EQ(RenameAll(Find(1, "Customers"), "Clients"), 0);
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    auto* clients = static_cast<TFileObjQz*>(Find(1, "Clients"));
    ASSERT_NE(clients, nullptr);
    TLayoutObjQz* entry = nullptr;
    for (int32_t i = 0; i < clients->forms->Size(); ++i)
        if (P(clients->forms->At(i)->name) == "Entry") entry = static_cast<TLayoutObjQz*>(clients->forms->At(i));
    ASSERT_NE(entry, nullptr);
    const Bytes form = Stored(FourCC("FOQz"), entry->formResId);
    const std::string text(form.begin(), form.end());
    EXPECT_NE(text.find("<?[Clients]Name>"), std::string::npos);
    EXPECT_EQ(text.find("[Customers]"), std::string::npos);
}

TEST_F(Rename, AVariableIsRenamedMergedOrLeftAccordingToTheSortsOfItsNames)
{
    struct Case {
        std::string from, to;
        bool all;
        std::vector<std::string> users;  // the methods rewritten (every user when empty)
        std::string after;               // the object the first user names after
        int16_t afterId;
        bool fromStays;
    };
    const Case cases[] = {
        // An interprocess variable keeps its prefix.
        {"<>Log_Count", "<>Log_Total", true, {}, "<>Log_Total", 2, false},
        // A process variable becomes interprocess.
        {"Log_Level", "<>Log_Level", true, {}, "<>Log_Level", 2, false},
        // Only the chosen user moves: the variable stays for the others.
        {"Sum", "Total", false, {"Recalculate"}, "Total", 1, true},
    };
    auto run = [&](const Case& c) {
        TObjQz* var = Find(9, c.from);
        ASSERT_NE(var, nullptr) << c.from;
        ObjListHdl users = nullptr;
        ASSERT_EQ(NewObjList(&users, 10), 0);
        for (int32_t i = 0; i < var->usedBy->Size(); ++i)
            if (c.users.empty() || P(var->usedBy->At(i)->name) == c.users[0]) AddObjList(&users, var->usedBy->At(i));
        TObjQz* user = users->At(0);
        TObjQz* out = nullptr;
        ASSERT_EQ(var->DoReplace(PName(c.to), c.all, users, &out, false), 0) << c.from;
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(P(out->name), c.after);
        EXPECT_EQ(out->id, c.afterId);
        EXPECT_TRUE(IsInList(user->uses, out)) << c.from;
        EXPECT_EQ(Find(9, c.from) != nullptr, c.fromStays) << c.from;
    };
    for (const Case& c : cases) run(c);
    EXPECT_EQ(Texts(Method("Log_Event"))[2], "<>Log_Total:=0x0001");
    EXPECT_EQ(Texts(Method("Recalculate"))[1], "Total:=0");
    EXPECT_EQ(Texts(Method("Report_Core"))[1], "Sum:=0");
    // A local renamed as a process variable goes: the process variable
    // takes its place.
    TGnlProcObjQz* addTax = Method("Add_Tax");
    TObjQz* local = Get_LocalVar(addTax, PName("$Rate"));
    ASSERT_NE(local, nullptr);
    TObjQz* out = nullptr;
    ASSERT_EQ(local->DoReplace(PName("Rate"), true, Copy(local->usedBy), &out, false), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out, Find(9, "Rate"));
    EXPECT_EQ(static_cast<TVarObjQz*>(out)->method, nullptr);
    EXPECT_EQ(Search_LocalVar(addTax, PName("$Rate")), nullptr);
    const std::string longName(40, 'L');
    const Case more[] = {
        // An interprocess name is cut to 31 characters behind its prefix.
        {"<>Log_Total", "<>" + longName, true, {}, "<>" + longName.substr(0, 31), 2, false},
        // Renamed as one that exists: merged into it.
        {"<>Log_Level", "Total", true, {}, "Total", 1, false},
    };
    for (const Case& c : more) run(c);
    EXPECT_EQ(Texts(Method("Log_Event"))[2], "<>" + longName.substr(0, 31) + ":=0x0001");
    // No rename is offered where it could not land.
    doc_.fRemote = true;
    EXPECT_FALSE(Find(9, "Total")->EnableReplace());
    doc_.fRemote = false;
    TObjQz* style = Find(12, "Body");
    style->SetFlag(kFlagDocOpen, true);
    EXPECT_FALSE(style->EnableReplace());
}

// Replace Text over the demo's methods: "Invoice" (any case) becomes
// "Bill" in comments and string literals; names that hold it (the
// methods Print_Invoice and Close_Invoice, their calls) and every other
// token stay, and a method without the text, or enciphered, keeps its
// bytes.
TEST_F(Rename, ReplacedTextReachesCommentsAndLiteralsOnly)
{
    auto replaced = [](std::string line) {
        for (size_t at = 0; at + 7 <= line.size();) {
            std::string word = line.substr(at, 7);
            for (char& c : word) c = char(std::tolower(uint8_t(c)));
            if (word == "invoice" && (at == 0 || line[at - 1] != '_')) {
                line.replace(at, 7, "Bill");
                at += 4;
            } else {
                ++at;
            }
        }
        return line;
    };
    const char* names[] = {"Recalculate", "Print_Invoice", "Close_Invoice", "Report_Header", "Report_Core"};
    std::map<std::string, std::vector<std::string>> before;
    std::map<std::string, Bytes> code;
    for (const char* n : names) {
        before[n] = Texts(Method(n));
        code[n] = Stored(FourCC("CCQz"), Method(n)->id);
    }
    const std::set<TObjQz*> users = Set(Method("Close_Invoice")->usedBy);
    // As Replace Text walks the selection: an enciphered method (the
    // installed component's private Report_Core) is left out.
    for (const char* n : names)
        if (Method(n)->EnableReplaceTxt()) {
            ASSERT_EQ(Method(n)->ReplaceTxt(PName("Invoice"), PName("Bill"), nullptr), 0) << n;
        }
    EXPECT_FALSE(Method("Report_Core")->EnableReplaceTxt());
    EXPECT_EQ(Stored(FourCC("CCQz"), Method("Report_Core")->id), code["Report_Core"]);
    for (const char* n : names) {
        if (!Method(n)->EnableReplaceTxt()) continue;
        const std::vector<std::string> after = Texts(Method(n));
        ASSERT_EQ(after.size(), before[n].size()) << n;
        bool changed = false;
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i], replaced(before[n][i])) << n << " line " << i;
            changed = changed || after[i] != before[n][i];
        }
        // Only the methods whose texts held the word were written.
        EXPECT_EQ(Stored(FourCC("CCQz"), Method(n)->id) != code[n], changed) << n;
    }
    EXPECT_NE(Texts(Method("Recalculate"))[0], before["Recalculate"][0]);
    EXPECT_NE(Texts(Method("Report_Header"))[0], before["Report_Header"][0]);
    EXPECT_EQ(Texts(Method("Print_Invoice")), before["Print_Invoice"]);
    EXPECT_EQ(Set(Method("Close_Invoice")->usedBy), users);
}

// A balloon's text takes the replacement at every place, grown past its
// own length too, and keeps it on disk; a text without the word, or
// missing, is left alone; an enciphered balloon or one of a document on a
// server offers no replacement.
TEST_F(Rename, ABalloonsTextTakesTheReplacementEverywhere)
{
    built_ = Build("structure Help\nballoon Twice id 5 \"Ask me, me\"\nballoon Grows id 6 \"me\"\n"
                   "balloon None id 7 \"Ask him\"\n");
    ASSERT_EQ(built_.error, 0) << built_.message;
    Reopen(built_);  // in place of the demo
    ASSERT_EQ(Read(), 0);
    const std::pair<const char*, std::string> cases[] = {{"Twice", "Ask you, you"}, {"Grows", "maybe"}, {"None", "Ask him"}};
    auto text = [](const Bytes& b) { return b.empty() ? std::string("-") : std::string(b.begin() + 1, b.end()); };
    std::map<std::string, Bytes> before;
    for (const auto& [name, after] : cases) {
        auto* b = static_cast<TBalloonObjQz*>(Find(10, name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_TRUE(b->EnableReplaceTxt());
        before[name] = Stored(b->TextType(), b->TextId());
        EXPECT_EQ(b->ReplaceTxt(PName("me"), PName(after == "maybe" ? "maybe" : "you"), nullptr), 0) << name;
        EXPECT_EQ(text(Stored(b->TextType(), b->TextId())), after) << name;
    }
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    for (const auto& [name, after] : cases) {
        const Bytes stored = Stored(FourCC("HEQz"), Find(10, name)->id);
        EXPECT_EQ(text(stored), after) << name;
        ASSERT_FALSE(stored.empty());
        EXPECT_EQ(stored[0], before[name][0]) << name;
    }
    // A word longer than the whole text, by a longer one still: no place.
    auto* none = static_cast<TBalloonObjQz*>(Find(10, "None"));
    EXPECT_EQ(none->ReplaceTxt(PName("Ask him!"), PName("Ask them all"), nullptr), 0);
    EXPECT_EQ(text(Stored(none->TextType(), none->TextId())), "Ask him");
    auto* b = static_cast<TBalloonObjQz*>(Find(10, "Twice"));
    ASSERT_TRUE(rmveresbyid(b->TextType(), b->TextId(), true));
    EXPECT_EQ(b->ReplaceTxt(PName("you"), PName("me"), nullptr), 0);
    doc_.fRemote = true;
    EXPECT_FALSE(b->EnableReplaceTxt());
    doc_.fRemote = false;
    b->SetFlag(kFlagCiphered, true);
    EXPECT_FALSE(b->EnableReplaceTxt());
}

// A user that notes each rename it is asked to follow.
std::vector<std::string> gFollowed;
struct FollowingUser : TObjQz {
    int16_t RewriteForRename(TObjQz* obj, const unsigned char* name, bool) override
    {
        gFollowed.push_back(P(obj->name) + ">" + P(name));
        return 0;
    }
};

// The users of a table's fields and of its subtables' fields, at any
// depth, follow the table's rename.
TEST_F(Rename, TheUsersOfATablesFieldsAtEveryDepthFollowItsRename)
{
    TObjQz* customers = Find(1, "Customers");
    auto member = [](TObjQz* table, const std::string& name) -> TObjQz* {
        for (int32_t i = 0; table && table->members && i < table->members->Size(); ++i)
            if (P(table->members->At(i)->name) == name) return table->members->At(i);
        return nullptr;
    };
    TObjQz* contacts = member(customers, "Contacts");
    ASSERT_NE(contacts, nullptr);
    ASSERT_EQ(contacts->kind, 29);
    TObjQz* const fields[] = {member(customers, "Since"), member(contacts, "Phone")};
    std::vector<TObjQz*> users;
    for (TObjQz* field : fields) {
        ASSERT_NE(field, nullptr);
        auto* user = new (NewObjBlock(sizeof(FollowingUser))) FollowingUser;  // where the factory makes objects
        user->init(&doc_, PName("Follower"), 0);
        ASSERT_EQ(XRef(user, field), 0);
        users.push_back(user);
    }
    gFollowed.clear();
    ASSERT_EQ(RenameAll(customers, "Clients"), 0);
    EXPECT_EQ(gFollowed, (std::vector<std::string>{"Customers>Clients", "Customers>Clients"}));
    for (size_t i = 0; i < users.size(); ++i) {
        XDelRef(users[i], fields[i]);
        users[i]->Dispose();
    }
}

// A name only method texts give (a set): with every user it is renamed
// and the users' list given is let go; the chosen users alone move to the
// object of the new name, and memory running out for that object or for a
// user's link to it is told and leaves the user on the old one.
TEST_F(Rename, ANamedObjectMovesItsChosenUsersOrTellsOfMemory)
{
    TObjQz* set = GetObj_Name(&doc_, 13, PName("Chosen"), 0);
    ASSERT_NE(set, nullptr);
    const size_t ptrs = platform::LivePtrCount();
    TObjQz* out = nullptr;
    ASSERT_EQ(set->DoReplace(PName("Picked"), true, Copy(nullptr), &out, false), 0);
    EXPECT_EQ(out, set);
    EXPECT_EQ(P(set->name), "Picked");
    EXPECT_EQ(platform::LivePtrCount(), ptrs);

    TObjQz* moving = Method("Recalculate");
    TObjQz* staying = Method("Start_Up");
    ASSERT_EQ(XRef(staying, set), 0);
    int failed = 0;
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 500);
        const std::string other = "Other" + std::to_string(step);
        ASSERT_EQ(XRef(moving, set), 0);
        ObjListHdl users = nullptr;
        ASSERT_EQ(NewObjList(&users, 1), 0);
        ASSERT_EQ(AddObjList(&users, moving), 0);
        const int32_t alerts = AlertCount();
        out = nullptr;
        platform::InjectFault(platform::FaultKind::Allocation, step);
        const int16_t err = set->DoReplace(PName(other), false, users, &out, false);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearFault(platform::FaultKind::Allocation);
        EXPECT_EQ(P(set->name), "Picked") << step;
        EXPECT_TRUE(IsInList(staying->uses, set)) << step;
        if (err == 0) {
            ASSERT_NE(out, nullptr);
            EXPECT_NE(out, set);
            EXPECT_EQ(P(out->name), other);
            EXPECT_TRUE(IsInList(moving->uses, out));
            EXPECT_FALSE(IsInList(moving->uses, set));
            if (!fired) break;
            continue;
        }
        ++failed;
        EXPECT_EQ(err, platform::memFullErr) << step;
        EXPECT_EQ(out, set) << step;
        EXPECT_TRUE(IsInList(moving->uses, set)) << step;
        EXPECT_EQ(AlertCount(), alerts + 1) << step;
        unsigned char message[256];
        ErrorMessage(platform::memFullErr, message);
        EXPECT_EQ(LastAlert().text, P(message)) << step;
    }
    EXPECT_GT(failed, 0);
}

// A cut keeps at most `max` characters; none for a room below 1.
TEST_F(Rename, ANameIsCutToItsRoom)
{
    const std::pair<int16_t, std::string> cases[] = {{31, "Invoice"}, {7, "Invoice"}, {6, "Invoic"},
                                                     {1, "I"},        {0, ""},        {-1, ""}};
    for (const auto& [max, cut] : cases) {
        unsigned char out[256];
        CutName(out, PName("Invoice"), max);
        EXPECT_EQ(P(out), cut) << max;
    }
}

// What the rename dialog was asked last, and how it answers.
struct Dialog {
    bool ok = true;
    std::string answer;
    uint8_t mode = 1;
    int16_t number = 0;
    uint8_t modeIn = 0;
    int32_t calls = 0;
};
Dialog gDialog;

bool FakeGetReplace(int16_t, TMainDoc*, int16_t, TObjQz*, unsigned char* name, int16_t number, uint8_t* mode,
                    ObjListHdl, ObjListHdl* rewrite, int16_t)
{
    ++gDialog.calls;
    gDialog.number = number, gDialog.modeIn = *mode;
    if (rewrite) *rewrite = nullptr;
    if (!gDialog.ok) return false;
    apptest::ToP(gDialog.answer, name);
    *mode = gDialog.mode;
    return true;
}

// Each kind asks the dialog for its own number and way (only a rename, or
// users to choose), takes the name answered on OK under the same object,
// and stays as it was when the dialog is cancelled.
TEST_F(Rename, EachKindAsksTheDialogAndTakesTheNameOnOK)
{
    SetRenameHooks(RenameHooks{&FakeGetReplace});
    struct Case {
        int16_t kind;
        const char* name;
        bool byId;  // the dialog is given the object's id, else -1
        uint8_t modeIn;
    };
    ASSERT_NE(GetObj_Name(&doc_, 13, PName("Picked"), 0), nullptr);  // a set no method names yet
    const Case cases[] = {{1, "Lines", false, 1}, {23, "Logging", false, 1}, {5, "Main", true, 0},
                          {12, "Body", true, 1}, {13, "Picked", true, 0}};
    for (const Case& c : cases) {
        TObjQz* obj = Find(c.kind, c.name);
        ASSERT_NE(obj, nullptr) << c.kind;
        const std::string name = P(obj->name);
        SCOPED_TRACE(name);
        gDialog = Dialog{};
        gDialog.ok = false;
        TObjQz* out = nullptr;
        EXPECT_EQ(obj->Replace(&out), 0);
        EXPECT_EQ(out, obj);
        EXPECT_EQ(P(obj->name), name);
        gDialog.ok = true, gDialog.answer = name + "2";
        EXPECT_EQ(obj->Replace(&out), 1);
        EXPECT_EQ(gDialog.calls, 2);
        EXPECT_EQ(gDialog.number, c.byId ? obj->id : -1);
        EXPECT_EQ(gDialog.modeIn, c.modeIn);
        EXPECT_EQ(out, obj);
        EXPECT_EQ(P(obj->name), name + "2");
    }
    ResetRenameHooks();
    // A menu bar whose record is gone is renamed all the same.
    TObjQz* bar = Find(5, "Main2");
    ASSERT_TRUE(rmveresbyid(bar->GetOwnResType(), bar->id, true));
    TObjQz* out = nullptr;
    EXPECT_EQ(bar->DoReplace(PName("Main3"), true, nullptr, &out, false), 0);
    EXPECT_EQ(P(bar->name), "Main3");
}

}  // namespace
}  // namespace readtest
