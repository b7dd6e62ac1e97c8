// The demo's first window after another window or a dialog went away:
// Form [Customers]: Card clicked, then a key. The list then shows what a
// full redraw shows, whatever window was current: its one highlighted row
// is the current object, whose links the panes show, which Rename is for
// and which Return previews. A dialog cancelled leaves the window as it
// was.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/CommandHooks.h"
#include "browser/dialogs/BlockingDialog.h"
#include "platform/drawing/Ports.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DocumentWindowsFixture.h"
#include "transfer/dialogs/ConflictPreferences.h"

using namespace platform;

namespace browsertest {
namespace {

using Fixture = transfertest::DocumentWindows;

// A way a window or dialog goes away, the demo in one window in front.
struct Closing {
    const char* name;
    int16_t command;
    // Answers the command's dialogs; a cancelled file dialog when asked.
    std::vector<int16_t> answers = {};
    bool cancelFile = false;
    // The row made current before the command, and the window's command
    // that closes what the command opened.
    std::pair<int16_t, std::string> current = {};
    bool thenClose = false;
};

const Closing kClosings[] = {
    {"SecondBrowserWindow", 40, {}, false, {}, true},
    {"GroupWindow", 43, {}, false, {}, true},
    {"DocumentationEditor", 56, {}, false, {2, "Close_Invoice"}, true},
    {"StringListEditor", 52, {}, false, {11, "Invoice_Texts"}, true},
    {"CancelledFileDialog", 7, {1}, true},
    {"Preferences", 13, {1}},
    {"ReadStructureAgain", 74},
    {"FindResults", 53, {1}},
};

// Keys as the keyboard gives them: one key, or a name typed.
struct Keys {
    const char* name;
    const char* key;  // a script key name, or null for `typed`
    uint16_t modifiers = 0;
    const char* typed = "";
};

const Keys kKeys[] = {
    {"Down", "down"},
    {"Up", "up"},
    {"ShiftDown", "down", shiftKey},
    {"TypedName", nullptr, 0, "Entry"},
};

void PrintTo(const Closing& c, std::ostream* os) { *os << c.name; }
void PrintTo(const Keys& k, std::ostream* os) { *os << k.name; }

using Param = std::tuple<Closing, Keys>;

class KeysAfterClosing : public Fixture, public ::testing::WithParamInterface<Param> {
protected:
    void TearDown() override
    {
        run_.reset();
        Fixture::TearDown();
    }
    // The command from the menus, its dialogs answered.
    void Choose(const Closing& c)
    {
        Script script;
        script.Wait(5);
        for (int16_t item : c.answers) script.Choose(item).Wait(5);
        run_ = std::make_unique<platform::testing::HeadlessRun>(script);
        if (c.cancelFile) {
            FileDialogAnswer cancel;
            cancel.kind = FileDialogAnswer::Kind::Cancel;
            PushFileDialogAnswer(cancel);
        }
        appl_->Do_Func(c.command);
        run_.reset();
    }
    // A row's point, global, leaving the current port as it was.
    static Point OnRow(TRefWindow* w, int32_t row, int16_t dh)
    {
        const Rect cell = GetCellRect(row, Main(w)->fList);
        Point p{int16_t(cell.top + 8), int16_t(cell.left + dh)};
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(w->fWindow);
        LocalToGlobal(&p);
        SetPort(saved);
        return p;
    }
    // The script's clicks and keys given to the window, as the event loop
    // gives them.
    void Play(TRefWindow* w, Script script)
    {
        run_ = std::make_unique<platform::testing::HeadlessRun>(std::move(script.Wait(5)));
        EventRecord e{};
        while (platform::testing::NextEvent(mDownMask | keyDownMask, &e)) {
            if (e.what == mouseDown) w->Click(e, 0);
            else w->key(e);
        }
        run_.reset();
    }
    static std::vector<std::string> Names(ObjListHdl links)
    {
        std::vector<std::string> out;
        const ShownLinks shown(links);
        for (int32_t i = 0; shown.get() && i < shown.get()->Size(); ++i) out.push_back(Key(shown.get()->At(i)));
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::vector<std::string> RowKeys(browser::TRefPlane* pane)
    {
        std::vector<std::string> out;
        for (int32_t r = 0; r < pane->fList->rowCount; ++r)
            out.push_back(Key(static_cast<TObjQz*>(LongLRowObject(r, pane->fList))));
        std::sort(out.begin(), out.end());
        return out;
    }

    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

TEST_P(KeysAfterClosing, TheKeyDrawsTheRowItMakesCurrent)
{
    const auto& [closing, keys] = GetParam();
    TMainDoc* doc = OpenDoc(InFolder("Demo.QzB"));
    ASSERT_NE(doc, nullptr);
    TRefWindow* w = Windows(doc).front();
    browser::TLstPlane* main = Main(w);
    if (!closing.current.second.empty()) Select(main, {closing.current});
    Choose(closing);
    if (closing.thenClose) {
        EXPECT_EQ(appl_->Do_Func(3), 0);
    }
    ASSERT_EQ(GetTWindow(FrontWindow()), w);
    ASSERT_EQ(doc->fFirstWindow, w);
    ASSERT_EQ(w->fNextWindow, nullptr);

    // Card clicked (its table opened first when it is closed), then the keys.
    Script script;
    if (RowOf(main, 24, "Card") < 0) {
        const Point triangle = OnRow(w, RowOf(main, 1, "Customers"), 8);
        script.Wait(100).Click(triangle.h, triangle.v).Wait(5);
        Play(w, script);
        script = Script();
    }
    const int32_t card = RowOf(main, 24, "Card");
    ASSERT_GE(card, 0);
    if (card < main->fList->firstVisible || GetCellRect(card, main->fList).bottom > main->fList->rView.bottom) {
        main->ScrollTo(card);
        w->update(EventRecord{});
    }
    const Point at = OnRow(w, card, 80);
    script.Wait(100).Click(at.h, at.v).Wait(5);
    Play(w, script);
    TObjQz* clicked = main->CurrentObject();
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(Key(clicked), "24:Form [Customers]: Card");
    script = Script();
    if (keys.key) {
        ASSERT_TRUE(script.Key(keys.key, keys.modifiers));
    } else {
        script.Type(keys.typed);
    }
    Play(w, script);

    // What the key drew is what a full redraw draws.
    TObjQz* current = main->CurrentObject();
    ASSERT_NE(current, nullptr);
    EXPECT_NE(current, clicked) << "the key moved the current row";
    const std::vector<uint32_t> drawn = ListPixels(w);
    w->update(EventRecord{});
    EXPECT_TRUE(ListPixels(w) == drawn);
    // The panes show its links; Rename is for it; Return previews it.
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    auto* uses = dynamic_cast<browser::TRefPlane*>(main->fUses);
    ASSERT_TRUE(usedBy && uses);
    EXPECT_EQ(RowKeys(usedBy), Names(current->usedBy));
    EXPECT_EQ(RowKeys(uses), current->TstFlag(9) ? std::vector<std::string>{} : Names(current->uses));
    EXPECT_EQ(browser::CommandEnabled(51), current->EnableReplace());
    script = Script();
    ASSERT_TRUE(script.Key("return"));
    Play(w, script);
    EXPECT_EQ(Preview(w)->fObj, current);
}

INSTANTIATE_TEST_SUITE_P(EveryClosing, KeysAfterClosing,
                         ::testing::Combine(::testing::ValuesIn(kClosings), ::testing::ValuesIn(kKeys)),
                         [](const ::testing::TestParamInfo<Param>& info) {
                             return std::string(std::get<0>(info.param).name) + "Then" + std::get<1>(info.param).name;
                         });

// The dialogs of the File and Objects menus, each cancelled (Escape, the
// conflict list's Cancel button or the file dialog's Cancel) with Form
// [Customers]: Card current: the window shows what it showed, the same
// rows selected.
struct Cancelled {
    const char* name;
    int16_t command;
    bool fileDialog = false;
    int16_t cancelItem = 0;  // 0: Escape
};

const Cancelled kCancelled[] = {
    {"NewFromSql", 30, true},   {"Open", 2, true},        {"OpenFromServer", 14},   {"ExportList", 7},
    {"PrintList", 10},          {"Preferences", 13},      {"ConflictPrefs", 15, false, 2},
    {"BlockingPrefs", 16},      {"Filters", 54},          {"PageSetup", 9},         {"Rename", 51},
    {"AddPrefix", 58},          {"ReplaceInNames", 59},   {"ReplaceText", 76},      {"ReplaceCommand", 78},
    {"TextsToStringList", 50},  {"StringListsToTexts", 77}, {"ScaleForms", 75},     {"NewGroup", 71},
    {"MakeGroup", 70},          {"FullGroup", 72},
};

void PrintTo(const Cancelled& c, std::ostream* os) { *os << c.name; }

class CancelledDialog : public Fixture, public ::testing::WithParamInterface<Cancelled> {
protected:
    void SetUp() override
    {
        Fixture::SetUp();
        // As the program's start gives them.
        CommandHooks().conflictPreferences = transfer::C_Preferences;
        CommandHooks().blockingPreferences = browser::BlockingPref;
        record_ = NewPrintRecord();
        PrintDefault(record_);
        MyAppl->fPrintRecord = reinterpret_cast<Handle>(record_);
    }
    void TearDown() override
    {
        MyAppl->fPrintRecord = nullptr;
        DisposePrintRecord(record_);
        ResetCommandHooks();
        Fixture::TearDown();
    }
    THPrint record_ = nullptr;
};

TEST_P(CancelledDialog, LeavesTheSelectionAndThePanesAsTheyWere)
{
    const Cancelled& c = GetParam();
    TMainDoc* doc = OpenDoc(InFolder("Demo.QzB"));
    ASSERT_NE(doc, nullptr);
    TRefWindow* w = Windows(doc).front();
    browser::TLstPlane* main = Main(w);
    main->SwitchCellState(RowOf(main, 1, "Customers"));
    Select(main, {{24, "Card"}});
    auto state = [&] {
        std::string selected;
        for (int32_t row = 0; LongLGetSelect(true, &row, main->fList); ++row)
            selected += RowLine(main, row) + "\n";
        TObjQz* current = main->CurrentObject();
        return Shown(w) + "selected:\n" + selected + "current " + (current ? Key(current) : "none");
    };
    const std::string before = state();
    Script script;
    script.Wait(5);
    if (c.cancelItem) script.Choose(c.cancelItem);
    else if (!c.fileDialog) script.Key("escape");
    script.Wait(5);
    {
        platform::testing::HeadlessRun run(script);
        if (c.fileDialog) {
            FileDialogAnswer cancel;
            cancel.kind = FileDialogAnswer::Kind::Cancel;
            PushFileDialogAnswer(cancel);
        }
        appl_->Do_Func(c.command);
        EXPECT_EQ(run.watchdogMessage, "");
        if (!c.fileDialog) {
            EXPECT_TRUE(run.backend->ScriptOver()) << "a dialog took the key";
        }
    }
    EXPECT_EQ(state(), before);
}

INSTANTIATE_TEST_SUITE_P(FileAndObjectsMenus, CancelledDialog, ::testing::ValuesIn(kCancelled),
                         [](const ::testing::TestParamInfo<Cancelled>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace browsertest
