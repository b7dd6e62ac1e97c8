// The program's run of the demo's form Summary dragged alone onto the
// demo's second structure Parts (run_transfer_drop.sh with
// QZ_DROP_SUITE=FormDropRun). The plan finds the rows and the drop point as
// the program will lay them out; the check reads the saved Parts: the copy
// lands in a table of Parts, every object it names is Parts' own (the
// style sheet Titles Parts holds under another id), and Parts' window as
// the program left it matches the screenshot. Skipped when not given a run.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/longlist/LongList.h"
#include "browser/CallPanes.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"
#include "tests/transfer/DemoPairFixture.h"

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
        return static_cast<TObjQz*>(LongLRowObject(list->fCurrent, list->fList));
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
    const Rect cell = GetCellRect(from->fCurrent, from->fList);
    Point grab = Global(demo, Point{int16_t(cell.top + 8), int16_t(cell.left + 24)});
    grab.h = int16_t(grab.h + kAside);
    Rect list{}, header{}, popUp{};
    to->GetBox(&list, &header, &popUp);
    const Point drop = Global(parts, Point{int16_t(list.top + 40), int16_t((list.left + list.right) / 2)});
    const Rect demoBar = TitleBarRect(*demo->fWindow);
    const Point demoTitle{int16_t((demoBar.top + demoBar.bottom) / 2), int16_t(demoBar.right - 40)};
    const Rect partsBar = TitleBarRect(*parts->fWindow);
    const Point partsTitle{int16_t((partsBar.top + partsBar.bottom) / 2), int16_t((partsBar.left + partsBar.right) / 2)};
    Rect partsFrame{};
    GetWindowBounds(parts->fWindow, kWindowStructureRgn, &partsFrame);
    ASSERT_GT(demoTitle.h + kAside - (demoTitle.h - demoBar.left), partsFrame.right);

    std::ofstream out(plan);
    out << "# Written by the checker's plan: the demo dragged aside and in front,\n"
        << "# its form Summary selected and dragged alone onto Parts' list; Return\n"
        << "# accepts the conflicts; Parts then selects the copy and is saved.\n"
        << "move 1275 795\nidle\nwait 600\nidle\n"
        << "drag " << demoTitle.h << " " << demoTitle.v << " " << demoTitle.h + kAside << " " << demoTitle.v << " 20\n"
        << "wait 10\nidle\n"
        << "type \"Summary\"\nwait 30\nidle\n"
        << "drag " << grab.h << " " << grab.v << " " << drop.h << " " << drop.v << " 30\n"
        << "wait 30\nidle\nkey return\nwait 60\nidle\n"
        << "click " << partsTitle.h << " " << partsTitle.v << "\nwait 10\nidle\n"
        << "type \"Summary\"\nwait 30\nidle\nmove 1275 795\nidle\n"
        << "screenshot copied.png\nchoose 1\nend\n";
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
    // Parts' window as the program left it: the main list's rows down to
    // the copy, selected, pixel for pixel (the rows after it and the uses
    // pane show a string list the copy brought, which the saved Parts
    // names otherwise when read again).
    auto* usesPane = dynamic_cast<browser::TRefPlane*>(list->fUses);
    ASSERT_NE(usesPane, nullptr);
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/copied.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(parts->fWindow);
    list->update();
    usesPane->update();
    SetPort(saved);
    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    Rect rows{}, header{}, popUp{};
    list->GetBox(&rows, &header, &popUp);
    rows.bottom = GetCellRect(list->fCurrent, list->fList).bottom;
    const Point tl = Global(parts, Point{rows.top, rows.left});
    const Point br = Global(parts, Point{rows.bottom, rows.right});
    int32_t differ = 0;
    for (int16_t v = tl.v; v < br.v; ++v)
        for (int16_t h = tl.h; h < br.h; ++h)
            if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                ADD_FAILURE() << "Parts' main list differs at (" << h - tl.h << ", " << v - tl.v << ")";
    EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace transfertest
