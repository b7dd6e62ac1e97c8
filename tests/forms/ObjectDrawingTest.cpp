// Form objects drawn as the preview draws them, each compared pixel for
// pixel with the same shapes drawn by the platform's calls: rounded
// rectangles' corners, matrices' dividers, plain frames and lines; objects
// under others compared with each object drawn in turn.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/drawing/FormPreview.h"
#include "forms/drawing/KernelControls.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/listbox/ListBox.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectIterators.h"
#include "looks/LookManager.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"
#include "resources/caches/APictArray.h"
#include "tests/forms/DrawnPage.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VStr.h"

using namespace platform;

namespace {

constexpr int16_t kSide = 60;

template <class T>
std::unique_ptr<T> Shape(const Rect& r, bool fill, bool frame)
{
    auto o = std::make_unique<T>(nullptr);
    o->bounds[0] = r.top, o->bounds[1] = r.left, o->bounds[2] = r.bottom, o->bounds[3] = r.right;
    o->foreColor = 0x000000;
    o->backColor = 0xFFFFFF;
    o->penWidth = o->penHeight = 1;
    o->hasFillPattern = fill ? 1 : 0;
    o->hasPenPattern = frame ? 1 : 0;
    std::memset(o->penPattern, 0xFF, 8);
    std::memset(o->fillPattern, 0xFF, 8);
    return o;
}

// A group of the objects, drawn after it as the preview draws groups.
std::unique_ptr<LayoutObject> Group(std::vector<std::unique_ptr<LayoutObject>> members)
{
    auto g = std::make_unique<GroupObject>(nullptr);
    for (auto& m : members) g->AddSubObject(m.release());
    return g;
}

// A picture object in r: a black rectangle inset in white.
std::unique_ptr<LayoutObject> Picture(const Rect& r, bool transparent)
{
    auto o = std::make_unique<ImageObject>(nullptr);
    o->bounds[0] = r.top, o->bounds[1] = r.left, o->bounds[2] = r.bottom, o->bounds[3] = r.right;
    o->imageOption1 = transparent ? 1 : 0;
    const int16_t w = int16_t(r.right - r.left), h = int16_t(r.bottom - r.top);
    const Rect inside{4, 4, int16_t(h - 4), int16_t(w - 4)};
    o->SetPict(drawntest::PixelPicture(w, h, [&] { PaintRect(&inside); }));
    return o;
}

TEST(ObjectDrawing, ShapesAsThePlatformDrawsThem)
{
    drawntest::Page page(kSide, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{5, 5, 45, 35};  // 30 wide
    const Rect all{0, 0, kSide, kSide};
    struct Case {
        const char* what;
        std::function<std::unique_ptr<LayoutObject>()> make;
        std::function<void()> expected;  // none: the objects drawn in turn
        uint64_t paintings = 0;          // at most this many paintings write pixels; 0: any
    };
    auto grey = [](std::unique_ptr<RectObject> o) {
        std::memset(o->fillPattern, 0xAA, 8);
        o->foreColor = 0x2040C0;
        return o;
    };
    const Case cases[] = {
        {"a rounded rectangle filled and framed", [&] { return Shape<RoundRectObject>(r, true, true); },
         [&] {
             PaintRoundRect(&r, 15, 15);
             FrameRoundRect(&r, 10, 10);
         }},
        {"a rounded rectangle framed only", [&] { return Shape<RoundRectObject>(r, false, true); },
         [&] { FrameRoundRect(&r, 10, 10); }},
        {"a rectangle framed", [&] { return Shape<RectObject>(r, false, true); }, [&] { FrameRect(&r); }},
        {"a rectangle without pen or fill", [&] { return Shape<RectObject>(r, false, false); }, [] {}},
        {"a matrix of three columns",
         [&] {
             auto m = Shape<MatrixObject>(r, false, true);
             m->columnCount = 3, m->rowCount = 1;
             return m;
         },
         [&] {
             FrameRect(&r);
             for (int16_t x : {15, 25}) MoveTo(x, r.top), LineTo(x, int16_t(r.bottom - 1));
         }},
        {"a matrix of one cell",
         [&] {
             auto m = Shape<MatrixObject>(r, false, true);
             m->columnCount = 1, m->rowCount = 1;
             return m;
         },
         [&] { FrameRect(&r); }},
        {"a matrix of two rows",
         [&] {
             auto m = Shape<MatrixObject>(r, false, true);
             m->columnCount = 1, m->rowCount = 2;
             return m;
         },
         [&] {
             FrameRect(&r);
             MoveTo(r.left, 25), LineTo(int16_t(r.right - 1), 25);
         }},
        {"a matrix of 4,000 columns and rows with a 4,000-pixel pen",
         [&] {
             auto m = Shape<MatrixObject>(r, false, true);
             m->columnCount = m->rowCount = 4000;
             m->penWidth = m->penHeight = 4000;
             return m;
         },
         [&] {
             // A divider on each column and row, the pen reaching past the
             // rectangle on every side but the top left.
             PenSize(4000, 4000);
             FrameRect(&r);
             for (int16_t x = r.left; x < r.right; ++x) MoveTo(x, r.top), LineTo(x, int16_t(r.bottom - 4000));
             for (int16_t y = r.top; y < r.bottom; ++y) MoveTo(r.left, y), LineTo(int16_t(r.right - 4000), y);
         }},
        {"a thousand filled and framed rectangles over the page, shapes under a picture",
         [&] {
             std::vector<std::unique_ptr<LayoutObject>> o;
             for (int i = 0; i < 1000; ++i)
                 o.push_back(i % 2 ? grey(Shape<RectObject>(all, true, true)) : Shape<RectObject>(all, true, true));
             o.push_back(Shape<OvalObject>(r, true, true));
             o.push_back(grey(Shape<RectObject>(r, true, true)));
             o.push_back(Picture(r, false));
             return Group(std::move(o));
         },
         nullptr, 5},
        {"what an oval, a frame, a picture seen through, a bevel and a wide pen leave of what they are over",
         [&] {
             const Rect corner{46, 40, 58, 58}, cell{48, 4, 56, 16};
             std::vector<std::unique_ptr<LayoutObject>> o;
             o.push_back(grey(Shape<RectObject>(all, true, true)));
             o.push_back(Shape<OvalObject>(all, true, true));
             o.push_back(Shape<RectObject>(r, true, true));
             o.push_back(Picture(r, true));
             o.push_back(Shape<RectObject>(r, false, true));
             o.push_back(Shape<RectObject>(corner, true, true));
             auto bevel = grey(Shape<RectObject>(corner, true, true));
             bevel->penWidth = -1;
             o.push_back(std::move(bevel));
             auto matrix = Shape<MatrixObject>(cell, false, true);
             matrix->columnCount = 3, matrix->penWidth = matrix->penHeight = 6;
             o.push_back(std::move(matrix));
             o.push_back(Shape<RectObject>(cell, true, false));
             return Group(std::move(o));
         },
         nullptr},
    };
    for (const Case& c : cases) {
        std::unique_ptr<LayoutObject> o = c.make();
        const uint64_t before = PixelWriteCount();
        const auto drawn = page.Drawn([&] { DrawObjectChain(o.get(), nullptr, 0, 0); });
        if (c.paintings) {
            EXPECT_LE(PixelWriteCount() - before, c.paintings + 1) << c.what << " (and the page erased)";
        }
        const auto expected = page.Drawn(c.expected ? c.expected : [&] {
            for (LayoutObjectIterator it(o.get(), false, true, false); it.Current(); it.SetNext())
                it.Current()->DrawObject(nullptr, 0, 0);
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << c.what;
    }
    // Moved by (dh, dv): the same frame further on.
    auto moved = Shape<RectObject>(r, false, true);
    Rect shifted = r;
    OffsetRect(&shifted, 7, 3);
    EXPECT_EQ(page.Differ(page.Drawn([&] { moved->DrawObject(nullptr, 7, 3); }),
                          page.Drawn([&] { FrameRect(&shifted); })),
              "");
}

}  // namespace

namespace {

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

TEST(ObjectDrawing, AVariablesTitleByDrawingMode)
{
    const int16_t app = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(app, 0);
    InstallFormModelHooks();
    LayoutEditor model(1, 0, 0);
    struct Case {
        const char* stored;
        int16_t mode;
        bool inModel;
        const char* shown;
    };
    const Case cases[] = {
        {"Print", 0, true, "Print"},
        {"Print", kDrawNames, true, "bPrint"},
        {":1010,2", kDrawResolved, true, "Outline"},
        {":1010,2", 0, true, ":1010,2"},
        {":1010,9", kDrawResolved, true, ":1010,9"},  // a missing item stays as written
        {":1010,2", kDrawResolved, false, ":1010,2"},  // outside a form model, as stored
    };
    const int16_t saved = varDrawingMode;
    for (const Case& c : cases) {
        VarObject button(c.inModel ? &model : nullptr);
        unsigned char p[256];
        SetP(p, c.stored);
        button.SetDisplayFormat(p);
        SetP(p, "bPrint");
        button.SetVarName(p);
        varDrawingMode = c.mode;
        unsigned char out[256];
        button.GetVarTexte(out);
        EXPECT_EQ(Text(out), c.shown) << c.stored << " in mode " << c.mode;
    }
    varDrawingMode = saved;
    ResetFormModelHooks();
    CloseResFile(app);
}

}  // namespace

namespace {

TEST(ObjectDrawing, ButtonsArePaintedAsTheirLooksPaintThem)
{
    VPainter::Init();
    InstallFormModelHooks();
    drawntest::Page page(kSide, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{2, 3, 22, 57};
    unsigned char title[] = "\x02OK";
    VStr<255> text;
    text.FromPString(title, kCharSetMac);
    for (int16_t look : {1, 2, 4}) {
        LayoutEditor model(1, 0, 0);
        model.fLookHandler = VI_Manager::GetHandler(look);
        VarObject button(&model);
        button.bounds[0] = r.top, button.bounds[1] = r.left, button.bounds[2] = r.bottom, button.bounds[3] = r.right;
        button.SetSousType(2, true);
        button.SetDisplayFormat(title);
        const auto drawn = page.Drawn([&] { button.DrawObject(&model, 0, 0); });
        const auto painted = page.Drawn([&] {
            GrafPtr port = nullptr;
            GetPort(&port);
            auto* world = reinterpret_cast<GWorldPtr>(port);
            VPainter painter(world, false);
            painter.SetLook(look);
            painter.BeginPaint(world);
            GetLookHandler(look)->Paint(&painter, kPaintPushButton, kStatusNormal, 3, 2, 54, 20, &text, nullptr);
            painter.EndPaint();
        });
        EXPECT_EQ(page.Differ(drawn, painted), "") << "look " << look;
    }
    ResetFormModelHooks();
    ResetLookHandlers();
}

}  // namespace

namespace {

TEST(ObjectDrawing, AListBoxIsItsFrameWithTheColumnTitlesInAHeaderRow)
{
    drawntest::Page page(kSide * 2, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{5, 5, 55, 105};  // 100 wide
    struct Case {
        std::vector<std::string> titles;
    };
    const Case cases[] = {{{}}, {{"Product"}}, {{"Product", "Qty"}}, {{"A", "", "C"}}};
    for (const Case& c : cases) {
        VLayoutGrid grid(nullptr);
        grid.bounds[0] = r.top, grid.bounds[1] = r.left, grid.bounds[2] = r.bottom, grid.bounds[3] = r.right;
        for (const std::string& t : c.titles) {
            grid.AddColumn();
            unsigned char p[256];
            SetP(p, t);
            grid.GetGridView().GetColumnHeader(grid.GetGridColumnCount())->SetTitle(p);
        }
        const auto drawn = page.Drawn([&] { grid.DrawObject(nullptr, 0, 0); });
        const auto expected = page.Drawn([&] {
            myTextFont(0);
            TextSize(0);
            TextFace(0);
            FontInfo fi{};
            GetFontInfo(&fi);
            FrameRect(&r);
            const int16_t header = int16_t(r.top + fi.ascent + fi.descent + fi.leading + 4);
            MoveTo(r.left, header), LineTo(int16_t(r.right - 1), header);
            const int n = int(c.titles.size());
            for (int i = 0; i < n; ++i) {
                const int16_t left = int16_t(r.left + 100 * i / n);
                if (i > 0) MoveTo(left, r.top), LineTo(left, int16_t(r.bottom - 1));
                const Rect cell{r.top, left, header, int16_t(r.left + 100 * (i + 1) / n)};
                ClipRect(&cell);
                MoveTo(int16_t(left + 3), int16_t(r.top + 2 + fi.ascent));
                DrawText(c.titles[size_t(i)].data(), 0, int16_t(c.titles[size_t(i)].size()));
                const Rect all{0, 0, kSide, int16_t(kSide * 2)};
                ClipRect(&all);
            }
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << c.titles.size() << " columns";
    }
}

}  // namespace

namespace {

TEST(ObjectDrawing, PicturesMissingOrGivenByTheApplication)
{
    const int16_t app = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_GT(app, 0);
    drawntest::Page page(kSide * 2, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{10, 10, 40, 110};
    auto place = [&](LayoutObject* o) {
        o->bounds[0] = r.top, o->bounds[1] = r.left, o->bounds[2] = r.bottom, o->bounds[3] = r.right;
        o->foreColor = 0x000000, o->backColor = 0xFFFFFF;
    };
    auto frame = [&] {
        ForeColor(blackColor);
        PenNormal();
        FrameRect(&r);
    };
    // A picture object without picture: a grey 9-pixel cross at its corner
    // (the part inside it) and a black frame; with a look style nothing.
    {
        ImageObject none(nullptr);
        place(&none);
        const auto drawn = page.Drawn([&] { none.DrawObject(nullptr, 0, 0); });
        const auto expected = page.Drawn([&] {
            const RGBColor grey{0x8080, 0x8080, 0x8080};
            RGBForeColor(&grey);
            MoveTo(r.left, r.top), LineTo(int16_t(r.left + 4), r.top);
            MoveTo(r.left, r.top), LineTo(r.left, int16_t(r.top + 4));
            frame();
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << "no picture";
        none.lookStyle = 1;
        EXPECT_EQ(page.Differ(page.Drawn([&] { none.DrawObject(nullptr, 0, 0); }), page.Drawn([] {})), "")
            << "no picture, a look style";
    }
    // A library picture the structure does not hold: item 1 of 679 in red,
    // font 1 size 9, 4 pixels in, and a black frame.
    {
        LibraryImageObject missing(nullptr);
        place(&missing);
        missing.SetPictID(29999);
        const auto drawn = page.Drawn([&] { missing.DrawObject(nullptr, 0, 0); });
        const auto expected = page.Drawn([&] {
            ClipRect(&r);
            unsigned char text[256];
            GetIndString(text, 679, 1);
            ASSERT_GT(text[0], 0);
            TextFont(1), TextSize(9), TextFace(normal);
            ForeColor(redColor);
            FontInfo fi{};
            GetFontInfo(&fi);
            MoveTo(int16_t(r.left + 4), int16_t(r.top + 4 + fi.ascent));
            DrawString(text);
            frame();
            const Rect all{0, 0, kSide, int16_t(kSide * 2)};
            ClipRect(&all);
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << "missing library picture";
        ResetStaticPicts();
    }
    // Chart and plug-in areas: the application's 'PICT' 6001 and 6015.
    for (const auto& [kind, id] : {std::pair<int32_t, int16_t>{10, 6001}, {11, 6015}}) {
        VarObject area(nullptr);
        place(&area);
        area.SetSousType(kind, true);
        const auto drawn = page.Drawn([&] { area.DrawObject(nullptr, 0, 0); });
        const auto expected = page.Drawn([&, id = id] {
            Handle pict = GetPicture(id);
            ASSERT_NE(pict, nullptr);
            DrawPicture(pict, &r);
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << "sub-type " << kind;
    }
    CloseResFile(app);
}

}  // namespace

namespace {

TEST(ObjectDrawing, ASubformShowsTheScrollBarsItsFlagsAsk)
{
    drawntest::Page page(kSide * 2, kSide * 2);
    ASSERT_TRUE(page.Made());
    const Rect r{5, 5, 60, 80};
    struct Case {
        uint8_t flags;
        bool vertical, horizontal;
    };
    const Case cases[] = {{0x00, false, false}, {0x02, true, false}, {0x04, false, true}, {0x06, true, true}};
    VI_Handler* plain = VI_Manager::GetHandler(0);
    for (const Case& c : cases) {
        SubFormObject subform(nullptr);
        subform.bounds[0] = r.top, subform.bounds[1] = r.left, subform.bounds[2] = r.bottom, subform.bounds[3] = r.right;
        subform.subformFlags = uint16_t(c.flags << 8);
        const auto drawn = page.Drawn([&] { subform.DrawObject(nullptr, 0, 0); });
        const auto expected = page.Drawn([&] {
            FrameRect(&r);
            if (c.vertical) plain->DrawFakeScrollBar(Rect{r.top, r.right, r.bottom, int16_t(r.right + 16)});
            if (c.horizontal) plain->DrawFakeScrollBar(Rect{r.bottom, r.left, int16_t(r.bottom + 16), r.right});
        });
        EXPECT_EQ(page.Differ(drawn, expected), "") << "flags " << int(c.flags);
    }
    EXPECT_EQ(GetScrollBarSize(), 16);
}

// The frame sub-types of a variable: drawn as the platform frames them,
// and, like a chart area, left without a style sheet; other sub-types keep
// theirs.
TEST(ObjectDrawing, FrameVariablesAndTheStyleSheetTheyDrop)
{
    drawntest::Page page(kSide, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{5, 5, 45, 35};
    struct Case {
        int16_t subType;
        std::function<void()> expected;  // null: not compared
        int16_t styleAfter;
    };
    const Case cases[] = {
        {8, [&] { FrameRect(&r); }, -1},
        {9, [&] { PenSize(2, 2), FrameRect(&r); }, -1},
        {7, [&] { Pattern grey; PenPat(GetQDGlobalsGray(&grey)), FrameRect(&r); }, -1},
        {30, [&] { Pattern grey; PenPat(GetQDGlobalsGray(&grey)), FrameRect(&r); }, -1},
        {10, nullptr, -1},
        {3, nullptr, 4},
    };
    for (const Case& c : cases) {
        auto v = std::make_unique<VarObject>(nullptr);
        v->bounds[0] = r.top, v->bounds[1] = r.left, v->bounds[2] = r.bottom, v->bounds[3] = r.right;
        v->subType = c.subType;
        v->styleSheet = 4;
        const auto drawn = page.Drawn([&] { v->DrawObject(nullptr, 0, 0); });
        if (c.expected) {
            EXPECT_EQ(page.Differ(drawn, page.Drawn(c.expected)), "") << "sub-type " << c.subType;
        }
        EXPECT_EQ(v->styleSheet, c.styleAfter) << "sub-type " << c.subType;
    }
}

}  // namespace

namespace {

// Variables drawn by sub-type and look through the kernel's control
// drawings, each equal to that drawing of the variable's own record; the
// sub-types without a control draw nothing; with a look style, a frame
// variable is then painted over by its look's edge.
TEST(ObjectDrawing, VariablesThroughTheKernelsControlDrawings)
{
    VPainter::Init();
    InstallFormModelHooks();
    drawntest::Page page(kSide, kSide);
    ASSERT_TRUE(page.Made());
    const Rect r{5, 5, 25, 55};
    const unsigned char none[] = "";
    using Expected = std::function<void(const LienObj&)>;
    const Expected combo = [&](const LienObj& rec) { DrawComboInStruct(&rec, none); };
    const Expected popup = [&](const LienObj& rec) { DrawPopupInStruct(&rec, none, none); };
    const Expected nothing = [](const LienObj&) {};
    const Expected frame = [&](const LienObj& rec) { Draw3DFrameInStruct(&rec, r, nullptr); };
    struct Case {
        int16_t subType, look, lookStyle;
        Expected expected;
        int16_t styleAfter;
    };
    const Case cases[] = {
        {21, 2, 0, combo, 4},
        {25, 2, 0, combo, 4},
        {22, 2, 0, [](const LienObj& rec) { DrawButtonGridInStruct(&rec); }, -1},
        {18, 2, 0, frame, 4},
        {19, 2, 0, frame, 4},
        {20, 2, 0, frame, 4},
        {5, 1, 0, popup, 4},
        {24, 2, 0, popup, 4},
        {5, 7, 0, nothing, 4},  // no pop-up in that look
        {26, 1, 0, popup, 4},
        {26, 2, 0, combo, 4},
        {17, 2, 0, nothing, 4},
        {27, 2, 0, nothing, 4},
        {19, 2, 1,
         [&](const LienObj& rec) {
             Draw3DFrameInStruct(&rec, r, nullptr);
             GrafPtr port = nullptr;
             GetPort(&port);
             auto* world = reinterpret_cast<GWorldPtr>(port);
             VPainter painter(world, false);
             painter.SetLook(2);
             painter.BeginPaint(world);
             GetLookHandler(2)->Paint(&painter, kPaintRaisedEdge, kStatusNormal, 5, 5, 50, 20, nullptr, nullptr);
             painter.EndPaint();
         },
         4},
    };
    for (const Case& c : cases) {
        LayoutEditor model(1, 0, 0);
        model.fLookHandler = VI_Manager::GetHandler(c.look);
        VarObject v(&model);
        v.bounds[0] = r.top, v.bounds[1] = r.left, v.bounds[2] = r.bottom, v.bounds[3] = r.right;
        v.subType = c.subType;
        v.lookStyle = c.lookStyle;
        v.styleSheet = 4;
        LienObj rec;
        v.BuildLienObj(&rec, r);
        const auto drawn = page.Drawn([&] { v.DrawObject(&model, 0, 0); });
        EXPECT_EQ(page.Differ(drawn, page.Drawn([&] { c.expected(rec); })), "")
            << "sub-type " << c.subType << " in look " << c.look << ", look style " << c.lookStyle;
        EXPECT_EQ(v.styleSheet, c.styleAfter) << "sub-type " << c.subType;
    }
    ResetFormModelHooks();
    ResetLookHandlers();
}

}  // namespace
