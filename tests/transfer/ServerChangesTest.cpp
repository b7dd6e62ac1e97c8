// The commands that change a structure on a server, run as the program runs
// them on a structure the test server publishes behind a relay that spoils
// one reply: each reply the command waits for, spoiled in each way in turn.
// A failure says its cause, when met, once, and what of the change reached
// the server: the server's structure is then, for a new login, as before
// the command, as after it, or, where the alert says part of it reached
// the server, each resource as before or as after; the window shows what
// that fresh open shows; and the fresh open writes nothing.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "design/documents/Passwords.h"
#include "design/security/SecurityManager.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/tasks/TaskRecords.h"
#include "network/CQztcp.h"
#include "network/Requests.h"
#include "network/ServerOpen.h"
#include "network/StoreConnection.h"
#include "resources/ServerHooks.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"
#include "tests/network/FaultRelay.h"
#include "tests/network/ShippedTemplates.h"
#include "tests/network/TestServer.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DocumentWindowsFixture.h"
#include "tools/docbuilder/DocBuilder.h"

namespace transfertest {
namespace {

// Anna may open the design: she is in the design group.
const char* kServed = R"(structure Base date 2024-03-01
table Invoices
  field Number longint
  field Total real
method Add_Tax
  command 15 ( field Invoices.Total )
method Close_Invoice
  call Add_Tax
  doc "Closes an invoice."
method Log_Event
  command 15 ( "x" )
method Print_Report
  command 15 ( "r" )
method Month_End
  call Close_Invoice
  call Print_Report
group Accounting
  method Add_Tax
group Reports
  method Print_Report
user Designer password "design"
user Administrator password "admin"
user Anna password "anna"
usergroup Office
  user Anna
designgroup Office
)";

// The structure whose method Other (calling Imported) is dropped on the
// server's.
const char* kSource = R"(structure Source date 2024-03-01
method Imported
  command 15 ( "y" )
method Other
  call Imported
)";

using RowSet = std::map<std::string, std::string>;
// Every resource of a structure by type and id: its name, size and a
// digest of its contents.
using Holdings = std::map<std::pair<std::string, int16_t>, std::string>;

// What a login sees of the server's structure.
struct Seen {
    RowSet rows;
    Holdings holds;
};

class ServerChanges : public DocumentWindows {
protected:
    void SetUp() override
    {
        DocumentWindows::SetUp();
        ASSERT_EQ(networktest::LoadShippedTemplates(), 0);
        ResetRequestLayer();
        InstallStoreConnection();
        // A reply the relay holds back ends the client's wait; any other is
        // waited for, however long the machine takes.
        CQztcp::SetWaitEnd(relay_.HeldEvent(), [this](uint16_t port) { return relay_.Holds(port); });
        // No change poll goes out unasked.
        platform::SetClock(&clock_);
        MakeSecurityManager();
        ResetTasks();
        newtask(-1, 1, 0, reinterpret_cast<const unsigned char*>("\x04Main"), 0, -10);
        for (const auto& [name, text] : {std::pair{"served", kServed}, std::pair{"local", kSource}}) {
            const std::string folder = InFolder(name);
            std::filesystem::create_directories(folder);
            const docbuilder::BuildResult built = docbuilder::BuildDocument(text, std::string(name) + ".qzdoc", folder);
            ASSERT_EQ(built.error, 0) << built.message;
            (std::string(name) == "served" ? served_ : source_) = built.dataPath;
        }
    }
    void TearDown() override
    {
        DocumentWindows::TearDown();
        CQztcp::SetWaitEnd(-1, nullptr);
        relay_.Stop();
        server_.Stop();
        ResetRequestLayer();
        ServerConnection() = ResServerConnection();
        ServerHooks() = ResServerHooks();
        DisposeSecurityManager();
        ResetTasks();
        ResetLoginGlobals();
        ResetPasswordTables();
        platform::SetClock(nullptr);
        localres = -1;
        ::unsetenv("QZ_CACHE_DIR");
    }

public:
    // The structure published as built, behind the relay.
    void Serve()
    {
        if (relay_.Port() != 0) {
            ASSERT_TRUE(server_.Reset());
            return;
        }
        TestServerConfig config;
        config.files = {{7, platform::FourCC("BAS5"), "Base"}};
        config.structureCopy = served_;
        ASSERT_TRUE(server_.Start(config));
        ASSERT_TRUE(relay_.Start(server_.Port(), false));
    }
    // File > Open from Server..., Anna logging in with her start-up name,
    // with an empty cache.
    TMainDoc* Open()
    {
        const std::string cache = InFolder("cache" + std::to_string(++opens_));
        std::filesystem::create_directories(cache);
        ::setenv("QZ_CACHE_DIR", cache.c_str(), 1);
        ResetServerClient();
        std::memcpy(gStartupUserName, "\x04" "Anna", 5);
        encryptepass(gStartupPassword, reinterpret_cast<const unsigned char*>("\x04" "anna"));
        SetLastServer("127.0.0.1:" + std::to_string(relay_.Port()), "Base");
        platform::PushDialogAnswer(1);
        EXPECT_EQ(appl_->OpenServerMainDoc(), 0) << ::LastAlert().text;
        for (TDocument* d = appl_->fDocList; d; d = d->fNext)
            if (d->fRemote) return static_cast<TMainDoc*>(d);
        return nullptr;
    }
    // Every row of the document's first window, each opened, and whether
    // its object has documentation.
    static RowSet ShownRows(TMainDoc* doc)
    {
        browser::TLstPlane* main = Main(Windows(doc).front());
        RowSet rows = AllRows(main);
        for (const auto& [key, obj] : ObjectsOf(main))
            if (obj->TstFlag(kFlagHasDoc)) rows[key] += " (documented)";
        return rows;
    }
    // Every resource the document's store holds.
    static Holdings Holds(TMainDoc* doc)
    {
        const int16_t saved = xcurres();
        useres(doc->fResFile);
        Holdings out;
        for (int32_t t = 1; t <= comptetypes(); ++t) {
            const uint32_t type = xgetindtyp(t);
            for (int32_t i = 1, n = compteres(type, true); i <= n; ++i) {
                int16_t id = 0;
                xiscryptedindres(type, i, &id);
                unsigned char name[256] = {0};
                xgetresname(type, id, name, false);
                const char code[] = {char(type >> 24), char(type >> 16), char(type >> 8), char(type), 0};
                uint64_t digest = 14695981039346656037u;
                int32_t size = -1;
                if (platform::Handle h = xgetres(type, id, true)) {
                    size = platform::GetHandleSize(h);
                    for (int32_t b = 0; b < size; ++b) digest = (digest ^ uint8_t((*h)[b])) * 1099511628211u;
                }
                out[{code, id}] = readtest::P(name) + " " + std::to_string(size) + " " + std::to_string(digest);
            }
        }
        useres(saved);
        return out;
    }
    // What a new login sees of the server's structure.
    Seen FreshOpen()
    {
        TMainDoc* fresh = Open();
        if (!fresh) return {};
        Seen seen{ShownRows(fresh), Holds(fresh)};
        EXPECT_EQ(fresh->Close(), 0);
        return seen;
    }
    // A menu command of the window, its dialogs answered by the script.
    // The run's clock goes on from the test's, and the test's from where
    // the run left it: no change poll falls due meanwhile.
    void Choose(TWindow* w, int16_t command, platform::Script script)
    {
        platform::HeadlessOptions options;
        options.startTicks = clock_.Ticks();
        uint32_t end = 0;
        {
            platform::testing::HeadlessRun run(script.Wait(5), options);
            w->Do_Func(command);
            end = run.backend->Now();
        }
        clock_.Advance(end - clock_.Ticks());
        platform::SetClock(&clock_);
    }
    static platform::Script Typed(const char* text)
    {
        return platform::Script().Wait(5).Type(text).Wait(2).Choose(1).Wait(5);
    }
    std::string source_;

protected:
    std::string served_;
    platform::VirtualClock clock_{100000};
    TestServer server_;
    FaultRelay relay_;
    int opens_ = 0;
};

struct ServerCommand {
    const char* name;
    std::function<void(ServerChanges*, TMainDoc*, TWindow*)> run;
};

const ServerCommand kCommands[] = {
    {"New Group", [](ServerChanges* f, TMainDoc*, TWindow* w) { f->Choose(w, 71, ServerChanges::Typed("Fresh")); }},
    // Only the objects in no group join.
    {"Make Group", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::AllRows(ServerChanges::Main(w));
         ServerChanges::Select(ServerChanges::Main(w), {{2, "Log_Event"}, {2, "Add_Tax"}});
         f->Choose(w, 70, ServerChanges::Typed("Made"));
     }},
    // Add_Tax, used by Close_Invoice, leaves Accounting for the new group.
    {"Full Group leaving a group", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::Select(ServerChanges::Main(w), {{2, "Close_Invoice"}});
         f->Choose(w, 72, ServerChanges::Typed("Full"));
     }},
    // Add_Tax leaves Accounting, Print_Report leaves Reports.
    {"Full Group leaving two groups", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::Select(ServerChanges::Main(w), {{2, "Month_End"}});
         f->Choose(w, 72, ServerChanges::Typed("Full"));
     }},
    {"Ungroup", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::Select(ServerChanges::Main(w), {{23, "Accounting"}});
         f->Choose(w, 73, platform::Script());
     }},
    {"rows dropped on a group", [](ServerChanges*, TMainDoc*, TWindow* w) {
         browser::TLstPlane* main = ServerChanges::Main(w);
         ServerChanges::Select(main, {{2, "Log_Event"}});
         main->GroupQzObj(main, ServerChanges::RowOf(main, 23, "Accounting"));
     }},
    // An object's documentation opened in its editor: an empty one is made.
    {"Edit Documentation", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::Select(ServerChanges::Main(w), {{2, "Log_Event"}});
         f->Choose(w, 56, platform::Script());
     }},
    {"Delete Documentation", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         ServerChanges::Select(ServerChanges::Main(w), {{2, "Close_Invoice"}});
         f->Choose(w, 57, platform::Script().Wait(5).Choose(1));
     }},
    {"a drop from another structure", [](ServerChanges* f, TMainDoc*, TWindow* w) {
         TMainDoc* source = f->OpenDoc(f->source_);
         ASSERT_NE(source, nullptr);
         ServerChanges::Select(ServerChanges::Main(ServerChanges::Windows(source).front()), {{2, "Other"}});
         ASSERT_EQ(PushInteger(0), 0);
         ASSERT_EQ(PushPtr(ServerChanges::Main(ServerChanges::Windows(source).front())), 0);
         for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
         w->GetDragObj(nullptr);
         platform::ClearDialogAnswers();
         EXPECT_EQ(source->Close(), 0);
     }},
};

// The replies a command waits for: those of the requests it sends after
// the open, each write and unique id, the first of each other code, and
// the last.
struct Reply {
    int16_t code;
    int nth;
};
std::vector<Reply> RepliesOf(const std::vector<int16_t>& passed, size_t from)
{
    std::vector<Reply> replies;
    std::map<int16_t, int> seen;
    for (size_t i = from; i < passed.size(); ++i) {
        const int16_t code = passed[i];
        const int nth = ++seen[code];
        if (nth == 1 || code == 25 || code == 26 || code == 29 || code == 33 || i + 1 == passed.size())
            replies.push_back({code, nth});
    }
    return replies;
}

bool Wrote(const std::vector<int16_t>& passed, size_t from)
{
    return std::any_of(passed.begin() + ptrdiff_t(from), passed.end(),
                       [](int16_t code) { return code == 25 || code == 26 || code == 29; });
}

// Each resource as before or as after, and the whole as neither.
bool PartOf(const Holdings& holds, const Holdings& before, const Holdings& after)
{
    if (holds == before || holds == after) return false;
    std::set<std::pair<std::string, int16_t>> keys;
    for (const Holdings* h : {&holds, &before, &after})
        for (const auto& [key, held] : *h) keys.insert(key);
    auto at = [](const Holdings& h, const std::pair<std::string, int16_t>& key) {
        const auto found = h.find(key);
        return found == h.end() ? std::optional<std::string>() : std::optional<std::string>(found->second);
    };
    return std::all_of(keys.begin(), keys.end(), [&](const auto& key) {
        return at(holds, key) == at(before, key) || at(holds, key) == at(after, key);
    });
}

TEST_F(ServerChanges, AFailedRequestSaysItsCauseAndLeavesTheChangeWholeOrAbsent)
{
    const std::string lost = "The connection to the server was lost: nothing more of the structure can be read or "
                             "changed. Close the structure and open it again.";
    const std::string silent = "The server stopped answering: nothing more of the structure can be read or changed. "
                               "Close the structure and open it again.";
    const std::string damaged = "The server sent a reply that is too large or damaged.";
    const std::string whole = " The whole change reached the server: the windows show the structure as the server "
                              "holds it.";
    const std::string part = " Part of the change reached the server: the windows show the structure as the server "
                             "now holds it.";
    // The connection closed after a reply is tried on the command's last:
    // after any other, whether the next request reached the server before
    // the client saw the close cannot be known.
    const std::pair<Spoil, const std::string*> spoils[] = {
        {Spoil::NoReply, &silent},     {Spoil::Stalled, &silent}, {Spoil::LongerThanSent, &silent},
        {Spoil::HalfThenClose, &lost}, {Spoil::Closed, &lost},    {Spoil::Huge, &damaged},
        {Spoil::ClosedAfter, &lost}};
    Serve();
    const Seen before = FreshOpen();
    TMainDoc* doc = nullptr;
    for (const ServerCommand& c : kCommands) {
        // The command as it goes through: what it asks, sends and makes.
        if (!doc) {
            Serve();
            doc = Open();
        }
        ASSERT_NE(doc, nullptr) << c.name;
        size_t from = relay_.Passed().size();
        ResetAlerts();
        c.run(this, doc, Windows(doc).front());
        const int32_t asked = AlertCount();
        const std::vector<Reply> replies = RepliesOf(relay_.Passed(), from);
        EXPECT_EQ(doc->Close(), 0);
        const Seen after = FreshOpen();
        EXPECT_NE(after.rows, before.rows) << c.name;
        doc = nullptr;
        for (const Reply& reply : replies)
            for (const auto& [spoil, said] : spoils) {
                if (spoil == Spoil::ClosedAfter && &reply != &replies.back()) continue;
                SCOPED_TRACE(::testing::Message() << c.name << ", reply " << reply.nth << " to " << reply.code
                                                  << " spoiled as " << int(spoil));
                // A server that took no write is as published: a fresh
                // open of it serves the next run.
                if (!doc) {
                    Serve();
                    doc = Open();
                    ASSERT_NE(doc, nullptr);
                }
                from = relay_.Passed().size();
                relay_.Arm(reply.code, spoil, reply.nth);
                ResetAlerts();
                c.run(this, doc, Windows(doc).front());
                ASSERT_TRUE(relay_.WaitSpoiled());
                // A command that went through meets the loss at idle time.
                const bool failed = AlertCount() > asked;
                // Once the command is over, the window follows the server.
                doc->IdleDoc();
                doc->IdleDoc();
                ASSERT_EQ(AlertCount(), asked + 1);
                const std::string text = ::LastAlert().text;
                ASSERT_EQ(text.substr(0, said->size()), *said);
                const std::string left = text.substr(said->size());
                const RowSet shown = ShownRows(doc);
                EXPECT_EQ(doc->Close(), 0);
                const bool wrote = Wrote(relay_.Passed(), from);
                // A fresh open writes nothing, whatever it repairs.
                from = relay_.Passed().size();
                doc = Open();
                ASSERT_NE(doc, nullptr);
                EXPECT_FALSE(Wrote(relay_.Passed(), from));
                const Seen fresh{ShownRows(doc), Holds(doc)};
                EXPECT_EQ(shown, fresh.rows);
                if (!failed || left == whole) {
                    EXPECT_EQ(fresh.holds, after.holds);
                    EXPECT_EQ(fresh.rows, after.rows);
                } else if (left == part) {
                    EXPECT_TRUE(PartOf(fresh.holds, before.holds, after.holds));
                } else {
                    // Nothing of a change left unsaid: a step after a
                    // change that went through may fail.
                    EXPECT_EQ(left, "");
                    EXPECT_TRUE(fresh.holds == before.holds || fresh.holds == after.holds);
                    EXPECT_EQ(fresh.rows, fresh.holds == before.holds ? before.rows : after.rows);
                }
                if (wrote) {
                    EXPECT_EQ(doc->Close(), 0);
                    doc = nullptr;
                }
            }
    }
    if (doc) {
        EXPECT_EQ(doc->Close(), 0);
    }
}

// A server structure whose member lists disagree, a method in two groups
// (as a change cut short by another program may leave it): each open
// repairs the groups in memory, the same way, and writes nothing.
TEST_F(ServerChanges, OpeningAServerStructureWritesNothing)
{
    const std::string folder = InFolder("twice");
    std::filesystem::create_directories(folder);
    const docbuilder::BuildResult built = docbuilder::BuildDocument(
        "structure Twice date 2024-03-01\nmethod Add_Tax\n  command 15 ( \"t\" )\ngroup Accounting\n  method Add_Tax\n"
        "group Reports\n  method Add_Tax\nuser Designer password \"design\"\nuser Administrator password \"admin\"\n"
        "user Anna password \"anna\"\nusergroup Office\n  user Anna\ndesigngroup Office\n",
        "twice.qzdoc", folder);
    ASSERT_EQ(built.error, 0) << built.message;
    served_ = built.dataPath;
    Serve();
    RowSet first;
    for (int open = 0; open < 2; ++open) {
        const size_t from = relay_.Passed().size();
        TMainDoc* doc = Open();
        ASSERT_NE(doc, nullptr);
        EXPECT_FALSE(Wrote(relay_.Passed(), from));
        const RowSet rows = ShownRows(doc);
        if (open == 0) first = rows;
        EXPECT_EQ(rows, first);
        EXPECT_EQ(doc->Close(), 0);
    }
}

}  // namespace
}  // namespace transfertest
