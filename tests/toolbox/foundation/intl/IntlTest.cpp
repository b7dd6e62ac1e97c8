#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VStr.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"

namespace {

std::string ShippedConverters()
{
    const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
    return std::string(root != nullptr ? root : ".") + "/resources/extensions/Language Support";
}

// A root over the shipped converter files, with a resource file holding
// empty case tables and character classes so that every dialect loads.
struct IntlFixture {
    explicit IntlFixture(DialectCode dialect = 0x409, const std::string& folder = ShippedConverters())
    {
        platform::ResetResourceManager();
        const std::string path = dir / "tables.rsrc";
        platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
        platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
        const platform::ResType types[] = {0x6C77726E, 0x6C777261, 0x7570726E, 0x75707261};
        for (platform::ResType type : types) platform::AddResource(platform::NewHandleClear(2), type, 0, nullptr);
        for (int16_t id = 0; id < 4; ++id) platform::AddResource(platform::NewHandleClear(2), 0x75736574, id, nullptr);
        VIntlManagerRoot::Reset();
        SetConverterFolder(folder);
        VIntlManagerRoot::Init(dialect);
    }
    ~IntlFixture()
    {
        VIntlManagerRoot::Reset();
        SetConverterFolder("");
        platform::ResetResourceManager();
    }
    platform::testing::TempFolder dir;
};

bool Ansi2Mac(uint8_t in, uint8_t& out)
{
    const uint8_t* s = &in;
    uint8_t* d = &out;
    return vAnsi2Mac(s, d, d + 1, 1);
}

bool Mac2Ansi(uint8_t in, uint8_t& out)
{
    const uint8_t* s = &in;
    uint8_t* d = &out;
    return vMac2Ansi(s, d, d + 1, 1);
}

}  // namespace

TEST(Intl, DirectConversionByDialect)
{
    {
        // Central European goes through Unicode: Mac 0x89 and Windows 0xC8 are both C caron.
        IntlFixture intl(0x405);
        uint8_t out = 0;
        EXPECT_TRUE(Mac2Ansi(0x89, out));
        EXPECT_EQ(out, 0xC8);
        EXPECT_TRUE(Ansi2Mac(0xC8, out));
        EXPECT_EQ(out, 0x89);
        const uint8_t two[2] = {0x89, 'a'};
        const uint8_t* s = two;
        uint8_t back[2] = {};
        uint8_t* d = back;
        EXPECT_TRUE(vMac2Ansi(s, d, back + 2, 2));
        EXPECT_EQ(d - back, 2);
        EXPECT_EQ(back[1], 'a');
    }
    {
        IntlFixture intl(0x409);
        uint8_t out = 0;
        EXPECT_TRUE(Ansi2Mac(0x80, out));
        EXPECT_EQ(out, 0xDB);
        EXPECT_TRUE(Mac2Ansi(0xDB, out));
        EXPECT_EQ(out, 0x80);
    }
    {
        IntlFixture intl(0x411);
        uint8_t out = 0;
        EXPECT_TRUE(Ansi2Mac(0x80, out));
        EXPECT_EQ(out, 0x80);
        EXPECT_TRUE(Mac2Ansi(0xDB, out));
        EXPECT_EQ(out, 0xDB);
        EXPECT_TRUE(IsDoubleByteScript(0x411));
        // A lead byte that ends the source is not read past.
        const uint8_t lone[1] = {0x82};
        const uint8_t* s = lone;
        char16_t u[2];
        char16_t* d = u;
        EXPECT_TRUE(gDefaultIntl->Mac2Uni(s, d, u + 2, 1));
        EXPECT_EQ(u[0], u'\uFFFD');
        const uint8_t pair[2] = {0x82, 0xA0};  // hiragana a
        s = pair;
        d = u;
        gDefaultIntl->Mac2Uni(s, d, u + 2, 2);
        EXPECT_EQ(d - u, 1);
        EXPECT_EQ(u[0], u'\u3042');
    }
    // Without its tables a manager converts ASCII only, each byte once.
    VIntlMgr bare(0x409);
    bare.DeInitUnicode();
    const uint8_t bytes[3] = {'a', 'b', 0xE9};
    const uint8_t* s = bytes;
    char16_t u[4] = {};
    char16_t* d = u;
    EXPECT_TRUE(bare.Mac2Uni(s, d, u + 4, 3));
    EXPECT_EQ(std::u16string(u, size_t(d - u)), u"ab\uFFFD");
}

// Destinations of exactly the size needed, and one short: the short one is
// reported and nothing lands past its end.
TEST(Intl, ConversionsFitExactlyOrReportTheShortfall)
{
    for (DialectCode dialect : {DialectCode(0x409), DialectCode(0x411)}) {
        IntlFixture intl(dialect);
        if (dialect == 0x409) {
            // One character at a time, through the tables.
            const uint8_t umlaut[1] = {0x8A};
            const uint8_t* at = umlaut;
            EXPECT_EQ(gDefaultIntl->Mac2Uni(at, umlaut + 1), u'\u00E4');
            EXPECT_EQ(at, umlaut + 1);
        }
        const uint8_t bytes[3] = {'a', 'b', 'c'};
        const char16_t units[3] = {u'a', u'b', u'c'};
        for (int32_t room : {3, 2}) {
            char16_t u[4] = {0, 0, 0, u'#'};
            const uint8_t* s = bytes;
            char16_t* d = u;
            EXPECT_EQ(gDefaultIntl->Mac2Uni(s, d, u + room, 3), room == 3) << dialect;
            EXPECT_EQ(u[room], room == 3 ? u'#' : 0) << dialect;
            s = bytes;
            d = u;
            EXPECT_EQ(gDefaultIntl->Ansi2Uni(s, d, u + room, 3), room == 3) << dialect;

            uint8_t b[4] = {0, 0, 0, '#'};
            const char16_t* us = units;
            uint8_t* bd = b;
            EXPECT_EQ(gDefaultIntl->Uni2Mac(us, bd, b + room, 3), room == 3) << dialect;
            EXPECT_EQ(b[room], room == 3 ? '#' : 0) << dialect;
            EXPECT_EQ(b[room - 1], 'a' + room - 1) << dialect;
            us = units;
            bd = b;
            EXPECT_EQ(gDefaultIntl->Uni2Ansi(us, bd, b + room, 3), room == 3) << dialect;
        }
    }
}

// One character of each shipped Asian and Arabic family, both sets, both ways.
TEST(Intl, ChineseKoreanAndArabicFamilies)
{
    const struct {
        DialectCode dialect;
        std::vector<uint8_t> mac, windows;
        char16_t macCharacter, windowsCharacter;
    } cases[] = {
        {0x404, {0xA4, 0x40}, {0xA4, 0x40}, u'\u4E00', u'\u4E00'},  // Big5 / code page 950
        {0x804, {0xB0, 0xA1}, {0xB0, 0xA1}, u'\u554A', u'\u554A'},  // GB 2312 / code page 936
        {0x412, {0xB0, 0xA1}, {0x81, 0x41}, u'\uAC00', u'\uAC02'},  // 949 adds Hangul
        {0x401, {0xC7}, {0xC7}, u'\u0627', u'\u0627'},              // alef
    };
    for (const auto& c : cases) {
        IntlFixture intl(c.dialect);
        for (const bool windows : {false, true}) {
            const std::vector<uint8_t>& bytes = windows ? c.windows : c.mac;
            const uint8_t* s = bytes.data();
            char16_t units[4] = {};
            char16_t* d = units;
            const bool done = windows ? gDefaultIntl->Ansi2Uni(s, d, units + 4, int32_t(bytes.size()))
                                      : gDefaultIntl->Mac2Uni(s, d, units + 4, int32_t(bytes.size()));
            EXPECT_TRUE(done);
            ASSERT_EQ(d - units, 1) << std::hex << c.dialect;
            EXPECT_EQ(units[0], windows ? c.windowsCharacter : c.macCharacter) << std::hex << c.dialect;

            const char16_t* us = units;
            uint8_t back[4] = {};
            uint8_t* bd = back;
            if (windows)
                gDefaultIntl->Uni2Ansi(us, bd, back + 4, 1);
            else
                gDefaultIntl->Uni2Mac(us, bd, back + 4, 1);
            EXPECT_EQ(std::vector<uint8_t>(back, bd), bytes) << std::hex << c.dialect;
        }
    }
    {
        // A character the Mac Korean set does not have becomes '?'.
        IntlFixture intl(0x412);
        const char16_t hangul = u'\uAC02';
        const char16_t* s = &hangul;
        uint8_t out[2] = {};
        uint8_t* d = out;
        gDefaultIntl->Uni2Mac(s, d, out + 2, 1);
        EXPECT_EQ(d - out, 1);
        EXPECT_EQ(out[0], '?');
    }
}

TEST(Intl, SeparatorsAndUtf8)
{
    IntlFixture intl;
    const char16_t para[1] = {0x2029};
    uint8_t out[4] = {};
    const char16_t* s = para;
    uint8_t* d = out;
    EXPECT_TRUE(gDefaultIntl->Uni2Ansi(s, d, out + 4, 1));
    EXPECT_EQ(d - out, 2);
    EXPECT_EQ(out[0], 0x0D);
    EXPECT_EQ(out[1], 0x0A);
    s = para;
    d = out;
    out[0] = out[1] = 0;
    EXPECT_TRUE(gDefaultIntl->Uni2Mac(s, d, out + 4, 1));
    EXPECT_EQ(d - out, 1);
    EXPECT_EQ(out[0], 0x0D);

    const uint8_t emoji[4] = {0xF0, 0x9F, 0x98, 0x80};
    char16_t units[2];
    int32_t consumed = -1, produced = -1;
    gDefaultIntl->UTF8ToUTF16(emoji, 4, consumed, units, 2, produced);
    EXPECT_EQ(produced, 2);
    EXPECT_EQ(units[0], 0xD83D);
    EXPECT_EQ(units[1], 0xDE00);
    gDefaultIntl->UTF8ToUTF16(emoji, 4, consumed, units, 1, produced);
    EXPECT_EQ(consumed, 0);
    const uint8_t cut[2] = {'a', 0xC3};
    gDefaultIntl->UTF8ToUTF16(cut, 2, consumed, units, 2, produced);
    EXPECT_EQ(consumed, 1);
    EXPECT_EQ(produced, 1);
}

TEST(Intl, ConverterFileChoiceAndValidation)
{
    platform::testing::TempFolder dir;
    const std::filesystem::path folder = dir.path();
    const auto roman = std::filesystem::path(ShippedConverters()) / "mac_roman.ucvt";
    std::filesystem::copy_file(roman, folder / "a_roman.ucvt");
    std::filesystem::copy_file(roman, folder / "mac_roman.ucvt");
    std::filesystem::copy_file(roman, folder / "mac_");
    EXPECT_EQ(std::filesystem::path(VIntlConverterData::_GetDataFileName(folder.string(), 0)).filename(),
              "mac_roman.ucvt");

    // A damaged file is refused: an offset past the end, a cut table.
    std::ifstream in(roman, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    int16_t width = 0;
    EXPECT_TRUE(VIntlConverterData::ValidateConverterFile(bytes.data(), int32_t(bytes.size()), 0, &width));
    EXPECT_EQ(width, 1);
    EXPECT_FALSE(VIntlConverterData::ValidateConverterFile(bytes.data(), int32_t(bytes.size()) - 1, 0, &width));
    EXPECT_FALSE(VIntlConverterData::ValidateConverterFile(bytes.data(), int32_t(bytes.size()), 9, &width));
    auto damaged = bytes;
    damaged[12] = 0x7F;
    EXPECT_FALSE(VIntlConverterData::ValidateConverterFile(damaged.data(), int32_t(damaged.size()), 0, &width));
    std::filesystem::remove_all(folder);
}

TEST(Intl, Utf8EdgesThroughTheReferenceTables)
{
    IntlFixture intl;
    struct ToUtf16 {
        std::vector<uint8_t> in;
        int32_t room;
        int32_t consumed;
        std::vector<char16_t> out;
    };
    const ToUtf16 decodes[] = {
        {{0xF0, 0x9F, 0x98, 0x80}, 2, 4, {0xD83D, 0xDE00}},
        {{0xF0, 0x9F, 0x98, 0x80}, 1, 0, {}},                  // no room for the pair
        {{0xC3}, 4, 0, {}},                                    // cut off: left for later
        {{0xC3, 0xA9}, 4, 2, {0xE9}},
        {{0xEF, 0xBF, 0xBF}, 4, 3, {0xFFFF}},                  // the largest one-unit value
        {{0xF4, 0x8F, 0xBF, 0xBF}, 4, 4, {0xDBFF, 0xDFFF}},    // U+10FFFF, the last there is
        {{0xF4, 0x90, 0x80, 0x80}, 4, 4, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},  // just past it
        {{0xC0, 0xAF}, 4, 2, {0xFFFD, 0xFFFD}},                // over-long '/'
        {{0xED, 0xA0, 0x80}, 4, 3, {0xFFFD, 0xFFFD, 0xFFFD}},  // an encoded surrogate
        {{0xE2, 'a', 'b'}, 4, 3, {0xFFFD, 'a', 'b'}},          // a missing continuation
        {{0x80, 'a'}, 4, 2, {0xFFFD, 'a'}},                    // a stray continuation
        {{0xFC, 'a'}, 4, 2, {0xFFFD, 'a'}},                    // a six-byte lead
        // The first and last byte of each kind of lead.
        {{0x1B, 'a'}, 4, 2, {0x1B, 'a'}},
        {{0xB8, 0x80}, 4, 2, {0xFFFD, 0xFFFD}},
        {{0xB8}, 4, 1, {0xFFFD}},                              // a continuation never waits
        {{0xC1, 0x81}, 4, 2, {0xFFFD, 0xFFFD}},
        {{0xE0, 0xA0, 0x80}, 4, 3, {0x0800}},
        {{0xFB, 0x80, 0x80}, 4, 3, {0xFFFD, 0xFFFD, 0xFFFD}},  // no four-byte lead: nothing waits
    };
    for (const ToUtf16& c : decodes) {
        char16_t units[8] = {};
        int32_t consumed = -1, produced = -1;
        EXPECT_TRUE(gDefaultIntl->UTF8ToUTF16(c.in.data(), int32_t(c.in.size()), consumed, units, c.room, produced));
        EXPECT_EQ(consumed, c.consumed) << int(c.in[0]);
        EXPECT_EQ(std::vector<char16_t>(units, units + produced), c.out) << int(c.in[0]);
    }

    struct ToUtf8 {
        std::vector<char16_t> in;
        int32_t room;
        int32_t consumed;
        std::vector<uint8_t> out;
    };
    const ToUtf8 encodes[] = {
        {{0xDC00}, 8, 1, {0xEF, 0xBF, 0xBD}},                  // a lone low surrogate: three bytes
        {{0xD83D, 0xDE00}, 8, 2, {0xF0, 0x9F, 0x98, 0x80}},
        {{0xD83D}, 8, 0, {}},                                  // its pair past the end: left for later
        {{0xD83D, 'a'}, 8, 2, {0xEF, 0xBF, 0xBD, 'a'}},        // a high one without its pair
        {{0x7F, 0x80}, 3, 2, {0x7F, 0xC2, 0x80}},              // exact fit
        {{0x7F, 0x800}, 3, 1, {0x7F}},                         // one byte short: left
    };
    for (const ToUtf8& c : encodes) {
        uint8_t bytes[8] = {};
        int32_t consumed = -1, produced = -1;
        EXPECT_TRUE(gDefaultIntl->UTF16ToUTF8(c.in.data(), int32_t(c.in.size()), consumed, bytes, c.room, produced));
        EXPECT_EQ(consumed, c.consumed) << int(c.in[0]);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + produced), c.out) << int(c.in[0]);
    }
}

TEST(Intl, AConverterFileWhosePathDoesNotFitIsPassedOver)
{
    platform::testing::TempFolder dir;
    const auto roman = std::filesystem::path(ShippedConverters()) / "mac_roman.ucvt";
    // A path of 1024 bytes needs 1025 with its NUL: too long.
    const std::string base = dir.path() + "/";
    const size_t room = size_t(kConverterPathBuffer) - base.size();
    std::string folder = base;
    for (size_t left = room - 12; left > 0;) {
        const size_t part = std::min<size_t>(left, 200);
        folder += std::string(part - 1, 'd') + "/";
        left -= part;
    }
    std::filesystem::create_directories(folder);
    folder.pop_back();
    const std::string tooLong = folder + "/" + std::string(base.size() + room - folder.size() - 1, 'f');
    ASSERT_EQ(tooLong.size(), size_t(kConverterPathBuffer));
    std::filesystem::copy_file(roman, tooLong);
    EXPECT_EQ(VIntlConverterData::_GetDataFileName(folder, 0), "");
    // One byte shorter fills the buffer exactly.
    const std::string fits = tooLong.substr(0, tooLong.size() - 1);
    std::filesystem::rename(tooLong, fits);
    EXPECT_EQ(VIntlConverterData::_GetDataFileName(folder, 0), fits);
}

// Composed in place: the new byte length, an odd last byte kept.
TEST(Intl, PrecomposingShortensByTheMarksTaken)
{
    const struct {
        int32_t bytes, result;
        std::u16string text;
    } rows[] = {{6, 4, u"\u00E9x"}, {5, 3, u"\u00E9"}, {2, 2, u"e"}, {1, 1, u"e"}, {0, 0, u"e"}};
    for (const auto& r : rows) {
        char16_t buffer[3] = {u'e', 0x0301, u'x'};
        EXPECT_EQ(VIntlManagerRoot::PrecomposeUnicodeBuffer(buffer, r.bytes), r.result) << r.bytes;
        if (r.bytes >= 4) {
            EXPECT_EQ(std::u16string(buffer, size_t(r.result / 2)), r.text) << r.bytes;
        }
    }
}

// A converter file refused as damaged is closed again, however often it is tried.
TEST(Intl, ADamagedConverterFileLeavesNothingOpen)
{
    platform::testing::TempFolder dir;
    const auto copy = std::filesystem::path(dir.path()) / "mac_roman.ucvt";
    std::filesystem::copy_file(std::filesystem::path(ShippedConverters()) / "mac_roman.ucvt", copy);
    std::filesystem::resize_file(copy, std::filesystem::file_size(copy) - 1);
    auto openFiles = [] {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
        return n;
    };
    const size_t before = openFiles();
    for (int i = 0; i < 3; ++i) IntlFixture intl(0x409, dir.path());
    EXPECT_EQ(openFiles(), before);
}

TEST(Intl, ComparisonAndDialects)
{
    IntlFixture intl;
    VIntlMgr* a = RetainIntlManager(-5);
    VIntlMgr* b = RetainIntlManager(0);
    EXPECT_EQ(a, b);
    a->Release();
    b->Release();

    VStr<255> lower, upper, pattern, one;
    lower.FromUniCString(u"abc");
    upper.FromUniCString(u"ABC");
    EXPECT_EQ(lower.CompareTo(upper, 0), 0);
    EXPECT_EQ(lower.CompareTo(upper, 1), 1);
    pattern.FromUniCString(u"ab@");
    one.FromUniCString(u"a");
    EXPECT_EQ(gDefaultIntl->MatchVString(lower, pattern, false), 0);
    EXPECT_NE(gDefaultIntl->MatchVString(one, pattern, false), 0);
    // Ordering ignores the wildcard, so sorting names with '@' is a total order.
    EXPECT_NE(lower.CompareTo(pattern, 0), 0);
    EXPECT_EQ(-lower.CompareTo(pattern, 0), pattern.CompareTo(lower, 0));

    int32_t language = 0;
    EXPECT_TRUE(VIntlMgr::MAC_GetLangFromDialectCode(0x416, language));
    EXPECT_EQ(language, -1);
    VIntlMgr::MAC_GetLangFromDialectCode(0x816, language);
    EXPECT_EQ(language, 8);
    EXPECT_EQ(INTL_GetDialectScriptCode(0x411), 1);
    EXPECT_EQ(INTL_GetDialectScriptCode(0x1234), -1);
}

TEST(Intl, CharacterComparisonIsATotalOrder)
{
    // Every pair and a sample of triples of characters from ASCII, Latin-1,
    // Mac Roman and beyond: consistent both ways and transitive, loose and
    // strict, so that sorted arrays and binary search agree with a scan.
    IntlFixture intl;
    std::vector<char16_t> chars;
    for (char16_t c = 0x20; c < 0x250; ++c) chars.push_back(c);
    for (char16_t c : {u'\u2022', u'\u2260', u'\u20AC', u'\u2206', u'\u03A9', u'\uF8FF', u'\u4E00'}) chars.push_back(c);
    for (bool strict : {false, true}) {
        auto cmp = [&](char16_t x, char16_t y) { return gDefaultIntl->CompareChar(x, y, strict); };
        for (char16_t x : chars)
            for (char16_t y : chars) ASSERT_EQ(cmp(x, y), -cmp(y, x)) << int(x) << " " << int(y);
        std::vector<char16_t> sorted = chars;
        std::sort(sorted.begin(), sorted.end(), [&](char16_t x, char16_t y) { return cmp(x, y) < 0; });
        for (size_t i = 0; i + 1 < sorted.size(); ++i)
            for (size_t j = i + 1; j < sorted.size(); j += 7) ASSERT_LE(cmp(sorted[i], sorted[j]), 0) << strict;
    }
    EXPECT_EQ(gDefaultIntl->CompareChar(u'e', u'\u00E9', false), 0) << "loose: diacritics do not count";
    EXPECT_EQ(gDefaultIntl->CompareChar(u'E', u'e', false), 0) << "loose: case does not count";
    EXPECT_LT(gDefaultIntl->CompareChar(u'\u00E9', u'f', false), 0);
    // Loose ASCII: exactly a-z fold, onto A-Z; their neighbours keep their codes.
    const struct {
        char16_t a, b;
        int32_t loose;
    } ascii[] = {
        {u'a', u'A', 0}, {u'z', u'Z', 0}, {u'`', u'@', 1}, {u'{', u'[', 1},
        {u'[', u'a', 1}, {u'_', u'z', 1}, {u'@', u'a', -1}, {u'a', u'B', -1},
    };
    for (const auto& c : ascii) EXPECT_EQ(gDefaultIntl->CompareChar(c.a, c.b, false), c.loose) << char(c.a) << char(c.b);
}

namespace {

// An 'XDLC' 128 of the given records (code, script, keyboard) in the current
// resource file.
void AddDialectCodes(std::initializer_list<std::array<int32_t, 3>> records)
{
    std::vector<uint8_t> data = {0, uint8_t(records.size())};
    for (const auto& r : records) {
        uint8_t record[22] = {};
        for (int32_t i = 0; i < 4; ++i) record[i] = uint8_t(uint32_t(r[0]) >> (24 - 8 * i));
        record[4] = uint8_t(r[1] >> 8), record[5] = uint8_t(r[1]);
        record[8] = uint8_t(r[2] >> 8), record[9] = uint8_t(r[2]);
        data.insert(data.end(), record, record + 22);
    }
    platform::Handle h = platform::NewHandleClear(int32_t(data.size()));
    std::memcpy(*h, data.data(), data.size());
    platform::AddResource(h, 0x58444C43, 128, nullptr);
}

}  // namespace

TEST(Intl, DialectCodeResource)
{
    IntlFixture intl;
    int32_t script = -9, kchr = -9;
    EXPECT_FALSE(VIntlMgr::GetMacScriptFromDialectCode(0x409, script)) << "no 'XDLC': nothing found";
    EXPECT_EQ(VIntlMgr::MAC_GetDialectCodeFromMacScript(0), kDialectNotSet);
    EXPECT_FALSE(VIntlMgr::MAC_GetMacKCHRFromDialectCode(0x409, kchr));

    AddDialectCodes({{0x409, 0, 0}, {0x411, 1, 14}, {0x819, 7, 19456}, {0x42A, -1, 99}, {0x407, 0, 0}});
    EXPECT_TRUE(VIntlMgr::GetMacScriptFromDialectCode(0x411, script));
    EXPECT_EQ(script, 1);
    // Absent dialects take the script of their primary form.
    EXPECT_TRUE(VIntlMgr::GetMacScriptFromDialectCode(0x1009, script));
    EXPECT_EQ(script, 0);
    EXPECT_FALSE(VIntlMgr::GetMacScriptFromDialectCode(0x419, script)) << "only a secondary form is listed";
    EXPECT_FALSE(VIntlMgr::GetMacScriptFromDialectCode(0x40C, script));
    // A script gives the primary form of its first record's dialect.
    EXPECT_EQ(VIntlMgr::MAC_GetDialectCodeFromMacScript(7), 0x419);
    EXPECT_EQ(VIntlMgr::MAC_GetDialectCodeFromMacScript(0), 0x409);
    EXPECT_EQ(VIntlMgr::MAC_GetDialectCodeFromMacScript(3), kDialectNotSet);
    EXPECT_TRUE(VIntlMgr::MAC_GetMacKCHRFromDialectCode(0x411, kchr));
    EXPECT_EQ(kchr, 14);
    EXPECT_FALSE(VIntlMgr::MAC_GetMacKCHRFromDialectCode(0x42A, kchr)) << "a record without script";
    EXPECT_FALSE(VIntlMgr::MAC_GetMacKCHRFromDialectCode(0x1009, kchr));
}

TEST(Intl, FindWithTheWildcardAndIntegerSigns)
{
    IntlFixture intl;
    VStr<255> abc, a, pattern, text;
    abc.FromUniCString(u"abc");
    a.FromUniCString(u"a");
    pattern.FromUniCString(u"ab@");
    EXPECT_EQ(abc.Find(pattern), 1);
    EXPECT_EQ(a.Find(pattern), 0);
    text.FromUniCString(u"xxABz");
    EXPECT_EQ(text.Find(pattern), 3) << "loose, from the first place the prefix fits";
    EXPECT_EQ(text.Find(pattern, 1, 1), 0);
    EXPECT_TRUE(abc.BeginsWith(pattern));
    // A long text is compared in place, past any 255-character window.
    std::u16string longUnits(400, u'x');
    longUnits += u"needle";
    VText longText;
    longText.FromUniBlock(longUnits.data(), 0, int32_t(longUnits.size()));
    VStr<255> needle;
    needle.FromUniCString(u"needle");
    EXPECT_EQ(longText.Find(needle, 1, 1), 401);
    EXPECT_TRUE(longText.EndsWith(needle));

    // A minus counts only before the first significant digit.
    const struct {
        const char16_t* text;
        int32_t value;
    } longs[] = {{u"5-3", 53}, {u"0-5", -5}, {u"- 7", -7}, {u"-0", 0}, {u"-99999999999", INT32_MIN}};
    for (const auto& l : longs) {
        text.FromUniCString(l.text);
        EXPECT_EQ(text.GetLong(), l.value) << std::string(l.text, l.text + 2);
        EXPECT_EQ(text.GetLong8(), l.value == INT32_MIN ? -99999999999 : l.value);
    }
    text.FromUniCString(u"-1.5e2");
    EXPECT_EQ(text.GetLong8(), -150);
}

TEST(Intl, StringOperations)
{
    IntlFixture intl;
    VStr<255> s;
    s.AppendLong(255, 18);
    EXPECT_EQ(s.GetCFString(), u"FF");
    s.Clear();
    s.AppendLong(0x1234, 18);
    EXPECT_EQ(s.GetCFString(), u"34");
    s.Clear();
    s.AppendLong(0x1234, 20);
    EXPECT_EQ(s.GetCFString(), u"00001234");
    s.Clear();
    s.AppendLong(0x54455854, 16);
    EXPECT_EQ(s.GetCFString(), u"TEXT");
    s.Clear();
    s.AppendLong8(int64_t(1) << 32, 21);
    EXPECT_EQ(s.GetCFString(), u"0000000100000000");

    VStr<255> text, ab;
    text.FromUniCString(u"xabyab");
    ab.FromUniCString(u"ab");
    EXPECT_EQ(text.Find(ab, 3, 1), 5);
    EXPECT_EQ(text.Find(ab, 6, 1), 0);
    VStr<255> a, aa;
    a.FromUniCString(u"a");
    aa.FromUniCString(u"aa");
    text.FromUniCString(u"aaa");
    text.Exchange(a, aa, 1, 10);
    EXPECT_EQ(text.GetCFString(), u"aaaaaa");

    std::u16string long255(255, u'\u00E9');
    VStr<255> wide;
    wide.FromUniBlock(long255.data(), 0, 255);
    uint8_t pstring[256];
    wide.ToPString(pstring, 255, kCharSetMac);
    EXPECT_EQ(pstring[0], 255);
    EXPECT_EQ(pstring[255], 0x8E);

    const struct {
        const char16_t* text;
        int32_t seconds;
    } hours[] = {{u"13:05", 47100}, {u"1:30 PM", 48600}, {u"12:30 PM", 45000}, {u"12:30 AM", 1800},
                 {u"13", kNoHour},  {u"10:60", kNoHour}, {u"-1:00", -3600}};
    for (const auto& h : hours) {
        s.FromUniCString(h.text);
        EXPECT_EQ(s.GetHour(), h.seconds) << std::string(h.text, h.text + 3);
    }
    s.FromUniCString(u"12.9");
    EXPECT_EQ(s.GetLong(), 12);
    s.FromUniCString(u"1e3");
    EXPECT_EQ(s.GetLong(), 1000);
    s.FromUniCString(u"abc");
    EXPECT_EQ(s.GetLong(), 0);
    s.FromUniCString(u"-1.5e2");
    EXPECT_EQ(s.GetLong(), -150);
    s.FromUniCString(u"99999999999");
    EXPECT_EQ(s.GetLong(), INT32_MAX);
    s.FromUniCString(u"1e5");
    EXPECT_EQ(s.GetLong8(), 100000);
    s.FromUniCString(u"2.5e-1");
    EXPECT_EQ(s.GetReal(), 0.25);
}

TEST(Intl, RoundTripsAndRandomUtf8)
{
    IntlFixture intl;
    for (int32_t b = 0; b < 256; ++b) {
        const uint8_t byte = uint8_t(b);
        const uint8_t* s = &byte;
        char16_t u = 0;
        char16_t* d = &u;
        gDefaultIntl->Mac2Uni(s, d, d + 1, 1);
        uint8_t back = 0;
        const char16_t* us = &u;
        uint8_t* bd = &back;
        gDefaultIntl->Uni2Mac(us, bd, bd + 1, 1);
        EXPECT_EQ(back, byte) << b;

        char16_t w = 0;
        s = &byte;
        d = &w;
        gDefaultIntl->Ansi2Uni(s, d, d + 1, 1);
        uint8_t mac = 0;
        us = &w;
        bd = &mac;
        if (!gDefaultIntl->Uni2Mac(us, bd, bd + 1, 1) || (mac == '?' && byte != '?')) continue;
        // A Windows character that Mac Roman has goes there and back directly.
        uint8_t viaMac = 0;
        Ansi2Mac(byte, viaMac);
        EXPECT_EQ(viaMac, mac) << b;
        uint8_t again = 0;
        Mac2Ansi(viaMac, again);
        EXPECT_EQ(again, byte) << b;
    }

    std::mt19937 random(20240607);
    uint8_t bytes[16];
    char16_t units[32];
    for (int32_t n = 0; n < 100000; ++n) {
        const int32_t length = int32_t(random() % 17);
        for (int32_t i = 0; i < length; ++i) bytes[i] = uint8_t(random());
        int32_t consumed = 0, produced = 0;
        gDefaultIntl->UTF8ToUTF16(bytes, length, consumed, units, 32, produced);
        ASSERT_LE(consumed, length);
        for (int32_t i = 0; i < produced; ++i) {
            const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
            const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
            ASSERT_FALSE(low);
            if (high) {
                ASSERT_TRUE(i + 1 < produced && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF);
                ++i;
            }
        }
    }
}

TEST(Intl, ResourceTablesNeverStallOnAnEmptyEntry)
{
    platform::testing::TempFolder dir;
    platform::ResetResourceManager();
    const std::string path = dir / "converters.rsrc";
    platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
    platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
    // Two-byte table: an entry with no bytes, then 82 A0 -> U+3044.
    const uint8_t toUni[] = {0, 2, 0, 2, 0x30, 0x42, 0, 0, 0x30, 0x44, 0x82, 0xA0};
    const uint8_t fromUni[] = {0, 2, 0, 0};
    const platform::ResType types[] = {0x6D616375, 0x756D6163, 0x77696E75, 0x7577696E};
    for (int i = 0; i < 4; ++i) {
        const bool to = i % 2 == 0;
        platform::Handle h = platform::NewHandle(to ? sizeof toUni : sizeof fromUni);
        std::memcpy(*h, to ? toUni : fromUni, to ? sizeof toUni : sizeof fromUni);
        platform::AddResource(h, types[i], 1, nullptr);
    }
    SetConverterFolder(dir.path());
    {
        VIntlConverterData data(1);
        ASSERT_TRUE(data.IsFromResources());
        const uint8_t text[] = {0x81, 0x40, 0x82, 0xA0};
        char16_t out[8] = {};
        const uint8_t* src = text;
        char16_t* dst = out;
        // An unknown lead byte is dropped, 0x40 stays itself, 82 A0 converts.
        while (src < text + sizeof text && VIntlMgr::_Multi2UniOld(data, false, src, text + sizeof text, dst, out + 8)) {}
        EXPECT_EQ(src, text + sizeof text);
        EXPECT_EQ(std::u16string(out, size_t(dst - out)), u"@\u3044");
    }
    SetConverterFolder("");
    platform::ResetResourceManager();
}

// From Unicode through a two-byte resource table: each character has its
// own entry; a table of entries without width is refused.
TEST(Intl, ResourceTablesFromUnicodeTakeTheirOwnEntry)
{
    platform::testing::TempFolder dir;
    const uint8_t toUni[] = {0, 2, 0, 0};
    // U+3042..U+3044 -> 82 A0, 82 A1, 82 A2; then U+3046 -> 82 A4.
    const std::vector<uint8_t> good = {0, 2, 0, 2, 0x30, 0x42, 0x30, 0x44, 0x82, 0xA0, 0x82, 0xA1, 0x82, 0xA2,
                                       0x30, 0x46, 0x30, 0x46, 0x82, 0xA4};
    const std::vector<uint8_t> noWidth = {0, 0, 0, 0};
    for (const auto* fromUni : {&good, &noWidth}) {
        platform::ResetResourceManager();
        const std::string path = dir / (fromUni == &good ? "good.rsrc" : "bad.rsrc");
        platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
        platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
        const platform::ResType types[] = {0x6D616375, 0x756D6163, 0x77696E75, 0x7577696E};
        for (int i = 0; i < 4; ++i) {
            const bool to = i % 2 == 0;
            const size_t size = to ? sizeof toUni : fromUni->size();
            platform::Handle h = platform::NewHandle(platform::Size(size));
            std::memcpy(*h, to ? toUni : fromUni->data(), size);
            platform::AddResource(h, types[i], 1, nullptr);
        }
        SetConverterFolder(dir.path());
        VIntlConverterData data(1);
        EXPECT_EQ(data.IsFromResources(), fromUni == &good);
        if (fromUni == &good) {
            const char16_t text[] = {0x3044, 0x3042, 0x3046};
            uint8_t out[8] = {};
            const char16_t* src = text;
            uint8_t* dst = out;
            while (src < text + 3 && VIntlMgr::_Uni2MultiOld(data, false, src, dst, out + 8)) {}
            EXPECT_EQ(std::vector<uint8_t>(out, dst), (std::vector<uint8_t>{0x82, 0xA2, 0x82, 0xA0, 0x82, 0xA4}));
        }
        SetConverterFolder("");
    }
    platform::ResetResourceManager();
}

// Case tables map each character of their ranges, the last one of the
// last range too; characters outside stay.
TEST(Intl, CaseTablesMapUpToTheirLastEntry)
{
    IntlFixture intl;
    // One range, 'a'..'c' -> 'A'..'C', ending the resource.
    const uint8_t upper[] = {0, 1, 0, 'a', 0, 'c', 0, 'A', 0, 'B', 0, 'C'};
    platform::Handle h = platform::NewHandle(sizeof upper);
    std::memcpy(*h, upper, sizeof upper);
    platform::AddResource(h, 0x7570726E, 0x409, nullptr);  // 'uprn'
    VIntlMgr mgr(0x409);
    ASSERT_EQ(mgr.InitUnicode(0x409), 0);
    char16_t text[] = {u'c', u'a', u'd', u'b'};
    mgr.ToUpperCase(text, 4, false);
    EXPECT_EQ(std::u16string(text, 4), u"CAdB");
}

// The Mac language and the script family of a dialect; a dialect no list
// knows has neither, and the look-up still answers.
TEST(Intl, LanguagesAndFamiliesOfDialects)
{
    const struct {
        DialectCode dialect;
        int32_t language;
        MultiByteCode family;
    } rows[] = {{0x409, 0, 0},   {0x407, 2, 0},   {0x1407, 2, 0}, {0x40D, 10, 6},
                {0x411, 11, 1},  {0x41F, 17, 16}, {0x7777, -1, -1}};
    for (const auto& r : rows) {
        int32_t language = 99;
        EXPECT_TRUE(VIntlMgr::MAC_GetLangFromDialectCode(r.dialect, language)) << r.dialect;
        EXPECT_EQ(language, r.language) << r.dialect;
        EXPECT_EQ(INTL_GetDialectScriptCode(r.dialect), r.family) << r.dialect;
    }
}
