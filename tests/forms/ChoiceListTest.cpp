// Choice lists in 'List' resources: the stored bytes item by item, round
// trips of nested lists in documents of both byte orders, and damaged resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemDrawing.h"
#include "forms/lists/ItemList.h"
#include "kernel/buffer/BufferQz.h"
#include "tests/forms/DrawnPage.h"
#include "tests/resources/StoreTestSupport.h"
#include "tools/docbuilder/LittleEndianTwin.h"
#include "tools/docbuilder/Records.h"

using storetest::Bytes;
using storetest::Contents;
using storetest::MakeHandle;

namespace {

const uint32_t kList = platform::FourCC("List");

struct Item {
    std::string text;
    int16_t number = 0;
    uint8_t face = 0;
    int32_t icon = 0;
    std::vector<Item> children;
    bool operator==(const Item&) const = default;
};

std::basic_string<unsigned char> P(const std::string& s)
{
    std::basic_string<unsigned char> p(1, uint8_t(s.size()));
    p.append(s.begin(), s.end());
    return p;
}

ItemHandle Build(itemlistrec* list, const std::vector<Item>& items)
{
    ItemHandle first = nullptr, last = nullptr;
    for (const Item& it : items) {
        ItemHandle h = addqlist(list, P(it.text).c_str(), it.number, 0, nullptr, nullptr, 0, 0, it.face, &first, &last);
        (*h)->icon = it.icon;
        (*h)->firstChild = Build(list, it.children);
    }
    return first;
}

std::vector<Item> Read(ItemHandle first)
{
    std::vector<Item> out;
    for (ItemHandle h = first; h; h = (*h)->next) {
        const unsigned char* t = ItemText(h);
        out.push_back({std::string(reinterpret_cast<const char*>(t + 1), t[0]), (*h)->number, (*h)->face,
                       (*h)->icon, Read((*h)->firstChild)});
    }
    return out;
}

size_t CountItems(ItemHandle first)
{
    size_t n = 0;
    for (ItemHandle h = first; h; h = (*h)->next) n += 1 + CountItems((*h)->firstChild);
    return n;
}

// Draws a loaded list as a list with every branch a row, then as a pop-up;
// the rows shown (sanitizers watch that nothing is read past the items).
int32_t DrawAll(itemlistrec* list)
{
    drawntest::Page page(200, 200);
    list->mode = 0;
    list->needsLayout = 1;
    list->area = platform::Rect{0, 0, 200, 200};
    list->rowHeight = 12;
    list->rowsShown = 16;
    list->baselineOffsets[0] = 10;
    dessliste(list);
    list->mode = 2;
    DrawxPopup(list);
    return list->visibleCount;
}

docbuilder::ListItemOut Out(const Item& it)
{
    docbuilder::ListItemOut o{it.text, it.number, it.face, it.icon, {}};
    for (const Item& c : it.children) o.children.push_back(Out(c));
    return o;
}

// Three levels, a 31- and a 32-character text, icons of each kind.
std::vector<Item> Sample()
{
    return {
        {"Red", 1, 0, 0, {}},
        {std::string(31, 'x'), 2, 1, 0x00020007,
         {{"Dark", 3, 2, 0, {{std::string(32, 'y'), 4, 0, 0x00010080, {}}, {"Deep", 5, 4, 0, {}}}},
          {"Light", 6, 0, 0x0000008A, {}}}},
        {"", 7, 0, 0, {}},
    };
}

class ChoiceLists : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ref_ = CreateFile("lists.qzb");
        ASSERT_NE(ref_, 0);
        initqlist(&list_, 0, 255);
    }
    void TearDown() override
    {
        deinitqlist(&list_);
        StoreTest::TearDown();
    }

    void Save(int16_t id, const std::vector<Item>& items)
    {
        itemlistrec out;
        initqlist(&out, 0, 255);
        out.first = Build(&out, items);
        out.settings[0] = 0;
        out.settings[1] = 0;
        out.settings[2] = 0;
        ASSERT_EQ(SaveList(id, &out), 0);
        deinitqlist(&out);
    }

    int16_t ref_ = 0;
    itemlistrec list_;
};

}  // namespace

TEST_F(ChoiceLists, StoredAsTheDocumentBuilderWritesThem)
{
    Save(3, Sample());
    std::vector<docbuilder::ListItemOut> expected;
    for (const Item& it : Sample()) expected.push_back(Out(it));
    const Bytes stored = Contents(xget1res(kList, 3));
    EXPECT_EQ(stored, docbuilder::ChoiceList(expected));
    // The 31-character text sits in its record; the 32-character one
    // follows its record with an empty text in it.
    const size_t second = kListHeaderSize + 2 + kListItemRecordSize + 2;
    EXPECT_EQ(stored[second + 10], 31);
    EXPECT_EQ(stored[second + 47], 0);
    EXPECT_EQ(stored[second + 46], 1);
    const std::string longText(32, 'y');
    const auto at = std::search(stored.begin(), stored.end(), longText.begin(), longText.end());
    ASSERT_NE(at, stored.end());
    const size_t record = size_t(at - stored.begin()) - 1 - kListItemRecordSize;
    EXPECT_EQ(stored[record + 10], 0);
    EXPECT_EQ(stored[record + 47], 1);
    EXPECT_EQ(stored[record + 50], 32);
}

TEST_F(ChoiceLists, ThreeLevelsRoundTripWithSettingsAndSelection)
{
    itemlistrec out;
    initqlist(&out, 0, 255);
    out.first = Build(&out, Sample());
    out.settings[0] = 7;
    out.settings[1] = -2;
    out.settings[2] = 9;
    ASSERT_EQ(SaveList(12, &out), 0);
    deinitqlist(&out);
    ASSERT_TRUE(updateres(ref_));

    ASSERT_EQ(LoadList(12, &list_, false), 0);
    EXPECT_EQ(Read(list_.first), Sample());
    EXPECT_EQ(list_.settings[0], 7);
    EXPECT_EQ(list_.settings[1], -2);
    EXPECT_EQ(list_.settings[2], 2);  // the third setting only when asked
    EXPECT_EQ(list_.selected, 1);
    EXPECT_EQ(list_.visibleCount, 3);  // closed branches are not rows

    ASSERT_EQ(LoadList(12, &list_, true), 0);
    EXPECT_EQ(list_.settings[2], 9);
    EXPECT_EQ(Read(list_.first), Sample());

    // Saved again, the same bytes.
    const Bytes first = Contents(xget1res(kList, 12));
    ASSERT_EQ(SaveList(12, &list_), 0);
    EXPECT_EQ(Contents(xget1res(kList, 12)), first);
}

TEST_F(ChoiceLists, EmptyAndMissingLists)
{
    Save(4, {});
    ASSERT_EQ(LoadList(4, &list_, true), 0);
    EXPECT_EQ(list_.first, nullptr);
    EXPECT_EQ(list_.selected, 0);
    EXPECT_EQ(Contents(xget1res(kList, 4)).size(), size_t(kListHeaderSize + 2));

    Save(5, Sample());
    ASSERT_EQ(LoadList(5, &list_, true), 0);
    EXPECT_EQ(LoadList(6, &list_, true), kResNotFound);
    EXPECT_EQ(list_.first, nullptr);
    EXPECT_EQ(list_.selected, 0);
    EXPECT_EQ(list_.visibleCount, 0);
}

TEST_F(ChoiceLists, ListsStayBigEndianInALittleEndianDocument)
{
    Save(8, Sample());
    const Bytes big = Contents(xget1res(kList, 8));
    ASSERT_TRUE(closeres(ref_, true));
    storetest::WriteWholeFile(Path("le.qzb"),
                              docbuilder::LittleEndianTwin(storetest::ReadWholeFile(Path("lists.qzb"))));
    ref_ = openres(Spec("le.qzb"), false);
    ASSERT_NE(ref_, 0);
    ASSERT_FALSE(IsNatif(ref_));
    // The twin's list reads as it was written, and a save writes the same bytes.
    ASSERT_EQ(LoadList(8, &list_, true), 0);
    EXPECT_EQ(Read(list_.first), Sample());
    Save(9, Sample());
    EXPECT_EQ(Contents(xget1res(kList, 9)), big);
    ASSERT_TRUE(closeres(ref_, true));
    ref_ = openres(Spec("le.qzb"), false);
    ASSERT_NE(ref_, 0);
    ASSERT_EQ(LoadList(9, &list_, true), 0);
    EXPECT_EQ(Read(list_.first), Sample());
}

TEST_F(ChoiceLists, DamagedListsStopWithAnErrorAndKeepWhatWasRead)
{
    Save(9, Sample());
    const Bytes whole = Contents(xget1res(kList, 9));
    // Cut at every length: never a read past the end, an error for every
    // cut but the whole resource, and what was read drawn whole.
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        ASSERT_TRUE(xaddres(MakeHandle(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut))), kList, 10));
        EXPECT_NE(LoadList(10, &list_, true), 0) << cut;
        EXPECT_EQ(size_t(DrawAll(&list_)), CountItems(list_.first)) << cut;
    }
    // Cut after the first top-level item: that item stays.
    const size_t afterFirst = kListHeaderSize + 2 + kListItemRecordSize;
    ASSERT_TRUE(xaddres(MakeHandle(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(afterFirst))), kList, 10));
    EXPECT_EQ(LoadList(10, &list_, true), kBufferOverrunErr);
    ASSERT_NE(list_.first, nullptr);
    EXPECT_EQ((*list_.first)->number, 1);
    EXPECT_EQ(list_.selected, 1);

    // A record whose text length byte claims more than its 35 characters.
    Bytes lying = whole;
    lying[kListHeaderSize + 2 + 10] = 200;
    ASSERT_TRUE(xaddres(MakeHandle(lying), kList, 11));
    ASSERT_EQ(LoadList(11, &list_, true), 0);
    EXPECT_EQ(ItemText(list_.first)[0], 35);
    EXPECT_EQ(DrawAll(&list_), 7);

    // Branches nested past any real list are refused, not followed down,
    // even when every level is well formed.
    Bytes deep(kListHeaderSize, 0);
    const int levels = 150;
    for (int level = 0; level < levels; ++level) {
        deep.push_back(0), deep.push_back(1);
        Bytes rec(kListItemRecordSize, 0);
        rec[46] = level + 1 < levels;
        deep.insert(deep.end(), rec.begin(), rec.end());
    }
    deep.insert(deep.end(), size_t(2 * levels), 0);
    ASSERT_TRUE(xaddres(MakeHandle(deep), kList, 12));
    EXPECT_EQ(LoadList(12, &list_, true), kBufferOverrunErr);
    deep.resize(kListHeaderSize + 100 * (2 + kListItemRecordSize));
    deep[deep.size() - 4] = 0;  // the hundredth level has no branch
    deep.insert(deep.end(), size_t(2 * 100), 0);
    ASSERT_TRUE(xaddres(MakeHandle(deep), kList, 12));
    EXPECT_EQ(LoadList(12, &list_, true), 0);
}

TEST_F(ChoiceLists, AFailedSaveLeavesTheOldList)
{
    Save(13, Sample());
    const Bytes before = Contents(xget1res(kList, 13));
    itemlistrec other;
    initqlist(&other, 0, 255);
    other.first = Build(&other, {{"Only", 1, 0, 0, {}}});
    for (int32_t after = 0;; ++after) {
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        const int16_t err = SaveList(13, &other);
        if (err == 0) break;
        EXPECT_EQ(Contents(xget1res(kList, 13)), before) << after;
    }
    deinitqlist(&other);
    ASSERT_EQ(LoadList(13, &list_, true), 0);
    EXPECT_EQ(Read(list_.first), (std::vector<Item>{{"Only", 1, 0, 0, {}}}));
}

TEST_F(ChoiceLists, IconReferencesByTheirHighWord)
{
    ASSERT_TRUE(xaddres(MakeHandle({0, 10, 0, 0, 0, 0, 0, 8, 0, 8}), platform::FourCC("PICT"), 7));
    int16_t icon = -1;
    Handle picture = nullptr;
    ListGetIcon(0x0002'0007, &icon, &picture);
    EXPECT_EQ(picture, xget1res(platform::FourCC("PICT"), 7));
    EXPECT_EQ(icon, 0);
    ListGetIcon(0x0000'008A, &icon, &picture);
    EXPECT_EQ(icon, 138);
    EXPECT_EQ(picture, nullptr);
    ListGetIcon(0x0001'0007, &icon, &picture);  // the program has no such picture
    EXPECT_EQ(picture, nullptr);
    ListGetIcon(0x0003'0007, &icon, &picture);
    EXPECT_EQ(icon, 0);
    EXPECT_EQ(picture, nullptr);
}

