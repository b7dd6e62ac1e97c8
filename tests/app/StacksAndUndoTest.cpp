#include <gtest/gtest.h>

#include <cstring>

#include "app/appl/Atoms.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/UndoRecords.h"
#include "platform/core/Endian.h"
#include "tests/app/AppFixture.h"

using namespace apptest;
using namespace platform;

namespace {

using StacksTest = AppFixture;

TEST_F(StacksTest, PopsAreTheReverseOfPushesWhateverTheirWidth)
{
    int16_t command = -1;
    EXPECT_FALSE(GetFunc(&command)) << "a new command stack is empty";
    EXPECT_EQ(command, 0);
    PostFunc(7);
    PostFunc(9);
    ASSERT_TRUE(GetFunc(&command));
    EXPECT_EQ(command, 9) << "the last posted comes first";
    ASSERT_TRUE(GetFunc(&command));
    EXPECT_EQ(command, 7);
    EXPECT_FALSE(GetFunc(&command));

    // Items carry no tags: two integers read back as one big-endian long.
    PushInteger(0x0001);
    PushInteger(0x0002);
    int32_t value = 0;
    EXPECT_FALSE(PopLongInt(&value));
    EXPECT_EQ(value, 0x00010002);
    EXPECT_TRUE(PopLongInt(&value)) << "empty";
    EXPECT_EQ(value, 0);

    // 600 integers outgrow the first 1024 bytes and come back reversed.
    for (int16_t i = 0; i < 600; ++i) ASSERT_EQ(PushInteger(i), noErr);
    for (int16_t i = 599; i >= 0; --i) {
        int16_t v = -1;
        ASSERT_FALSE(PopInteger(&v));
        ASSERT_EQ(v, i);
    }
    int16_t v = 5;
    EXPECT_TRUE(PopInteger(&v));
    EXPECT_EQ(v, 0);

    // A string takes 256 bytes; an empty stack leaves the output alone.
    unsigned char text[256];
    ToP("abc", text);
    PushLongInt(42);
    PushStr255(text);
    unsigned char back[256] = {};
    EXPECT_FALSE(PopStr255(back));
    EXPECT_EQ(P(back), "abc");
    EXPECT_FALSE(PopLongInt(&value));
    EXPECT_EQ(value, 42);
    ToP("kept", back);
    EXPECT_TRUE(PopStr255(back));
    EXPECT_EQ(P(back), "kept");

    // Pointers keep their full width.
    int object = 0;
    void* pointer = &object;
    PushPtr(pointer);
    void* popped = nullptr;
    EXPECT_FALSE(PopPtr(&popped));
    EXPECT_EQ(popped, pointer);
    EXPECT_TRUE(PopPtr(&popped)) << "empty";
    EXPECT_EQ(popped, nullptr);
}

TEST_F(StacksTest, AFailedGrowthWritesNothing)
{
    // Fill the first 1024 bytes exactly, then leave no memory to grow.
    for (int i = 0; i < 510; ++i) ASSERT_EQ(PushInteger(int16_t(i)), noErr);
    SetMemoryBudget(MemoryInUse());
    EXPECT_EQ(PushInteger(1), memFullErr);
    EXPECT_EQ(PushLongInt(1), memFullErr);
    EXPECT_EQ(PostFunc(1), noErr) << "the command stack still has room";
    SetMemoryBudget(int64_t(1) << 30);
    EXPECT_EQ(ArgumentBytes(), 1020u) << "nothing half written";
    int16_t v = 0;
    EXPECT_FALSE(PopInteger(&v));
    EXPECT_EQ(v, 509);
}

class UndoTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseAppResources(R"(
'MMBR' 129 { menu 130 "Edit" items 21 }
'MITM' 21 { text "Undo" command 21 key "Z" }
)");
        ASSERT_EQ(BuildMenus(), noErr);
    }

    std::string UndoText()
    {
        Str255 text;
        GetFuncItem(21, 1, text);
        return P(text);
    }
};

TEST_F(UndoTest, TheUndoItemFollowsTheRecord)
{
    Handle undo = InitUndoHdl(2, 2);
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(IsFuncEnabled(21)) << "index 2: nothing to undo";
    EXPECT_EQ(UndoText(), "Can't undo");
    SetUndo(undo, 8, 8);
    EXPECT_TRUE(IsFuncEnabled(21));
    EXPECT_EQ(UndoText(), "Undo eight");
    EXPECT_EQ(UndoTxtNum(undo), 8);
    EXPECT_EQ(UndoCode(undo), 8);
    SetUndoMenu(nullptr);
    EXPECT_FALSE(IsFuncEnabled(21));
    DisposeHandle(undo);
}

TEST_F(UndoTest, ArgumentsReadNewestFirstAndNothingPastThem)
{
    Handle undo = InitUndoHdl(3, 1);
    ASSERT_NE(undo, nullptr);
    for (int32_t v : {0x0A0A0A0A, 0x0B, 0x0C}) ASSERT_EQ(PushUndoLongInt(undo, v), noErr);
    int32_t pos = 0;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0x0C);
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0x0B);
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0x0A0A0A0A);
    EXPECT_EQ(pos, 12);
    // Past the arguments lies the header: it is never read as one.
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0);
    pos = -4;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0);

    // Pointers keep their width beside the 32-bit values.
    int object = 0;
    ASSERT_EQ(PushUndoPtr(undo, &object), noErr);
    pos = 0;
    EXPECT_EQ(GetUndoPtr(undo, &pos), &object);
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0x0C);

    // A new action forgets the arguments but keeps the room.
    const Size size = GetHandleSize(undo);
    NewUndo(undo, 4, 2);
    EXPECT_EQ(GetHandleSize(undo), size);
    pos = 0;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0);
    ASSERT_EQ(PushUndoLongInt(undo, 5), noErr);
    pos = 0;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 5);
    pos = 1;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 0) << "no old byte before the new arguments";

    // A failed growth changes nothing.
    const Size full = GetHandleSize(undo);
    for (Size used = 16; used < full; used += 4) PushUndoLongInt(undo, 6);
    SetMemoryBudget(MemoryInUse());
    EXPECT_EQ(PushUndoLongInt(undo, 7), memFullErr);
    SetMemoryBudget(int64_t(1) << 30);
    pos = 0;
    EXPECT_EQ(GetUndoLongInt(undo, &pos), 6);
    DisposeHandle(undo);
}

struct Probe : TAtom {
    explicit Probe(int* alive) : alive_(alive) { ++*alive_; }
    ~Probe() override { --*alive_; }
    int* alive_;
    char payload[40];
};

TEST(Atoms, FreedSlotsAreNumberedInTheirClassSize)
{
    ClassRegistration reg;
    reg.slotSize = int16_t(sizeof(Probe));
    reg.slotsPerChunk = 3;
    ASSERT_NE(reg.slotSize, 6);
    int alive = 0;
    Probe* a = NewPooledAtom<Probe>(&reg, &alive);
    Probe* b = NewPooledAtom<Probe>(&reg, &alive);
    Probe* c = NewPooledAtom<Probe>(&reg, &alive);
    ASSERT_TRUE(a && b && c);
    MemChunk* first = reg.chunks;
    EXPECT_EQ(first->freeHead, 0) << "full";
    Probe* d = NewPooledAtom<Probe>(&reg, &alive);
    ASSERT_NE(d, nullptr);
    MemChunk* second = reg.chunks;
    ASSERT_NE(second, first) << "a full chunk makes a new one";

    c->ShallowFree();
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(first->freeHead, 3) << "the third slot, whatever the slot size";
    b->ShallowFree();
    EXPECT_EQ(first->freeHead, 2);
    // The freed slot keeps the previous head of its chunk's free list.
    int16_t link = 0;
    std::memcpy(&link, ChunkSlots(first) + size_t(reg.slotSize), sizeof link);
    EXPECT_EQ(link, 3);

    // The last atom of the later chunk (the list's second) unlinks it alone.
    a->ShallowFree();
    EXPECT_EQ(reg.chunks, second);
    EXPECT_EQ(second->next, nullptr);
    d->ShallowFree();
    EXPECT_EQ(reg.chunks, nullptr);
    EXPECT_EQ(alive, 0);

    // An atom from the ordinary allocator is never given to a pool.
    Probe plain(&alive);
    plain.ShallowFree();
    EXPECT_EQ(alive, 1);
}

}  // namespace
