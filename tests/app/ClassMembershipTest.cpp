// Class membership: every document, window and pane class answers its own
// number and its bases' numbers, and nothing else.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/documents/TClipBoard.h"
#include "app/windows/TClipWindow.h"
#include "app/windows/TMainWindow.h"

namespace {

struct Row {
    std::string name;
    std::unique_ptr<TObject> object;
    std::set<int16_t> members;
};

// Every number a family uses, one past each end, and far-off values.
std::vector<int16_t> Probes()
{
    std::vector<int16_t> probes{-32768, -1, 100, 32767};
    for (int16_t n = 0; n <= 10; ++n) probes.push_back(n);
    return probes;
}

void ExpectRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        for (int16_t n : Probes())
            EXPECT_EQ(row.object->IsMember(n), row.members.count(n) == 1) << row.name << " asked " << n;
}

TEST(ClassMembership, DocumentsAnswerTheirOwnNumberAndTheirBases)
{
    std::vector<Row> rows;
    rows.push_back({"TDocument", std::make_unique<TDocument>(), {0}});
    rows.push_back({"TClipBoard", std::make_unique<TClipBoard>(), {1, 0}});
    rows.push_back({"TMainDoc", std::make_unique<TMainDoc>(), {2, 0}});
    rows.push_back({"TLibDoc", std::make_unique<TLibDoc>(), {3, 2, 0}});
    ExpectRows(rows);
}

TEST(ClassMembership, WindowsAnswerTheirOwnNumberAndTheirBases)
{
    std::vector<Row> rows;
    rows.push_back({"TWindow", std::make_unique<TWindow>(), {0}});
    rows.push_back({"TClipWindow", std::make_unique<TClipWindow>(), {1, 0}});
    rows.push_back({"TMainWindow", std::make_unique<TMainWindow>(), {2, 0}});
    rows.push_back({"TRefWindow", std::make_unique<TRefWindow>(), {3, 2, 0}});
    // The editors share an unnumbered base that answers as the browser's base.
    rows.push_back({"TEditStrWindow", std::make_unique<TEditStrWindow>(), {4, 2, 0}});
    rows.push_back({"TEditDocWindow", std::make_unique<TEditDocWindow>(), {5, 2, 0}});
    ExpectRows(rows);
}

TEST(ClassMembership, ThePaneBaseAndTheRootAnswerZeroOnly)
{
    std::vector<Row> rows;
    rows.push_back({"TPlan", std::make_unique<TPlan>(), {0}});
    rows.push_back({"TObject", std::make_unique<TObject>(), {0}});
    ExpectRows(rows);
}

}  // namespace
