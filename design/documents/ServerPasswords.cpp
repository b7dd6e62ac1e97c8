// The password tables of a structure held by a server: the server keeps
// the tables and a version counter; this program reads both tables at
// once, checks the counter from time to time and reads, checks or writes
// single users through requests.
//
// Requests (bodies big-endian here; converted by template when the
// server's byte order differs):
//   73  18 bytes: 0 the password (Str15), 16 the user      reply: any = right
//   74  16-bit 2                                            reply: u32 counter, table 0, table 1
//   75  114 bytes: the user record, 112 the user number     reply: none
//   76  16-bit user number                                  reply: the 112-byte record
//   78  nothing                                             reply: u32 counter
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/documents/DocHooks.h"
#include "design/documents/Passwords.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "network/Requests.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

using platform::Handle;

namespace {

constexpr int16_t kCheckPassword = 73;
constexpr int16_t kReadTables = 74;
constexpr int16_t kWriteUser = 75;
constexpr int16_t kReadUser = 76;
constexpr int16_t kReadCounter = 78;

constexpr int16_t kUserTemplate = 38;
constexpr int16_t kWordTemplate = 39;
constexpr int16_t kLongTemplate = 66;
constexpr int16_t kWriteUserTemplate = 92;
constexpr int16_t kCheckTemplate = 93;

constexpr int16_t kNoReply = -5;
// The user's name in a record: a length byte and at most 31 characters.
constexpr int32_t kUserNameAt = 4;
constexpr uint8_t kUserNameMax = 31;
constexpr uint32_t kReloadTicks = 36000;
constexpr int32_t kSentRecordSize = kPassRecSize + 2;

// Whether two live users of the tables bear one name, compared as the
// login compares the name typed.
bool NamesOneUserTwice(const PassTable& table0, const PassTable& table1)
{
    std::vector<const unsigned char*> names;
    for (const PassTable* t : {&table0, &table1})
        for (int16_t i = 0; t->users && i < t->userCount; ++i) {
            Handle record = reinterpret_cast<Handle*>(*t->users)[i];
            if (!LiveUserRecord(record)) continue;
            const auto* name = reinterpret_cast<const unsigned char*>(*record) + kUserNameAt;
            if (name[0] <= kUserNameMax) names.push_back(name);
        }
    std::sort(names.begin(), names.end(),
              [](const unsigned char* a, const unsigned char* b) { return relstr(a, b) == kSmaller; });
    return std::adjacent_find(names.begin(), names.end(), [](const unsigned char* a, const unsigned char* b) {
               return relstr(a, b) == kEqual;
           }) != names.end();
}

}  // namespace

int16_t UnflattenServerTables(Handle reply, bool otherOrder, PassTable* table0, PassTable* table1, int32_t* counter)
{
    *counter = 0;
    *table0 = PassTable();
    *table1 = PassTable();
    buffertemp b;
    InitBufTempForRead(&b, otherOrder ? 1 : 0, reply);
    int16_t err = 0;
    const int32_t read = GetLongFromBuf(&b, &err);
    if (!err) err = UnflattenPasswords(&b, &table0->users, &table0->userCount, &table0->groups, &table0->groupCount);
    // One reply, trusted whole or not at all.
    if (!err) err = UnflattenPasswords(&b, &table1->users, &table1->userCount, &table1->groups, &table1->groupCount);
    if (!err && NamesOneUserTwice(*table0, *table1)) {
        FreePassTable(table1);
        err = kUserNamedTwice;
    }
    if (err) FreePassTable(table0);
    else *counter = read;
    return err;
}

int16_t ReadServerTables(PassTable* table0, PassTable* table1, int32_t* counter)
{
    *counter = 0;
    uint8_t which[2];
    platform::WriteBE16(which, 2);
    Handle reply = sendxrequest(kReadTables, which, 2, kWordTemplate, 0);
    if (!reply) return kNoReply;
    // Tables that come with an error are not the server's word.
    int16_t err = requesterr();
    if (!err) err = UnflattenServerTables(reply, ServerByteSens != 0, table0, table1, counter);
    platform::DisposeHandle(reply);
    return err;
}

void CheckReloadPass(bool force)
{
    if (!force) {
        const uint32_t since = platform::TickCount() - timepass;
        if (std::min<uint32_t>(since, 0u - since) <= kReloadTicks) return;
    }
    if (editpassencours) return;
    Handle reply = sendxrequest(kReadCounter, nullptr, 0, 0, kLongTemplate);
    const int32_t counter =
        reply && platform::GetHandleSize(reply) >= 4 ? platform::ReadBES32(reinterpret_cast<uint8_t*>(*reply)) : 0;
    platform::DisposeHandle(reply);
    if (counter != passcount) {
        passcount = counter;
        lirepass(1);
    }
    timepass = platform::TickCount();
}

bool testpass(int16_t user, const unsigned char* password)
{
    uint8_t body[18] = {};
    body[0] = std::min<uint8_t>(password ? password[0] : 0, 15);
    if (body[0]) std::memcpy(body + 1, password + 1, body[0]);
    platform::WriteBE16(body + 16, uint16_t(user));
    Handle reply = sendxrequest(kCheckPassword, body, sizeof body, kCheckTemplate, 0);
    // A reply that also reports an error confirms nothing.
    const bool confirmed = reply && requesterr() == 0;
    platform::DisposeHandle(reply);
    return confirmed;
}

bool x_issuperpass(const unsigned char* password) { return testpass(1, password); }

void lire1pass(int16_t user, Handle* record)
{
    *record = nullptr;
    uint8_t number[2];
    platform::WriteBE16(number, uint16_t(user));
    Handle reply = sendxrequest(kReadUser, number, 2, kWordTemplate, kUserTemplate);
    if (!reply) return;
    if (requesterr() != 0 || platform::GetHandleSize(reply) < kPassRecSize) {
        platform::DisposeHandle(reply);
        return;
    }
    platform::SetHandleSize(reply, kPassRecSize);
    *record = reply;
}

int16_t ecris1pass(int16_t user, Handle record)
{
    if (!record || !*record || platform::GetHandleSize(record) != kPassRecSize) return platform::paramErr;
    platform::SetHandleSize(record, kSentRecordSize);
    if (platform::MemError() != platform::noErr || platform::GetHandleSize(record) != kSentRecordSize)
        return platform::memFullErr;
    platform::WriteBE16(reinterpret_cast<uint8_t*>(*record) + kPassRecSize, uint16_t(user));
    Handle reply = sendxrequest(kWriteUser, *record, kSentRecordSize, kWriteUserTemplate, 0);
    const int16_t err = requesterr();
    platform::DisposeHandle(reply);
    platform::SetHandleSize(record, kPassRecSize);
    return err;
}

void kill1pass(Handle record) { platform::DisposeHandle(record); }
