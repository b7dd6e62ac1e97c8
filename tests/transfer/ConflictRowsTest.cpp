// The rows of the conflict list: which records each filter lists, and a
// row's pixels against a drawing made from the row's geometry with the
// platform's own calls.
#include <cstring>

#include "app/appl/Preferences.h"
#include "app/dialogs/DrawingUtilities.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictRows.h"
#include "transfer/dialogs/RecordEdits.h"

using namespace platform;

namespace transfertest {
namespace {

// A 32-bit world to draw into, current while it lives.
struct Offscreen {
    explicit Offscreen(const Rect& bounds)
    {
        NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0);
        SetGWorld(world, nullptr);
    }
    ~Offscreen()
    {
        SetGWorld(nullptr, nullptr);
        DisposeGWorld(world);
    }
    std::vector<uint32_t> Pixels(const Rect& r) const
    {
        const PixMap* pm = *GetGWorldPixMap(world);
        const int32_t row = (pm->rowBytes & kRowBytesMask) / 4;
        const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
        std::vector<uint32_t> out;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) out.push_back(p[v * row + h] & 0xFFFFFF);
        return out;
    }
    GWorldPtr world = nullptr;
};

class RowsTest : public DemoConflicts {
protected:
    void SetUp() override
    {
        DemoConflicts::SetUp();
        const Rect view{0, 0, 400, 500};
        rows_ = LongLNew(&view, 0, kObjectRowLength, Point{60, 500}, transfer::kConflictListDef, nullptr, false,
                         transfer::C_ListLDEFProc);
        ASSERT_NE(rows_, nullptr);
    }
    void TearDown() override
    {
        LongLDispose(rows_);
        DemoConflicts::TearDown();
    }
    // The source names of the rows under `filter`.
    std::vector<std::string> Rows(int16_t filter)
    {
        EXPECT_EQ(transfer::SetC_List(rows_, list_, nullptr, filter), 0);
        std::vector<std::string> names;
        for (int32_t r = 0; r < rows_->rowCount; ++r) {
            auto* record = static_cast<TConflict*>(LongLRowObject(r, rows_));
            names.push_back(record->fSource ? readtest::P(record->fSource->name) : "-");
        }
        return names;
    }
    LongListHandle rows_ = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(RowsTest, EachFilterListsItsVisibleRecordsWithChainedOnesAfterTheirTable)
{
    RecordDemoConflicts();
    // Lines equals the target's table and is not shown; its form clashes
    // and is; the plug-in record (type 8) is never listed.
    TConflict* plugIn = Record(list_, Find(2, "Log_Event"), 10, 5);
    ASSERT_TRUE(plugIn->fVisible);
    const Names all{"Customers", "Line_Entry", "Log_Event", "Invoice_Texts", "File", "Heading"};
    const struct {
        int16_t filter;
        Names rows;
    } cases[] = {
        {transfer::kAllFilter, all},        {transfer::kDirectFilter, all}, {transfer::kIndirectFilter, {}},
        {5, {"Customers"}},                 {6, {"Line_Entry"}},             {9, {"Log_Event"}},
        {0, {}},                            {4, {}},                         {5 + 17, {}},  // past 'C_mn'
    };
    for (const auto& c : cases) EXPECT_EQ(Rows(c.filter), c.rows) << "filter " << c.filter;

    // Customers now uses the target's table: its fields find theirs (104
    // and 105) and list as indirect conflicts, the table itself not.
    G_C_Hide = true;
    TConflict* customers = list_->At(0);
    customers->fChoice = 4;
    transfer::UpdateSubList(static_cast<TRConflict*>(customers), &transfer_, list_, &target_);
    const Names indirect = Rows(transfer::kIndirectFilter);
    ASSERT_FALSE(indirect.empty());
    EXPECT_EQ(indirect.front(), "Name");
    EXPECT_EQ(transfer::C_SearchInChain(list_, Members(&doc_, Find(1, "Customers"))[0])->fCode, 104);
    EXPECT_EQ(std::count(indirect.begin(), indirect.end(), "Customers"), 0);
    EXPECT_EQ(std::count(indirect.begin(), indirect.end(), "Town"), 1);
}

TEST_F(RowsTest, ARowPlacesIconMarkAndChoiceBoxWhereItsGeometrySays)
{
    TConflict* table = Record(list_, Find(1, "Customers"), 2, 1);
    TConflict* method = nullptr;
    ASSERT_EQ(transfer::ChainConflict(table, Find(2, "Log_Event"), 6, &method), 0);
    const Rect world{0, 0, 200, 500};
    Offscreen drawn(world);
    const int16_t line = transfer::ListLineHeight();
    FontInfo info{};
    GetFontInfo(&info);
    ASSERT_EQ(line, info.ascent + info.descent + info.leading);
    const int16_t height = transfer::ConflictCellHeight();
    EXPECT_EQ(height, 7 * (line / 2) + 14);

    struct Case {
        int16_t choice;
        bool parentShown, clicked;
        bool grey;
    } cases[] = {{9, true, true, true}, {1, false, false, false}, {12, true, false, true}, {4, false, true, false}};
    for (const Case& c : cases) {
        method->fChoice = c.choice;
        method->fClicked = c.clicked;
        table->fVisible = c.parentShown;
        const Rect cell{10, 20, int16_t(10 + height), 480};
        SetGWorld(drawn.world, nullptr);
        EraseRect(&world);
        transfer::DrawC_Cell(&cell, method);
        const int16_t x = int16_t(cell.left + (c.parentShown ? 20 : 0)), top = cell.top;
        const Rect icon{int16_t(top + 4), int16_t(x + 4), int16_t(top + 20), int16_t(x + 36)};
        const Rect mark{int16_t(top + 20), int16_t(x + 4), int16_t(top + 36), int16_t(x + 20)};
        const int16_t textBottom = int16_t(top + 4 + 2 * line);
        const Rect box{int16_t(textBottom + 3), int16_t(x + 40), int16_t(textBottom + 23), int16_t(cell.right - 8)};
        EXPECT_EQ(transfer::ChoiceBoxRect(cell, method).left, box.left) << c.choice;

        Offscreen reference(world);
        int16_t index = 0, n = 0;
        transfer::GetStr_Icn(6, &index, &n);
        CIconHandle h = GetCIcon(int16_t(512 + n));
        ASSERT_NE(h, nullptr);
        PlotCIcon(&icon, h);
        DisposeCIcon(h);
        if (c.clicked) DrawSmallIcon(128, 6, &mark);
        Pattern grey{{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}};
        if (c.grey) PenPat(&grey);
        FrameRect(&box);
        MoveTo(int16_t(box.left + 1), box.bottom);
        LineTo(box.right, box.bottom);
        LineTo(box.right, int16_t(box.top + 1));
        PenNormal();
        // The icon, the mark's square, and the box's frame with its shadow.
        for (const Rect& part : {icon, mark, Rect{box.top, box.left, int16_t(box.top + 1), int16_t(box.right + 1)},
                                 Rect{box.top, box.left, int16_t(box.bottom + 1), int16_t(box.left + 1)},
                                 Rect{box.bottom, box.left, int16_t(box.bottom + 1), int16_t(box.right + 1)},
                                 Rect{box.top, box.right, int16_t(box.bottom + 1), int16_t(box.right + 1)}})
            EXPECT_EQ(drawn.Pixels(part), reference.Pixels(part))
                << "choice " << c.choice << " at " << part.top << "," << part.left;
        SetGWorld(drawn.world, nullptr);
    }
}

}  // namespace
}  // namespace transfertest
