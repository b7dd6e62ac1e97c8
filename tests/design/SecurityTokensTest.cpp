// Security tokens of a local structure's users: group membership through
// nested and looping groups, the designer's and administrators' rights,
// the token cache, the user of each task, logins that the server does not
// confirm, the design-access decision and the login dialog.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/dialogs/DialogUtilities.h"
#include "design/documents/Passwords.h"
#include "design/objects/TableDescriptions.h"
#include "design/security/ExternalPasswords.h"
#include "design/security/Login.h"
#include "design/security/SecurityManager.h"
#include "design/security/SecurityProviders.h"
#include "design/security/SecurityTokens.h"
#include "kernel/helpers/EntryAttributes.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/tasks/TaskRecords.h"
#include "network/Requests.h"
#include "network/Wire.h"
#include "platform/core/Endian.h"
#include "platform/events/DialogAnswers.h"
#include "platform/fonts/Fonts.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/design/DocFilesFixture.h"
#include "tests/design/UserTableBytes.h"
#include "tests/network/ScriptedPeer.h"

using namespace usertables;
using platform::FourCC;

namespace {

class Security : public doctest::DocFiles {
protected:
    void SetUp() override
    {
        DocFiles::SetUp();
        ResetTasks();
        ResetLoginGlobals();
        ResetExternalPasswords();
        MakeSecurityManager();
        ASSERT_NE(gSecurityManager, nullptr);
    }
    void TearDown() override
    {
        DisposeSecurityManager();
        ResetTasks();
        ResetLoginGlobals();
        ResetExternalPasswords();
        platform::SetScriptedAnswerObserver(nullptr);
        DocFiles::TearDown();
    }

    // A structure holding the tables, current, its tables loaded.
    void Install(const Table& t0, const Table& t1 = Table(), int16_t designGroup = 0)
    {
        const platform::FSSpec fileSpec = InFolder("S" + std::to_string(++made_) + ".QzB");
        const int16_t file = createres(fileSpec, FourCC("Qz06"), FourCC("BAS5"));
        ASSERT_GT(file, 0);
        useres(file);
        Bytes prqz(3648, 0);
        prqz[4] = 15;
        platform::WriteBE32(prqz.data() + 48, uint32_t(uint16_t(designGroup)));
        Add(FourCC("PRQz"), 0, prqz);
        Add(FourCC("PAQz"), 0, t0.Stored());
        Add(FourCC("PAQz"), 1, t1.Stored());
        UseQzRes(file);
        ASSERT_EQ(lirepass(2), 0);
        platform::Handle record = xget1res(FourCC("PRQz"), 0);
        ASSERT_EQ(platform::HandToHand(&record), 0);
        SetDocParamRecord(file, record);
        hparam = record;
    }
    void Add(uint32_t type, int16_t id, const Bytes& bytes)
    {
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        ASSERT_TRUE(xaddres(h, type, id));
    }
    taskuser* Task(int16_t kind)
    {
        const int16_t n = newtask(-1, 1, 0, P("Task"), 0, kind);
        EXPECT_GT(n, 0);
        return TaskAt(n);
    }
    VSecurityToken* Token(int16_t user)
    {
        VSecurityToken* token = gSecurityManager->RetainToken(user, nullptr, false);
        if (token) held_.push_back(token);
        return token;
    }
    void Release()
    {
        for (VSecurityToken* t : held_) t->Release();
        held_.clear();
    }
    int made_ = 0;
    std::vector<VSecurityToken*> held_;
};

// Users 1 Designer, 2 Administrator, 3 Anna, 4 Bert; -11 Remote.
// Table 0 groups: 1 {Anna}; 2 {group 1}; 3 {itself}; 4 {group 5, Bert};
// 5 {group 4}; 6 {table 1's group 1}; 7 {a number no group has}.
// Table 1 groups: 1 {Remote}; 2 {table 0's group 2}.
TEST_F(Security, GroupsHoldTheirMembersThroughNestedAndLoopingGroups)
{
    Table t0, t1;
    t0.users = {{"Designer", "d"}, {"Administrator", "a"}, {"Anna", "anna"}, {"Bert", "bert"}};
    t0.groups = {{3}, {15001}, {15003}, {15005, 4}, {15004}, {-15001}, {15099}};
    t1.users = {{"Remote", "r"}};
    t1.groups = {{-11}, {15002}};
    Install(t0, t1);
    struct Case {
        int16_t user;
        std::string table0;  // groups 1..7, then table 1's 1..2
        std::string table1;
    };
    const Case cases[] = {
        {3, "TTFFFFF", "FT"}, {4, "FFFTTFF", "FF"}, {-11, "FFFFFTF", "TF"},
        {2, "FFFFFFF", "FF"}, {1, "TTTTTTT", "TT"}, {0, "TTTTTTT", "TT"},
    };
    for (const Case& c : cases) {
        VSecurityToken* token = Token(c.user);
        ASSERT_NE(token, nullptr);
        std::string got0, got1;
        for (int16_t g = 1; g <= 7; ++g) got0 += token->IsInGroup(g) ? 'T' : 'F';
        for (int16_t g = 1; g <= 2; ++g) got1 += token->IsInGroup(int16_t(-g)) ? 'T' : 'F';
        EXPECT_EQ(got0, c.table0) << "user " << c.user;
        EXPECT_EQ(got1, c.table1) << "user " << c.user;
        EXPECT_TRUE(token->IsInGroup(0)) << "group 0 is everybody";
        EXPECT_EQ(token->IsInGroup(8), c.user == 0 || c.user == 1) << "past the last group";
        EXPECT_EQ(token->IsInGroup(-3), c.user == 0 || c.user == 1);
    }
    const VSecurityToken_QzInfo* anna = Token(3)->GetInfo();
    ASSERT_NE(anna, nullptr);
    EXPECT_TRUE(anna->_TestGroup(15002));
    EXPECT_TRUE(anna->_TestGroup(-15002));
    EXPECT_FALSE(anna->_TestGroup(15003));
    EXPECT_TRUE(anna->_TestGroup(3)) << "a user number is the user";
    EXPECT_FALSE(anna->_TestGroup(15008)) << "no such group: compared as a user";
    Release();
}

// A chain of 2,000 groups, each holding the next, the user in the last:
// every group holds the user, and no step recurses per group.
TEST_F(Security, ALongChainOfGroupsIsWalkedWithoutRecursion)
{
    Table t0;
    t0.users = {{"Designer", "d"}, {"Administrator", "a"}, {"Anna", "anna"}};
    constexpr int16_t kChain = 2000;
    for (int16_t g = 1; g < kChain; ++g) t0.groups.push_back({int16_t(15000 + g + 1)});
    t0.groups.push_back({3});
    Install(t0);
    VSecurityToken* anna = Token(3);
    ASSERT_NE(anna, nullptr);
    for (int16_t g : {int16_t(1), int16_t(2), int16_t(1000), kChain}) EXPECT_TRUE(anna->IsInGroup(g)) << g;
    EXPECT_FALSE(Token(2)->IsInGroup(1));
    Release();
}

TEST_F(Security, RightsOfTheDesignerAdministratorsAndOthers)
{
    Table t0, t1;
    t0.users = {{"Designer", "d", 1, 0}, {"Administrator", "a", 1, 0}, {"Anna", "anna", 1, 15001}};
    t1.users = {{"Remote", "r", 1, 77}};
    Install(t0, t1);
    struct Case {
        int16_t user;
        bool designer, admin;
        int32_t owner;
    };
    for (const Case c : {Case{0, true, true, 0}, Case{1, true, true, 0}, Case{2, false, true, 0},
                         Case{3, false, false, 15001}, Case{-11, false, false, 77}, Case{9, false, false, 0}}) {
        VSecurityToken* token = Token(c.user);
        ASSERT_NE(token, nullptr);
        EXPECT_EQ(token->IsDesigner(), c.designer) << c.user;
        EXPECT_EQ(token->IsAdmin(), c.admin) << c.user;
        EXPECT_EQ(token->GetDefaultOwner(), c.owner) << c.user;
    }
    Release();
}

TEST_F(Security, OneTokenPerUserIsCachedAndFoundByName)
{
    Install(Demo(), Table{{{"Remote", "r"}}, {}});
    VSecurityToken* first = Token(3);
    VSecurityToken* again = Token(3);
    EXPECT_EQ(first, again);
    EXPECT_EQ(gSecurityManager->CachedTokenCount(), 1);
    EXPECT_EQ(first->GetRefCount(), 3) << "the cache's and two callers'";
    struct Find {
        const char* name;
        int16_t user;
    };
    for (const Find f : {Find{"anna", 3}, Find{"Remote", -11}, Find{"Gone", -1}, Find{"", -1}}) {
        int16_t user = 99;
        EXPECT_EQ(gSecurityManager->FindUserByName(P(f.name), &user), f.user != -1) << f.name;
        EXPECT_EQ(user, f.user) << f.name;
    }
    EXPECT_EQ(gSecurityManager->RetainToken(P("Gone"), nullptr, false), nullptr) << "a deleted user has no token";
    EXPECT_FALSE(IsValidUser(5)) << "deleted";
    gSecurityManager->PurgeTokens();
    EXPECT_EQ(first->GetRefCount(), 2);
    EXPECT_NE(Token(3), first) << "a purged token is not handed out again";
    Release();
    // The external system knows no names here.
    gSecurityManager->UseProvider(new VSecurityProvider_External(true));
    int16_t user = 99;
    EXPECT_FALSE(gSecurityManager->FindUserByName(P("Anna"), &user));
    EXPECT_EQ(user, -1);
}

// Only the designer may delete users: others, the administrator among
// them, are refused and the users stay.
TEST_F(Security, UsersAreDeletedByTheDesignerOnly)
{
    Install(Demo());
    taskuser* main = Task(-10);
    for (const int16_t by : {4, 3, 2}) {
        SetTaskToken(main, Token(by));
        EXPECT_EQ(DeleteUser(3), kNotAllowedToDelete) << by;
        EXPECT_TRUE(IsValidUser(3)) << by;
    }
    Release();
}

TEST_F(Security, WithoutUsersAccessIsFreeAndEveryGroupAdmitsEveryone)
{
    Install(Table());
    Task(-10);
    VSecurityProvider* provider = gSecurityManager->GetProvider();
    EXPECT_TRUE(provider->IsFreeAccess());
    EXPECT_EQ(gSecurityManager->GetCurrentUserID(), 1);
    VSecurityToken* five = Token(5);
    ASSERT_NE(five, nullptr);
    for (int16_t g : {1, 7, -2, 15001}) EXPECT_TRUE(five->IsInGroup(g)) << g;
    Release();

    Table open;
    open.users = {{"Designer", ""}, {"Anna", "anna"}};
    Install(open);
    EXPECT_TRUE(provider->IsFreeAccess()) << "the designer has no password";
    Install(Demo());
    EXPECT_FALSE(provider->IsFreeAccess());
}

// The current task's user, else the first task's; the designer (1) when
// access is free or nobody is logged in.
TEST_F(Security, TheCurrentUserIsTheCurrentTasksOrElseTheFirstTasks)
{
    Install(Demo());
    taskuser* first = Task(-10);
    taskuser* second = Task(2);
    ASSERT_EQ(curtu, second);
    struct Case {
        int16_t firstUser, secondUser;  // 0: no token
        bool firstDead, secondDead;
        bool appl;
        int16_t id;
        bool admin;
    };
    const Case cases[] = {
        {0, 0, false, false, true, 1, false}, {3, 4, false, false, true, 4, false}, {2, 4, false, true, true, 2, true},
        {3, 0, true, false, true, 1, false},  {0, 2, false, false, false, 2, true},
    };
    for (const Case& c : cases) {
        SetTaskToken(first, c.firstUser ? Token(c.firstUser) : nullptr);
        SetTaskToken(second, c.secondUser ? Token(c.secondUser) : nullptr);
        first->dead = c.firstDead;
        second->dead = c.secondDead;
        if (!c.appl) MyAppl = nullptr;
        else if (!MyAppl) MakeAppl();
        EXPECT_EQ(gSecurityManager->GetCurrentUserID(), c.id) << c.firstUser << "/" << c.secondUser;
        EXPECT_EQ(gSecurityManager->IsCurrentUserAdmin(), c.admin) << c.firstUser << "/" << c.secondUser;
    }
    Release();
}

// A login reaches the live tasks of the user's kinds; one the server does
// not confirm (here: no server) leaves every task with the user it had.
TEST_F(Security, ALoginReachesTheUsersTasksAndARefusedOneChangesNothing)
{
    Install(Demo());
    const int16_t kinds[] = {-10, 2, 3, 4, -1, -2, -6, -7, -8, -9, 1, 5, -3, 2};
    std::vector<taskuser*> tasks;
    for (int16_t kind : kinds) tasks.push_back(Task(kind));
    tasks.back()->dead = 1;
    taskuser* current = Task(-10);
    VSecurityToken* bert = Token(4);
    for (taskuser* t : tasks) SetTaskToken(t, bert);
    SetTaskToken(current, bert);

    EXPECT_FALSE(gSecurityManager->Login(nullptr, 1, true));
    VSecurityToken* anna = Token(3);
    EXPECT_FALSE(gSecurityManager->Login(anna, 1, false)) << "the server does not take the identity";
    for (taskuser* t : tasks) EXPECT_EQ(TaskToken(t), bert);
    EXPECT_EQ(TaskToken(current), bert);

    EXPECT_TRUE(gSecurityManager->Login(anna, 1, true));
    std::string reached;
    for (taskuser* t : tasks) reached += TaskToken(t) == anna ? 'A' : 'B';
    EXPECT_EQ(reached, "BAAAAAAAAABBBB") << "the main task, other kinds and the dead task keep theirs";
    EXPECT_EQ(TaskToken(current), anna);
    EXPECT_TRUE(gSecurityManager->Login(bert, 0, true));
    EXPECT_EQ(TaskToken(current), bert);
    EXPECT_EQ(TaskToken(tasks[1]), anna) << "scheme 0 changes the current task only";
    gSecurityManager->Logout();
    EXPECT_EQ(TaskToken(current), nullptr);
    EXPECT_EQ(GetDefaultOwner(), 0);
    Release();
}

// The design-access group of the structure's parameters decides.
TEST_F(Security, TheDesignGroupAdmitsItsMembersOnly)
{
    Install(Demo(), Table(), 1);
    taskuser* main = Task(-10);
    EXPECT_TRUE(okstruct()) << "nobody logged in";
    SetTaskToken(main, Token(4));
    EXPECT_FALSE(okstruct());
    SetTaskToken(main, Token(3));
    EXPECT_TRUE(okstruct());
    gIsRuntime = 1;
    EXPECT_FALSE(okstruct()) << "never in the runtime configuration";
    gIsRuntime = 0;
    hparam = nullptr;
    EXPECT_FALSE(okstruct()) << "without parameters";
    Release();
}

// The dialog of a local structure: names looked up among the live users,
// passwords compared in scrambled form, the password's record in bullets.
TEST_F(Security, TheLoginDialogTakesOnlyALiveUserWithTheRightPassword)
{
    Install(Demo(), Table{{{"Remote", "r"}}, {}});
    ASSERT_EQ(platform::InitScreen(1024, 768), 0);
    struct Answer {
        const char* name;
        const char* password;
        int16_t item;
    };
    static std::vector<Answer> answers;
    static std::vector<int16_t> fonts;
    static std::vector<std::string> names;
    answers = {{"Gone", "gone", 1}, {"Anna", "bert", 1}, {"Remote", "r", 1}};
    fonts.clear();
    names.clear();
    platform::SetScriptedAnswerObserver([](platform::DialogRef dialog) {
        unsigned char shown[256];
        GetText(shown, dialog, 8);
        names.emplace_back(reinterpret_cast<const char*>(shown + 1), shown[0]);
        platform::SelectDialogItemText(dialog, 9, 0, 0);
        fonts.push_back((**platform::GetDialogTextEditHandle(dialog)).txFont);
        const Answer a = answers.front();
        answers.erase(answers.begin());
        SetText(dialog, 8, P(a.name));
        SetText(dialog, 9, P(a.password));
    });
    for (size_t i = 0; i < 3; ++i) platform::PushDialogAnswer(1);
    const uint32_t beeps = platform::SysBeepCount();
    int16_t user = 0;
    unsigned char password[16];
    ASSERT_TRUE(ShowLoginDialog_user_pwd(P("Anna"), &user, password));
    EXPECT_EQ(user, -11);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(password + 1), password[0]), "r") << "as typed";
    EXPECT_EQ(platform::SysBeepCount() - beeps, 2u) << "a deleted user and a wrong password";
    EXPECT_EQ(names, (std::vector<std::string>{"Anna", "Gone", "Anna"})) << "the default name, then as typed";
    EXPECT_EQ(fonts, (std::vector<int16_t>(3, platform::kFontIDBullets)));

    answers = {{"Anna", "anna", 2}};
    platform::PushDialogAnswer(2);
    EXPECT_FALSE(ShowLoginDialog_user_pwd(nullptr, &user, password));
    EXPECT_EQ(user, 0);
    EXPECT_EQ(password[0], 0);
    EXPECT_EQ(platform::FrontWindow(), nullptr) << "the dialog is gone";
    platform::InitScreen();
}

// Logins of a local structure without a server: the external system when
// it is on, the start-up name and password, else the dialog (cancelled
// here); whoever is found is refused, as no server confirms the identity.
TEST_F(Security, TheLoginTakesTheExternalSystemTheStartUpNameOrElseTheDialog)
{
    // Bert (4), without a password, is the structure's default user.
    Table users = Demo();
    users.users[3].password = "";
    Install(users);
    platform::Handle param = xget1res(FourCC("PRQz"), 0);
    ASSERT_NE(param, nullptr);
    platform::WriteBE32(reinterpret_cast<uint8_t*>(*param) + 52, 4);
    ASSERT_EQ(platform::InitScreen(1024, 768), 0);
    static std::vector<std::string> shown;
    platform::SetScriptedAnswerObserver([](platform::DialogRef dialog) {
        unsigned char name[256];
        GetText(name, dialog, 8);
        shown.emplace_back(reinterpret_cast<const char*>(name + 1), name[0]);
    });
    struct Case {
        bool external, manager;
        const char* name;
        const char* password;
        bool useDefaultUser;
        int16_t result;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {true, true, "", "", true, platform::paramErr, {}},  // on, but no module hooked
        {false, false, "Anna", "anna", true, kLoginRefused, {}},
        {false, true, "", "", true, kLoginRefused, {}},  // the default user
        {false, true, "Nobody", "x", true, kLoginCancelled, {"Nobody"}},
        {false, true, "", "", false, kLoginCancelled, {""}},
    };
    for (const Case& c : cases) {
        ResetExternalPasswords();
        if (c.external) HasPassWordsExtern = true;
        if (!c.manager) DisposeSecurityManager();
        std::memcpy(gStartupUserName, P(c.name), std::strlen(c.name) + 1);
        encryptepass(gStartupPassword, P(c.password));
        shown.clear();
        platform::ClearDialogAnswers();
        platform::PushDialogAnswer(2);
        EXPECT_EQ(takepass(c.useDefaultUser), c.result) << c.name << c.password;
        EXPECT_EQ(shown, c.asked) << c.name << c.password;
        int16_t item = 0;
        EXPECT_EQ(platform::TakeDialogAnswer(&item), c.asked.empty()) << "the cancel is left when nothing asked";
        EXPECT_EQ(gStartupUserName[0], c.external || !c.manager ? std::strlen(c.name) : 0u) << "a used name is cleared";
        if (!c.manager) MakeSecurityManager();
        ASSERT_NE(gSecurityManager, nullptr);
    }
    platform::ClearDialogAnswers();
    platform::InitScreen();
    Release();
}

// The external system through a server: a granted privilege is kept for a
// while; a login goes on until a reply of two bytes names the user, and an
// empty reply ends it at once.
TEST_F(Security, TheExternalSystemKeepsGrantsAndLogsInTheUserAReplyNames)
{
    Install(Demo());
    Task(-10);
    static int16_t loginReplies = 0;
    static int32_t privilegeChecks = 0;
    ScriptedPeer peer({}, [](uint16_t sequence, int16_t code) {
        std::vector<uint8_t> out;
        if (code == 180) ++privilegeChecks;
        // Logins: first a reply naming nobody, then one naming Bert (4),
        // then an empty one.
        static const std::vector<uint8_t> kLogins[] = {{0, 0, 9}, {0, 4}, {}};
        std::vector<uint8_t> payload;
        if (code == 179) payload = kLogins[std::min(loginReplies++, int16_t(2))];
        ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameReply, payload);
        return out;
    });
    ResetRequestLayer();
    ASSERT_EQ(OpenServerConnection("127.0.0.1", peer.Port()), 0);
    EXPECT_TRUE(OKPass_ext(15002));
    EXPECT_TRUE(OKPass_ext(15002)) << "kept";
    EXPECT_EQ(privilegeChecks, 1);
    EXPECT_EQ(peer.Body(180), (std::vector<uint8_t>{0x3A, 0x9A})) << "the group's number alone";

    static std::vector<int16_t> selectors;
    selectors.clear();
    passhook = [](int16_t selector, platform::Handle* message) -> int16_t {
        selectors.push_back(selector);
        if (selector == 103 || selector == 105) platform::PtrToHand("m", message, 1);
        return 0;
    };
    HasPassWordsExtern = true;
    EXPECT_EQ(takepass(false), 0);
    EXPECT_EQ(selectors, (std::vector<int16_t>{103, 104, 105}));
    EXPECT_EQ(gSecurityManager->GetCurrentUserID(), 4);
    selectors.clear();
    EXPECT_EQ(takepass(false), -5) << "an empty reply";
    EXPECT_EQ(selectors, (std::vector<int16_t>{103}));
    ResetRequestLayer();
}

// The identity goes out as four length-prefixed fields 32 bytes apart:
// the machine's login, the user's name, the token's password and the
// task's name.
TEST_F(Security, TheIdentityGoesOutFieldByField)
{
    Install(Demo());
    Task(-10);
    ScriptedPeer peer({}, [](uint16_t sequence, int16_t code) {
        std::vector<uint8_t> out;
        // The password check (73) answers with a word.
        const std::vector<uint8_t> payload = code == 73 ? std::vector<uint8_t>{0, 0} : std::vector<uint8_t>{};
        ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameReply, payload);
        return out;
    });
    ResetRequestLayer();
    ASSERT_EQ(OpenServerConnection("127.0.0.1", peer.Port()), 0);
    // The server confirms the password.
    VSecurityToken* anna = gSecurityManager->RetainToken(3, P("anna"), false);
    ASSERT_NE(anna, nullptr);
    held_.push_back(anna);
    const auto* own = dynamic_cast<const VSecurityToken_Qz*>(anna);
    ASSERT_TRUE(own && own->GetPassword()[0] > 0);
    EXPECT_TRUE(gSecurityManager->SendIDToServer(anna));
    ResetRequestLayer();
    const std::vector<uint8_t> body = peer.Body(196);
    ASSERT_EQ(body.size(), 130u);
    auto field = [&](size_t at) { return std::string(body.begin() + at + 1, body.begin() + at + 1 + body[at]); };
    auto text = [](const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); };
    unsigned char login[256];
    GetNameInformation(5, login);
    EXPECT_EQ(field(0), login[0] ? text(login).substr(0, 30) : "????");
    EXPECT_EQ(field(32), "Anna");
    EXPECT_EQ(field(64), text(own->GetPassword()));
    EXPECT_EQ(field(96), text(curtu->name));
    EXPECT_EQ(body[63], 0);
    EXPECT_EQ(body[95], 0);
    EXPECT_EQ(body[128] | body[129], 0);
    Release();
}

// The identity goes out without a current task as well (and is refused
// here, with no server); the manager's provider takes the users' tables
// away with it.
TEST_F(Security, TheIdentityNeedsNoTaskAndTheTablesGoWithTheProvider)
{
    Install(Demo());
    taskuser* const saved = curtu;
    curtu = nullptr;
    EXPECT_FALSE(gSecurityManager->SendIDToServer(Token(3)));
    curtu = saved;
    Release();
    EXPECT_EQ(globnbpass, 5);
    DisposeSecurityManager();
    EXPECT_EQ(globnbpass, 0);
    MakeSecurityManager();
}

}  // namespace
