#include <gtest/gtest.h>

#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/ClickSeries.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "platform/events/Events.h"
#include "platform/screen/Screen.h"
#include "tests/app/AppFixture.h"
#include "tests/app/Fakes.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace apptest;
using namespace platform;

namespace {

const char* kCommandMenus = R"(
'MENU' 128 { title "\x14" }
'MMBR' 129 { menu 130 "File" items 1 5 32 33 2 22 23 24 25 }
'MITM' 22 { text "Cut" command 22 }
'MITM' 23 { text "Copy" command 23 }
'MITM' 24 { text "Paste" command 24 }
'MITM' 25 { text "Clear" command 25 }
'MITM' 1 { text "Open" command 2 key "O" }
'MITM' 5 { text "Close all" command 5 }
'MITM' 32 { text "Stack" command 32 }
'MITM' 33 { text "Tile" command 33 }
'MITM' 2 { text "Fonts" command 100 kind group }
)";

class CommandsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseAppResources(kCommandMenus);
        appl = new RecordingAppl;
        MakeAppl(appl);
        appl->SetMenus();
    }
    RecordingAppl* appl = nullptr;
};

TEST_F(CommandsTest, AChoiceAndItsKeyGiveTheSameCommand)
{
    appl->Commande(130 << 16 | 1);
    appl->Commande(MenuKey('O'));
    ASSERT_EQ(appl->dispatched.size(), 2u);
    EXPECT_EQ(appl->dispatched[0], std::make_pair(int16_t(2), int16_t(1)));
    EXPECT_EQ(appl->dispatched[1], appl->dispatched[0]);
    EXPECT_EQ(appl->opens, 2);

    // The bar: the application menu, then the menus of 'MMBR' 129.
    Rect app{}, file{};
    ASSERT_TRUE(GetMenuTitleRect(128, &app));
    ASSERT_TRUE(GetMenuTitleRect(130, &file));
    EXPECT_LT(app.right, file.left + 1);

    // A choice in menu 500 does nothing.
    appl->Commande(500 << 16 | 1);
    EXPECT_EQ(appl->dispatched.size(), 2u);
}

// Released on a disabled item: two of them still act.
class DisabledChoiceTest : public AppFixture {};

TEST_F(DisabledChoiceTest, TwoDisabledItemsStillGiveTheirCommand)
{
    UseAppResources(R"(
'MENU' 128 { title "\x14" }
'MMBR' 129 { menu 130 "File" items 126 127 22 }
'MITM' 126 { text "Publish" command 126 key "P" }
'MITM' 127 { text "Open again" command 127 key "A" }
'MITM' 22 { text "Cut" command 22 key "X" }
)");
    auto* appl = new RecordingAppl;
    MakeAppl(appl);
    appl->SetMenus();
    for (int16_t command : {2, 13}) appl->handlers[command] = [] { return int16_t(0); };
    const std::pair<char, int16_t> cases[] = {{'P', 13}, {'A', 2}, {'X', 0}};
    for (const auto& [key, command] : cases) {
        for (int16_t c : {126, 127, 22}) DisableFunc(c);
        appl->dispatched.clear();
        EXPECT_EQ(MenuKey(key), 0) << key;
        appl->Commande(0);
        if (command == 0) {
            EXPECT_TRUE(appl->dispatched.empty()) << key;
        } else {
            ASSERT_EQ(appl->dispatched.size(), 1u) << key;
            EXPECT_EQ(appl->dispatched[0], std::make_pair(command, int16_t(1))) << key;
        }
    }
}

TEST_F(CommandsTest, ItemGroupCommandsFindTheirIndexOnTheStack)
{
    std::vector<int16_t> popped;
    for (int16_t command : {11, 34, 100, 101, 102, 103, 5, 60})
        appl->handlers[command] = [&popped] {
            int16_t index = -1;
            popped.push_back(PopInteger(&index) ? int16_t(-1) : index);
            return int16_t(0);
        };
    int16_t i = 1;
    for (int16_t command : {11, 34, 100, 101, 102, 103}) appl->Dispatch_Func(command, ++i);
    appl->Dispatch_Func(5, 9);
    appl->Dispatch_Func(60, 9);
    EXPECT_EQ(popped, (std::vector<int16_t>{2, 3, 4, 5, 6, 7, -1, -1})) << "only groups push their index";
}

TEST_F(CommandsTest, UnownedCommandsGoToTheFrontWindow)
{
    FakeWindow window;
    EXPECT_EQ(appl->Do_Func(12), -1);
    EXPECT_EQ(window.funcs, std::vector<int16_t>{12});
    EXPECT_EQ(appl->Do_Func(32000), 0);
    EXPECT_EQ(window.funcs.size(), 1u) << "the application's own command stays";
}

TEST_F(CommandsTest, WindowMenusFollowTheWindowSet)
{
    // The documents' windows are counted, hidden ones too.
    auto* doc = new FakeDoc;
    appl->AddDoc(doc);
    FakeWindow one;
    doc->AddWindow(&one);
    appl->MakeActive();
    for (int16_t c : {32, 33, 5}) EXPECT_FALSE(IsFuncEnabled(c)) << c;
    FakeWindow hidden(2, false);
    doc->AddWindow(&hidden);
    appl->MakeActive();
    for (int16_t c : {32, 33, 5}) EXPECT_TRUE(IsFuncEnabled(c)) << c;
    doc->RemoveWindow(&one);
    doc->RemoveWindow(&hidden);

    appl->fDefaultRect = Rect{1, 2, 3, 4};
    for (int16_t c : {22, 23, 24, 25}) EnableFunc(c);
    appl->MakeInActive();
    for (int16_t c : {22, 23, 24, 25}) EXPECT_FALSE(IsFuncEnabled(c)) << c;
    const Rect screen = ScreenBounds();
    EXPECT_EQ(appl->fDefaultRect.left, 15);
    EXPECT_EQ(appl->fDefaultRect.top, 45);
    EXPECT_EQ(appl->fDefaultRect.right, screen.right - 50);
    EXPECT_EQ(appl->fDefaultRect.bottom, screen.bottom - 50);
    for (int16_t c : {32, 33, 5}) EXPECT_FALSE(IsFuncEnabled(c)) << c;
}

TEST_F(CommandsTest, ADropForAClosedWindowIsDropped)
{
    auto* window = new FakeWindow;
    TPlan source, dest;
    source.fWindow = window;
    dest.fWindow = window;
    // The drag's arguments as the browser pushes them, then the command.
    PushInteger(1);
    PushPtr(&source);
    PushPtr(&dest);
    EXPECT_EQ(appl->Do_Func(32003), 0);
    EXPECT_EQ(window->drops, std::vector<TPlan*>{&dest});
    DropArguments(ArgumentBytes());

    PushInteger(1);
    PushPtr(&source);
    PushPtr(&dest);
    delete window;
    EXPECT_EQ(appl->Do_Func(32003), 0);
    EXPECT_EQ(ArgumentBytes(), 0u) << "its arguments go with it";
    EXPECT_EQ(appl->Do_Func(32003), 0) << "an empty stack does nothing";
}

TEST_F(CommandsTest, QuitClosesEveryDocumentAndStopsAtARefusal)
{
    auto* hidden = new FakeDoc;  // a document whose windows are hidden
    auto* refusing = new FakeDoc;
    refusing->refuseClose = true;
    auto* front = new FakeDoc;
    appl->AddDoc(hidden);
    appl->AddDoc(refusing);
    appl->AddDoc(front);
    EXPECT_EQ(appl->Do_Func(19), 0);
    EXPECT_FALSE(appl->fQuit) << "a refused close keeps the application running";
    EXPECT_EQ(front->funcs, std::vector<int16_t>{4});
    EXPECT_EQ(refusing->funcs, std::vector<int16_t>{4});
    EXPECT_TRUE(hidden->funcs.empty());
    delete front;
    refusing->refuseClose = false;
    EXPECT_EQ(appl->Do_Func(19), 0);
    EXPECT_TRUE(appl->fQuit);
    EXPECT_EQ(hidden->funcs, std::vector<int16_t>{4}) << "hidden windows or not, every document is closed";
    EXPECT_EQ(appl->fDocList, nullptr);
    delete refusing;
    delete hidden;
}

// A new start forgets what the last one left: no flag, font or window of it.
TEST_F(CommandsTest, StartingAgainForgetsTheLastRunsState)
{
    const Rect r{0, 0, 0, 0};
    const unsigned char none[1] = {0};
    WindowRef left = NewCWindow(nullptr, &r, none, false, 0, reinterpret_cast<WindowRef>(-1), false, 0);
    gFirstWind = left;
    G_NoMem = G_LowMem = G_ShowID = G_C_Hide = true;
    MyApplFont = PopSize = 9;
    G_ModuleUpdate = 0;
    InitGlobals();
    EXPECT_EQ(gFirstWind, nullptr);
    EXPECT_FALSE(G_NoMem || G_LowMem || G_ShowID || G_C_Hide);
    EXPECT_EQ(MyApplFont + PopSize, 0);
    EXPECT_EQ(G_ModuleUpdate, 4);
    DisposeWindow(left);
}

// Each command of the application reaches its own step with its own words.
class RoutingAppl : public RecordingAppl {
public:
    int16_t NewLibDoc(int16_t kind) override { return Log("new " + std::to_string(kind)); }
    int16_t OpenServerMainDoc() override { return Log("server"); }
    int16_t OpenSQL() override { return Log("sql"); }
    int16_t OpenSpecial() override { return Log("special"); }
    int16_t Preferences() override { return Log("prefs"); }
    int16_t ConflictPreferences() override { return Log("conflict"); }
    int16_t BlockingPreferences() override { return Log("blocking"); }
    int16_t DoEditFilters() override { return Log("filters"); }
    int16_t GroupFilterID() override { return 130; }
    int16_t NewRefWindow(int16_t layout, int16_t filter, int16_t flag) override
    {
        return Log("ref " + std::to_string(layout) + " " + std::to_string(filter) + " " + std::to_string(flag));
    }
    int16_t Log(const std::string& step)
    {
        log.push_back(step);
        return 0;
    }
    std::vector<std::string> log;
};

TEST_F(CommandsTest, EachCommandReachesItsOwnStep)
{
    auto* routing = new RoutingAppl;
    MakeAppl(routing);
    const std::pair<int16_t, const char*> cases[] = {
        {1, "new 1"},       {20, "new 0"},      {14, "server"},     {30, "sql"},          {11, "special"},
        {13, "prefs"},      {15, "conflict"},   {16, "blocking"},   {54, "filters"},      {40, "ref 128 -1 0"},
        {41, "ref 129 -1 0"}, {42, "ref 130 -1 0"}, {43, "ref 128 130 1"}, {21, ""}, {39, ""}, {44, ""}};
    for (const auto& [command, step] : cases) {
        routing->log.clear();
        routing->Do_Func(command);
        EXPECT_EQ(routing->log, *step ? std::vector<std::string>{step} : std::vector<std::string>{}) << command;
    }
    delete routing;
    MakeAppl(appl);
}

TEST(ClickSeriesRule, ClicksCountByTimePlaceAndWindow)
{
    ClickSeries series;
    auto click = [&](uint32_t when, int16_t h, int16_t v, WindowRef w = nullptr) {
        EventRecord e{};
        e.what = mouseDown;
        e.when = when;
        e.where = Point{v, h};
        return NextClickCount(&series, e, w);
    };
    EXPECT_EQ(click(100, 50, 50), 0);
    EXPECT_EQ(click(110, 50, 50), 1);
    EXPECT_EQ(click(120, 50, 50), 2);
    // Timed from the series' first click, not the last one.
    EXPECT_EQ(click(100 + GetDblTime(), 50, 50), 0);
    EXPECT_EQ(click(1000, 50, 50), 0);
    EXPECT_EQ(click(1005, 52, 52), 1) << "2 right, 2 down";
    EXPECT_EQ(click(2000, 50, 50), 0);
    EXPECT_EQ(click(2005, 54, 46), 0) << "4 right, 4 up is not the same place";
    EXPECT_EQ(click(2010, 57, 48), 0) << "3 right, 2 down: five is too far";
    EXPECT_EQ(click(3000, 150, 50), 0);
    EXPECT_EQ(click(3005, 250, 150), 0) << "100 px right and 100 down";
    EXPECT_EQ(click(4000, 10, 10), 0);
    int tag = 0;
    EXPECT_EQ(click(4005, 10, 10, reinterpret_cast<WindowRef>(&tag)), 0) << "another window";
}

// The application's cursor is the last shape set; null sets nothing.
TEST(AppCursor, TheLastShapeSetIsKept)
{
    ResetAppCursor();
    SetArrowCursor();
    EXPECT_EQ(CurrentAppCursor(), &GetQDGlobalsArrow());
    const Cursor other{};
    MySetCursor(&other);
    EXPECT_EQ(CurrentAppCursor(), &other);
    MySetCursor(nullptr);
    EXPECT_EQ(CurrentAppCursor(), &other);
    ResetAppCursor();
}

class LoopTest : public CommandsTest {};

TEST_F(LoopTest, CommandsPostedInOneEventRunLastFirstEvenSuspended)
{
    appl->handlers[300] = [] {
        PostEvent(osEvt, uint32_t(suspendResumeMessage) << 24);  // suspend
        PostFunc(201);
        PostFunc(202);
        return int16_t(0);
    };
    appl->handlers[201] = [this] {
        appl->fQuit = true;
        return int16_t(0);
    };
    appl->handlers[202] = [] { return int16_t(0); };
    PostFunc(300);
    platform::testing::HeadlessRun run(Script().Wait(100));
    appl->Run();
    EXPECT_EQ(appl->commands, (std::vector<int16_t>{300, 202, 201}));
    EXPECT_EQ(appl->suspendedAt, (std::vector<bool>{false, true, true}));
}

TEST_F(LoopTest, DocumentsIdleAfterTwentyQuietTicksThenMemoryIsChecked)
{
    auto* doc = new FakeDoc;
    appl->AddDoc(doc);
    FakeWindow window;
    SelectWindow(window.fWindow);
    int idles = 0;
    doc->onIdle = [&] {
        if (++idles == 40) PostFunc(19);
    };
    Script script;
    script.Wait(5);
    script.Key("a");
    script.Key("escape", cmdKey);
    script.Key("left", cmdKey);
    script.Key("o", cmdKey);
    platform::testing::HeadlessRun run(std::move(script));
    appl->Run();

    // Keys with the command key and a code of 27 or less reach the window.
    ASSERT_EQ(window.keys.size(), 3u);
    EXPECT_EQ(window.keys[1].message & charCodeMask, 27u);
    EXPECT_EQ(window.keys[2].message & charCodeMask, 28u);
    EXPECT_EQ(appl->opens, 1) << "Command-O went to the menus";
    EXPECT_EQ(window.updates, 1) << "drawn once, and the update ended";
    const uint32_t lastKey = window.keys.back().when;
    ASSERT_FALSE(doc->idles.empty());
    for (uint32_t t : doc->idles) EXPECT_GT(t, lastKey + 20);
    // Each idle pass checks 51,200 bytes once, after the documents idled.
    size_t checks = 0;
    for (const auto& [need, when] : appl->memoryChecks) checks += need == 51200;
    EXPECT_EQ(checks, doc->idles.size());
    EXPECT_TRUE(appl->fQuit);
    delete doc;
}

class MemoryLoopTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseAppResources(R"(
'MENU' 128 { title "\x14" }
'MMBR' 129 { menu 130 "File" items 60 3 4 5 6 7 50 }
'MITM' 3 { text "Close" command 3 }
'MITM' 4 { text "Close window" command 4 }
'MITM' 5 { text "Close all" command 5 }
'MITM' 6 { text "Save" command 6 }
'MITM' 7 { text "Save as" command 7 }
'MITM' 50 { text "Compact" command 50 }
'MITM' 60 { text "Other" command 60 }
)");
        appl = new RecordingAppl;
        MakeAppl(appl);
        appl->SetMenus();
    }
    RecordingAppl* appl = nullptr;
};

TEST_F(MemoryLoopTest, LowAndCriticalMemoryAreAnnouncedOnceEach)
{
    GromMemHdl = NewHandle(kReserveSize);
    auto* doc = new FakeDoc;
    appl->AddDoc(doc);
    int idles = 0;
    struct Seen {
        int32_t alerts = 0;
        int16_t kind = 0;
        bool low = false, critical = false, compact = true;
    } low, recovered, critical;
    doc->onIdle = [&] {
        switch (++idles) {
        case 1:  // 90,000 bytes free with the reserve held
            SetMemoryBudget(MemoryInUse() + 90000);
            break;
        case 4:
            low = {AlertCount(), LastAlert().kind, G_LowMem, G_NoMem, IsFuncEnabled(50)};
            SetMemoryBudget(int64_t(1) << 30);
            break;
        case 6:
            recovered = {AlertCount(), LastAlert().kind, G_LowMem, G_NoMem, IsFuncEnabled(50)};
            SetMemoryBudget(MemoryInUse());  // nothing free at all
            break;
        case 10:
            critical = {AlertCount(), LastAlert().kind, G_LowMem, G_NoMem, IsFuncEnabled(50)};
            for (int16_t c : {3, 4, 5, 6, 7}) EXPECT_TRUE(IsFuncEnabled(c)) << c;
            EXPECT_FALSE(IsFuncEnabled(60)) << "the first item too";
            {
                MenuRef app = GetMenuHandle(128);
                ASSERT_NE(app, nullptr);
                EXPECT_TRUE(IsMenuItemEnabled(app, CountMenuItems(app))) << "the platform's Quit";
            }
            PostFunc(19);
            break;
        default:
            break;
        }
    };
    platform::testing::HeadlessRun run(Script().Wait(2000));
    appl->Run();
    SetMemoryBudget(int64_t(1) << 30);

    EXPECT_EQ(low.alerts, 1);
    EXPECT_EQ(low.kind, 2) << "NoMemory 1: a caution alert";
    EXPECT_TRUE(low.low);
    EXPECT_FALSE(low.compact) << "command 50 disabled";
    EXPECT_EQ(recovered.alerts, 1);
    EXPECT_FALSE(recovered.low) << "cleared when memory returns";
    EXPECT_EQ(critical.alerts, 2) << "each state announced once";
    EXPECT_EQ(critical.kind, 3) << "NoMemory 2: a stop alert";
    EXPECT_TRUE(critical.critical);
    EXPECT_TRUE(appl->fQuit) << "quit still quits";
    EXPECT_EQ(doc->funcs, std::vector<int16_t>{4});
    delete doc;
}

TEST_F(MemoryLoopTest, CheckMemoryAnswersAtTheBoundary)
{
    GromMemHdl = NewHandle(kReserveSize);
    SetMemoryBudget(MemoryInUse() + 51200);
    EXPECT_FALSE(appl->CheckMemory(0)) << "exactly 51,200 free with a reserve";
    SetMemoryBudget(MemoryInUse() + 51199);
    EXPECT_TRUE(appl->CheckMemory(0));
    EXPECT_NE(GromMemHdl, nullptr) << "the reserve is made again when a block allows it";
    SetMemoryBudget(int64_t(1) << 30);
}

TEST_F(MemoryLoopTest, TheGrowZoneFreesTheReserveForAnAllocation)
{
    GromMemHdl = NewHandle(kReserveSize);
    SetGrowZone(ApplGrowZone);
    SetMemoryBudget(MemoryInUse() + 1000);
    Handle big = NewHandle(100000);
    EXPECT_NE(big, nullptr) << "the reserve gave way";
    EXPECT_EQ(GromMemHdl, nullptr) << "no block larger than the request plus the reserve";
    Handle huge = NewHandle(10000000);
    EXPECT_EQ(huge, nullptr) << "nothing left to free: the allocation fails";
    DisposeHandle(big);
    SetGrowZone(nullptr);
    SetMemoryBudget(int64_t(1) << 30);
}

}  // namespace
