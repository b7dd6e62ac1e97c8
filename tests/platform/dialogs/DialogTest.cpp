#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/drawing/Regions.h"
#include "platform/menus/Menus.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/screen/Screen.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/dialogs/DialogTestSupport.h"

namespace platform::testing {
namespace {

enum : DialogItemIndex {
    kOK = 1, kCancel, kCheck, kRadio, kStatic, kFirstEdit, kSecondEdit, kUser, kIcon, kPicture, kDisabled
};

const Rect kStaticBox{60, 20, 80, 300};

ItemList TestItems()
{
    return ItemList()
        .Add(kButtonDialogItem, Rect{200, 290, 220, 360}, "OK")
        .Add(kButtonDialogItem, Rect{200, 200, 220, 270}, "Cancel")
        .Add(kCheckBoxDialogItem, Rect{20, 20, 36, 160}, "Check")
        .Add(kRadioButtonDialogItem, Rect{40, 20, 56, 160}, "Radio")
        .Add(kStaticTextDialogItem, kStaticBox, "^0 files")
        .Add(kEditTextDialogItem, Rect{90, 20, 106, 200}, "")
        .Add(kEditTextDialogItem, Rect{120, 20, 136, 200}, "")
        .Add(kUserDialogItem, Rect{150, 20, 180, 100}, "")
        .AddId(kIconDialogItem, Rect{10, 320, 42, 352}, kNoteIcon)
        .AddId(kPictureDialogItem, Rect{60, 320, 92, 352}, 128)
        .Add(kButtonDialogItem | itemDisable, Rect{200, 20, 220, 100}, "Off");
}

int gUserDraws = 0;
void DrawUser(DialogRef, DialogItemIndex item)
{
    ++gUserDraws;
    EXPECT_EQ(item, kUser);
}

WindowRef gOther = nullptr;
int gOtherUpdates = 0;

Boolean TakeReturn(DialogRef, EventRecord* e, DialogItemIndex* item)
{
    if (e->what == updateEvt && reinterpret_cast<WindowRef>(e->message) == gOther) ++gOtherUpdates;
    if (e->what == keyDown && (e->message & charCodeMask) == 0x0D) {
        *item = 42;
        return true;
    }
    return false;
}

class DialogTest : public ControlTest {
protected:
    // The test dialog, content at (100, 100) global, in front.
    DialogRef Make()
    {
        const Rect bounds{100, 100, 330, 480};
        Handle items = TestItems().NewItemHandle();
        DialogRef d = NewDialog(nullptr, &bounds, PStr("Test").get(), true, dBoxProc, kFirstWindowOfClass, false, 0,
                                items);
        DisposeHandle(items);
        EXPECT_NE(d, nullptr);
        SetDialogCancelItem(d, kCancel);
        DialogItemType type;
        Handle h;
        Rect box;
        GetDialogItem(d, kUser, &type, &h, &box);
        SetDialogItem(d, kUser, type, UserItemHandle(DrawUser), &box);
        SetPortWindowPort(GetDialogWindow(d));
        return d;
    }
    // Puts a text in an item; its handle.
    static Handle SetItemText(DialogRef d, DialogItemIndex item, const char* text)
    {
        DialogItemType type;
        Handle h;
        Rect box;
        GetDialogItem(d, item, &type, &h, &box);
        SetDialogItemText(h, PStr(text).get());
        return h;
    }
    std::string ItemText(DialogRef d, DialogItemIndex item)
    {
        DialogItemType type;
        Handle h;
        Rect box;
        GetDialogItem(d, item, &type, &h, &box);
        Str255 text;
        GetDialogItemText(h, text);
        return std::string(reinterpret_cast<char*>(text + 1), text[0]);
    }
    // Runs the modal loop until an item outside the edit texts answers.
    DialogItemIndex Run(ModalFilterUPP filter = nullptr)
    {
        DialogItemIndex item = 0;
        for (int i = 0; i < 100; ++i) {
            ModalDialog(filter, &item);
            if (item != kFirstEdit && item != kSecondEdit) return item;
        }
        return -1;
    }
};

uint32_t LocalPixel(WindowRef w, int16_t h, int16_t v)
{
    SetPortWindowPort(w);
    RGBColor c;
    GetCPixel(h, v, &c);
    return PackRGB(c);
}

TEST_F(DialogTest, ParamTextShowsInStaticTextAndUserItemsDraw)
{
    ParamText(PStr("3").get(), nullptr, nullptr, nullptr);
    gUserDraws = 0;
    DialogRef d = Make();
    DrawDialog(d);
    EXPECT_EQ(gUserDraws, 1);
    EXPECT_EQ(ItemText(d, kStatic), "^0 files");  // the item keeps its own text
    // The same box with the expanded text, in another dialog.
    Handle plain = ItemList().Add(kStaticTextDialogItem, kStaticBox, "3 files").NewItemHandle();
    const Rect other{400, 600, 630, 980};
    DialogRef ref = NewDialog(nullptr, &other, PStr("").get(), true, dBoxProc, nullptr, false, 0, plain);
    DisposeHandle(plain);
    DrawDialog(ref);
    int inked = 0;
    for (int16_t v = kStaticBox.top; v < kStaticBox.bottom; ++v)
        for (int16_t h = kStaticBox.left; h < kStaticBox.right; ++h) {
            const uint32_t want = LocalPixel(GetDialogWindow(ref), h, v);
            ASSERT_EQ(LocalPixel(GetDialogWindow(d), h, v), want) << h << "," << v;
            if (want != 0xFFFFFF) ++inked;
        }
    EXPECT_GT(inked, 20);
    // A parameter holding ^1 is not expanded again; null keeps a parameter.
    ParamText(PStr("^1").get(), PStr("x").get(), nullptr, nullptr);
    EXPECT_EQ(ExpandParams("^0 and ^1"), "^1 and x");
    ParamText(nullptr, PStr("y").get(), nullptr, nullptr);
    EXPECT_EQ(ExpandParams("^0^1^2^"), "^1y^");
}

TEST_F(DialogTest, EachOfTheFourMarksTakesItsOwnParameter)
{
    ParamText(PStr("a").get(), PStr("bb").get(), PStr("ccc").get(), PStr("dddd").get());
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"^0", "a"},           {"^1", "bb"},   {"^2", "ccc"},       {"^3", "dddd"},
        {"^3^2^1^0", "ddddcccbba"},
        {"^4 ^/ ^", "^4 ^/ ^"},  // no parameter past the fourth, and a mark at the end stays
        {"^^0", "^a"},           {"x^0y", "xay"},
    };
    for (const Case& k : cases) EXPECT_EQ(ExpandParams(k.text), k.shown) << k.text;

    // Only a static text shows its parameters; no item past the last.
    DialogRef d = Make();
    Str255 text;
    GetDialogItemShownText(d, kStatic, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "a files");
    SetItemText(d, kSecondEdit, "^1");
    GetDialogItemShownText(d, kSecondEdit, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "^1");
    GetDialogItemShownText(d, kDisabled + 1, text);
    EXPECT_EQ(text[0], 0);
    DialogItemType type = 1;
    Handle h = reinterpret_cast<Handle>(&type);
    Rect box{1, 1, 1, 1};
    GetDialogItem(d, kDisabled, &type, &h, &box);
    EXPECT_EQ(box.left, 20) << "the last item";
    GetDialogItem(d, kDisabled + 1, &type, &h, &box);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(box.right, 0);
    // Texts past 255 characters are cut at 255.
    const std::string text200(200, 'p');
    ParamText(PStr(text200.c_str()).get(), nullptr, nullptr, nullptr);
    Handle statics = SetItemText(d, kStatic, "^0^0");
    GetDialogItemShownText(d, kStatic, text);
    EXPECT_EQ(text[0], 255);
    SetHandleSize(statics, 300);
    std::memset(*statics, 'q', 300);
    GetDialogItemText(statics, text);
    EXPECT_EQ(text[0], 255);
    EXPECT_EQ(text[255], 'q');
    ParamText(PStr("").get(), PStr("").get(), PStr("").get(), PStr("").get());
}

TEST_F(DialogTest, HidingTheFocusedEditTextTakesTheFocusFromIt)
{
    DialogRef d = Make();
    ASSERT_EQ(GetDialogKeyboardFocusItem(d), kFirstEdit);
    HideDialogItem(d, kSecondEdit);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kFirstEdit) << "another item hidden: the focus stays";
    ShowDialogItem(d, kSecondEdit);
    HideDialogItem(d, kFirstEdit);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), 0);
    EXPECT_EQ(GetDialogTextEditHandle(d), nullptr);
    DisposeDialog(d);

    // Tab passes over a hidden edit text, back to the only one shown, and
    // selects all of it.
    d = Make();
    HideDialogItem(d, kSecondEdit);
    Script keys;
    keys.Type("abc").Key("tab");
    keys.Key("escape");
    Play(keys);
    EXPECT_EQ(Run(), kCancel);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kFirstEdit);
    const DialogItem& first = d->items[kFirstEdit - 1];
    EXPECT_EQ((**first.te).selStart, 0);
    EXPECT_EQ((**first.te).selEnd, 3);
}

TEST_F(DialogTest, ControlsComeBackActiveWithTheDialogUnlessTheProgramDimmedThem)
{
    DialogRef d = Make();
    ControlRef check = nullptr, off = nullptr;
    ASSERT_EQ(GetDialogItemAsControl(d, kCheck, &check), noErr);
    ASSERT_EQ(GetDialogItemAsControl(d, kRadio, &off), noErr);
    HiliteControl(off, kControlInactivePart);
    EventRecord e{};
    e.what = activateEvt;
    e.message = reinterpret_cast<uintptr_t>(GetDialogWindow(d));
    DialogRef which = nullptr;
    DialogItemIndex hit = 0;
    for (int round = 0; round < 2; ++round) {
        e.modifiers = 0;
        EXPECT_FALSE(DialogSelect(&e, &which, &hit));
        EXPECT_EQ(which, d);
        EXPECT_FALSE(IsControlActive(check)) << round;
        e.modifiers = activeFlag;
        DialogSelect(&e, &which, &hit);
        EXPECT_TRUE(IsControlActive(check)) << round;
        EXPECT_FALSE(IsControlActive(off)) << round;
    }
}

TEST_F(DialogTest, TypingAndTabFillBothEditTextsAndReturnFlashesTheDefault)
{
    DialogRef d = Make();
    uint32_t pressed = 0, after = 0;
    // The OK button's face left of its title.
    auto face = [] { return ScreenPixel(100 + 296, 100 + 210); };
    Script s;
    s.Type("abc").Key("tab");
    s.Type("de").Key("return");
    s.Screenshot("pressed").Wait(12).Screenshot("after");
    PlayWithProbe(s, [&](const std::string& which) { (which == "pressed" ? pressed : after) = face(); });
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kFirstEdit);
    const uint32_t before = TickCount();
    EXPECT_EQ(Run(), kOK);
    EXPECT_GE(TickCount() - before, 8u);
    EXPECT_EQ(ItemText(d, kFirstEdit), "abc");
    EXPECT_EQ(ItemText(d, kSecondEdit), "de");
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kSecondEdit);
    uint32_t done = 0;
    Delay(20, &done);  // lets the second probe come
    EXPECT_NE(pressed, 0u);
    EXPECT_NE(pressed, after) << "the button shows pressed during the flash";
}

TEST_F(DialogTest, AShiftClickInAnotherEditTextPlacesTheCaretThere)
{
    DialogRef d = Make();
    // The second edit text holds "hello"; the first has the focus.
    SetItemText(d, kSecondEdit, "hello");
    SelectDialogItemText(d, kFirstEdit, 0, 0);
    // A shift-click right of the text's end, in the second: a caret at
    // the end, nothing selected from where the focus came.
    Script script;
    script.Click(int16_t(100 + 190), int16_t(100 + 128), shiftKey);
    script.Key("escape");
    Play(script);
    EXPECT_EQ(Run(), kCancel);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kSecondEdit);
    const DialogItem& second = d->items[kSecondEdit - 1];
    EXPECT_EQ((**second.te).selStart, 5);
    EXPECT_EQ((**second.te).selEnd, 5);
}

// A filter that takes every key, as one that keeps an item to digits does.
Boolean TakeEveryKey(DialogRef, EventRecord* e, DialogItemIndex* item)
{
    if (e->what != keyDown) return false;
    *item = 0;
    return true;
}

TEST_F(DialogTest, EscapeAndCommandPeriodAnswerTheCancelItem)
{
    // The button titled "Cancel" cancels when no item was named, and the
    // keys press it before any filter of the caller sees them.
    const Rect bounds{100, 100, 330, 480};
    Handle items = TestItems().NewItemHandle();
    DialogRef d = NewDialog(nullptr, &bounds, PStr("Test").get(), true, dBoxProc, kFirstWindowOfClass, false, 0, items);
    DisposeHandle(items);
    ASSERT_NE(d, nullptr);
    for (ModalFilterUPP filter : {ModalFilterUPP(nullptr), ModalFilterUPP(TakeEveryKey)}) {
        Script s;
        s.Key("escape");
        s.Key('.', 0x2F, cmdKey);
        Play(s);
        EXPECT_EQ(Run(filter), kCancel);
        EXPECT_EQ(Run(filter), kCancel);
    }
}

TEST_F(DialogTest, TheStandardFilterAnswersItsKeysAndNothingElse)
{
    DialogRef d = Make();
    ModalFilterUPP filter = nullptr;
    ASSERT_EQ(GetStdFilterProc(&filter), noErr);
    struct Case {
        uint16_t what;
        uint8_t ch, key;
        uint16_t modifiers;
        DialogItemIndex item;  // 0: not the filter's
    };
    const Case cases[] = {
        {keyDown, 0x0D, 0x24, 0, kOK},         {autoKey, 0x03, 0x4C, 0, kOK},       // return, enter
        {keyDown, 0x0D, 0x24, cmdKey, 0},      {keyDown, 0x1B, 0x35, 0, kCancel},   // escape
        {keyDown, 0x1B, 0x47, 0, kCancel},     {keyDown, '.', 0x2F, cmdKey, kCancel},  // clear, command-period
        {keyDown, 'x', 0x07, cmdKey, 0},       {keyDown, '.', 0x2F, 0, 0},
        {keyUp, 0x0D, 0x24, 0, 0},             {mouseDown, 0x0D, 0x24, 0, 0},
    };
    for (const Case& k : cases) {
        EventRecord e{k.what, uintptr_t(k.key) << 8 | k.ch, 0, {0, 0}, k.modifiers};
        DialogItemIndex hit = -7;
        EXPECT_EQ(bool(filter(d, &e, &hit)), k.item != 0) << int(k.ch) << " " << k.modifiers;
        EXPECT_EQ(hit, k.item ? k.item : -7) << int(k.ch) << " " << k.modifiers;
    }
    EventRecord enter{keyDown, 0x4C03, 0, {0, 0}, 0};
    DialogItemIndex hit = -7;
    EXPECT_FALSE(filter(nullptr, &enter, &hit));
    EXPECT_FALSE(filter(d, nullptr, &hit));
    SetDialogDefaultItem(d, kDisabled);
    EXPECT_FALSE(filter(d, &enter, &hit)) << "a default that cannot be pressed";
    EXPECT_EQ(hit, -7);
    // Following the cursor leaves the caller's port as it was.
    WindowRef other = Document(600, 100, 800, 300, "Other");
    SetPortWindowPort(other);
    SetDialogTracksCursor(d, true);
    EventRecord idle{nullEvent, 0, 0, {0, 0}, 0};
    EXPECT_FALSE(filter(d, &idle, &hit));
    GrafPtr port = nullptr;
    GetPort(&port);
    EXPECT_EQ(port, GetWindowPort(other));
}

TEST_F(DialogTest, FilterSeesEventsFirstAndDisabledItemsAnswerNothing)
{
    gOther = Document(600, 100, 800, 300, "Other");
    gOtherUpdates = 0;
    Make();
    Script s;
    s.Wait(3).Key("return");
    s.Click(100 + 60, 100 + 210);  // the disabled button
    s.Click(100 + 90, 100 + 28);   // the check box
    Play(s);
    EXPECT_EQ(Run(TakeReturn), 42);
    EXPECT_EQ(gOtherUpdates, 1);  // the other window's update, once
    EXPECT_EQ(Run(), kCheck);
}

TEST_F(DialogTest, OtherWindowsBeepWhileTheMenuBarStillWorks)
{
    MenuRef menu = NewMenu(7, PStr("Edit").get());
    AppendMenu(menu, PStr("Undo;Cut").get());
    InsertMenu(menu, 0);
    DrawMenuBar();
    Rect title;
    ASSERT_TRUE(GetMenuTitleRect(7, &title));
    WindowRef other = Document(600, 100, 800, 300, "Other");
    Make();
    const uint32_t beeps = SysBeepCount();
    // Under the title, where the menu opens.
    const int16_t h = int16_t(title.left + 10), v = int16_t(title.bottom + 12);
    const uint32_t before = ScreenPixel(h, v);
    uint32_t during = before;
    Script s;
    s.Click(700, 200);  // another window: a beep, nothing else
    s.Press(int16_t((title.left + title.right) / 2), int16_t((title.top + title.bottom) / 2)).Wait(3);
    // Let go on the title, the menu stays open; a click beside it closes it.
    s.Screenshot("open").Release().Wait(3).Click(700, 600);
    s.Choose(kOK);
    PlayWithProbe(s, [&](const std::string&) { during = ScreenPixel(h, v); });
    EXPECT_EQ(Run(), kOK);
    EXPECT_TRUE(run->watchdogMessage.empty());
    EXPECT_EQ(SysBeepCount(), beeps + 1);
    EXPECT_NE(during, before);  // the menu was pulled down
    EXPECT_EQ(ScreenPixel(h, v), before);
    EXPECT_NE(FrontWindow(), other);
    DeleteMenu(7);
    DisposeMenu(menu);
}

TEST_F(DialogTest, TrackingDialogShowsTheIBeamOverEditText)
{
    SetThemeCursor(kThemeIBeamCursor);
    const ScreenCursor ibeam = CurrentScreenCursor();
    SetThemeCursor(kThemeArrowCursor);
    DialogRef d = Make();
    SetDialogTracksCursor(d, true);
    Play(Script().Move(100 + 50, 100 + 98).Wait(3).Choose(kOK));
    EXPECT_EQ(Run(), kOK);
    EXPECT_EQ(std::memcmp(CurrentScreenCursor().data, ibeam.data, sizeof ibeam.data), 0);
}

TEST_F(DialogTest, EditCommandsAndSelectionGoThroughTheFocus)
{
    DialogRef d = Make();
    SetItemText(d, kSecondEdit, "hello world");
    SelectDialogItemText(d, kSecondEdit, 0, 6);
    EXPECT_EQ(GetDialogKeyboardFocusItem(d), kSecondEdit);
    DialogCut(d);
    EXPECT_EQ(ItemText(d, kSecondEdit), "world");
    SelectDialogItemText(d, kSecondEdit, 5, 5);
    DialogPaste(d);
    EXPECT_EQ(ItemText(d, kSecondEdit), "worldhello ");
    SelectDialogItemText(d, kSecondEdit, 0, 5);
    DialogDelete(d);
    EXPECT_EQ(ItemText(d, kSecondEdit), "hello ");
    ControlRef check = nullptr;
    EXPECT_EQ(GetDialogItemAsControl(d, kCheck, &check), noErr);
    EXPECT_NE(check, nullptr);
    ControlRef none = check;
    EXPECT_EQ(GetDialogItemAsControl(d, kStatic, &none), errItemNotControl);
    EXPECT_EQ(none, nullptr);
    HideDialogItem(d, kCheck);
    EXPECT_FALSE(IsControlVisible(check));
    ShowDialogItem(d, kCheck);
    EXPECT_TRUE(IsControlVisible(check));
    EXPECT_EQ(CountDITL(d), 11);
    EXPECT_EQ(FindDialogItem(d, Point{28, 90}), kCheck - 1);
}

TEST_F(DialogTest, WatchdogEndsADialogNoOneAnswers)
{
    Make();
    HeadlessOptions options;
    options.watchdogTicks = 20;
    Play(Script().Wait(1), options);
    EXPECT_EQ(Run(), kCancel);
    EXPECT_FALSE(run->watchdogMessage.empty());
}

TEST_F(DialogTest, ContentIsWhiteUnlessTheApplicationSetsItsBackground)
{
    DialogRef d = Make();
    DrawDialog(d);
    EXPECT_EQ(LocalPixel(GetDialogWindow(d), 250, 150), 0xFFFFFFu);
    SetPortWindowPort(GetDialogWindow(d));
    const RGBColor grey{0xDDDD, 0xDDDD, 0xDDDD};
    RGBBackColor(&grey);
    DrawDialog(d);
    EXPECT_EQ(LocalPixel(GetDialogWindow(d), 250, 150), 0xDDDDDDu);
    // An update of part of it draws the items there and only those.
    gUserDraws = 0;
    RgnHandle area = NewRgn();
    SetRectRgn(area, 10, 140, 120, 190);
    UpdateDialog(d, area);
    EXPECT_EQ(gUserDraws, 1);
    SetRectRgn(area, 300, 0, 380, 40);
    UpdateDialog(d, area);
    EXPECT_EQ(gUserDraws, 1);
    DisposeRgn(area);
}

TEST_F(DialogTest, ModelessDialogsTakeTheirEventsThroughDialogSelect)
{
    DialogRef d = Make();
    Play(Script().Click(100 + 90, 100 + 28).Click(100 + 60, 100 + 70));
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_TRUE(IsDialogEvent(&e));
    DialogRef which = nullptr;
    DialogItemIndex item = 0;
    EXPECT_TRUE(DialogSelect(&e, &which, &item));
    EXPECT_EQ(which, d);
    EXPECT_EQ(item, kCheck);
    // Static text is enabled: a click on it answers too.
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_TRUE(DialogSelect(&e, &which, &item));
    EXPECT_EQ(item, kStatic);
    WindowRef doc = Document(600, 100, 800, 300, "Doc");
    EventRecord update{updateEvt, reinterpret_cast<uintptr_t>(doc), 0, {0, 0}, 0};
    EXPECT_FALSE(IsDialogEvent(&update));
}

TEST_F(DialogTest, DamagedOrMissingTemplatesGiveNoDialog)
{
    std::vector<uint8_t> dlog(21, 0);
    WriteBE16(&dlog[4], 100);
    WriteBE16(&dlog[6], 200);
    WriteBE16(&dlog[18], 300);  // its item list
    ResourceFileImage image;
    image.resources.push_back(ResourceImage{FourCC("DLOG"), 300, false, "", 0, dlog});
    std::vector<uint8_t> shortOne(dlog.begin(), dlog.begin() + 20);
    image.resources.push_back(ResourceImage{FourCC("DLOG"), 301, false, "", 0, shortOne});
    std::vector<uint8_t> lying = TestItems().Bytes();
    WriteBE16(&lying[0], 40);  // 41 items claimed, 11 held
    image.resources.push_back(ResourceImage{FourCC("DITL"), 300, false, "", 0, lying});
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    EXPECT_EQ(GetNewDialog(300, nullptr, kFirstWindowOfClass), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(GetNewDialog(301, nullptr, kFirstWindowOfClass), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(GetNewDialog(302, nullptr, kFirstWindowOfClass), nullptr);
    EXPECT_EQ(GetWindowList(), nullptr);  // nothing left behind
}

// Alerts.
const Rect kAlertBounds{0, 0, 120, 360};

class AlertTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ResourceFileImage image;
        image.resources.push_back(ResourceImage{FourCC("ALRT"), 128, false, "", 0, AlertBytes(kAlertBounds, 128, 0x5555)});
        image.resources.push_back(ResourceImage{
            FourCC("DITL"), 128, false, "", 0,
            ItemList()
                .Add(kButtonDialogItem, Rect{90, 280, 110, 350}, "OK")
                .Add(kButtonDialogItem, Rect{90, 190, 110, 260}, "Cancel")
                .Add(kStaticTextDialogItem, Rect{10, 70, 60, 350}, "Stop!")
                .Bytes()});
        image.resources.push_back(ResourceImage{FourCC("ALRT"), 132, false, "", 0, AlertBytes(kAlertBounds, 132, 0x5555)});
        image.resources.push_back(ResourceImage{
            FourCC("DITL"), 132, false, "", 0,
            ItemList()
                .Add(kButtonDialogItem, Rect{90, 280, 110, 350}, "Save")
                .Add(kButtonDialogItem, Rect{90, 20, 110, 110}, "Don't save")
                .Add(kButtonDialogItem, Rect{90, 190, 110, 260}, "Cancel")
                .Add(kStaticTextDialogItem, Rect{10, 70, 60, 350}, "Save?")
                .Bytes()});
        image.resources.push_back(ResourceImage{FourCC("ALRT"), 131, false, "", 0, AlertBytes(kAlertBounds, 131, 0x5555)});
        image.resources.push_back(ResourceImage{
            FourCC("DITL"), 131, false, "", 0,
            ItemList()
                .Add(kButtonDialogItem, Rect{90, 280, 110, 350}, "OK")
                .Add(kStaticTextDialogItem, Rect{10, 70, 60, 350}, "Done.")
                .Bytes()});
        std::vector<uint8_t> damaged = AlertBytes(kAlertBounds, 128, 0x5555);
        damaged.resize(10);
        image.resources.push_back(ResourceImage{FourCC("ALRT"), 129, false, "", 0, damaged});
        ASSERT_NE(OpenResFileImageBelow(image), -1);
    }
    // Where the alert's content lands: centred, a third of the way down.
    Rect AlertContent()
    {
        return PlaceWindowBounds(kAlertBounds, kWindowAlertPositionMainScreen, ScreenBounds(), GetMBarHeight());
    }
};

TEST_F(AlertTest, StopAlertShowsTheStopIconAndAnswersTheClickedButton)
{
    const Rect at = AlertContent();
    std::vector<uint32_t> icon;
    Script s;
    s.Wait(2).Screenshot("icon").Click(int16_t(at.left + 220), int16_t(at.top + 100));
    PlayWithProbe(s, [&](const std::string&) {
        const PixMap* screen = ComposeScreen();  // once: each pixel read would compose again
        for (int v = 0; v < 32; ++v) {
            const auto* row = reinterpret_cast<const uint32_t*>(screen->baseAddr + (at.top + 10 + v) * (screen->rowBytes & 0x3FFF));
            for (int h = 0; h < 32; ++h) icon.push_back(row[at.left + 20 + h] & 0xFFFFFF);
        }
    });
    const uint32_t beeps = SysBeepCount();
    EXPECT_EQ(StopAlert(128, nullptr), 2);
    EXPECT_EQ(SysBeepCount(), beeps + 1);
    Handle stop = GetResource(FourCC("ICON"), kStopIcon);
    ASSERT_NE(stop, nullptr);
    ASSERT_EQ(icon.size(), 1024u);
    for (int v = 0; v < 32; ++v)
        for (int h = 0; h < 32; ++h) {
            const bool black = (uint8_t((*stop)[v * 4 + h / 8]) >> (7 - h % 8)) & 1;
            ASSERT_EQ(icon[size_t(v * 32 + h)], black ? 0x000000u : 0xFFFFFFu) << h << "," << v;
        }
    EXPECT_EQ(GetAlertStage(), 0);
}

TEST_F(AlertTest, ChooseAnswersWithNoInputAndStagesMoveOn)
{
    Play(Script().Choose(2).Choose(1));
    WindowRef other = Document(600, 100, 800, 300, "Other");
    SetPortWindowPort(other);
    EXPECT_EQ(CautionAlert(128, nullptr), 2);
    GrafPtr port = nullptr;
    GetPort(&port);
    EXPECT_EQ(port, GetWindowPort(other)) << "the caller's port, as before the alert";
    DisposeWindow(other);
    EXPECT_EQ(NoteAlert(128, nullptr), 1);
    EXPECT_EQ(GetAlertStage(), 1);
    ResetAlertStage();
    EXPECT_EQ(GetAlertStage(), 0);
    EXPECT_EQ(Alert(129, nullptr), -1);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(Alert(130, nullptr), -1);
    EXPECT_EQ(FrontWindow(), nullptr);
}

TEST_F(AlertTest, AQuitRequestIsAnsweredWithTheCancelChoiceAndStaysQueued)
{
    // A quit sent while the alert is up, or a termination request already
    // waiting: Cancel answers (a one-button alert its button, never its
    // static text; never "Don't save"), and the request stays for the main
    // loop.
    for (const auto& [termination, alert, answer] :
         {std::tuple{false, 128, 2}, {false, 131, 1}, {false, 132, 3}, {true, 128, 2}}) {
        Play(termination ? Script().Wait(600) : Script().Wait(5).Send(kAEQuitApplication).Wait(600));
        if (termination) PostTerminationRequest();
        EXPECT_EQ(NoteAlert(int16_t(alert), nullptr), answer) << termination << alert;
        EXPECT_EQ(bool(TerminationRequestPending()), termination);
        EventRecord e{};
        ASSERT_TRUE(GetNextEvent(highLevelEventMask, &e));
        EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
    }
}

TEST_F(DialogTest, CorruptedItemListsGiveNullOrAWholeDialog)
{
    const std::vector<uint8_t> good = TestItems().Bytes();
    std::mt19937 random(2146);
    const Rect bounds{100, 100, 330, 480};
    int made = 0;
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes = good;
        const int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = uint8_t(random());
        if (round % 3 == 0) bytes.resize(random() % bytes.size());
        Handle h = NewHandle(Size(bytes.size()));
        if (!bytes.empty()) BlockMoveData(bytes.data(), *h, Size(bytes.size()));
        std::vector<ItemTemplate> parsed;
        const bool readable = ParseItemList(bytes.data(), bytes.size(), &parsed);
        DialogRef d = NewDialog(nullptr, &bounds, PStr("").get(), true, dBoxProc, nullptr, false, 0, h);
        DisposeHandle(h);
        if (!readable) {
            EXPECT_EQ(d, nullptr);
            continue;
        }
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(CountDITL(d), int16_t(parsed.size()));
        DrawDialog(d);
        DisposeDialog(d);
        ++made;
    }
    EXPECT_GT(made, 10);
}

}  // namespace
}  // namespace platform::testing
