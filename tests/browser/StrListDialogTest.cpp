// The string-list dialog run headless on the preferences file: an id is
// taken from 15000 to 32000, an id in use selects its row, OK makes the
// new list empty (bytes 00 00) under its name, and a list that cannot be
// made is said, its row goes and the dialog stays, nothing written.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "app/dialogs/Messages.h"
#include "browser/dialogs/StrListDialog.h"
#include "platform/core/Endian.h"
#include "platform/lists/Lists.h"
#include "tests/browser/StrListRows.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class StrListDialogTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        place_ = Place(browser::kStrListDialog);
        UseResFile(G_PrefResFile);
    }
    int16_t Run(Script script)
    {
        platform::testing::HeadlessRun run(std::move(script));
        const int16_t id = browser::GetStrListID(nullptr);
        EXPECT_EQ(run.watchdogMessage, "");
        return id;
    }
    // A new list's name and id typed and added; then `answers` (OK, an
    // alert's OK, Cancel...).
    Script AddThen(const std::string& name, const std::string& id, std::vector<int16_t> answers)
    {
        const Point field = place_.At(browser::kStrListId), add = place_.At(browser::kStrListAdd);
        Script s;
        s.Wait(5).Type(name).Click(field.h, field.v).Wait(2).Type(id).Wait(2).Click(add.h, add.v).Wait(5);
        for (int16_t answer : answers) s.Choose(answer).Wait(5);
        return s;
    }
    static Bytes List(int16_t id)
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("STR#"), id);
        UseResFile(saved);
        return h && *h ? Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + GetHandleSize(h))
                       : Bytes{0xEE};
    }
    static std::string PrefsFileBytes()
    {
        std::ifstream in(gPrefFileSpec.path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    DialogPlace place_;
};

// The header names the columns: "Name" from 5 pixels in, "ID" flush
// right before 171 and "Strings" flush right before the scroll bar, in
// the list's font.
TEST_F(StrListDialogTest, TheHeaderNamesTheColumns)
{
    const Rect box = place_.items.at(size_t(browser::kStrListHeader - 1));
    const int16_t left = int16_t(box.left + 1);
    const struct {
        int16_t index, from, to;
        bool flushRight;
    } columns[] = {{46, int16_t(left + 4), int16_t(left + 110), false},
                   {11, int16_t(left + 110), int16_t(left + 170), true},
                   {12, int16_t(left + 170), int16_t(box.right - 16), true}};
    std::vector<Rect> inks;
    WhenAnswered([&](DialogRef d) {
        for (const auto& c : columns)
            inks.push_back(InkIn(d, Rect{int16_t(box.top + 2), c.from, int16_t(box.bottom - 2), c.to}));
    });
    Run(Script().Wait(5).Choose(browser::kStrListCancel));
    ASSERT_EQ(inks.size(), 3u);
    SetPortWindowPort(window_->fWindow);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    for (size_t i = 0; i < 3; ++i) {
        unsigned char title[256];
        MyGetIndString(title, 1001, columns[i].index);
        ASSERT_GT(title[0], 0);
        const Rect& ink = inks[i];
        ASSERT_GT(ink.right, ink.left) << P(title);
        EXPECT_NEAR(ink.right - ink.left, StringWidth(title), 3) << P(title);
        if (columns[i].flushRight) {
            EXPECT_NEAR(ink.right, columns[i].to, 3) << P(title);
        } else {
            EXPECT_NEAR(ink.left, columns[i].from + 1, 2) << P(title);
        }
    }
    TextFont(0);
    TextSize(12);
}

TEST_F(StrListDialogTest, AnIdFrom15000To32000MakesAnEmptyList)
{
    // Out of range, Add and OK stay disabled: OK does nothing, Cancel ends.
    struct Case {
        std::string id;
        std::vector<int16_t> answers;
        int16_t result;
    } cases[] = {
        {"14999", {1, 2}, -1}, {"15000", {1}, 15000}, {"32000", {1}, 32000}, {"32001", {1, 2}, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(AddThen("Extra", c.id, c.answers)), c.result) << c.id;
        if (c.result != -1) {
            EXPECT_EQ(List(c.result), (Bytes{0, 0})) << c.id;
        }
    }
    EXPECT_EQ(List(14999), Bytes{0xEE});
    EXPECT_EQ(List(32001), Bytes{0xEE});
}

TEST_F(StrListDialogTest, AnIdInUseSelectsItsRow)
{
    ASSERT_EQ(Run(AddThen("Extra", "15001", {1})), 15001);
    const int32_t alerts = AlertCount();
    // The alert, then OK with the list's row selected.
    EXPECT_EQ(Run(AddThen("Again", "15001", {1, 1})), 15001);
    EXPECT_EQ(AlertCount(), alerts + 1);
    const std::string said = LastAlert().text;
    EXPECT_EQ(said.substr(said.size() - 5), "15001");
    EXPECT_EQ(List(15001), (Bytes{0, 0}));
}

// A list that a plug-in's bundle names ('QBNX' 15020 naming 'STR#' 15003)
// is not offered, and its id typed is refused: the list stays as it was.
TEST_F(StrListDialogTest, APlugInsListIsNeitherOfferedNorTaken)
{
    const Bytes routines{0, 1, 3, 'R', 'u', 'n'};
    const std::tuple<ResType, int16_t, Bytes> resources[] = {
        {FourCC("STR#"), 15003, routines}, {FourCC("QBNX"), 15020, Bytes{0, 1, 'S', 'T', 'R', '#', 0, 1, 0x3A, 0x9B}}};
    for (const auto& [type, id, bytes] : resources) {
        Handle h = NewHandle(Size(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), reinterpret_cast<uint8_t*>(*h));
        AddResource(h, type, id, reinterpret_cast<const unsigned char*>("\0"));
        ASSERT_EQ(ResError(), noErr) << id;
    }
    static std::vector<int16_t> offered;
    offered.clear();
    WhenAnswered([](DialogRef) {
        if (!offered.empty()) return;
        offered = OfferedStringListIds();
    });
    const int32_t alerts = AlertCount();
    // Add: the alert and its OK; then Cancel, the dialog having stayed.
    EXPECT_EQ(Run(AddThen("Extra", "15003", {1, 2})), -1);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), 15003), 0);
    EXPECT_EQ(AlertCount(), alerts + 1);
    unsigned char refusal[256];
    MyGetIndString(refusal, 1002, 80);
    EXPECT_EQ(LastAlert().text, P(refusal));
    EXPECT_EQ(List(15003), routines);
}

TEST_F(StrListDialogTest, AListThatCannotBeMadeIsSaidAndTheDialogStays)
{
    const std::string file = PrefsFileBytes();
    const int32_t alerts = AlertCount();
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        // OK, the alert's OK, then Cancel: the dialog stayed.
        EXPECT_EQ(Run(AddThen("Extra", "15002", {1, 1, 2})), -1);
    }
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(LastAlert().text, "The disk is full. Make room on it and try again.");
    EXPECT_EQ(List(15002), Bytes{0xEE});
    EXPECT_EQ(PrefsFileBytes(), file);
}

}  // namespace
}  // namespace browsertest
