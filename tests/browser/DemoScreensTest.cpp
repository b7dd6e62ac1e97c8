// The screenshots of the program's demo run (run_browser_demo.sh) read back
// row by row: the demo opened here the way the program opens it gives the
// window, its panes and their rows; each visible row of the screenshot must
// show its kind's colour icon and its label drawn in the list font, pixel
// for pixel as drawn into an offscreen world. Skipped when not given a run.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/DocSupport.h"
#include "app/longlist/LongList.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/WaitDialog.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "design/filters/CountObj.h"
#include "design/forms/FormTable.h"
#include "design/reading/ModuleManager.h"
#include "design/text/MethodText.h"
#include "design/text/TextBuffers.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/textedit/TextEdit.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/icons/Icons.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/resfiles/Resources.h"
#include "platform/theme/Theme.h"
#include "platform/windows/Windows.h"
#include "tests/browser/ScreenText.h"
#include "tests/browser/ProgramFixture.h"

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

class DemoScreens : public ProgramFixture {
protected:
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
        MyAppl->fDefaultRect = r;
        return doc_.GetRefWindow();
    }

    static browser::TLstPlane* MainPlane(TRefWindow* window)
    {
        for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) return static_cast<browser::TLstPlane*>(p);
        return nullptr;
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

    // The text record's first line on the screen: its text drawn by a
    // record of its own styled with the comment's style of the method
    // styles, at the same place.
    void CheckFirstTextLine(const Shot& shot, TRefWindow* window, TEHandle te)
    {
        const TERec& rec = **te;
        ASSERT_GT(rec.nLines, 1);
        const std::string text(*rec.hText, size_t(rec.lineStarts[1] - 1));
        ASSERT_EQ(text, "  `Adds up the lines of the current invoice");
        TETextStyle styles[kMethodStyleCount];
        MyTEInitStyles(styles, MyApplFont, MyApplSize);
        const TETextStyle& comment = styles[kStyleComment];
        TETextStyle at{};
        int16_t height = 0, ascent = 0;
        TEGetStyle(3, &at, &height, &ascent, te);
        EXPECT_EQ(at.tsColor.red, comment.tsColor.red);
        EXPECT_EQ(at.tsFace, comment.tsFace);
        Rect line{rec.destRect.top, rec.viewRect.left, int16_t(rec.destRect.top + height), rec.viewRect.right};
        SectRect(&line, &rec.viewRect, &line);
        // The pane's frame runs down its right edge.
        line.right = int16_t(line.right - 4);
        ASSERT_GT(line.bottom - line.top, 4);
        GWorldPtr world = nullptr;
        ASSERT_EQ(NewGWorld(&world, 32, &line, nullptr, nullptr, 0), 0);
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(world, nullptr);
        EraseRect(&line);
        // A record of that one line, styled by hand.
        const Rect dest{rec.destRect.top, rec.destRect.left, int16_t(rec.destRect.top + 100), rec.destRect.right};
        TEHandle expected = TEStyleNew(&dest, &line);
        TESetText(text.data(), int32_t(text.size()), expected);
        TESetSelect(0, int32_t(text.size()), expected);
        TESetStyle(doAll, &comment, false, expected);
        TESetSelect(0, 0, expected);
        TEDeactivate(expected);
        TEUpdate(&line, expected);
        TEDispose(expected);
        SetGWorld(savedPort, savedDevice);
        const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        SetPortWindowPort(window->fWindow);
        int32_t inked = 0;
        SetPortWindowPort(window->fWindow);
        for (int16_t v = line.top; v < line.bottom; ++v)
            for (int16_t h = line.left; h < line.right; ++h) {
                Point global{v, h};
                LocalToGlobal(&global);
                const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                const uint32_t got = shot.pixels.RGBAt(global.h, global.v) & 0xFFFFFF;
                inked += want != 0xFFFFFF;
                if (want != got) {
                    ADD_FAILURE() << "the preview's first line differs at (" << h - line.left << ", " << v - line.top
                                  << "): screen " << std::hex << got << ", expected " << want;
                    DisposeGWorld(world);
                    return;
                }
            }
        EXPECT_GT(inked, 100);
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
    // Rows of a kind in `stopKind` and after are not looked at.
    // `skip`, a selected row, is not looked at.
    void CheckMainRows(const Shot& shot, TRefWindow* window, const LongListRec* list, int16_t stopKind = 0,
                       const TObjQz* skip = nullptr)
    {
        for (int32_t row : VisibleRows(list)) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, const_cast<LongListRec*>(list)));
            if (stopKind != 0 && obj->kind == stopKind) break;
            if (obj == skip) continue;
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

    // The pane's header shows its text (pane title, filter title, row
    // count) in the program's font.
    void CheckHeader(const Shot& shot, TRefWindow* window, browser::TRefPlane* pane, const std::string& expected)
    {
        unsigned char header[256];
        pane->HeaderText(header);
        EXPECT_EQ(readtest::P(header), expected);
        MyApplFont = GetResFont(0);
        MyApplSize = GetResSize(0);
        Rect list{}, title{}, arrow{};
        pane->GetBox(&list, &title, &arrow);
        SetPortWindowPort(window->fWindow);
        LocalToGlobal(reinterpret_cast<Point*>(&title.top));
        LocalToGlobal(reinterpret_cast<Point*>(&title.bottom));
        EXPECT_TRUE(ShowsText(shot.pixels, title, expected, MyApplFont, MyApplSize)) << expected;
    }

    // The count of objects the main pane's header shows on the shot, up
    // to `most`; -1 when none does.
    int32_t ShownCount(const Shot& shot, TRefWindow* window, browser::TRefPlane* pane, int32_t most)
    {
        MyApplFont = GetResFont(0);
        MyApplSize = GetResSize(0);
        Rect list{}, title{}, arrow{};
        pane->GetBox(&list, &title, &arrow);
        SetPortWindowPort(window->fWindow);
        LocalToGlobal(reinterpret_cast<Point*>(&title.top));
        LocalToGlobal(reinterpret_cast<Point*>(&title.bottom));
        for (int32_t n = 0; n <= most; ++n)
            if (ShowsText(shot.pixels, title, "Objects - All objects (" + std::to_string(n) + ")", MyApplFont, MyApplSize))
                return n;
        return -1;
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
    Shot opened, selected, previewed, form, card;
    ASSERT_TRUE(opened.Load(std::string(work) + "/opened.png"));
    ASSERT_TRUE(selected.Load(std::string(work) + "/selected.png"));
    ASSERT_TRUE(previewed.Load(std::string(work) + "/preview.png"));
    ASSERT_TRUE(form.Load(std::string(work) + "/form.png"));
    ASSERT_TRUE(card.Load(std::string(work) + "/card.png"));

    // The program's screen and this one are alike: the same places.
    const Rect screen = ScreenBounds();
    for (const Shot* shot : {&opened, &selected, &previewed, &form, &card}) {
        ASSERT_EQ(shot->pixels.width(), screen.right - screen.left);
        ASSERT_EQ(shot->pixels.height(), screen.bottom - screen.top);
    }

    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
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
        // components the groups, list box variables the other variables.
        const int16_t own = static_cast<TObjQz*>(LongLRowObject(row, main->fList))->kind;
        const int16_t kind = own == 28 ? 1 : own == 30 ? 10 : own == 32 ? 23 : own == 21 ? 9 : own;
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

    // Previewed: the callee double-clicked in the uses pane shows its text,
    // the first line (the comment) drawn in the comment's style.
    browser::TDisplayPlane* preview = nullptr;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(6)) preview = static_cast<browser::TDisplayPlane*>(p);
    ASSERT_NE(preview, nullptr);
    TObjQz* recalculate = static_cast<TObjQz*>(LongLRowObject(1, uses->fList));
    ASSERT_EQ(Name(recalculate), "Recalculate");
    // The program's text font and size, and its styled records.
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    G_MachineType = machineType();
    SetPortWindowPort(window->fWindow);
    preview->SetObj(recalculate);
    ASSERT_NE(preview->fDisplay, nullptr);
    CheckFirstTextLine(previewed, window, reinterpret_cast<TEHandle>(preview->fDisplay));

    // The form Invoice, stored as a chunk file: what it names, as the
    // uses pane sorts it.
    TObjQz* invoice = nullptr;
    for (int32_t row = 0; row < list->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
        if (obj->kind == 24 && Name(obj) == "Invoice") invoice = obj;
    }
    ASSERT_NE(invoice, nullptr);
    main->SelectObj(invoice);
    // Tables (its inherited form's and its subform's), variables (the list
    // box's with them), forms (the inherited one and the subform), object
    // methods (the list box columns' with them), fields: the kinds in the
    // pane's order.
    EXPECT_EQ(Names(uses->fList),
              (std::vector<std::string>{"Invoices", "Lines", "bPrint", "alLines", "alProduct", "alQuantity", "hProduct",
                                        "hQuantity", "Summary", "Line_Entry", "alProduct", "alQuantity", "bPrint",
                                        "Customer", "Number", "Total"}));
    CheckLinkRows(form, window, uses->fList, "form's uses pane");

    // The form Card: its style sheet, library picture, subform and the
    // field it shows disabled.
    TObjQz* cardForm = nullptr;
    for (int32_t row = 0; row < list->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
        if (obj->kind == 24 && Name(obj) == "Card") cardForm = obj;
    }
    ASSERT_NE(cardForm, nullptr);
    main->SelectObj(cardForm);
    EXPECT_EQ(Names(uses->fList), (std::vector<std::string>{"Invoices", "Stamp", "Standard", "Invoice", "Summary", "Town"}));
    CheckLinkRows(card, window, uses->fList, "card's uses pane");
}

// The demo with "Demo Tools.plugin" in a plug-in folder
// (run_plugins_demo.sh): both packages opened on their routines, kind by
// kind with the older routine after them, each row with its kind's icon;
// a package routine's caller in the where-used pane.
class PlugInScreens : public DemoScreens {};

TEST_F(PlugInScreens, PackagesOpenOnTheirRoutines)
{
    const char* work = std::getenv("QZ_PLUGIN_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the plug-in run";
    Shot packages, routine;
    ASSERT_TRUE(packages.Load(std::string(work) + "/packages.png"));
    ASSERT_TRUE(routine.Load(std::string(work) + "/routine.png"));
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    auto rowOf = [&](const std::string& name) {
        const std::vector<std::string> names = Names(main->fList);
        return int32_t(std::find(names.begin(), names.end(), name) - names.begin());
    };
    // The run clicked _Demo_Tools' triangle, then _Invoicing_Tools'.
    for (const char* package : {"_Demo_Tools", "_Invoicing_Tools"}) main->SwitchCellState(rowOf(package));
    const int32_t first = rowOf("_Demo_Tools");
    const std::vector<std::string> names = Names(main->fList);
    ASSERT_LE(size_t(first) + 7, names.size());
    EXPECT_EQ(std::vector<std::string>(names.begin() + first, names.begin() + first + 7),
              (std::vector<std::string>{"_Demo_Tools", "Print_Badge", "Stamp_Date", "_Invoicing_Tools", "Format_Amount",
                                        "Round_Cents", "Print_Label"}));
    for (int32_t row = first; row < first + 7; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
        EXPECT_EQ(obj->kind, row == first + 6 ? 8 : 7) << Name(obj);
    }
    CheckMainRows(packages, window, main->fList);

    TObjQz* format = static_cast<TObjQz*>(LongLRowObject(rowOf("Format_Amount"), main->fList));
    main->SelectObj(format);
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    ASSERT_NE(usedBy, nullptr);
    EXPECT_EQ(Names(usedBy->fList), std::vector<std::string>{"Recalculate"});
    CheckLinkRows(routine, window, usedBy->fList, "where-used pane");
}

// The demo opened from the test server by Anna (run_open_from_server.sh):
// after a wrong password the login dialog is as it was, the caret aside;
// then the browser window shows the demo's rows where a local open shows
// them.
class ServerScreens : public DemoScreens {};

TEST_F(ServerScreens, AStructureFromAServerShowsTheDemosRows)
{
    const char* work = std::getenv("QZ_SERVER_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the run that opens the demo from a server";
    Shot typed, kept, opened;
    ASSERT_TRUE(typed.Load(std::string(work) + "/typed.png"));
    ASSERT_TRUE(kept.Load(std::string(work) + "/kept.png"));
    ASSERT_TRUE(opened.Load(std::string(work) + "/opened.png"));
    const Rect screen = ScreenBounds();
    ASSERT_EQ(opened.pixels.width(), screen.right - screen.left);
    ASSERT_EQ(typed.pixels.width(), kept.pixels.width());
    ASSERT_EQ(typed.pixels.height(), kept.pixels.height());
    // The pixels that differ: at most the caret, one column of one line.
    int32_t left = INT32_MAX, right = -1, top = INT32_MAX, bottom = -1;
    for (int32_t v = 0; v < typed.pixels.height(); ++v)
        for (int32_t h = 0; h < typed.pixels.width(); ++h)
            if ((typed.pixels.RGBAt(h, v) & 0xFFFFFF) != (kept.pixels.RGBAt(h, v) & 0xFFFFFF)) {
                left = std::min(left, h), right = std::max(right, h);
                top = std::min(top, v), bottom = std::max(bottom, v);
            }
    if (right >= 0) {
        EXPECT_EQ(right, left) << "the dialog changed after a wrong password";
        EXPECT_LE(bottom - top, 20) << "the dialog changed after a wrong password";
    }
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    ASSERT_GE(VisibleRows(main->fList).size(), 10u);
    CheckMainRows(opened, window, main->fList);
}

// Anna's new group, whose addition the server carried out and whose reply
// it then cut (run_open_from_server.sh): an alert came, and once it was
// answered the window shows the demo with the group, as the server holds
// it and as a local copy with the group shows it.
TEST_F(ServerScreens, AGroupWhoseReplyWasCutShowsAsTheServerHoldsIt)
{
    const char* work = std::getenv("QZ_SERVER_GROUP_SCREENS");
    const char* grouped = std::getenv("QZ_GROUPED_STRUCTURE");
    if (!work || !grouped) GTEST_SKIP() << "checks the screenshots of the run whose server cuts a group's reply";
    Shot alert, shot;
    ASSERT_TRUE(alert.Load(std::string(work) + "/alert.png"));
    ASSERT_TRUE(shot.Load(std::string(work) + "/grouped.png"));
    ASSERT_EQ(alert.pixels.width(), shot.pixels.width());
    ASSERT_EQ(alert.pixels.height(), shot.pixels.height());
    bool differ = false;
    for (int32_t v = 0; v < shot.pixels.height() && !differ; ++v)
        for (int32_t h = 0; h < shot.pixels.width() && !differ; ++h)
            differ = (alert.pixels.RGBAt(h, v) & 0xFFFFFF) != (shot.pixels.RGBAt(h, v) & 0xFFFFFF);
    EXPECT_TRUE(differ) << "no alert showed";
    TRefWindow* window = OpenAsProgram(grouped);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> names = Names(main->fList);
    EXPECT_NE(std::find(names.begin(), names.end(), "Fresh"), names.end());
    // The header counts the group, out of sight below: one object more
    // than before the change (the local copy has the objects of its
    // companion too, which the server's structure keeps nowhere).
    const int32_t before = ShownCount(alert, window, main, main->fList->rowCount);
    EXPECT_GT(before, 0);
    EXPECT_EQ(ShownCount(shot, window, main, main->fList->rowCount), before + 1);
    CheckMainRows(shot, window, main->fList);
}

// The demo after the program's deletion run (form_delete.txt): the form
// Listing selected by typing its name and cleared from the Edit menu. The
// main list on the screenshot is the one the document now gives, without
// the form; the document holds neither the form's data nor its entry.
class FormDeletionScreens : public DemoScreens {};

TEST_F(FormDeletionScreens, TheDeletedFormLeavesTheListAndTheDocument)
{
    const char* work = std::getenv("QZ_FORM_DELETION_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the form deletion run";
    Shot shot;
    ASSERT_TRUE(shot.Load(std::string(work) + "/deleted.png"));
    // The form's id and its table's form count, as the demo was built.
    int16_t listingId = 0;
    int32_t customerForms = 0;
    for (const readtest::ManifestObject& o : Manifest(std::string(demo) + ".manifest"))
        if (o.kind == 24 && o.owner == "Customers") {
            ++customerForms;
            if (o.name == "Listing") listingId = o.id;
        }
    ASSERT_EQ(customerForms, 3);
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    for (const std::string& name : Names(main->fList)) EXPECT_NE(name, "Listing");
    // The rows down to the commands: the program still lists the commands
    // only the deleted form's method called, which a fresh reading leaves
    // out.
    CheckMainRows(shot, window, main->fList, 3);
    auto* customers = static_cast<TFileObjQz*>(Find(1, "Customers"));
    ASSERT_NE(customers, nullptr);
    EXPECT_EQ(customers->forms->Size(), customerForms - 1);
    UseQzRes(doc_.fResFile);
    EXPECT_TRUE(Stored(FourCC("FOQz"), listingId).empty());
    const readtest::Bytes table = Stored(FourCC("TFQz"), FormTableIdOf(customers));
    ASSERT_GE(table.size(), 2u);
    EXPECT_EQ(table.size(), size_t(6 + 270 * (customerForms - 1)));
    EXPECT_EQ(platform::ReadBE16(table.data()), customerForms - 1);
}

// The demo after the program's uninstall run (component_uninstall.txt):
// the installed component Invoice_Reports selected by typing its name and
// uninstalled from the Components menu. The document holds neither the
// component, its record, nor any of its members; the main list on the
// screenshot is the one the document now gives.
class ComponentUninstallScreens : public DemoScreens {};

TEST_F(ComponentUninstallScreens, TheComponentAndItsMembersLeaveTheDocument)
{
    const char* work = std::getenv("QZ_COMPONENT_UNINSTALL_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the uninstall run";
    Shot shot;
    ASSERT_TRUE(shot.Load(std::string(work) + "/uninstalled.png"));
    int16_t componentId = 0;
    for (const readtest::ManifestObject& o : Manifest(std::string(demo) + ".manifest"))
        if (o.kind == 32 && o.name == "Invoice_Reports") componentId = o.id;
    ASSERT_NE(componentId, 0);
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Find(32, "Invoice_Reports"), nullptr);
    for (const char* member : {"Report_Header", "Report_Totals", "Report_Core"}) EXPECT_EQ(Find(2, member), nullptr) << member;
    // The project Reports and what lies outside the component stay.
    EXPECT_NE(Find(32, "Reports"), nullptr);
    EXPECT_NE(Find(2, "Close_Invoice"), nullptr);
    EXPECT_EQ(doc_.fModuleManager->CountModules(), 0);
    UseQzRes(doc_.fResFile);
    EXPECT_TRUE(Stored(FourCC("MODQ"), componentId).empty());
    EXPECT_TRUE(Stored(FourCC("MAPQ"), componentId).empty());
    CheckMainRows(shot, window, main->fList, 3);
}

// The demo after the program's new component run (component_new.txt):
// Close_Invoice made into the project Invoicing with the prefix "inv". The
// selected method is in the protected folder, what it uses in the private
// one.
class ComponentNewScreens : public DemoScreens {
protected:
    static std::vector<std::string> Members(TGroupObjQz* folder)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; folder && folder->members && i < folder->members->Size(); ++i)
            if (folder->members->At(i)->kind != 9) names.push_back(readtest::P(folder->members->At(i)->name));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ComponentNewScreens, TheSelectedMethodIsProtectedAndWhatItCallsPrivate)
{
    const char* work = std::getenv("QZ_COMPONENT_NEW_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the new component run";
    ASSERT_NE(OpenAsProgram(demo), nullptr);
    auto* made = dynamic_cast<TModuleObjQz*>(Find(32, "Invoicing"));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsModuleProject());
    unsigned char prefix[256];
    made->GetPrefix(prefix);
    EXPECT_EQ(readtest::P(prefix), "inv");
    EXPECT_TRUE(Members(made->publicFolder).empty());
    EXPECT_EQ(Members(made->protectedFolder), std::vector<std::string>{"Close_Invoice"});
    // What the method calls and the style sheet it names; the variables
    // its members use join the folders as the document is read.
    EXPECT_EQ(Members(made->privateFolder), (std::vector<std::string>{"Add_Tax", "Log_Event", "Recalculate", "Standard"}));
}

// The three runs of run_component_install.sh: the demo's project Reports
// generated into Reports-1.QCP, the library installed into DemoTarget (the
// copy kept in installed/), then the component uninstalled again.
class ComponentInstallScreens : public ComponentNewScreens {
protected:
    void SetUp() override
    {
        ComponentNewScreens::SetUp();
        const char* work = std::getenv("QZ_COMPONENT_INSTALL_SCREENS");
        const char* target = std::getenv("QZ_DEMO_STRUCTURE");
        if (!work || !target) GTEST_SKIP() << "checks the runs of the component install";
        work_ = work;
        target_ = target;
    }
    // The names of the main list's rows of `kind`.
    static std::vector<std::string> Rows(const LongListRec* list, int16_t kind)
    {
        std::vector<std::string> names;
        for (int32_t row = 0; row < list->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, const_cast<LongListRec*>(list)));
            if (obj->kind == kind) names.push_back(Name(obj));
        }
        return names;
    }
    static bool Has(const std::vector<std::string>& names, const std::string& name)
    {
        return std::find(names.begin(), names.end(), name) != names.end();
    }
    std::string work_, target_;
};

TEST_F(ComponentInstallScreens, TheGeneratedLibraryIsAComponentFile)
{
    FSSpec library;
    ASSERT_EQ(FSMakeFSSpec(work_ + "/Reports-1.QCP", &library), noErr);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(library, &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("QzMO"));
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
}

TEST_F(ComponentInstallScreens, TheInstalledComponentListsItsPublicMemberAndNoPrivateOne)
{
    Shot shot;
    ASSERT_TRUE(shot.Load(work_ + "/installed.png"));
    const std::string installed = work_ + "/installed/" + std::filesystem::path(target_).filename().string();
    TRefWindow* window = OpenAsProgram(installed);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    ASSERT_NE(usedBy, nullptr);
    auto* reports = dynamic_cast<TModuleObjQz*>(Find(32, "Reports"));
    ASSERT_NE(reports, nullptr);
    EXPECT_FALSE(reports->IsModuleProject());
    EXPECT_EQ(reports->GetVersionNb(), 1u);
    EXPECT_EQ(doc_.fModuleManager->CountModules(), 1);
    EXPECT_TRUE(Has(Rows(main->fList, 32), "Reports"));
    // The folders as generated: the private members renamed by code (the
    // component's prefix after the first character), their names gone.
    EXPECT_EQ(Members(reports->publicFolder), std::vector<std::string>{"Print_Invoice"});
    EXPECT_EQ(Members(reports->protectedFolder), std::vector<std::string>{"Report_Layout"});
    const std::vector<std::string> renamed = Members(reports->privateFolder);
    ASSERT_EQ(renamed.size(), 2u);
    for (const std::string& name : renamed) EXPECT_EQ(name.substr(1, 2), "rp") << name;
    for (const char* hidden : {"Start_Up", "Report_Helper"}) EXPECT_EQ(Find(2, hidden), nullptr) << hidden;
    CheckMainRows(shot, window, main->fList, 3, reports);
    // The where-used pane of the selected component: what uses its
    // members from outside their folders.
    main->SelectObj(reports);
    EXPECT_EQ(Names(usedBy->fList), std::vector<std::string>{"Report_Layout"});
    CheckLinkRows(shot, window, usedBy->fList, "where-used pane");
}

TEST_F(ComponentInstallScreens, TheUninstalledComponentLeavesNoRow)
{
    Shot shot;
    ASSERT_TRUE(shot.Load(work_ + "/removed.png"));
    TRefWindow* window = OpenAsProgram(target_);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Find(32, "Reports"), nullptr);
    EXPECT_EQ(doc_.fModuleManager->CountModules(), 0);
    EXPECT_FALSE(Has(Rows(main->fList, 32), "Reports"));
    for (const char* member : {"Print_Invoice", "Report_Layout"}) EXPECT_EQ(Find(2, member), nullptr) << member;
    CheckMainRows(shot, window, main->fList, 3);
}

// The demo after the program's rename run (rename_demo.txt): Add_Tax
// renamed Add_VAT from the Objects menu, its caller Recalculate selected,
// then a new group Sales made. The caller's uses pane on the screenshot
// names Add_VAT; the document stores the new name, the caller's tokens
// call it, and the group is there, empty, its row selected.
class RenameScreens : public DemoScreens {};

TEST_F(RenameScreens, TheRenamedMethodAndItsCallerThenTheNewGroup)
{
    const char* work = std::getenv("QZ_RENAME_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the rename run";
    Shot renamed, grouped;
    ASSERT_TRUE(renamed.Load(std::string(work) + "/renamed.png"));
    ASSERT_TRUE(grouped.Load(std::string(work) + "/grouped.png"));
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    auto* uses = dynamic_cast<browser::TRefPlane*>(main->fUses);
    ASSERT_NE(uses, nullptr);
    EXPECT_EQ(Find(2, "Add_Tax"), nullptr);
    TObjQz* vat = Find(2, "Add_VAT");
    TObjQz* recalculate = Find(2, "Recalculate");
    ASSERT_NE(vat, nullptr);
    ASSERT_NE(recalculate, nullptr);
    UseQzRes(doc_.fResFile);
    const readtest::Bytes code = Stored(FourCC("CCQz"), recalculate->id);
    const std::string text(code.begin(), code.end());
    EXPECT_NE(text.find("Add_VAT"), std::string::npos);
    EXPECT_EQ(text.find("Add_Tax"), std::string::npos);
    // Command-A in the dialog lit no menu title for good: the Edit title is
    // drawn plain on the bar.
    EXPECT_TRUE(ShowsMenuText(renamed.pixels, Rect{0, 80, 19, 125}, "Edit", ThemeMenuTextColor(kThemeMenuActive, false)));

    // The group opened as the run opened it.
    for (int32_t row = 0; row < main->fList->rowCount; ++row)
        if (LongLRowObject(row, main->fList) == Find(23, "Accounting")) main->SwitchCellState(row);
    main->SelectObj(recalculate);
    ASSERT_FALSE(Names(uses->fList).empty());
    EXPECT_EQ(Names(uses->fList)[0], "Add_VAT");
    CheckLinkRows(renamed, window, uses->fList, "uses pane");

    auto* sales = dynamic_cast<TGroupObjQz*>(Find(23, "Sales"));
    ASSERT_NE(sales, nullptr);
    EXPECT_EQ(sales->members ? sales->members->Size() : 0, 0);
    main->SelectObj(sales);
    // The rows above the new one are where the run left them; the new
    // row, selected, is the last one shown.
    const std::vector<int32_t> shown = VisibleRows(main->fList);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(LongLRowObject(shown.back(), main->fList), sales);
    unsigned char prefix[256], label[256], full[256];
    browser::RowText(sales, prefix, label);
    browser::DisplayText(sales, label, full);
    EXPECT_EQ(readtest::P(prefix) + readtest::P(full), "Group Sales (empty)");
    CheckMainRows(grouped, window, main->fList, 0, sales);
}

// The demo after the program's run on the current object
// (current_object.txt): Close_Invoice renamed Close_Bill, the forms as
// they were, and nothing renamed with the name typed while an object
// method was current; List Towns, typed after Menu bar Main below it,
// current: its users in the where-used pane on the screenshot.
class CurrentObjectScreens : public DemoScreens {};

TEST_F(CurrentObjectScreens, RenameNamesTheHighlightedRowAndATypedNameAboveIsFound)
{
    const char* work = std::getenv("QZ_CURRENT_OBJECT_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the current-object run";
    Shot towns;
    ASSERT_TRUE(towns.Load(std::string(work) + "/towns.png"));
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    ASSERT_NE(usedBy, nullptr);
    EXPECT_EQ(Find(2, "Close_Invoice"), nullptr);
    EXPECT_NE(Find(2, "Close_Bill"), nullptr);
    const std::vector<std::string> rows = Names(main->fList);
    EXPECT_EQ(std::vector<std::string>(rows.begin() + 2, rows.begin() + 8),
              (std::vector<std::string>{"Card", "Entry", "Listing", "Invoice", "Summary", "Close_Bill"}));
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Qx_Renamed"), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Name"), 1);  // the object method

    main->SelectObj(Find(4, "Towns"));
    EXPECT_EQ(Names(usedBy->fList), (std::vector<std::string>{"Customers", "Entry", "Credit_Limit", "Town"}));
    CheckLinkRows(towns, window, usedBy->fList, "where-used pane");
}

// The structure the program made of the demo's SQL script from the File
// menu (run_sql_demo.sh), its tables opened: each row of the main list on
// the screenshot, and the report beside the script.
class SqlScreens : public DemoScreens {};

TEST_F(SqlScreens, TheScriptsTablesAndFieldsAreListed)
{
    const char* work = std::getenv("QZ_SQL_SCREENS");
    if (!work) GTEST_SKIP() << "checks the screenshot of the SQL script run";
    Shot shot;
    ASSERT_TRUE(shot.Load(std::string(work) + "/sql.png"));
    TRefWindow* window = OpenAsProgram(std::string(work) + "/Made.QzB");
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    // The run opened the tables from the last up.
    for (int32_t row : {2, 1, 0}) main->SwitchCellState(row);
    const std::vector<std::string> rows = {"Customers", "Name",     "Town",           "Since",   "Credit_Limit", "Invoices",
                                           "Number",    "Customer", "Issued",         "Total",   "Terms",        "Lines",
                                           "Invoice_Number", "Product", "Quantity", "Price"};
    EXPECT_EQ(Names(main->fList), rows);
    CheckMainRows(shot, window, main->fList);
    // Each field is described by the type its column was declared with.
    const std::vector<std::string> types = {"",     "Alpha (40)",   "Alpha (30)", "Date",       "Real", "",
                                            "Long integer", "Alpha (40)", "Date", "Real", "Alpha (20)", "",
                                            "Long integer", "Alpha (40)", "Integer", "Real"};
    for (int32_t row = 0; row < int32_t(types.size()) && row < main->fList->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
        const std::string shown = obj && obj->kind == 28 ? static_cast<TCritObjQz*>(obj)->Describe().lines.at(0) : "";
        EXPECT_EQ(shown, types[size_t(row)].empty() ? "" : "Type: " + types[size_t(row)]) << rows[size_t(row)];
    }
    std::vector<uint8_t> report;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/Demo.sql.report.txt", &report), noErr);
    std::string expected;
    for (const std::string& name : rows)
        expected += (name == "Customers" || name == "Invoices" || name == "Lines" ? "Table " : "          column ") + name + "\n";
    EXPECT_EQ(std::string(report.begin(), report.end()), expected);
}


// The search run (run_search_demo.sh): the methods whose name contains
// "Invoice" listed flat under the search title, the filter "Methods" saved
// behind the default in name order and offered in the main list's pop-up.
class SearchScreens : public DemoScreens {};

TEST_F(SearchScreens, ResultsAndTheAddedFilterInThePopUp)
{
    const char* work = std::getenv("QZ_SEARCH_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the search run";
    Shot search, all, popup;
    ASSERT_TRUE(search.Load(std::string(work) + "/search.png"));
    ASSERT_TRUE(all.Load(std::string(work) + "/all.png"));
    ASSERT_TRUE(popup.Load(std::string(work) + "/popup.png"));

    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    // A search with a record of kinds and a name the rows must contain;
    // answers the work the wait dialog was given.
    auto find = [&](uint32_t kinds, const std::string& text, bool shownOnly) {
        std::vector<uint8_t> record = {0, 1, uint8_t(kinds >> 24), uint8_t(kinds >> 16), uint8_t(kinds >> 8),
                                       uint8_t(kinds), 0x03, 0x80, 0, 1, 0, 0, uint8_t(text.size())};
        record.insert(record.end(), text.begin(), text.end());
        if (record.size() % 2) record.push_back(0);
        Handle saved = G_SearchFilterHdl;
        EXPECT_EQ(PtrToHand(record.data(), &G_SearchFilterHdl, Size(record.size())), noErr);
        WaitParamRec wait;
        SetWaitDialog(&wait, 2, doc_.fName, 0, 0, 281, -1);
        main->SearchRows(G_SearchFilterHdl, shownOnly, &wait);
        ReSetWaitDialog(&wait);
        EXPECT_EQ(wait.maximum, shownOnly ? wait.maximum : Count_Obj(G_SearchFilterHdl, doc_.fTypeList));
        DisposeHandle(G_SearchFilterHdl);
        G_SearchFilterHdl = saved;
        return wait.maximum;
    };
    // What the dialog wrote: project methods whose name contains the text.
    find(0x20000000, "Invoice", false);
    EXPECT_EQ(Names(main->fList), (std::vector<std::string>{"Close_Invoice", "Print_Invoice"}));
    CheckMainRows(search, window, main->fList);
    unsigned char header[256];
    main->HeaderText(header);
    EXPECT_EQ(readtest::P(header), "Objects - Search results (2)");
    // The title stands in the header, in the program's font.
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    Rect list{}, title{}, arrow{};
    main->GetBox(&list, &title, &arrow);
    SetPortWindowPort(window->fWindow);
    Rect area = title;
    LocalToGlobal(reinterpret_cast<Point*>(&area.top));
    LocalToGlobal(reinterpret_cast<Point*>(&area.bottom));
    EXPECT_TRUE(ShowsText(search.pixels, area, readtest::P(header), MyApplFont, MyApplSize));
    EXPECT_FALSE(ShowsText(search.pixels, area, "Objects - Search results (3)", MyApplFont, MyApplSize)) << "the count";
    // "All objects" from the pop-up: the whole list again.
    main->SetDfltFilter(browser::kDefaultFilter);
    CheckHeader(all, window, main, "Objects - All objects (" + std::to_string(main->fList->rowCount) + ")");
    CheckMainRows(all, window, main->fList);
    find(0x20000000, "Invoice", false);

    // Narrowed, the rows only go; searched whole, a group's member is
    // listed at the top level.
    struct Narrowing {
        uint32_t kinds;
        const char* text;
        std::vector<std::string> rows;
    } narrowings[] = {{0x7FFFFFFE, "", {"Close_Invoice", "Print_Invoice"}},
                      {0x7FFFFFFE, "Print", {"Print_Invoice"}},
                      {0x40000000, "", {}}};
    for (const Narrowing& n : narrowings) {
        const int32_t before = main->fList->rowCount;
        EXPECT_EQ(find(n.kinds, n.text, true), before) << n.text;
        EXPECT_EQ(Names(main->fList), n.rows) << n.text;
    }
    find(0x20000000 | 0x100, "Log_Event", false);
    EXPECT_EQ(Names(main->fList), (std::vector<std::string>{"Log_Event"}));
    EXPECT_FALSE(IsOpenCell(0, main->fList));

    // Saved: the default first, the others by name from 129.
    const int16_t prefs = OpenResFile(std::string(work) + "/prefs/Qz Structure Browser Preferences", fsRdPerm,
                                      ResFileFork::Data);
    ASSERT_GT(prefs, 0);
    const int16_t current = CurResFile();
    UseResFile(prefs);
    std::vector<std::string> names;
    for (int16_t id = 128; Handle h = Get1Resource(FourCC("FLT2"), id); ++id) {
        int16_t got = 0;
        ResType type = 0;
        unsigned char name[256];
        GetResInfo(h, &got, &type, name);
        names.push_back(readtest::P(name));
    }
    UseResFile(current);
    CloseResFile(prefs);
    EXPECT_EQ(names, (std::vector<std::string>{"All objects", "Forms", "Groups", "Methods", "Plug-ins",
                                               "Project methods", "Tables", "Unused objects"}));
    const Rect popUpArea{40, 290, 240, 620};
    // Offered, so drawn as an item that can be chosen.
    EXPECT_TRUE(ShowsMenuText(popup.pixels, popUpArea, "Methods", ThemeMenuTextColor(kThemeMenuActive, false)));
}

// The filters run (scripts/filters_demo.txt): each filter chosen from
// the pop-up of the main list, of the uses pane of the form Invoice and of
// the used-by pane of the table Invoices lists that pane's rows through it
// and names it in the pane's header; "All objects" chosen again gives
// every pane its rows back. A group browser window then lists the groups,
// before and after the document is read again.
class FilterScreens : public DemoScreens {};

TEST_F(FilterScreens, EachFilterChosenFromEachPanesPopUp)
{
    const char* work = std::getenv("QZ_FILTER_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the filters run";
    TRefWindow* window = OpenAsProgram(demo);
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = MainPlane(window);
    ASSERT_NE(main, nullptr);
    auto* uses = dynamic_cast<browser::TRefPlane*>(main->fUses);
    auto* usedBy = dynamic_cast<browser::TRefPlane*>(main->fUsedBy);
    ASSERT_NE(uses, nullptr);
    ASSERT_NE(usedBy, nullptr);
    auto find = [&](int16_t kind, const std::string& name) -> TObjQz* {
        for (int32_t row = 0; row < main->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
            if (obj->kind == kind && Name(obj) == name) return obj;
        }
        return nullptr;
    };
    TObjQz* form = find(24, "Invoice");
    TObjQz* table = find(1, "Invoices");
    ASSERT_NE(form, nullptr);
    ASSERT_NE(table, nullptr);

    // The pop-up's items after "All objects", in name order.
    const char* const filters[] = {"Forms", "Groups", "Plug-ins", "Project methods", "Tables", "Unused objects"};
    const struct Pane {
        const char* shots;
        browser::TRefPlane* pane;
        TObjQz* selected;  // the object selected in the main list
        const char* title;
    } panes[] = {{"main", main, nullptr, "Objects"}, {"uses", uses, form, "Uses"}, {"usedby", usedBy, table, "Used by"}};
    for (const Pane& p : panes) {
        if (p.selected) main->SelectObj(p.selected);
        ASSERT_EQ(p.pane->fMenuCount, int16_t(std::size(filters) + 1));
        const auto* ids = reinterpret_cast<const int16_t*>(*p.pane->fFilterMenu + 2);
        for (size_t i = 0; i < std::size(filters); ++i) {
            const std::string shot = std::string(p.shots) + "-" + std::to_string(i + 2);
            SCOPED_TRACE(shot);
            Shot chosen;
            ASSERT_TRUE(chosen.Load(std::string(work) + "/" + shot + ".png"));
            p.pane->SetDfltFilter(ids[i + 1]);
            CheckHeader(chosen, window, p.pane,
                        std::string(p.title) + " - " + filters[i] + " (" + std::to_string(p.pane->fList->rowCount) +
                            ")");
            if (p.pane == main) CheckMainRows(chosen, window, main->fList);
            else CheckLinkRows(chosen, window, p.pane->fList, shot);
        }
        p.pane->SetDfltFilter(browser::kDefaultFilter);
    }
    // Back to "All objects" everywhere, the table Invoices selected.
    Shot all;
    ASSERT_TRUE(all.Load(std::string(work) + "/all.png"));
    CheckHeader(all, window, main, "Objects - All objects (" + std::to_string(main->fList->rowCount) + ")");
    CheckHeader(all, window, uses, "Uses - All objects (3)");
    CheckHeader(all, window, usedBy, "Used by - All objects (4)");
    CheckMainRows(all, window, main->fList, 0, table);
    CheckLinkRows(all, window, uses->fList, "uses pane");
    CheckLinkRows(all, window, usedBy->fList, "used-by pane");

    // Windows > New Group Browser Window: the groups and components, in
    // every pane's header the group filter, as drawn at once and after the
    // document is read again.
    ASSERT_EQ(MyAppl->Do_Func(43), 0);
    TRefWindow* groups = doc_.GetRefWindow();
    ASSERT_NE(groups, window);
    browser::TLstPlane* groupList = MainPlane(groups);
    ASSERT_NE(groupList, nullptr);
    EXPECT_EQ(Names(groupList->fList), (std::vector<std::string>{"Accounting", "Invoice_Reports", "Logging", "Reports"}));
    for (const char* name : {"groups", "groups-again"}) {
        SCOPED_TRACE(name);
        Shot shot;
        ASSERT_TRUE(shot.Load(std::string(work) + "/" + name + ".png"));
        CheckHeader(shot, groups, groupList, "Objects - Groups (4)");
        CheckHeader(shot, groups, dynamic_cast<browser::TRefPlane*>(groupList->fUses), "Uses - Groups (0)");
        CheckHeader(shot, groups, dynamic_cast<browser::TRefPlane*>(groupList->fUsedBy), "Used by - Groups (0)");
        CheckMainRows(shot, groups, groupList->fList);
    }
}

}  // namespace
}  // namespace browsertest
