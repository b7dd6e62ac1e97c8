// File dialogs: what the open, save and choose-folder dialogs show and
// answer, the callers' callbacks, and headless scripts answering them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/filedialogs/NavDialogModel.h"
#include "platform/filedialogs/NavFolderMemory.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/files/FileSpec.h"
#include "platform/files/LaunchServices.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/platform/filedialogs/NavTestSupport.h"

namespace {

using namespace platform;
using navtest::Folder;
namespace fs = std::filesystem;

std::vector<std::string> Names(NavDialogRef d)
{
    std::vector<std::string> names;
    for (const NavItem& item : NavListShown(d))
        names.push_back(item.name);
    return names;
}

void SetLocation(NavDialogRef d, const std::string& path)
{
    AEDesc desc;
    ASSERT_EQ(AECreateDesc(typeFSRef, path.data(), Size(path.size()), &desc), noErr);
    EXPECT_EQ(NavCustomControl(d, kNavCtlSetLocation, &desc), noErr);
    AEDisposeDesc(&desc);
}

NavTypeListHandle TypeList(std::vector<OSType> types)
{
    Handle h = NewHandleClear(Size(8 + 4 * types.size()));
    auto list = reinterpret_cast<NavTypeListHandle>(h);
    (*list)->osTypeCount = int16_t(types.size());
    for (size_t i = 0; i < types.size(); ++i)
        (*list)->osType[i] = types[i];
    return list;
}

std::vector<std::string> Selection(const NavReplyRecord& reply)
{
    std::vector<std::string> paths;
    int32_t count = 0;
    AECountItems(&reply.selection, &count);
    for (int32_t i = 1; i <= count; ++i) {
        FSRef ref;
        if (AEGetNthPtr(&reply.selection, i, typeFSRef, nullptr, nullptr, &ref, Size(sizeof ref), nullptr) == noErr)
            paths.push_back(ref.path);
    }
    return paths;
}

TEST(OpenDialog, ListsVisibleItemsAndFiltersByType)
{
    Folder folder;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    SetLocation(d, folder.Path());
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Sub", "a.QzB", "b.txt"}));
    NavDialogDispose(d);

    NavTypeListHandle types = TypeList({FourCC("BAS5")});
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, types, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    SetLocation(d, folder.Path());
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Sub", "a.QzB"}));
    // Entering a folder shows its items.
    ASSERT_TRUE(NavOpenFolder(d, folder.Path("Sub")));
    EXPECT_EQ(Names(d), (std::vector<std::string>{"c.QzB"}));
    EXPECT_EQ(NavPathEntries(d).back(), folder.Path("Sub"));
    EXPECT_EQ(NavPathEntries(d).front(), "/");
    NavDialogDispose(d);
    DisposeHandle(reinterpret_cast<Handle>(types));
}

TEST(OpenDialog, AnsweredPathGivesAValidReplyAndCancelNone)
{
    Folder folder;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    PushFileDialogAnswer(folder.Path("a.QzB"));
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionOpen);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_TRUE(reply.validRecord);
    EXPECT_EQ(Selection(reply), (std::vector<std::string>{folder.Path("a.QzB")}));
    NavDisposeReply(&reply);
    EXPECT_EQ(NavDialogRun(d), kNavWrongDialogStateErr);  // a dialog runs once
    NavDialogDispose(d);

    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    FileDialogAnswer cancel;
    ParseFileDialogAnswer("cancel", &cancel);
    PushFileDialogAnswer(cancel);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
    EXPECT_EQ(NavDialogGetReply(d, &reply), userCanceledErr);
    EXPECT_FALSE(reply.validRecord);
    NavDisposeReply(&reply);
    NavDialogDispose(d);
}

// A caller's filters, as the toolbox's open dialog keeps them: the pop-up
// entry chosen decides which kinds show; folders always do.
struct Caller {
    std::vector<std::vector<OSType>> kinds;
    int32_t initial = 0;
    int32_t current = 0;
    int16_t chosenButton = 0;
    ControlRecord* buttons[2] = {reinterpret_cast<ControlRecord*>(0x10), reinterpret_cast<ControlRecord*>(0x20)};
    bool withButtons = false;
    std::vector<NavEventCallbackMessage> heard;
};

void CallerEvents(NavEventCallbackMessage message, NavCBRecPtr parms, void* userData)
{
    auto* c = static_cast<Caller*>(userData);
    c->heard.push_back(message);
    switch (message) {
    case kNavCBStart: {
        if (c->withButtons)
            for (ControlRecord* b : c->buttons)
                NavCustomControl(parms->context, kNavCtlAddControl, b);
        NavMenuItemSpec itemSpec;
        itemSpec.menuCreator = FourCC("extn");
        itemSpec.menuType = OSType(c->initial);
        NavCustomControl(parms->context, kNavCtlSelectCustomType, &itemSpec);
        c->current = c->initial;
        break;
    }
    case kNavCBPopupMenuSelect:
        c->current = int32_t(static_cast<NavMenuItemSpec*>(parms->eventData.param)->menuType);
        break;
    case kNavCBEvent:
        for (int16_t i = 0; i < 2; ++i)
            if (parms->eventData.event && parms->eventData.event->what == mouseDown &&
                parms->eventData.param == c->buttons[i]) {
                c->chosenButton = int16_t(i + 1);
                NavCustomControl(parms->context, kNavCtlCancel, nullptr);
            }
        break;
    default: break;
    }
}

Boolean CallerFilter(AEDesc*, void* info, void* userData, NavFilterModes)
{
    auto* c = static_cast<Caller*>(userData);
    auto* item = static_cast<NavFileOrFolderInfo*>(info);
    if (item->isFolder)
        return true;
    for (OSType k : c->kinds[size_t(c->current)])
        if (k == item->finderInfo.fdType)
            return true;
    return false;
}

TEST(OpenDialog, TwoFiltersInThePopupAndCustomButtons)
{
    Folder folder;
    Caller caller;
    caller.kinds = {{FourCC("BAS5")}, {FourCC("TEXT")}};
    caller.withButtons = true;
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.popupExtension = {"Structures", "Texts"};
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, CallerEvents, nullptr, CallerFilter, &caller, &d), noErr);
    SetLocation(d, folder.Path());
    // The start message preselects the initial entry.
    NavCallBack(d, kNavCBStart, nullptr);
    EXPECT_EQ(NavPopupEntries(d), (std::vector<std::string>{"Structures", "Texts"}));
    EXPECT_EQ(d->popupIndex, 0);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Sub", "a.QzB"}));
    NavChoosePopupEntry(d, 1);
    EXPECT_EQ(caller.current, 1);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Sub", "b.txt"}));
    NavDialogDispose(d);

    // Custom button 2 ends the dialog as a cancel with button 2 reported.
    caller = Caller{};
    caller.kinds = {{FourCC("BAS5")}};
    caller.withButtons = true;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, CallerEvents, nullptr, CallerFilter, &caller, &d), noErr);
    FileDialogAnswer button;
    ASSERT_TRUE(ParseFileDialogAnswer("button 2", &button));
    PushFileDialogAnswer(button);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
    EXPECT_EQ(caller.chosenButton, 2);
    ASSERT_GE(caller.heard.size(), 3u);
    EXPECT_EQ(caller.heard.front(), kNavCBCustomize);
    EXPECT_EQ(caller.heard[1], kNavCBStart);
    EXPECT_EQ(caller.heard.back(), kNavCBTerminate);
    NavDialogDispose(d);
}

TEST(SaveDialog, ReplacingAndNewFolders)
{
    Folder folder;
    const std::string before = "text";
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.saveFileName = "b.txt";
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreatePutFileDialog(&options, FourCC("TEXT"), FourCC("QzA6"), nullptr, nullptr, &d), noErr);
    SetLocation(d, folder.Path());
    std::string edit;
    NavCustomControl(d, kNavCtlGetEditFileName, &edit);
    EXPECT_EQ(edit, "b.txt");
    EXPECT_TRUE(NavSaveWouldReplace(d));
    // A new folder appears where the dialog stands.
    EXPECT_EQ(NavCustomControl(d, kNavCtlNewFolder, const_cast<char*>("New")), noErr);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"New", "Sub", "a.QzB", "b.txt"}));
    EXPECT_NE(NavCustomControl(d, kNavCtlNewFolder, const_cast<char*>("New")), noErr);

    PushFileDialogAnswer(folder.Path("b.txt"));
    ASSERT_EQ(NavDialogRun(d), noErr);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_TRUE(reply.validRecord);
    EXPECT_TRUE(reply.replacing);
    EXPECT_EQ(reply.saveFileName, "b.txt");
    EXPECT_EQ(Selection(reply), (std::vector<std::string>{folder.Path()}));
    std::ifstream in(folder.Path("b.txt"));
    std::string now;
    in >> now;
    EXPECT_EQ(now, before);  // answering never touches the file
    NavDisposeReply(&reply);
    NavDialogDispose(d);

    // A new name is no replacement; the saved file takes its Finder type.
    ASSERT_EQ(NavCreatePutFileDialog(&options, FourCC("TEXT"), FourCC("QzA6"), nullptr, nullptr, &d), noErr);
    PushFileDialogAnswer(folder.Path("Sub/new.txt"));
    ASSERT_EQ(NavDialogRun(d), noErr);
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_FALSE(reply.replacing);
    std::ofstream(folder.Path("Sub/new.txt")) << "saved";
    EXPECT_EQ(NavCompleteSave(&reply, 0), noErr);
    FInfo info;
    FSpGetFInfo(FSSpec{folder.Path("Sub/new.txt")}, &info);
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    NavDisposeReply(&reply);
    NavDialogDispose(d);
}

// Memory running out at any allocation while a dialog is made answers
// memFullErr and leaves no dialog, nothing to dispose of and nothing held
// (or is got over: a folder that cannot be listed is not stood in).
TEST(SaveDialog, MemoryRunningOutWhileOneIsMadeLeavesNone)
{
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.saveFileName = "b.txt";
    NavTypeListHandle types = TypeList({FourCC("BAS5"), FourCC("TEXT")});
    for (const bool save : {true, false}) {
        for (int64_t n = 0;; ++n) {
            NavDialogRef d = nullptr;
            testfaults::FailNthNew(n);
            const OSStatus err =
                save ? NavCreatePutFileDialog(&options, FourCC("TEXT"), FourCC("QzA6"), nullptr, nullptr, &d)
                     : NavCreateGetFileDialog(&options, types, nullptr, nullptr, nullptr, nullptr, &d);
            const bool failed = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            if (err == noErr) {
                EXPECT_NE(d, nullptr) << save << " " << n;
            } else {
                EXPECT_EQ(err, memFullErr) << save << " " << n;
                EXPECT_EQ(d, nullptr) << save << " " << n;
            }
            NavDialogDispose(d);
            if (!failed) break;
        }
    }
    DisposeHandle(reinterpret_cast<Handle>(types));
}

TEST(ChooseFolderDialog, AnswersTheFolderAndRemembersItUnderItsKey)
{
    Folder folder;
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.preferenceKey = 7;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateChooseFolderDialog(&options, nullptr, nullptr, nullptr, &d), noErr);
    PushFileDialogAnswer(folder.Path("Sub"));
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionChoose);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_EQ(Selection(reply), (std::vector<std::string>{folder.Path("Sub")}));
    NavDisposeReply(&reply);
    NavDialogDispose(d);
    // Only folders show; the next dialog under key 7 opens where this one stood.
    ASSERT_EQ(NavCreateChooseFolderDialog(&options, nullptr, nullptr, nullptr, &d), noErr);
    EXPECT_EQ(d->folder, folder.Path());
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Sub"}));
    NavDialogDispose(d);
}

// --- Headless runs ------------------------------------------------------

TEST(FileDialogScripts, AnswersArriveFromTheScript)
{
    Folder folder;
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("wait 5\nanswer " + folder.Path("a.QzB") + "\nanswer cancel\nanswer button 2\n", &script,
                            &error))
        << error;
    EXPECT_FALSE(ParseScript("answer button\n", &script, &error));
    platform::testing::HeadlessRun run(std::move(script));
    NavDialogRef d = nullptr;
    // The first answer comes at tick 5: the dialog waits for it.
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionOpen);
    NavDialogDispose(d);
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
    NavDialogDispose(d);
    Caller caller;
    caller.kinds = {{}};
    caller.withButtons = true;
    ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, CallerEvents, nullptr, nullptr, &caller, &d), noErr);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(caller.chosenButton, 2);
    NavDialogDispose(d);
    EXPECT_TRUE(run.watchdogMessage.empty());
}

TEST(FileDialogScripts, AHiddenPathOrAMissingAnswerStopsTheRun)
{
    Folder folder;
    {
        Script script;
        script.AnswerFileDialog(folder.Path("b.txt"));
        platform::testing::HeadlessRun run(std::move(script));
        NavTypeListHandle types = TypeList({FourCC("BAS5")});
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreateGetFileDialog(nullptr, types, nullptr, nullptr, nullptr, nullptr, &d), noErr);
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
        EXPECT_NE(run.watchdogMessage.find("does not show"), std::string::npos) << run.watchdogMessage;
        EXPECT_NE(run.watchdogMessage.find("b.txt"), std::string::npos);
        NavDialogDispose(d);
        DisposeHandle(reinterpret_cast<Handle>(types));
    }
    {
        // A sidecar is never an answer either.
        Script script;
        script.AnswerFileDialog(folder.Path("._a.QzB"));
        platform::testing::HeadlessRun run(std::move(script));
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_NE(run.watchdogMessage.find("does not show"), std::string::npos) << run.watchdogMessage;
        NavDialogDispose(d);
    }
    {
        // The script ends with the dialog open: the watchdog ends the run.
        Script script;
        script.Wait(2);
        platform::testing::HeadlessRun run(std::move(script));
        NavDialogRef d = nullptr;
        ASSERT_EQ(NavCreateGetFileDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel);
        EXPECT_NE(run.watchdogMessage.find("still waiting for input"), std::string::npos) << run.watchdogMessage;
        NavDialogDispose(d);
    }
}

}  // namespace

// --- Popup entries and several files from scripts; what the desktop knows
// of an item -------------------------------------------------------------

namespace {

using namespace platform;
using navtest::Folder;

TEST(FileDialogScripts, PopupEntriesAndSeveralFilesAnswerTheOpenDialog)
{
    FileDialogAnswer a;
    ASSERT_TRUE(ParseFileDialogAnswer("popup 2", &a));
    EXPECT_EQ(a.kind, FileDialogAnswer::Kind::Popup);
    EXPECT_EQ(a.button, 2);
    EXPECT_FALSE(ParseFileDialogAnswer("popup 0", nullptr));
    EXPECT_FALSE(ParseFileDialogAnswer("popup x", nullptr));
    ASSERT_TRUE(ParseFileDialogAnswer("files /a b | /c", &a));
    EXPECT_EQ(a.paths, (std::vector<std::string>{"/a b", "/c"}));
    EXPECT_FALSE(ParseFileDialogAnswer("files /a |  | /c", nullptr));

    Folder folder;
    // Stationery: the reply says so for the first file.
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(FSSpec{folder.Path("b.txt")}, &info), noErr);
    info.fdFlags |= kIsStationery;
    ASSERT_EQ(FSpSetFInfo(FSSpec{folder.Path("b.txt")}, info), noErr);

    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.popupExtension = {"Bases", "Texts"};
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    ASSERT_TRUE(ParseFileDialogAnswer("popup 2", &a));
    PushFileDialogAnswer(a);
    ASSERT_TRUE(ParseFileDialogAnswer("files " + folder.Path("b.txt") + " | " + folder.Path("a.QzB"), &a));
    PushFileDialogAnswer(a);
    ASSERT_EQ(NavDialogRun(d), noErr);
    EXPECT_EQ(d->popupIndex, 1);
    NavReplyRecord reply;
    ASSERT_EQ(NavDialogGetReply(d, &reply), noErr);
    EXPECT_EQ(Selection(reply), (std::vector<std::string>{folder.Path("b.txt"), folder.Path("a.QzB")}));
    EXPECT_TRUE(reply.isStationery);
    NavDisposeReply(&reply);
    NavDialogDispose(d);

    // Without several files allowed, or an entry past the end, the run
    // stops as cancelled.
    options.optionFlags &= ~kNavAllowMultipleFiles;
    for (const std::string& answer : {"files " + folder.Path("b.txt") + " | " + folder.Path("a.QzB"),
                                      std::string("popup 3")}) {
        ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
        ASSERT_TRUE(ParseFileDialogAnswer(answer, &a));
        PushFileDialogAnswer(a);
        ASSERT_EQ(NavDialogRun(d), noErr);
        EXPECT_EQ(NavDialogGetUserAction(d), kNavUserActionCancel) << answer;
        NavDialogDispose(d);
    }
}

TEST(ItemInfo, ExtensionTypeAndPackages)
{
    Folder folder;
    LSItemInfoRecord item;
    FSRef ref{folder.Path("a.QzB")};
    ASSERT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &item), noErr);
    EXPECT_EQ(item.extension, "QzB");
    EXPECT_EQ(item.filetype, FourCC("BAS5"));
    EXPECT_EQ(item.creator, FourCC("QzA6"));
    EXPECT_EQ(item.flags, kLSItemInfoIsPlainFile);

    fs::create_directories(folder.Path() + "/Tool.app/Contents");
    std::ofstream(folder.Path() + "/Tool.app/Contents/PkgInfo") << "APPLQzTl";
    ref.path = folder.Path("Tool.app");
    ASSERT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &item), noErr);
    EXPECT_EQ(item.flags, kLSItemInfoIsContainer | kLSItemInfoIsPackage);
    EXPECT_EQ(item.extension, "app");
    ref.path = folder.Path("Sub");
    ASSERT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &item), noErr);
    EXPECT_EQ(item.flags, kLSItemInfoIsContainer);
    EXPECT_EQ(item.extension, "");
    ref.path = folder.Path() + "/.hidden";
    ASSERT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestExtension, &item), noErr);
    EXPECT_EQ(item.extension, "") << "a leading dot starts no extension";
    ref.path = folder.Path("missing.txt");
    EXPECT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &item), fnfErr);
    EXPECT_EQ(LSCopyItemInfoForRef(nullptr, kLSRequestAllInfo, &item), paramErr);
}

}  // namespace

namespace {

using namespace platform;

TEST(FolderMemory, TheFolderOfAKeyOutlivesTheRunAndDamagedLinesAreSkipped)
{
    navtest::Folder folder;  // forgets every folder
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.preferenceKey = FourCC("Mem1");
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    PushFileDialogAnswer(folder.Path("Sub/c.QzB"));
    ASSERT_EQ(NavDialogRun(d), noErr);
    NavDialogDispose(d);
    // A later run reads the folder back from the preferences folder.
    NavReloadFolders();
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    EXPECT_EQ(d->folder, folder.Path("Sub"));
    NavDialogDispose(d);

    std::map<uint32_t, std::string> folders;
    ParseNavFolders("4D656D31 /kept\nzz\n4D656D3 /short\n4D656D32 relative\n00000000 /zero\n4D656D33 /a b", &folders);
    EXPECT_EQ(folders, (std::map<uint32_t, std::string>{{FourCC("Mem1"), "/kept"}, {FourCC("Mem3"), "/a b"}}));
    folders[FourCC("Mem4")] = "/two\nlines";
    std::map<uint32_t, std::string> back;
    ParseNavFolders(FormatNavFolders(folders), &back);
    EXPECT_EQ(back.size(), 2u) << "a path a line cannot hold is not written";
    NavForgetFolders();
    NavReloadFolders();
    EXPECT_EQ(NavRememberedFolder(FourCC("Mem1")), "");
}

}  // namespace
