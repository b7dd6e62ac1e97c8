// The file dialogs on the virtual screen, driven by scripted clicks and
// keys: entering a folder by double-click, opening with the button, the
// save name selected at start, the replace question and new folders.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/filedialogs/NavDialogModel.h"
#include "platform/filedialogs/NavDialogWindow.h"
#include "platform/filedialogs/NavServices.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/filedialogs/NavTestSupport.h"

namespace platform::testing {
namespace {

using navtest::Folder;
namespace fs = std::filesystem;
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
    // Where things of the dialog lie on the screen, measured on a window
    // made and closed again: the layout is the same every time.
    struct Places {
        Point firstRow, action, newFolder;
    };
    static Places Measure(NavDialogRef d)
    {
        Places p{};
        EXPECT_TRUE(NavOpenWindow(d));
        NavShowWindow(d);
        EXPECT_TRUE(NavRowCentre(d, 0, &p.firstRow));
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
    AEDesc where;
    const std::string root = folder.Path();
    AECreateDesc(typeFSRef, root.data(), Size(root.size()), &where);
    NavCustomControl(d, kNavCtlSetLocation, &where);
    AEDisposeDesc(&where);
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
    AEDesc where;
    const std::string root = folder.Path();
    AECreateDesc(typeFSRef, root.data(), Size(root.size()), &where);
    NavCustomControl(d, kNavCtlSetLocation, &where);
    AEDisposeDesc(&where);
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

}  // namespace
}  // namespace platform::testing
