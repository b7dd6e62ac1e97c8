#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/dialogs/Messages.h"
#include "app/appl/Utilities.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileSpec.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/ThemeText.h"
#include "platform/text/SingleByteSets.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "platform/screen/Screen.h"
#include "platform/text/IntlSettings.h"
#include "tests/app/AppFixture.h"

using namespace apptest;
using namespace platform;

namespace {

const char* kMaps = R"(
'EMap' 2000 { $"0FA0 0001" }
'STR#' 2000 { "first map" }
'EMap' 2001 { $"0FA0 0001" $"0FA5 0001" }
'STR#' 2001 { "second map" }
'EMap' 2002 { $"0FA1 0001 0FA2" }
'STR#' 2002 { "short map" }
)";

using MessagesTest = AppFixture;

TEST_F(MessagesTest, ErrorCodesChooseTheirMessage)
{
    UseAppResources(kMaps);
    struct Case {
        int16_t code;
        std::string text;
    } cases[] = {
        {-43, "m5"}, {-108, "m1"}, {1008, "m40"}, {4711, "m9( #4711)"},
        {4000, "first map"},             // two maps list it: the lower index wins
        {4005, "second map"},            // only the second lists it
        {4001, "short map"},             // a 6-byte map holds one record
        {4002, "m9( #4002)"},            // its 2 extra bytes are no record
        {-32768, "m9( #-32768)"},
    };
    for (const Case& c : cases) {
        ErrMsg(c.code);
        EXPECT_EQ(LastAlert().alertId, 1000) << c.code;
        EXPECT_EQ(LastAlert().kind, kStopAlert) << c.code;
        EXPECT_EQ(LastAlert().text, c.text) << c.code;
    }
    const std::pair<int16_t, int16_t> indexes[] = {{-1, 16}, {-120, 5}, {1002, 10}, {1003, 31}, {1008, 40}, {0, 0}, {1009, 0}};
    for (const auto& [code, index] : indexes) EXPECT_EQ(ErrorStringIndex(code), index) << code;
    // Every answer of the file service has a message of its own.
    for (int e = 1; e < 134; ++e) EXPECT_NE(ErrorStringIndex(OSErrFromErrno(e)), 0) << "errno " << e;
    Str255 text;
    EXPECT_EQ(SearchResErrs(4711, text), 9);
    EXPECT_EQ(P(text), "");
    EXPECT_EQ(SearchResErrs(4000, text), 0);

    // A long message keeps the code's first characters up to 255 exactly.
    platform::ResetResourceManager();
    const std::string fullItem(250, 'x');
    UseAppResources(std::string(kBaseAlerts) + "'STR#' 1002 { \"\" \"\" \"\" \"\" \"\" \"\" \"\" \"\" \"" + fullItem + "\" }",
                    false);
    ErrMsg(4711);
    EXPECT_EQ(LastAlert().text, fullItem + "( #47");
}

// Every refusal the file service notes is said naming its document or
// folder; a place too long for the alert keeps its end from a separator,
// so that the folders it keeps and the name are whole.
TEST_F(MessagesTest, EachRefusalNamesItsDocumentOrFolderAndItsPlaceFits)
{
    UseAppResources(R"('STR#' 1037 { "D<" ">moved" " now<" ">." "" "" "" "" "" "" "" ">deleted" "F<" "> of <" ">locked"
                      ">kept<" ">." ">astray" })");
    // "D<Demo.QzB>moved" and " now<" ">." leave 232 bytes for a place, as
    // "F<" and "> of <Demo.QzB>locked" do for a folder.
    const std::string tail = "/" + std::string(100, 'b') + "/Moved.QzB";
    const auto place = [&](size_t size) { return "/" + std::string(size - 1 - tail.size(), 'a') + tail; };
    const std::string longName = "/f/" + std::string(240, 'n');
    const struct {
        OSErr code;
        std::string path, now;
        RefusedItem item;
        std::string said;
    } cases[] = {
        {fileMovedErr, "/f/Demo.QzB", place(231), RefusedItem::File, "D<Demo.QzB>moved now<" + place(231) + ">."},
        {fileMovedErr, "/f/Demo.QzB", place(232), RefusedItem::File, "D<Demo.QzB>moved now<" + place(232) + ">."},
        {fileMovedErr, "/f/Demo.QzB", place(233), RefusedItem::File, "D<Demo.QzB>moved now<\xC9" + tail + ">."},
        {fileMovedErr, "/f/Demo.QzB", longName, RefusedItem::File,
         "D<Demo.QzB>moved now<\xC9" + std::string(231, 'n') + ">."},
        {fileMovedErr, "/f/Demo.QzB", "", RefusedItem::Deleted, "D<Demo.QzB>deleted"},
        {permErr, "/f/Demo.QzB", "", RefusedItem::Folder, "F</f> of <Demo.QzB>locked"},
        {permErr, place(233) + "/Demo.QzB", "", RefusedItem::Folder, "F<\xC9" + tail + "> of <Demo.QzB>locked"},
        {fileMovedErr, "/f/Demo.QzB", "/f/._Demo.RSR.0123abcd", RefusedItem::Kept,
         "D<Demo.QzB>kept</f/._Demo.RSR.0123abcd>."},
        {fileMovedErr, "/f/Demo.QzB", "", RefusedItem::WrittenAway, "D<Demo.QzB>astray"},
        {fileMovedErr, "/f/Demo.QzB", "/g/Demo.QzB", RefusedItem::WrittenAway, "D<Demo.QzB>astray now</g/Demo.QzB>."},
    };
    for (const auto& c : cases) {
        NoteFileRefusal(c.code, c.path, c.now, c.item);
        ErrMsg(c.code);
        EXPECT_EQ(LastAlert().text, c.said) << c.path << " " << c.now;
    }
}

TEST_F(MessagesTest, MemoryAlertsAndTheCloseQuestion)
{
    UseAppResources("");
    EXPECT_TRUE(CheckMem(1024));
    SetMemoryBudget(MemoryInUse() + 1000);
    EXPECT_FALSE(CheckMem(1024));
    SetMemoryBudget(int64_t(1) << 30);
    const struct {
        int16_t level, kind;
        const char* text;
    } levels[] = {{0, kNoteAlert, "m14"}, {1, kCautionAlert, "m19"}, {2, kStopAlert, "m20"}};
    for (const auto& l : levels) {
        NoMemory(l.level);
        EXPECT_EQ(LastAlert().kind, l.kind);
        EXPECT_EQ(LastAlert().text, l.text);
    }
    const int32_t shown = AlertCount();
    NoMemory(3);
    EXPECT_EQ(AlertCount(), shown) << "other levels show nothing";
    EXPECT_EQ(XAlert(1000, reinterpret_cast<const unsigned char*>("\x01x"), 4), 0);
    EXPECT_EQ(AlertCount(), shown);

    unsigned char name[] = "\x03" "Doc";
    EXPECT_EQ(ConfirmClose(false, name), 2);
    EXPECT_EQ(AlertCount(), shown) << "nothing asked";
    PushDialogAnswer(3);
    EXPECT_EQ(ConfirmClose(true, name), 3) << "the button the person chose";
    EXPECT_EQ(LastAlert().alertId, 1003);
    EXPECT_EQ(LastAlert().kind, kCautionAlert);
    EXPECT_EQ(LastAlert().text, "Save \"Doc\"?");
    // A program the system is ending asks nothing: the changes stay unsaved.
    const int32_t asked = AlertCount();
    PostTerminationRequest();
    EXPECT_EQ(ConfirmClose(true, name), 2);
    EXPECT_EQ(AlertCount(), asked);
    ResetEventManager();
}

// Every alert of the shipped resources, with each text it shows at its
// longest (every parameter 255 characters), shows it whole: each static
// text's item holds all its lines, inside the alert and clear of the other
// items, and the last line's pixels are drawn there.
TEST_F(MessagesTest, EveryShippedAlertShowsItsLongestTextWhole)
{
    G_MainResFile = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(G_MainResFile, 0);
    UseResFile(G_MainResFile);
    std::vector<int16_t> ids;
    for (int16_t i = 1; i <= Count1Resources(FourCC("ALRT")); ++i) {
        int16_t id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(Get1IndResource(FourCC("ALRT"), i), &id, &type, name);
        ids.push_back(id);
    }
    ASSERT_GE(ids.size(), 9u);
    std::string longest;
    while (longest.size() + 8 <= 255) longest += "Wwmwmw, ";
    Str255 param;
    ToP(longest, param);
    ParamText(param, param, param, param);
    const auto lineHeight = [] {
        Point one{0, 1000};
        GetThemeTextDimensions(u"W", kThemeSystemFont, kThemeStateActive, true, &one, nullptr);
        return one.v;
    }();
    for (const int16_t id : ids) {
        SCOPED_TRACE(id);
        std::vector<std::string> faults;
        int texts = 0;
        platform::testing::HeadlessRun run(Script().Wait(5).Screenshot("probe").Choose(1), [&] {
            HeadlessOptions options;
            options.screenshot = [&](const std::string&) {
                DialogRef alert = GetDialogFromWindow(FrontWindow());
                if (!alert) return faults.push_back("no alert up"), noErr;
                Rect content;
                GetPortBounds(GetDialogPort(alert), &content);
                const PixMap* screen = ComposeScreen();
                SetPortWindowPort(GetDialogWindow(alert));
                for (DialogItemIndex i = 1; i <= CountDITL(alert); ++i) {
                    DialogItemType type = 0;
                    Handle h = nullptr;
                    Rect box;
                    GetDialogItem(alert, i, &type, &h, &box);
                    if ((type & 0x7F) != kStaticTextDialogItem) continue;
                    ++texts;
                    Str255 shown;
                    GetDialogItemShownText(alert, i, shown);
                    std::u16string text;
                    for (int k = 1; k <= shown[0]; ++k) text += MacRomanToUnicode(shown[k]);
                    Point size{0, int16_t(box.right - box.left)};
                    GetThemeTextDimensions(text, kThemeSystemFont, kThemeStateActive, true, &size, nullptr);
                    const std::string at = "item " + std::to_string(i) + ": ";
                    if (size.v > box.bottom - box.top) faults.push_back(at + "its lines pass its bottom");
                    Rect inside;
                    if (!SectRect(&box, &content, &inside) || !EqualRect(&inside, &box))
                        faults.push_back(at + "outside the alert");
                    for (DialogItemIndex j = 1; j <= CountDITL(alert); ++j) {
                        Rect other;
                        GetDialogItem(alert, j, &type, &h, &other);
                        if (j != i && SectRect(&box, &other, &inside))
                            faults.push_back(at + "over item " + std::to_string(j));
                    }
                    // Ink in the band of the last line.
                    Point from{int16_t(box.top + size.v - lineHeight), box.left};
                    LocalToGlobal(&from);
                    bool ink = false;
                    for (int v = from.v; v < from.v + lineHeight && !ink; ++v) {
                        const auto* row =
                            reinterpret_cast<const uint32_t*>(screen->baseAddr + v * (screen->rowBytes & 0x3FFF));
                        for (int hh = from.h; hh < from.h + (box.right - box.left) && !ink; ++hh)
                            ink = (row[hh] & 0xFFFFFF) != 0xFFFFFF;
                    }
                    if (!ink) faults.push_back(at + "no pixel of its last line");
                }
                return noErr;
            };
            return options;
        }());
        EXPECT_GE(Alert(id, nullptr), 1);
        EXPECT_GT(texts, 0);
        EXPECT_EQ(faults, std::vector<std::string>{});
    }
    ResetDialogManager();
}

TEST_F(MessagesTest, LeftoverWorkingFilesGoOnlyWhileNoOtherInstanceRuns)
{
    UseAppResources("");
    std::set<std::string> made, kept = {"Work.txt", "Work100.QTL", "Other.QTL", "Work1.QTX"};
    for (int i = 0; i < 100; ++i)
        for (const char* ext : {".QTL", ".QzB", ".RSR"})
            made.insert((i == 0 ? std::string("Work") : "Work" + std::to_string(i)) + ext);
    ASSERT_EQ(made.size(), 300u);
    auto fill = [&] {
        for (const auto& n : made) std::ofstream(prefsDir_ + "/" + n) << "x";
        for (const auto& n : kept) std::ofstream(prefsDir_ + "/" + n) << "x";
    };
    auto left = [&] {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(prefsDir_))
            names.insert(e.path().filename().string());
        names.erase("Work.lock");
        return names;
    };

    // Another instance holds the folder: its files stay.
    fill();
    const int other = ::open((prefsDir_ + "/Work.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    DelTempFiles();
    EXPECT_EQ(left().size(), 304u);
    ::close(other);

    DelTempFiles();
    EXPECT_EQ(left(), kept);
    fill();
    DelTempFiles();
    EXPECT_EQ(left(), kept) << "again, under the lock this process holds";
    ReleaseInstanceLock();
}

TEST(Utilities, PlacementSortingAndText)
{
    // The smallest screen the platform makes; lower than the dialog.
    ASSERT_EQ(InitScreen(200, 64), noErr);
    Rect r{0, 0, 100, 80};
    DialogCenter(&r);
    EXPECT_EQ(r.top, 30) << "never above the menu bar and its margin";
    EXPECT_EQ(r.bottom, 130);
    EXPECT_EQ(r.left, 60);
    ASSERT_EQ(InitScreen(), noErr);

    unsigned char strings[3][256];
    ToP("b", strings[0]);
    ToP("A", strings[1]);
    ToP("a", strings[2]);
    int16_t ids[3] = {1, 2, 3};
    SortStringRes(strings, ids, 3);
    EXPECT_EQ(P(strings[0]), "A");
    EXPECT_EQ(P(strings[1]), "a") << "equal strings keep their order";
    EXPECT_EQ(P(strings[2]), "b");
    EXPECT_EQ(std::vector<int16_t>(ids, ids + 3), (std::vector<int16_t>{2, 3, 1}));
    ToP("\x8E" "b", strings[0]);  // e acute sorts with e
    ToP("ec", strings[1]);
    ToP("ea", strings[2]);
    SortString(strings, 3);
    EXPECT_EQ(P(strings[0]), "ea");
    EXPECT_EQ(P(strings[1]), "\x8E" "b");

    Str255 text;
    for (const auto& [n, want] : std::vector<std::pair<int32_t, std::string>>{
             {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {-123456, "-123,456"}, {-999, "-999"},
             {0, "0"}, {INT32_MIN, "-2,147,483,648"}}) {
        TxtNumToString(n, text);
        EXPECT_EQ(P(text), want);
    }
    IntlSettings dots;
    dots.thousandsSeparator = '.';
    SetIntlSettings(dots);
    TxtNumToString(1234, text);
    EXPECT_EQ(P(text), "1.234");
    ResetIntlSettings();

    const unsigned char x[] = {1, 'x'};
    ConcatNumDoc(x, 3, text);
    EXPECT_EQ(P(text), "x_3");

    const std::string path64 = "Volume:" + std::string(56, 'f') + ":";
    ASSERT_EQ(path64.size(), 64u);
    ShortenPathName(path64, text);
    EXPECT_EQ(P(text), path64);
    ShortenPathName(path64 + "g:", text);
    EXPECT_EQ(P(text), "Volume:...:");

    // Through the folder's volume and id: the short path whole, a long one cut.
    platform::testing::TempFolder temp;
    const std::string deep = temp / (std::string(40, 'd') + "/" + std::string(40, 'e'));
    std::filesystem::create_directories(deep);
    for (const auto& [path, longOne] : {std::make_pair(temp.path(), false), std::make_pair(deep, true)}) {
        FSSpec folder;
        ASSERT_EQ(FSMakeFSSpec(path, &folder), noErr);
        int16_t vRefNum = 0;
        int32_t dirID = 0;
        ASSERT_EQ(FSpGetDirID(folder, &vRefNum, &dirID), noErr);
        std::string colon;
        ASSERT_EQ(FSpGetColonPath(folder, &colon), noErr);
        EXPECT_EQ(GetPathName(text, vRefNum, dirID), 0);
        if (longOne) EXPECT_EQ(P(text), colon.substr(0, colon.find(':')) + ":...:");
        else EXPECT_EQ(P(text), colon.size() > 64 ? colon.substr(0, colon.find(':')) + ":...:" : colon);
    }

    uint32_t word = 0;
    pbitset(&word, 3);
    pbitset(&word, 67);
    pbitset(&word, 40);
    pbitset(&word, -1);
    EXPECT_EQ(word, 0x8u) << "bits of 32 and over (mod 64) set nothing";
    EXPECT_EQ(machineType(), 1206);
}

}  // namespace
