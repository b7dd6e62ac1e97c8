#include <gtest/gtest.h>

#include <cstring>

#include "kernel/handles/KernelHandles.h"
#include "kernel/tasks/TaskRecords.h"
#include "platform/core/Faults.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

class TaskRecordsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTasks(); }
    void TearDown() override
    {
        platform::ClearAllFaults();
        ResetTasks();
    }
};

const unsigned char kName[] = "\x04main";

TEST_F(TaskRecordsTest, NewTasksTakeTheFirstReusableIdleSlot)
{
    EXPECT_EQ(newtask(-1, 1, 0, kName, 0, -10), 1);
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 2);
    EXPECT_EQ(newtask(5, 1, -4, kName, 0, 3), 3);
    EXPECT_EQ(nbtask, 3);

    // A reusable record that still runs is passed over; the list grows.
    GetTaskRecord(2)->reusable = 1;
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 4);
    EXPECT_EQ(nbtask, 4);

    // Once idle, its slot is given to the next task.
    GetTaskRecord(2)->running = 0;
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 7), 2);
    EXPECT_EQ(nbtask, 4);
    auto* t = static_cast<taskuser*>(GetTaskRecord(2));
    EXPECT_EQ(curtu, t);
    EXPECT_EQ(t->tasknum, 2);
    EXPECT_EQ(t->running, 1);
    EXPECT_EQ(t->reusable, 0);
    EXPECT_EQ(t->taskkind, 7);
    EXPECT_EQ(t->uniqueid, 5u);
    EXPECT_EQ(counttask, 5);
    EXPECT_EQ(static_cast<taskuser*>(GetTaskRecord(3))->secondpositive, 0);
    EXPECT_EQ(t->secondpositive, 1);
    ResetTasks();
    EXPECT_EQ(counttask, 0);  // a reset starts the count again
    EXPECT_EQ(curtu, nullptr);
    EXPECT_EQ(curparam, nullptr);
}

TEST_F(TaskRecordsTest, AReusableIdleSecondRecordOfThreeIsTakenWithoutGrowing)
{
    for (int16_t expected = 1; expected <= 3; ++expected) EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), expected);
    GetTaskRecord(2)->reusable = 1;
    GetTaskRecord(2)->running = 0;
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 2);
    EXPECT_EQ(nbtask, 3);
}

TEST_F(TaskRecordsTest, NewRecordIsInitialised)
{
    unsigned char longName[41];
    longName[0] = 40;
    for (int i = 1; i <= 40; ++i) longName[i] = uint8_t('a' + i % 26);
    ASSERT_EQ(newtask(-1, 1, 0, longName, 0, -10), 1);
    EXPECT_EQ(curtu->name[0], 30);
    EXPECT_EQ(std::memcmp(curtu->name + 1, longName + 1, 30), 0);
    ASSERT_NE(curtu->paramblock, nullptr);
    EXPECT_EQ(curparam, *curtu->paramblock);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(curtu->upcase[i], i);
    for (platform::Handle h : curtu->handles) EXPECT_NE(h, nullptr);
    const unsigned char oneLetter[] = {1, 'Q'};
    ASSERT_EQ(newtask(-1, 1, 0, oneLetter, 0, -10), 2);
    EXPECT_EQ(curtu->name[0], 1);
    EXPECT_EQ(curtu->name[1], 'Q');
}

TEST_F(TaskRecordsTest, CopiedAndBlankRecordsAreReusable)
{
    TaskUserBasic head;
    head.tasknum = 9;
    head.name[0] = 1;
    head.name[1] = 'x';
    TaskUserBasic* copy = xAllocTaskUser(&head);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->reusable, 1);
    EXPECT_EQ(copy->tasknum, 9);
    EXPECT_EQ(copy->name[1], 'x');
    TaskUserBasic* blank = xAllocTaskUser(nullptr);
    ASSERT_NE(dynamic_cast<taskuser*>(blank), nullptr);
    EXPECT_EQ(blank->reusable, 1);
    DisposeTaskUser(copy);
    DisposeTaskUser(blank);
    DisposeTaskUser(nullptr);
}

TEST_F(TaskRecordsTest, MemoryShortageLeavesTheListAsItWas)
{
    ASSERT_EQ(newtask(-1, 1, 0, kName, 0, -10), 1);
    taskuser* main = curtu;
    {
        // Growing the list fails: the current task stays, no longer running.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 0);
    }
    EXPECT_EQ(erreure, -108);
    EXPECT_EQ(nbtask, 1);
    EXPECT_EQ(curtu, main);
    EXPECT_EQ(main->running, 0);
    main->running = 1;

    {
        // The list grows but the record's storage does not come.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 1, -1);
        EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 0);
    }
    EXPECT_EQ(erreure, -108);
    EXPECT_EQ(nbtask, 1);
    EXPECT_EQ(curtu, nullptr);
    EXPECT_EQ(GetTaskRecord(1), main);
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 2);

    {
        // An idle slot is given up but its new record does not come: the
        // slot stays empty and the next task takes it.
        GetTaskRecord(2)->reusable = 1;
        GetTaskRecord(2)->running = 0;
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 0);
    }
    EXPECT_EQ(GetTaskRecord(2), nullptr);
    EXPECT_EQ(newtask(5, 1, 0, kName, 0, 3), 2);
    EXPECT_EQ(nbtask, 2);
}

TEST_F(TaskRecordsTest, NewRecordKeepsTheSeparatorsInForce)
{
    VSystem* saved = gSystem;
    gSystem = nullptr;
    ASSERT_EQ(newtask(-1, 1, 0, kName, 0, -10), 1);
    EXPECT_EQ(curtu->decsep, '.');
    EXPECT_EQ(curtu->thousep, ',');

    VSystem sys;
    uint8_t itl[32] = {};
    itl[0] = ',';
    itl[1] = '.';
    sys.ReadIntlSettings({itl, int32_t(sizeof itl)});
    gSystem = &sys;
    ASSERT_EQ(newtask(5, 1, 0, kName, 0, 3), 2);
    gSystem = saved;
    EXPECT_EQ(curtu->decsep, ',');
    EXPECT_EQ(curtu->thousep, '.');
}

TEST_F(TaskRecordsTest, TaskMadeInsideARunningOneKeepsTheCallersState)
{
    static int saves, restores;
    static int token = 0;
    saves = restores = 0;
    SetTaskCallStateHooks({[]() -> void* { ++saves; return &token; },
                           [](void* s) { restores += s == &token ? 1 : 0; }});
    processid = 4;
    ASSERT_EQ(newtask(-1, 1, 0, kName, 0, -10), 1);
    EXPECT_EQ(saves, 0);
    taskuser* main = curtu;
    ASSERT_EQ(newtask(12, 1, 0, kName, 0, 3), 2);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(restores, 1);
    EXPECT_EQ(main->interrupted, 1);
    SetTaskCallStateHooks({});
}

}  // namespace
