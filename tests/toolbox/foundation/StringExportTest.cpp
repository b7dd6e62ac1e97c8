#include <gtest/gtest.h>

#include "toolbox/foundation/VAnsiString.h"

#include <cstring>
#include <string>

#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VStringResources.h"
#include "toolbox/foundation/VText.h"

namespace {

const uint8_t* Mac(const char* text) { return reinterpret_cast<const uint8_t*>(text); }

std::string Bytes(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

}  // namespace

TEST(StringExport, CStringsStopAtTheirSizeAndConvert)
{
    VMacStr<255> mac;
    mac.FromMacCString(Mac("ab\xDB" "cd"));  // 0xDB: the euro sign
    uint8_t out[8];
    std::memset(out, 0x55, sizeof out);
    mac.ToCString(out, 4);
    EXPECT_EQ(Bytes(out, 5), std::string("ab\xDB\0\x55", 5)) << "size counts the terminator";
    mac.ToCString(out, 8, kCharSetAnsi);
    EXPECT_EQ(Bytes(out, 6), std::string("ab\x80" "cd\0", 6));
    std::memset(out, 0x55, sizeof out);
    mac.ToCString(out, 1, kCharSetAnsi);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0x55);
    mac.ToCString(out, 0);
    EXPECT_EQ(out[0], 0) << "size 0 writes nothing";
    // And the other way: Windows text exported for the Mac.
    VAnsiText ansi;
    ansi.FromBlock(Mac("x\x80"), 0, 2, kCharSetAnsi);
    ansi.ToCString(out, 8, kCharSetMac);
    EXPECT_EQ(Bytes(out, 3), std::string("x\xDB\0", 3));

    VStr<255> wide;
    wide.FromUniCString(u"\u20AC\u00E9x");
    wide.ToCString(out, 8);  // own set of UTF-16 text: Mac Roman
    EXPECT_EQ(Bytes(out, 4), std::string("\xDB\x8Ex\0", 4));
    wide.ToCString(out, 3, kCharSetAnsi);
    EXPECT_EQ(Bytes(out, 3), std::string("\x80\xE9\0", 3));

    char16_t units[4];
    std::memset(units, 0x55, sizeof units);
    mac.ToUniCString(units, 3);
    EXPECT_EQ(std::u16string(units, 3), std::u16string(u"ab\0", 3));
    wide.ToUniCString(units, 4);
    EXPECT_EQ(std::u16string(units, 4), std::u16string(u"\u20AC\u00E9x\0", 4));
}

TEST(StringExport, BlocksInEverySetWithinTheirRoom)
{
    VStr<255> wide;
    wide.FromUniCString(u"\u00E9\u20AC!");
    uint8_t out[16];
    EXPECT_EQ(wide.ToBlock(out, 0, 16, kCharSetUtf8), 6);
    EXPECT_EQ(Bytes(out, 6), "\xC3\xA9\xE2\x82\xAC!");
    // A character whose bytes do not fit is left out whole.
    EXPECT_EQ(wide.ToBlock(out, 0, 4, kCharSetUtf8), 2);
    EXPECT_EQ(wide.ToBlock(out, 0, 16, kCharSetMac), 3);
    EXPECT_EQ(Bytes(out, 3), "\x8E\xDB!");
    EXPECT_EQ(wide.ToBlock(out, 0, 2, kCharSetAnsi), 2);
    EXPECT_EQ(Bytes(out, 2), "\xE9\x80");
    // Own set: the room counts bytes, two to a unit.
    EXPECT_EQ(wide.ToBlock(out, 0, 5, kCharSetOwn), 4);
    char16_t first;
    std::memcpy(&first, out, 2);
    EXPECT_EQ(first, u'\u00E9');

    VMacStr<255> mac;
    mac.FromMacCString(Mac("\x8E\xDB"));
    EXPECT_EQ(mac.ToBlock(out, 0, 16, kCharSetUtf8), 5);
    EXPECT_EQ(Bytes(out, 5), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(mac.ToBlock(out, 0, 1, kCharSetOwn), 1);
    EXPECT_EQ(mac.ToBlock(out, 0, 0, kCharSetOwn), 0);
}

TEST(StringExport, LengthPrefixedAndCStringCopies)
{
    const uint8_t source[] = "\x05hello";
    uint8_t p[8];
    std::memset(p, 0x55, sizeof p);
    PStringCopy(source, p, 4);
    EXPECT_EQ(Bytes(p, 5), "\x03hel\x55");
    PStringCopy(source, p, 8);
    EXPECT_EQ(Bytes(p, 6), "\x05hello");
    std::memset(p, 0x55, sizeof p);
    PStringCopy(source, p, 0);
    EXPECT_EQ(p[0], 0x55);

    char c[8];
    PString2CString(source, c, 3);
    EXPECT_EQ(std::string(c), "he");
    PString2CString(source, c, 8);
    EXPECT_EQ(std::string(c), "hello");

    CString2PString("abc", p, 3);
    EXPECT_EQ(Bytes(p, 3), "\x02" "ab");
    CString2PString("abc", p, 8);
    EXPECT_EQ(Bytes(p, 4), "\x03" "abc");
    // A length byte counts at most 255 whatever the room.
    const std::string longText(300, 'x');
    uint8_t big[400];
    CString2PString(longText.c_str(), big, 400);
    EXPECT_EQ(big[0], 255);
}

namespace {

// Two lists: 'STR#' 7 named "Days" holds "Monday" and "Tuesday".
class FakeStrings : public VStringResourceAccess {
public:
    int16_t GetResourceID(VResourceFile&, uint32_t type, const VString& name) override
    {
        seenType = type;
        return name.GetCFString() == u"Days" ? 7 : -1;
    }
    void GetString(VResourceFile&, VString& result, int16_t listId, int16_t index) override
    {
        const char16_t* days[] = {u"Monday", u"Tuesday"};
        if (listId == 7 && index >= 1 && index <= 2) result.FromUniCString(days[index - 1]);
    }
    uint32_t seenType = 0;
};

}  // namespace

TEST(StringExport, StringsFromResourceLists)
{
    alignas(16) char stand[64] = {};
    auto& file = *reinterpret_cast<VResourceFile*>(stand);  // only handed to the access
    VStr<255> s;
    s.FromUniCString(u"old");
    s.FromStrListResource(file, 7, 1);
    EXPECT_EQ(s.GetCFString(), u"") << "no resource access: empty";
    EXPECT_FALSE(s.IsNull());

    FakeStrings strings;
    SetStringResourceAccess(&strings);
    s.FromStrListResource(file, 7, 2);
    EXPECT_EQ(s.GetCFString(), u"Tuesday");
    VStr<255> name;
    name.FromUniCString(u"Days");
    s.FromStrListResource(file, 0, 1, &name);
    EXPECT_EQ(s.GetCFString(), u"Monday");
    EXPECT_EQ(strings.seenType, 0x53545223u);  // 'STR#'
    name.FromUniCString(u"Months");
    s.SetNull(true);
    s.FromStrListResource(file, 7, 1, &name);
    EXPECT_EQ(s.GetCFString(), u"") << "an unknown name gives nothing";
    EXPECT_FALSE(s.IsNull());
    for (const int32_t index : {70000, 65537, 0}) {  // 65537 is no item 1 of a short count
        s.FromStrListResource(file, 7, index);
        EXPECT_EQ(s.GetCFString(), u"") << index;
    }
    SetStringResourceAccess(nullptr);
}
