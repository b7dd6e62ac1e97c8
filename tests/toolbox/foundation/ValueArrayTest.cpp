#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/toolbox/foundation/ValueTestSupport.h"
#include "toolbox/foundation/VArrayBoolean.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VStr.h"

namespace {

std::vector<int32_t> Elements(const VArrayValue& a)
{
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= a.GetCount(); ++i) out.push_back(a.GetLong(i));
    return out;
}

VArrayWord Words(std::initializer_list<int16_t> values)
{
    VArrayWord a;
    for (int16_t v : values) a.AppendWord(v, 0);
    return a;
}

VStr<31> S(const char* text)
{
    VStr<31> s;
    s.FromMacCString(reinterpret_cast<const uint8_t*>(text));
    return s;
}

// Reads an array back from bytes written by WrittenBigEndian.
template <class Array>
int32_t ReadBack(Array& array, ByteList bytes)
{
    char** h = gMemory->NewHandle(reinterpret_cast<char*>(bytes.data()), int32_t(bytes.size()));
    int32_t err;
    {
        VHandleStream stream(&h);
        stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
        stream.OpenReading();
        err = array.ReadFromStream(&stream, 0);
        stream.CloseReading();
    }
    gMemory->DisposeHandle(h);
    return err;
}

TEST(ValueArray, AutoSortAndAppendKeepOrder)
{
    VArrayWord a = Words({5, 3, 9});
    a.SetCurrent(1);
    a.SetAutoSort(1);
    EXPECT_EQ(Elements(a), (std::vector<int32_t>{3, 5, 9}));
    EXPECT_EQ(a.GetCurrent(), 2);  // the current element moved with the sort
    a.SetCurrent(3);
    EXPECT_EQ(a.AppendWord(4, 0), 2);
    EXPECT_EQ(Elements(a), (std::vector<int32_t>{3, 4, 5, 9}));
    EXPECT_EQ(a.GetCurrent(), 3);
    EXPECT_EQ(a.Find(VLong(5), 1, 1, 0), 3);  // binary search

    // Many elements, both directions.
    VArrayLong big;
    for (int32_t i = 0; i < 500; ++i) big.AppendLong((i * 7919) % 1000 - 500, 0);
    big.Sort(1);
    for (int32_t i = 1; i < big.GetCount(); ++i) ASSERT_GE(big.GetLong(i), big.GetLong(i + 1));
    big.Sort(0);
    for (int32_t i = 1; i < big.GetCount(); ++i) ASSERT_LE(big.GetLong(i), big.GetLong(i + 1));

    VArrayLong u;
    for (int32_t v = 1; v <= 6; ++v) u.AppendLong(v, 0);
    u.Unsort();
    EXPECT_EQ(Elements(u), (std::vector<int32_t>{6, 2, 4, 3, 5, 1}));
}

TEST(ValueArray, FindHonoursMethodAndDirection)
{
    VArrayLong a;
    for (int32_t v : {1, 5, 7}) a.AppendLong(v, 0);
    EXPECT_EQ(a.Find(5, 1, 1, 2), 1);
    EXPECT_EQ(a.Find(5, 1, 1, -1), 3);
    EXPECT_EQ(a.Find(5, 1, 1, -2), 2);  // the equal element is at least the value
    EXPECT_EQ(a.Find(1, 3, 0, 0), 1);
    EXPECT_EQ(a.Find(9, 1, 1, 0), -1);
    EXPECT_EQ(a.Find(5, 4, 1, 0), -1);
    EXPECT_EQ(a.Find(5, 2, 1, 77), 2);  // unknown method: no scan

    VArrayWord w = Words({4, 8, 4});
    EXPECT_EQ(w.Find(int16_t(4), 2, 0, 0), 1);  // backward, as the flag asks
    EXPECT_EQ(w.Find(int16_t(4), 2, 1, 0), 3);
    // Word elements are compared with a value as words.
    EXPECT_EQ(w.CompareTo(VLong(0x10008), 0, 2), 0);
    EXPECT_EQ(w.CompareTo(VLong(9), 0, 2), -1);

    VArrayString s;
    for (const char* t : {"a", "b", "c"}) s.AppendString(S(t), 0);
    EXPECT_EQ(s.Find(S("b"), 1, 1, 1), 3);
    EXPECT_EQ(s.Find(S("b"), 3, 0, -1), 1);
    s.FromWord(12, 2);
    EXPECT_EQ(s.Find(VLong(12), 1, 1, 0), 2);  // a value is searched as its text
    s.FromString(S("true"), 1);
    EXPECT_EQ(s.GetBoolean(1), true);
    EXPECT_EQ(s.GetBoolean(3), false);

    VArrayBoolean b;
    for (uint8_t v : {1, 0, 1}) b.AppendBoolean(v, 0);
    EXPECT_EQ(b.Find(uint8_t(0), 3, 0, 0), 2);
    EXPECT_EQ(b.Find(uint8_t(0), 3, 1, 0), -1);
}

TEST(ValueArray, SearchesProbeTheFirstAndLastAndBeyond)
{
    VArrayLong one;
    one.AppendLong(42, 0);
    EXPECT_EQ(one.Find(42, 1, 1, 0), 1);
    EXPECT_EQ(one.Find(42, 1, 0, 0), 1);

    for (int sorted = 0; sorted < 2; ++sorted) {
        VArrayLong n;
        for (int32_t v : {10, 20, 20, 30, 40}) n.AppendLong(v, 0);
        n.SetAutoSort(uint8_t(sorted));
        EXPECT_EQ(n.Find(10, 1, 1, 0), 1) << sorted;
        EXPECT_EQ(n.Find(40, 1, 1, 0), 5) << sorted;
        EXPECT_EQ(n.Find(9, 1, 1, 0), -1) << sorted;
        EXPECT_EQ(n.Find(41, 1, 1, 0), -1) << sorted;
        int32_t twenty = n.Find(20, 1, 1, 0);
        EXPECT_TRUE(twenty == 2 || twenty == 3) << sorted;

        VArrayString s;
        for (const char* t : {"b", "d", "f"}) s.AppendString(S(t), 0);
        s.SetAutoSort(uint8_t(sorted));
        EXPECT_EQ(s.Find(S("b"), 1, 1, 0), 1) << sorted;
        EXPECT_EQ(s.Find(S("f"), 1, 1, 0), 3) << sorted;
        EXPECT_EQ(s.Find(S("a"), 1, 1, 0), -1) << sorted;
        EXPECT_EQ(s.Find(S("g"), 1, 1, 0), -1) << sorted;
        // A later start scans from there, sorted or not.
        EXPECT_EQ(s.Find(S("b"), 2, 1, 0), -1) << sorted;
        EXPECT_EQ(s.Find(S("f"), 4, 0, 0), -1) << sorted;
        EXPECT_EQ(s.Find(S("b"), 0, 1, 0), -1) << sorted;
        // An element that is not there compares below anything.
        EXPECT_EQ(s.CompareTo(S("a"), 0, 9), -1) << sorted;
    }

    // An element changed in a sorted list moves to its place.
    VArrayString sorted;
    for (const char* t : {"b", "d", "f"}) sorted.AppendString(S(t), 0);
    sorted.SetAutoSort(1);
    sorted.FromLong(1, 3);
    EXPECT_EQ(sorted.GetVString(1)->GetCFString(), u"1");
    EXPECT_EQ(sorted.GetVString(3)->GetCFString(), u"d");
}

TEST(ValueArray, SmallSortsReordersAndCopies)
{
    VArrayLong two;
    two.AppendLong(9, 0);
    two.AppendLong(3, 0);
    two.Sort(0);
    EXPECT_EQ(Elements(two), (std::vector<int32_t>{3, 9}));

    // Booleans follow a reorder bit by bit, and any non-zero long is true.
    VArrayBoolean flags;
    for (uint8_t v : {1, 0, 0}) flags.AppendBoolean(v, 0);
    flags.FromLong(2, 2);
    EXPECT_TRUE(flags.GetBoolean(2));
    flags.FromLong(0, 2);
    EXPECT_FALSE(flags.GetBoolean(2));
    VArrayLong keys;
    for (int32_t v : {3, 1, 2}) keys.AppendLong(v, 0);
    flags.SynchronizeWith(&keys);
    keys.Sort(0);
    EXPECT_EQ(Elements(keys), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_FALSE(flags.GetBoolean(1));
    EXPECT_FALSE(flags.GetBoolean(2));
    EXPECT_TRUE(flags.GetBoolean(3));

    // Copying one array into another frees what the target held.
    VArrayLong target, source;
    target.AppendLong(1, 0);
    source.AppendLong(5, 0);
    const size_t handles = platform::LiveHandleCount();
    target.Copy(&source);
    EXPECT_EQ(Elements(target), (std::vector<int32_t>{5}));
    EXPECT_EQ(platform::LiveHandleCount(), handles);
}

TEST(ValueArray, DeleteIsClampedToTheElements)
{
    VArrayBoolean b;
    for (uint8_t v : {1, 0, 1}) b.AppendBoolean(v, 0);
    b.Delete(1, 1);
    EXPECT_EQ(Elements(b), (std::vector<int32_t>{0, 1}));

    VArrayLong a;
    for (int32_t v : {1, 2, 3, 4}) a.AppendLong(v, 0);
    a.Delete(3, 100);
    EXPECT_EQ(Elements(a), (std::vector<int32_t>{1, 2}));
    a.Delete(-5, 1);
    EXPECT_EQ(Elements(a), (std::vector<int32_t>{2}));
    a.Delete(1, -3);
    EXPECT_EQ(Elements(a), (std::vector<int32_t>{2}));
    a.Delete(9, 1);  // clamped to the last element
    EXPECT_TRUE(Elements(a).empty());
    a.Delete(1, 1);  // nothing left to delete

    VArrayString s;
    for (const char* t : {"x", "y", "z"}) s.AppendString(S(t), 0);
    s.Delete(2, 50);
    EXPECT_EQ(s.GetCount(), 1);
    s.SetCount(0, 0);
    EXPECT_EQ(s.GetVString(1), nullptr);
}

// Inserted elements start empty and the elements after them move up whole,
// in boolean arrays as in the others; a run moved up leaves its neighbours.
TEST(ValueArray, InsertedElementsStartEmpty)
{
    VArrayBoolean b;
    for (uint8_t v : {1, 1, 0, 1}) b.AppendBoolean(v, 0);
    b.Insert(2, 2, 1);
    EXPECT_EQ(Elements(b), (std::vector<int32_t>{1, 0, 0, 1, 0, 1}));
    VArrayLong l;
    for (int32_t v : {5, 6, 7}) l.AppendLong(v, 0);
    l.Insert(1, 1, 1);
    EXPECT_EQ(Elements(l), (std::vector<int32_t>{0, 5, 6, 7}));

    VArrayBoolean run;
    for (uint8_t v : {0, 1, 0, 1, 1, 1, 0, 0, 0, 0}) run.AppendBoolean(v, 0);
    run.MoveElements(2, 5, 3);
    EXPECT_EQ(Elements(run), (std::vector<int32_t>{0, 0, 0, 0, 1, 0, 1, 0, 0, 0}));
}

TEST(ValueArray, ElementConversions)
{
    VArrayString s(2);
    s.FromReal(2.5, 1);
    EXPECT_DOUBLE_EQ(s.GetReal(1), 2.5);  // the element's real, not its long
    s.FromString(S("123456789012"), 2);
    EXPECT_EQ(s.GetLong8(2), 123456789012);
    EXPECT_EQ(s.GetLong8(3), 0);

    VArrayWord w = Words({-2});
    EXPECT_EQ(w.GetLong8(1), -2);
    w.FromLong(0x12345, 1);
    EXPECT_EQ(w.GetWord(1), 0x2345);
    VArrayLong l(1);
    l.FromReal(1e12, 1);
    EXPECT_EQ(l.GetLong(1), INT32_MAX);
    l.FromReal(-3.9, -1);  // no current element: nothing
    EXPECT_EQ(l.GetLong(1), INT32_MAX);

    VArrayWord c = Words({1, 2, 3, 4});
    c.SetCurrent(2);
    auto* clone = static_cast<VArrayWord*>(c.Clone());
    EXPECT_EQ(clone->GetCurrent(), 4);
    EXPECT_EQ(Elements(*clone), Elements(c));
    delete clone;
}

TEST(ValueArray, StreamForms)
{
    VArrayBoolean b;
    for (uint8_t v : {1, 0, 1}) b.AppendBoolean(v, 0);
    EXPECT_EQ(WrittenBigEndian([&](VStream& s) { b.WriteToStream(&s, kValueTag); }),
              (ByteList{0, 0, 0, 100, 0, 0, 0, 3, 0x05}));
    // 65 flags take nine bytes; the last one, alone in its byte, reads back.
    VArrayBoolean many;
    for (int32_t i = 0; i < 65; ++i) many.AppendBoolean(i % 8 == 0, 0);
    VArrayBoolean manyBack;
    EXPECT_EQ(ReadBack(manyBack, WrittenBigEndian([&](VStream& st) { many.WriteToStream(&st, 0); })), 0);
    EXPECT_EQ(Elements(manyBack), Elements(many));
    EXPECT_EQ(manyBack.GetHour(65), 1);  // a true flag is 1 in every number form
    EXPECT_EQ(manyBack.GetHour(64), 0);

    VArrayWord w = Words({1, -1});
    const ByteList words = WrittenBigEndian([&](VStream& s) { w.WriteToStream(&s, 0); });
    EXPECT_EQ(words, (ByteList{0, 0, 0, 2, 0, 1, 0xFF, 0xFF}));
    VArrayWord wBack;
    EXPECT_EQ(ReadBack(wBack, words), 0);
    EXPECT_EQ(Elements(wBack), (std::vector<int32_t>{1, -1}));

    VArrayString s(2);
    s.FromString(S("hi"), 2);
    const ByteList strings = WrittenBigEndian([&](VStream& st) { s.WriteToStream(&st, 0); });
    EXPECT_EQ(ByteList(strings.begin() + 4, strings.begin() + 8), (ByteList{'N', 'U', 'L', 'L'}));
    VArrayString back;
    EXPECT_EQ(ReadBack(back, strings), 0);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetVString(1), nullptr);
    ASSERT_NE(back.GetVString(2), nullptr);
    EXPECT_EQ(back.GetVString(2)->CompareTo(S("hi"), 0), 0);

    // A single long reads its four bytes; a cut one is refused, the value kept.
    VLong l;
    EXPECT_EQ(ReadBack(l, ByteList{0, 0, 1, 2}), 0);
    EXPECT_EQ(l.GetLong(), 258);
    EXPECT_NE(ReadBack(l, ByteList{0, 9}), 0);
    EXPECT_EQ(l.GetLong(), 258);
}

TEST(ValueArray, StoredCountsAreCheckedAgainstTheStream)
{
    // A count far beyond the bytes that follow is refused; the array stays.
    VArrayLong l;
    l.AppendLong(7, 0);
    EXPECT_EQ(ReadBack(l, ByteList{0x10, 0, 0, 0, 0, 0, 0, 1}), kStreamEndOfData);
    EXPECT_EQ(Elements(l), (std::vector<int32_t>{7}));
    EXPECT_EQ(ReadBack(l, ByteList{0xFF, 0xFF, 0xFF, 0xFF}), kStreamEndOfData);
    VArrayBoolean b;
    EXPECT_EQ(ReadBack(b, ByteList{0, 0, 0, 17, 0xFF, 0xFF}), kStreamEndOfData);
    EXPECT_EQ(b.GetCount(), 0);
    VArrayString s;
    EXPECT_EQ(ReadBack(s, ByteList{0, 0, 0x40, 0, 'N', 'U', 'L', 'L'}), kStreamEndOfData);
    // An element whose stored text runs past the stream ends the read with
    // its answer: the bytes behind it are not taken for the next element.
    EXPECT_EQ(ReadBack(s, ByteList{0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 2, 'N', 'U', 'L', 'L', 0, 0, 0, 0}),
              kStreamEndOfData);

    // An allocation that fails leaves the count and reports memory full.
    ByteList bytes{0, 0, 0, 64};
    bytes.resize(4 + 8, 0);
    VArrayBoolean small;
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 1, -1);
        EXPECT_EQ(ReadBack(small, bytes), -108);
    }
    EXPECT_EQ(small.GetCount(), 0);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        small.SetCount(40, 0);
    }
    EXPECT_EQ(small.GetCount(), 0);
}

TEST(ValueArray, BoundArraysReorderTogether)
{
    VArrayWord keys = Words({3, 1, 2});
    VArrayString names;
    for (const char* t : {"c", "a", "b"}) names.AppendString(S(t), 0);
    names.SynchronizeWith(&keys);
    keys.Sort(0);
    EXPECT_EQ(Elements(keys), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(names.GetVString(1)->CompareTo(S("a"), 0), 0);
    EXPECT_EQ(names.GetVString(3)->CompareTo(S("c"), 0), 0);

    // Appending to all grows every bound array.
    EXPECT_EQ(keys.AppendWord(0, 1), 4);
    EXPECT_EQ(names.GetCount(), 4);
    EXPECT_EQ(names.GetVString(4), nullptr);

    // Different counts: neither changes.
    VArrayLong other;
    for (int32_t v : {9, 8, 7, 6, 5}) other.AppendLong(v, 0);
    other.SynchronizeWith(&keys);
    keys.FromWord(99, 1);
    keys.Sort(0);
    EXPECT_EQ(keys.GetWord(1), 99);
    EXPECT_EQ(Elements(other), (std::vector<int32_t>{9, 8, 7, 6, 5}));

    // Leaving the group unbinds the last member.
    other.SynchronizeWith(nullptr);
    names.SynchronizeWith(nullptr);
    EXPECT_FALSE(keys.IsSynchronized());
}

}  // namespace
