// Cooperative task records: one record per task of the formula language
// (the main task and any task started later). Tasks are records switched by
// the kernel, not threads; the current one is curtu.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

constexpr int32_t kTaskNameMax = 30;
constexpr int32_t kTaskParamBlockSize = 124;

// The head of every task record. Copying it copies every field.
class TaskUserBasic : public VObject {
public:
    TaskUserBasic() = default;
    TaskUserBasic(const TaskUserBasic&) = default;
    TaskUserBasic& operator=(const TaskUserBasic&) = default;
    ~TaskUserBasic() override;

    uint8_t reusable = 0;  // may be given to a new task
    uint8_t running = 0;
    uint16_t reserved = 0;
    uint16_t tasknum = 0;  // 1-based position in the task list
    unsigned char name[32] = {};  // length-prefixed, at most 30 characters
    uint8_t interrupted = 0;  // a new task was made while this one ran
    uint8_t flags[3] = {};
    uint32_t value = 0;
    uint8_t flags2[2] = {};
};

// The full record of a task.
class taskuser : public TaskUserBasic {
public:
    taskuser();
    ~taskuser() override;
    taskuser(const taskuser&) = delete;
    taskuser& operator=(const taskuser&) = delete;

    uint32_t uniqueid = 0;
    int16_t taskkind = 0;
    uint8_t dead = 0;  // ended: its login no longer counts
    // The user logged in on this task (the security manager's token): one
    // reference, released with the record.
    IRefCountable* token = nullptr;
    uint8_t secondpositive = 0;  // the second value given at creation was >= 0
    platform::Handle paramblock = nullptr;  // 124 bytes, locked while the task lives
    platform::Handle handles[5] = {};
    uint8_t upcase[256];
    uint8_t lowcase[256];
    uint8_t decsep = '.';   // the separators in force when the task was made
    uint8_t thousep = ',';
    uint8_t bitsA[32] = {};
    uint8_t bitsB[32] = {};
    platform::Rect rect = {};
    uint8_t endflags[3] = {};
};

// The task list: nbtask pointers to records in a handle.
extern platform::Handle tua;
extern int16_t nbtask;
extern int32_t counttask;
extern uint32_t processuniqueid;
extern taskuser* curtu;
// The current parameter block (the current task's, locked).
extern char* curparam;

// A new record: a copy of source with its reusable flag set, or, without a
// source, a blank taskuser with its reusable flag set. Null when memory is
// short.
TaskUserBasic* xAllocTaskUser(const TaskUserBasic* source);
// Destroys the record; null is ignored.
void DisposeTaskUser(TaskUserBasic* record);

// Makes a task and makes it current. The first value and the flag are not
// used; of the second only its sign is kept. Procedure -1 is the main task.
// The task number, or 0 with erreure set when memory is short.
int16_t newtask(int32_t procedure, int32_t value1, int32_t value2, const unsigned char* name, uint8_t flag,
                int16_t kind);

// The record in slot n (1-based) of the task list, null outside it.
TaskUserBasic* GetTaskRecord(int16_t n);
// Puts a record into slot n (tests and the interpreter use it to replace a
// record); does nothing outside the list.
void SetTaskRecord(int16_t n, TaskUserBasic* record);

// The formula interpreter's call state (return values, parameter counts and
// pointers, the action code, the first window) lives above the kernel. A task
// made from inside a running one saves it before its parameter block is made
// and restores it after; the interpreter installs the pair.
struct TaskCallStateHooks {
    void* (*save)() = nullptr;
    void (*restore)(void* saved) = nullptr;
};
void SetTaskCallStateHooks(const TaskCallStateHooks& hooks);

// The process id of the running formula process, 0 when none.
extern int32_t processid;
// Request, escape, error and fatal-error state of the kernel, cleared for a
// new task.
extern int16_t taskrequest;
extern uint8_t taskescape;
extern int16_t taskerror;
extern uint8_t taskfatal;

// Destroys every record and empties the list (start-up and tests).
void ResetTasks();
