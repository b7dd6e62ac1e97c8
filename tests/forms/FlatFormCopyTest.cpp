// The object methods of a form of the older flat layout moved record by
// record: a field's and an active object's method ids rewritten in place,
// every other record passed over by its own length.
#include <gtest/gtest.h>

#include <vector>

#include "forms/walkers/FormCopy.h"
#include "platform/core/Memory.h"
#include "tests/forms/IffBytes.h"

namespace {

using ifftest::B;
using ifftest::Bytes;

int16_t gNext = 0;

// Method 3 is missing in the source, 4 cannot be copied.
int16_t Move(TMainDoc*, TMainDoc*, int16_t id, int16_t* newId)
{
    *newId = 0;
    if (id == 3) return kFormScriptMissing;
    if (id == 4) return -34;
    *newId = ++gNext;
    return 0;
}

// One list of records: a rectangle, a picture's data, a field with method
// `field`, a static text, an active object with `active` behind a balloon
// and a list block, a subform; then the end.
Bytes Flat(int16_t field, int16_t active)
{
    B b;
    b.U8(13).U8(0).W(1);
    b.U8(2).U8(0).Zeros(34);
    b.U8(10).U8(0).Zeros(8).L(3).Raw("abc").U8(0);
    b.U8(1).U8(0).Zeros(26).W(uint16_t(field)).P("*Bold").W(0);
    b.U8(5).U8(0).Zeros(28).W(5).Raw("hello").U8(0);
    b.U8(9).U8(0).Zeros(34).W(uint16_t(active)).Zeros(6).P("Go").U8(0).W(0xFFFE).W(4);
    b.W(1).W(5).U8(1).U8(0).Zeros(64).P("").U8(0);
    b.U8(11).U8(0).Zeros(48);
    b.U8(0).U8(0);
    return b.b;
}

TEST(FlatFormCopy, EachFieldAndActiveObjectTakesItsMovedMethod)
{
    struct Case {
        const char* what;
        Bytes image;
        int16_t result;
        Bytes expected;
        size_t moved;
    };
    Bytes cut = Flat(7, 8);
    cut.resize(cut.size() - 40);
    const Case cases[] = {
        {"both moved", Flat(7, 8), 0, Flat(1, 2), 2},
        {"none named", Flat(0, 0), 0, Flat(0, 0), 0},
        {"one missing in the source", Flat(3, 8), 0, Flat(0, 1), 1},
        {"the mover's error", Flat(7, 4), -34, Flat(1, 4), 1},
        {"cut inside the subform", cut, kFormWalkFailed, {}, 2},
        {"not a flat form", Bytes{12, 0, 0, 0}, kFormWalkFailed, Bytes{12, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gNext = 0;
        platform::Handle h = ifftest::HandleOf(c.image);
        std::vector<int16_t> moved;
        EXPECT_EQ(MoveFlatFormObject(h, nullptr, nullptr, Move, &moved), c.result);
        EXPECT_EQ(moved.size(), c.moved);
        if (!c.expected.empty()) {
            EXPECT_EQ(Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)),
                      c.expected);
        }
        platform::DisposeHandle(h);
    }
}

}  // namespace
