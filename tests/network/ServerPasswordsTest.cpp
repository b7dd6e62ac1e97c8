// The password tables of a structure held by the test server, in both of
// the server's byte orders: both tables with their counter, a missing or
// lying reply that leaves the old tables, the version check's timing, and
// single users read, checked and written back.
#include "app/documents/DocHooks.h"
#include "design/documents/Passwords.h"
#include "platform/core/Faults.h"
#include "tests/network/UserTables.h"

using namespace usertables;
using namespace serverfile;

namespace {

class ServerUsers : public ServerUsersTest {
protected:
    // Anna becomes Anne in the server's copy of the users.
    void RenameAnna()
    {
        Handle anna = nullptr;
        lire1pass(3, &anna);
        ASSERT_NE(anna, nullptr);
        std::memcpy(*anna + 4, "\x04" "Anne", 5);
        EXPECT_EQ(ecris1pass(3, anna), 0);
        kill1pass(anna);
    }
    static Table Remote()
    {
        Table t;
        t.users = {{"Remote", "r", 1, -7}};
        return t;
    }
    // The demo's tables read at counter 7 from a server then stopped: Anna's
    // record as read, for a second server's reply to keep or replace.
    Handle TablesReadFromAStoppedServer()
    {
        TestServerConfig good = UsersConfig(Little(), Demo(), Remote());
        good.passwordCounter = 7;
        Publish(good);
        EXPECT_EQ(lirepass(3), 0);
        Handle anna = indpass(3);
        server_.Stop();
        return anna;
    }
    // Forgets the tables and the resources read, and stops the server.
    void ForgetWhatWasRead()
    {
        ResetPasswordTables();
        ResetResManager();
        initresman();
        server_.Stop();
    }
};

TEST_P(ServerUsers, TheRepliedCounterAndBothTablesAreInstalled)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Remote());
    config.passwordCounter = 7;
    Publish(config);
    EXPECT_EQ(lirepass(3), 0);
    EXPECT_EQ(passcount, 7);
    EXPECT_FALSE(fatalerr);
    ASSERT_EQ(globnbpass, 5);
    ASSERT_EQ(globnbgroup, 2);
    ASSERT_EQ(globnbpassu, 1);
    EXPECT_EQ(globnbgroupu, 0);
    EXPECT_EQ(NameOf(indpass(3)), "Anna");
    EXPECT_EQ(NameOf(indpass(-11)), "Remote");
    // Numbers come in this program's order whatever the server's.
    EXPECT_EQ(platform::ReadBES32(*indpass(3) + 108), 15001);
    EXPECT_EQ(platform::ReadBES32(*indpass(-11) + 108), -7);
    EXPECT_EQ(platform::ReadBES32(*indpass(5)), kDeletedUser);
    const auto* second = reinterpret_cast<const uint8_t*>(*reinterpret_cast<Handle*>(*gu)[1]);
    EXPECT_EQ(platform::ReadBES16(second + 32), 2);
    EXPECT_EQ(platform::ReadBES16(second + 36), 15001);
    for (int16_t none : {-10, 0, 6, -12, -1}) EXPECT_EQ(indpass(none), nullptr) << none;
}

TEST_P(ServerUsers, TablesWithoutUsersOrGroupsInstallEmptyTables)
{
    Publish(UsersConfig(Little(), Table(), Table()));
    EXPECT_EQ(lirepass(3), 0);
    EXPECT_EQ(globnbpass + globnbgroup + globnbpassu + globnbgroupu, 0);
    EXPECT_NE(pass, nullptr);
    EXPECT_NE(guu, nullptr);
    EXPECT_EQ(indpass(1), nullptr);
    EXPECT_FALSE(fatalerr);
}

TEST_P(ServerUsers, NoReplyKeepsTheOldTables)
{
    Publish(UsersConfig(Little(), Demo(), Remote()));
    ASSERT_EQ(lirepass(3), 0);
    Handle anna = indpass(3);
    closeconnection();
    EXPECT_EQ(lirepass(3), -5);
    EXPECT_TRUE(fatalerr);
    EXPECT_TRUE(fatalerrpass);
    EXPECT_EQ(indpass(3), anna);
    EXPECT_EQ(globnbpass, 5);
}

// A reply whose counts do not fit its bytes is refused whole: the tables
// read before stay, and so does the counter.
TEST_P(ServerUsers, ALyingReplyIsRefusedWithTheOldTablesKept)
{
    struct Case {
        const char* what;
        bool inTableOne;
        size_t at;  // a count's offset in the table
        uint16_t value;
    };
    const Case cases[] = {
        {"more users than bytes", false, 2, 6},
        {"a negative user count", false, 2, 0xFFFF},
        {"more groups than bytes", false, 4, 3},
        {"a group longer than the reply", false, 6 + 5 * 112, 40},
        {"table 1 claims a user it lacks", true, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Handle anna = TablesReadFromAStoppedServer();

        TestServerConfig lying = UsersConfig(Little(), Demo(), Remote());
        Bytes flat = (c.inTableOne ? Remote() : Demo()).Flat();
        platform::WriteBE16(flat.data() + c.at, c.value);
        encryptetext(flat.data(), int32_t(flat.size()), PasswordTableKey());
        lying.resources[c.inTableOne ? 2 : 1].data = InServerOrder(Little(), FourCC("PAQz"), flat);
        lying.passwordCounter = 9;
        ASSERT_TRUE(server_.Start(lying));
        Connect();
        fatalerr = fatalerrpass = false;
        EXPECT_EQ(lirepass(3), -1);
        EXPECT_TRUE(fatalerr);
        EXPECT_EQ(indpass(3), anna);
        EXPECT_EQ(passcount, 7);
        EXPECT_EQ(globnbpassu, 1);
        ForgetWhatWasRead();
    }
}

// A login finds its user by the name typed: tables in which two live users
// bear one name (in either table, in any case the comparison ignores) are
// refused whole, the tables read before kept; a deleted user's name is
// free for another.
TEST_P(ServerUsers, TablesNamingOneUserTwiceAreRefused)
{
    struct Case {
        const char* what;
        Table table0, table1;
        int16_t result;
    };
    Table twice = Demo(), otherCase = Demo(), deletedFirst = Demo(), inTableOne;
    twice.users.push_back({"Anna", "other"});
    otherCase.users.push_back({"ANNA", "other"});
    deletedFirst.users[2].state = kDeletedUser;
    deletedFirst.users.push_back({"Anna", "anna"});
    inTableOne.users = {{"Bert", "b"}};
    const Case cases[] = {{"twice in table 0", twice, Remote(), kUserNamedTwice},
                          {"in another case", otherCase, Remote(), kUserNamedTwice},
                          {"in both tables", Demo(), inTableOne, kUserNamedTwice},
                          {"once deleted, once live", deletedFirst, Remote(), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Handle anna = TablesReadFromAStoppedServer();

        TestServerConfig config = UsersConfig(Little(), c.table0, c.table1);
        config.passwordCounter = 9;
        ASSERT_TRUE(server_.Start(config));
        Connect();
        fatalerr = false;
        EXPECT_EQ(lirepass(3), c.result);
        EXPECT_EQ(fatalerr, c.result != 0);
        EXPECT_EQ(passcount, c.result ? 7 : 9);
        EXPECT_EQ(c.result ? indpass(3) : nullptr, c.result ? anna : nullptr) << "the tables read before";
        EXPECT_EQ(FindLiveUserByName(P("Anna")), c.result ? 3 : 6);
        ForgetWhatWasRead();
    }
}

// Mode 1 reads the server and then the structure's resources: the
// resources' tables win, the counter is the server's.
TEST_P(ServerUsers, ResourcesWinOverTheServerInOneCall)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Remote());
    config.passwordCounter = 7;
    Publish(config);
    ASSERT_EQ(lirepass(3), 0);
    RenameAnna();

    EXPECT_EQ(lirepass(1), 0);
    EXPECT_EQ(passcount, 8) << "the write counts as a change";
    EXPECT_EQ(NameOf(indpass(3)), "Anna");
    EXPECT_EQ(lirepass(3), 0);
    EXPECT_EQ(NameOf(indpass(3)), "Anne");
}

TEST_P(ServerUsers, TheVersionIsCheckedOncePer36000TicksUnlessForced)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Remote());
    config.passwordCounter = 7;
    Publish(config);
    ASSERT_EQ(lirepass(3), 0);
    timepass = platform::TickCount();
    const int tablesBefore = Sent(74);

    CheckReloadPass(false);
    clock_.Advance(36000);
    CheckReloadPass(false);
    EXPECT_EQ(Sent(78), 0) << "within 36000 ticks";
    clock_.Advance(1);
    CheckReloadPass(false);
    EXPECT_EQ(Sent(78), 1);
    EXPECT_EQ(Sent(74), tablesBefore) << "the same counter reloads nothing";
    EXPECT_EQ(timepass, platform::TickCount());

    RenameAnna();
    editpassencours = true;
    CheckReloadPass(true);
    EXPECT_EQ(Sent(78), 1) << "no check while the users are edited";
    editpassencours = false;
    CheckReloadPass(true);
    EXPECT_EQ(Sent(78), 2);
    EXPECT_EQ(Sent(74), tablesBefore + 1);
    EXPECT_EQ(passcount, 8);

    closeconnection();
    CheckReloadPass(true);
    EXPECT_EQ(passcount, 0) << "no reply is counter 0";
}

TEST_P(ServerUsers, SingleUsersAreReadCheckedAndWrittenBack)
{
    Publish(UsersConfig(Little(), Demo(), Remote()));
    ASSERT_EQ(lirepass(3), 0);
    unsigned char scrambled[16];
    encryptepass(scrambled, P("anna"));
    struct Check {
        int16_t user;
        const unsigned char* password;
        bool right;
    };
    const Check checks[] = {{3, P("anna"), true},  {3, scrambled, true}, {3, P("ann"), false}, {3, P(""), false},
                            {4, P("anna"), false}, {99, P("anna"), false}, {-12, P("r"), false}, {-11, P("r"), true}};
    for (const Check& c : checks) EXPECT_EQ(testpass(c.user, c.password), c.right) << c.user << " " << int(c.password[0]);
    EXPECT_TRUE(x_issuperpass(P("design")));
    EXPECT_FALSE(x_issuperpass(P("admin")));

    Handle record = nullptr;
    lire1pass(-11, &record);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(platform::GetHandleSize(record), 112);
    EXPECT_EQ(NameOf(record), "Remote");
    EXPECT_EQ(platform::ReadBES32(*record + 108), -7);
    Handle none = reinterpret_cast<Handle>(1);
    lire1pass(99, &none);
    EXPECT_EQ(none, nullptr);

    // A record that cannot grow to carry the user's number is not sent.
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(ecris1pass(-11, record), platform::memFullErr);
    }
    EXPECT_EQ(platform::GetHandleSize(record), 112);
    EXPECT_EQ(Sent(75), 0);
    std::memcpy(*record + 4, "\x06" "Remote", 7);
    platform::WriteBE32(*record + 108, 0x01020304);
    EXPECT_EQ(ecris1pass(-11, record), 0);
    EXPECT_EQ(platform::GetHandleSize(record), 112);
    EXPECT_NE(ecris1pass(99, record), 0) << "no such user on the server";
    kill1pass(record);
    lire1pass(-11, &record);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(platform::ReadBES32(*record + 108), 0x01020304);
    kill1pass(record);
    for (const JournalEntry& e : Journal()) {
        if (e.code != 75) continue;
        ASSERT_EQ(e.payload.size(), 114u);
        const uint16_t number = Little() ? platform::ReadLE16(&e.payload[112]) : platform::ReadBE16(&e.payload[112]);
        EXPECT_TRUE(number == uint16_t(-11) || number == 99) << number;
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, ServerUsers, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "LittleEndianServer" : "BigEndianServer"; });

}  // namespace
