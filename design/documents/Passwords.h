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

// Loads both tables: mode 1 the server, then the resources; 2 the
// resources only. Only local structures are served here.
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
// Releases the tables and resets every global above (tests, shut-down).
void ResetPasswordTables();

// Loads the tables (mode 1 or 2) and answers true when users exist and the
// first has a password.
bool isthereapassword(int16_t mode);
// True when there are no users, the first has no password, or `password`
// scrambled equals the first user's.
bool issuperuser(const unsigned char* password);

// The fixed 4-byte scrambled form of an empty old-layout table, as new
// documents store it in 'PAQz' 0 and 1.
void EmptyScrambledTable(uint8_t out[4]);
