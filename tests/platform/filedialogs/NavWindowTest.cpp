// The file dialogs on the virtual screen, driven by scripted clicks and
// keys: entering a folder by double-click, opening with the button, the
// save name selected at start, the replace question and new folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/filedialogs/NavDialogModel.h"
#include "platform/filedialogs/NavDialogWindow.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/menus/Menus.h"
#include "platform/screen/Screen.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/filedialogs/NavTestSupport.h"

namespace platform::testing {
namespace {

using navtest::Folder;
namespace fs = std::filesystem;

class NavWindowTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ResetNavPreferences();
    }
    static NavDialogCreationOptions Options(const char* saveName = "")
    {
        NavDialogCreationOptions options;
        NavGetDefaultDialogCreationOptions(&options);
        options.location = {100, 100};
        options.saveFileName = saveName;
        return options;
    }
    // The dialog shows the folder at `path`.
    static void ShowFolder(NavDialogRef d, const std::string& path)
    {
        AEDesc where;
        AECreateDesc(typeFSRef, path.data(), Size(path.size()), &where);
        NavCustomControl(d, kNavCtlSetLocation, &where);
        AEDisposeDesc(&where);
    }
    // Where things of the dialog lie on the screen, measured on a window
    // made and closed again: the layout is the same every time.
    struct Places {
        Point firstRow, secondRow, thirdRow, action, newFolder;
    };
    static Places Measure(NavDialogRef d)
    {
        Places p{};
        EXPECT_TRUE(NavOpenWindow(d));
        NavShowWindow(d);
        EXPECT_TRUE(NavRowCentre(d, 0, &p.firstRow));
        NavRowCentre(d, 1, &p.secondRow);
        NavRowCentre(d, 2, &p.thirdRow);
        auto centre = [&](int16_t item) {
            DialogItemType type;
            Handle h;
            Rect box;
            GetDialogItem(GetDialogFromWindow(d->window), item, &type, &h, &box);
            SetPortWindowPort(d->window);
            Point c{int16_t((box.top + box.bottom) / 2), int16_t((box.left + box.right) / 2)};
            LocalToGlobal(&c);
            return c;
        };
        p.action = centre(kNavItemAction);
        p.newFolder = centre(kNavItemNewFolder);
        NavCloseWindow(d);
        return p;
    }
};

TEST_F(NavWindowTest, DoubleClickEntersAFolderAndTheButtonOpensTheSelection)
{
    Folder folder;
    NavDialogCreationOptions options = Options();
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    ShowFolder(d, folder.Path());
    const Places at = Measure(d);  // row 0 is "Sub", then in Sub "c.QzB"

    std::string inSub;
    PlayWithProbe(Script()
                      .Wait(5)
                      .DoubleClick(at.firstRow.h, at.firstRow.v)
                      .Wait(10)
                      .Screenshot("probe")
                      .Click(at.firstRow.h, at.firstRow.v)
                      .Wait(5)
                      .Click(at.action.h, at.action.v),
                  [&](const std::string&) { inSub = d->folder; });
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(inSub, folder.Path("Sub"));
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionOpen);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    FSRef chosen;
    ASSERT_EQ(AEGetNthPtr(&reply.selection, 1, typeFSRef, nullptr, nullptr, &chosen, Size(sizeof chosen), nullptr),
              noErr);
    EXPECT_EQ(chosen.path, folder.Path("Sub/c.QzB"));
    NavDisposeReply(&reply);
    EXPECT_EQ(d->window, nullptr);  // the window went with the run
    NavDialogDispose(d);
    EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
}

TEST_F(NavWindowTest, SaveAsksBeforeReplacingAndMakesNewFolders)
{
    Folder folder;
    NavDialogCreationOptions options = Options("b.txt");
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreatePutFileDialog(&options, 0, 0, nullptr, nullptr, &d), noErr);
    ShowFolder(d, folder.Path());
    const Places at = Measure(d);

    int16_t focus = 0;
    bool endedAfterCancel = true;
    bool madeFolder = false;
    int probes = 0;
    Script script;
    script.Wait(5).Screenshot("start").Click(at.newFolder.h, at.newFolder.v).Wait(5).Screenshot("folder");
    // Return asks to replace "b.txt": Cancel keeps the dialog, Replace answers.
    script.Choose(2);
    script.Key("return");
    script.Wait(10).Screenshot("cancelled").Choose(1);
    script.Key("return");
    script.Wait(10);
    PlayWithProbe(std::move(script), [&](const std::string& step) {
        ++probes;
        if (step == "start")
            focus = GetDialogKeyboardFocusItem(GetDialogFromWindow(d->window));
        if (step == "folder")
            madeFolder = fs::is_directory(folder.Path("untitled folder"));
        if (step == "cancelled")
            endedAfterCancel = d->ended;
    });
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(probes, 3);
    EXPECT_EQ(focus, kNavItemName);
    EXPECT_TRUE(madeFolder);
    EXPECT_FALSE(endedAfterCancel);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionSaveAs);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_TRUE(reply.replacing);
    EXPECT_EQ(reply.saveFileName, "b.txt");
    NavDisposeReply(&reply);
    std::ifstream in(folder.Path("b.txt"));
    std::string text;
    in >> text;
    EXPECT_EQ(text, "text");
    NavDialogDispose(d);
    EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
}

// A caller as the toolbox's open dialog is: two push buttons of its own in
// the custom area, found by their control id when clicked.
struct ButtonCaller {
    ControlRef buttons[2] = {nullptr, nullptr};
    int16_t chosen = 0;
};

void ButtonEvents(NavEventCallbackMessage message, NavCBRecPtr parms, void* userData)
{
    auto* c = static_cast<ButtonCaller*>(userData);
    switch (message) {
    case kNavCBCustomize:
        parms->customRect.right = std::max<int16_t>(parms->customRect.right, int16_t(parms->customRect.left + 236));
        parms->customRect.bottom = std::max<int16_t>(parms->customRect.bottom, int16_t(parms->customRect.top + 44));
        break;
    case kNavCBStart:
        for (int16_t i = 0; i < 2; ++i) {
            Rect r{0, 0, 20, 80};
            unsigned char title[] = "\x05" "Other";
            c->buttons[i] = NewControl(parms->window, &r, title, true, 0, 0, 1, pushButProc, 0);
            ControlID id{FourCC("xTbx"), int32_t(i + 1)};
            SetControlID(c->buttons[i], &id);
            NavCustomControl(parms->context, kNavCtlAddControl, c->buttons[i]);
        }
        break;
    case kNavCBAdjustRect:
        MoveControl(c->buttons[0], int16_t(parms->customRect.left + 12), int16_t(parms->customRect.top + 12));
        MoveControl(c->buttons[1], int16_t(parms->customRect.left + 12 + 80 + 12), int16_t(parms->customRect.top + 12));
        break;
    case kNavCBEvent: {
        EventRecord* e = parms->eventData.event;
        if (!e || e->what != mouseDown || !parms->window)
            break;
        SetPortWindowPort(parms->window);
        Point local = e->where;
        GlobalToLocal(&local);
        ControlRef hit = nullptr;
        FindControl(local, parms->window, &hit);
        ControlID id{};
        if (hit && GetControlID(hit, &id) == noErr && id.signature == FourCC("xTbx") &&
            HandleControlClick(hit, local, e->modifiers, nullptr)) {
            c->chosen = int16_t(id.id);
            NavCustomControl(parms->context, kNavCtlCancel, nullptr);
        }
        break;
    }
    default: break;
    }
}

// The save name shows in Mac Roman and answers as a UTF-8 file name: typed
// through the text input, '/' becomes ':'; a proposed name Mac Roman cannot
// show whole, left as it is, keeps its own characters.
TEST_F(NavWindowTest, TheSaveNameIsAFileNameInUtf8)
{
    const struct {
        const char *proposed, *typed, *answered;
    } rows[] = {
        {"\xE3\x83\x87\xE3\x83\xA2.QTL", nullptr, "\xE3\x83\x87\xE3\x83\xA2.QTL"},
        {"a:b.QTL", nullptr, "a:b.QTL"},
        {"x", "D\xC3\xA9mo \xE2\x82\xAC \xC3\x9F.QTL", "D\xC3\xA9mo \xE2\x82\xAC \xC3\x9F.QTL"},
        {"x", "a/b.QTL", "a:b.QTL"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answered);
        Folder folder;
        NavDialogCreationOptions options = Options(row.proposed);
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreatePutFileDialog(&options, 0, 0, nullptr, nullptr, &d), noErr);
        ShowFolder(d, folder.Path());
        Script script;
        script.Wait(5);
        if (row.typed) script.Text(row.typed).Wait(5);
        script.Key("return");
        script.Wait(10);
        PlayWithProbe(std::move(script), [](const std::string&) {});
        ASSERT_EQ(NavDialogRun(d), noErr);
        NavReplyRecord reply;
        ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
        EXPECT_EQ(reply.saveFileName, row.answered);
        NavDisposeReply(&reply);
        NavDialogDispose(d);
        EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
    }
}

// The text of the one-button alert a script answers (item 2).
std::string gSaid;
void KeepSaid(DialogRef alert)
{
    Str255 text;
    GetDialogItemShownText(alert, 2, text);
    gSaid.assign(reinterpret_cast<const char*>(text + 1), text[0]);
}

// The screen's pixels under the dialog's folder pop-up and file list.
std::vector<uint32_t> FolderAndList(NavDialogRef d)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    Point topLeft{32, 14}, bottomRight{242, 446};
    LocalToGlobal(&topLeft);
    LocalToGlobal(&bottomRight);
    SetPort(saved);
    const PixMap* screen = ComposeScreen();
    const int32_t row = screen->rowBytes & kRowBytesMask;
    std::vector<uint32_t> pixels;
    for (int32_t v = topLeft.v; v < bottomRight.v; ++v)
        for (int32_t h = topLeft.h; h < bottomRight.h; ++h) {
            uint32_t px = 0;
            std::memcpy(&px, screen->baseAddr + v * row + h * 4, 4);
            pixels.push_back(px & 0xFFFFFF);
        }
    return pixels;
}

// A name or place the save dialog cannot take is said, and the dialog stays
// for another: ':' typed (a '/' in a file name), a leading '.', the folder
// removed or renamed while the dialog was open (the dialog then stands in
// the folder above it, its pop-up and list drawn as a dialog opened there
// draws them). Nothing is written anywhere.
TEST_F(NavWindowTest, WhatTheSaveDialogCannotTakeIsSaidAndTheDialogStays)
{
    const std::string gone = "The folder \xD2Inner\xD3 is no longer there: it was moved, renamed or deleted. Nothing "
                             "was saved. Choose where to save again, from \xD2Sub\xD3.";
    const struct {
        const char *typed, *change, *said, *standsIn;
    } rows[] = {
        {"a:b", "", "A file name cannot hold \xD2:\xD3. Type another character in its place.", "Sub/Inner"},
        {".b", "",
         "A file name cannot begin with \xD2.\xD3: such files are hidden. Choose a name that begins with another "
         "character.",
         "Sub/Inner"},
        {"new.txt", "remove", gone.c_str(), "Sub"},
        {"new.txt", "rename", gone.c_str(), "Sub"},
    };
    SetScriptedAnswerObserver(KeepSaid);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.said);
        Folder folder;
        fs::create_directories(folder.Path("Sub") + "/Inner");
        NavDialogCreationOptions options = Options("x");
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreatePutFileDialog(&options, 0, 0, nullptr, nullptr, &d), noErr);
        ShowFolder(d, folder.Path("Sub/Inner"));
        auto files = [&] {
            std::string all;
            for (const auto& e : fs::recursive_directory_iterator(folder.Path())) all += e.path().string() + "\n";
            return all;
        };
        std::string before, after, standsIn;
        std::vector<uint32_t> shown, fresh;
        bool ended = true;
        gSaid.clear();
        Script script;
        script.Wait(5).Text(row.typed).Screenshot("change");
        script.Key("return");
        script.Wait(10).Screenshot("during").Choose(1);  // answered once the alert was up a while
        script.Wait(10).Screenshot("after").AnswerFileDialog("cancel");
        PlayWithProbe(std::move(script), [&](const std::string& step) {
                          if (step == "change") {
                              if (std::string(row.change) == "remove") fs::remove(folder.Path("Sub/Inner"));
                              if (std::string(row.change) == "rename")
                                  fs::rename(folder.Path("Sub/Inner"), folder.Path("Sub") + "/Moved");
                              before = files();
                              return;
                          }
                          if (step == "during") return;
                          ended = d->ended;
                          standsIn = d->folder;
                          after = files();
                          shown = FolderAndList(d);
                      });
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_EQ(gSaid, row.said);
        EXPECT_FALSE(ended);
        EXPECT_EQ(standsIn, folder.Path(row.standsIn));
        EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
        EXPECT_EQ(after, before);
        EXPECT_EQ(files(), before);
        NavDialogDispose(d);
        EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
        // The same dialog opened where the refusal left it.
        ASSERT_EQ(NavCreatePutFileDialog(&options, 0, 0, nullptr, nullptr, &d), noErr);
        ShowFolder(d, folder.Path(row.standsIn));
        Script again;
        again.Wait(5).Screenshot("fresh").AnswerFileDialog("cancel");
        PlayWithProbe(std::move(again), [&](const std::string&) { fresh = FolderAndList(d); });
        ASSERT_EQ(NavDialogRun(d), noErr);
        NavDialogDispose(d);
        EXPECT_TRUE(shown == fresh) << "the pop-up and the list as a fresh dialog draws them";
    }
    SetScriptedAnswerObserver(nullptr);
}

TEST_F(NavWindowTest, CustomButtonTwoCancelsAndIsReportedWhetherClickedOrAnswered)
{
    Folder folder;
    for (bool answered : {false, true}) {
        SCOPED_TRACE(answered);
        NavDialogCreationOptions options = Options();
        ButtonCaller caller;
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, ButtonEvents, nullptr, nullptr, &caller, &d), noErr);
        // The custom area starts 32 below the list; the window's content
        // is at (100, 100): button 2 is 12 + 80 + 12 from the area's left.
        const Point second{int16_t(100 + 274 + 12 + 10), int16_t(100 + 14 + 12 + 80 + 12 + 40)};
        Rect where{};
        Script script;
        script.Wait(5).Screenshot("probe");
        if (answered)
            script.AnswerFileDialog("button 2");
        else
            script.Click(second.h, second.v);
        script.Wait(5);
        PlayWithProbe(std::move(script), [&](const std::string&) { GetControlBounds(caller.buttons[1], &where); });
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_EQ(where.top, 274 + 12);
        EXPECT_EQ(where.left, 14 + 12 + 80 + 12);
        EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
        EXPECT_EQ(caller.chosen, 2);
        NavDialogDispose(d);
        EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
    }
}

TEST_F(NavWindowTest, SeveralFilesOpenTogetherWhenAllowed)
{
    Folder folder;
    NavDialogCreationOptions options = Options();
    options.optionFlags |= kNavAllowMultipleFiles;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    ShowFolder(d, folder.Path());
    const Places at = Measure(d);  // "Sub", "a.QzB", "b.txt"
    Play(Script()
             .Wait(5)
             .Click(at.secondRow.h, at.secondRow.v)
             .Wait(5)
             .Click(at.thirdRow.h, at.thirdRow.v, shiftKey)
             .Wait(5)
             .Click(at.action.h, at.action.v));
    ASSERT_EQ(NavDialogRun(d), noErr);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    int32_t count = 0;
    AECountItems(&reply.selection, &count);
    EXPECT_EQ(count, 2);
    NavDisposeReply(&reply);
    NavDialogDispose(d);
}

// Two filters in the type pop-up, kept as the toolbox keeps them.
struct TwoFilters {
    int32_t current = 0;
};

void TwoFilterEvents(NavEventCallbackMessage message, NavCBRecPtr parms, void* userData)
{
    if (message == kNavCBPopupMenuSelect)
        static_cast<TwoFilters*>(userData)->current =
            int32_t(static_cast<NavMenuItemSpec*>(parms->eventData.param)->menuType);
}

Boolean TwoFilterFilter(AEDesc*, void* info, void* userData, NavFilterModes)
{
    auto* item = static_cast<NavFileOrFolderInfo*>(info);
    const OSType wanted = static_cast<TwoFilters*>(userData)->current == 0 ? FourCC("BAS5") : FourCC("TEXT");
    return item->isFolder || item->finderInfo.fdType == wanted;
}

TEST_F(NavWindowTest, ChoosingTheSecondTypeShowsOnlyItsKinds)
{
    Folder folder;
    NavDialogCreationOptions options = Options();
    options.popupExtension = {"Structures", "Texts"};
    TwoFilters filters;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, TwoFilterEvents, nullptr, TwoFilterFilter, &filters, &d), noErr);
    ShowFolder(d, folder.Path());
    // The pop-up's button right of its 50-pixel title, 6 below the list
    // (content at (100, 100)); its menu opens with the current item under
    // the mouse.
    ASSERT_TRUE(NavOpenWindow(d));
    MenuRef menu = GetMenuHandle(30702);
    ASSERT_NE(menu, nullptr);
    CalcMenuSize(menu);
    const int16_t row = int16_t(GetMenuHeight(menu) / CountMenuItems(menu));
    NavCloseWindow(d);
    const int16_t top = 100 + 242 + 6, h = 100 + 14 + 50 + 60;
    std::string before, after;
    auto names = [&] {
        std::string all;
        for (const NavItem& item : NavListShown(d))
            all += item.name + ",";
        return all;
    };
    PlayWithProbe(Script()
                      .Wait(5)
                      .Screenshot("before")
                      .Press(h, int16_t(top + 4))
                      .Wait(2)
                      .Move(h, int16_t(top + row + row / 2))
                      .Wait(2)
                      .Release()
                      .Wait(5)
                      .Screenshot("after")
                      .AnswerFileDialog("cancel"),
                  [&](const std::string& step) { (step == "before" ? before : after) = names(); });
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(before, "Sub,a.QzB,");
    EXPECT_EQ(after, "Sub,b.txt,");
    EXPECT_EQ(filters.current, 1);
    NavDialogDispose(d);
}

}  // namespace
}  // namespace platform::testing
