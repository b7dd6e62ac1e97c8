// The screenshots of the program's form-preview run (form_preview.txt):
// the demo's forms Card (double-clicked in the uses pane of Entry) and
// Summary (which inherits Invoice, double-clicked in the main list) show in
// the preview pane as built offscreen here, every shown row pixel for
// pixel, and object by object as drawn over the objects before. Skipped
// when not given a run.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/forms/FormModelUse.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjFactory.h"
#include "design/preview/PreviewFrame.h"
#include "design/objects/ObjKinds.h"
#include "forms/drawing/FormPreview.h"
#include "forms/drawing/LayoutBackground.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectIterators.h"
#include "looks/FormLook.h"
#include "kernel/formhooks/FormServices.h"
#include "kernel/startup/KernelGlobals.h"
#include "looks/LookManager.h"
#include "platform/drawing/Text.h"
#include "toolbox/drawing/VPainter.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/core/FourCC.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Rects.h"
#include "platform/pictures/Pictures.h"
#include "toolbox/drawing/ScrapCalls.h"
#include "platform/scrap/Scrap.h"
#include "resources/caches/APictArray.h"
#include "tests/design/ReadFixture.h"
#include "tests/forms/DrawnPage.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace browsertest {
namespace {

class FormPreviewScreens : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        OpenPrefResFile();
        MakeAppl();
        transfer::InstallModuleManager();
        // What the program's start-up does for forms.
        VPainter::Init();
        InstallFormModelHooks();
        InitVI();
        InstallStaticPictures();
        SetFormPreviewProc(FormPagePreview);
        // An object method previews as its styled text, its commands named.
        LoadTokenStrings();
        savedMachine_ = G_MachineType;
        G_MachineType = 4;
    }
    void TearDown() override
    {
        G_MachineType = savedMachine_;
        SetFormPreviewProc(nullptr);
        ResetFormModelHooks();
        SetGetStaticPictProc(nullptr);
        ClosePrefResFile();
        ReadFixture::TearDown();
    }
    int16_t savedMachine_ = 0;
    void CheckShown(TObjQz* shown, const std::string& shotFile, int16_t pages, int16_t wanted = 1,
                    int32_t minRows = 100, int16_t type = 0);
    void CheckShownAt(TObjQz* shown, const std::string& shotFile, int16_t pages, int16_t wanted, int32_t minRows,
                      int16_t type, Point* at);
    void CheckCopied(TLayoutObjQz* form, const std::string& shotFile);
    // The form's objects one by one, the first page shown (below).
    void CheckObjects(TLayoutObjQz* form, const std::string& shotFile, int16_t pages, int32_t minObjects);
    // Finds `drawn` (kSide x kSide, `width` x `height` of it used) in the
    // screenshot by its first rows that hold more than the background, then
    // compares every row shown, at least `minRows` of them. Where it lies
    // on the screenshot goes to `at`.
    void CompareShown(const std::vector<uint32_t>& drawn, int16_t width, int16_t height,
                      const std::string& shotFile, int32_t minRows, Point* at = nullptr);
};

constexpr int16_t kSide = 700;
constexpr int32_t kAnchorRows = 12;
const unsigned char kCard[] = "\x04" "Card";
const unsigned char kSummary[] = "\x07" "Summary";
const unsigned char kInvoice[] = "\x07" "Invoice";

}  // namespace

// The object's preview built offscreen is found in the screenshot; every
// row the pane shows must equal it. `pages` is the page count the pane is
// told (0: none), `wanted` the page turned to, `type` a form's display
// type.
void FormPreviewScreens::CheckShown(TObjQz* form, const std::string& shotFile, int16_t pages, int16_t wanted,
                                    int32_t minRows, int16_t type)
{
    Point at{};
    CheckShownAt(form, shotFile, pages, wanted, minRows, type, &at);
}

void FormPreviewScreens::CheckShownAt(TObjQz* form, const std::string& shotFile, int16_t pages, int16_t wanted,
                                      int32_t minRows, int16_t type, Point* at)
{
    const Rect big{0, 0, kSide, kSide};
    drawntest::Page world(kSide, kSide);
    Handle display = nullptr;
    int16_t width = type, height = 0, pageMin = 0, pageMax = 0, page = wanted;
    const std::vector<uint32_t> drawn = world.Drawn([&] {
        ASSERT_EQ(form->InitDisplay(&display, big, &width, &height, &pageMin, &pageMax, &page, false), 0);
        form->Display(display, big);
        form->DisposeDisplay(&display);
    });
    EXPECT_EQ(pageMin, pages ? 1 : 0);
    EXPECT_EQ(pageMax, pages);
    EXPECT_EQ(page, pages ? wanted : 0);
    // A method's text reports the whole width a line may take.
    CompareShown(drawn, std::min<int16_t>(width, kSide), height, shotFile, minRows, at);
}

// The form drawn again as its preview is built, one object more at a time
// in drawing order (the inherited form's picture first, then page 0 and
// the page's objects, each group's members after it): each object's
// rectangle on the screenshot, where no object drawn later changes it, is
// the object drawn by DrawObject over those before it. At least
// `minObjects` objects show some of their pixels. `pages` is the form's
// page count as the pane is told it.
void FormPreviewScreens::CheckObjects(TLayoutObjQz* form, const std::string& shotFile, int16_t pages,
                                      int32_t minObjects)
{
    // Where the pane shows the preview, found by its first rows.
    Point at{-1, -1};
    CheckShownAt(form, shotFile, pages, 1, 100, 0, &at);
    ASSERT_GE(at.h, 0);
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(shotFile, &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);

    ParseResFile current(form->owner);
    const Handle savedNames = hwname;
    hwname = xget1res(FourCC("WNQz"), 0);
    SetDBVIProc(StructureLook(form->owner));
    CreateStyleSheet();
    int32_t checked = 0;
    const bool read = WithFormModel(form, [&](LayoutEditor& model) {
        if (model.LastPage() >= 1) model.GotoPage(1, 0);
        PurgeStaticPicts(0);
        VisitedForms visited{model.fFormId};
        model.xLoadBaseForm(&visited);
        int16_t width = 0, height = 0;
        PreviewSize(&model, &width, &height);
        const Rect page{0, 0, height, width};
        // The objects in drawing order; null stands for the inherited form.
        std::vector<LayoutObject*> order{nullptr};
        auto walk = [&](LayoutObject* first) {
            for (LayoutObjectIterator it(first, false, true, false); it.Current(); it.SetNext())
                order.push_back(it.Current());
        };
        if (model.CurrentPage() != 0) walk(model.GetFirstOfPage(0));
        walk(model.FirstObject());
        // The page after the first `count` steps, each on a new world as
        // the preview is.
        auto upTo = [&](size_t count) {
            drawntest::Page world(width, height);
            EXPECT_TRUE(world.Made());
            return world.Drawn([&] {
                ClipRect(&page);
                EraseLayoutBackground(&page, model.fLookHandler, nullptr);
                const int16_t savedMode = varDrawingMode;
                varDrawingMode = kDrawResolved;
                for (size_t i = 0; i < count; ++i)
                    if (order[i]) order[i]->DrawObject(&model, 0, 0);
                    else model.DrawBaseForm(0, 0);
                varDrawingMode = savedMode;
            });
        };
        const std::vector<uint32_t> whole = upTo(order.size());
        const int32_t shownRight = std::min<int32_t>(width, int32_t(shot.width()) - 21 - at.h);
        const int32_t shownBottom = std::min<int32_t>(height, int32_t(shot.height()) - 22 - at.v);
        for (size_t i = 0; i < order.size(); ++i) {
            const std::vector<uint32_t> drawn = upTo(i + 1);
            Rect r = order[i] ? ObjectRect(order[i], &model, 0, 0) : page;
            int32_t same = 0, differ = 0;
            for (int32_t v = std::max<int32_t>(r.top, 0); v < std::min<int32_t>(r.bottom, shownBottom); ++v)
                for (int32_t h = std::max<int32_t>(r.left, 0); h < std::min<int32_t>(r.right, shownRight); ++h) {
                    const size_t p = size_t(v * width + h);
                    if (drawn[p] != whole[p]) continue;  // drawn over later
                    if (drawn[p] == (shot.RGBAt(at.h + h, at.v + v) & 0xFFFFFF)) ++same;
                    else ++differ;
                }
            EXPECT_EQ(differ, 0) << shotFile << ": object " << i << " of kind "
                                 << (order[i] ? order[i]->GetObjectType() : -1) << " at (" << r.left << ", " << r.top
                                 << ") differs in " << differ << " pixels";
            if (same > 0) ++checked;
        }
        return true;
    });
    hwname = savedNames;
    ASSERT_TRUE(read);
    EXPECT_GE(checked, minObjects) << shotFile;
}

void FormPreviewScreens::CompareShown(const std::vector<uint32_t>& drawn, int16_t width, int16_t height,
                                      const std::string& shotFile, int32_t minRows, Point* at)
{
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(shotFile, &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    ASSERT_GT(height, kAnchorRows);
    auto same = [&](int32_t x0, int32_t y0, int32_t top, int32_t bottom, int32_t w) {
        for (int32_t v = top; v < bottom; ++v)
            for (int32_t h = 0; h < w; ++h)
                if (drawn[size_t(v * kSide + h)] != (shot.RGBAt(x0 + h, y0 + v) & 0xFFFFFF)) return false;
        return true;
    };
    // The anchor: the first rows holding more than the background.
    int32_t first = 0;
    for (bool plain = true; plain && first + kAnchorRows < height; first += plain ? 1 : 0)
        for (int32_t h = 1; h < width && plain; ++h) plain = drawn[size_t(first * kSide + h)] == drawn[0];
    const int32_t anchorWidth = std::min<int32_t>(width, 300);
    int32_t x0 = -1, y0 = -1;
    for (int32_t y = first; y + kAnchorRows <= int32_t(shot.height()) && x0 < 0; ++y)
        for (int32_t x = 0; x + anchorWidth <= int32_t(shot.width()); ++x)
            if (same(x, y - first, first, first + kAnchorRows, anchorWidth)) {
                x0 = x, y0 = y - first;
                break;
            }
    ASSERT_GE(x0, 0) << "the form's first rows are nowhere on " << shotFile;
    if (at) *at = Point{int16_t(y0), int16_t(x0)};
    // Every row down to the pane's bottom (the window's scroll bar row), left
    // of the pane's scroll bar.
    const int32_t shownWidth = std::min<int32_t>(width, int32_t(shot.width()) - 21 - x0);
    const int32_t shownRows = std::min<int32_t>(height, int32_t(shot.height()) - 22 - y0);
    ASSERT_GT(shownRows, minRows);
    for (int32_t v = 0; v < shownRows; ++v)
        EXPECT_TRUE(same(x0, y0, v, v + 1, shownWidth)) << shotFile << ": row " << v << " differs";
}

// The form's page `1` copied here as the program's Copy does: the
// clipboard holds the page's objects ('OBQz', a FORM of OBJS), the record
// of their form ('ObLQ', 16 bytes ending with its id) and their picture,
// which the clipboard window on the screenshot shows pixel for pixel.
void FormPreviewScreens::CheckCopied(TLayoutObjQz* form, const std::string& shotFile)
{
    ResetScrap();
    const Rect big{0, 0, kSide, kSide};
    Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 1;
    ASSERT_EQ(form->InitDisplay(&display, big, &width, &height, &pageMin, &pageMax, &page, false), 0);
    form->doCopy(display, 1);
    form->DisposeDisplay(&display);
    struct Flavour {
        uint32_t type;
        const char* start;  // the first bytes, at offset 8 for 'OBQz'
        int32_t size;       // -1: any above 12
    };
    const Flavour flavours[] = {{FourCC("OBQz"), "OBJS", -1}, {FourCC("ObLQ"), "", 16}};
    for (const Flavour& f : flavours) {
        Handle h = NewHandle(0);
        const int32_t size = myGetScrap(h, f.type);
        if (f.size < 0) {
            ASSERT_GT(size, 12) << f.type;
            EXPECT_EQ(std::string(*h, 4), "FORM");
            EXPECT_EQ(std::string(*h + 8, 4), f.start);
        } else {
            ASSERT_EQ(size, f.size) << f.type;
            EXPECT_EQ(ReadBE16(*h + 14), form->formResId);
        }
        DisposeHandle(h);
    }
    Handle picture = NewHandle(0);
    ASSERT_GT(myGetScrap(picture, FourCC("PICT")), 10);
    Rect frame{};
    QDGetPictureBounds(picture, &frame);
    OffsetRect(&frame, int16_t(-frame.left), int16_t(-frame.top));
    drawntest::Page world(kSide, kSide);
    const std::vector<uint32_t> drawn = world.Drawn([&] { DrawPicture(picture, &frame); });
    DisposeHandle(picture);
    ResetScrap();
    CompareShown(drawn, std::min<int16_t>(frame.right, kSide), std::min<int16_t>(frame.bottom, kSide), shotFile, 20);
}

TEST_F(FormPreviewScreens, CardAndSummaryShowAsBuiltOffscreen)
{
    const char* work = std::getenv("QZ_FORM_PREVIEW_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the form-preview run";
    Open(demo);
    ASSERT_EQ(Read(), 0);
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    auto* customers = dynamic_cast<TFileObjQz*>(Find(1, "Customers"));
    auto* invoices = dynamic_cast<TFileObjQz*>(Find(1, "Invoices"));
    ASSERT_TRUE(customers && invoices);
    auto* card = dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(customers->forms, kCard));
    auto* summary = dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(invoices->forms, kSummary));
    ASSERT_TRUE(card && summary);
    // Card double-clicked in the uses pane of Entry, which holds it as a
    // subform, then Summary over its inherited Invoice: each object as
    // drawn over those before it.
    CheckObjects(card, std::string(work) + "/card.png", 2, 6);
    CheckObjects(summary, std::string(work) + "/summary.png", 0, 6);
    // Card turned to its second page.
    CheckShown(card, std::string(work) + "/card2.png", 2, 2);
    // A double-click in Summary's preview on the field Number of the
    // Invoice it inherits; then, in Invoice's uses pane, the object method
    // of its variable bPrint.
    auto* invoice = dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(invoices->forms, kInvoice));
    ASSERT_NE(invoice, nullptr);
    TObjQz* number = Find(28, "Number");
    TObjQz* print = invoice->objMethods ? SearchListObj_Id(invoice->objMethods, 41) : nullptr;
    ASSERT_TRUE(number && print);
    CheckShown(number, std::string(work) + "/field.png", 0, 1, 30);
    CheckShown(print, std::string(work) + "/method.png", 0, 1, 10);
    // Summary as "Outline": its own objects, without Invoice's behind.
    CheckShown(summary, std::string(work) + "/outline.png", 0, 1, 100, 1);
    CheckCopied(card, std::string(work) + "/clipboard.png");
}

}  // namespace browsertest
