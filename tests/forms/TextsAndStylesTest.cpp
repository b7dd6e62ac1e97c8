// String-list references in texts, style-sheet tables brought to the
// current layout, and the form-link seam.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/calc/StringRefs.h"
#include "forms/walkers/ParseIFFForm.h"
#include "forms/stylesheets/StyleSheets.h"
#include "kernel/helpers/ResourceStrings.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

using Bytes = std::vector<uint8_t>;

namespace {

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

std::string Replaced(const std::string& s)
{
    unsigned char t[256];
    t[0] = uint8_t(s.size());
    std::memcpy(t + 1, s.data(), s.size());
    getstrstr(t);
    return Text(t);
}

Handle MakeHandle(const Bytes& b)
{
    Handle h = nullptr;
    platform::PtrToHand(b.data(), &h, platform::Size(b.size()));
    return h;
}

Bytes Contents(Handle h)
{
    return Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
}

// A font block: name, number 0, size, face.
Bytes Block(const std::string& font, uint8_t size, uint8_t face)
{
    Bytes b(68, 0);
    b[0] = uint8_t(font.size());
    std::memcpy(&b[1], font.data(), font.size());
    b[66] = size;
    b[67] = face;
    return b;
}

Bytes Entry(const std::string& name, int16_t id, const std::vector<Bytes>& blocks, bool withCount)
{
    Bytes e(34, 0);
    e[0] = uint8_t(name.size());
    std::memcpy(&e[1], name.data(), name.size());
    platform::WriteBE16(&e[32], uint16_t(id));
    if (withCount) e.push_back(0), e.push_back(uint8_t(blocks.size()));
    for (const Bytes& b : blocks) e.insert(e.end(), b.begin(), b.end());
    return e;
}

Bytes Table(uint16_t count, const std::vector<Bytes>& entries)
{
    Bytes t{uint8_t(count >> 8), uint8_t(count), 0, 0};
    for (const Bytes& e : entries) t.insert(t.end(), e.begin(), e.end());
    return t;
}

}  // namespace

TEST(StringRefs, AColonIdCommaIndexBecomesThatItem)
{
    platform::testing::TempFolder dir;
    platform::ResetResourceManager();
    ResetStringCache();
    ASSERT_NE(kerneltest::OpenAppFile(dir.path() + "/app.rsrc",
                                      {{platform::FourCC("STR#"), 1000, false, "", 0,
                                        kerneltest::StrList({"one", "two", "three"})},
                                       {platform::FourCC("STR#"), 7, false, "", 0, kerneltest::StrList({"seven"})},
                                       {platform::FourCC("STR#"), -32768, false, "", 0, kerneltest::StrList({"low"})}}),
              -1);
    EXPECT_EQ(Replaced(":1000,3"), "three");
    EXPECT_EQ(Replaced(":7,1"), "seven");
    EXPECT_EQ(Replaced(":-32768,1"), "low");
    EXPECT_EQ(Replaced(":1000,4"), "");
    for (const char* left : {"1000,3", ":1000", ":1000,", ":,3", ":1000,3x", ": 1000,3", ":99999,1", "plain", ""})
        EXPECT_EQ(Replaced(left), left);
    ResetStringCache();
    platform::ResetResourceManager();
}

TEST(StyleSheets, OlderEntriesBecomeFiveBlockEntries)
{
    const Bytes a = Block("Geneva", 12, 1), b = Block("Times", 10, 0), c = Block("Arial", 9, 2);
    Handle old = MakeHandle(Table(2, {Entry("Body", 5, {a, b, c}, false), Entry("Title", 6, {c, b, a}, false)}));
    ASSERT_EQ(platform::GetHandleSize(old), 4 + 2 * 238);
    EXPECT_TRUE(Is67xStyleSheet(old));
    EXPECT_FALSE(Is68xStyleSheet(old));
    Handle now = ConvertStyleSheet(old);
    ASSERT_NE(now, nullptr);
    ASSERT_NE(now, old);
    Bytes expected = Table(2, {Entry("Body", 5, {a, b, c, a, c}, true), Entry("Title", 6, {c, b, a, c, a}, true)});
    platform::WriteBE16(&expected[2], 376);
    EXPECT_EQ(Contents(now), expected);
    EXPECT_TRUE(Is68xStyleSheet(now));
    // Already current: the same handle.
    EXPECT_EQ(ConvertStyleSheet(now), now);
    platform::DisposeHandle(now);
    platform::DisposeHandle(old);
}

TEST(StyleSheets, LayoutsAreToldBySizeAndBlockCounts)
{
    Handle empty = MakeHandle({0, 0, 0, 0});
    EXPECT_TRUE(Is67xStyleSheet(empty) && Is68xStyleSheet(empty));
    EXPECT_EQ(ConvertStyleSheet(empty), empty);
    platform::DisposeHandle(empty);

    // 188 older entries take the bytes of 119 current ones: the block
    // counts decide.
    const Bytes a = Block("Geneva", 12, 0);
    std::vector<Bytes> current(119, Entry("S", 1, {a, a, a, a, a}, true));
    Handle both = MakeHandle(Table(119, current));
    EXPECT_TRUE(Is67xStyleSheet(both) && Is68xStyleSheet(both));
    EXPECT_EQ(ConvertStyleSheet(both), both);
    platform::WriteBE16(*both + 4 + 376 * 7 + 34, 3);
    EXPECT_FALSE(Is68xStyleSheet(both));
    platform::WriteBE16(*both, 188);
    Handle converted = ConvertStyleSheet(both);
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(platform::GetHandleSize(converted), 4 + 188 * 376);
    platform::DisposeHandle(converted);
    platform::DisposeHandle(both);

    // Neither layout, too short, or a count the entries do not hold.
    for (const Bytes& bad : {Bytes{0, 1, 0}, Bytes(4 + 100, 0), Table(2, {Entry("S", 1, {a, a, a}, false)}),
                             Table(3, {Entry("S", 1, {a, a, a, a, a}, true)})}) {
        Handle h = MakeHandle(bad);
        EXPECT_EQ(ConvertStyleSheet(h), nullptr) << bad.size();
        platform::DisposeHandle(h);
    }
    EXPECT_EQ(ConvertStyleSheet(nullptr), nullptr);
}

TEST(FormLinks, OnlyAnIffImageWithinItsHandleIsRead)
{
    const Bytes form{'F', 'O', 'R', 'M', 0, 0, 0, 4, 'L', 'A', 'Y', 'O'};
    const Bytes reversed{'M', 'R', 'O', 'F', 4, 0, 0, 0, 'O', 'Y', 'A', 'L'};
    Bytes longer = form;
    longer[7] = 5;
    const Bytes cut(form.begin(), form.begin() + 7);
    for (const auto& [bytes, result] : std::vector<std::pair<Bytes, int16_t>>{
             {form, 0}, {reversed, 0}, {longer, kFormWalkFailed}, {cut, kFormWalkFailed}, {Bytes{13, 0, 0, 1}, kFormWalkFailed},
             {Bytes{}, kFormWalkFailed}}) {
        Handle h = MakeHandle(bytes);
        EXPECT_EQ(ParseIFFForm(h, nullptr), result) << bytes.size();
        platform::DisposeHandle(h);
    }
    EXPECT_EQ(ParseIFFForm(nullptr, nullptr), kFormWalkFailed);
}
