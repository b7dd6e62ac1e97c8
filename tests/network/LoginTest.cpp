// Logging in to a structure held by the test server: a start-up name and
// password, the identity the server is told (request 196) and a refusal of
// it, the default user, deleting users and changing a password through the
// server, and the external password system's checks and login.
#include <cstdlib>

#include "design/documents/Passwords.h"
#include "design/security/ExternalPasswords.h"
#include "design/security/Login.h"
#include "design/security/SecurityManager.h"
#include "design/security/SecurityProviders.h"
#include "design/security/SecurityTokens.h"
#include "design/documents/DocResources.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/tasks/TaskRecords.h"
#include "tests/network/UserTables.h"

using namespace usertables;
using namespace serverfile;

namespace {

class ServerLogin : public ServerUsersTest {
protected:
    void SetUp() override
    {
        ServerUsersTest::SetUp();
        ResetTasks();
        ResetLoginGlobals();
        ResetExternalPasswords();
        newtask(-1, 1, 0, P("Main"), 0, -10);
        MakeSecurityManager();
        ASSERT_NE(gSecurityManager, nullptr);
        const char* user = std::getenv("USER");
        savedUser_ = user ? user : "";
        hadUser_ = user != nullptr;
    }
    void TearDown() override
    {
        DisposeSecurityManager();
        ResetTasks();
        ResetLoginGlobals();
        ResetExternalPasswords();
        ResetDocResources();
        if (hadUser_) ::setenv("USER", savedUser_.c_str(), 1);
        else ::unsetenv("USER");
        ServerUsersTest::TearDown();
    }
    // The structure published, its users read.
    void Publish(const TestServerConfig& config)
    {
        ServerUsersTest::Publish(config);
        ASSERT_EQ(lirepass(3), 0);
    }
    Bytes LastIdentity()
    {
        Bytes last;
        for (const JournalEntry& e : Journal())
            if (e.connection == 1 && e.code == 196) last = e.payload;
        return last;
    }
    // Logs the user in without telling the server.
    void As(int16_t user)
    {
        VSecurityToken* token = gSecurityManager->RetainToken(user, nullptr, false);
        ASSERT_NE(token, nullptr);
        EXPECT_TRUE(gSecurityManager->Login(token, 1, true));
        token->Release();
    }
    int16_t CurrentUser() { return TaskToken(curtu) ? TaskToken(curtu)->GetUser() : 0; }
    static std::string Field(const Bytes& b, size_t at)
    {
        return std::string(reinterpret_cast<const char*>(b.data() + at + 1), b[at]);
    }
    static void Scrambled(const char* password, unsigned char* out)
    {
        encryptepass(out, P(password));
    }

    std::string savedUser_;
    bool hadUser_ = false;
};

// The identity: 0 the machine's login name (cut to 30, "????" without
// one), 32 the user's name, 64 the password as validated (scrambled), 96
// the task's name, 128-129 zero.
TEST_P(ServerLogin, AStartUpNameLogsInWithoutADialogAndTellsTheServerWhoItIs)
{
    Publish(UsersConfig(Little(), Demo(), Table()));
    struct Case {
        const char* login;  // null: none
        std::string sent;
    };
    const Case cases[] = {{"tester", "tester"},
                          {nullptr, "????"},
                          {"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz0123"}};
    for (const Case& c : cases) {
        if (c.login) ::setenv("USER", c.login, 1);
        else ::unsetenv("USER");
        std::memcpy(gStartupUserName, P("Anna"), 5);
        Scrambled("anna", gStartupPassword);
        ASSERT_EQ(takepass(false), 0);
        EXPECT_EQ(CurrentUser(), 3);
        EXPECT_EQ(gStartupUserName[0] + gStartupPassword[0], 0) << "both cleared";
        const Bytes id = LastIdentity();
        ASSERT_EQ(id.size(), 130u);
        EXPECT_EQ(Field(id, 0), c.sent);
        EXPECT_EQ(Field(id, 32), "Anna");
        unsigned char scrambled[16];
        Scrambled("anna", scrambled);
        EXPECT_EQ(Field(id, 64), std::string(reinterpret_cast<const char*>(scrambled + 1), 4));
        EXPECT_EQ(Field(id, 96), "Main");
        EXPECT_EQ(id[128] | id[129], 0);
    }
    EXPECT_EQ(Sent(196), 3);
}

TEST_P(ServerLogin, AnIdentityTheServerRefusesLeavesTheTaskWithItsUser)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Table());
    config.identityError = -9999;
    Publish(config);
    As(4);
    std::memcpy(gStartupUserName, P("Anna"), 5);
    Scrambled("anna", gStartupPassword);
    EXPECT_EQ(takepass(false), kLoginRefused);
    EXPECT_EQ(CurrentUser(), 4);
    EXPECT_EQ(Sent(196), 1);
}

// With a default user the structure logs in without a dialog; a start-up
// password that is wrong, or a default user with a password, leaves the
// dialog to ask (none can show here: cancelled); a default user that is
// gone refuses without asking.
TEST_P(ServerLogin, TheDefaultUserAndAWrongStartUpPassword)
{
    Table users = Demo();
    users.users[3].password = "";
    struct Case {
        int16_t defaultUser;
        bool useDefault;
        const char* startupPassword;  // null: no start-up name
        int16_t result, user;
    };
    const Case cases[] = {{4, true, nullptr, 0, 4},
                          {4, false, nullptr, kLoginCancelled, 0},
                          {9, true, nullptr, kLoginRefused, 0},
                          {4, true, "wrong", kLoginCancelled, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defaultUser);
        TestServerConfig config = UsersConfig(Little(), users, Table());
        Bytes prqz(3648, 0);
        prqz[4] = 15;
        platform::WriteBE32(prqz.data() + 52, uint32_t(c.defaultUser));
        config.resources[0] = Resource(Little(), FourCC("PRQz"), 0, prqz);
        Publish(config);
        if (c.startupPassword) {
            std::memcpy(gStartupUserName, P("Bert"), 5);
            Scrambled(c.startupPassword, gStartupPassword);
        }
        EXPECT_EQ(takepass(c.useDefault), c.result);
        EXPECT_EQ(DefaultDBUser, c.defaultUser);
        EXPECT_EQ(CurrentUser(), c.user);
        gSecurityManager->Logout();
        ResetDocResources();
        ResetResManager();
        initresman();
        server_.Stop();
    }
}

TEST_P(ServerLogin, UsersAreDeletedOnlyByAnAdministratorWhileTheUsersAreFree)
{
    Table remote;
    remote.users = {{"Remote", "r"}};
    Publish(UsersConfig(Little(), Demo(), remote));
    struct Case {
        int16_t current, user;
        int16_t result;
    };
    const Case cases[] = {{3, 4, kNotAllowedToDelete}, {2, 4, kNotAllowedToDelete}, {2, -11, 0},
                          {1, 99, kNoSuchUser},        {1, 5, kNoSuchUser},         {1, 4, 0}};
    for (const Case& c : cases) {
        As(c.current);
        EXPECT_EQ(DeleteUser(c.user), c.result) << c.current << " deletes " << c.user;
    }
    for (int16_t gone : {int16_t(4), int16_t(-11)}) {
        Handle record = nullptr;
        lire1pass(gone, &record);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(platform::ReadBES32(*record), kDeletedUser) << "on the server";
        kill1pass(record);
    }
    // The tables here follow (the test server keeps its copy of the users
    // apart from its resources, which a reload of both sources prefers).
    EXPECT_FALSE(IsValidUser(4));
    EXPECT_EQ(Sent(75), 2);
    // Another client holds the users: nothing is sent.
    Take(OnProbe(kReqGetResLock, ResRequestRecord(kStructure, FourCC("PAQz"), 0), kTplResRequest, 0));
    ASSERT_EQ(probeErr_, 0);
    EXPECT_EQ(DeleteUser(3), kUsersNotLocked);
    EXPECT_EQ(Sent(75), 2);
    EXPECT_TRUE(IsValidUser(3));
}

TEST_P(ServerLogin, APasswordChangesOnTheServerOnlyWhenItCanBeKept)
{
    Publish(UsersConfig(Little(), Demo(), Table()));
    As(3);
    EXPECT_FALSE(ChangePassword(P("abcdefghijklmnop"))) << "16 characters";
    EXPECT_EQ(Sent(76) + Sent(75), 0);
    EXPECT_TRUE(ChangePassword(P("abcdefghijklmno")));
    EXPECT_TRUE(testpass(3, P("abcdefghijklmno")));
    EXPECT_FALSE(testpass(3, P("anna")));
    ASSERT_TRUE(gSecurityManager->SendIDToServer(TaskToken(curtu)));
    unsigned char scrambled[16];
    Scrambled("abcdefghijklmno", scrambled);
    EXPECT_EQ(Field(LastIdentity(), 64), std::string(reinterpret_cast<const char*>(scrambled + 1), 15));
    // A user the server has no record of.
    As(9);
    EXPECT_FALSE(ChangePassword(P("x")));
    EXPECT_EQ(Sent(75), 1);
    EXPECT_FALSE(gSecurityManager->SendIDToServer(TaskToken(curtu))) << "no record, no identity";
}

TEST_P(ServerLogin, PrivilegeChecksOfTheExternalSystemAreKeptForAWhile)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Table());
    config.privileged = {3, 15002};
    Publish(config);
    EXPECT_TRUE(IsAdmin_ext(3));
    EXPECT_TRUE(IsAdmin_ext(3));
    EXPECT_EQ(Sent(180), 1);
    clock_.Advance(360000);
    EXPECT_TRUE(IsAdmin_ext(3));
    EXPECT_EQ(Sent(180), 1) << "not older than 360,000 ticks";
    clock_.Advance(1);
    EXPECT_TRUE(IsAdmin_ext(3));
    EXPECT_EQ(Sent(180), 2);
    EXPECT_FALSE(IsAdmin_ext(4)) << "one user's answer is not another's";
    EXPECT_EQ(Sent(180), 3);

    EXPECT_TRUE(OKPass_ext(15002));
    EXPECT_FALSE(OKPass_ext(7));
    EXPECT_TRUE(OKPass_ext(15002));
    EXPECT_EQ(Sent(180), 5);
    EXPECT_EQ(CachedPrivilegeCount(), 2);
    clock_.Advance(359999);
    EXPECT_FALSE(OKPass_ext(7));
    EXPECT_EQ(Sent(180), 5);
    clock_.Advance(1);
    EXPECT_FALSE(OKPass_ext(7));
    EXPECT_EQ(Sent(180), 6) << "asked again at 360,000 ticks";
    EXPECT_EQ(CachedPrivilegeCount(), 2);
}

// The module's messages go to the server until a reply names the user;
// with groups switched off the server's privileges decide.
TEST_P(ServerLogin, TheExternalModuleLogsTheUserTheServerNames)
{
    TestServerConfig config = UsersConfig(Little(), Demo(), Table());
    config.externalLogin = {0, 0, 4};
    config.privileged = {15002};
    Publish(config);
    static std::vector<int16_t> selectors;
    static int messages = 0;
    selectors.clear();
    messages = 0;
    passhook = [](int16_t selector, Handle* message) -> int16_t {
        selectors.push_back(selector);
        if (selector == 103 || selector == 105) {
            const char text[] = {'m', char('1' + messages++)};
            platform::PtrToHand(text, message, 2);
        }
        return 0;
    };
    HasPassWordsExtern = true;
    gSecurityManager->UseProvider(new VSecurityProvider_External(false));
    EXPECT_EQ(takepass(false), 0);
    EXPECT_EQ(selectors, (std::vector<int16_t>{103, 104, 105, 104, 105}));
    std::vector<std::string> sent;
    for (const JournalEntry& e : Journal())
        if (e.connection == 1 && e.code == 179) sent.emplace_back(e.payload.begin(), e.payload.end());
    EXPECT_EQ(sent, (std::vector<std::string>{"m1", "m2", "m3"}));
    VSecurityToken* token = TaskToken(curtu);
    ASSERT_NE(dynamic_cast<VSecurityToken_External*>(token), nullptr);
    EXPECT_EQ(token->GetUser(), 4);
    EXPECT_EQ(Sent(196), 0);

    EXPECT_FALSE(okstruct()) << "Bert is no administrator and not in group 1";
    DisableQzGroups = 1;
    EXPECT_TRUE(ok2pass(0, nullptr));
    EXPECT_TRUE(ok2pass(15002, nullptr));
    EXPECT_FALSE(ok2pass(15001, nullptr));
    EXPECT_FALSE(token->IsInGroup(15001));
    EXPECT_TRUE(token->IsInGroup(15002));
    EXPECT_FALSE(token->ChangePassword(P("x")));
    EXPECT_EQ(gSecurityManager->GetProvider()->DeleteUser(3), kNotAllowedToDelete);
}

INSTANTIATE_TEST_SUITE_P(Orders, ServerLogin, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "LittleEndianServer" : "BigEndianServer"; });

}  // namespace
