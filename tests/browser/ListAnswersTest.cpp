// What the main list keeps beside its rows answers as walking the rows
// would: the row of an object, the row a typed name lands on, and whether
// a form or menu of the rows uses a string list.
#include <functional>
#include <random>

#include "browser/ListAnswers.h"
#include "design/links/XRef.h"
#include "tests/browser/BrowserFixture.h"

using browser::TLstPlane;

namespace browsertest {
namespace {

using ListAnswers = BrowserFixture;

int32_t WalkRows(const TObjQz* obj, LongListHandle l)
{
    for (int32_t r = 0; r < l->rowCount; ++r)
        if (LongLRowObject(r, l) == obj) return r;
    return -1;
}

// Type-ahead as a walk from `from`: the typed text against the start of
// each name, folded.
int32_t WalkTyped(const std::string& typed, int32_t from, LongListHandle l)
{
    for (int32_t r = std::max(from, 0); r < l->rowCount; ++r) {
        unsigned char n[256];
        static_cast<TObjQz*>(LongLRowObject(r, l))->GetName(n);
        if (n[0] < typed.size()) continue;
        bool same = true;
        for (size_t i = 0; i < typed.size() && same; ++i)
            same = browser::FoldForTyping(uint8_t(typed[i])) == browser::FoldForTyping(n[1 + i]);
        if (same) return r;
    }
    return -1;
}

TEST_F(ListAnswers, RowsAndTypedNamesFollowGroupsOpeningAndClosing)
{
    // Names of mixed case and accents in several kinds, some in groups.
    static const std::string alphabet = "aAbB\x87\xE7zZ";
    std::mt19937 random(11);
    auto name = [&] {
        std::string n(1 + random() % 4, ' ');
        for (auto& c : n) c = alphabet[random() % alphabet.size()];
        return n;
    };
    std::vector<TObjQz*> objects;
    for (int i = 0; i < 300; ++i) objects.push_back(Make(int16_t(i % 3 == 0 ? 4 : 2), name(), int16_t(i + 1)));
    std::vector<TGroupObjQz*> groups;
    for (int g = 0; g < 10; ++g) {
        std::vector<TObjQz*> members;
        for (int m = 0; m < 5; ++m) members.push_back(objects[size_t(g * 5 + m)]);
        groups.push_back(Group("G" + name(), members));
    }
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    LongListHandle l = pane->fList;
    for (int step = 0; step < 200; ++step) {
        TGroupObjQz* g = groups[random() % groups.size()];
        const int32_t row = browser::GetCellData(g, l);
        ASSERT_EQ(row, WalkRows(g, l));
        pane->SwitchCellState(row);
        for (TObjQz* o : objects) ASSERT_EQ(browser::GetCellData(o, l), WalkRows(o, l)) << "step " << step;
        const std::string typed = name().substr(0, 1 + random() % 2);
        const int32_t from = int32_t(random() % l->rowCount);
        ASSERT_EQ(browser::FindTypedRow(reinterpret_cast<const uint8_t*>(typed.data()), int32_t(typed.size()), from, l),
                  WalkTyped(typed, from, l))
            << testing::PrintToString(typed) << " from " << from;
    }
    // A list whose companion belongs to another owner is walked instead,
    // with the same answers.
    void* own = l->companion;
    void (*ownDispose)(void*) = l->disposeCompanion;
    int foreign = 0;
    l->companion = &foreign;
    l->disposeCompanion = [](void*) {};
    int found = 0;
    for (int step = 0; step < 40; ++step) {
        const std::string typed = name().substr(0, 1 + random() % 2);
        const int32_t from = int32_t(random() % l->rowCount);
        const int32_t row = WalkTyped(typed, from, l);
        found += row >= 0;
        ASSERT_EQ(browser::FindTypedRow(reinterpret_cast<const uint8_t*>(typed.data()), int32_t(typed.size()), from, l),
                  row);
    }
    EXPECT_GT(found, 10);
    l->companion = own;
    l->disposeCompanion = ownDispose;
    // Out of range and empty questions find nothing.
    EXPECT_EQ(browser::FindTypedRow(reinterpret_cast<const uint8_t*>("a"), 1, l->rowCount, l), -1);
    EXPECT_EQ(browser::FindTypedRow(reinterpret_cast<const uint8_t*>("a"), 1, -1, l), -1);
    EXPECT_EQ(browser::FindTypedRow(reinterpret_cast<const uint8_t*>("a"), 0, 0, l), -1);
}

TEST_F(ListAnswers, StringListAnswerFollowsUsesAndRows)
{
    TObjQz* menu = Make(6, "Menu");
    TObjQz* strings = Make(11, "Strings");
    TObjQz* other = Make(18, "Picture");
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    struct Step {
        const char* what;
        std::function<void()> change;
        bool answer;
    };
    const std::vector<Step> steps = {
        {"nothing uses a string list", [] {}, false},
        {"the menu uses a picture", [&] { XRef(menu, other); }, false},
        {"the menu uses the string list", [&] { XRef(menu, strings); }, true},
        {"asked again, the same", [] {}, true},
        {"the link is taken away", [&] { XDelRef(menu, strings); }, false},
        {"it comes back", [&] { XRef(menu, strings); }, true},
        {"the menu's row goes", [&] { LongLDelRow(1, browser::GetCellData(menu, pane->fList), pane->fList); }, false},
        {"the rows are made again", [&] { pane->SetDfltFilter(128); }, true},
    };
    for (const Step& s : steps) {
        s.change();
        EXPECT_EQ(browser::Selection_StrList(pane->fList), s.answer) << s.what;
    }
    EXPECT_FALSE(browser::Selection_StrList(nullptr));
}

}  // namespace
}  // namespace browsertest
