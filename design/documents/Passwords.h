// The users and groups of a structure: two flattened tables, 'PAQz' 0 and
// 'PAQz' 1, loaded into process-wide tables of record handles.
//
// Numbers: 1..U0 users of table 0, -(10+n) user n of table 1, 15000+g
// group g of table 0, -(15000+g) group g of table 1; 0 no particular user.
//
// User record `passrec`, 112 bytes: 0 state (-4444 deleted), 4 name
// (Str31), 36 password (Str15, characters scrambled with the password
// key), 52 Str31, 84 24 bytes carried, 108 default owner (32-bit).
// Group record `groupuser`, 38 + 2 x (N - 1) bytes: 0 32 bytes carried,
// 32 N, 34 carried, 36 N 16-bit member numbers.
#pragma once

#include <cstdint>

#include "kernel/buffer/BufferQz.h"
#include "platform/core/MacTypes.h"

constexpr int32_t kPassRecSize = 112;
constexpr int32_t kOldPassRecSize = 96;
constexpr int32_t kGroupRecBase = 38;
constexpr uint16_t kCurrentTableTag = 0xA0A0;
constexpr int32_t kDeletedUser = -4444;

// Tables: a handle holding `count` record handles (Handle values).
extern platform::Handle pass;
extern int16_t globnbpass;
extern platform::Handle gu;
extern int16_t globnbgroup;
extern platform::Handle passu;
extern int16_t globnbpassu;
extern platform::Handle guu;
extern int16_t globnbgroupu;
extern int32_t passcount;
extern uint32_t timepass;
extern bool editpassencours;
extern bool fatalerr;
extern bool fatalerrpass;
// Whether the structure whose tables were read last predates the
// scrambling of long tables (decided from its own parameter record).
extern bool isStructBefore2004;

// One flattened table as read: null tables with counts 0 when empty.
struct PassTable {
    platform::Handle users = nullptr;
    int16_t userCount = 0;
    platform::Handle groups = nullptr;
    int16_t groupCount = 0;
};
void FreePassTable(PassTable* table);

// Loads both tables: mode 1 from the server when the structure is held by
// one, then from the resources (whose tables win); 2 the resources only;
// 3 the server only. The tables are replaced when table 0 was read; when
// nothing was read and an error occurred, fatalerr and fatalerrpass are
// set and the old tables stay. Answers the last error.
int16_t lirepass(int16_t mode);
// Reads one flattened table from `buffer`; on error all outputs are null
// and 0. A count that the bytes left cannot hold, or a group record whose
// own count is not its entry's, gives -1.
int16_t UnflattenPasswords(buffertemp* buffer, platform::Handle* users, int16_t* userCount, platform::Handle* groups,
                           int16_t* groupCount);
// The user record of number `user`, or null.
platform::Handle indpass(int16_t user);
// dest (Str15) = password (cut to 15) with its characters scrambled.
void encryptepass(unsigned char* dest, const unsigned char* password);
void free_passtab(platform::Handle table, int16_t count);
void free_groupuser(platform::Handle table, int16_t count);
// Replaces the four tables by empty ones (counts 0).
void EmptyPasswordTables();
// A whole user record whose state is not -4444.
bool LiveUserRecord(platform::Handle record);
// Releases the four tables: null, counts 0.
void FreePasswordTables();
// The first live user (state not -4444) whose name compares equal (kernel
// relstr): n of table 0, else -(10+n) of table 1; 0 when none.
int16_t FindLiveUserByName(const unsigned char* name);
// Releases the tables and resets every global above (tests, shut-down).
void ResetPasswordTables();

// Loads the tables (mode 1 or 2) and answers true when users exist and the
// first has a password.
bool isthereapassword(int16_t mode);
// The tables of a structure held by a server, read from it as the
// structure opens: 0 with whether they ask for a login, or the error when
// they could not be read (no reply, a damaged one), for which the open
// must end: the tables left are no word of the server's on its users.
int16_t ReadServerPasswords(bool* loginNeeded);
// True when there are no users, the first has no password, or `password`
// scrambled equals the first user's.
bool issuperuser(const unsigned char* password);

// The server's copy of the tables (requests 73-78): see ServerPasswords.cpp.
// Request 74: the version counter, then table 0 and table 1, in the
// server's byte order. -5 without a reply; a reply whose counts do not fit
// its bytes is refused whole (both tables null).
int16_t ReadServerTables(PassTable* table0, PassTable* table1, int32_t* counter);
// The reply of request 74 read (`otherOrder`: the server's byte order is
// not this program's): 0, or the error with both tables null. Tables in
// which two live users bear one name (as the login compares names) are
// refused with kUserNamedTwice: that name would not tell who logs in.
int16_t UnflattenServerTables(platform::Handle reply, bool otherOrder, PassTable* table0, PassTable* table1,
                              int32_t* counter);
// Reloads the tables when the server's version counter changed; without
// `force` at most once per 36,000 ticks.
void CheckReloadPass(bool force);
// Whether the server confirms that `password` (length-prefixed, at most 15
// characters, in the form the caller holds it) is that of `user`.
bool testpass(int16_t user, const unsigned char* password);
// testpass of the designer (user 1).
bool x_issuperpass(const unsigned char* password);
// The user's record (112 bytes) from the server, null when none.
void lire1pass(int16_t user, platform::Handle* record);
// Sends a 112-byte record back as that user's: 0 or the error (-108 when
// the record cannot grow to carry the user's number: nothing is sent).
int16_t ecris1pass(int16_t user, platform::Handle record);
void kill1pass(platform::Handle record);

// The fixed 4-byte scrambled form of an empty old-layout table, as new
// documents store it in 'PAQz' 0 and 1.
void EmptyScrambledTable(uint8_t out[4]);
