// The screenshots of the program's demo run (run_browser_demo.sh) read back
// row by row: the demo opened here the way the program opens it gives the
// window, its panes and their rows; each visible row of the screenshot must
// show its kind's colour icon and its label drawn in the list font, pixel
// for pixel as drawn into an offscreen world. Skipped when not given a run.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/DocSupport.h"
#include "app/longlist/LongList.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/WholeFile.h"
#include "platform/icons/Icons.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace browsertest {
namespace {

// The method the run selects by typing its name.
constexpr const char* kMethod = "Close_Invoice";

struct Shot {
    PictPixels pixels;
    bool Load(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        return ReadWholeFile(path, &bytes) == noErr &&
               DecodePng(bytes.data(), bytes.size(), &pixels) == ImageReadResult::Ok;
    }
};

std::string Name(TObjQz* obj)
{
    unsigned char n[256];
    obj->GetName(n);
    return readtest::P(n);
}

// How a list draws one row: where its icon goes, which icon, and how its
// label is drawn from where.
struct RowLook {
    Rect icon;
    int16_t iconId;
    Rect label;
    Point pen;
    const unsigned char* prefix;
    const unsigned char* text;
    StyleField face;
    bool red;
};

class DemoScreens : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        browser::InstallBrowserPanes();
        transfer::InstallModuleManager();
    }
    void TearDown() override
    {
        while (TWindow* w = doc_.fFirstWindow) {
            doc_.RemoveWindow(w);
            w->Dispose();
        }
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }

    // The browser window as the program opens a structure: its kind list
    // sorted, the window at the application's first place.
    TRefWindow* OpenAsProgram(const std::string& path)
    {
        Open(path);
        EXPECT_EQ(Read(), 0);
        if (ObjListHdl l = List(3)) ShellStrictSort(l);
        MyAppl->fDefaultRect = DefaultWindowRect();
        Rect r = MyAppl->fDefaultRect;
        EXPECT_EQ(doc_.NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
        return doc_.GetRefWindow();
    }

    // Compares the screenshot with the look drawn offscreen; the message
    // names the pane and the row.
    void CheckRow(const Shot& shot, TRefWindow* window, const LongListRec* list, const RowLook& look,
                  const std::string& where)
    {
        const Rect cell = RowOf(list, look);
        GWorldPtr world = nullptr;
        ASSERT_EQ(NewGWorld(&world, 32, &cell, nullptr, nullptr, 0), 0);
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(world, nullptr);
        EraseRect(&cell);
        if (CIconHandle h = GetCIcon(look.iconId)) {
            PlotCIcon(&look.icon, h);
            DisposeCIcon(h);
        }
        TextFont(GetResFont(0));
        TextSize(GetResSize(0));
        MoveTo(look.pen.h, look.pen.v);
        if (look.prefix[0]) {
            TextFace(StyleField(italic | look.face));
            ForeColor(blackColor);
            DrawString(look.prefix);
        }
        TextFace(look.face);
        if (look.red) {
            const RGBColor red{0xFFFF, 0, 0};
            RGBForeColor(&red);
        } else {
            ForeColor(blackColor);
        }
        DrawString(look.text);
        SetGWorld(savedPort, savedDevice);

        const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        SetPortWindowPort(window->fWindow);
        auto compare = [&](Rect part, const char* what) {
            part.right = std::min(part.right, list->rView.right);
            for (int16_t v = part.top; v < part.bottom; ++v)
                for (int16_t h = part.left; h < part.right; ++h) {
                    Point global{v, h};
                    LocalToGlobal(&global);
                    const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                    const uint32_t got = shot.pixels.RGBAt(global.h, global.v) & 0xFFFFFF;
                    if (want != got) {
                        ADD_FAILURE() << where << ": the " << what << " differs at (" << h - part.left << ", "
                                      << v - part.top << "): screen " << std::hex << got << ", expected " << want;
                        return;
                    }
                }
        };
        compare(look.icon, "icon");
        compare(look.label, "label");
        DisposeGWorld(world);
    }

    static Rect RowOf(const LongListRec* list, const RowLook& look)
    {
        return Rect{look.icon.top, list->rView.left, int16_t(look.icon.top + list->cellSize.v),
                    int16_t(list->rView.left + list->cellSize.h)};
    }

    // The rows wholly inside the list's view.
    static std::vector<int32_t> VisibleRows(const LongListRec* list)
    {
        std::vector<int32_t> rows;
        for (int32_t row = list->firstVisible; row < list->rowCount; ++row) {
            if (GetCellRect(row, const_cast<LongListRec*>(list)).bottom > list->rView.bottom) break;
            rows.push_back(row);
        }
        return rows;
    }

    // A main-list row: the icon after the disclosure column, indented by
    // the group depth, then the label with its prefix.
    void CheckMainRows(const Shot& shot, TRefWindow* window, const LongListRec* list)
    {
        for (int32_t row : VisibleRows(list)) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, const_cast<LongListRec*>(list)));
            const Rect cell = GetCellRect(row, const_cast<LongListRec*>(list));
            const int16_t indent = int16_t(16 * obj->GetLevel());
            unsigned char prefix[256], text[256], full[256];
            browser::RowText(obj, prefix, text);
            browser::DisplayText(obj, text, full);
            const Rect label{cell.top, int16_t(cell.left + 32 + indent), cell.bottom, cell.right};
            const RowLook look{Rect{cell.top, int16_t(cell.left + 16 + indent), int16_t(cell.top + 16),
                                    int16_t(cell.left + 32 + indent)},
                               obj->GetIconID(),
                               label,
                               Point{int16_t(cell.top + 12), int16_t(label.left + 4)},
                               prefix,
                               full,
                               obj->TstFlag(kFlagHasDoc) ? StyleField(underline) : StyleField(0),
                               !obj->Used()};
            CheckRow(shot, window, list, look, "main list row " + std::to_string(row) + " (" + Name(obj) + ")");
        }
    }

    // A cross-reference row: the kind's icon at the left, the label after.
    void CheckLinkRows(const Shot& shot, TRefWindow* window, const LongListRec* list, const std::string& pane)
    {
        for (int32_t row : VisibleRows(list)) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, const_cast<LongListRec*>(list)));
            const Rect cell = GetCellRect(row, const_cast<LongListRec*>(list));
            unsigned char prefix[256], text[256];
            browser::RowText(obj, prefix, text);
            const RowLook look{Rect{cell.top, cell.left, int16_t(cell.top + 16), int16_t(cell.left + 16)},
                               int16_t(2040 + obj->kind),
                               Rect{cell.top, int16_t(cell.left + 16), cell.bottom, cell.right},
                               Point{int16_t(cell.top + 12), int16_t(cell.left + 20)},
                               prefix,
                               text,
                               StyleField(0),
                               !obj->Used()};
            CheckRow(shot, window, list, look, pane + " row " + std::to_string(row) + " (" + Name(obj) + ")");
        }
    }
};

std::vector<std::string> Names(const LongListRec* list)
{
    std::vector<std::string> names;
    for (int32_t r = 0; r < list->rowCount; ++r)
        names.push_back(Name(static_cast<TObjQz*>(LongLRowObject(r, const_cast<LongListRec*>(list)))));
    return names;
}

TEST_F(DemoScreens, ListedObjectsThenTheMethodsCallersAndCallees)
{
    const char* work = std::getenv("QZ_DEMO_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the demo run";
    Shot opened, selected;
    ASSERT_TRUE(opened.Load(std::string(work) + "/opened.png"));
    ASSERT_TRUE(selected.Load(std::string(work) + "/selected.png"));

    // The program's screen and this one are alike: the same places.
    const Rect screen = ScreenBounds();
    for (const Shot* shot : {&opened, &selected}) {
        ASSERT_EQ(shot->pixels.width(), screen.right - screen.left);
        ASSERT_EQ(shot->pixels.height(), screen.bottom - screen.top);
    }

    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = nullptr;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(2)) main = static_cast<browser::TLstPlane*>(p);
    ASSERT_NE(main, nullptr);
    auto* uses = dynamic_cast<browser::TRefPlane*>(main->fUses);
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    ASSERT_NE(uses, nullptr);
    ASSERT_NE(usedBy, nullptr);

    // Opened: the listed objects in the kinds' display order.
    const LongListRec* list = main->fList;
    ASSERT_EQ(list->firstVisible, 0);
    ASSERT_GE(VisibleRows(list).size(), 10u);
    browser::TypeNum order;
    std::vector<int16_t> kinds;
    for (int16_t k = order.Next(); k != -1; k = order.Next()) kinds.push_back(k);
    size_t at = 0;
    for (int32_t row = 0; row < list->rowCount; ++row) {
        // Fields follow their tables, a field's help the other balloons,
        // components the groups.
        const int16_t own = static_cast<TObjQz*>(LongLRowObject(row, main->fList))->kind;
        const int16_t kind = own == 28 ? 1 : own == 30 ? 10 : own == 32 ? 23 : own;
        while (at < kinds.size() && kinds[at] != kind) ++at;
        ASSERT_LT(at, kinds.size()) << "row " << row << " (kind " << own << ") out of the kinds' order";
    }
    CheckMainRows(opened, window, list);

    // Selected: the method's callees in the uses pane, its callers in the
    // where-used pane.
    TObjQz* method = nullptr;
    for (int32_t row = 0; row < list->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
        if (Name(obj) == kMethod) method = obj;
    }
    ASSERT_NE(method, nullptr) << kMethod << " is not a row of the main list";
    main->SelectObj(method);
    EXPECT_EQ(Names(uses->fList), (std::vector<std::string>{"Log_Event", "Recalculate"}));
    EXPECT_EQ(Names(usedBy->fList), (std::vector<std::string>{"Main", "File", "Invoices"}));
    CheckLinkRows(selected, window, uses->fList, "uses pane");
    CheckLinkRows(selected, window, usedBy->fList, "where-used pane");
}

}  // namespace
}  // namespace browsertest
