#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "kernel/arrays/VTypedArrays.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"

namespace {

std::vector<int32_t> Longs(VLongArray& array)
{
    std::vector<int32_t> values(size_t(array.oGetNbElem()));
    for (int32_t i = 0; i < array.oGetNbElem(); ++i) array.oGetElem(i, &values[size_t(i)]);
    return values;
}

TEST(VArray, GrowsByItsStep)
{
    VLongArray array(5);
    EXPECT_EQ(array.aGetMemUsage(), 0);
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(array.oAddElem(&i), i);
        if (i == 0) {
            EXPECT_EQ(array.aGetMemUsage(), 5 * 4);
        }
    }
    EXPECT_EQ(array.aGetMemUsage(), 10 * 4);

    VLongArray stuck(0);
    int32_t one = 1;
    EXPECT_EQ(stuck.oAddElem(&one), -1);
}

TEST(VArray, SortedArrayKeepsOrderAndFindsByBinarySearch)
{
    VLongArray array(4, VArray::kSorted);
    for (int32_t v : {3, 1, 2}) array.oAddElem(&v);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{1, 2, 3}));
    int32_t two = 2;
    EXPECT_EQ(array.oAddElem(&two), 1);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{1, 2, 2, 3}));
    int32_t found = 0;
    array.oGetElem(array.oFindElem(&two), &found);
    EXPECT_EQ(found, 2);
    int32_t missing = 7;
    EXPECT_EQ(array.oFindElem(&missing), -1);
    int32_t negative = -5;
    EXPECT_EQ(array.oAddElem(&negative), 0);
}

TEST(VArray, InsertDeleteAndBounds)
{
    VLongArray array(3);
    for (int32_t v : {10, 20, 30, 40, 50}) array.oAddElem(&v);
    int32_t front = 5;
    EXPECT_TRUE(array.oInsertElem(&front, -4));
    int32_t back = 60;
    EXPECT_TRUE(array.oInsertElem(&back, 100));
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{5, 10, 20, 30, 40, 50, 60}));

    array.oDeleteElem(7);
    array.oDeleteElem(-1);
    array.oDeleteElem(0);
    array.oDeleteLastElem();
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{10, 20, 30, 40, 50}));
    array.oDeleteNElems(2, 100);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{10, 20}));
    array.oDeleteNElems(0, 0);
    EXPECT_EQ(array.oGetNbElem(), 2);

    // Reading outside the elements yields zero and touches nothing else.
    int32_t out = 99;
    array.oGetElem(2, &out);
    EXPECT_EQ(out, 0);
    out = 99;
    array.oGetElem(-1, &out);
    EXPECT_EQ(out, 0);
    int32_t unsortedKey = 20;
    EXPECT_EQ(array.oFindElem(&unsortedKey), 1);
}

TEST(VArray, SortsBothWays)
{
    VWordArray words;
    for (int16_t v : {-1, 5, 0}) words.oAddElem(&v);
    words.oSort(false);
    int16_t w[3];
    for (int i = 0; i < 3; ++i) words.oGetElem(i, &w[i]);
    EXPECT_EQ(w[0], 5);
    EXPECT_EQ(w[1], 0);
    EXPECT_EQ(w[2], -1);

    VLongArray longs(16);
    std::vector<int32_t> expected;
    uint32_t seed = 12345;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        int32_t v = int32_t(seed >> 16) % 50 - 25;
        longs.oAddElem(&v);
        expected.push_back(v);
    }
    longs.oSort(true);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Longs(longs), expected);

    VLongArray single;
    int32_t one = 1;
    single.oAddElem(&one);
    single.oSort(true);
    EXPECT_EQ(Longs(single), std::vector<int32_t>{1});
}

TEST(VArray, LocksNestAndReinitClearsThem)
{
    VLongArray array;
    int32_t v = 1;
    array.oAddElem(&v);
    array.oLockArray();
    array.oLockArray();
    array.oUnlockArray();
    // Still locked: a locked block cannot grow past its room.
    std::vector<int32_t> many(100, 7);
    bool grewWhileLocked = true;
    for (int32_t x : many)
        if (array.oAddElem(&x) < 0) grewWhileLocked = false;
    EXPECT_FALSE(grewWhileLocked);
    array.oReinitArray();
    EXPECT_EQ(array.oGetNbElem(), 0);
    EXPECT_EQ(array.oAddElem(&v), 0);
}

TEST(VArray, CopyFromAndPointers)
{
    VLongArray source;
    for (int32_t v : {4, 5, 6}) source.oAddElem(&v);
    VLongArray copy;
    int32_t old = 1;
    copy.oAddElem(&old);
    EXPECT_TRUE(copy.CopyFrom(&source));
    EXPECT_EQ(Longs(copy), (std::vector<int32_t>{4, 5, 6}));
    VLongArray empty;
    EXPECT_TRUE(copy.CopyFrom(&empty));
    EXPECT_EQ(copy.oGetNbElem(), 0);
    VWordArray words;
    EXPECT_FALSE(words.CopyFrom(&source));  // element sizes differ

    VPtrArray pointers(2, VArray::kSorted);
    int a, b;
    void* high = &a > &b ? static_cast<void*>(&a) : static_cast<void*>(&b);
    void* low = high == &a ? static_cast<void*>(&b) : static_cast<void*>(&a);
    pointers.oAddPtrElem(high);
    EXPECT_EQ(pointers.oAddPtrElem(low), 0);
    void* first = nullptr;
    pointers.oGetElem(0, &first);
    EXPECT_EQ(first, low);
}

TEST(VArray, ANegativeStepNeverShrinksTheBlockUnderItsElements)
{
    VLongArray array(-3);
    array.oReserveRoom(5, false);
    for (int32_t v : {1, 2, 3, 4, 5}) EXPECT_GE(array.oAddElem(&v), 0);
    int32_t six = 6;
    EXPECT_EQ(array.oAddElem(&six), -1);
    EXPECT_EQ(array.aGetMemUsage(), 5 * 4);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{1, 2, 3, 4, 5}));

    array.oReserveRoom(1, true);
    EXPECT_GE(array.aGetMemUsage(), 6 * 4);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

TEST(VArray, CopyFromItselfKeepsTheElements)
{
    VLongArray array;
    for (int32_t v : {7, 8}) array.oAddElem(&v);
    EXPECT_TRUE(array.CopyFrom(&array));
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{7, 8}));
}

TEST(VArray, ReportsMemoryShortage)
{
    VLongArray array(4);
    int32_t v = 1;
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(array.oAddElem(&v), -1);
        EXPECT_EQ(array.oAddNSpaces(3, true), -1);
        EXPECT_FALSE(array.oInsertElem(&v, 0));
    }
    EXPECT_EQ(array.oGetNbElem(), 0);
    EXPECT_EQ(array.oAddNSpaces(3, true), 0);
    int32_t zero = 9;
    array.oGetElem(2, &zero);
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(array.oAddNSpaces(-1, false), -1);
}

}  // namespace

// Elements of no size are taken as bytes; spaces asked cleared are zero
// even where deleted elements stood.
TEST(VArray, NoSizeMeansBytesAndClearedSpacesAreZero)
{
    VArray bytes(0, 4, 0);
    const char c = 'x';
    EXPECT_EQ(bytes.oAddElem(&c), 0);
    EXPECT_EQ(bytes.aGetMemUsage(), 4);

    VLongArray array(4);
    for (int32_t v : {7, 8, 9}) array.oAddElem(&v);
    array.oDeleteLastElem();
    array.oDeleteLastElem();
    EXPECT_EQ(array.oAddNSpaces(2, true), 1);
    EXPECT_EQ(Longs(array), (std::vector<int32_t>{7, 0, 0}));
    EXPECT_EQ(array.oAddNSpaces(-1, true), -1);
}
