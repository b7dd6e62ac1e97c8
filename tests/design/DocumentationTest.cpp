// An object's documentation read into a text-edit record: the older stream
// form with its style scrap, byte by byte at its boundaries, and the
// stored record of a group, read without a record to fill.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/Documentation.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TMainWindow.h"

#include "design/documentation/GetTe.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"
#include "tests/app/DocFakes.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using Bytes = std::vector<uint8_t>;
using platform::TEHandle;

constexpr int16_t kDamaged = 1003;

// 'HECO', 128, the scrap's length and the scrap, the text's length and the
// text; the four numbers (selection point and range) when asked.
Bytes Stream(const std::string& text, const Bytes& scrap, bool numbers = true)
{
    Bytes b;
    auto u32 = [&](uint32_t v) {
        b.resize(b.size() + 4);
        platform::WriteBE32(b.data() + b.size() - 4, v);
    };
    u32(platform::FourCC("HECO"));
    u32(128);
    u32(uint32_t(scrap.size()));
    b.insert(b.end(), scrap.begin(), scrap.end());
    u32(uint32_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    if (numbers)
        for (uint32_t v : {7u, 9u, 1u, 3u}) u32(v);
    return b;
}

// Two elements in size 10: plain from 0, then from `at` the face in byte
// 10, or 0 there and the face in byte 11.
Bytes Scrap(uint32_t at, uint8_t face10, uint8_t face11)
{
    Bytes b(2 + 40, 0);
    platform::WriteBE16(b.data(), 2);
    for (int i = 0; i < 2; ++i) {
        uint8_t* e = b.data() + 2 + 20 * i;
        platform::WriteBE32(e, i == 0 ? 0 : at);
        platform::WriteBE16(e + 8, 3);
        platform::WriteBE16(e + 12, 10);
    }
    b[2 + 20 + 10] = face10;
    b[2 + 20 + 11] = face11;
    return b;
}

class Documentation : public DesignFixture {
protected:
    void SetUp() override
    {
        DesignFixture::SetUp();
        const platform::Rect r{0, 0, 200, 300};
        te_ = platform::TEStyleNew(&r, &r);
    }
    void TearDown() override
    {
        platform::TEDispose(te_);
        DesignFixture::TearDown();
    }
    std::string Text() const { return std::string(*(**te_).hText, size_t((**te_).teLength)); }
    platform::Style FaceAt(int32_t at) const
    {
        platform::TETextStyle s{};
        platform::TEGetStyle(at, &s, nullptr, nullptr, te_);
        return s.tsFace;
    }
    static Bytes Stored(uint32_t type, int16_t id)
    {
        platform::Handle h = xget1res(type, id);
        return h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }

    TEHandle te_ = nullptr;
};

TEST_F(Documentation, StreamsAreReadUpToTheirLastByte)
{
    using platform::bold;
    using platform::italic;
    using platform::normal;
    struct Case {
        const char* what;
        Bytes bytes;
        int16_t result;
        std::string text;
        platform::Style faceAt6;
    } cases[] = {
        {"bold run", Stream("plainBOLD", Scrap(5, bold, 0)), 0, "plainBOLD", bold},
        {"face 0 takes the next byte", Stream("plainITAL", Scrap(5, 0, italic)), 0, "plainITAL", italic},
        {"tag and mark alone", Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128}, kDamaged, "", normal},
        {"no scrap length", Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128, 0, 0, 0}, kDamaged, "", normal},
        {"no text length", Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128, 0, 0, 0, 0, 0, 0, 0}, kDamaged, "", normal},
        // The text's length ends the stream: an empty text.
        {"empty text at the end", Stream("", {}, false), 0, "", normal},
        {"text past the end", Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128, 0, 0, 0, 0, 0, 0, 0, 2, 'a'}, kDamaged, "",
         normal},
        {"other tag", Bytes{'H', 'E', 'C', 'P', 0, 0, 0, 128, 0, 0, 0, 0, 0, 0, 0, 0}, 0, "", normal},
    };
    for (const Case& c : cases) {
        platform::TESetText("", 0, te_);
        EXPECT_EQ(ReadDocStream(c.bytes.data(), c.bytes.size(), te_), c.result) << c.what;
        EXPECT_EQ(Text(), c.text) << c.what;
        if (c.text.size() > 6) {
            EXPECT_EQ(FaceAt(6), c.faceAt6) << c.what;
            EXPECT_EQ(FaceAt(1), normal) << c.what;
        }
    }
}

// A group's record: version 1 with no body is a record without text; a
// record asked for without a text-edit record to fill is neither read nor
// made.
TEST_F(Documentation, AGroupsRecordIsReadOnlyIntoARecord)
{
    EXPECT_EQ(GetTe(nullptr, 0, platform::FourCC("GRHE"), 5), platform::paramErr);
    OpenStore();
    TObjQz* group = Make(23, "Sales", 5);
    ASSERT_NE(group, nullptr);
    AddStored(platform::FourCC("GRHE"), 6, {0, 1, 0, 1});
    platform::TESetText("as it was", 9, te_);
    EXPECT_EQ(GetTe(te_, 0, platform::FourCC("GRHE"), 6), 0);
    EXPECT_EQ(Text(), "as it was");
    EXPECT_EQ(FaceAt(2), platform::bold);

    int32_t state = -1;
    bool added = true;
    EXPECT_EQ(group->ReadDoc(nullptr, &state, &added), 0);
    EXPECT_EQ(state, 2);
    EXPECT_FALSE(added);
    EXPECT_EQ(Stored(platform::FourCC("GRHE"), 5), Bytes{});
    EXPECT_EQ(group->ReadDoc(te_, &state, &added), 0);
    EXPECT_TRUE(added);
    EXPECT_EQ(Stored(platform::FourCC("GRHE"), 5), (Bytes{0, 1, 0, 2}));
}

// The editor opens with its pane at the standard place, and once: asked
// again, it is the one brought to the front.
TEST_F(Documentation, TheEditorOpensOnceWithItsPane)
{
    TObjQz* group = Make(23, "Sales", 5);
    const AppPaneHooks saved = PaneHooks();
    PaneHooks().makeDocPlane = [](TWindow*, TWindow*, TPlan** pane) -> int16_t {
        return *pane = new apptest::FakePane(9), 0;
    };
    group->EditDoc(&doc_);
    TWindow* w = doc_.fFirstWindow;
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsMember(5));
    EXPECT_NE(w->FindPlane(9), nullptr);
    platform::Rect r{};
    platform::GetWindowBounds(w->fWindow, platform::kWindowContentRgn, &r);
    EXPECT_EQ(std::tuple(r.top, r.left, r.bottom - r.top, r.right - r.left), std::tuple(75, 35, 150, 400));
    group->EditDoc(&doc_);
    EXPECT_EQ(doc_.fFirstWindow, w);
    EXPECT_EQ(w->fNextWindow, nullptr);
    doc_.RemoveWindow(w);
    w->Dispose();
    PaneHooks() = saved;
}

// Printed, the text takes as many lines as a record laid out from 60
// pixels past the page's left to 30 before its right, whatever the page's
// width: what follows is the closing empty line alone, all that an empty
// documentation prints.
TEST_F(Documentation, PrintingWrapsTheTextInsideThePageMargins)
{
    OpenStore();
    TObjQz* group = Make(23, "Sales", 5);
    const std::string text =
        "Every sale of the day is kept here until the books close at night, then moved to the archive by the "
        "clerk on duty with a note of who checked it.";
    platform::TESetText(text.data(), int32_t(text.size()), te_);
    ASSERT_EQ(group->WriteDoc(te_, 0), 0);
    const platform::Rect world{0, 0, 2000, 500};
    platform::GWorldPtr port = nullptr;
    ASSERT_EQ(platform::NewGWorld(&port, 32, &world, nullptr, nullptr, 0), platform::noErr);
    platform::CGrafPtr saved = nullptr;
    platform::GDHandle device = nullptr;
    platform::GetGWorld(&saved, &device);
    platform::SetGWorld(port, nullptr);
    std::set<int32_t> after;
    int32_t layouts = 0, lastLines = -1;
    for (int16_t right = 200; right < 300; ++right) {
        P_PageRect = platform::Rect{0, 0, 2000, right};
        P_CrtHeight = 100;
        EXPECT_EQ(group->PrintDoc(), 0);
        const platform::Rect frame{0, 60, 32767, int16_t(right - 30)};
        TEHandle laid = G_MachineType >= 4 ? platform::TEStyleNew(&frame, &frame) : platform::TENew(&frame, &frame);
        ASSERT_NE(laid, nullptr);
        ASSERT_EQ(group->ReadDoc(laid, nullptr, nullptr), 0);
        platform::TECalText(laid);
        const int32_t lines = (**laid).nLines;
        after.insert(P_CrtHeight - 100 - platform::TEGetHeight(lines, 1, laid));
        layouts += lines != lastLines ? 1 : 0;
        lastLines = lines;
        platform::TEDispose(laid);
    }
    // An empty documentation prints nothing before that closing line.
    platform::TESetText("", 0, te_);
    ASSERT_EQ(group->WriteDoc(te_, 0), 0);
    P_CrtHeight = 100;
    EXPECT_EQ(group->PrintDoc(), 0);
    const int32_t emptyAfter = P_CrtHeight - 100;
    platform::SetGWorld(saved, device);
    platform::DisposeGWorld(port);
    EXPECT_GT(layouts, 1) << "the widths give the text different line counts";
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(emptyAfter, *after.begin());
}

}  // namespace
}  // namespace designtest
