#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Memory.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/intl/VKeyboardManager.h"
#include "toolbox/foundation/intl/VKeyboardSettings.h"

namespace {

// A host that serves a stored keyboard table, or none, and records what
// the toolbox hands back.
struct KeyboardHost {
    platform::Handle table = nullptr;
    int16_t readError = 0;
    int32_t written = 0;
    int32_t disposed = 0;
};
KeyboardHost gHost;

void Host(int16_t selector, parm* block)
{
    if (selector == kSelReadKeybordMappingV2) {
        block->slot266.SetPtr(gHost.table);
        block->error270 = gHost.readError;
    }
    if (selector == kSelWriteKeybordMapping) ++gHost.written;
    if (selector == kSelDisposeKeybordMappingV2) ++gHost.disposed;
}

void PutName(char* at, const char16_t* text, size_t units)
{
    std::memcpy(at, text, units * sizeof(char16_t));
}

// A stored table of `count` entries `stride` bytes apart; the entries
// handle holds `held` of them.
platform::Handle MakeTable(int32_t version, int32_t count, int32_t stride, int32_t held)
{
    // Entries are laid out at least a whole entry apart even when the
    // announced stride is smaller.
    const int32_t step = std::max(stride, kKeyboardEntrySize);
    platform::Handle entries = platform::NewHandleClear(platform::Size(step) * held);
    for (int32_t i = 0; i < held; ++i) {
        char* e = *entries + i * step;
        PutName(e + kKeyboardEntryLayoutName, u"French", 7);
        const int32_t kchr = 1, dialect = 0x40C + i;
        std::memcpy(e + kKeyboardEntryKCHR, &kchr, 4);
        std::memcpy(e + kKeyboardEntryDialect, &dialect, 4);
        PutName(e + kKeyboardEntryDialectName, u"DC_FRENCH", 10);
        const int16_t kind = 1;
        std::memcpy(e + kKeyboardEntryKind, &kind, 2);
    }
    platform::Handle h = platform::NewHandleClear(sizeof(sKeyboardSettings));
    sKeyboardSettings head{version, 1, 0x40C, count, stride, entries};
    std::memcpy(*h, &head, sizeof head);
    return h;
}

void DisposeTable(platform::Handle h)
{
    if (!h) return;
    sKeyboardSettings head;
    std::memcpy(&head, *h, sizeof head);
    platform::DisposeHandle(head.entries);
    platform::DisposeHandle(h);
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        gHost = {};
        gCallQz = Host;
    }
    void TearDown() override
    {
        DisposeTable(gHost.table);
        gCallQz = nullptr;
    }
};

TEST_F(Keyboard, WithoutAHostTableTheDefaultOneIsBuiltAndHandedBack)
{
    VKeyboardManager manager;
    manager.LoadKeyboardMapping();
    ASSERT_NE(manager.GetSettings(), nullptr);
    const VKeyboardInfoList& entries = manager.GetSettings()->fEntries;
    ASSERT_EQ(entries.GetCount(), 105);
    EXPECT_EQ(gHost.written, 1);
    int32_t withoutKeyboard = 0;
    for (int32_t i = 1; i <= entries.GetCount(); ++i)
        if (entries.GetNth(i)->GetKind() == kKeyboardNone) ++withoutKeyboard;
    EXPECT_EQ(withoutKeyboard, 5);
    VStr<255> name;
    name.FromVString(entries.GetNth(1)->GetDialectName());
    EXPECT_EQ(name.GetLength(), 12) << "DC_AFRIKAANS";
    EXPECT_EQ(entries.GetNth(1)->GetDialect(), 0x436);
    EXPECT_GT(entries.GetNth(1)->GetLayoutName().GetLength(), 0) << "each default entry names its layout";
}

TEST_F(Keyboard, StoredTablesAreReadWithinTheirHandles)
{
    // Three entries announced with a wider stride, only two held: the
    // third is never read.
    gHost.table = MakeTable(2, 3, kKeyboardEntrySize + 10, 2);
    VKeyboardManager manager;
    manager.LoadKeyboardMapping();
    const VKeyboardSettingsV2& settings = *manager.GetSettings();
    ASSERT_EQ(settings.fEntries.GetCount(), 2);
    EXPECT_EQ(settings.fEntries.GetNth(2)->GetDialect(), 0x40D);
    EXPECT_EQ(settings.fEntries.GetNth(1)->GetKCHRId(), 1);
    EXPECT_EQ(settings.fEntries.GetNth(1)->GetLayoutName().GetLength(), 6);
    EXPECT_EQ(manager.GetSettingsDialect(), 0x40C);
    EXPECT_EQ(gHost.written, 0);
    EXPECT_EQ(gHost.disposed, 1) << "the handle goes back to the host";

    // A non-positive version is ignored, and -1 asks for the default table.
    VKeyboardSettingsV2 ignored;
    platform::Handle old = MakeTable(0, 1, kKeyboardEntrySize, 1);
    ignored.FromSettings(old);
    EXPECT_EQ(ignored.fEntries.GetCount(), 0);
    DisposeTable(old);
    DisposeTable(gHost.table);
    gHost.table = MakeTable(-1, 1, kKeyboardEntrySize, 1);
    manager.LoadKeyboardMapping();
    EXPECT_EQ(manager.GetSettings()->fEntries.GetCount(), 105);

    // A stride of exactly one entry is read, and a name filling its whole
    // field without a terminator keeps its 255 units.
    VKeyboardSettingsV2 exact;
    platform::Handle tight = MakeTable(2, 2, kKeyboardEntrySize, 2);
    {
        sKeyboardSettings head;
        std::memcpy(&head, *tight, sizeof head);
        std::vector<char16_t> full(kKeyboardEntryNameUnits, u'x');
        PutName(*head.entries + kKeyboardEntryLayoutName, full.data(), full.size());
    }
    exact.FromSettings(tight);
    {
        sKeyboardSettings head;
        std::memcpy(&head, *tight, sizeof head);
        EXPECT_EQ(platform::HGetState(head.entries) & platform::kHandleLockedBit, 0) << "the host's handle as it was";
    }
    ASSERT_EQ(exact.fEntries.GetCount(), 2);
    EXPECT_EQ(exact.fEntries.GetNth(1)->GetLayoutName().GetLength(), kKeyboardEntryNameUnits);
    EXPECT_EQ(exact.fEntries.GetNth(2)->GetDialect(), 0x40D);
    DisposeTable(tight);

    // A stride below the entry size or a short handle reads nothing.
    VKeyboardSettingsV2 narrow;
    platform::Handle bad = MakeTable(2, 1, 100, 1);
    narrow.FromSettings(bad);
    EXPECT_EQ(narrow.fEntries.GetCount(), 0);
    DisposeTable(bad);
    platform::Handle tiny = platform::NewHandleClear(8);
    narrow.FromSettings(tiny);
    platform::DisposeHandle(tiny);
    EXPECT_EQ(narrow.fEntries.GetCount(), 0);
}

TEST_F(Keyboard, SwitchingRecordsTheDialectAndSelectsNoLayout)
{
    VKeyboardManager manager;
    EXPECT_FALSE(manager.SwitchKeyboard(0x40C, true)) << "no settings";
    manager.LoadKeyboardMapping();
    EXPECT_FALSE(manager.SwitchKeyboard(0x40C, false));
    EXPECT_EQ(manager.GetKeyboardDialect(), 0x40C);
    EXPECT_FALSE(manager.SwitchKeyboard(0x40C, false)) << "already the keyboard dialect";

    manager.GetSettings()->fEnabled = 0;
    EXPECT_FALSE(manager.SwitchKeyboard(0x407, true));
    EXPECT_EQ(manager.GetKeyboardDialect(), 0x40C) << "disabled settings change nothing";
}

TEST_F(Keyboard, KeyEventsGiveCharactersThroughTheLayout)
{
    VKeyboardManager manager;
    platform::EventRecord event{};
    event.what = platform::keyDown;
    char16_t ch = 0;
    event.message = 0x5C;
    EXPECT_FALSE(manager.GetUniCharFromMacEvent(event, ch)) << "the backslash message without modifiers";
    event.message = (0x00 << 8) | 'a';  // key code 0: A
    ASSERT_TRUE(manager.GetUniCharFromMacEvent(event, ch));
    EXPECT_EQ(ch, u'a');
    event.modifiers = platform::shiftKey;
    ASSERT_TRUE(manager.GetUniCharFromMacEvent(event, ch));
    EXPECT_EQ(ch, u'A');
    event.message = 0x5C;  // key code 0 as well, now with a modifier
    EXPECT_TRUE(manager.GetUniCharFromMacEvent(event, ch));
    event.what = platform::mouseDown;
    EXPECT_FALSE(manager.GetUniCharFromMacEvent(event, ch));
}

TEST_F(Keyboard, TheRootLoadsTheTableAndFollowsTheKeyboardDialect)
{
    VIntlManagerRoot::Reset();
    VIntlManagerRoot::Init(kDialectNotSet);
    VIntlManagerRoot& root = *VIntlManagerRoot::sIntlManagerRoot;
    root.InitKeyboardMapping();
    EXPECT_EQ(root.GetKeyboardManager().GetSettings()->fEntries.GetCount(), 105);
    root.SetKeyBoardIntlManager(0x407, false);
    EXPECT_EQ(root.GetKeyboardManager().GetKeyboardDialect(), 0x407);
    VIntlMgr* keyboard = root.RetainKeyBoardIntlManager();
    ASSERT_NE(keyboard, nullptr);
    keyboard->Release();
    VIntlManagerRoot::Reset();
}

}  // namespace
