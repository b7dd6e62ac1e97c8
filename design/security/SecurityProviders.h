// Security providers: they make the tokens and answer questions about
// users, from the structure's password tables (VSecurityProvider_Qz) or
// from an external password system reached through `passhook`.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VSecurityToken;

// Results of DeleteUser.
constexpr int16_t kNotAllowedToDelete = -9991;
constexpr int16_t kUsersNotLocked = -9937;
constexpr int16_t kNoSuchUser = -9979;

class VSecurityProvider : public VObject, public IRefCountable {
public:
    VSecurityProvider() = default;
    ~VSecurityProvider() override;
    VSecurityProvider(const VSecurityProvider&) = delete;
    VSecurityProvider& operator=(const VSecurityProvider&) = delete;

    // Nobody needs to log in.
    virtual bool IsFreeAccess() = 0;
    // A new token (one reference, the caller's), null when a given
    // password is refused.
    virtual VSecurityToken* CreateToken(int16_t user, const unsigned char* password, bool alreadyScrambled) = 0;
    // The first live user of that name: true with its number, else -1.
    virtual bool FindUserByName(const unsigned char* name, int16_t* user) = 0;
    virtual bool UseQzGroups() = 0;
    virtual int16_t DeleteUser(int16_t user) = 0;
    // The user has a record and is not deleted.
    virtual bool IsValidUser(int16_t user) = 0;
    virtual void DoLogin(VSecurityToken* token);
    virtual void DoLogout();
};

class VSecurityProvider_Qz : public VSecurityProvider {
public:
    // Empties the tables, or (with a current task) loads them.
    explicit VSecurityProvider_Qz(bool emptyTables);
    // Releases the tables.
    ~VSecurityProvider_Qz() override;

    bool IsFreeAccess() override;
    VSecurityToken* CreateToken(int16_t user, const unsigned char* password, bool alreadyScrambled) override;
    bool FindUserByName(const unsigned char* name, int16_t* user) override;
    bool UseQzGroups() override;
    // -9991 unless the current user is an administrator (and, for user 2,
    // the user is of table 1); -9937 when the users cannot be locked;
    // -9979 when there is no such live user; else the user is marked
    // deleted (-4444) on the server.
    int16_t DeleteUser(int16_t user) override;
    bool IsValidUser(int16_t user) override;

    // Whether the server confirms the (scrambled) password of the user.
    bool ValidatePassword(int16_t user, const unsigned char* password);
};

class VSecurityProvider_External : public VSecurityProvider {
public:
    explicit VSecurityProvider_External(bool emptyTables);
    ~VSecurityProvider_External() override;

    bool IsFreeAccess() override;
    VSecurityToken* CreateToken(int16_t user, const unsigned char* password, bool alreadyScrambled) override;
    bool FindUserByName(const unsigned char* name, int16_t* user) override;
    bool UseQzGroups() override;
    int16_t DeleteUser(int16_t user) override;
    bool IsValidUser(int16_t user) override;
};
