// Loading the password tables from the structure's resources (and, through
// ServerPasswords.cpp, from its server) and looking users up.
//
// Flattened table ('PAQz' 0 or 1, once unscrambled), big-endian:
//  off   size       field
//   0     2         0xA0A0: current layout; any other value is U (old layout)
//   2     2         U (current layout) / G (old layout)
//   4     2         G (current layout)
//   then  U x 112   user records (old layout: U x 96)
//   then  G x       a 16-bit N, then the group record of 38 + 2 x (N - 1)
// Counts are checked against the bytes left before anything is made: a
// table that claims more than it holds is refused whole.
#include "design/documents/Passwords.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "design/documents/DocResources.h"
#include "design/documents/OpenQzB.h"
#include "design/objects/TableDescriptions.h"
#include "kernel/collation/Compare.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/standins/EncrypteText.h"
#include "kernel/standins/PasswordKey.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "resources/swap/PasswordTableKey.h"

using platform::Handle;

Handle pass = nullptr;
int16_t globnbpass = 0;
Handle gu = nullptr;
int16_t globnbgroup = 0;
Handle passu = nullptr;
int16_t globnbpassu = 0;
Handle guu = nullptr;
int16_t globnbgroupu = 0;
int32_t passcount = 0;
uint32_t timepass = 0;
bool editpassencours = false;
bool fatalerr = false;
bool fatalerrpass = false;
bool isStructBefore2004 = false;

namespace {

constexpr int32_t kUserTemplate = 38;
constexpr int32_t kOldUserTemplate = 107;
constexpr int32_t kGroupTemplate = 40;
// Below level 15 a table this long was stored unscrambled.
constexpr int32_t kUnscrambledFrom = 32768;
constexpr int16_t kTableOneBase = 10;
constexpr int16_t kTooFewBytes = -1;

Handle* Slots(Handle table) { return reinterpret_cast<Handle*>(*table); }

Handle NewTable(int32_t count)
{
    Handle table = platform::NewHandleClear(platform::Size(count) * platform::Size(sizeof(Handle)));
    return table;
}

int32_t BytesLeft(const buffertemp* b) { return b->length - b->readPos; }

// Reads one user record, widening an old one.
int16_t ReadUser(buffertemp* b, bool old, Handle* out)
{
    Handle record = platform::NewHandleClear(kPassRecSize);
    if (!record) return platform::memFullErr;
    auto* p = reinterpret_cast<uint8_t*>(*record);
    int16_t err = 0;
    if (!old) {
        err = GetFromBuf(b, p, kPassRecSize);
        if (!err && b->swap && SwapBytes2(kUserTemplate, p, -1, nullptr, kPassRecSize) != 0) err = kTooFewBytes;
    } else {
        uint8_t o[kOldPassRecSize];
        err = GetFromBuf(b, o, kOldPassRecSize);
        if (!err && b->swap && SwapBytes2(kOldUserTemplate, o, -1, nullptr, kOldPassRecSize) != 0) err = kTooFewBytes;
        if (!err) {
            std::memcpy(p, o, 52);            // state, name, password
            std::memcpy(p + 52, o + 52, 16);  // the short string, in the wider field
            p[52] = std::min<uint8_t>(p[52], 15);
            std::memcpy(p + 84, o + 68, 28);
        }
    }
    if (err) {
        platform::DisposeHandle(record);
        return err;
    }
    *out = record;
    return 0;
}

int16_t ReadGroup(buffertemp* b, Handle* out)
{
    int16_t err = 0;
    const int16_t members = GetShortFromBuf(b, &err);
    if (err) return err;
    const int32_t size = kGroupRecBase + 2 * (int32_t(members) - 1);
    if (members < 0 || size > BytesLeft(b)) return kTooFewBytes;
    Handle record = platform::NewHandle(size);
    if (!record) return platform::memFullErr;
    err = GetFromBuf(b, *record, size);
    if (!err && b->swap && SwapBytes2(kGroupTemplate, *record, -1, nullptr, size) != 0) err = kTooFewBytes;
    // Members are later walked by the record's own count: it must be the
    // count the record was sized by.
    if (!err && platform::ReadBES16(reinterpret_cast<const uint8_t*>(*record) + 32) != members) err = kTooFewBytes;
    if (err) {
        platform::DisposeHandle(record);
        return err;
    }
    *out = record;
    return 0;
}

// A null table becomes an empty handle, so that a count of 0 never meets
// a null table.
Handle OrEmpty(Handle table)
{
    return table ? table : platform::NewHandle(0);
}

// Whether the current structure predates the scrambling of long tables:
// decided for each structure, from its own parameter record.
bool StructBefore2004()
{
    Handle record = DocParamRecord(numresfalse);
    if (!record || !*record) record = xget1res(platform::FourCC("PRQz"), 0);
    if (!record || !*record || platform::GetHandleSize(record) < 5) return true;
    return reinterpret_cast<const uint8_t*>(*record)[4] < kCurrentLevel;
}

// Reads 'PAQz' `id` of the current container.
int16_t LoadTable(int16_t id, bool before2004, PassTable* table)
{
    Handle stored = xget1res(platform::FourCC("PAQz"), id);
    if (!stored || !*stored) return reserr ? reserr : platform::resNotFound;
    hunpurgeres(stored);
    Handle copy = stored;
    const platform::OSErr copied = platform::HandToHand(&copy);
    hpurgeres(stored);
    if (copied) return platform::memFullErr;
    const int32_t size = int32_t(platform::GetHandleSize(copy));
    if (!(before2004 && size >= kUnscrambledFrom)) encryptetext(*copy, size, PasswordTableKey());
    buffertemp b;
    InitBufTempForRead(&b, 0, copy);
    const int16_t err = UnflattenPasswords(&b, &table->users, &table->userCount, &table->groups, &table->groupCount);
    platform::DisposeHandle(copy);
    return err;
}

// The four tables are replaced (a missing one by an empty handle).
void Install(PassTable* table0, PassTable* table1)
{
    free_passtab(pass, globnbpass);
    free_groupuser(gu, globnbgroup);
    free_passtab(passu, globnbpassu);
    free_groupuser(guu, globnbgroupu);
    pass = OrEmpty(table0->users), globnbpass = pass ? table0->userCount : 0;
    gu = OrEmpty(table0->groups), globnbgroup = gu ? table0->groupCount : 0;
    passu = OrEmpty(table1->users), globnbpassu = passu ? table1->userCount : 0;
    guu = OrEmpty(table1->groups), globnbgroupu = guu ? table1->groupCount : 0;
    *table0 = PassTable();
    *table1 = PassTable();
}

}  // namespace

int16_t UnflattenPasswords(buffertemp* buffer, Handle* users, int16_t* userCount, Handle* groups, int16_t* groupCount)
{
    *users = nullptr, *groups = nullptr;
    *userCount = 0, *groupCount = 0;
    Handle userTable = nullptr, groupTable = nullptr;
    int32_t madeUsers = 0, madeGroups = 0;
    int16_t err = 0;
    try {
        const int16_t first = GetShortFromBuf(buffer, &err);
        const bool old = uint16_t(first) != kCurrentTableTag;
        int16_t u = first;
        if (!err && !old) u = GetShortFromBuf(buffer, &err);
        const int16_t g = err ? 0 : GetShortFromBuf(buffer, &err);
        const int32_t recordSize = old ? kOldPassRecSize : kPassRecSize;
        // Every user takes a whole record and every group at least its
        // count and a record without members.
        if (!err && (u < 0 || g < 0 ||
                     int64_t(u) * recordSize + int64_t(g) * (2 + kGroupRecBase - 2) > BytesLeft(buffer)))
            err = kTooFewBytes;
        if (!err && u > 0 && !(userTable = NewTable(u))) err = platform::memFullErr;
        for (; !err && madeUsers < u; ++madeUsers) {
            Handle record = nullptr;
            err = ReadUser(buffer, old, &record);
            if (!err) Slots(userTable)[madeUsers] = record;
        }
        if (!err && g > 0 && !(groupTable = NewTable(g))) err = platform::memFullErr;
        for (; !err && madeGroups < g; ++madeGroups) {
            Handle record = nullptr;
            err = ReadGroup(buffer, &record);
            if (!err) Slots(groupTable)[madeGroups] = record;
        }
        if (!err) {
            *users = userTable, *userCount = u;
            *groups = groupTable, *groupCount = g;
            return 0;
        }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    free_passtab(userTable, int16_t(madeUsers));
    free_groupuser(groupTable, int16_t(madeGroups));
    return err;
}

void FreePassTable(PassTable* table)
{
    free_passtab(table->users, table->userCount);
    free_groupuser(table->groups, table->groupCount);
    *table = PassTable();
}

int16_t lirepass(int16_t mode)
{
    if (mode < 1 || mode > 3) return 0;
    PassTable served[2], stored[2];
    bool fromServer = false, fromStore = false;
    int16_t err = 0;
    if (mode != 2 && !editpassencours && numresfalse > 0 && !islocalres(numresfalse)) {
        int32_t counter = 0;
        err = ReadServerTables(&served[0], &served[1], &counter);
        fromServer = err == 0;
        if (fromServer) passcount = counter;
    }
    if (mode != 3) {
        isStructBefore2004 = StructBefore2004();
        const int16_t err0 = LoadTable(0, isStructBefore2004, &stored[0]);
        if (err0) {
            err = err0;
        } else {
            fromStore = true;
            // Table 1 alone failing leaves it empty.
            const int16_t err1 = LoadTable(1, isStructBefore2004, &stored[1]);
            if (err1) err = err1;
        }
    }
    if (fromStore) {
        FreePassTable(&served[0]);
        FreePassTable(&served[1]);
        Install(&stored[0], &stored[1]);
    } else if (fromServer) {
        Install(&served[0], &served[1]);
    } else if (err) {
        fatalerr = fatalerrpass = true;
    }
    return err;
}

Handle indpass(int16_t user)
{
    if (user >= 1 && user <= globnbpass && pass) return Slots(pass)[user - 1];
    const int32_t n = -int32_t(user) - kTableOneBase;
    if (n >= 1 && n <= globnbpassu && passu) return Slots(passu)[n - 1];
    return nullptr;
}

void encryptepass(unsigned char* dest, const unsigned char* password)
{
    const uint8_t length = std::min<uint8_t>(password[0], 15);
    std::memmove(dest + 1, password + 1, length);
    dest[0] = length;
    encryptetext(dest + 1, length, PasswordKey());
}

void free_passtab(Handle table, int16_t count)
{
    if (!table) return;
    const int32_t held = int32_t(platform::GetHandleSize(table) / platform::Size(sizeof(Handle)));
    for (int32_t i = std::min<int32_t>(count, held) - 1; i >= 0; --i)
        if (Slots(table)[i]) platform::DisposeHandle(Slots(table)[i]);
    platform::DisposeHandle(table);
}

void free_groupuser(Handle table, int16_t count) { free_passtab(table, count); }

void EmptyPasswordTables()
{
    PassTable none[2];
    Install(&none[0], &none[1]);
}

void FreePasswordTables()
{
    free_passtab(pass, globnbpass);
    free_groupuser(gu, globnbgroup);
    free_passtab(passu, globnbpassu);
    free_groupuser(guu, globnbgroupu);
    pass = gu = passu = guu = nullptr;
    globnbpass = globnbgroup = globnbpassu = globnbgroupu = 0;
}

bool LiveUserRecord(Handle record)
{
    return record && *record && platform::GetHandleSize(record) >= kPassRecSize &&
           platform::ReadBES32(reinterpret_cast<const uint8_t*>(*record)) != kDeletedUser;
}

int16_t FindLiveUserByName(const unsigned char* name)
{
    unsigned char stored[256];
    auto named = [&](int16_t number) {
        Handle record = indpass(number);
        if (!LiveUserRecord(record)) return false;
        const auto* p = reinterpret_cast<const uint8_t*>(*record);
        stored[0] = std::min<uint8_t>(p[4], 31);
        std::memcpy(stored + 1, p + 5, stored[0]);
        return relstr(name, stored) == 0;
    };
    for (int32_t n = 1; n <= globnbpass; ++n)
        if (named(n)) return n;
    for (int32_t n = 1; n <= globnbpassu; ++n)
        if (named(int16_t(-(kTableOneBase + n)))) return int16_t(-(kTableOneBase + n));
    return 0;
}

void ResetPasswordTables()
{
    FreePasswordTables();
    passcount = 0;
    timepass = 0;
    editpassencours = false;
    fatalerr = fatalerrpass = false;
    isStructBefore2004 = false;
}

namespace {

// The first user's stored (scrambled) password, or null without users.
const uint8_t* FirstPassword()
{
    Handle first = indpass(1);
    if (!first || !*first || platform::GetHandleSize(first) < kPassRecSize) return nullptr;
    return reinterpret_cast<const uint8_t*>(*first) + 36;
}

bool FirstHasPassword()
{
    const uint8_t* stored = FirstPassword();
    return stored && stored[0] > 0;
}

}  // namespace

bool isthereapassword(int16_t mode)
{
    lirepass(mode);
    return FirstHasPassword();
}

int16_t ReadServerPasswords(bool* loginNeeded)
{
    const int16_t err = lirepass(3);
    *loginNeeded = err == 0 && FirstHasPassword();
    return err;
}

bool issuperuser(const unsigned char* password)
{
    const uint8_t* stored = FirstPassword();
    if (!stored || stored[0] == 0) return true;
    unsigned char scrambled[16];
    encryptepass(scrambled, password);
    const uint8_t length = std::min<uint8_t>(stored[0], 15);
    return scrambled[0] == length && std::memcmp(scrambled + 1, stored + 1, length) == 0;
}

void EmptyScrambledTable(uint8_t out[4])
{
    std::memset(out, 0, 4);
    encryptetext(out, 4, PasswordTableKey());
}
