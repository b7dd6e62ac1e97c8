// The preview pane over objects that draw a recorded picture, the
// preview frame of the object base, and the clipboard pane.
#include <string>
#include <vector>

#include "app/windows/TClipWindow.h"
#include "design/preview/PreviewFrame.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "platform/textedit/TextEdit.h"
#include "tests/browser/PanesFixture.h"

using namespace platform;

namespace browsertest {
namespace {

// A picture of `width` x `height` in horizontal stripes of four colours, so
// that any misplaced row shows.
Handle Stripes(int16_t width, int16_t height)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    GWorldPtr world = nullptr;
    CGrafPtr before = nullptr;
    EXPECT_EQ(OpenPictPort(&world, &before), 0);
    const Rect frame{0, 0, height, width};
    PicHandle pict = OpenPicture(&frame);
    const RGBColor colours[4] = {{0xFFFF, 0, 0}, {0, 0x8000, 0}, {0, 0, 0xFFFF}, {0x8000, 0x8000, 0}};
    for (int16_t v = 0; v < height; v += 7) {
        RGBForeColor(&colours[(v / 7) % 4]);
        const Rect r{v, 0, int16_t(std::min<int>(v + 7, height)), width};
        PaintRect(&r);
    }
    ClosePicture();
    ClosePictPort(before, world);
    SetPort(saved);
    return pict;
}

// An object showing a striped picture, with pages and display types as
// asked.
class Shown : public TObjQz {
public:
    int16_t InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                        int16_t* pageMax, int16_t* page, bool) override
    {
        ++inits;
        askedType = *width;
        askedPage = *page;
        *width = w;
        *height = h;
        *pageMin = pages ? 1 : 0;
        *pageMax = pages;
        *page = pages ? std::max<int16_t>(1, std::min(*page, pages)) : 0;
        *display = NewPreview(r, Stripes(w, h));
        return 0;
    }
    int16_t NeedPopUp() override { return types > 1; }
    int16_t NbPopUpItems() override { return types; }
    bool EnableDocEdit() override { return true; }
    int16_t DelDoc() override
    {
        ++docDeleted;
        return 0;
    }
    void GetFullName(unsigned char* out) override { CopyObjName(out, name); }

    int16_t w = 100, h = 100, pages = 0, types = 1;
    int inits = 0, docDeleted = 0;
    int16_t askedType = -1, askedPage = -1;
};

class Preview : public PanesFixture {
protected:
    Shown* NewShown(const std::string& n, int16_t w, int16_t h)
    {
        auto* obj = new Shown;
        obj->kind = 18;
        CopyObjName(obj->name, PName(n));
        obj->w = w;
        obj->h = h;
        owned_.emplace_back(obj);
        return obj;
    }
    void TearDown() override
    {
        if (preview_) preview_->SetObj(nullptr);
        PanesFixture::TearDown();
        owned_.clear();
    }
    Rect Content()
    {
        Rect content{}, head{}, info{};
        preview_->GetBox(&content, &head, &info);
        return content;
    }
    std::vector<std::unique_ptr<Shown>> owned_;
};

TEST_F(Preview, ScrollRangesPagesAndDisplayTypesFollowTheObject)
{
    OpenPanes();
    const Rect c = Content();
    const int16_t cw = int16_t(c.right - c.left), ch = int16_t(c.bottom - c.top);

    Shown* wide = NewShown("Wide", int16_t(cw + 1), int16_t(ch - 1));
    preview_->SetObj(wide);
    EXPECT_EQ(preview_->fHMax, 16);
    EXPECT_EQ(preview_->fVMax, 0);
    EXPECT_EQ(GetControlMaximum(preview_->fHScroll), 16);
    preview_->SetObj(NewShown("Narrow", 10, 10));
    EXPECT_EQ(preview_->fHMax, 0);

    // Enciphered: the head only, nothing prepared.
    Shown* secret = NewShown("Secret", 900, 900);
    secret->SetFlag(kFlagCiphered, true);
    preview_->SetObj(secret);
    EXPECT_EQ(secret->inits, 0);
    EXPECT_EQ(preview_->fDisplay, nullptr);
    EXPECT_EQ(preview_->fHMax + preview_->fVMax, 0);

    // Pages: the text, the control's state and its steps.
    unsigned char text[256];
    browser::DisplayPageText(1, 3, text);
    EXPECT_EQ(P(text), " (page 1 of 3)");
    browser::DisplayPageText(1, 1, text);
    EXPECT_EQ(text[0], 0);
    Shown* paged = NewShown("Paged", 50, 50);
    paged->pages = 3;
    preview_->SetObj(paged);
    browser::DisplayHeadText(paged, text);
    EXPECT_EQ(P(text), "Paged ");
    browser::DisplayHeadText(nullptr, text);
    EXPECT_EQ(text[0], 0);
    {
        // The head's 3D line runs level across the whole pane.
        Rect content{}, head{}, info{};
        preview_->GetBox(&content, &head, &info);
        preview_->DrawContent();
        for (int h : {content.left + 2, content.right - 2})
            EXPECT_NE(Pixel(h, content.top - 2), Pixel(h, content.top - 1)) << h;
    }
    EXPECT_EQ(preview_->fPage, 1);
    EXPECT_EQ(GetControlHilite(preview_->fPageCtl), 0);
    for (auto [part, page] : {std::pair{3, 2}, std::pair{4, 3}, std::pair{2, 2}, std::pair{1, 1}}) {
        const Rect r = GetCtlPartRect(preview_->fPageCtl, int16_t(part));
        const Point local{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
        const Point g = Global(local);
        PlayPress(Script().Click(g.h, g.v));
        preview_->Click(local, 0);
        EXPECT_EQ(preview_->fPage, page) << "part " << part;
        EXPECT_EQ(paged->askedPage, page);
    }
    preview_->SetObj(NewShown("Single", 50, 50));
    EXPECT_EQ(GetControlHilite(preview_->fPageCtl), 255);

    // The display type is kept while the next object has that many.
    Shown* three = NewShown("Three", 50, 50);
    three->types = 3;
    browser::G_DispTy = 2;
    preview_->SetObj(three);
    EXPECT_EQ(preview_->fDispType, 2);
    EXPECT_EQ(three->askedType, 2);
    preview_->SetObj(NewShown("One", 50, 50));
    EXPECT_EQ(preview_->fDispType, 0);
    Shown* threeMore = NewShown("Three more", 50, 50);
    threeMore->types = 3;
    preview_->SetObj(threeMore);
    EXPECT_EQ(preview_->fDispType, 0);
    {
        // The display type's name starts at the left of its box.
        Rect content{}, head{}, info{};
        preview_->GetBox(&content, &head, &info);
        preview_->DrawContent();
        int ink = 0;
        for (int v = info.top + 5; v < info.top + 20; ++v)
            for (int h = info.left + 3; h < info.left + 12; ++h) ink += (Pixel(h, v) & 0xFF) < 0x80;
        EXPECT_GT(ink, 3);
    }

    // Low memory keeps what is shown.
    G_LowMem = true;
    preview_->SetObj(wide);
    EXPECT_EQ(preview_->fObj, threeMore);
    G_LowMem = false;

    // The object going away clears the pane.
    preview_->DelObjMsg(threeMore);
    EXPECT_EQ(preview_->fObj, nullptr);
}

TEST_F(Preview, ScrollStepsAreAtLeastOnePixelInANarrowPane)
{
    window_ = NewWindow();
    preview_ = Add<browser::TDisplayPlane>(window_, {0, 0, 12, 4});
    const Rect c = Content();
    ASSERT_LT(c.right - c.left, 31);
    ASSERT_LT(c.bottom - c.top, 24);
    EXPECT_EQ(preview_->HPage(), 1);
    EXPECT_EQ(preview_->VPage(), 1);
    preview_->SetObj(NewShown("Big", 500, 500));
    ::G_Plane = preview_;
    browser::HTrackCtrAction(preview_->fHScroll, 23);
    browser::VTrackCtrAction(preview_->fVScroll, 23);
    EXPECT_EQ(GetControlValue(preview_->fHScroll), 1);
    EXPECT_EQ(GetControlValue(preview_->fVScroll), 1);
}

TEST_F(Preview, ScrollingDrawsTheUncoveredStripAsAFullRedrawWould)
{
    OpenPanes();
    Shown* big = NewShown("Big", 700, 400);
    preview_->SetObj(big);
    const Rect c = Content();
    // The picture as the platform draws it.
    Handle expected = Stripes(700, 400);
    std::vector<uint32_t> drawn;
    {
        SetPortWindowPort(window_->fWindow);
        ClipRect(&c);
        Rect frame{c.top, c.left, int16_t(c.top + 400), int16_t(c.left + 700)};
        DrawPicture(expected, &frame);
        drawn = Pixels(c);
        preview_->update();
    }
    EXPECT_EQ(Pixels(c), drawn);

    ::G_Plane = preview_;
    browser::VTrackCtrAction(preview_->fVScroll, 21);
    browser::HTrackCtrAction(preview_->fHScroll, 21);
    EXPECT_EQ(GetControlValue(preview_->fVScroll), 24);
    EXPECT_EQ(GetControlValue(preview_->fHScroll), 16);
    const std::vector<uint32_t> scrolled = Pixels(c);
    preview_->update();
    EXPECT_EQ(Pixels(c), scrolled);
    SetPortWindowPort(window_->fWindow);
    ClipRect(&c);
    Rect frame{int16_t(c.top - 24), int16_t(c.left - 16), int16_t(c.top + 376), int16_t(c.left + 684)};
    DrawPicture(expected, &frame);
    EXPECT_EQ(Pixels(c), scrolled);
    KillPicture(expected);
}

TEST_F(Preview, TheBaseFrameDrawsMovesAndFreesItsPicture)
{
    OpenPanes();
    SetPortWindowPort(window_->fWindow);
    const Rect area{100, 100, 200, 260};
    ClipRect(&area);
    TObjQz base;
    Handle display = NewPreview(area, Stripes(120, 80));
    int16_t right = 0, bottom = 0;
    base.SizeDisplay(display, area, &right, &bottom);
    EXPECT_EQ(right, 120);
    EXPECT_EQ(bottom, 80);
    EraseRect(&area);
    base.Display(display, area);
    const std::vector<uint32_t> shown = Pixels(area);
    Handle pict = Stripes(120, 80);
    EraseRect(&area);
    Rect frame{100, 100, 180, 220};
    DrawPicture(pict, &frame);
    EXPECT_EQ(Pixels(area), shown);

    base.Scroll(display, area, 0, -10);
    EraseRect(&area);
    OffsetRect(&frame, 0, -10);
    DrawPicture(pict, &frame);
    const std::vector<uint32_t> moved = Pixels(area);
    EraseRect(&area);
    base.Display(display, Rect{90, 100, 190, 260});
    EXPECT_EQ(Pixels(area), moved);
    KillPicture(pict);
    base.DisposeDisplay(&display);
    EXPECT_EQ(display, nullptr);

    // The base shows nothing of its own.
    int16_t w = 1, h = 1, lo = 1, hi = 1, page = 1;
    base.InitDisplay(&display, area, &w, &h, &lo, &hi, &page, false);
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(w + h + lo + hi + page, 0);
}

TEST_F(Preview, DeletingTheDocumentationAsksWithTheFullName)
{
    OpenPanes();
    Shown* obj = NewShown("Logo", 20, 20);
    preview_->SetObj(obj);
    PushDialogAnswer(2);
    EXPECT_EQ(preview_->Do_Func(57), 0);
    EXPECT_EQ(obj->docDeleted, 0);
    unsigned char first[256], last[256];
    MyGetIndString(first, 1002, 34);
    MyGetIndString(last, 1024, 5);
    EXPECT_EQ(LastAlert().text, P(first) + "Logo" + P(last));
    PushDialogAnswer(1);
    preview_->Do_Func(57);
    EXPECT_EQ(obj->docDeleted, 1);
    EXPECT_EQ(preview_->Do_Func(99), -1);
}

class Clipboard : public PanesFixture {
protected:
    void SetUp() override
    {
        PanesFixture::SetUp();
        clip_ = new TClipWindow;
        ASSERT_EQ(clip_->ITWindow(PName("Clipboard"), Rect{60, 20, 260, 420}, true, 0, &doc_, 8), 0);
        doc_.AddWindow(clip_);
        ::TPlan* pane = nullptr;
        ASSERT_EQ(browser::MakeClipPlane(clip_, &pane), 0);
        clip_->AddPlane(pane);
        pane_ = static_cast<browser::TClipPlane*>(pane);
    }
    void TearDown() override
    {
        doc_.RemoveWindow(clip_);
        clip_->Dispose();
        PanesFixture::TearDown();
    }
    TClipWindow* clip_ = nullptr;
    browser::TClipPlane* pane_ = nullptr;
};

TEST_F(Clipboard, TextScrollsToTheFixedWidthAndPicturesSetTheirRanges)
{
    ASSERT_NE(clip_->fText, nullptr);
    const std::string line(900, 'W');  // far wider than 5,000 pixels
    TESetText(line.data(), int32_t(line.size()), clip_->fText);
    pane_->MakeActive();
    pane_->update();
    EXPECT_EQ(GetControlMaximum(pane_->fHScroll), 2047);
    pane_->ScrollPlane(pane_->fHScroll, 5000);
    EXPECT_EQ(GetControlValue(pane_->fHScroll), 2047);

    // Pages of the vertical bar: the view's height less 24.
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "line\r";
    TESetText(lines.data(), int32_t(lines.size()), clip_->fText);
    pane_->update();
    ASSERT_GT(GetControlMaximum(pane_->fVScroll), 200);
    ::G_Plane = pane_;
    browser::ClipTrackCtrAction(pane_->fVScroll, 23);
    const Rect view = pane_->View();
    EXPECT_EQ(GetControlValue(pane_->fVScroll), view.bottom - view.top - 24);
    browser::ClipTrackCtrAction(pane_->fVScroll, 20);
    EXPECT_EQ(GetControlValue(pane_->fVScroll), view.bottom - view.top - 48);

    // A picture after text replaces it; smaller than the view: no ranges.
    Handle small = Stripes(40, 30);
    clip_->SetData(small, FourCC("PICT"), 0, int32_t(GetHandleSize(small)));
    EXPECT_EQ((*clip_->fText)->teLength, 0);
    ASSERT_NE(clip_->fPicture, nullptr);
    pane_->update();
    EXPECT_EQ(GetControlMaximum(pane_->fHScroll), 0);
    EXPECT_EQ(GetControlMaximum(pane_->fVScroll), 0);
    Handle big = Stripes(900, 500);
    clip_->SetData(big, FourCC("PICT"), 0, int32_t(GetHandleSize(big)));
    pane_->update();
    // The 400 x 200 window less the 15 pixels of each bar.
    EXPECT_EQ(view.right - view.left, 385);
    EXPECT_EQ(view.bottom - view.top, 185);
    EXPECT_EQ(GetControlMaximum(pane_->fHScroll), 900 - 385);
    EXPECT_EQ(GetControlMaximum(pane_->fVScroll), 500 - 185);
    Rect v{}, h{};
    GetControlBounds(pane_->fVScroll, &v);
    GetControlBounds(pane_->fHScroll, &h);
    EXPECT_EQ(std::vector<int>({v.top, v.left, v.bottom, v.right, h.top, h.left, h.bottom, h.right}),
              std::vector<int>({-1, 385, 186, 401, 185, 0, 201, 386}));

    // A picture scrolled shows what a fresh drawing at that place shows.
    pane_->ScrollPlane(pane_->fVScroll, 30);
    pane_->ScrollPlane(pane_->fHScroll, 50);
    const std::vector<uint32_t> scrolled = Pixels(view, clip_);
    pane_->erase();
    pane_->update();
    EXPECT_TRUE(Pixels(view, clip_) == scrolled);

    // A click on the vertical bar's lower arrow is the pane's: it scrolls down.
    const int16_t top = GetControlValue(pane_->fVScroll);
    const Point arrow{178, 393};
    const Point g = Global(arrow, clip_);
    PlayPress(Script().Click(g.h, g.v));
    EXPECT_TRUE(pane_->Click(arrow, 0));
    EXPECT_GT(GetControlValue(pane_->fVScroll), top);
    KillPicture(small);
    KillPicture(big);
}


// The vertical bar's thumb dragged down is the pane's click too: the text
// scrolls by what the thumb moved.
TEST_F(Clipboard, TheThumbDraggedIsThePanesClick)
{
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "line\r";
    TESetText(lines.data(), int32_t(lines.size()), clip_->fText);
    pane_->MakeActive();
    pane_->update();
    ASSERT_EQ(GetControlValue(pane_->fVScroll), 0);
    Rect bar{};
    GetControlBounds(pane_->fVScroll, &bar);
    const int16_t h = int16_t((bar.left + bar.right) / 2);
    const Point thumb{int16_t(bar.top + 22), h};
    ControlRef hit = nullptr;
    ASSERT_EQ(FindControl(thumb, clip_->fWindow, &hit), kControlIndicatorPart);
    ASSERT_EQ(hit, pane_->fVScroll);
    const Point g = Global(thumb, clip_);
    PlayPress(Script().Drag(g.h, g.v, g.h, int16_t(g.v + 60), 10));
    EXPECT_TRUE(pane_->Click(thumb, 0));
    EXPECT_GT(GetControlValue(pane_->fVScroll), 0);
}

}  // namespace
}  // namespace browsertest
