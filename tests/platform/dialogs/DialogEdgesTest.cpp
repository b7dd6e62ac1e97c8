// Dialogs at their edges: templates and item lists read to the byte, window
// placement, the alert icons' bits, alert stages past the last, hidden and
// first items in drawing and updates, item handles and texts, memory
// running out while a dialog is made, and what the modal loop answers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/AlertIcons.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Modals.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/dialogs/DialogTestSupport.h"
#include "tests/platform/icons/ColourIcon.h"

namespace platform::testing {
namespace {

std::vector<uint8_t> DlogBytes(const std::string& title, bool withPosition)
{
    std::vector<uint8_t> b(20, 0);
    WriteBE16(&b[0], 40);
    WriteBE16(&b[2], 50);
    WriteBE16(&b[4], 140);
    WriteBE16(&b[6], 250);
    WriteBE16(&b[8], dBoxProc);
    b[10] = 1;
    WriteBE32(&b[14], 77);
    WriteBE16(&b[18], 300);
    b.push_back(uint8_t(title.size()));
    b.insert(b.end(), title.begin(), title.end());
    if (b.size() & 1) b.push_back(0xAA);  // the filler before the position
    if (withPosition) {
        b.push_back(0x30);
        b.push_back(0x0A);
    }
    return b;
}

TEST(DialogTemplates, ThePositionFollowsTheTitleOnAnEvenByte)
{
    struct Case {
        const char* title;
        bool withPosition;
        uint16_t position;
    };
    const Case cases[] = {{"abc", true, 0x300A}, {"abcd", true, 0x300A}, {"", true, 0x300A},
                          {"abc", false, 0},     {"abcd", false, 0}};
    for (const Case& k : cases) {
        const std::vector<uint8_t> b = DlogBytes(k.title, k.withPosition);
        DialogTemplate t;
        ASSERT_TRUE(ParseDialogTemplate(b.data(), b.size(), &t)) << k.title;
        EXPECT_EQ(t.position, k.position) << k.title << " " << k.withPosition;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(t.title + 1), t.title[0]), k.title);
        EXPECT_EQ(t.bounds.top, 40);
        EXPECT_EQ(t.bounds.left, 50);
        EXPECT_EQ(t.bounds.bottom, 140);
        EXPECT_EQ(t.bounds.right, 250);
        EXPECT_EQ(t.procID, dBoxProc);
        EXPECT_TRUE(t.visible);
        EXPECT_FALSE(t.goAway);
        EXPECT_EQ(t.itemsID, 300);
        EXPECT_EQ(t.refCon, 77);
    }
    // The position's last byte missing: no position.
    std::vector<uint8_t> cut = DlogBytes("abc", true);
    cut.pop_back();
    DialogTemplate t;
    ASSERT_TRUE(ParseDialogTemplate(cut.data(), cut.size(), &t));
    EXPECT_EQ(t.position, 0);
    // The title's last byte missing: no template. No title length: none.
    const std::vector<uint8_t> whole = DlogBytes("abc", false);
    ASSERT_GE(whole.size(), 24u);
    EXPECT_TRUE(ParseDialogTemplate(whole.data(), 24, &t));
    EXPECT_FALSE(ParseDialogTemplate(whole.data(), 23, &t));
    EXPECT_FALSE(ParseDialogTemplate(whole.data(), 20, &t));
}

TEST(DialogTemplates, AnAlertsPositionIsReadWhenItsTwoBytesAreThere)
{
    const uint8_t bytes[] = {0, 10, 0, 20, 0, 110, 1, 44, 0x01, 0x2C, 0x55, 0x55, 0x68, 0x0A};
    struct Case {
        size_t size;
        bool read;
        uint16_t position;
    };
    for (const Case& k : {Case{14, true, 0x680A}, Case{13, true, 0}, Case{12, true, 0}, Case{11, false, 0}}) {
        AlertTemplate t{};
        ASSERT_EQ(ParseAlertTemplate(bytes, k.size, &t), k.read) << k.size;
        if (!k.read) continue;
        EXPECT_EQ(t.position, k.position) << k.size;
        EXPECT_EQ(t.bounds.bottom, 110);
        EXPECT_EQ(t.bounds.right, 300);
        EXPECT_EQ(t.itemsID, 300);
        EXPECT_EQ(t.stages, 0x5555);
    }
}

TEST(DialogTemplates, IconPictureAndResourceControlItemsNeedTheirId)
{
    for (uint8_t kind : {kIconDialogItem, kPictureDialogItem, kResourceControlDialogItem}) {
        std::vector<ItemTemplate> items;
        const std::vector<uint8_t> good = ItemList().AddId(kind, Rect{1, 2, 3, 4}, 4242).Bytes();
        ASSERT_TRUE(ParseItemList(good.data(), good.size(), &items)) << int(kind);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].resourceId, 4242) << int(kind);
        const std::vector<uint8_t> oneByte = ItemList().Add(kind, Rect{1, 2, 3, 4}, "x").Bytes();
        EXPECT_FALSE(ParseItemList(oneByte.data(), oneByte.size(), &items)) << int(kind);
    }
    // Other kinds take one byte of data as it is.
    std::vector<ItemTemplate> items;
    const std::vector<uint8_t> text = ItemList().Add(kStaticTextDialogItem, Rect{1, 2, 3, 4}, "x").Bytes();
    ASSERT_TRUE(ParseItemList(text.data(), text.size(), &items));
    EXPECT_EQ(items[0].data, "x");
    EXPECT_EQ(items[0].resourceId, 0);
}

// Items cut short are refused, reading nothing past the list's bytes (each
// list is copied to a block of its own size).
TEST(DialogTemplates, ItemListsThatEndInsideAnItemAreRefused)
{
    auto header = [](std::vector<uint8_t>* b, uint8_t length) {
        const uint8_t h[14] = {0, 0, 0, 0, 0, 1, 0, 2, 0, 3, 0, 4, kStaticTextDialogItem, length};
        b->insert(b->end(), h, h + 14);
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool read;
        size_t items;
    };
    std::vector<uint8_t> whole = {0, 1};  // two items
    header(&whole, 2);
    whole.insert(whole.end(), {'a', 'b'});
    header(&whole, 1);
    whole.push_back('c');  // the last item's filler left out
    std::vector<uint8_t> shortHeader(whole.begin(), whole.end() - 2);  // 13 bytes of the second header
    std::vector<uint8_t> oddFirst = {0, 1};
    header(&oddFirst, 31);  // 31 bytes and no filler, then nothing
    oddFirst.insert(oddFirst.end(), 31, 'x');
    const Case cases[] = {
        {"whole", whole, true, 2},
        {"second header one byte short", shortHeader, false, 0},
        {"the first item's data runs to the end", oddFirst, false, 0},
    };
    for (const Case& k : cases) {
        std::unique_ptr<uint8_t[]> own(new uint8_t[k.bytes.size()]);
        std::memcpy(own.get(), k.bytes.data(), k.bytes.size());
        std::vector<ItemTemplate> items;
        EXPECT_EQ(ParseItemList(own.get(), k.bytes.size(), &items), k.read) << k.what;
        EXPECT_EQ(items.size(), k.items) << k.what;
    }
}

TEST(DialogTemplates, CentredAndAlertPlacesInTheRoomBelowTheMenuBar)
{
    const Rect screen{0, 0, 768, 1024};
    const Rect bounds{10, 20, 110, 220};  // 200 x 100
    struct Case {
        uint16_t position;
        Rect placed;
    };
    const Case cases[] = {
        {kWindowCenterMainScreen, Rect{344, 412, 444, 612}},         // 20 + (748 - 100) / 2
        {kWindowAlertPositionMainScreen, Rect{236, 412, 336, 612}},  // 20 + (748 - 100) / 3
        {0, bounds},
    };
    for (const Case& k : cases) {
        const Rect r = PlaceWindowBounds(bounds, k.position, screen, 20);
        EXPECT_EQ(r.top, k.placed.top) << k.position;
        EXPECT_EQ(r.left, k.placed.left) << k.position;
        EXPECT_EQ(r.bottom, k.placed.bottom) << k.position;
        EXPECT_EQ(r.right, k.placed.right) << k.position;
    }
}

TEST(AlertIcons, TheStopNoteAndCautionIconsBitForBit)
{
    // One word per row, the leftmost pixel in the top bit.
    const uint32_t expected[3][32] = {
        {0x00000000, 0x007FFE00, 0x00FFFF00, 0x01FFFF80, 0x03FFFFC0, 0x07FFFFE0, 0x0FFFFFF0, 0x1FFFFFF8,
         0x3FFFFFFC, 0x7FFFFFFE, 0x7FFFFFFE, 0x7FFFFFFE, 0x7FFFFFFE, 0x7E00007E, 0x7E00007E, 0x7E00007E,
         0x7E00007E, 0x7E00007E, 0x7E00007E, 0x7FFFFFFE, 0x7FFFFFFE, 0x7FFFFFFE, 0x7FFFFFFE, 0x3FFFFFFC,
         0x1FFFFFF8, 0x0FFFFFF0, 0x07FFFFE0, 0x03FFFFC0, 0x01FFFF80, 0x00FFFF00, 0x007FFE00, 0x00000000},
        {0x00000000, 0x000FF000, 0x007FFE00, 0x01F00F80, 0x078001E0, 0x0E018070, 0x1C018038, 0x3800001C,
         0x3000000C, 0x3003800C, 0x60018006, 0x60018006, 0x60018006, 0x60018006, 0x60018006, 0x3001800C,
         0x3001800C, 0x3801801C, 0x1C07E038, 0x0E000070, 0x078001E0, 0x01F00F80, 0x007FFE00, 0x007FF000,
         0x00F80000, 0x01F00000, 0x03E00000, 0x03C00000, 0x03800000, 0x03000000, 0x02000000, 0x00000000},
        {0x00000000, 0x00018000, 0x00018000, 0x0003C000, 0x0003C000, 0x00066000, 0x00066000, 0x000C3000,
         0x000C3000, 0x00181800, 0x00181800, 0x00318C00, 0x00318C00, 0x00618600, 0x00618600, 0x00C18300,
         0x00C18300, 0x01818180, 0x01818180, 0x030180C0, 0x030180C0, 0x06018060, 0x06018060, 0x0C000030,
         0x0C000030, 0x18018018, 0x18018018, 0x3000000C, 0x3000000C, 0x60000006, 0x7FFFFFFE, 0xFFFFFFFF},
    };
    for (int16_t id = 0; id < 3; ++id) {
        const std::array<uint8_t, 128> bits = AlertIconImage(id);
        for (size_t row = 0; row < 32; ++row)
            EXPECT_EQ(ReadBE32(&bits[row * 4]), expected[id][row]) << "icon " << id << " row " << row;
    }
    const std::array<uint8_t, 128> none = AlertIconImage(3);
    EXPECT_EQ(none, (std::array<uint8_t, 128>{})) << "no such icon: blank";
}

class DialogEdges : public ControlTest {
protected:
    DialogRef Make(const ItemList& list, bool visible = true)
    {
        const Rect bounds{100, 100, 330, 480};
        Handle items = list.NewItemHandle();
        DialogRef d = NewDialog(nullptr, &bounds, PStr("Edges").get(), visible, dBoxProc, kFirstWindowOfClass, false,
                                0, items);
        DisposeHandle(items);
        if (d) SetPortWindowPort(GetDialogWindow(d));
        return d;
    }
    static uint32_t Pixel(DialogRef d, int16_t h, int16_t v)
    {
        SetPortWindowPort(GetDialogWindow(d));
        RGBColor c;
        GetCPixel(h, v, &c);
        return PackRGB(c);
    }
    static int Inked(DialogRef d, const Rect& r)
    {
        int n = 0;
        for (int16_t v = r.top; v < r.bottom; ++v)
            for (int16_t h = r.left; h < r.right; ++h) n += Pixel(d, h, v) != 0xFFFFFF;
        return n;
    }
};

TEST_F(DialogEdges, AlertStagesStopAtTheFourthAndBeepAsItSays)
{
    ResourceFileImage image;
    // Stage n beeps n times; stage 3 also makes item 2 the default.
    image.resources.push_back(ResourceImage{FourCC("ALRT"), 140, false, "", 0, AlertBytes(Rect{0, 0, 120, 360}, 140, 0xB210)});
    image.resources.push_back(ResourceImage{FourCC("DITL"), 140, false, "", 0,
                                            ItemList()
                                                .Add(kButtonDialogItem, Rect{90, 280, 110, 350}, "OK")
                                                .Add(kButtonDialogItem, Rect{90, 190, 110, 260}, "Cancel")
                                                .Bytes()});
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    ResetAlertStage();
    struct Step {
        int16_t stage;
        uint32_t beeps;
        DialogItemIndex returnAnswers;
    };
    const Step steps[] = {{0, 0, 1}, {1, 1, 1}, {2, 2, 1}, {3, 3, 2}, {3, 3, 2}, {3, 3, 2}};
    for (const Step& s : steps) {
        Play(Script().Key(0x0D, 0x24));
        const uint32_t before = SysBeepCount();
        EXPECT_EQ(Alert(140, nullptr), s.returnAnswers) << "stage " << s.stage;
        EXPECT_EQ(GetAlertStage(), s.stage);
        EXPECT_EQ(SysBeepCount() - before, s.beeps) << "stage " << s.stage;
    }
}

TEST_F(DialogEdges, HiddenItemsAreNotDrawnAndUpdatesRedrawTheFirstItem)
{
    const Rect first{20, 20, 40, 200}, second{60, 20, 80, 200};
    DialogRef d = Make(ItemList()
                           .Add(kStaticTextDialogItem, first, "First")
                           .Add(kStaticTextDialogItem, second, "Second"));
    ASSERT_NE(d, nullptr);
    HideDialogItem(d, 2);
    DrawDialog(d);
    EXPECT_GT(Inked(d, first), 0);
    EXPECT_EQ(Inked(d, second), 0) << "a hidden item stays blank";
    DrawItem(d, 2);
    EXPECT_EQ(Inked(d, second), 0);

    // An update of the first item's place draws it again.
    EraseRect(&first);
    ASSERT_EQ(Inked(d, first), 0);
    RgnHandle region = NewRgn();
    RectRgn(region, &first);
    UpdateDialog(d, region);
    DisposeRgn(region);
    EXPECT_GT(Inked(d, first), 0);
}

TEST_F(DialogEdges, AHiddenEditTextLeavesNoFrameOrRingAndNoPlaceToClick)
{
    const Rect label{20, 20, 40, 200}, edit{60, 20, 76, 200};
    DialogRef d = Make(ItemList()
                           .Add(kStaticTextDialogItem, label, "Name")
                           .Add(kEditTextDialogItem, edit, "text"));
    ASSERT_NE(d, nullptr);
    DrawDialog(d);
    const Rect around{int16_t(edit.top - 4), int16_t(edit.left - 4), int16_t(edit.bottom + 4), int16_t(edit.right + 4)};
    ASSERT_GT(Inked(d, around), 0);
    EXPECT_EQ(FindDialogItem(d, Point{68, 30}), 1);
    HideDialogItem(d, 2);
    EXPECT_EQ(Inked(d, around), 0) << "the frame and focus ring go with the text";
    EXPECT_GT(Inked(d, label), 0);
    EXPECT_EQ(FindDialogItem(d, Point{68, 30}), -1) << "a hidden item is not found";
    EXPECT_EQ(FindDialogItem(d, Point{30, 30}), 0);
    // A new text for the hidden item is kept, not shown.
    DialogItemType type;
    Handle h = nullptr;
    Rect box;
    GetDialogItem(d, 2, &type, &h, &box);
    SetDialogItemText(h, PStr("other").get());
    EXPECT_EQ(Inked(d, around), 0);
    Str255 text;
    GetDialogItemText(h, text);
    EXPECT_EQ(text[0], 5);
}

TEST_F(DialogEdges, AResetForgetsTheParameters)
{
    ParamText(PStr("x").get(), PStr("y").get(), nullptr, nullptr);
    ASSERT_EQ(ExpandParams("^0^1"), "xy");
    ResetDialogManager();
    EXPECT_EQ(ExpandParams("^0^1"), "");
}

TEST_F(DialogEdges, AnUpdateOverTheAlertIconDrawsTheStopIconToo)
{
    ASSERT_EQ(OpenSystemResFile(), noErr);
    DialogRef d = Make(ItemList().Add(kStaticTextDialogItem, Rect{60, 70, 80, 200}, "Stop"));
    ASSERT_NE(d, nullptr);
    d->alertIcon = kStopIcon;
    const Rect iconBox{10, 20, 42, 52};
    RgnHandle region = NewRgn();
    RectRgn(region, &iconBox);
    UpdateDialog(d, region);
    DisposeRgn(region);
    const std::array<uint8_t, 128> bits = AlertIconImage(kStopIcon);
    for (int16_t v = 0; v < 32; ++v)
        for (int16_t h = 0; h < 32; ++h) {
            const bool black = (bits[size_t(v * 4 + h / 8)] >> (7 - h % 8)) & 1;
            ASSERT_EQ(Pixel(d, int16_t(20 + h), int16_t(10 + v)), black ? 0u : 0xFFFFFFu) << h << "," << v;
        }
}

TEST_F(DialogEdges, DrawingAColourIconItemKeepsNoHandle)
{
    ResourceFileImage image;
    image.resources.push_back(ResourceImage{FourCC("cicn"), 600, false, "", 0, icontest::ColourIcon()});
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    DialogRef d = Make(ItemList()
                           .AddId(kIconDialogItem, Rect{10, 10, 18, 18}, 600)
                           .AddId(kIconDialogItem, Rect{30, 10, 62, 42}, 9999));
    ASSERT_NE(d, nullptr);
    // The second item's icon is one the program gives: its top row black.
    Handle given = NewHandleClear(128);
    std::memset(*given, 0xFF, 4);
    const Rect givenBox{30, 10, 62, 42};
    SetDialogItem(d, 2, kIconDialogItem, given, &givenBox);
    DrawDialog(d);
    EXPECT_EQ(Pixel(d, 10, 10), 0xFF0000u) << "the icon's red half";
    EXPECT_EQ(Pixel(d, 17, 10), 0x0000FFu);
    EXPECT_EQ(Pixel(d, 10, 30), 0x000000u);
    EXPECT_EQ(Pixel(d, 41, 30), 0x000000u);
    EXPECT_EQ(Pixel(d, 10, 31), 0xFFFFFFu);
    const size_t handles = LiveHandleCount();
    DrawDialog(d);
    DrawItem(d, 1);
    EXPECT_EQ(LiveHandleCount(), handles);
    DisposeDialog(d);
    DisposeHandle(given);
}

void NoDraw(DialogRef, DialogItemIndex) {}

TEST_F(DialogEdges, ItemHandlesAndTextsComeBackAsSet)
{
    DialogRef d = Make(ItemList()
                           .Add(kUserDialogItem, Rect{10, 10, 30, 30}, "")
                           .Add(kEditTextDialogItem, Rect{40, 10, 56, 200}, "abc")
                           .AddId(kIconDialogItem, Rect{60, 10, 92, 42}, 9999));
    ASSERT_NE(d, nullptr);
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(d, 1, &type, &h, &box);
    SetDialogItem(d, 1, type, UserItemHandle(NoDraw), &box);
    GetDialogItem(d, 1, &type, &h, &box);
    EXPECT_EQ(h, UserItemHandle(NoDraw));
    GetDialogItem(d, 3, &type, &h, &box);
    EXPECT_EQ(h, nullptr) << "an icon item whose icon is missing";
    GetDialogItem(d, 4, &type, &h, &box);
    EXPECT_EQ(h, nullptr) << "just past the last item";
    EXPECT_EQ(type, 0);
    EXPECT_EQ(box.right, 0);

    // Texts whose first character is a zero byte, or that are empty.
    GetDialogItem(d, 2, &type, &h, &box);
    const unsigned char zeroFirst[] = {3, 0, 'x', 'y'};
    SetDialogItemText(h, zeroFirst);
    Str255 text;
    GetDialogItemText(h, text);
    ASSERT_EQ(text[0], 3);
    EXPECT_EQ(std::memcmp(text + 1, "\0xy", 3), 0);
    const unsigned char empty[] = {0};
    SetDialogItemText(h, empty);
    GetDialogItemText(h, text);
    EXPECT_EQ(text[0], 0);
    text[0] = 9;
    GetDialogItemText(nullptr, text);
    EXPECT_EQ(text[0], 0) << "no handle: no text";
    // A handle of no item takes the text and no item changes.
    Handle loose = NewHandle(0);
    SetDialogItemText(loose, PStr("loose").get());
    EXPECT_EQ(std::string(*loose, size_t(GetHandleSize(loose))), "loose");
    DisposeHandle(loose);
    GetDialogItemText(h, text);
    EXPECT_EQ(text[0], 0);
    for (DialogItemIndex past : {DialogItemIndex(0), DialogItemIndex(4)}) {
        text[0] = 9;
        GetDialogItemShownText(d, past, text);
        EXPECT_EQ(text[0], 0) << past;
    }
}

TEST_F(DialogEdges, AResourceControlTakesItsItemsBoxAndEditCommandsWithoutAFocusDoNothing)
{
    std::vector<uint8_t> cntl(22, 0);
    WriteBE16(&cntl[4], 5);  // bounds 0, 0, 5, 5: the item's box wins
    WriteBE16(&cntl[6], 5);
    WriteBE16(&cntl[12], 1);
    WriteBE16(&cntl[16], checkBoxProc);
    cntl.push_back(0);
    ResourceFileImage image;
    image.resources.push_back(ResourceImage{FourCC("CNTL"), 500, false, "", 0, cntl});
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    const Rect box{30, 40, 50, 160};
    DialogRef d = Make(ItemList().AddId(kResourceControlDialogItem, box, 500));
    ASSERT_NE(d, nullptr);
    ControlRef c = nullptr;
    ASSERT_EQ(GetDialogItemAsControl(d, 1, &c), noErr);
    Rect bounds;
    GetControlBounds(c, &bounds);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.bottom, 50);
    EXPECT_EQ(bounds.right, 160);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), 0);
    DialogCut(d);
    DialogCopy(d);
    DialogPaste(d);
    DialogDelete(d);
    EXPECT_EQ(CountDITL(d), 1);
}

TEST_F(DialogEdges, MemoryRunningOutWhileADialogIsMadeLeavesNothingOrAWholeDialog)
{
    const ItemList list = ItemList()
                              .Add(kStaticTextDialogItem, Rect{10, 10, 30, 200}, "Name:")
                              .Add(kEditTextDialogItem, Rect{40, 10, 56, 200}, "abc")
                              .Add(kButtonDialogItem, Rect{80, 10, 100, 80}, "OK");
    Handle items = list.NewItemHandle();
    const Rect bounds{100, 100, 330, 480};
    int made = 0;
    for (int32_t after = 0; after < 200; ++after) {
        const size_t handles = LiveHandleCount();
        InjectFault(FaultKind::Allocation, after);
        DialogRef d = NewDialog(nullptr, &bounds, PStr("Edges").get(), true, dBoxProc, kFirstWindowOfClass, false, 0,
                                items);
        const bool fired = !IsFaultArmed(FaultKind::Allocation);
        ClearFault(FaultKind::Allocation);
        if (!d) {
            EXPECT_TRUE(fired) << after;
            EXPECT_EQ(LiveHandleCount(), handles) << "nothing left after failing at " << after;
            EXPECT_EQ(GetWindowList(), nullptr) << after;
            continue;
        }
        ++made;
        EXPECT_EQ(GetDialogKeyboardFocusItem(d), 2) << "the edit text has its editor, " << after;
        DisposeDialog(d);
        EXPECT_EQ(LiveHandleCount(), handles) << after;
        if (!fired) break;
    }
    EXPECT_GE(made, 1);
    DisposeHandle(items);
}

Boolean EndsWithoutAnItem(DialogRef, EventRecord* e, DialogItemIndex*)
{
    return e->what == keyDown;
}

std::string gModalName;
Boolean NoteTheModal(DialogRef, EventRecord* e, DialogItemIndex* item)
{
    if (e->what != keyDown) return false;
    gModalName = CurrentModal() ? *CurrentModal() : "";
    *item = 7;
    return true;
}

TEST_F(DialogEdges, TheModalLoopsAnswersAndNames)
{
    DialogRef d = Make(ItemList().Add(kStaticTextDialogItem, Rect{10, 10, 30, 200}, "Hello"));
    ASSERT_NE(d, nullptr);
    Play(Script().Key('a', 0));
    DialogItemIndex hit = 99;
    ModalDialog(EndsWithoutAnItem, &hit);
    EXPECT_EQ(hit, 0) << "a filter that ends the loop naming no item";
    DisposeDialog(d);

    // The first static text names the dialog, cut past 80 characters.
    struct Case {
        size_t length;
        std::string shown;
    };
    const Case cases[] = {{80, std::string(80, 'x')}, {81, std::string(77, 'x') + "..."}};
    for (const Case& k : cases) {
        d = Make(ItemList().Add(kStaticTextDialogItem, Rect{10, 10, 30, 200}, std::string(k.length, 'x')));
        ASSERT_NE(d, nullptr);
        Play(Script().Key('a', 0));
        ModalDialog(NoteTheModal, &hit);
        EXPECT_EQ(hit, 7);
        EXPECT_EQ(gModalName, "dialog 'Edges' \"" + k.shown + "\"") << k.length;
        DisposeDialog(d);
    }
}

TEST_F(DialogEdges, TheIBeamShowsOverAnEditTextThatIsTheFirstItem)
{
    SetThemeCursor(kThemeIBeamCursor);
    const ScreenCursor ibeam = CurrentScreenCursor();
    SetThemeCursor(kThemeArrowCursor);
    const ScreenCursor arrow = CurrentScreenCursor();
    DialogRef d = Make(ItemList()
                           .Add(kEditTextDialogItem, Rect{10, 10, 26, 200}, "")
                           .Add(kButtonDialogItem, Rect{80, 10, 100, 80}, "OK"));
    ASSERT_NE(d, nullptr);
    SetDialogTracksCursor(d, true);
    ModalFilterUPP standard = nullptr;
    ASSERT_EQ(GetStdFilterProc(&standard), noErr);
    struct Case {
        int16_t v;  // local
        bool beam;
    };
    for (const Case& k : {Case{18, true}, Case{50, false}}) {
        Play(Script().Move(int16_t(100 + 50), int16_t(100 + k.v)).Wait(2));
        EventRecord e{};
        while (WaitNextEvent(everyEvent, &e, 0, nullptr)) {
        }
        e.what = nullEvent;
        DialogItemIndex item = 0;
        EXPECT_FALSE(standard(d, &e, &item));
        const ScreenCursor now = CurrentScreenCursor();
        EXPECT_EQ(std::memcmp(now.data, (k.beam ? ibeam : arrow).data, sizeof now.data), 0) << k.v;
    }
}

}  // namespace
}  // namespace platform::testing
