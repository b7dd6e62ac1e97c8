// Browser windows of a document: layouts, panes, filters and links,
// numbered titles, linked windows and windows that cannot be built.
#include <gtest/gtest.h>

#include "app/appl/CommandStacks.h"
#include "app/windows/RefWindows.h"
#include "platform/core/Endian.h"
#include "tests/app/MainDocFixture.h"

using namespace apptest;
using namespace platform;

namespace {

// A browser pane that records what its window tells it.
class RecordingPane : public TPlan {
public:
    explicit RecordingPane(int16_t kind) : kind_(kind) {}
    bool IsMember(int16_t n) const override
    {
        const int16_t cls = kind_ == 0 ? 2 : kind_ == 1 ? 5 : kind_ == 2 ? 4 : 6;
        return n == 0 || n == cls || (n == 1 && kind_ <= 2) || (n == 3 && (cls == 4 || cls == 5));
    }
    int16_t ITPlane(const Rect& r, TWindow*, TypeListRec* list, const uint8_t*, int32_t length) override
    {
        rect = r;
        typeList = list;
        recordLength = length;
        return failWith;
    }
    void SetFilter(int16_t id) override { filter = id; }
    int16_t GetFilter() const override { return filter; }
    void SetDfltFilter(int16_t id) override { shown.push_back(id); }
    void AddMenuFilter(int16_t id) override { offered.push_back(id); }
    void SetLinks(int16_t k1, TPlan* p1, int16_t k2, TPlan* p2, int16_t k3, TPlan* p3) override
    {
        links = {k1, k2, k3};
        linked = {p1, p2, p3};
    }
    void ShowObject(TObjQz* obj) override { showing = obj; }

    int16_t kind_;
    int16_t failWith = 0;
    Rect rect{};
    TypeListRec* typeList = nullptr;
    int32_t recordLength = 0;
    int16_t filter = 0;
    std::vector<int16_t> shown, offered, links;
    std::vector<TPlan*> linked;
    TObjQz* showing = nullptr;
};

std::vector<RecordingPane*> gMade;
int16_t gFailKind = -1;

TPlan* MakePane(int16_t kind)
{
    auto* p = new RecordingPane(kind);
    if (kind == gFailKind) p->failWith = -192;
    gMade.push_back(p);
    return p;
}

class RefWindowsTest : public MainDocFixture {
protected:
    void SetUp() override
    {
        gMade.clear();
        gFailKind = -1;
        MainDocFixture::SetUp();
        PaneHooks().makeRefPlane = MakePane;
        ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Base.QzB"), 0), 0);
        doc_ = FrontDoc();
        path_ = P(doc_->fPathName);
    }
    RecordingPane* Made(size_t i) { return gMade.at(i); }
    TRefWindow* NewWindow(int16_t kind, int16_t filter = -1, int16_t posted = 0)
    {
        Rect r{60, 40, 0, 0};
        if (doc_->NewRefWindow(&r, 1, kind, filter, posted) != 0) return nullptr;
        return doc_->GetRefWindow();
    }
    TMainDoc* doc_ = nullptr;
    std::string path_;
};

TEST_F(RefWindowsTest, LayoutsAreReadRecordByRecordAndNeverPastTheirEnd)
{
    // Two records, the first with three extra words: the second begins
    // 20 + 6 bytes after it.
    const std::vector<uint8_t> two = {0, 0, 0, 0, 0, 0, 0, 0, 0, 2,
                                      0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 3, 0, 7, 0, 8, 0, 9,
                                      0, 3, 0, 5, 0, 6, 0, 7, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0x81, 0, 0};
    std::vector<WnddPane> panes;
    ASSERT_EQ(ParseWndd(two.data(), two.size(), &panes), WnddResult::Ok);
    ASSERT_EQ(panes.size(), 2u);
    EXPECT_EQ(panes[0].length, 24);
    EXPECT_EQ(panes[0].record, two.data() + 12);
    EXPECT_EQ(panes[1].kind, 3);
    EXPECT_EQ(panes[1].rect.top, 5);
    EXPECT_EQ(panes[1].rect.right, 8);
    EXPECT_EQ(panes[1].filter, 0x81);
    // A count or an extra-word count past the bytes, or a kind outside 0-3.
    std::vector<uint8_t> more = two;
    more[9] = 3;
    EXPECT_EQ(ParseWndd(more.data(), more.size(), &panes), WnddResult::RecordPastEnd);
    std::vector<uint8_t> extra = two;
    extra[29] = 200;
    EXPECT_EQ(ParseWndd(extra.data(), extra.size(), &panes), WnddResult::RecordPastEnd);
    std::vector<uint8_t> kind = two;
    kind[11] = 4;
    EXPECT_EQ(ParseWndd(kind.data(), kind.size(), &panes), WnddResult::BadKind);
    EXPECT_EQ(ParseWndd(two.data(), 9, &panes), WnddResult::TooShort);
    EXPECT_TRUE(panes.empty());
}

TEST_F(RefWindowsTest, TheFirstWindowHasItsPanesFiltersAndLinks)
{
    // The document's own first window, layout 128 from 'PREF'.
    ASSERT_EQ(gMade.size(), 4u);
    TRefWindow* w = doc_->GetRefWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Title(w), path_ + "Base.QzB");
    EXPECT_EQ(w->fKind, 128);
    RecordingPane *list = Made(0), *uses = Made(1), *usedBy = Made(2), *preview = Made(3);
    EXPECT_EQ(list->rect.bottom, 100);
    EXPECT_EQ(list->typeList, doc_->fTypeList);
    EXPECT_EQ(uses->typeList, nullptr);
    // Filter -1: each pane its record's default, shown at once.
    EXPECT_EQ(list->shown, std::vector<int16_t>{128});
    EXPECT_EQ(uses->shown, std::vector<int16_t>{129});
    EXPECT_EQ(usedBy->shown, std::vector<int16_t>{130});
    EXPECT_TRUE(preview->shown.empty());
    // 'FLT2' 128 is offered everywhere, 129 only in the list.
    EXPECT_EQ(list->offered, (std::vector<int16_t>{128, 129}));
    EXPECT_EQ(uses->offered, std::vector<int16_t>{128});
    EXPECT_EQ(usedBy->offered, std::vector<int16_t>{128});
    EXPECT_TRUE(preview->offered.empty());
    EXPECT_EQ(list->linked, (std::vector<TPlan*>{uses, usedBy, preview}));
    EXPECT_EQ(uses->linked, (std::vector<TPlan*>{list, nullptr, preview}));
    EXPECT_EQ(usedBy->linked, (std::vector<TPlan*>{list, nullptr, preview}));
    EXPECT_TRUE(preview->linked.empty());
    EXPECT_EQ(list->fKind, 128);
    EXPECT_EQ(preview->fKind, 128);
    EXPECT_EQ(uses->fKind, 0);

    // Another filter: all three list panes start with it, also when asked
    // for with posted arguments but none posted (a group browser window).
    for (int16_t posted : {0, 1}) {
        gMade.clear();
        ASSERT_NE(NewWindow(128, 131, posted), nullptr);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Made(i)->shown, std::vector<int16_t>{131}) << i << " " << posted;
    }
}

TEST_F(RefWindowsTest, ExtraWordsAndLinksToOtherWindowsFollowTheRecord)
{
    gMade.clear();
    TRefWindow* w = NewWindow(129);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(gMade.size(), 2u);
    EXPECT_EQ(Made(0)->recordLength, 24);
    EXPECT_EQ(Made(1)->kind_, 3);
    EXPECT_EQ(Made(1)->rect.left, 60);
    // Uses and used-by are shown by windows of layout 130.
    EXPECT_EQ(Made(0)->links, (std::vector<int16_t>{130, 130, 0}));
    EXPECT_EQ(Made(0)->linked, (std::vector<TPlan*>{nullptr, nullptr, Made(1)}));
}

TEST_F(RefWindowsTest, TitlesAreNumberedWhileThereAreSeveral)
{
    TRefWindow* first = doc_->GetRefWindow();
    TRefWindow* second = NewWindow(128);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Title(first), path_ + "Base.QzB / 1");
    EXPECT_EQ(Title(second), path_ + "Base.QzB / 2");
    TRefWindow* third = NewWindow(128);
    EXPECT_EQ(Title(third), path_ + "Base.QzB / 3");
    EXPECT_EQ(doc_->CountRefWindow(), 3);

    // Renumbering follows the window list, newest first.
    second->Close();
    EXPECT_EQ(Title(third), path_ + "Base.QzB / 1");
    EXPECT_EQ(Title(first), path_ + "Base.QzB / 2");
    third->Close();
    EXPECT_EQ(Title(first), path_ + "Base.QzB");
    EXPECT_EQ(DocCount(), 1);
}

TEST_F(RefWindowsTest, AWindowThatCannotBeBuiltLeavesNothing)
{
    const int16_t windows = doc_->CountWindow();
    TRefWindow* first = doc_->GetRefWindow();
    const std::string title = Title(first);
    gFailKind = 2;
    gMade.clear();
    Rect r{60, 40, 0, 0};
    EXPECT_EQ(doc_->NewRefWindow(&r, 1, 128, -1, 0), -192);
    EXPECT_EQ(doc_->CountWindow(), windows);
    EXPECT_EQ(Title(first), title);
    EXPECT_EQ(GetTWindow(FrontWindow()), first);
    // Missing layout: nothing made at all.
    gFailKind = -1;
    gMade.clear();
    EXPECT_EQ(doc_->NewRefWindow(&r, 1, 140, -1, 0), resNotFound);
    EXPECT_TRUE(gMade.empty());
    EXPECT_EQ(doc_->CountWindow(), windows);
}

TEST_F(RefWindowsTest, PostedArgumentsShowTheirObject)
{
    static TObjQz* const kObject = reinterpret_cast<TObjQz*>(0x1000);
    static std::string gAsked;
    DocHooks().searchObjName = [](TMainDoc*, int16_t kind, const unsigned char* name) -> TObjQz* {
        gAsked = std::to_string(kind) + " " + P(name);
        return kObject;
    };
    ASSERT_EQ(PushInteger(9), noErr);
    ASSERT_EQ(PushStr255(reinterpret_cast<const unsigned char*>("\x04" "Main")), noErr);
    gMade.clear();
    ASSERT_NE(NewWindow(128, -1, 1), nullptr);
    EXPECT_EQ(gAsked, "9 Main");
    EXPECT_EQ(Made(0)->showing, kObject);
    EXPECT_TRUE(Made(0)->shown.empty());  // the list shows the object instead
    EXPECT_EQ(Made(1)->shown, std::vector<int16_t>{129});
    EXPECT_EQ(ArgumentBytes(), 0u);
}

TEST_F(RefWindowsTest, LinkedWindowsOpenOnDemandAndANegativeKindLinksBoth)
{
    TRefWindow* first = doc_->GetRefWindow();
    TRefWindow* linked = nullptr;
    ASSERT_EQ(doc_->GetLinkWindow(first, &linked, -129), 0);
    ASSERT_NE(linked, nullptr);
    EXPECT_NE(linked, first);
    EXPECT_EQ(first->fLinked, linked);
    EXPECT_EQ(linked->fLinked, first);
    // Its place: the first window's content moved 20 right and 22 down,
    // kept as the place of the next window.
    Rect content{}, placed{};
    GetWindowBounds(first->fWindow, kWindowContentRgn, &content);
    GetWindowBounds(linked->fWindow, kWindowContentRgn, &placed);
    EXPECT_EQ(placed.left, content.left + 20);
    EXPECT_EQ(placed.top, content.top + 22);

    // Kind 0 with a linked window brings it to the front, nothing new.
    first->SelectTWindow();
    const int16_t count = doc_->CountRefWindow();
    doc_->DisplayObj(first, nullptr, 0);
    EXPECT_EQ(doc_->CountRefWindow(), count);
    EXPECT_EQ(GetTWindow(FrontWindow()), linked);
    // A positive kind opens another, linked one way only.
    TRefWindow* other = nullptr;
    ASSERT_EQ(doc_->GetLinkWindow(linked, &other, 128), 0);
    EXPECT_EQ(doc_->CountRefWindow(), count + 1);
    EXPECT_EQ(other->fLinked, nullptr);
    // While memory is low nothing is shown at all.
    G_LowMem = true;
    doc_->DisplayObj(other, nullptr, 128);
    EXPECT_EQ(doc_->CountRefWindow(), count + 1);
    G_LowMem = false;
    // A positive kind asks for a new window even when one is linked: here
    // one of a layout the application lacks.
    TRefWindow* kept = linked;
    EXPECT_NE(doc_->GetLinkWindow(first, &kept, 1), 0);
    EXPECT_EQ(kept, linked);
    EXPECT_EQ(doc_->CountRefWindow(), count + 1);
    EXPECT_NE(GetTWindow(FrontWindow()), linked);
    // Without a window to start from nothing opens.
    doc_->DisplayObj(nullptr, nullptr, 128);
    doc_->SelectObj(nullptr, nullptr, 128);
    doc_->SetCalledList(nullptr, nullptr, 128);
    doc_->SetCallingList(nullptr, nullptr, 128);
    EXPECT_EQ(doc_->CountRefWindow(), count + 1);
}

}  // namespace
