// Window arrangement, the window list, more browser windows, the
// preferences dialog, the group filter and the about box.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/documents/TClipBoard.h"
#include "app/windows/TMainWindow.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/core/Faults.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/files/WholeFile.h"
#include "tests/platform/files/FileCrashRecorder.h"
#include "tests/app/DocFakes.h"
#include "tests/app/Fakes.h"
#include "tests/app/PrefImage.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace apptest;
using namespace platform;

namespace {

const char* kArrangeResources = R"(
'DLOG' 256 { bounds 0 0 170 400 title "" proc 5 invisible items 256 }
'DITL' 256 { user 16 16 48 384 user 52 16 68 384 user 140 16 156 384 user 80 16 98 384 user 102 16 134 384 }
'DLOG' 259 { bounds 0 0 300 420 title "Preferences" proc 5 invisible items 259 }
'DITL' 259 {
    button 262 330 284 404 "OK"
    button 262 240 284 314 "Cancel"
    static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 ""
    checkbox 118 32 136 404 "Open"
    static 0 0 0 0 ""
    checkbox 140 32 158 404 "About"
    edit 40 110 56 170 ""
    edit 66 110 82 170 ""
    static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 "" static 0 0 0 0 ""
    radio 190 32 208 140 "A"
    radio 190 150 208 270 "B"
    radio 190 280 208 404 "C"
    checkbox 216 16 234 404 "Ask"
    checkbox 238 16 256 404 "Ids"
}
'PREF' 0 { $"0081 0258 0190 0001" }
'vers' 1 { version 2 5 0 stage final release 0 region 0 short "2.5" long "2.5" }
)";

class ArrangeTest : public DocFixture {
protected:
    void SetUp() override
    {
        extraResources = kArrangeResources;
        DocFixture::SetUp();
    }
    static Rect Content(TWindow* w)
    {
        Rect r{};
        GetWindowBounds(w->fWindow, kWindowContentRgn, &r);
        return r;
    }
};

// A structure document that records the browser windows asked of it.
class StructureDoc : public TestDoc {
public:
    int16_t NewRefWindow(Rect* rect, int16_t flag, int16_t layout, int16_t filter, int16_t option) override
    {
        asked.push_back({flag, layout, filter, option});
        OffsetRect(rect, 20, 22);
        return 0;
    }
    std::vector<std::vector<int16_t>> asked;
};

TEST_F(ArrangeTest, TilingPutsTwoWindowsSideBySideAndTheThirdUnderTheFirst)
{
    TestDoc* doc = NewDoc();
    auto* third = NewWindow<TMainWindow>(doc, "3");
    auto* second = NewWindow<TMainWindow>(doc, "2");
    auto* first = NewWindow<TMainWindow>(doc, "1");
    appl_->Do_Func(33);
    // Area (4, 25)-(1276, 796): cells 626 wide, 375 high less the title bar.
    EXPECT_EQ(Content(first).left, 4);
    EXPECT_EQ(Content(first).top, 40);
    EXPECT_EQ(Content(first).right - Content(first).left, 626);
    EXPECT_EQ(Content(first).bottom - Content(first).top, 360);
    EXPECT_EQ(Content(second).left, 640);
    EXPECT_EQ(Content(second).top, 40);
    EXPECT_EQ(Content(third).left, 4);
    EXPECT_EQ(Content(third).top, 425);

    // On a low screen cells keep 200 pixels and overlap.
    InitScreen(1280, 400);
    appl_->TileWindows();
    EXPECT_EQ(Content(first).bottom - Content(first).top, 185);
    EXPECT_EQ(Content(third).top, 25 + 185 + 15);
}

TEST_F(ArrangeTest, StackingStartsAtTheBackAndWrapsAtTheRightEdge)
{
    TestDoc* doc = NewDoc();
    std::vector<TWindow*> windows;  // back-most first
    for (const char* t : {"a", "b", "c", "d"}) windows.push_back(NewWindow<TMainWindow>(doc, t));
    appl_->Do_Func(32);
    const int16_t expected[][2] = {{15, 45}, {35, 67}, {55, 89}, {15, 111}};
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_EQ(Content(windows[i]).left, expected[i][0]) << i;
        EXPECT_EQ(Content(windows[i]).top, expected[i][1]) << i;
        EXPECT_EQ(Content(windows[i]).right - Content(windows[i]).left, 1211);
        EXPECT_EQ(Content(windows[i]).bottom - Content(windows[i]).top, 469);
    }
    EXPECT_EQ(GetTWindow(FrontWindow()), windows.back());
}

TEST_F(ArrangeTest, TheWindowListBringsWindowsForwardAndStaleItemsDoNothing)
{
    TestDoc* doc = NewDoc();
    auto* base = NewWindow<TMainWindow>(doc, "Base");
    auto* other = NewWindow<TMainWindow>(doc, "a;b(c");
    ASSERT_EQ(GetTWindow(FrontWindow()), other);
    appl_->Dispatch_Func(34, 1);
    EXPECT_EQ(GetTWindow(FrontWindow()), base);

    InsFuncItem(34, reinterpret_cast<const unsigned char*>("\x04" "Gone"), 32767, 0);
    appl_->Dispatch_Func(34, 3);
    EXPECT_EQ(GetTWindow(FrontWindow()), base);
    appl_->Dispatch_Func(34, 9);
    EXPECT_EQ(GetTWindow(FrontWindow()), base);
    EXPECT_EQ(appl_->CountDocWindow(), 2);
}

TEST_F(ArrangeTest, MoreBrowserWindowsOnlyForAStructureInFront)
{
    auto* clip = NewClipBoard(appl_);
    appl_->fClipBoard = clip;
    clip->Show();
    const Rect before = appl_->fDefaultRect;
    EXPECT_EQ(appl_->Do_Func(40), 0);
    EXPECT_EQ(appl_->CountDocWindow(), 0) << "the clipboard window is not counted";

    auto* doc = new StructureDoc;
    doc->InitDocument(reinterpret_cast<const unsigned char*>("\x04" "Base"), appl_);
    appl_->AddDoc(doc);
    NewWindow<TRefWindow>(doc, "Base");
    GromMemHdl = NewHandle(16);
    EXPECT_EQ(appl_->Do_Func(41), 0);
    ASSERT_EQ(doc->asked.size(), 1u);
    EXPECT_EQ(doc->asked[0], (std::vector<int16_t>{1, 129, -1, 0}));
    EXPECT_EQ(appl_->fDefaultRect.left, before.left + 20);
    EXPECT_EQ(appl_->Do_Func(43), 0);
    EXPECT_EQ(doc->asked[1], (std::vector<int16_t>{1, 128, 128, 1}));
    DisposeHandle(GromMemHdl);
    GromMemHdl = nullptr;
    EXPECT_EQ(appl_->NewRefWindow(128, -1, 0), -108) << "without the reserve";
}

class PreferencesDialogTest : public ArrangeTest {
protected:
    void SetUp() override
    {
        ArrangeTest::SetUp();
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
    }
    // 'PREF' 0 of the preferences file itself, empty when it has none.
    std::vector<uint8_t> OwnPref()
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("PREF"), 0);
        std::vector<uint8_t> bytes;
        if (h && *h) bytes.assign(*h, *h + GetHandleSize(h));
        UseResFile(saved);
        return bytes;
    }
    int16_t Run(Script script)
    {
        platform::testing::HeadlessRun run(std::move(script));
        return appl_->Preferences();
    }
};

// Saved across a crash at every cut point, the preferences file holds its
// old 'PREF' 0 or the new one.
TEST_F(PreferencesDialogTest, SavingTheFileLeavesTheOldPreferencesOrTheNew)
{
    const std::string prefs = gPrefFileSpec.path;
    const std::string name = std::filesystem::path(prefs).filename();
    auto stored = [](const std::string& path) {
        std::vector<uint8_t> file;
        ResourceFileImage image;
        if (ReadWholeFile(path, &file) != noErr || ParseResourceFile(file.data(), file.size(), &image) != noErr)
            return std::vector<uint8_t>{'!'};
        for (const ResourceImage& r : image.resources)
            if (r.type == FourCC("PREF") && r.id == 0) return r.data;
        return std::vector<uint8_t>{};
    };
    const std::vector<uint8_t> before = stored(prefs);
    filecrash::Recorder recorder(std::filesystem::path(prefs).parent_path());
    Script script;
    script.WaitIdle();
    script.Type("300");
    script.Key("return");
    ASSERT_EQ(Run(std::move(script)), 0);
    recorder.Stop();
    const std::vector<uint8_t> after = stored(prefs);
    ASSERT_NE(before, after);
    const size_t failed = recorder.CheckEveryCut(folder_ / "state", [&](const std::filesystem::path& state) {
        const std::vector<uint8_t> now = stored((state / name).string());
        return now == before || now == after ? std::string() : std::string("neither old nor new");
    });
    std::printf("[ crash    ] saving the preferences: %zu crash states, %zu failed\n", recorder.StatesChecked(), failed);
    EXPECT_EQ(failed, 0u);
}

// Preferences that cannot be written leave the file whole as it was, and
// the command answers why, for the command chain to show.
TEST_F(PreferencesDialogTest, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    std::vector<uint8_t> before;
    ASSERT_EQ(ReadWholeFile(gPrefFileSpec.path, &before), noErr);
    Script script;
    script.WaitIdle();
    script.Type("300");
    script.Key("return");
    int16_t result = 0;
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        result = Run(std::move(script));
    }
    EXPECT_EQ(result, dskFulErr);
    std::vector<uint8_t> after;
    ASSERT_EQ(ReadWholeFile(gPrefFileSpec.path, &after), noErr);
    EXPECT_EQ(after, before);
}

// A size out of its range (200 to the screen less 50: 1230 wide, 750 high)
// is refused by an alert naming the ranges, and selected to be typed again
// (640, 480); only digits are typed, a letter is refused by an alert saying
// so, with the ranges.
TEST_F(PreferencesDialogTest, SizesOutOfTheirRangesAreRefusedWithTheRangesNamed)
{
    std::vector<uint8_t> appBefore;
    ASSERT_EQ(ReadWholeFile(appPath_, &appBefore), noErr);
    const struct {
        const char* width;
        const char* height;
        bool widthOut, heightOut;
        uint16_t stored[2];
    } rows[] = {
        {"1a5b0", "900", true, true, {640, 480}},  // 150: the letters are not typed
        {"64x0", "480", false, false, {640, 480}},
        {"0", "480", true, false, {640, 480}},
        {"99999", "700", true, false, {640, 700}},
        {"640", "", false, true, {640, 480}},
        {"200", "750", false, false, {200, 750}},
        {"1230", "201", false, false, {1230, 201}},
    };
    uint16_t previous[2] = {600, 400};  // the application's
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.width) + " x " + row.height);
        appl_->fDefaultRect = Rect{1, 2, 3, 4};
        ResetAlerts();
        const uint32_t beeps = SysBeepCount();
        Script script;
        script.WaitIdle();
        int letters = 0;
        for (const char c : std::string(row.width)) {
            script.Type(std::string(1, c));
            if (c >= '0' && c <= '9') continue;
            ++letters;
            script.Key("return");  // the alert's OK
        }
        script.Key("tab");
        if (*row.height) script.Type(row.height);
        else script.Key("delete");  // the selection: nothing left
        script.Key("return");
        for (const char* again : {row.widthOut ? "640" : "", row.heightOut ? "480" : ""}) {
            if (!*again) continue;
            script.WaitIdle();
            script.Key("return");  // the alert's OK
            script.Type(again);
            script.Key("return");
        }
        ASSERT_EQ(Run(std::move(script)), 0);
        EXPECT_EQ(AlertCount(), letters + int(row.widthOut) + int(row.heightOut));
        if (AlertCount() > 0) {
            const std::string& said = LastAlert().text;
            EXPECT_TRUE(said.find("1230") != std::string::npos && said.find("1230") < said.find("750")) << said;
        }
        // A beep for each alert.
        EXPECT_EQ(SysBeepCount() - beeps, uint32_t(AlertCount()));
        const std::vector<uint8_t> pref = OwnPref();
        ASSERT_EQ(pref.size(), 8u) << "made in the preferences file";
        EXPECT_EQ(std::vector<uint16_t>({ReadBE16(pref.data()), ReadBE16(pref.data() + 2), ReadBE16(pref.data() + 4),
                                         pref[6], pref[7]}),
                  std::vector<uint16_t>({0x81, row.stored[0], row.stored[1], 0, 1}))
            << "the template and the last byte kept from the application's";
        // New sizes put the next window back at the default place.
        const bool moved = row.stored[0] != previous[0] || row.stored[1] != previous[1];
        EXPECT_EQ(std::vector<int>({appl_->fDefaultRect.top, appl_->fDefaultRect.left, appl_->fDefaultRect.bottom,
                                    appl_->fDefaultRect.right}),
                  moved ? std::vector<int>({45, 15, 750, 1230}) : std::vector<int>({1, 2, 3, 4}));
        previous[0] = row.stored[0];
        previous[1] = row.stored[1];
    }
    std::vector<uint8_t> appAfter;
    ASSERT_EQ(ReadWholeFile(appPath_, &appAfter), noErr);
    EXPECT_EQ(appAfter, appBefore);
}

TEST_F(PreferencesDialogTest, SwitchesAndLayoutsAreStoredOnOKAndNothingOnCancel)
{
    appl_->fDefaultRect = Rect{1, 2, 3, 4};
    Script cancel;
    cancel.WaitIdle();
    cancel.Choose(7);
    cancel.Choose(2);
    Run(std::move(cancel));
    EXPECT_TRUE(OwnPref().empty());

    Script ok;
    ok.WaitIdle();
    ok.Choose(7);
    ok.Choose(22);
    ok.Choose(20);
    ok.Choose(1);
    Run(std::move(ok));
    const std::vector<uint8_t> pref = OwnPref();
    ASSERT_EQ(pref.size(), 8u);
    EXPECT_EQ(ReadBE16(pref.data()), 130u);
    EXPECT_EQ(ReadBE16(pref.data() + 2), 600u);
    EXPECT_EQ(pref[6], 0x90);
    EXPECT_TRUE(G_ShowID);
    EXPECT_EQ(appl_->fDefaultRect.left, 2) << "sizes unchanged: the rectangle stays";

    // The first layout, and the resource file in use is the caller's again.
    Script first;
    first.WaitIdle();
    first.Choose(18);
    first.Choose(1);
    UseResFile(G_MainResFile);
    const int16_t current = CurResFile();
    ASSERT_NE(current, G_PrefResFile);
    Run(std::move(first));
    EXPECT_EQ(ReadBE16(OwnPref().data()), 128u);
    EXPECT_EQ(CurResFile(), current);
}

// Two programs share the preferences file, each with its dialog open while
// the other changes a setting: the one that writes last keeps what the
// other wrote and adds only what its own user changed, whether or not the
// file had a record of its own before (the application's then answered).
TEST_F(PreferencesDialogTest, EachProgramWritesBackOnlyWhatItsUserChanged)
{
    const std::vector<uint8_t> wide = {0, 0x81, 0x03, 0x84, 0x01, 0x90, 0, 1}, ids = {0, 0x81, 0x02, 0x58, 0x01, 0x90, 0x10, 1};
    const struct {
        const char* name;
        bool ownRecord;              // the file had 'PREF' 0 when the dialog opened
        std::vector<uint8_t> theirs;  // the other program's 'PREF' 0
        const char* typedWidth;       // this program's change: a width typed, or ids shown
        std::vector<uint8_t> both;
    } rows[] = {
        {"they widen, we show ids", false, wide, nullptr, {0, 0x81, 0x03, 0x84, 0x01, 0x90, 0x10, 1}},
        {"they show ids, we widen", false, ids, "700", {0, 0x81, 0x02, 0xBC, 0x01, 0x90, 0x10, 1}},
        {"they widen, we show ids, after a save", true, wide, nullptr, {0, 0x81, 0x03, 0x84, 0x01, 0x90, 0x10, 1}},
    };
    const std::string path = gPrefFileSpec.path;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ClosePrefResFile();
        std::filesystem::remove(path);
        OpenPrefResFile();
        if (row.ownRecord) {
            ASSERT_EQ(Run(Script().WaitIdle().Choose(1)), 0);
        }
        PrefImage expected;
        HeadlessOptions options;
        options.screenshot = [&](const std::string&) {
            expected = ReadPrefImage(path);
            expected[{FourCC("PREF"), 0}] = {"", row.theirs};
            WritePrefImage(path, expected);
            return noErr;
        };
        Script script;
        script.WaitIdle().Screenshot("the other program saves");
        if (row.typedWidth) script.Type(row.typedWidth);
        else script.Choose(22);
        script.Choose(1);
        {
            platform::testing::HeadlessRun run(std::move(script), options);
            EXPECT_EQ(appl_->Preferences(), 0);
        }
        ClosePrefResFile();
        expected[{FourCC("PREF"), 0}].second = row.both;
        EXPECT_EQ(ReadPrefImage(path), expected);
    }
}

// Each layout button of the application's dialog gives new browser
// windows the layout its label names: the full window (list, uses, used by
// and preview), the list and its preview, the list alone.
TEST_F(PreferencesDialogTest, EachLayoutButtonGivesTheWindowsItsLabelNames)
{
    const int16_t shipped = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(shipped, 0);
    const int16_t fixtureFile = G_MainResFile;
    G_MainResFile = shipped;
    const struct {
        const char* label;
        int16_t panes;
    } layouts[] = {{"Full", 4}, {"List and preview", 2}, {"List", 1}};
    DialogRef dialog = MyGetNewDialog(259, nullptr, reinterpret_cast<WindowRef>(-1));
    ASSERT_NE(dialog, nullptr);
    std::map<std::string, int16_t> buttons;  // label -> item
    for (int16_t item = 18; item <= 20; ++item) {
        ControlRef button = nullptr;
        GetDialogItemAsControl(dialog, item, &button);
        Str255 title;
        GetControlTitle(button, title);
        buttons[std::string(reinterpret_cast<const char*>(title + 1), title[0])] = item;
    }
    MyDisposDialog(dialog);
    for (const auto& layout : layouts) {
        ASSERT_EQ(buttons.count(layout.label), 1u) << layout.label;
        Script ok;
        ok.WaitIdle();
        ok.Choose(buttons[layout.label]);
        ok.Choose(1);
        UseResFile(shipped);
        Run(std::move(ok));
        const std::vector<uint8_t> pref = OwnPref();
        ASSERT_EQ(pref.size(), 8u) << layout.label;
        UseResFile(shipped);
        Handle window = Get1Resource(FourCC("WNDD"), int16_t(ReadBE16(pref.data())));
        ASSERT_TRUE(window && *window && GetHandleSize(window) >= 10) << layout.label;
        EXPECT_EQ(int16_t(ReadBE16(reinterpret_cast<const uint8_t*>(*window) + 8)), layout.panes) << layout.label;
    }
    G_MainResFile = fixtureFile;
    CloseResFile(shipped);
}

TEST_F(PreferencesDialogTest, TheDialogComesInFrontOfTheDocumentWindows)
{
    ASSERT_NE(NewWindow(NewDoc()), nullptr);
    static bool inFront;
    inFront = false;
    SetScriptedAnswerObserver([](DialogRef d) { inFront = FrontWindow() == GetDialogWindow(d); });
    Script cancel;
    cancel.WaitIdle();
    cancel.Choose(2);
    Run(std::move(cancel));
    SetScriptedAnswerObserver(nullptr);
    EXPECT_TRUE(inFront);
}

// Return presses the first button, which shows pressed and comes back up;
// a dimmed one is not pressed.
TEST_F(PreferencesDialogTest, ReturnPressesAnEnabledFirstButton)
{
    DialogRef dialog = MyGetNewDialog(259, nullptr, reinterpret_cast<WindowRef>(-1));
    ASSERT_NE(dialog, nullptr);
    ControlRef ok = nullptr;
    GetDialogItemAsControl(dialog, 1, &ok);
    ASSERT_NE(ok, nullptr);
    EventRecord event{};
    event.what = keyDown;
    event.message = 13;
    for (const int16_t hilite : {0, 255}) {
        HiliteControl(ok, hilite);
        DialogItemIndex item = 0;
        EXPECT_TRUE(DefaultFilter(dialog, &event, &item));
        EXPECT_EQ(item, hilite == 0 ? 1 : 0);
        EXPECT_EQ(GetControlHilite(ok), hilite);
    }
    MyDisposDialog(dialog);
}

TEST_F(PreferencesDialogTest, TheGroupFilterIsTheFirstWhoseLongAtByteTwoIsHex100)
{
    EXPECT_EQ(appl_->GroupFilterID(), 128);
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    const uint8_t plain[] = {0, 0, 0, 0, 0, 1, 0, 0};
    const uint8_t group[] = {0, 0, 0, 0, 1, 0, 0, 0};
    const std::pair<int16_t, const uint8_t*> filters[] = {{128, plain}, {129, plain}, {130, group}, {131, group}};
    for (const auto& [id, bytes] : filters) {
        Handle h = NewHandle(8);
        std::copy(bytes, bytes + 8, *h);
        if (Handle old = Get1Resource(FourCC("FLT2"), id)) RemoveResource(old);
        AddResource(h, FourCC("FLT2"), id, reinterpret_cast<const unsigned char*>("\x01" "f"));
    }
    UseResFile(saved);
    EXPECT_EQ(appl_->GroupFilterID(), 130);
}

TEST_F(ArrangeTest, TheAboutBoxShowsItsTextsAndGoesAtAKeyButNotADrag)
{
    unsigned char texts[6][256];
    texts[5][0] = 0xEE;
    AboutTexts(texts, false);
    EXPECT_EQ(texts[5][0], 0xEE) << "five texts, nothing past them";
    EXPECT_EQ(P(texts[0]), "App");
    EXPECT_EQ(P(texts[1]), " 2.5");
    EXPECT_EQ(P(texts[2]), std::to_string(MyFreeMem() / 1024) + " ");

    appl_->ShowAbout();
    ASSERT_TRUE(G_IsGenerique);
    ASSERT_NE(G_Dialog, nullptr);
    WindowRef about = GetDialogWindow(G_Dialog);
    Rect at{};
    GetWindowBounds(about, kWindowStructureRgn, &at);
    const int16_t titleH = int16_t((at.left + at.right) / 2), titleV = int16_t(at.top + 5);
    {
        WindowRef hit = nullptr;
        const Point p{titleV, titleH};
        ASSERT_EQ(FindWindow(p, &hit), inDrag);
        ASSERT_EQ(hit, about);
        ASSERT_EQ(FrontWindow(), about);
    }

    auto* doc = new FakeDoc;
    appl_->AddDoc(doc);
    std::vector<std::pair<bool, int16_t>> seen;
    doc->onIdle = [&] {
        Rect now{};
        if (G_IsGenerique) GetWindowBounds(about, kWindowStructureRgn, &now);
        seen.emplace_back(G_IsGenerique, now.left);
        if (seen.size() == 200) PostFunc(19);
    };
    Script script;
    script.Wait(5);
    script.Drag(titleH, titleV, int16_t(titleH + 40), int16_t(titleV + 30), 10);
    script.Wait(40);
    script.Key("a");
    platform::testing::HeadlessRun run(std::move(script));
    appl_->Run();
    bool movedAndKept = false;
    for (const auto& [shown, left] : seen) movedAndKept = movedAndKept || (shown && left == at.left + 40);
    EXPECT_TRUE(movedAndKept);
    EXPECT_FALSE(G_IsGenerique);
    EXPECT_FALSE(seen.back().first);
    delete doc;

    // Documents opened by an event take it away too.
    appl_->ShowAbout();
    ASSERT_TRUE(G_IsGenerique);
    AppleEvent event;
    AEDescList none;
    AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &event);
    AECreateList(nullptr, 0, false, &none);
    AEPutParamDesc(&event, keyDirectObject, &none);
    EXPECT_EQ(appl_->hAEOpenDocuments(&event, nullptr, 0), noErr);
    EXPECT_FALSE(G_IsGenerique);
    AEDisposeDesc(&none);
    AEDisposeDesc(&event);
}

}  // namespace
