#include "design/security/Login.h"

#include <cstring>

#include "design/documents/DocResources.h"
#include "design/documents/Passwords.h"
#include "design/objects/TableDescriptions.h"
#include "design/security/ExternalPasswords.h"
#include "design/security/SecurityManager.h"
#include "design/security/SecurityProviders.h"
#include "design/security/SecurityTokens.h"
#include "kernel/helpers/KernelWindows.h"
#include "kernel/startup/LoginGlobals.h"
#include "kernel/tasks/TaskRecords.h"
#include "network/Requests.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::Handle;

namespace {

// 'PRQz' 0: the design-access group (low 16 bits of a 32-bit field: g for
// group g of table 0, -g of table 1, 0 everybody) and the default user
// (low 16 bits, 0 none).
constexpr int32_t kDesignGroupAt = 48;
constexpr int32_t kDefaultUserAt = 52;

int16_t ParamWord(int32_t at)
{
    if (!hparam || !*hparam || platform::GetHandleSize(hparam) < at + 4) return 0;
    return int16_t(platform::ReadBE32(reinterpret_cast<const uint8_t*>(*hparam) + at) & 0xFFFF);
}

// The structure's parameter record becomes the open container's own, as
// reading it would make it.
void LoadParamRecord()
{
    if (numresfalse <= 0) return;
    Handle stored = xget1res(platform::FourCC("PRQz"), 0);
    if (!stored || !*stored) return;
    Handle copy = stored;
    if (platform::HandToHand(&copy) != 0) return;
    SetDocParamRecord(numresfalse, copy);
    hparam = DocParamRecord(numresfalse);
}

VSecurityToken* CurrentToken()
{
    if (curtu) return TaskToken(curtu);
    const taskuser* first = nbtask > 0 ? TaskAt(1) : nullptr;
    return first && !first->dead ? TaskToken(first) : nullptr;
}

void CopyName(unsigned char* to, const unsigned char* from)
{
    to[0] = from[0] > 31 ? 31 : from[0];
    std::memcpy(to + 1, from + 1, to[0]);
}

}  // namespace

int16_t DesignAccessGroup() { return ParamWord(kDesignGroupAt); }

int16_t StoredDefaultUser() { return ParamWord(kDefaultUserAt); }

int16_t takepass(bool useDefaultUser)
{
    if (HasPassWordsExtern) return TakePass_ext();
    if (!gSecurityManager) return kLoginRefused;
    const uint32_t failures = ConnectionFailures();
    LoadParamRecord();
    lirepass(3);
    DefaultDBUser = StoredDefaultUser();
    // The users just read replace any other structure's: no token of
    // theirs is handed out again.
    gSecurityManager->PurgeTokens();

    unsigned char defaultName[32] = {};
    VSecurityToken* token = nullptr;
    bool mayAsk = true;
    if (gStartupUserName[0]) {
        token = gSecurityManager->RetainToken(gStartupUserName, gStartupPassword, true);
        if (!token) CopyName(defaultName, gStartupUserName);
        gStartupUserName[0] = gStartupPassword[0] = 0;
    } else if (!shiftenfoncee() && useDefaultUser && DefaultDBUser != 0) {
        static const unsigned char kEmpty[1] = {0};
        token = gSecurityManager->RetainToken(DefaultDBUser, kEmpty, true);
        Handle record = indpass(DefaultDBUser);
        if (!token && IsValidUser(DefaultDBUser)) {
            unsigned char name[32];
            std::memcpy(name, *record + 4, sizeof name);
            CopyName(defaultName, name);
        } else if (!token) {
            mayAsk = false;
        }
    }
    // Nobody is asked for a password that a server gone silent cannot check.
    if (!token && mayAsk && ConnectionFailures() != failures) return kLoginRefused;
    if (!token && mayAsk) {
        token = ShowLoginDialog(defaultName);
        if (!token) return kLoginCancelled;
    }
    // Nobody logged in (a default user that is gone): nobody may enter.
    if (!token) return kLoginRefused;
    const bool in = gSecurityManager->Login(token, 1, false);
    token->Release();
    return in ? 0 : kLoginRefused;
}

bool ok2pass(int16_t group, VSecurityToken* token)
{
    if (!token) token = CurrentToken();
    if (!token) return true;
    if (!DisableQzGroups) return token->IsInGroup(group);
    if (group == 0) return true;
    if (IsAdmin_ext(token->GetUser())) return true;
    return OKPass_ext(group);
}

bool okstruct()
{
    if (gIsRuntime) return false;
    if (HasPassWordsExtern && gSecurityManager && IsAdmin_ext(gSecurityManager->GetCurrentUserID())) return true;
    if (!hparam || !*hparam || platform::GetHandleSize(hparam) < kDesignGroupAt + 4) return false;
    return ok2pass(DesignAccessGroup(), nullptr);
}

int16_t DeleteUser(int16_t user)
{
    VSecurityProvider* provider = gSecurityManager ? gSecurityManager->GetProvider() : nullptr;
    return provider ? provider->DeleteUser(user) : kNotAllowedToDelete;
}

bool IsValidUser(int16_t user)
{
    VSecurityProvider* provider = gSecurityManager ? gSecurityManager->GetProvider() : nullptr;
    return provider && provider->IsValidUser(user);
}

bool ChangePassword(const unsigned char* password)
{
    VSecurityToken* token = CurrentToken();
    return token && token->ChangePassword(password);
}

int32_t GetDefaultOwner()
{
    VSecurityToken* token = CurrentToken();
    return token ? token->GetDefaultOwner() : 0;
}
