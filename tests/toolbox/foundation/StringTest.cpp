#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ValueTestSupport.h"
#include "platform/core/Faults.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VAnsiString.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VPtrStream.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/system/ToolboxResources.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FaultKind;
using platform::ScopedFault;

namespace {

const uint8_t* Mac(const char* text) { return reinterpret_cast<const uint8_t*>(text); }

std::u16string Units(const VString& s) { return s.GetCFString(); }

// A stored string of the given set and length (big-endian), then a marker long.
ByteList StoredString(int32_t length, int32_t set, bool withMarker = true)
{
    return WrittenBigEndian([&](VStream& s) {
        s.PutLong(length);
        s.PutLong(set);
        for (int32_t i = 0; i < length; ++i) set == kCharSetUnicode ? s.PutWord('x') : s.PutByte('x');
        set == kCharSetUnicode ? s.PutWord(0) : s.PutByte(0);
        if (withMarker) s.PutLong(0x4D41524B);
    });
}

}  // namespace

TEST(Strings, StreamForms)
{
    VMacStr<255> mac;
    mac.FromMacCString(Mac("AB"));
    EXPECT_EQ(WrittenBigEndian([&](VStream& s) { s.PutValue(mac, true); }),
              (ByteList{0, 0, 0, 8, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 0, 0x41, 0x42, 0}));
    VStr<255> uni;
    uni.FromMacCString(Mac("AB"));
    EXPECT_EQ(WrittenBigEndian([&](VStream& s) { s.PutValue(uni, true); }),
              (ByteList{0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0x41, 0, 0x42, 0, 0}));
    VText empty;
    EXPECT_EQ(WrittenBigEndian([&](VStream& s) { s.PutValue(empty, true); }), (ByteList{0, 0, 0, 8, 0, 0, 0, 2, 0, 0, 0, 0}));
}

TEST(Strings, ReadingStoredText)
{
    // Too long for the string: 100, and the stream is behind the stored text.
    for (int pass = 0; pass < 2; ++pass) {
        ByteList stored = StoredString(300, kCharSetUnicode);
        VPtrStream stream(reinterpret_cast<char*>(stored.data()), static_cast<int32_t>(stored.size()));
        stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
        stream.OpenReading();
        std::unique_ptr<VString> target(pass == 0 ? static_cast<VString*>(new VStr<255>) : new VMacStr<255>);
        EXPECT_EQ(target->ReadFromStream(&stream, 0), kStringTooLong);
        EXPECT_EQ(stream.GetPos(), 8 + 602);
        EXPECT_EQ(stream.GetLong(), 0x4D41524B);
    }

    // Mac Roman text into a VText is converted; an empty stored text reads as empty with 0.
    ByteList stored = WrittenBigEndian([](VStream& s) {
        s.PutLong(2);
        s.PutLong(kCharSetMac);
        s.PutBytes("\x8A" "e", 3);
        s.PutLong(0);
    });
    VPtrStream stream(reinterpret_cast<char*>(stored.data()), static_cast<int32_t>(stored.size()));
    stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    stream.OpenReading();
    VText text;
    text.SetNull(true);
    EXPECT_EQ(text.ReadFromStream(&stream, 0), 0);
    EXPECT_EQ(Units(text), u"\u00E4e");
    EXPECT_EQ(text.ReadFromStream(&stream, 0), 0);
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_FALSE(text.IsNull());
}

TEST(Strings, ReadingRefusesBadInput)
{
    // A stored length beyond the stream's bytes is refused and nothing is read.
    ByteList stored = StoredString(40, kCharSetMac, false);
    stored.resize(stored.size() - 10);
    VPtrStream stream(reinterpret_cast<char*>(stored.data()), static_cast<int32_t>(stored.size()));
    stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    stream.OpenReading();
    VText text;
    text.FromMacCString(Mac("kept"));
    EXPECT_EQ(text.ReadFromStream(&stream, 0), kStreamEndOfData);
    EXPECT_EQ(Units(text), u"kept");

    // A huge length cannot wrap the check.
    ByteList huge = WrittenBigEndian([](VStream& s) {
        s.PutLong(0x7FFFFFFF);
        s.PutLong(kCharSetUnicode);
    });
    VPtrStream hugeStream(reinterpret_cast<char*>(huge.data()), static_cast<int32_t>(huge.size()));
    hugeStream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    hugeStream.OpenReading();
    EXPECT_EQ(text.ReadFromStream(&hugeStream, 0), kStreamEndOfData);

    // A foreign set whose temporary block cannot be had: cleared, -108.
    ByteList foreign = StoredString(3, kCharSetUnicode, false);
    VPtrStream foreignStream(reinterpret_cast<char*>(foreign.data()), static_cast<int32_t>(foreign.size()));
    foreignStream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    foreignStream.OpenReading();
    VMacStr<255> mac;
    mac.FromMacCString(Mac("old"));
    {
        ScopedFault fault(FaultKind::Allocation, 0, 10);
        EXPECT_EQ(mac.ReadFromStream(&foreignStream, 0), -108);
    }
    EXPECT_EQ(mac.GetLength(), 0);

    // A stored set that names no character set: cleared, refused, and the
    // stream is behind the stored text.
    for (const int32_t set : {-1, 3, 7}) {
        ByteList odd = StoredString(3, set);
        VPtrStream oddStream(reinterpret_cast<char*>(odd.data()), static_cast<int32_t>(odd.size()));
        oddStream.SetCpuKind(kCpuPowerPC, kCpuIntel);
        oddStream.OpenReading();
        VStr<255> uni;
        uni.FromMacCString(Mac("old"));
        EXPECT_EQ(uni.ReadFromStream(&oddStream, 0), kStreamUnknownCharSet) << set;
        EXPECT_EQ(uni.GetLength(), 0) << set;
        EXPECT_EQ(oddStream.GetLong(), 0x4D41524B) << set;
    }
}

TEST(Strings, KindsAndLimits)
{
    // The C form ends right after the characters, also after a shorter text.
    VStr<8> shortText;
    shortText.FromMacCString(Mac("abcd"));
    shortText.FromMacCString(Mac("ab"));
    const auto* units = static_cast<const char16_t*>(shortText.LockAndGetCPointer());
    EXPECT_EQ(units[1], u'b');
    EXPECT_EQ(units[2], 0);
    shortText.Unlock();

    EXPECT_EQ(NewStringFromStringKind(0), nullptr);
    EXPECT_EQ(NewStringFromStringKind(7), nullptr);
    for (StringKind kind = 1; kind <= 6; ++kind) {
        std::unique_ptr<VString> s(NewStringFromStringKind(kind));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->GetStringKind(), kind);
        EXPECT_FALSE(s->IsNull());
        EXPECT_EQ(s->GetLength(), 0);
        EXPECT_EQ(s->IsInHandle(), kind % 2 == 0);
        if (kind % 2 == 1) {
            EXPECT_EQ(s->GetMaxLength(), 255);
        }
    }

    VStr<31> small;
    small.FromMacCString(Mac(std::string(40, 'z').c_str()));
    EXPECT_EQ(small.GetLength(), 31);
    // Appending past the limit keeps what fits, whichever form the text has.
    VStr<31> appended;
    appended.AppendCString(Mac(std::string(40, 'y').c_str()), kCharSetMac);
    EXPECT_EQ(appended.GetLength(), 31);
    EXPECT_EQ(appended.GetChar(31), u'y');
    appended.Clear();
    appended.AppendUniCString(std::u16string(40, u'\u00E9').c_str());
    EXPECT_EQ(appended.GetLength(), 31);
    EXPECT_EQ(appended.GetChar(31), u'\u00E9');
    small.AppendUniChar(u'!');
    EXPECT_EQ(small.GetLength(), 31);
    EXPECT_FALSE(small.SetLength(32));

    VTextPath path;
    path.FromMacCString(Mac("Disk:Folder"));
    EXPECT_FALSE(path.CheckLastCharForSeparator(true));
    EXPECT_TRUE(path.CheckLastCharForSeparator(true));
    EXPECT_EQ(Units(path), u"Disk:Folder:");

    VMacStr<15> mac;
    mac.FromMacCString(Mac("ab\x8A"));
    EXPECT_EQ(mac.GetChar(0), 0);
    EXPECT_EQ(mac.GetChar(4), 0);
    EXPECT_EQ(mac.GetChar(3), u'\u00E4');
    mac.SetChar(4, u'x');
    mac.SetChar(0, u'x');
    mac.SetChar(1, u'\u00E9');
    EXPECT_EQ(mac.GetLength(), 3);
    EXPECT_EQ(mac.GetChar(1), u'\u00E9');
    EXPECT_EQ(static_cast<const uint8_t*>(mac.LockAndGetCPointer())[3], 0);  // still ended
    mac.Unlock();

    VText null;
    null.SetNull(true);
    null.Clear();
    EXPECT_FALSE(null.IsNull());
}

TEST(Strings, CopiesKeepEmbeddedZeros)
{
    VText source;
    const char16_t units[] = {u'a', 0, u'b'};
    source.FromUniBlock(units, 0, 3);
    EXPECT_EQ(source.GetLength(), 3);

    VText copy(source);
    EXPECT_EQ(copy.GetLength(), 3);
    VMacText mac(source);
    EXPECT_EQ(mac.GetLength(), 3);
    VStr<8> fixed(mac);
    EXPECT_EQ(Units(fixed), std::u16string(units, 3));
    VAnsiStr<31> ansi;
    ansi.FromVString(fixed);
    EXPECT_EQ(ansi.GetLength(), 3);
    std::unique_ptr<VValue> clone(ansi.Clone());
    EXPECT_EQ(static_cast<VString*>(clone.get())->GetLength(), 3);
}

TEST(Strings, CrossingCharacterSets)
{
    // Mac Roman 0xDB is the euro sign, Windows-1252 0x80.
    VAnsiText ansi;
    ansi.FromMacCString(Mac("\xDB"));
    EXPECT_EQ(ansi.GetLength(), 1);
    EXPECT_EQ(static_cast<const uint8_t*>(ansi.LockAndGetCPointer())[0], 0x80);
    ansi.Unlock();
    EXPECT_EQ(ansi.GetChar(1), u'\u20AC');

    VText text;
    text.FromBlock(Mac("\xE2\x82\xAC!"), 0, 4, kCharSetUtf8);
    EXPECT_EQ(Units(text), u"\u20AC!");
    VMacStr<255> mac;
    mac.FromBlock(Mac("\xE2\x82\xAC!"), 0, 4, kCharSetUtf8);
    uint8_t pstring[256];
    mac.ToPString(pstring, 255);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pstring), 3), "\x02\xDB!");

    // A converted export holds up to max characters.
    text.ToPString(pstring, 2, kCharSetMac);
    EXPECT_EQ(pstring[0], 2);

    // A long 8-bit text goes through a temporary block.
    VText big;
    big.FromMacCString(Mac(std::string(3000, '\x8A').c_str()));
    EXPECT_EQ(big.GetLength(), 3000);
    EXPECT_EQ(big.GetChar(3000), u'\u00E4');

    // Long conversions into bytes too; when memory runs out the text stays.
    std::u16string wide(1500, u'\u00E4');
    VMacText bytes;
    bytes.FromUniBlock(wide.data(), 0, int32_t(wide.size()));
    EXPECT_EQ(bytes.GetLength(), 1500);
    EXPECT_EQ(bytes.GetChar(1500), u'\u00E4');
    std::string ansiBytes(2000, '\xE4');
    bytes.FromBlock(Mac(ansiBytes.c_str()), 0, 2000, kCharSetAnsi);
    EXPECT_EQ(bytes.GetLength(), 2000);
    VText units;
    units.FromMacCString(Mac("keep"));
    {
        platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
        bytes.FromUniBlock(wide.data(), 0, int32_t(wide.size()));
        bytes.FromBlock(Mac(ansiBytes.c_str()), 0, 2000, kCharSetAnsi);
        units.FromBlock(Mac(ansiBytes.c_str()), 0, 2000, kCharSetMac);
    }
    EXPECT_EQ(bytes.GetLength(), 2000);
    EXPECT_EQ(Units(units), u"keep");

    // A long block of 8-bit text into UTF-16 goes through a block of its own.
    units.FromBlock(Mac(ansiBytes.c_str()), 0, 600, kCharSetMac);
    EXPECT_EQ(units.GetLength(), 600);
    // Assigning text copies it; assigning to itself keeps it.
    VText assigned;
    assigned = units;
    EXPECT_EQ(assigned.GetLength(), 600);
    VText& self = assigned;
    assigned = self;
    EXPECT_EQ(assigned.GetLength(), 600);
    units.FromMacCString(Mac("keep"));

    // Ranges before the start and characters outside the text are refused.
    units.FromBlock(Mac("xy"), -1, 2, kCharSetMac);
    units.SetChar(0, u'z');
    units.SetChar(5, u'z');
    EXPECT_EQ(Units(units), u"keep");

    // Platform text that comes decomposed is kept composed.
    VText fromPlatform;
    fromPlatform.FromCFString(u"Cafe\u0301 A\u030A");
    EXPECT_EQ(Units(fromPlatform), u"Caf\u00E9 \u00C5");
    EXPECT_FALSE(fromPlatform.IsNull());
}

TEST(Strings, PointerFormAndValues)
{
    unsigned char buffer[64];
    VStr<31> uni;
    uni.FromMacCString(Mac("hi"));
    VMacStr<31> mac;
    mac.FromMacCString(Mac("there"));
    void* p = uni.WriteToPtr(buffer);
    EXPECT_EQ(static_cast<unsigned char*>(p) - buffer, (2 + 2) * 2);
    p = mac.WriteToPtr(p);
    EXPECT_EQ(static_cast<unsigned char*>(p) - buffer, 8 + 5 + 2);

    VText uni2;
    VAnsiStr<31> ansi2;
    uni2.SetNull(true);
    p = uni2.LoadFromPtr(buffer);
    ansi2.LoadFromPtr(p);
    EXPECT_FALSE(uni2.IsNull());
    EXPECT_EQ(Units(uni2), u"hi");
    EXPECT_EQ(Units(ansi2), u"there");

    // A damaged length is not followed past the 255 units the form can hold.
    std::vector<char16_t> damaged(1 + 255, u'z');
    damaged[0] = 0xFFFF;
    VText loaded;
    loaded.LoadFromPtr(damaged.data());
    EXPECT_EQ(loaded.GetLength(), 255);

    VStr<31> text;
    text.FromLong(-42);
    EXPECT_EQ(Units(text), u"-42");
    text.FromBoolean(true);
    EXPECT_TRUE(text.GetBoolean());
    text.ClearString(true);
    text.AppendLong(0x1234, 18);
    text.AppendLong(0x54455854, 16);
    EXPECT_EQ(Units(text), u"34TEXT");
    EXPECT_EQ(text.CompareTo(VStr<8>(text), true), 0);
}

TEST(Strings, SearchRemovalAndHourEdges)
{
    VStr<80> text;
    text.FromMacCString(Mac("abcabc"));
    VStr<8> c;
    c.FromMacCString(Mac("c"));
    EXPECT_EQ(text.Find(c, 1), 3);
    EXPECT_EQ(text.Find(c, 0), 3);  // a start before the first counts as the first
    EXPECT_EQ(text.Find(c, -5), 3);
    EXPECT_EQ(text.Find(c, 4), 6);
    VStr<8> any;
    any.FromUniCString(std::u16string(1, InitDefaultIntlManager()->GetWildcard()).c_str());
    EXPECT_EQ(text.Find(any, 0), 1) << "the wildcard alone matches at the first character";
    text.Remove(1, 2);  // from the very first character
    EXPECT_EQ(Units(text), u"cabc");
    text.Remove(0, 1);
    EXPECT_EQ(Units(text), u"cabc");

    VStr<80> hour;
    hour.FromMacCString(Mac("1:02:03"));
    EXPECT_NE(hour.GetHour(), kNoHour);
    hour.FromMacCString(Mac("1:02:03:04"));  // four fields are no hour
    EXPECT_EQ(hour.GetHour(), kNoHour);
    hour.FromMacCString(Mac("1:02:03:"));  // nor a third separator
    EXPECT_EQ(hour.GetHour(), kNoHour);
}

TEST(Strings, InMemoryStringsEndInAZeroUnit)
{
    char16_t buffer[12];
    std::fill(buffer, buffer + 12, u'x');
    VStrInMem text(buffer, 10);
    EXPECT_EQ(*static_cast<const char16_t*>(text.LockAndGetCPointer()), 0);
    text.FromMacCString(Mac("abcd"));
    text.Remove(3, 2);
    const auto* units = static_cast<const char16_t*>(text.LockAndGetCPointer());
    EXPECT_EQ(units[0], u'a');
    EXPECT_EQ(units[1], u'b');
    EXPECT_EQ(units[2], 0);

    // Text read from a stream ends right after its last unit too.
    std::fill(buffer, buffer + 12, u'y');
    ByteList stored = StoredString(3, kCharSetUnicode);
    VPtrStream stream(reinterpret_cast<char*>(stored.data()), static_cast<int32_t>(stored.size()));
    stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    stream.OpenReading();
    VStrInMem read(buffer, 10);
    std::fill(buffer, buffer + 12, u'y');
    ASSERT_EQ(read.ReadFromStream(&stream, 0), 0);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(buffer[3], u'x');
    EXPECT_EQ(buffer[4], 0);
}

TEST(Strings, RealsWithoutAValueHaveNoText)
{
    uint8_t text[80];
    std::memset(text, 0xEE, sizeof text);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    RoundTripRealToText(&nan, text, 1);
    EXPECT_EQ(text[0], 0);
    const double half = 0.5;
    RoundTripRealToText(&half, text, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text) + 1, text[0]), "0.5");
    double kept = 0;  // the value itself follows the text, for an exact way back
    std::memcpy(&kept, text + 1 + text[0], sizeof kept);
    EXPECT_EQ(kept, 0.5);
}

// A text made while memory ran out is empty, and takes text once memory is back.
TEST(Strings, ATextMadeWithoutMemoryTakesTextLater)
{
    std::unique_ptr<VText> text;
    {
        ScopedFault noMemory(FaultKind::Allocation, 0, -1);
        text = std::make_unique<VText>();
    }
    EXPECT_EQ(text->GetLength(), 0);
    text->ClearString(true);
    text->FromMacCString(Mac("back"));
    EXPECT_EQ(Units(*text), u"back");
}

namespace {
void FrenchBoolWords(VString& text, int16_t, int16_t index)
{
    text.Clear();
    text.FromMacCString(Mac(index == 2 ? "Vrai" : "Faux"));
}
}  // namespace

TEST(Strings, BooleanWordsComeFromTheSystem)
{
    ToolboxResources access;
    access.getString = FrenchBoolWords;
    SetToolboxResources(access);
    VSystem system;
    VSystem* before = gSystem;
    gSystem = &system;

    VStr<31> text;
    text.FromBoolean(true);
    EXPECT_EQ(Units(text), u"Vrai");
    text.FromBoolean(false);
    EXPECT_EQ(Units(text), u"Faux");
    text.FromMacCString(Mac("vrai"));
    EXPECT_TRUE(text.GetBoolean()) << "compared without case";
    text.FromMacCString(Mac("1"));
    EXPECT_TRUE(text.GetBoolean());
    text.FromMacCString(Mac("Faux"));
    EXPECT_FALSE(text.GetBoolean());

    gSystem = before;
    SetToolboxResources({});
}

// Setting a string from a character replaces what it held.
TEST(Strings, SettingFromACharacterReplaces)
{
    VStr<31> text;
    text.FromMacCString(Mac("abc"));
    text.FromChar('x', kCharSetMac);
    EXPECT_EQ(Units(text), u"x");
}

// Editing at the edges: an insertion before the first character goes in
// front, a leading character is removed once, a C string is compared whole.
TEST(Strings, EditsAtTheEdges)
{
    for (const int32_t pos : {1, 0, -5}) {
        VStr<31> text;
        text.FromMacCString(Mac("abc"));
        VStr<1> x;
        x.FromMacCString(Mac("x"));
        text.Insert(x, pos);
        EXPECT_EQ(Units(text), u"xabc") << pos;
        EXPECT_TRUE(text.RemoveLeadingChar(u'x'));
        EXPECT_EQ(Units(text), u"abc");
        EXPECT_FALSE(text.RemoveLeadingChar(u'x'));
        EXPECT_EQ(text.CompareToCString(Mac("abc"), kCharSetMac, true), 0);
        EXPECT_NE(text.CompareToCString(Mac("bc"), kCharSetMac, true), 0);
    }
}

// A text copied by assignment takes the other's null state too; one made
// from another string ends right after its last character.
TEST(Strings, TextCopiesAreWhole)
{
    VText null, copy;
    null.SetNull(true);
    copy.FromMacCString(Mac("kept"));
    copy = null;
    EXPECT_TRUE(copy.IsNull());
    for (int32_t n = 1; n <= 40; ++n) {
        // Memory just freed holds bytes that are no terminator.
        std::unique_ptr<char[]> junk(new char[size_t(n) * 4 + 8]);
        std::memset(junk.get(), 0x5A, size_t(n) * 4 + 8);
        junk.reset();
        VStr<63> source;
        source.FromMacCString(Mac(std::string(size_t(n), 'a').c_str()));
        VText made(source);
        const auto* units = static_cast<const char16_t*>(made.LockAndGetCPointer());
        EXPECT_EQ(units[n], 0) << n;
        made.Unlock();
    }
}
