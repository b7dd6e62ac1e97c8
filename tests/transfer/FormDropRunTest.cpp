// The program's run of the demo's form Summary dragged alone onto the
// demo's second structure Parts (run_transfer_drop.sh with
// QZ_DROP_SUITE=FormDropRun). The plan finds the rows and the drop point as
// the program will lay them out; the check reads the saved Parts: the copy
// lands in a table of Parts, every object it names is Parts' own (the
// style sheet Titles Parts holds under another id), Parts' window as the
// program left it matches the screenshot, and the copy's preview, shown
// by the program after the copy, is the source's pixel for pixel. Skipped
// when not given a run.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/longlist/LongList.h"
#include "browser/CallPanes.h"
#include "forms/drawing/FormPreview.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "kernel/formhooks/FormServices.h"
#include "kernel/startup/KernelGlobals.h"
#include "looks/LookManager.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"
#include "tests/forms/DrawnPage.h"
#include "tests/transfer/DemoPairFixture.h"
#include "toolbox/drawing/VPainter.h"

using namespace platform;

namespace transfertest {
namespace {

class FormDropRun : public DemoPair {
protected:
    // Both documents of QZ_DEMO_PAIR read and their windows made as the
    // program makes them; false when the run gave none.
    bool OpenPair(TRefWindow** demo, TRefWindow** parts)
    {
        const char* pair = std::getenv("QZ_DEMO_PAIR");
        if (!pair) return false;
        const std::string paths(pair);
        *demo = OpenAsProgram(&doc_, paths.substr(0, paths.find(':')));
        *parts = OpenAsProgram(&other_, paths.substr(paths.find(':') + 1));
        return *demo && *parts;
    }

    static browser::TLstPlane* MainList(TRefWindow* window)
    {
        for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) return static_cast<browser::TLstPlane*>(p);
        return nullptr;
    }
    static int16_t FormOf(TObjQz* table, const char* name)
    {
        auto* t = dynamic_cast<TFileObjQz*>(table);
        for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
            if (readtest::P(t->forms->At(i)->name) == name) return t->forms->At(i)->id;
        return -1;
    }
    static TObjQz* Selected(browser::TLstPlane* list)
    {
        return static_cast<TObjQz*>(LongLRowObject(list->CurrentRow(), list->fList));
    }
    static void TypeInto(browser::TLstPlane* list, const std::string& name)
    {
        EventRecord event{};
        event.what = keyDown;
        for (char c : name) {
            event.message = uint8_t(c);
            event.when += 2;
            list->key(event);
        }
    }
    static void Shot(const std::string& file, PictPixels* shot)
    {
        std::vector<uint8_t> png;
        ASSERT_EQ(ReadWholeFile(file, &png), noErr) << file;
        ASSERT_EQ(DecodePng(png.data(), png.size(), shot), ImageReadResult::Ok) << file;
    }
    // Forms previewed offscreen as the program previews them (its start-up
    // installs the same hooks).
    struct FormPreviews {
        static constexpr int16_t kSide = 700;
        int16_t width = 0, height = 0;
        FormPreviews()
        {
            VPainter::Init();
            InstallFormModelHooks();
            InitVI();
            InstallStaticPictures();
            SetFormPreviewProc(FormPagePreview);
            // Fields named by their table, its name in the kernel's brackets.
            LoadTokenStrings();
            MyApplFont = GetResFont(0);
            MyApplSize = GetResSize(0);
        }
        ~FormPreviews()
        {
            SetFormPreviewProc(nullptr);
            ResetFormModelHooks();
            SetGetStaticPictProc(nullptr);
        }
        std::vector<uint32_t> Drawn(TObjQz* form)
        {
            const Rect big{0, 0, kSide, kSide};
            drawntest::Page world(kSide, kSide);
            Handle display = nullptr;
            int16_t pageMin = 0, pageMax = 0, page = 1;
            width = height = 0;
            std::vector<uint32_t> drawn = world.Drawn([&] {
                if (form->InitDisplay(&display, big, &width, &height, &pageMin, &pageMax, &page, false) != 0) return;
                form->Display(display, big);
                form->DisposeDisplay(&display);
            });
            return width > 0 && height > 0 ? drawn : std::vector<uint32_t>{};
        }
    };
    // The preview `drawn` (FormPreviews::kSide square, `width` x `height`
    // of it used) found on the screenshot by its first rows that hold more
    // than the background; every row the pane shows must equal it.
    static void ShownOnShot(const std::vector<uint32_t>& drawn, int16_t width, int16_t height, const PictPixels& shot)
    {
        constexpr int32_t kSide = FormPreviews::kSide, kAnchorRows = 12;
        width = std::min<int16_t>(width, kSide);
        ASSERT_GT(height, kAnchorRows);
        auto same = [&](int32_t x0, int32_t y0, int32_t top, int32_t bottom, int32_t w) {
            for (int32_t v = top; v < bottom; ++v)
                for (int32_t h = 0; h < w; ++h)
                    if (drawn[size_t(v * kSide + h)] != (shot.RGBAt(x0 + h, y0 + v) & 0xFFFFFF)) return false;
            return true;
        };
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
        ASSERT_GE(x0, 0) << "the preview's first rows are nowhere on the screenshot";
        // Every row down to the pane's bottom (the window's scroll bar row),
        // left of the pane's scroll bar.
        const int32_t shownWidth = std::min<int32_t>(width, int32_t(shot.width()) - 21 - x0);
        const int32_t shownRows = std::min<int32_t>(height, int32_t(shot.height()) - 22 - y0);
        ASSERT_GT(shownRows, 100);
        for (int32_t v = 0; v < shownRows; ++v)
            EXPECT_TRUE(same(x0, y0, v, v + 1, shownWidth)) << "the preview's row " << v << " differs";
    }
    static Point Global(TRefWindow* window, Point local)
    {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(window->fWindow);
        LocalToGlobal(&local);
        SetPort(saved);
        return local;
    }
};

TEST_F(FormDropRun, Plan)
{
    const char* plan = std::getenv("QZ_DROP_PLAN");
    TRefWindow *demo = nullptr, *parts = nullptr;
    if (!plan || !OpenPair(&demo, &parts)) GTEST_SKIP() << "plans the form drop run";
    browser::TLstPlane* from = MainList(demo);
    browser::TLstPlane* to = MainList(parts);
    ASSERT_NE(from, nullptr);
    ASSERT_NE(to, nullptr);
    TypeInto(from, "Summary");
    ASSERT_EQ(Selected(from)->kind, 24);
    ASSERT_EQ(readtest::P(Selected(from)->name), "Summary");
    // The row's drag box: the icon column after the disclosure column. The
    // demo's window is first dragged aside by its title bar, so that Parts'
    // list lies open to the drop.
    constexpr int16_t kAside = 640;
    const Rect cell = GetCellRect(from->CurrentRow(), from->fList);
    Point grab = Global(demo, Point{int16_t(cell.top + 8), int16_t(cell.left + 24)});
    grab.h = int16_t(grab.h + kAside);
    Rect list{}, header{}, popUp{};
    to->GetBox(&list, &header, &popUp);
    const Point drop = Global(parts, Point{int16_t(list.top + 40), int16_t((list.left + list.right) / 2)});
    const Rect demoBar = TitleBarRect(*demo->fWindow);
    const Point demoTitle{int16_t((demoBar.top + demoBar.bottom) / 2), int16_t(demoBar.right - 40)};
    const Rect partsBar = TitleBarRect(*parts->fWindow);
    const Point partsTitle{int16_t((partsBar.top + partsBar.bottom) / 2), int16_t((partsBar.left + partsBar.right) / 2)};
    const Rect zoomBox = ZoomBoxRect(*parts->fWindow);
    const Point zoom{int16_t((zoomBox.top + zoomBox.bottom) / 2), int16_t((zoomBox.left + zoomBox.right) / 2)};
    Rect partsFrame{};
    GetWindowBounds(parts->fWindow, kWindowStructureRgn, &partsFrame);
    ASSERT_GT(demoTitle.h + kAside - (demoTitle.h - demoBar.left), partsFrame.right);

    std::ofstream out(plan);
    out << "# Written by the checker's plan: the demo dragged aside and in front,\n"
        << "# its form Summary selected and dragged alone onto Parts' list; Return\n"
        << "# accepts the conflicts; Parts then selects the copy, previews it and is\n"
        << "# saved.\n"
        << "move 1275 795\nidle\nwait 600\nidle\n"
        << "drag " << demoTitle.h << " " << demoTitle.v << " " << demoTitle.h + kAside << " " << demoTitle.v << " 20\n"
        << "wait 10\nidle\n"
        << "type \"Summary\"\nwait 30\nidle\n"
        << "drag " << grab.h << " " << grab.v << " " << drop.h << " " << drop.v << " 30\n"
        << "wait 30\nidle\n"
        << "key return\nwait 60\nidle\n"
        << "click " << partsTitle.h << " " << partsTitle.v << "\nwait 10\nidle\n"
        << "type \"Summary\"\nwait 30\nidle\nmove 1275 795\nidle\n"
        << "screenshot copied.png\n"
        << "# Parts zoomed, then Return shows the selected copy in the preview pane.\n"
        << "click " << zoom.h << " " << zoom.v << "\nwait 30\nidle\n"
        << "key return\nwait 30\nidle\nmove 1275 795\nidle\n"
        << "screenshot preview.png\nchoose 1\nend\n";
}

TEST_F(FormDropRun, Check)
{
    const char* work = std::getenv("QZ_DEMO_SCREENS");
    TRefWindow *demo = nullptr, *parts = nullptr;
    if (!work || !OpenPair(&demo, &parts)) GTEST_SKIP() << "checks the form drop run";

    // The copy, in a table of Parts, with its object method moved there.
    browser::TLstPlane* list = MainList(parts);
    ASSERT_NE(list, nullptr);
    parts->SelectTWindow();
    TypeInto(list, "Summary");
    auto* copy = dynamic_cast<TLayoutObjQz*>(Selected(list));
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(readtest::P(copy->name), "Summary");
    ASSERT_NE(copy->ownerObj, nullptr);
    EXPECT_EQ(copy->ownerObj->owner, &other_);
    // Everything it names is Parts' own: the picture and the style sheet
    // that Parts holds under the demo's names are its own ids.
    std::set<std::string> uses;
    for (int32_t i = 0; copy->uses && i < copy->uses->Size(); ++i) {
        TObjQz* used = copy->uses->At(i);
        EXPECT_EQ(used->owner, &other_) << readtest::P(used->name);
        uses.insert(std::to_string(used->kind) + ":" + readtest::P(used->name) + ":" + std::to_string(used->id));
    }
    const auto named = [&](int16_t kind, const char* name) {
        TObjQz* obj = SearchObj_Name(&other_, kind, reinterpret_cast<const unsigned char*>((std::string(1, char(std::strlen(name))) + name).c_str()));
        return obj ? std::to_string(kind) + ":" + name + ":" + std::to_string(obj->id) : std::string("none");
    };
    // Pictures go by id: the demo's Logo (1) meets Parts' Spacer, whose
    // id the static picture now names; style sheets go by name.
    EXPECT_TRUE(uses.count(named(18, "Spacer"))) << named(18, "Spacer");
    EXPECT_FALSE(uses.count(named(18, "Logo")));
    EXPECT_TRUE(uses.count(named(19, "Titles"))) << named(19, "Titles");
    EXPECT_NE(named(19, "Titles"), "19:Titles:" + std::to_string(SearchObj_Name(&doc_, 19, reinterpret_cast<const unsigned char*>("\x06Titles"))->id));
    EXPECT_TRUE(uses.count("28:Total:" + std::to_string(SearchListObj_Name(copy->ownerObj->members, reinterpret_cast<const unsigned char*>("\x05Total"))->id)));

    // The inherited form came with it, and with that form's button method
    // the project method it calls: Print_Invoice is among the copies.
    TObjQz* print = SearchObj_Name(&other_, 2, reinterpret_cast<const unsigned char*>("\x0DPrint_Invoice"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(uses.count("24:Invoice:" + std::to_string(FormOf(copy->ownerObj, "Invoice"))));
    // Its uses pane lists Parts' objects alone.
    auto* usesPane = dynamic_cast<browser::TRefPlane*>(list->fUses);
    ASSERT_NE(usesPane, nullptr);
    ASSERT_GT(usesPane->fList->rowCount, 0);
    for (int32_t r = 0; r < usesPane->fList->rowCount; ++r) {
        auto* row = static_cast<TObjQz*>(LongLRowObject(r, usesPane->fList));
        EXPECT_EQ(row->owner, &other_) << readtest::P(row->name);
    }

    // Parts' window as the program left it: the main list's rows down to
    // the copy, selected, and the uses pane, pixel for pixel.
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(parts->fWindow);
    list->update();
    usesPane->update();
    SetPort(saved);
    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    PictPixels shot;
    Shot(std::string(work) + "/copied.png", &shot);
    ASSERT_FALSE(HasFailure());
    Rect rows{}, header{}, popUp{}, usesRows{};
    list->GetBox(&rows, &header, &popUp);
    rows.bottom = GetCellRect(list->CurrentRow(), list->fList).bottom;
    usesPane->GetBox(&usesRows, &header, &popUp);
    for (const auto& [area, pane] : {std::pair{rows, "main list"}, std::pair{usesRows, "uses pane"}}) {
        const Point tl = Global(parts, Point{area.top, area.left});
        const Point br = Global(parts, Point{area.bottom, area.right});
        int32_t differ = 0;
        for (int16_t v = tl.v; v < br.v; ++v)
            for (int16_t h = tl.h; h < br.h; ++h)
                if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                    ADD_FAILURE() << "Parts' " << pane << " differs at (" << h - tl.h << ", " << v - tl.v << ")";
        EXPECT_EQ(differ, 0) << pane;
    }

    // The copy previewed: what the program showed is the copy's preview
    // built here, every shown row pixel for pixel; and that is the
    // source's in the same look but for the lines of text that name the
    // fields by their table, which is now the copy's table (Parts' own
    // Invoices numbers its fields otherwise, so the form's table comes
    // under a new name).
    auto* invoices = dynamic_cast<TFileObjQz*>(SearchObj_Name(&doc_, 1, reinterpret_cast<const unsigned char*>("\x08Invoices")));
    ASSERT_NE(invoices, nullptr);
    TObjQz* source = SearchListObj_Name(invoices->forms, reinterpret_cast<const unsigned char*>("\x07Summary"));
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(readtest::P(copy->ownerObj->name), "Invoices_2");
    FormPreviews previews;
    const std::vector<uint32_t> sourceDrawn = previews.Drawn(source);
    const int16_t width = previews.width, height = previews.height;
    const std::vector<uint32_t> copyDrawn = previews.Drawn(copy);
    ASSERT_FALSE(sourceDrawn.empty());
    EXPECT_EQ(previews.width, width);
    EXPECT_EQ(previews.height, height);
    // Each run of rows that differ is one line of text high.
    int32_t runs = 0, runStart = -1;
    for (int32_t v = 0; v <= FormPreviews::kSide; ++v) {
        bool differs = false;
        for (int32_t h = 0; v < FormPreviews::kSide && h < FormPreviews::kSide && !differs; ++h)
            differs = sourceDrawn[size_t(v * FormPreviews::kSide + h)] != copyDrawn[size_t(v * FormPreviews::kSide + h)];
        if (differs && runStart < 0) runStart = v;
        if (!differs && runStart >= 0) {
            ++runs;
            EXPECT_LT(v - runStart, 16) << "rows " << runStart << " to " << v - 1 << " differ";
            runStart = -1;
        }
    }
    EXPECT_GE(runs, 1) << "the table's new name is drawn";
    PictPixels previewShot;
    Shot(std::string(work) + "/preview.png", &previewShot);
    ASSERT_FALSE(HasFailure());
    ShownOnShot(copyDrawn, width, height, previewShot);
}

}  // namespace
}  // namespace transfertest
