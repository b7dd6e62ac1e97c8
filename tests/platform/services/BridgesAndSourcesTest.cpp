// The scrap's bridge to a system clipboard, cursors from resource files,
// the script's clipboard step and handler choice by class and kind.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/appleevents/AppleEvents.h"
#include "platform/backends/Script.h"
#include "platform/core/FourCC.h"
#include "platform/cursors/Cursors.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/scrap/Scrap.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace platform {
namespace {

// A system clipboard in memory: another program copies with Copy().
class FakeClipboard final : public ClipboardBridge {
public:
    bool TakeChange(std::string* utf8) override
    {
        if (!changed) return false;
        changed = false;
        *utf8 = text;
        return true;
    }
    void Put(const std::string& utf8) override
    {
        text = utf8;
        ++puts;
    }
    void Copy(const std::string& utf8)
    {
        text = utf8;
        changed = true;
    }
    std::string text;
    bool changed = false;
    int puts = 0;
};

TEST(ScrapBridge, TextGoesOutConvertedAndOutsideCopiesComeIn)
{
    ResetScrap();
    FakeClipboard clipboard;
    SetClipboardBridge(&clipboard);
    ScrapRef scrap;
    ClearCurrentScrap();
    GetCurrentScrap(&scrap);
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, 4, "a\x8E\r\n"), noErr);
    EXPECT_EQ(clipboard.text, "a\xC3\xA9\n");  // CR LF is one line end
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("priv"), 0, 3, "abc"), noErr);
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("utxt"), kScrapFlavorMaskSenderOnly, 2, "\0x"), noErr);
    EXPECT_EQ(clipboard.puts, 1);  // other flavours and sender-only ones stay inside
    ScrapRef same;
    GetCurrentScrap(&same);
    EXPECT_EQ(same, scrap);

    clipboard.Copy("line1\nline2 \xE2\x82\xAC");  // the euro sign is not in Mac Roman
    ScrapRef outside;
    GetCurrentScrap(&outside);
    EXPECT_NE(outside, scrap);
    char buf[32] = {};
    Size size = sizeof buf;
    ASSERT_EQ(GetScrapFlavorData(outside, FourCC("TEXT"), &size, buf), noErr);
    EXPECT_EQ(std::string(buf, size_t(size)), "line1\rline2 \xDB");
    size = sizeof buf;
    ASSERT_EQ(GetScrapFlavorData(outside, FourCC("utxt"), &size, buf), noErr);
    EXPECT_EQ(size, 26);
    EXPECT_EQ(uint8_t(buf[10]), 0);  // the CR, big-endian
    EXPECT_EQ(uint8_t(buf[11]), 0x0D);
    EXPECT_EQ(uint8_t(buf[24]), 0x20);  // U+20AC
    EXPECT_EQ(uint8_t(buf[25]), 0xAC);
    size = sizeof buf;
    EXPECT_EQ(GetScrapFlavorSize(outside, FourCC("priv"), &size), noTypeErr);  // the copy replaced everything
    SetClipboardBridge(nullptr);
}

TEST(ScriptClipboard, StepIsReadFromTheScriptText)
{
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("clipboard \"caf\xC3\xA9\\n\"\n", &script, &error)) << error;
    ASSERT_EQ(script.Steps().size(), 1u);
    EXPECT_EQ(script.Steps()[0].kind, ScriptStep::Kind::Clipboard);
    EXPECT_EQ(script.Steps()[0].text, "caf\xC3\xA9\r");
    EXPECT_FALSE(ParseScript("clipboard\n", &script, &error));
    // UTF-8, as the text step's: a Mac Roman byte is none.
    EXPECT_FALSE(ParseScript("clipboard \"caf\\x8E\"\n", &script, &error));
}

TEST(CursorResources, AFilesCursorIsReadAndAShortOneRefused)
{
    ResetResourceManager();
    ResourceFileImage image;
    ResourceImage good;
    good.type = FourCC("CURS");
    good.id = 200;
    good.data.assign(68, 0xFF);
    good.data[64] = 0;
    good.data[65] = 7;  // hot spot v
    good.data[66] = 0;
    good.data[67] = 3;  // h
    ResourceImage shortOne = good;
    shortOne.id = 201;
    shortOne.data.resize(60);
    image.resources = {good, shortOne};
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    CursHandle h = GetCursor(200);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ((*h)->hotSpot.v, 7);
    EXPECT_EQ((*h)->hotSpot.h, 3);
    EXPECT_EQ((*h)->data[0], 0xFFFF);
    EXPECT_EQ(GetCursor(201), nullptr);
    EXPECT_EQ(GetCCursor(200), nullptr);  // no colour form
    EXPECT_EQ(GetCursor(200), h);
    ResetResourceManager();

    // Another file's cursor 200 is its own, and the first stays readable.
    good.data[65] = 2;
    image.resources = {good};
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    CursHandle other = GetCursor(200);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, h);
    EXPECT_EQ((*other)->hotSpot.v, 2);
    EXPECT_EQ((*h)->hotSpot.v, 7);
    ResetResourceManager();
}

int gCalled = 0;
OSErr Exact(const AppleEvent*, AppleEvent*, uintptr_t) { return gCalled = 1, noErr; }
OSErr Any(const AppleEvent*, AppleEvent*, uintptr_t) { return gCalled = 2, noErr; }

TEST(AppleEventHandlers, AnExactHandlerWinsOverTheWildcard)
{
    ResetAppleEvents();
    testing::HeadlessRun run{Script{}};
    AEInstallEventHandler(kCoreEventClass, typeWildCard, Any, 0, false);
    AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, Exact, 0, false);
    EventRecord e{};
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    ASSERT_TRUE(testing::NextEvent(highLevelEventMask, &e));
    EXPECT_EQ(AEProcessAppleEvent(&e), noErr);
    EXPECT_EQ(gCalled, 1);
    PostHighLevelEvent(kCoreEventClass, kAEOpenApplication, {});
    ASSERT_TRUE(testing::NextEvent(highLevelEventMask, &e));
    EXPECT_EQ(AEProcessAppleEvent(&e), noErr);
    EXPECT_EQ(gCalled, 2);
    EventRecord notHighLevel{};
    EXPECT_EQ(AEProcessAppleEvent(&notHighLevel), paramErr);
    ResetAppleEvents();
}

}  // namespace
}  // namespace platform
