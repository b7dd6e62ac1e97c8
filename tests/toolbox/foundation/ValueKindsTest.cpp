// What every single value kind promises alike: clearing, copying with the
// null flag, exact comparison signs, and its stored forms.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/KeyCodes.h"
#include "toolbox/foundation/TextHandle.h"
#include "toolbox/foundation/VAnsiString.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VBoolean.h"
#include "toolbox/foundation/VEmpty.h"
#include "toolbox/foundation/VHour.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VPoint.h"
#include "toolbox/foundation/VReal.h"
#include "toolbox/foundation/VStr.h"

namespace {

template <typename T>
class ValueKinds : public ::testing::Test {};
using Kinds = ::testing::Types<VBoolean, VHour, VLong, VReal>;
TYPED_TEST_SUITE(ValueKinds, Kinds);

TYPED_TEST(ValueKinds, ClearCopyAndCompare)
{
    TypeParam one, zero, copy;
    one.FromLong(1);
    zero.FromLong(0);
    EXPECT_FALSE(one.IsNull());
    EXPECT_EQ(one.GetLong(), 1);
    EXPECT_EQ(one.GetWord(), 1);
    EXPECT_EQ(one.GetLong8(), 1);
    EXPECT_EQ(one.GetReal(), 1.0);

    // Signs are exactly -1, 0 and 1: callers switch on them.
    EXPECT_EQ(one.CompareTo(zero), 1);
    EXPECT_EQ(zero.CompareTo(one), -1);
    EXPECT_EQ(one.CompareTo(one), 0);

    copy.SetNull(true);
    copy.FromWord(1);
    EXPECT_FALSE(copy.IsNull());
    EXPECT_EQ(copy.GetLong(), 1);
    copy.FromWord(0);
    EXPECT_EQ(copy.GetLong(), 0);

    // FromValue takes the value and the null flag.
    copy.FromValue(one);
    EXPECT_EQ(copy.GetLong(), 1);
    EXPECT_FALSE(copy.IsNull());
    TypeParam null;
    null.SetNull(true);
    copy.FromValue(null);
    EXPECT_TRUE(copy.IsNull());

    one.SetNull(true);
    one.Clear();
    EXPECT_FALSE(one.IsNull());
    EXPECT_EQ(one.GetLong(), 0);

    zero.FromLong(1);
    std::unique_ptr<VValue> clone(zero.Clone());
    EXPECT_EQ(clone->GetValueKind(), zero.GetValueKind());
    EXPECT_EQ(clone->CompareTo(zero), 0);
}

TYPED_TEST(ValueKinds, PointerFormsHoldTheValue)
{
    TypeParam value, back;
    value.FromLong(1);
    unsigned char buffer[16] = {};
    void* end = value.WriteToPtr(buffer);
    EXPECT_EQ(static_cast<unsigned char*>(end) - buffer, value.GetSpace());
    back.SetNull(true);
    EXPECT_EQ(back.LoadFromPtr(buffer), end);
    EXPECT_FALSE(back.IsNull());
    EXPECT_EQ(back.GetLong(), 1);

}

// Into a boolean, zero is false and any other number true, whatever its kind.
TEST(ValueKinds, NumbersIntoABoolean)
{
    for (const int64_t n : {int64_t(0), int64_t(1), int64_t(-1), int64_t(1) << 32}) {
        VBoolean b;
        b.FromLong8(n);
        EXPECT_EQ(b.GetBoolean(), n != 0) << n;
        b.FromReal(double(n) * 0.5);
        EXPECT_EQ(b.GetBoolean(), n != 0) << n;
    }
}

TEST(ValueKinds, TraitsOfEachKind)
{
    EXPECT_FALSE(VHour().IsNumeric());
    EXPECT_TRUE(VReal().IsNumeric());
    EXPECT_TRUE(VLong().IsNumeric());
    EXPECT_TRUE(VLong().CanBeEvaluated());
    EXPECT_TRUE(VReal().CanBeEvaluated());
    EXPECT_FALSE(VEmpty().CanBeEvaluated());
    EXPECT_EQ(VLong().GetSpace(), 4);
    EXPECT_EQ(VHour().GetSpace(), 4);
    // An array has no flat form: it writes nothing and takes no room.
    VArrayLong array(3);
    unsigned char flat[4];
    EXPECT_EQ(array.WriteToPtr(flat, 0), flat);
    EXPECT_EQ(array.GetSpace(), 0);

    // A value with nothing to give reads as zero and clears what it fills.
    VEmpty empty;
    EXPECT_EQ(empty.GetWord(), 0);
    EXPECT_EQ(empty.GetLong(), 0);
    EXPECT_EQ(empty.GetLong8(), 0);
    EXPECT_EQ(empty.GetHour(), 0);
    EXPECT_FALSE(empty.IsDirty());
    VStr<255> text;
    text.FromMacCString(reinterpret_cast<const uint8_t*>("abc"));
    empty.ToString(text);
    EXPECT_EQ(text.GetLength(), 0);

    // Text read as a boolean or a real keeps its null flag.
    VStr<255> none;
    none.SetNull(true);
    VBoolean flag(1);
    flag.FromString(none);
    EXPECT_TRUE(flag.IsNull());
    VReal real(2.0);
    real.FromString(none);
    EXPECT_TRUE(real.IsNull());
}

TEST(ValueKinds, TextClonesKeepTheirText)
{
    VStr<255> source;
    source.FromMacCString(reinterpret_cast<const uint8_t*>("words"));
    VMacText mac(source);
    VAnsiText ansi(source);
    std::unique_ptr<VValue> a(mac.Clone()), b(ansi.Clone());
    // A clone is a value of its own: never null, even from a null text.
    VMacText nullMac;
    VAnsiText nullAnsi;
    nullMac.SetNull(true);
    nullAnsi.SetNull(true);
    EXPECT_FALSE(std::unique_ptr<VValue>(nullMac.Clone())->IsNull());
    EXPECT_FALSE(std::unique_ptr<VValue>(nullAnsi.Clone())->IsNull());
    EXPECT_FALSE(a->IsNull());
    EXPECT_FALSE(b->IsNull());
    EXPECT_EQ(a->CompareTo(source), 0);
    EXPECT_EQ(b->CompareTo(source), 0);
}

TEST(ValueKinds, TextHandlesGrowShrinkAndCopy)
{
    TextHandle text(2, 4);
    EXPECT_TRUE(text.SetLength(0));
    EXPECT_FALSE(text.SetLength(-1));
    ASSERT_TRUE(text.SetLength(3));
    auto* units = static_cast<char16_t*>(text.Lock());
    units[0] = u'a';
    units[2] = u'c';
    EXPECT_EQ(units[3], 0);
    text.Unlock();
    TextHandle copy(text);
    TextHandle assigned(1, 2);
    assigned = text;
    for (TextHandle* t : {&copy, &assigned}) {
        EXPECT_EQ(t->GetLength(), 3);
        auto* u = static_cast<char16_t*>(t->Lock());
        EXPECT_EQ(u[0], u'a');
        EXPECT_EQ(u[2], u'c');
        t->Unlock();
    }
    text.Clear(true, 2);
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_EQ(*static_cast<char16_t*>(text.Lock()), 0);
    text.Unlock();

    // Assigning over a text frees what it held.
    const size_t handles = platform::LiveHandleCount();
    assigned = copy;
    EXPECT_EQ(platform::LiveHandleCount(), handles);

    // Without memory there is no handle: the text reads empty and cannot grow.
    {
        platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
        TextHandle none(2, 4);
        EXPECT_EQ(*static_cast<const char16_t*>(none.Lock()), 0);
        none.Unlock();
        EXPECT_FALSE(none.SetLength(2));
        EXPECT_EQ(none.GetLength(), 0);
    }
}

TEST(ValueKinds, PointsMoveByOffsets)
{
    VPoint p;
    p.SetPos(3, -4);
    p.SetPosByOffset(10, 20);
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 16);
}

TEST(KeyCodes, EverySpecialKeyHasItsOwnItem)
{
    std::set<int32_t> items;
    int32_t keys = 0;
    for (int32_t key = 0; key < 256; ++key) {
        int32_t item = GetSpecialKeyItem(KeyCode(key));
        if (item == 0) continue;
        ++keys;
        items.insert(item);
    }
    ASSERT_GT(keys, 0);
    EXPECT_EQ(int32_t(items.size()), keys);  // no two keys share an item
}

}  // namespace
