#include "design/security/SecurityProviders.h"

#include <algorithm>
#include <cstring>

#include "design/documents/Passwords.h"
#include "design/security/SecurityManager.h"
#include "design/security/SecurityTokens.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/tasks/TaskRecords.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::Handle;

namespace {

constexpr int32_t kPasswordAt = 36;

// Both kinds of provider keep the tables of the built-in system (the
// external one still answers groups from them); the last one made owns
// them, so that an older one that tokens kept alive frees nothing of its
// successor's.
const VSecurityProvider* gTablesOwner = nullptr;

void PrepareTables(const VSecurityProvider* owner, bool emptyTables)
{
    gTablesOwner = owner;
    if (emptyTables) EmptyPasswordTables();
    else if (curtu) lirepass(1);
}

void ReleaseTables(const VSecurityProvider* owner)
{
    if (owner != gTablesOwner) return;
    gTablesOwner = nullptr;
    FreePasswordTables();
}

}  // namespace

VSecurityProvider::~VSecurityProvider() = default;

void VSecurityProvider::DoLogin(VSecurityToken*) {}

void VSecurityProvider::DoLogout() {}

// --- the structure's own tables --------------------------------------------

VSecurityProvider_Qz::VSecurityProvider_Qz(bool emptyTables) { PrepareTables(this, emptyTables); }

VSecurityProvider_Qz::~VSecurityProvider_Qz() { ReleaseTables(this); }

bool VSecurityProvider_Qz::IsFreeAccess()
{
    if (globnbpass <= 0) return true;
    Handle designer = indpass(1);
    return !designer || !*designer || platform::GetHandleSize(designer) < kPassRecSize ||
           reinterpret_cast<const uint8_t*>(*designer)[kPasswordAt] == 0;
}

VSecurityToken* VSecurityProvider_Qz::CreateToken(int16_t user, const unsigned char* password, bool alreadyScrambled)
{
    auto* token = new VSecurityToken_Qz(user, this);
    if (!token) return nullptr;
    token->MakeInfo();
    if (password && !token->ValidatePassword(password, alreadyScrambled)) {
        token->Release();
        return nullptr;
    }
    return token;
}

bool VSecurityProvider_Qz::FindUserByName(const unsigned char* name, int16_t* user)
{
    const int16_t found = FindLiveUserByName(name);
    *user = found ? found : -1;
    return found != 0;
}

bool VSecurityProvider_Qz::UseQzGroups() { return true; }

int16_t VSecurityProvider_Qz::DeleteUser(int16_t user)
{
    if (!gSecurityManager || !gSecurityManager->IsCurrentUserAdmin()) return kNotAllowedToDelete;
    if (gSecurityManager->GetCurrentUserID() == 2 && user > 0) return kNotAllowedToDelete;
    const uint32_t users = platform::FourCC("PAQz");
    bool heldByOther = false;
    Handle locked = xgetreslock(users, 0, &heldByOther, true);
    int16_t err = 0;
    if (!locked || heldByOther) {
        err = kUsersNotLocked;
    } else {
        CheckReloadPass(true);
        Handle record = indpass(user);
        if (!LiveUserRecord(record)) {
            err = kNoSuchUser;
        } else {
            auto* state = reinterpret_cast<uint8_t*>(*record);
            const uint32_t was = platform::ReadBE32(state);
            platform::WriteBE32(state, uint32_t(kDeletedUser));
            err = ecris1pass(user, record);
            // The server kept the user: so do the tables here.
            if (err) platform::WriteBE32(reinterpret_cast<uint8_t*>(*record), was);
        }
    }
    unloadres(users, 0);
    return err;
}

bool VSecurityProvider_Qz::IsValidUser(int16_t user) { return LiveUserRecord(indpass(user)); }

bool VSecurityProvider_Qz::ValidatePassword(int16_t user, const unsigned char* password)
{
    return testpass(user, password);
}

// --- the external password system ------------------------------------------

VSecurityProvider_External::VSecurityProvider_External(bool emptyTables) { PrepareTables(this, emptyTables); }

VSecurityProvider_External::~VSecurityProvider_External() { ReleaseTables(this); }

bool VSecurityProvider_External::IsFreeAccess() { return false; }

VSecurityToken* VSecurityProvider_External::CreateToken(int16_t user, const unsigned char*, bool)
{
    auto* token = new VSecurityToken_External(user, this);
    if (token && UseQzGroups()) token->MakeInfo();
    return token;
}

bool VSecurityProvider_External::FindUserByName(const unsigned char*, int16_t* user)
{
    *user = -1;
    return false;
}

bool VSecurityProvider_External::UseQzGroups() { return !DisableQzGroups; }

int16_t VSecurityProvider_External::DeleteUser(int16_t) { return kNotAllowedToDelete; }

bool VSecurityProvider_External::IsValidUser(int16_t) { return false; }
