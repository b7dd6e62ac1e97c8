#include <gtest/gtest.h>

#include <cstring>

#include "design/filters/CountObj.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "tests/design/DesignFixture.h"

using namespace designtest;

namespace {

// A filter of one entry letting the kinds through; no pattern.
platform::Handle Filter(uint32_t kinds)
{
    platform::Handle h = platform::NewHandleClear(14);
    auto* p = reinterpret_cast<uint8_t*>(*h);
    platform::WriteBE16(p, 1);
    platform::WriteBE32(p + 2, kinds);
    return h;
}

uint32_t Kind(int k) { return 0x80000000u >> k; }

class CountObjTest : public DesignFixture {
protected:
    TObjQz* Owned(int16_t kind, const char* name) { return NewOwnedObj(&doc_, kind, PName(name), 0); }
    // A list of `n` new objects of the kind (n + 1 stored, with its terminator).
    ObjListHdl OwnedList(int16_t kind, int n)
    {
        ObjListHdl list = nullptr;
        EXPECT_EQ(NewObjList(&list, 4), 0);
        for (int i = 0; i < n; ++i) AddObjList(&list, Owned(kind, "x"));
        return list;
    }
    void SetUp() override
    {
        DesignFixture::SetUp();
        // Table one: two forms, the first with a form method (two locals)
        // and two object methods (one with a local); a table method with
        // one local; one field balloon. Table two: nothing.
        auto* one = static_cast<TFileObjQz*>(Make(1, "One"));
        Make(1, "Two");
        one->forms = OwnedList(24, 2);
        auto* form = static_cast<TLayoutObjQz*>(one->forms->At(0));
        form->formMethod = Owned(27, "fm");
        static_cast<TGnlProcObjQz*>(form->formMethod)->locals = OwnedList(9, 2);
        form->objMethods = OwnedList(25, 2);
        static_cast<TGnlProcObjQz*>(form->objMethods->At(0))->locals = OwnedList(9, 1);
        one->method = Owned(26, "tm");
        static_cast<TGnlProcObjQz*>(one->method)->locals = OwnedList(9, 1);
        one->balloons = OwnedList(30, 1);
        // Two project methods, one with three locals; two variables; a picture.
        static_cast<TGnlProcObjQz*>(Make(2, "m"))->locals = OwnedList(9, 3);
        Make(2, "n");
        Make(9, "v1");
        Make(9, "v2");
        Make(18, "p");
        Make(8, "r");
    }
};

}  // namespace

TEST_F(CountObjTest, EachKindCountsWhatASearchOfItWillExamine)
{
    struct Case {
        uint32_t kinds;
        int32_t count;
    };
    const Case cases[] = {
        {Kind(24), 3},                     // the tables' form lists: 3 + 0
        {Kind(9), 3 + 4 + 2 + 3 + 2},      // variables, then locals of m, tm, fm, the first object method
        {Kind(25), 3},                     // object methods of every form
        {Kind(26), 1},                     // tables with a table method
        {Kind(27), 1},                     // forms with a form method
        {Kind(10), 2},                     // no balloon list of the kind; table one's balloons
        {Kind(1) | Kind(2), 3 + 3},
        {Kind(8), 2},  // each listed kind once: one routine
        {Kind(7), 0},
        {Kind(0) | Kind(18) | Kind(19) | Kind(20) | Kind(21) | Kind(22), 0},
        {Kind(28) | Kind(29) | Kind(30) | Kind(31), 0},  // not kinds of the main list
        {0, 0},
    };
    for (const Case& c : cases) {
        platform::Handle filter = Filter(c.kinds);
        EXPECT_EQ(Count_Obj(filter, doc_.fTypeList), c.count) << std::hex << c.kinds;
        platform::DisposeHandle(filter);
    }
    EXPECT_EQ(Count_Obj(nullptr, doc_.fTypeList), 3 + 3 + 3 + 1 + 1 + 14 + 2 + 3 + 2) << "no filter: every kind";
    EXPECT_EQ(Count_List(doc_.fTypeList, 24), 0) << "no list of its own";
    EXPECT_EQ(Count_Obj(nullptr, nullptr), 0);
    EXPECT_EQ(Count_List(doc_.fTypeList, 18), 2) << "counted by itself, never by Count_Obj";
    EXPECT_EQ(Count_List(doc_.fTypeList, 5), 0) << "a missing list";
}
