#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/views/VCell.h"
#include "toolbox/views/VView.h"

namespace {

std::vector<std::string> gLog;

// A cell that records its hooks and its own deletion.
class LoggingCell : public VCell {
public:
    explicit LoggingCell(std::string name) : name_(std::move(name)) {}
    ~LoggingCell() override { gLog.push_back("delete " + name_); }
    void DoDetach(VCellView&, int32_t c, int32_t r) override { Log("detach", c, r); }
    void DoDispose(VCellView&, int32_t c, int32_t r) override { Log("dispose", c, r); }

private:
    void Log(const char* what, int32_t c, int32_t r)
    {
        gLog.push_back(std::string(what) + " " + name_ + " " + std::to_string(c) + "," + std::to_string(r));
    }
    std::string name_;
};

class LoggingFrame : public VFrame {
public:
    LoggingFrame(VView* parent, std::string name) : VFrame(parent, nullptr), name_(std::move(name)) {}
    ~LoggingFrame() override { gLog.push_back("frame " + name_); }

private:
    std::string name_;
};

// The hooks only pass the view through: any object stands in for it.
VCellView& AnyView()
{
    static VObject stand;
    return reinterpret_cast<VCellView&>(stand);
}

class CellDataTest : public ::testing::Test {
protected:
    void SetUp() override { gLog.clear(); }
};

TEST_F(CellDataTest, DeletedRowsTakeTheirCellsAndFramesAndLaterCellsMoveUp)
{
    VView pane(nullptr, nullptr);
    VCellColumn column(-1);
    for (int32_t row : {1, 2, 3, 5}) {
        auto* cell = new LoggingCell("r" + std::to_string(row));
        cell->AddFrame(new LoggingFrame(&pane, "f" + std::to_string(row)));
        column.SetRowVCell(cell, row, 0x7FFFFFFF);
    }
    VCell* five = column.GetRowVCell(5);
    VFrame* f5 = five->GetFrame(&pane);
    ASSERT_NE(f5, nullptr);
    EXPECT_EQ(column.GetFrameRow(f5), 5);

    column.DelRows(AnyView(), 4, 2, 2);
    const std::vector<std::string> expected = {"detach r2 4,2", "dispose r2 4,2", "frame f2", "detach r3 4,3",
                                               "dispose r3 4,3", "frame f3", "delete r2", "delete r3"};
    EXPECT_EQ(gLog, expected);
    EXPECT_EQ(column.GetRowVCell(3), five);
    EXPECT_EQ(column.GetFrameRow(f5), 3);
    // Bad counts change nothing.
    gLog.clear();
    column.DelRows(AnyView(), 4, 0, 2);
    column.DelRows(AnyView(), 4, 1, 0);
    EXPECT_TRUE(gLog.empty());
    column.InsertRows(1, 2);
    EXPECT_EQ(column.GetRowVCell(5), five);
    // The first row itself can go.
    column.DelRows(AnyView(), 4, 1, 4);
    EXPECT_EQ(column.GetRowVCell(1), five);
}

TEST_F(CellDataTest, ColumnsAndRowsGoOnlyWhenTheyHoldDefaults)
{
    VView pane(nullptr, nullptr);
    VCellColumn column(-1);
    EXPECT_TRUE(column.CanBeDeleted());
    column.SetMinWidth(10);
    EXPECT_FALSE(column.CanBeDeleted());
    column.SetMinWidth(-1);
    column.SetVisible(false);
    EXPECT_FALSE(column.CanBeDeleted());
    column.SetVisible(true);

    // A cell without frames goes when checked; the emptied list goes too.
    column.SetRowVCell(new LoggingCell("a"), 7, 100);
    EXPECT_FALSE(column.CanBeDeleted());
    column.CheckDeleteVCell(7);
    EXPECT_EQ(column.GetRowVCell(7), nullptr);
    EXPECT_EQ(column.GetCellsList(), nullptr);
    EXPECT_TRUE(column.CanBeDeleted());

    // Forgetting the last frame of a cell deletes the cell.
    auto* cell = new LoggingCell("b");
    auto* frame = new LoggingFrame(&pane, "g");
    cell->AddFrame(frame);
    column.SetRowVCell(cell, 3, 100);
    EXPECT_TRUE(column.ForgetCellFrame(frame));
    EXPECT_EQ(column.GetRowVCell(3), nullptr);
    EXPECT_FALSE(column.ForgetCellFrame(frame));
    EXPECT_TRUE(column.CanBeDeleted());

    VCellRow row(-1);
    EXPECT_TRUE(row.CanBeDeleted());
    row.SetMaxHeight(40);
    EXPECT_FALSE(row.CanBeDeleted());
    row.SetMaxHeight(-1);
    auto* header = new LoggingCell("h");
    header->AddFrame(frame);
    row.SetHeaderVCell(header);
    EXPECT_FALSE(row.CanBeDeleted());
    EXPECT_TRUE(row.ForgetCellFrame(frame));
    EXPECT_EQ(row.GetHeaderVCell(), nullptr);
    EXPECT_TRUE(row.CanBeDeleted());
    delete frame;
}

TEST_F(CellDataTest, DisposalRunsTheHooksOfCellsThenFooterThenHeader)
{
    VView pane(nullptr, nullptr);
    VCellColumn column(-1);
    column.SetRowVCell(new LoggingCell("c2"), 2, 100);
    column.SetFooterVCell(new LoggingCell("foot"));
    auto* head = new LoggingCell("head");
    head->AddFrame(new LoggingFrame(&pane, "hf"));
    column.SetHeaderVCell(head);
    column.DoDispose(AnyView(), 3);
    const std::vector<std::string> expected = {"detach c2 3,2",     "dispose c2 3,2",    "delete c2",
                                               "detach foot 3,-2",  "dispose foot 3,-2", "detach head 3,-1",
                                               "dispose head 3,-1", "frame hf",          "delete foot",
                                               "delete head"};
    EXPECT_EQ(gLog, expected);
    EXPECT_TRUE(column.CanBeDeleted());

    gLog.clear();
    VCellRow row(-1);
    row.SetHeaderVCell(new LoggingCell("rh"));
    row.DoDispose(AnyView(), 9);
    const std::vector<std::string> rowExpected = {"detach rh -1,9", "dispose rh -1,9", "delete rh"};
    EXPECT_EQ(gLog, rowExpected);
}

}  // namespace
