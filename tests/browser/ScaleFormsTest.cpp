// Scaling the selected forms: the dialog's choice (134 %, 75 %, a typed
// number, the texts' flag), and Objects > Scale Forms scaling every
// selected form in one commit, the document untouched when one fails.
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/longlist/LongList.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "browser/dialogs/NamingDialogs.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FormReader.h"
#include "platform/dialogs/Dialogs.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using readtest::Bytes;
using readtest::P;
using platform::Script;

namespace browsertest {
namespace {

constexpr const char* kForms = R"(structure Forms
table Customers
  field Name alpha 40
  field Town alpha 30
  form Entry iff
    field Name
    field Town
  form Listing
    field Name
    field Town
table Lines
  field Product alpha 40
  form Line_Entry iff
    field Product
)";

const uint32_t kFOQz = FourCC("FOQz");

class ScaleForms : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        built_ = Build(kForms);
    }
    void TearDown() override
    {
        if (window_) {
            doc_.RemoveWindow(window_);
            window_->Dispose();
        }
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }
    // The document read and shown in a main list, the named forms' rows
    // selected.
    void ShowAndSelect(const std::vector<std::string>& names)
    {
        Open(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        window_ = new TRefWindow;
        ASSERT_EQ(window_->ITWindow(reinterpret_cast<const unsigned char*>("\x03" "Doc"), Rect{40, 10, 373, 611}, true,
                                    0, &doc_, 8),
                  0);
        doc_.AddWindow(window_);
        pane_ = new browser::TLstPlane;
        ASSERT_EQ(pane_->ITPlane(Rect{0, 0, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
        window_->AddPlane(pane_);
        pane_->SetFilter(128);
        pane_->SetDfltFilter(128);
        for (int32_t row = 0; row < pane_->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, pane_->fList));
            for (const std::string& n : names)
                if (obj->kind == 24 && P(obj->name) == n) LongLSetSelect(true, row, pane_->fList);
        }
        int32_t selected = 0;
        for (int32_t row = 0; LongLGetSelect(true, &row, pane_->fList); ++row) ++selected;
        ASSERT_EQ(selected, int32_t(names.size()));
    }
    TLayoutObjQz* Form(const std::string& name)
    {
        for (const char* table : {"Customers", "Lines"}) {
            auto* t = static_cast<TFileObjQz*>(Find(1, table));
            for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
                if (P(t->forms->At(i)->name) == name) return static_cast<TLayoutObjQz*>(t->forms->At(i));
        }
        return nullptr;
    }
    // "top,left" of each object of the form's first page, as stored.
    std::vector<std::string> Places(const std::string& name)
    {
        std::vector<std::string> out;
        Handle image = xget1res(kFOQz, Form(name)->formResId);
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, nullptr);
        if (!image || ReadFormImage(image, &frame) != 0) return {"unread"};
        PageEntry e;
        GetPage(frame.pages, 1, &e);
        for (LayoutObject* o = e.first; o; o = o->next)
            out.push_back(std::to_string(o->bounds[0]) + "," + std::to_string(o->bounds[1]));
        DestroyPages(frame.pages);
        return out;
    }
    // Objects > Scale Forms with the dialog's items chosen in turn.
    int16_t Scale(const std::vector<int16_t>& items)
    {
        Script s;
        s.Wait(5);
        for (int16_t item : items) s.Choose(item).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        const int16_t err = pane_->Do_Func(75);
        EXPECT_EQ(run.watchdogMessage, "");
        return err;
    }
    docbuilder::BuildResult built_;
    TRefWindow* window_ = nullptr;
    browser::TLstPlane* pane_ = nullptr;
};

TEST_F(ScaleForms, TheDialogGivesTheChosenScaleAndTheTextsFlag)
{
    struct Case {
        std::vector<int16_t> items;
        int16_t result, scale;
        uint8_t flag;
    } cases[] = {
        {{1}, 0, 75, 0},                     // reduce is chosen at start
        {{6, 1}, 0, 134, 0},                 // enlarge
        {{6, 7, 1}, 0, 75, 0},               // reduce again
        {{8, 1}, 0, 100, 0},                 // the number shown
        {{11, 6, 1}, 0, 134, 1},             // the texts too
        {{11, 11, 1}, 0, 75, 0},             // toggled back
        {{9, 1}, 0, 100, 0},                 // typing selects "Scale to"
        {{6, 2}, browser::kScaleCancelled, 1, 9},  // Cancel leaves the record
    };
    for (const Case& c : cases) {
        Script s;
        s.Wait(5);
        for (int16_t item : c.items) s.Choose(item).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        ScaleLayoutParmRec params{1, 9};
        EXPECT_EQ(browser::GetScaleLayoutParm(&params), c.result) << c.items.size();
        EXPECT_EQ(run.watchdogMessage, "");
        EXPECT_EQ(params.scale, c.scale) << c.items.size() << " " << c.items[0];
        EXPECT_EQ(params.flag, c.flag) << c.items.size() << " " << c.items[0];
    }
}

TEST_F(ScaleForms, ATypedScaleFrom1To32767IsTaken)
{
    // The number typed over the 100 shown; a refused one beeps and the
    // dialog stays (then Cancel).
    struct Case {
        std::string typed;
        int16_t result, scale;
    } cases[] = {
        {"1", 0, 1}, {"250", 0, 250}, {"32767", 0, 32767}, {"0", 1001, 5}, {"32768", 1001, 5}, {"", 1001, 5}, {"5x", 1001, 5},
    };
    for (const Case& c : cases) {
        Script s;
        s.Wait(5).Choose(8).Wait(2);
        // Item 9 holds the only edit text, "100" selected at start.
        for (int i = 0; i < 3; ++i) s.Key("delete");
        s.Type(c.typed).Wait(2).Choose(1).Wait(5);
        if (c.result != 0) s.Choose(2).Wait(5);
        const uint32_t beeps = SysBeepCount();
        platform::testing::HeadlessRun run(std::move(s));
        ScaleLayoutParmRec params{5, 0};
        EXPECT_EQ(browser::GetScaleLayoutParm(&params), c.result) << c.typed;
        EXPECT_EQ(params.scale, c.scale) << c.typed;
        EXPECT_EQ(SysBeepCount() - beeps, c.result == 0 ? 0u : 1u) << c.typed;
    }
}

TEST_F(ScaleForms, EverySelectedFormIsScaledTheOthersStay)
{
    ShowAndSelect({"Entry", "Line_Entry"});
    // The builder lays the rows out from top 10, 26 apart, left 10.
    ASSERT_EQ(Places("Entry"), (std::vector<std::string>{"10,10", "36,10"}));
    const Bytes listing = Stored(kFOQz, Form("Listing")->formResId);
    EXPECT_EQ(Scale({6, 1}), 0);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"13,13", "48,13"}));  // 134 %, toward zero
    EXPECT_EQ(Places("Line_Entry"), (std::vector<std::string>{"13,13"}));
    EXPECT_EQ(Stored(kFOQz, Form("Listing")->formResId), listing);
    // On the disk: read again.
    doc_.RemoveWindow(window_);
    window_->Dispose();
    window_ = nullptr;
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    UseQzRes(doc_.fResFile);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"13,13", "48,13"}));
}

TEST_F(ScaleForms, CancelOrAFormThatCannotBeScaledLeavesTheDocumentAsItWas)
{
    // Listing's data (an older flat layout) cut short in memory: it does
    // not read, so nothing is scaled.
    ShowAndSelect({"Entry", "Listing"});
    Handle listing = xget1res(kFOQz, Form("Listing")->formResId);
    ASSERT_NE(listing, nullptr);
    SetHandleSize(listing, GetHandleSize(listing) - 3);
    const Bytes before = FileBytes(built_.dataPath);
    EXPECT_EQ(Scale({2}), 0);  // Cancel
    EXPECT_EQ(FileBytes(built_.dataPath), before);
    const int32_t alerts = AlertCount();
    EXPECT_EQ(Scale({6, 1, 1}), 0);  // OK, then the error's OK
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(FileBytes(built_.dataPath), before);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"10,10", "36,10"}));
}

TEST_F(ScaleForms, AFullDiskLeavesEveryFormAsItWas)
{
    ShowAndSelect({"Entry", "Listing", "Line_Entry"});
    const Bytes before = FileBytes(built_.dataPath);
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        EXPECT_EQ(Scale({6, 1, 1}), 0);
    }
    EXPECT_EQ(FileBytes(built_.dataPath), before);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"10,10", "36,10"}));
    EXPECT_EQ(Places("Line_Entry"), (std::vector<std::string>{"10,10"}));
}

}  // namespace
}  // namespace browsertest
