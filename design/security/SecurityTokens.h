// Security tokens: one per user, shared by reference. A token answers
// whether its user is the designer or an administrator and belongs to a
// group; the built-in token keeps the password it was validated with.
//
// Users are numbered as in the password tables: 1..U0 table 0 (1 the
// designer, 2 the administrator), -(10+n) user n of table 1, 0 no
// particular user (all rights).
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VSecurityProvider_Qz;
class VSecurityProvider_External;

// The groups of the tables that hold one user, directly or through other
// groups, as they stood at the tables' version counter `passcount`.
class VSecurityToken_QzInfo : public VObject {
public:
    // Built from the installed tables; null when building fails.
    static VSecurityToken_QzInfo* New(int16_t user);
    ~VSecurityToken_QzInfo() override = default;

    // Group 0 and, with the all-groups flag, every group answer true; g > 0
    // is group g of table 0, -g group g of table 1.
    bool IsInGroup(int16_t group) const;
    // Whether group number `number` (15000+g, -(15000+g)) holds the user;
    // any other number is the user itself or not.
    bool _TestGroup(int16_t number) const;
    // Still built on the installed tables.
    bool IsValid() const;
    int16_t GetUser() const { return fUser; }

private:
    explicit VSecurityToken_QzInfo(int16_t user) : fUser(user) {}
    bool Build();
    bool Bit(const std::vector<uint8_t>& set, int32_t g) const;

    int16_t fUser;
    std::vector<uint8_t> fGroups0;
    int16_t fGroupCount0 = 0;
    std::vector<uint8_t> fGroups1;
    int16_t fGroupCount1 = 0;
    bool fAllGroups = false;
    int32_t fPassCount = 0;
};

class VSecurityToken : public VObject, public IRefCountable {
public:
    explicit VSecurityToken(int16_t user) : fUser(user) {}
    ~VSecurityToken() override;
    VSecurityToken(const VSecurityToken&) = delete;
    VSecurityToken& operator=(const VSecurityToken&) = delete;

    virtual bool IsDesigner() = 0;
    virtual bool IsAdmin() = 0;
    virtual int32_t GetDefaultOwner() = 0;
    // `password` length-prefixed; null is accepted without a check.
    virtual bool ValidatePassword(const unsigned char* password, bool alreadyScrambled) = 0;
    virtual bool ChangePassword(const unsigned char* password) = 0;
    virtual bool IsInGroup(int16_t group) = 0;

    int16_t GetUser() const { return fUser; }
    const VSecurityToken_QzInfo* GetInfo() const { return fInfo; }
    // Makes the group cache; false when it cannot be built.
    bool MakeInfo();

protected:
    // Runs the periodic version check and rebuilds the group cache when
    // the tables changed; true when the token has one.
    bool CheckInfo();

    int16_t fUser;
    VSecurityToken_QzInfo* fInfo = nullptr;
};

// A user of the structure's own tables.
class VSecurityToken_Qz : public VSecurityToken {
public:
    // Retains the provider for the token's life.
    VSecurityToken_Qz(int16_t user, VSecurityProvider_Qz* provider);
    ~VSecurityToken_Qz() override;

    bool IsDesigner() override;
    bool IsAdmin() override;
    int32_t GetDefaultOwner() override;
    bool ValidatePassword(const unsigned char* password, bool alreadyScrambled) override;
    // Refuses more than 15 characters; false when the server holds no
    // record for the user or does not take the new one.
    bool ChangePassword(const unsigned char* password) override;
    bool IsInGroup(int16_t group) override;

    // The password last validated, scrambled (length-prefixed, up to 31).
    const unsigned char* GetPassword() const { return fPassword; }

private:
    VSecurityProvider_Qz* fProvider;
    unsigned char fPassword[32] = {};
};

// A user of the external password system.
class VSecurityToken_External : public VSecurityToken {
public:
    VSecurityToken_External(int16_t user, VSecurityProvider_External* provider);
    ~VSecurityToken_External() override;

    bool IsDesigner() override;
    bool IsAdmin() override;
    int32_t GetDefaultOwner() override;
    bool ValidatePassword(const unsigned char* password, bool alreadyScrambled) override;
    // The external system keeps its passwords: nothing changes (false).
    bool ChangePassword(const unsigned char* password) override;
    bool IsInGroup(int16_t group) override;

private:
    VSecurityProvider_External* fProvider;
};
