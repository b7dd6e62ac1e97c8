// Working in a form's preview: the object under a click on each page,
// the texts of the active objects, the Copy item, and the page copied to
// the clipboard.
#include <string>
#include <tuple>

#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "design/forms/FormPrinting.h"
#include "design/objects/OutputOptions.h"
#include "design/preview/PreviewFrame.h"
#include "forms/model/LayoutEditor.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "tests/design/PrintedPages.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "platform/drawing/GWorlds.h"
#include "platform/core/Endian.h"
#include "platform/scrap/Scrap.h"
#include "tests/design/ReadFixture.h"
#include "toolbox/drawing/ScrapCalls.h"

namespace readtest {
namespace {

// Rows are 26 points apart from 10 down, 200 wide from 10; a group spans
// its members.
constexpr const char* kClicks = R"(structure Clicks
table Customers
  field Name alpha 40
  form Card iff
    field Name
    variable vPlain label "First"
    variable vShared interprocess label "Shared"
    variable vAction method 50 label "Second"
    page 2
    group
      variable vInner method 51 label "Third"
    variable <>vMarked interprocess
)";

class FormPreviewWork : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        built_ = Build(kClicks);
        Open(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        auto* table = static_cast<TFileObjQz*>(Find(1, "Customers"));
        ASSERT_TRUE(table && table->forms && table->forms->Size() == 1);
        card_ = static_cast<TLayoutObjQz*>(table->forms->At(0));
        ASSERT_EQ(card_->Parse(), 0);
        display_ = NewPreview(platform::Rect{100, 50, 600, 500}, nullptr);
        platform::ResetScrap();
    }
    void TearDown() override
    {
        card_->DisposeDisplay(&display_);
        platform::ResetScrap();
        ReadFixture::TearDown();
    }
    // "kind name" of the object a click at (v, h) of the preview answers.
    std::string ClickAt(int16_t v, int16_t h, int16_t page)
    {
        platform::EventRecord event{};
        event.what = platform::mouseDown;
        event.where = platform::Point{int16_t(100 + v), int16_t(50 + h)};
        TObjQz* hit = card_->Click(display_, event, page);
        return hit ? std::to_string(hit->kind) + " " + P(hit->name) : "none";
    }
    docbuilder::BuildResult built_;
    TLayoutObjQz* card_ = nullptr;
    platform::Handle display_ = nullptr;
};

TEST_F(FormPreviewWork, AClickAnswersTheObjectUnderItOnThePageShown)
{
    struct Case {
        int16_t v, h, page;
        std::string hit;
    };
    const Case cases[] = {
        {15, 50, 1, "28 Name"},             // a field: the table's field
        {10, 10, 1, "28 Name"},             // its top left corner
        {30, 50, 1, "none"},                // just below it (bottom is exclusive)
        {40, 50, 1, "9 vPlain"},            // a process variable
        {66, 50, 1, "9 <>vShared"},         // an interprocess variable
        {92, 50, 1, "25 vAction"},          // a variable's object method
        {92, 210, 1, "none"},               // just right of it
        {300, 50, 1, "none"},               // outside every object
        {145, 50, 2, "25 vInner"},          // inside a group: its member
        {145, 50, 5, "25 vInner"},          // page 5 of 2 looks at page 2
        {171, 50, 2, "9 <>vMarked"},        // one named with its prefix keeps it
        {15, 50, 2, "none"},                // page 2 holds no field
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClickAt(c.v, c.h, c.page), c.hit) << c.v << "," << c.h << " page " << c.page;
}

TEST_F(FormPreviewWork, TheHitIsFramedInGreyWhileTheButtonIsDown)
{
    platform::GWorldPtr world = nullptr;
    const platform::Rect bounds{0, 0, 400, 400};
    ASSERT_EQ(platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), platform::noErr);
    platform::CGrafPtr savedPort = nullptr;
    platform::GDHandle savedDevice = nullptr;
    platform::GetGWorld(&savedPort, &savedDevice);
    platform::SetGWorld(world, nullptr);
    platform::EraseRect(&bounds);
    const std::vector<uint32_t> before = PortPixels(world, bounds);
    // The field's frame in the port: (110, 60) to (130, 260).
    std::string held;
    platform::HeadlessOptions options;
    options.screenshot = [&](const std::string&) {
        const std::vector<uint32_t> now = PortPixels(world, bounds);
        int black = 0, changedOutside = 0;
        for (int v = 0; v < 400; ++v)
            for (int h = 0; h < 400; ++h) {
                const bool onFrame = (v == 110 || v == 129) ? h >= 60 && h < 260 : (h == 60 || h == 259) && v >= 110 && v < 130;
                const bool dark = now[size_t(v * 400 + h)] == 0;
                black += onFrame && dark;
                changedOutside += !onFrame && now[size_t(v * 400 + h)] != before[size_t(v * 400 + h)];
            }
        held = std::to_string(black) + " on the frame, " + std::to_string(changedOutside) + " elsewhere";
        return platform::noErr;
    };
    // Half of the 436 frame pixels are the grey pattern's black ones.
    for (const auto& [v, h, expected] : {std::tuple(15, 50, "218 on the frame, 0 elsewhere"), std::tuple(300, 50, "")}) {
        held.clear();
        {
            platform::testing::HeadlessRun run(
                platform::Script().Press(0, 0).Wait(2).Screenshot("held").Wait(2).Release(), options);
            platform::EventRecord down{};
            ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &down));
            ClickAt(int16_t(v), int16_t(h), 1);
        }
        EXPECT_EQ(held, expected) << v;
        EXPECT_EQ(PortPixels(world, bounds), before) << "the pixels are given back";
    }
    platform::SetGWorld(savedPort, savedDevice);
    platform::DisposeGWorld(world);
}

TEST_F(FormPreviewWork, AFormThatCannotBeReadAnswersNothingAndSaysSo)
{
    card_->formResId = 999;
    const int32_t before = AlertCount();
    EXPECT_EQ(ClickAt(15, 50, 1), "none");
    EXPECT_EQ(AlertCount(), before + 1);
    EXPECT_EQ(LastAlert().text, "The form cannot be read.");
}

// A form whose record cannot be read previews nothing: the pane gets no
// picture and the user is told once.
TEST_F(FormPreviewWork, AFormThatCannotBeReadIsNotPreviewed)
{
    struct Case {
        int16_t resId;
        int16_t result;
        int32_t alerts;
        int16_t asked, shown;  // page
    };
    const int16_t stored = card_->formResId;
    const Case cases[] = {{999, 1014, 1, 1, 1}, {stored, 0, 0, 1, 1}, {stored, 0, 0, 2, 2}, {stored, 0, 0, 9, 2}};
    for (const Case& c : cases) {
        card_->formResId = c.resId;
        platform::Handle display = nullptr;
        // A display type past the last asks for the last.
        int16_t width = 7, height = -1, pageMin = -1, pageMax = -1, page = c.asked;
        const int32_t before = AlertCount();
        EXPECT_EQ(card_->InitDisplay(&display, platform::Rect{0, 0, 300, 300}, &width, &height, &pageMin, &pageMax,
                                     &page, false),
                  c.result)
            << c.resId;
        EXPECT_EQ(AlertCount(), before + c.alerts) << c.resId;
        if (c.alerts) {
            EXPECT_EQ(LastAlert().text, "The form cannot be read.");
            EXPECT_EQ(PreviewOf(display) ? PreviewOf(display)->picture : nullptr, nullptr);
        } else {
            platform::Rect frame{};
            platform::QDGetPictureBounds(PreviewOf(display)->picture, &frame);
            EXPECT_EQ(std::tuple(pageMin, pageMax, page, width, height),
                      std::tuple(1, 2, c.shown, frame.right - frame.left, frame.bottom - frame.top));
            EXPECT_GT(height, 0);
        }
        EXPECT_EQ(card_->previewChoice, 2);
        card_->DisposeDisplay(&display);
    }
    // A ciphered form shows nothing, without an error.
    card_->SetFlag(kFlagCiphered, true);
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 1;
    const int32_t before = AlertCount();
    EXPECT_EQ(card_->InitDisplay(&display, platform::Rect{0, 0, 300, 300}, &width, &height, &pageMin, &pageMax, &page,
                                 false),
              0);
    EXPECT_EQ(AlertCount(), before);
    card_->SetFlag(kFlagCiphered, false);
    card_->DisposeDisplay(&display);
}

// The display-type pop-up: pressed at (200, 300) with the current type's
// row under the mouse, each row 19 pixels below the last; a release
// outside every row keeps the type.
TEST_F(FormPreviewWork, TheDisplayTypePopUpChoosesTheRowReleasedOn)
{
    struct Case {
        int16_t current, moveTo;
        int16_t chosen;
    };
    const Case cases[] = {
        {0, 200, 0}, {0, 219, 1}, {0, 238, 2},  // from "Drawing": each row
        {2, 162, 0}, {2, 200, 2},                // from "Text": rows above it
        {1, 400, 1},                             // released outside: kept
    };
    for (const Case& c : cases) {
        card_->previewChoice = c.current;
        platform::testing::HeadlessRun run(
            platform::Script().Press(300, 200).Wait(2).Move(300, c.moveTo).Wait(2).Release(), {});
        platform::EventRecord down{};
        ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &down));
        EXPECT_EQ(card_->DisplayPopUp(platform::Point{200, 300}), c.chosen) << c.current << " to " << c.moveTo;
        EXPECT_EQ(card_->previewChoice, c.chosen);
    }
}

TEST_F(FormPreviewWork, TheActiveObjectsTextsAreFoundOnEveryPageAndInGroups)
{
    const std::pair<int16_t, std::string> cases[] = {
        {0, ""}, {1, "First"}, {3, "Second"}, {4, "Third"}, {5, ""}, {-1, ""},
    };
    for (const auto& [number, text] : cases) {
        unsigned char out[256] = {3, 'x', 'y', 'z'};
        card_->FindScriptTxt(out, number);
        EXPECT_EQ(P(out), text) << number;
    }
}

TEST_F(FormPreviewWork, SelectingAFormOffersToCopyItsPage)
{
    ASSERT_EQ(BuildMenus(), 0);
    unsigned char text[256];
    EnableFunc(23);
    card_->SelectObj();
    GetFuncItem(23, 1, text);
    EXPECT_EQ(P(text), "Copy Page");
    EXPECT_TRUE(IsFuncEnabled(23));
    card_->DeSelectObj();
    GetFuncItem(23, 1, text);
    EXPECT_EQ(P(text), "Copy");
    EXPECT_FALSE(IsFuncEnabled(23));
    // Only a display showing a preview has a selection.
    EXPECT_FALSE(card_->IsSelection(nullptr));
    EXPECT_FALSE(card_->IsSelection(display_));
    platform::Handle shown = NewPreview(platform::Rect{0, 0, 10, 10}, platform::NewHandle(12));
    EXPECT_TRUE(card_->IsSelection(shown));
    card_->DisposeDisplay(&shown);
    DisposeMenus();
}

TEST_F(FormPreviewWork, CopyPutsThePageShownOnTheClipboard)
{
    struct Case {
        int16_t page;
        std::string vars;  // the variable chunks' names, in order
    };
    const Case cases[] = {{1, "vPlain vShared vAction"}, {2, "vInner"}, {7, "vInner"}};
    for (const Case& c : cases) {
        card_->doCopy(display_, c.page);
        platform::Handle h = platform::NewHandle(0);
        ASSERT_GT(myGetScrap(h, platform::FourCC("OBQz")), 12) << c.page;
        const std::string bytes(*h, size_t(platform::GetHandleSize(h)));
        platform::DisposeHandle(h);
        EXPECT_EQ(bytes.substr(8, 4), "OBJS");
        std::string vars;
        for (const char* name : {"vPlain", "vShared", "vAction", "vInner"})
            if (bytes.find(name) != std::string::npos) vars += (vars.empty() ? "" : " ") + std::string(name);
        EXPECT_EQ(vars, c.vars) << c.page;
        EXPECT_EQ(bytes.find("CCQz") != std::string::npos, true) << "the page's object method travels with it";
        h = platform::NewHandle(0);
        ASSERT_EQ(myGetScrap(h, platform::FourCC("ObLQ")), 16);
        EXPECT_EQ(platform::ReadBE16(*h + 14), card_->formResId);
        platform::DisposeHandle(h);
    }
}

TEST(FormPreviewPlacement, APreviewIsScaledToThePageAndTurnsItWhenItDoesNotFit)
{
    const platform::Rect page{0, 0, 700, 500};  // 670 high and 470 wide inside the margins
    struct Case {
        const char* what;
        int16_t current, top;
        platform::Rect frame;
        platform::Rect drawn;
        bool newPage;
    };
    const Case cases[] = {
        {"fits", 100, 40, {0, 0, 200, 300}, {100, 30, 300, 330}, false},
        {"fits exactly above the margin", 470, 40, {0, 0, 200, 300}, {470, 30, 670, 330}, false},
        {"one point more turns the page", 471, 40, {0, 0, 200, 300}, {40, 30, 240, 330}, true},
        {"wider than the page", 100, 40, {0, 0, 200, 940}, {100, 30, 200, 500}, false},
        {"taller than the page, below a header", 100, 40, {0, 0, 1340, 100}, {40, 30, 670, 77}, true},
        {"taller, on a page without header", 0, 0, {0, 0, 1340, 100}, {0, 30, 670, 80}, false},
        {"a frame not at 0, 0", 100, 40, {10, 20, 60, 120}, {100, 30, 150, 130}, false},
        {"empty", 100, 40, {0, 0, 0, 0}, {100, 30, 100, 30}, false},
    };
    for (const Case& c : cases) {
        bool newPage = !c.newPage;
        const platform::Rect r = PlaceFormPreview(page, c.current, c.top, c.frame, &newPage);
        EXPECT_EQ(std::tuple(r.top, r.left, r.bottom, r.right, newPage),
                  std::tuple(c.drawn.top, c.drawn.left, c.drawn.bottom, c.drawn.right, c.newPage))
            << c.what;
    }
}

// Black previews of the given heights, 200 wide, one per page asked.
std::vector<platform::Handle> gPreviews;
platform::Handle BlackPreview(LayoutEditor*, int16_t page, bool selectedOnly, bool background)
{
    if (page < 1 || size_t(page) > gPreviews.size() || selectedOnly || !background) return nullptr;
    platform::Handle copy = gPreviews[size_t(page - 1)];
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

TEST_F(FormPreviewWork, PrintingWithDetailsPrintsEveryPagesPreview)
{
    platform::GWorldPtr port = nullptr;
    platform::CGrafPtr saved = nullptr;
    ASSERT_EQ(OpenPictPort(&port, &saved), 0);
    for (int16_t height : {300, 200, 2000, 2000}) {
        const platform::Rect frame{0, 0, height, 200};
        platform::Handle picture = platform::OpenPicture(&frame);
        platform::PaintRect(&frame);
        platform::ClosePicture();
        gPreviews.push_back(picture);
    }
    ClosePictPort(saved, port);
    SetFormPreviewProc(BlackPreview);
    OutPutParmRec options;
    options.contents = 1;
    int16_t pages = 0, after = 0, headingEnd = 0;
    platform::Rect pageRect{};
    // Another container is current when printing starts, and again after.
    platform::FSSpec otherSpec;
    platform::FSMakeFSSpec(folder_ / "other.qzb", &otherSpec);
    const int16_t other = createres(otherSpec, FourCC("QzBw"), FourCC("QzDB"));
    ASSERT_GT(other, 0);
    PrintPages(folder_.path(), "form-", [&] {
        pageRect = P_PageRect;
        P_CrtHeight = int16_t(P_PageRect.bottom - P_PageRect.top - 30 - 300 - 100);
        headingEnd = P_CrtHeight;
        useres(other);
        EXPECT_EQ(card_->PrintObj(&options), 0);
        EXPECT_EQ(xcurres(), other);
        pages = P_NoPage;
        after = P_CrtHeight;
    });
    // Previews taller than a page each fill one down to its bottom margin;
    // the empty line that ends the form turns no page after them.
    for (int i = 0; i < 2; ++i) platform::KillPicture(gPreviews[size_t(i)]);
    gPreviews.erase(gPreviews.begin(), gPreviews.begin() + 2);
    int16_t fullPages = 0;
    PrintPages(folder_.path(), "full-", [&] {
        EXPECT_EQ(card_->PrintObj(&options), 0);
        fullPages = P_NoPage;
    });
    EXPECT_EQ(fullPages, 3);
    SetFormPreviewProc(nullptr);
    for (platform::Handle h : gPreviews) platform::KillPicture(h);
    gPreviews.clear();
    // Page 1 holds the heading and the first preview; the second does not
    // fit below it and opens page 2.
    EXPECT_EQ(pages, 2);
    PageImage first(folder_ / "form-1.png"), second(folder_ / "form-2.png");
    ASSERT_TRUE(first.ok && second.ok);
    // Each preview's column 30 points in: black from its top for its
    // height, nothing to its left or past its right. (A page's header
    // rule is one row.)
    auto topAt30 = [](const PageImage& image) {
        for (int32_t v = 0; v + 1 < image.pixels.height(); ++v)
            if (image.At(30, v) == 0 && image.At(30, v + 1) == 0) return v;
        return -1;
    };
    const int32_t top1 = topAt30(first), top2 = topAt30(second);
    EXPECT_GT(top1, headingEnd) << "below the heading";
    EXPECT_GT(top2, 0);
    for (const auto& [image, top, height] : {std::tuple(&first, top1, 300), std::tuple(&second, top2, 200)}) {
        EXPECT_EQ(image->At(30, top + height - 1), 0u) << height;
        EXPECT_EQ(image->At(30, top + height), 0xFFFFFFu) << height;
        EXPECT_EQ(image->At(229, top + 1), 0u) << height;
        EXPECT_EQ(image->At(230, top + 1), 0xFFFFFFu) << height;
        EXPECT_EQ(image->At(29, top + 1), 0xFFFFFFu) << height;
    }
    EXPECT_GE(after, top2 + 200);
    EXPECT_LE(top1 + 300, pageRect.bottom - pageRect.top - 30);
}

}  // namespace
}  // namespace readtest
