#include <gtest/gtest.h>

#include <cstddef>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapKeywords.h"
#include "kernel/byteswap/SwapPrimitives.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/kernel/SwapTestText.h"
#include "tests/platform/files/TempFolder.h"

namespace {

using Bytes = std::vector<uint8_t>;

class SwapWalker : public ::testing::Test {
protected:
    void TearDown() override { ResetSwapTemplates(); }
};

}  // namespace

TEST_F(SwapWalker, ALongWithinAndAcrossTheLimit)
{
    ASSERT_EQ(swaptest::Load({"L 1", "long", "end"}), 0);
    Bytes b{1, 2, 3, 4};
    int32_t consumed = -1;
    EXPECT_EQ(SwapBytes2(1, b.data(), -1, &consumed, 4), 0);
    EXPECT_EQ(b, (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(consumed, 4);
    EXPECT_EQ(errSwap, 0);

    Bytes c{1, 2, 3, 4, 5};
    EXPECT_EQ(SwapBytes2(1, c.data(), -1, &consumed, 3), kSwapOverrunErr);
    EXPECT_EQ(errSwap, 1);
    EXPECT_EQ(c, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_LE(consumed, 3);

    // No conversion asked, template 0 or an empty slot: untouched, result 0.
    EXPECT_EQ(SwapBytes2(1, c.data(), 0, &consumed, 5), 0);
    EXPECT_EQ(errSwap, 0);
    EXPECT_EQ(SwapBytesEnvoi2(0, c.data(), -1, &consumed, 5), 0);
    EXPECT_EQ(SwapBytesEnvoi2(2, c.data(), -1, &consumed, 5), 0);
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(c, (Bytes{1, 2, 3, 4, 5}));
}

TEST_F(SwapWalker, CountedArraysDriveTheWalkInBothDirections)
{
    ASSERT_EQ(swaptest::Load({"Elem 1", "long", "end", "Arr 2", "word n", "arrayof n Elem", "end"}), 0);
    const Bytes host{0, 2, 1, 2, 3, 4, 5, 6, 7, 8, 0xEE};
    const Bytes other{2, 0, 4, 3, 2, 1, 8, 7, 6, 5, 0xEE};
    Bytes b = host;
    int32_t consumed = 0;
    EXPECT_EQ(SwapBytesEnvoi2(2, b.data(), -1, &consumed, int32_t(b.size())), 0);
    EXPECT_EQ(b, other);
    EXPECT_EQ(consumed, 10);
    EXPECT_EQ(SwapBytes2(2, b.data(), -1, &consumed, int32_t(b.size())), 0);
    EXPECT_EQ(b, host);
    EXPECT_EQ(consumed, 10);

    Bytes empty{0, 0, 1, 2, 3, 4};
    EXPECT_EQ(SwapBytes2(2, empty.data(), -1, &consumed, 6), 0);
    EXPECT_EQ(consumed, 2);
    EXPECT_EQ(empty, (Bytes{0, 0, 1, 2, 3, 4}));

    // A count that claims more than the record holds straddles the limit.
    Bytes cut{0, 2, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(SwapBytesEnvoi2(2, cut.data(), -1, &consumed, 8), kSwapOverrunErr);
    EXPECT_EQ(cut, (Bytes{2, 0, 4, 3, 2, 1, 5, 6}));
}

TEST_F(SwapWalker, AlignmentCountsFromTheRecordStart)
{
    ASSERT_EQ(swaptest::Load({"A 1", "skip", "align4", "long", "end", "B 2", "skip", "align2", "word", "end"}), 0);
    Bytes b{9, 0, 0, 0, 1, 2, 3, 4};
    int32_t consumed = 0;
    EXPECT_EQ(SwapBytes2(1, b.data(), -1, &consumed, 8), 0);
    EXPECT_EQ(b, (Bytes{9, 0, 0, 0, 4, 3, 2, 1}));
    EXPECT_EQ(consumed, 8);
    // The record may start anywhere in memory.
    Bytes odd{0, 9, 0, 1, 2};
    EXPECT_EQ(SwapBytes2(2, odd.data() + 1, -1, &consumed, 4), 0);
    EXPECT_EQ(odd, (Bytes{0, 9, 0, 2, 1}));
    Bytes aligned{0, 0, 0, 0};
    EXPECT_EQ(SwapBytes2(1, aligned.data(), -1, &consumed, 3), kSwapOverrunErr);
}

TEST_F(SwapWalker, AlignmentPastTheFirstWordAndResetFreesEveryTemplate)
{
    // A first load lets the name allocator take its heap, which it keeps.
    ASSERT_EQ(swaptest::Load({"W 9", "word", "end"}), 0);
    ResetSwapTemplates();
    const size_t ptrs = platform::LivePtrCount();
    ASSERT_EQ(swaptest::Load({"C 3", "skip", "skip", "skip", "skip", "skip", "align4", "long", "end"}), 0);
    Bytes b{9, 9, 9, 9, 9, 0, 0, 0, 1, 2, 3, 4};
    int32_t consumed = 0;
    EXPECT_EQ(SwapBytes2(3, b.data(), -1, &consumed, 12), 0);
    EXPECT_EQ(b, (Bytes{9, 9, 9, 9, 9, 0, 0, 0, 4, 3, 2, 1}));
    EXPECT_EQ(consumed, 12);
    ResetSwapTemplates();
    EXPECT_EQ(platform::LivePtrCount(), ptrs);
}

TEST_F(SwapWalker, SkipsStringsAndSwitches)
{
    ASSERT_EQ(swaptest::Load({"S 1", "word sel", "pstring", "switch sel", "case 1", "long", "endcase",
                              "case 2", "word [2]", "endcase", "endswitch", "ext10", "word", "end"}),
              0);
    // Host order: selector 2, a 3-character string, two words, 10 bytes, a word.
    Bytes host{0, 2, 3, 'a', 'b', 'c', 0x11, 0x22, 0x33, 0x44};
    host.insert(host.end(), 10, 0x55);
    host.insert(host.end(), {0x66, 0x77});
    Bytes b = host;
    int32_t consumed = 0;
    EXPECT_EQ(SwapBytesEnvoi2(1, b.data(), -1, &consumed, int32_t(b.size())), 0);
    EXPECT_EQ(consumed, int32_t(host.size()));
    Bytes expected = host;
    std::swap(expected[0], expected[1]);
    std::swap(expected[6], expected[7]);
    std::swap(expected[8], expected[9]);
    std::swap(expected[20], expected[21]);
    EXPECT_EQ(b, expected);
    EXPECT_EQ(SwapBytes2(1, b.data(), -1, &consumed, int32_t(b.size())), 0);
    EXPECT_EQ(b, host);

    // A string whose length runs past the limit stops the walk.
    Bytes cut{0, 1, 200, 'x'};
    EXPECT_EQ(SwapBytes2(1, cut.data(), -1, &consumed, 4), kSwapOverrunErr);
    EXPECT_EQ(errSwap, 1);
}

TEST_F(SwapWalker, ARecordEndingAtAnEntryBoundaryIsAccepted)
{
    ASSERT_EQ(swaptest::Load({"R 1", "long [2]", "word", "skip [2]", "end"}), 0);
    Bytes b(10, 1);
    int32_t consumed = 0;
    EXPECT_EQ(SwapBytes2(1, b.data(), -1, &consumed, 10), 0);
    EXPECT_EQ(consumed, 10);
    EXPECT_EQ(SwapBytes2(1, b.data(), -1, &consumed, 11), kSwapOverrunErr);
}

TEST(SwapPrimitives, ReverseValuesAndRuns)
{
    EXPECT_EQ(vInvertsWord(0x0102), 0x0201);
    EXPECT_EQ(vInvertsLong(0x01020304), 0x04030201);
    uint8_t w[2] = {0xFF, 0x80};
    EXPECT_EQ(InvertWord(w), int16_t(0x80FF));  // sign-extended
    uint8_t run[7] = {1, 2, 3, 4, 5, 6, 7};
    ASI_ByteSwapWORDS(run, 7);
    EXPECT_EQ(Bytes(run, run + 7), (Bytes{2, 1, 4, 3, 6, 5, 7}));
    ASI_ByteSwapLONGS(run, 7);
    EXPECT_EQ(Bytes(run, run + 7), (Bytes{3, 4, 1, 2, 6, 5, 7}));
    // A run that ends on a whole word swaps that last word too.
    uint8_t even[6] = {1, 2, 3, 4, 5, 6};
    ASI_ByteSwapWORDS(even, 6);
    EXPECT_EQ(Bytes(even, even + 6), (Bytes{2, 1, 4, 3, 6, 5}));
    // Whole longs one after the other; single values leave the byte past them.
    uint8_t longs[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASI_ByteSwapLONGS(longs, 9);
    EXPECT_EQ(Bytes(longs, longs + 9), (Bytes{4, 3, 2, 1, 8, 7, 6, 5, 9}));
    ASI_ByteSwapWORD(longs);
    ASI_ByteSwapLONG(longs + 4);
    EXPECT_EQ(Bytes(longs, longs + 9), (Bytes{3, 4, 2, 1, 5, 6, 7, 8, 9}));
    uint8_t l[4] = {0x80, 2, 3, 4};
    EXPECT_EQ(InvertLong(l), 0x04030280);
    EXPECT_EQ(Bytes(l, l + 4), (Bytes{4, 3, 2, 0x80}));
}

// Every template of the shipped file converts a sample to the other order
// and back to the same bytes.
TEST_F(SwapWalker, ShippedTemplatesRoundTrip)
{
    const std::string path = std::string(std::getenv("QZ_TEST_SOURCE_DIR")) + "/resources/ByteSwap.txt";
    std::vector<char> text;
    {
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.insert(text.end(), buf, buf + n);
        std::fclose(f);
    }
    ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0) << SwapFileMessage();

    struct Sample {
        int32_t number;
        Bytes host;
        Bytes other;
    };
    Bytes header(36), headerLE(36);
    for (int i = 0; i < 36; ++i) header[i] = uint8_t(i + 1);
    for (int i = 0; i < 36; i += 4)
        for (int k = 0; k < 4; ++k) headerLE[i + k] = header[i + 3 - k];
    const Bytes record{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0x20, 0, 0, 128, 0xA1, 0xA2, 0xA3, 0xA4};
    const Bytes recordLE{4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9, 0, 0x20, 128, 0, 0xA4, 0xA3, 0xA2, 0xA1};
    Bytes list{0, 2, 'T', 'E', 'X', 'T'}, listLE{2, 0, 'T', 'X', 'E', 'T'};
    for (int i = 0; i < 2; ++i) {
        list.insert(list.end(), record.begin(), record.end());
        listLE.insert(listLE.end(), recordLE.begin(), recordLE.end());
    }
    const Sample samples[] = {
        {1, header, headerLE},
        {2, record, recordLE},
        {4, list, listLE},
        {39, {0x01, 0x02}, {0x02, 0x01}},
        {66, {1, 2, 3, 4}, {4, 3, 2, 1}},
        {95, {0, 0, 0, 7, 'P', 'I', 'C', 'T', 0, 128, 0, 0}, {7, 0, 0, 0, 'T', 'C', 'I', 'P', 128, 0, 0, 0}},
        {105, {'T', 'E', 'X', 'T', 0, 5, 0, 0, 0, 9, 2, 0}, {'T', 'X', 'E', 'T', 5, 0, 9, 0, 0, 0, 2, 0}},
        {138, {'T', 'E', 'X', 'T', 0, 0, 4, 'n', 'a', 'm', 'e'}, {'T', 'X', 'E', 'T', 0, 0, 4, 'n', 'a', 'm', 'e'}},
    };
    // Records whose fields are given by offset: the other order reverses
    // exactly those.
    auto swapped = [](size_t size, std::initializer_list<std::pair<size_t, size_t>> fields) {
        Sample s{0, Bytes(size), {}};
        for (size_t i = 0; i < size; ++i) s.host[i] = uint8_t(i * 13 + 5);
        s.other = s.host;
        for (auto [at, width] : fields) std::reverse(s.other.begin() + std::ptrdiff_t(at), s.other.begin() + std::ptrdiff_t(at + width));
        return s;
    };
    // The parameter record: table count, the word at 10, four rectangles,
    // three longs, a rectangle and two words, then 255 table entries of six
    // words (the 'FIQz' id and five more) and two bytes.
    Sample param = swapped(3648, {{0, 2}, {10, 2}, {44, 4}, {48, 4}, {52, 4}});
    for (size_t at = 12; at < 44; at += 2) std::reverse(param.other.begin() + std::ptrdiff_t(at), param.other.begin() + std::ptrdiff_t(at) + 2);
    for (size_t at = 58; at < 70; at += 2) std::reverse(param.other.begin() + std::ptrdiff_t(at), param.other.begin() + std::ptrdiff_t(at) + 2);
    for (size_t at = 78; at < 3648; at += 14)
        for (size_t w = at; w < at + 12; w += 2) std::reverse(param.other.begin() + std::ptrdiff_t(w), param.other.begin() + std::ptrdiff_t(w) + 2);
    param.number = 11;
    Sample user = swapped(112, {{0, 4}, {108, 4}});
    user.number = 38;
    Sample oldUser = swapped(96, {{0, 4}});
    oldUser.number = 107;
    Bytes group(32, 0x47), groupLE(32, 0x47);
    group.insert(group.end(), {0, 2, 0xAA, 0xBB, 0x12, 0x34, 0xC3, 0x98});
    groupLE.insert(groupLE.end(), {2, 0, 0xAA, 0xBB, 0x34, 0x12, 0x98, 0xC3});
    std::vector<Sample> all(std::begin(samples), std::end(samples));
    all.insert(all.end(), {param, user, oldUser, {40, group, groupLE}});

    // Records given as their 16-bit words and 32-bit values by offset;
    // every other byte (names, patterns, flag bytes) stays.
    auto fields = [&](int32_t number, size_t size, std::vector<size_t> words, std::vector<size_t> longs = {}) {
        std::initializer_list<std::pair<size_t, size_t>> none;
        Sample r = swapped(size, none);
        for (size_t at : words) std::reverse(r.other.begin() + std::ptrdiff_t(at), r.other.begin() + std::ptrdiff_t(at + 2));
        for (size_t at : longs) std::reverse(r.other.begin() + std::ptrdiff_t(at), r.other.begin() + std::ptrdiff_t(at + 4));
        r.number = number;
        return r;
    };
    all.push_back(fields(24, 38, {0, 2, 4, 6, 8, 10, 30, 32, 34, 36}));        // matrix
    all.push_back(fields(25, 42, {0, 2, 4, 6, 20, 24, 28, 30, 34, 38, 40}));  // variable
    all.push_back(fields(27, 68, {0, 4, 8}));                                  // entry attributes
    all.push_back(fields(28, 28, {0, 2, 4, 6, 16, 18, 20, 22, 24, 26}));       // static text
    all.push_back(fields(29, 28, {0, 2, 4, 6, 10, 12, 14, 22, 24, 26}));       // field
    all.push_back(fields(30, 48, {0, 2, 4, 6, 12}));                           // subform
    all.push_back(fields(32, 34, {0, 2, 4, 6, 8, 10, 30, 32}));                // rectangle, oval, line
    all.push_back(fields(130, 50, {4, 48}, {0}));                              // list item
    all.push_back(fields(131, 44, {32, 34, 38}, {40}));                        // list header
    for (const Sample& s : all) {
        Bytes b = s.host;
        EXPECT_EQ(SwapBytesEnvoi2(s.number, b.data(), -1, nullptr, int32_t(b.size())), 0) << s.number;
        EXPECT_EQ(b, s.other) << s.number;
        EXPECT_EQ(SwapBytes2(s.number, b.data(), -1, nullptr, int32_t(b.size())), 0) << s.number;
        EXPECT_EQ(b, s.host) << s.number;
        EXPECT_EQ(errSwap, 0);
    }
}

// Without a list in the application the built-in keywords serve, one for
// each kind; disposing of them frees their handle.
TEST(SwapKeywords, TheBuiltInListHoldsOneKeywordPerKind)
{
    platform::ResetResourceManager();
    DisposeSwapKeywords();
    const size_t live = platform::LiveHandleCount();
    ASSERT_EQ(LoadSwapKeywords(), 0);
    int32_t count = 0;
    std::memcpy(&count, *Listofnames, 4);
    EXPECT_EQ(count, int32_t(kSwapKindCount) + 1);
    EXPECT_EQ(platform::GetHandleSize(Listofnames), 4 + count * kSwapKeywordEntry);
    const uint8_t align4[6] = {'a', 'l', 'i', 'g', 'n', '4'};
    EXPECT_EQ(SwapKeywordKind(align4, 6), uint32_t(kSwapKindCount));
    DisposeSwapKeywords();
    EXPECT_EQ(platform::LiveHandleCount(), live);
}

// The keywords come from the application's own list when it carries one; a
// list claiming more strings than it holds gives the whole ones only.
TEST(SwapKeywords, TheApplicationsListIsTakenStringByString)
{
    platform::testing::TempFolder dir;
    platform::ResetResourceManager();
    DisposeSwapKeywords();
    std::vector<uint8_t> list = kerneltest::StrList({"keys", "hop", "mot"});
    list[1] = 9;  // claims nine
    list.push_back(40);  // a fourth that runs past the end
    list.push_back('x');
    ASSERT_NE(kerneltest::OpenAppFile(dir / "app.rsrc", {{platform::FourCC("STR#"), kSwapKeywordListId, false, "", 0, list}}),
              -1);
    ASSERT_EQ(LoadSwapKeywords(), 0);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*Listofnames);
    int32_t count = 0;
    std::memcpy(&count, p, 4);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 4 + 1), p[4]), "keys");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 4 + 2 * kSwapKeywordEntry + 1), p[4 + 2 * kSwapKeywordEntry]),
              "mot");
    const uint8_t hop[3] = {'h', 'o', 'p'};
    EXPECT_EQ(SwapKeywordKind(hop, 3), 1u);
    DisposeSwapKeywords();
    platform::ResetResourceManager();
}
