#include "kernel/tasks/TaskRecords.h"

#include <algorithm>
#include <cstring>

#include "kernel/handles/KernelHandles.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace platform;

Handle tua = nullptr;
int16_t nbtask = 0;
int32_t counttask = 0;
uint32_t processuniqueid = 0;
taskuser* curtu = nullptr;
char* curparam = nullptr;
int32_t processid = 0;
int16_t taskrequest = 0;
uint8_t taskescape = 0;
int16_t taskerror = 0;
uint8_t taskfatal = 0;

namespace {

TaskCallStateHooks gCallState;

TaskUserBasic** Slots() { return tua ? reinterpret_cast<TaskUserBasic**>(*tua) : nullptr; }

// The task list holds whole pointers; its size is the truth when it is
// shorter than nbtask says.
int16_t SlotCount()
{
    if (!tua) return 0;
    const Size room = GetHandleSize(tua) / Size(sizeof(TaskUserBasic*));
    return int16_t(std::min<Size>(room, nbtask < 0 ? 0 : nbtask));
}

}  // namespace

TaskUserBasic::~TaskUserBasic() = default;

taskuser::taskuser()
{
    for (int i = 0; i < 256; ++i) upcase[i] = lowcase[i] = uint8_t(i);
}

taskuser::~taskuser()
{
    if (paramblock) {
        HUnlock(paramblock);
        DisposeHandle(paramblock);
    }
    for (Handle& h : handles)
        if (h) DisposeHandle(h);
    if (token) token->Release();
}

TaskUserBasic* xAllocTaskUser(const TaskUserBasic* source)
{
    TaskUserBasic* record = source ? new TaskUserBasic(*source) : new taskuser;
    if (record) record->reusable = 1;
    return record;
}

void DisposeTaskUser(TaskUserBasic* record) { delete record; }

TaskUserBasic* GetTaskRecord(int16_t n)
{
    if (n < 1 || n > SlotCount()) return nullptr;
    return Slots()[n - 1];
}

void SetTaskRecord(int16_t n, TaskUserBasic* record)
{
    if (n < 1 || n > SlotCount()) return;
    Slots()[n - 1] = record;
}

void SetTaskCallStateHooks(const TaskCallStateHooks& hooks) { gCallState = hooks; }

void ResetTasks()
{
    for (int32_t i = 1; i <= SlotCount(); ++i) DisposeTaskUser(Slots()[i - 1]);
    if (tua) DisposeHandle(tua);
    tua = nullptr;
    nbtask = 0;
    counttask = 0;
    processuniqueid = 0;
    curtu = nullptr;
    curparam = nullptr;
    processid = 0;
}

namespace {

// The record's handles and parameter block; false when memory is short.
bool MakeTaskStorage(taskuser* t)
{
    for (Handle& h : t->handles) {
        h = NewHandle(0);
        if (!h) return false;
    }
    return true;
}

// The decimal and thousands separators in force, as Mac characters; the
// plain ones before the system object exists.
void CurrentSeparators(uint8_t& decimal, uint8_t& thousands)
{
    decimal = '.';
    thousands = ',';
    if (!gSystem) return;
    const char16_t units[2] = {gSystem->GetDecimalSeparator(), gSystem->GetThousandSeparator()};
    uint8_t bytes[2] = {decimal, thousands};
    const char16_t* src = units;
    uint8_t* dst = bytes;
    InitDefaultIntlManager()->Uni2Mac(src, dst, bytes + 2, 2);
    decimal = bytes[0];
    thousands = bytes[1];
}

int16_t FailTask(int16_t error, bool grew)
{
    if (curtu) curtu->running = 0;
    if (grew) {
        --nbtask;
        SetHandleSize(tua, Size(nbtask) * Size(sizeof(TaskUserBasic*)));
    }
    erreure = error;
    return 0;
}

}  // namespace

int16_t newtask(int32_t procedure, int32_t, int32_t value2, const unsigned char* name, uint8_t, int16_t kind)
{
    if (curtu && processid != 0) curtu->interrupted = 1;

    // The first reusable record that is not running gives up its slot; so
    // does a slot left empty by a record that could not be made.
    int16_t slot = 0;
    for (int32_t i = 1; i <= SlotCount(); ++i) {
        const TaskUserBasic* r = Slots()[i - 1];
        if (!r || (r->reusable && !r->running)) {
            slot = i;
            break;
        }
    }
    bool grew = false;
    if (slot == 0) {
        if (!tua) tua = NewHandle(0);
        if (!tua) return FailTask(MemError() ? MemError() : memFullErr, false);
        const int16_t count = SlotCount();
        SetHandleSize(tua, Size(count + 1) * Size(sizeof(TaskUserBasic*)));
        if (MemError() != noErr) return FailTask(MemError(), false);
        nbtask = int16_t(count + 1);
        Slots()[count] = nullptr;
        slot = nbtask;
        grew = true;
    } else {
        DisposeTaskUser(Slots()[slot - 1]);
        Slots()[slot - 1] = nullptr;
    }

    auto* t = static_cast<taskuser*>(xAllocTaskUser(nullptr));
    if (!t || !MakeTaskStorage(t)) {
        delete t;
        curtu = nullptr;
        if (!grew) Slots()[slot - 1] = nullptr;
        return FailTask(memFullErr, grew);
    }

    Slots()[slot - 1] = t;
    curtu = t;
    ++counttask;
    t->running = 1;
    t->reusable = 0;
    t->tasknum = uint16_t(slot);
    const int32_t length = name ? std::min<int32_t>(name[0], kTaskNameMax) : 0;
    t->name[0] = uint8_t(length);
    if (length > 0) std::memcpy(t->name + 1, name + 1, size_t(length));
    t->uniqueid = ++processuniqueid;
    t->taskkind = kind;
    t->secondpositive = value2 >= 0 ? 1 : 0;
    CurrentSeparators(t->decsep, t->thousep);
    taskrequest = 0;
    taskescape = 0;
    taskerror = 0;
    taskfatal = 0;

    void* saved = nullptr;
    const bool keepCallState = procedure != -1 && gCallState.save && gCallState.restore;
    if (keepCallState) saved = gCallState.save();
    t->paramblock = NewHandleClear(kTaskParamBlockSize);
    if (t->paramblock) {
        HLockHi(t->paramblock);
        curparam = *t->paramblock;
    }
    if (keepCallState) gCallState.restore(saved);
    if (!t->paramblock) {
        // The record stays in its slot, ready to be reused.
        t->running = 0;
        t->reusable = 1;
        curtu = nullptr;
        erreure = memFullErr;
        return 0;
    }
    return int16_t(slot);
}
