// A method previewed, clicked, printed and exported: the text record the
// preview pane scrolls, the pages the print emulation records.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/documents/Documentation.h"
#include "design/preview/PreviewFrame.h"
#include "design/objects/ObjText.h"
#include "design/text/TextBuffers.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/files/Forks.h"
#include "platform/fonts/Fonts.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/PictPixels.h"
#include "platform/text/Utf8.h"
#include "tests/design/MethodTextFixture.h"
#include "tests/design/PrintedPages.h"
#include "toolbox/drawing/PrintEmulation.h"

using namespace platform;

namespace readtest {
namespace {

int16_t gScrollH = -1, gScrollV = -1;

class MethodPreview : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        G_MachineType = 4;
        ASSERT_TRUE(ReadDemo());
        recalculate_ = Method("Recalculate");
        ASSERT_NE(recalculate_, nullptr);
        ASSERT_EQ(OpenPictPort(&port_, &saved_), 0);
    }
    void TearDown() override
    {
        if (display_) recalculate_->DisposeDisplay(&display_);
        ClosePictPort(saved_, port_);
        SetPreviewScrollHook(nullptr);
        MethodTextFixture::TearDown();
    }
    TEHandle Record() const { return reinterpret_cast<TEHandle>(display_); }

    TGnlProcObjQz* recalculate_ = nullptr;
    GWorldPtr port_ = nullptr;
    CGrafPtr saved_ = nullptr;
    Handle display_ = nullptr;
    const Rect area_{10, 10, 210, 410};
};

TEST_F(MethodPreview, AMethodPreviewsAsItsTextAndScrolls)
{
    int16_t width = 0, height = 0, low = 9, high = 9, page = 9;
    ASSERT_EQ(recalculate_->InitDisplay(&display_, area_, &width, &height, &low, &high, &page, false), 0);
    TEHandle te = Record();
    ASSERT_NE(TEGetStyleHandle(te), nullptr) << "styled from machine type 4";
    EXPECT_EQ(std::tuple(width, height, low + high + page), std::tuple(2047, TEGetHeight((**te).nLines, 1, te) + 20, 0));
    std::string expected;
    for (const std::string& line : Texts(recalculate_)) expected += line + "\r";
    EXPECT_EQ(std::string(*(**te).hText, size_t((**te).teLength)), expected);
    EXPECT_EQ(std::tuple((**te).destRect.left, (**te).destRect.top, (**te).destRect.right, (**te).viewRect.bottom),
              std::tuple(area_.left + 2, area_.top + 2, area_.left + 2049, area_.bottom));

    // Scrolled by (0, -24): what a fresh record draws 24 points higher.
    ClipRect(&area_);
    EraseRect(&area_);
    recalculate_->Display(display_, area_);
    const std::vector<uint32_t> shown = PortPixels(port_, area_);
    EXPECT_GT(std::count_if(shown.begin(), shown.end(), [](uint32_t p) { return p != 0xFFFFFF; }), 200);
    recalculate_->Scroll(display_, area_, 0, -24);
    const std::vector<uint32_t> scrolled = PortPixels(port_, area_);
    EXPECT_NE(scrolled, shown);
    Handle fresh = nullptr;
    ASSERT_EQ(recalculate_->InitDisplay(&fresh, area_, &width, &height, &low, &high, &page, false), 0);
    EraseRect(&area_);
    Rect moved = area_;
    OffsetRect(&moved, 0, -24);
    recalculate_->Display(fresh, moved);
    EXPECT_EQ(PortPixels(port_, area_), scrolled);
    recalculate_->DisposeDisplay(&fresh);
    EXPECT_EQ(fresh, nullptr);
}

TEST_F(MethodPreview, SelectingTextEnablesCopy)
{
    ASSERT_EQ(BuildMenus(), 0);
    SetPreviewScrollHook([](int16_t h, int16_t v) {
        gScrollH = h;
        gScrollV = v;
    });
    int16_t width = 0, height = 0, low = 0, high = 0, page = 0;
    ASSERT_EQ(recalculate_->InitDisplay(&display_, area_, &width, &height, &low, &high, &page, false), 0);
    recalculate_->Display(display_, area_);
    recalculate_->SelectObj();
    EXPECT_TRUE(IsFuncEnabled(26));
    struct Step {
        Point where;
        bool shift;
        bool selection;
    };
    const int16_t line = int16_t(TEGetHeight(1, 1, Record()));
    const Step steps[] = {
        {{int16_t(area_.top + 4), int16_t(area_.left + 5)}, false, false},
        {{int16_t(area_.top + 4 + line), int16_t(area_.left + 30)}, true, true},
        {{int16_t(area_.top + 4), int16_t(area_.left + 60)}, false, false},
    };
    for (const Step& s : steps) {
        EventRecord event{};
        event.what = mouseDown;
        event.where = s.where;
        event.modifiers = s.shift ? shiftKey : 0;
        EXPECT_EQ(recalculate_->Click(display_, event, 0), nullptr);
        EXPECT_EQ(std::tuple(recalculate_->IsSelection(display_), IsFuncEnabled(23), gScrollH, gScrollV),
                  std::tuple(s.selection, s.selection, 0, 0));
    }
    // Scrolled by 24: the bars are told where the text stands.
    recalculate_->Scroll(display_, area_, 0, -24);
    EventRecord event{};
    event.where = Point{int16_t(area_.top + 4), int16_t(area_.left + 5)};
    recalculate_->Click(display_, event, 0);
    EXPECT_EQ(gScrollV, 24);
    recalculate_->SelectAll(display_);
    EXPECT_TRUE(recalculate_->IsSelection(display_));
    EXPECT_EQ((**Record()).selEnd, (**Record()).teLength);
    recalculate_->DeSelectObj();
    EXPECT_FALSE(IsFuncEnabled(23) || IsFuncEnabled(26));
    DisposeMenus();
}

TEST_F(MethodPreview, PrintingSetsTheHeadingAndTheTextBesideItsRule)
{
    // Long enough for two pages.
    std::string d = "structure T\nmethod Long\n";
    for (int i = 0; i < 70; ++i) d += "  comment \"line " + std::to_string(i) + "\"\n";
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    ASSERT_TRUE(BuildAndRead(d));
    TGnlProcObjQz* m = Method("Long");
    OutPutParmRec options;
    options.contents = 1;
    int16_t printedTo = 0, pages = 0;
    unsigned char heading[256];
    PrintPages(folder_.path(), "method-", [&] {
        TextFont(platform::kFontIDCourier);  // the heading takes its style's font whatever the port had
        EXPECT_EQ(m->PrintObj(&options), 0);
        pages = P_NoPage;
        printedTo = P_CrtHeight;
    });
    unsigned char info[256];
    m->GetFullName(heading);
    m->GetMoreInfo(info, false);
    PAppend(heading, info);
    EXPECT_EQ(pages, 2);
    // The heading drawn by hand, bold in style 2's font and size.
    int16_t line = 0;
    PrintPages(folder_.path(), "expected-", [&] {
        TextFont(GetResFont(2));
        TextSize(GetResSize(2));
        TextFace(bold);
        FontInfo fi{};
        GetFontInfo(&fi);
        line = int16_t(fi.ascent + fi.descent + fi.leading);
        MoveTo(30, int16_t(40 + fi.ascent));
        DrawString(heading);
    });
    PageImage page(folder_ / "method-1.png"), expected(folder_ / "expected-1.png"), second(folder_ / "method-2.png");
    ASSERT_TRUE(page.ok && expected.ok && second.ok);
    const Rect& r = P_PageRect;
    for (int32_t v = 40; v < 40 + line; ++v)
        for (int32_t h = 0; h < r.right - r.left; ++h) ASSERT_EQ(page.At(h, v), expected.At(h, v)) << h << ", " << v;
    // The rule 50 points in beside the printed block, on both pages; the
    // first page turned 30 points above its bottom.
    const int32_t textTop = 40 + 2 * line, mid = (textTop + r.bottom - 30) / 2;
    const std::tuple<const PageImage*, int32_t, int32_t, bool> pixels[] = {
        {&page, 50, textTop + 1, true},       {&page, 50, mid, true},          {&page, 49, mid, false},
        {&page, 51, mid, false},              {&page, 50, textTop - 2, false}, {&page, 50, r.bottom - 29, false},
        {&second, 50, printedTo - line - 2, true}, {&second, 50, printedTo + 2, false}};
    for (const auto& [image, h, v, black] : pixels) EXPECT_EQ(image->At(h, v) == 0, black) << h << ", " << v;

    // Without its contents only the heading and a blank line, turned as
    // every printed line is: a heading that ends above the bottom margin
    // stays on its page, one that reaches it turns it.
    options.contents = 0;
    for (const int16_t over : {0, 1}) {
        PrintPages(folder_.path(), "heading-", [&] {
            P_CrtHeight = int16_t(P_PageRect.bottom - 30 - line - 1 + over);
            EXPECT_EQ(m->PrintObj(&options), 0);
            PlaceHeldHeadings(m->owner, 0);  // the list's end
            pages = P_NoPage;
        });
        EXPECT_EQ(pages, 1 + over) << over;
    }
    // A text with no room for its first line, and no document to turn the
    // page, prints nothing; nor does an empty text, not even its rule.
    for (const auto& [text, room] : {std::pair<std::string, int16_t>{"some text", 31}, {"", 200}}) {
        PrintPages(folder_.path(), "none-", [&, &text = text, room = room] {
            const Rect box{0, 0, 100, 300};
            TEHandle te = TEStyleNew(&box, &box);
            TESetText(text.data(), int32_t(text.size()), te);
            P_CrtHeight = int16_t(P_PageRect.bottom - room);
            const int16_t before = P_CrtHeight;
            PrintTextPages(te, nullptr);
            EXPECT_EQ(P_CrtHeight, before) << text;
            TEDispose(te);
        });
    }
}

TEST_F(MethodPreview, TheExportIsTheTextAndOneLineEndAndTheSearchTheText)
{
    // The method's Mac Roman text, written in UTF-8.
    std::string expected;
    for (const std::string& line : Texts(recalculate_)) expected += line + "\n";
    EXPECT_EQ(Exported(recalculate_),
              platform::MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(expected.data()), int32_t(expected.size())) +
                  "\n");
    EXPECT_NE(recalculate_->SearchIn(reinterpret_cast<const unsigned char*>("\x0B[Lines]Pric"), 2), 0);
    EXPECT_EQ(recalculate_->SearchIn(reinterpret_cast<const unsigned char*>("\x0C[Lines]Total"), 2), 0);
}

}  // namespace
}  // namespace readtest
