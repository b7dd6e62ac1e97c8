#include "design/security/SecurityManager.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "app/appl/AppGlobals.h"
#include "design/documents/Passwords.h"
#include "design/security/ExternalPasswords.h"
#include "design/security/SecurityProviders.h"
#include "design/security/SecurityTokens.h"
#include "kernel/helpers/EntryAttributes.h"
#include "kernel/tasks/TaskRecords.h"
#include "network/Requests.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using platform::Handle;

VSecurityManager* gSecurityManager = nullptr;

namespace {

constexpr int16_t kIdentityRequest = 196;
constexpr int16_t kIdentityTemplate = 64;
constexpr int32_t kIdentitySize = 130;
constexpr int32_t kLoginNameMax = 30;

// The tasks that share a login made with scheme 1.
bool SharesLogin(int16_t kind)
{
    switch (kind) {
    case 2: case 3: case 4: case -1: case -2: case -6: case -7: case -8: case -9: return true;
    default: return false;
    }
}

// Copies a length-prefixed string, cut to `max` characters, into a
// 32-byte field.
void PutField(uint8_t* field, const unsigned char* text, uint8_t max)
{
    field[0] = std::min<uint8_t>(text[0], max);
    std::memcpy(field + 1, text + 1, field[0]);
}

}  // namespace

taskuser* TaskAt(int16_t n) { return dynamic_cast<taskuser*>(GetTaskRecord(n)); }

VSecurityToken* TaskToken(const taskuser* task)
{
    return task && task->token ? dynamic_cast<VSecurityToken*>(task->token) : nullptr;
}

void SetTaskToken(taskuser* task, VSecurityToken* token)
{
    if (!task) return;
    if (token) token->Retain();
    IRefCountable* old = task->token;
    task->token = token;
    if (old) old->Release();
}

VSecurityManager::~VSecurityManager()
{
    PurgeTokens();
    if (fProvider) fProvider->Release();
}

bool VSecurityManager::BaseOpened(bool emptyTables)
{
    LoadExtPass();
    VSecurityProvider* provider = nullptr;
    if (HasPassWordsExtern) provider = new VSecurityProvider_External(emptyTables);
    else provider = new VSecurityProvider_Qz(emptyTables);
    if (!provider) return false;
    UseProvider(provider);
    return true;
}

void VSecurityManager::UseProvider(VSecurityProvider* provider)
{
    VSecurityProvider* old = fProvider;
    fProvider = provider;
    if (old) old->Release();
}

VSecurityToken* VSecurityManager::RetainToken(int16_t user, const unsigned char* password, bool alreadyScrambled)
{
    for (VSecurityToken* token : fTokens) {
        if (token->GetUser() != user) continue;
        if (!token->ValidatePassword(password, alreadyScrambled)) return nullptr;
        token->Retain();
        return token;
    }
    if (!fProvider) return nullptr;
    VSecurityToken* token = fProvider->CreateToken(user, password, alreadyScrambled);
    if (!token) return nullptr;
    try {
        fTokens.push_back(token);
        token->Retain();  // the cache keeps the first reference
    } catch (const std::bad_alloc&) {
        // Not cached: the caller holds the only reference.
    }
    return token;
}

VSecurityToken* VSecurityManager::RetainToken(const unsigned char* name, const unsigned char* password,
                                              bool alreadyScrambled)
{
    int16_t user = -1;
    if (!FindUserByName(name, &user)) return nullptr;
    return RetainToken(user, password, alreadyScrambled);
}

bool VSecurityManager::FindUserByName(const unsigned char* name, int16_t* user)
{
    *user = -1;
    return fProvider && fProvider->FindUserByName(name, user);
}

bool VSecurityManager::Login(VSecurityToken* token, int16_t scheme, bool dontSendID)
{
    if (!token) return false;
    // Every task given the token, with its user before, until the server
    // has taken the identity.
    std::vector<std::pair<taskuser*, IRefCountable*>> before;
    auto give = [&](taskuser* task) {
        if (task->token) task->token->Retain();
        try {
            before.emplace_back(task, task->token);
        } catch (const std::bad_alloc&) {
            if (task->token) task->token->Release();
            return;
        }
        SetTaskToken(task, token);
    };
    if (curtu) give(curtu);
    if (scheme == 1)
        for (int32_t n = 1; n <= nbtask; ++n) {
            taskuser* task = TaskAt(n);
            if (task && task != curtu && !task->dead && SharesLogin(task->taskkind)) give(task);
        }
    const bool accepted = dontSendID || SendIDToServer(token);
    for (auto& [task, old] : before) {
        if (!accepted) SetTaskToken(task, dynamic_cast<VSecurityToken*>(old));
        if (old) old->Release();
    }
    if (accepted && fProvider) fProvider->DoLogin(token);
    return accepted;
}

void VSecurityManager::Logout()
{
    if (!TaskToken(curtu)) return;
    SetTaskToken(curtu, nullptr);
    if (fProvider) fProvider->DoLogout();
}

int16_t VSecurityManager::GetCurrentUserID()
{
    if (curtu && !curtu->dead)
        if (VSecurityToken* token = TaskToken(curtu)) return token->GetUser();
    if (fProvider && fProvider->IsFreeAccess()) return 1;
    const taskuser* first = nbtask > 0 ? TaskAt(1) : nullptr;
    VSecurityToken* token = first && !first->dead ? TaskToken(first) : nullptr;
    return token ? token->GetUser() : 1;
}

bool VSecurityManager::IsCurrentUserAdmin()
{
    if (curtu && !curtu->dead)
        if (VSecurityToken* token = TaskToken(curtu)) return token->IsAdmin();
    if ((fProvider && fProvider->IsFreeAccess()) || !MyAppl) return true;
    const taskuser* first = nbtask > 0 ? TaskAt(1) : nullptr;
    VSecurityToken* token = first && !first->dead ? TaskToken(first) : nullptr;
    return token && token->IsAdmin();
}

void VSecurityManager::PurgeTokens()
{
    std::vector<VSecurityToken*> tokens;
    tokens.swap(fTokens);
    for (VSecurityToken* token : tokens) token->Release();
}

// Request 196, 130 bytes: 0 the machine's login name (cut to 30), 32 the
// user's name, 64 the token's password (scrambled), 96 the task's name,
// each a length-prefixed string in a 32-byte field; 128-129 zero.
bool VSecurityManager::SendIDToServer(VSecurityToken* token)
{
    Handle record = token ? indpass(token->GetUser()) : nullptr;
    if (!record || !*record || platform::GetHandleSize(record) < kPassRecSize) return false;
    uint8_t body[kIdentitySize] = {};
    unsigned char login[256];
    GetNameInformation(5, login);
    static const unsigned char kUnknown[] = "\x04????";
    PutField(body, login[0] ? login : kUnknown, kLoginNameMax);
    unsigned char name[32];
    std::memcpy(name, *record + 4, sizeof name);
    PutField(body + 32, name, 31);
    if (const auto* own = dynamic_cast<const VSecurityToken_Qz*>(token)) PutField(body + 64, own->GetPassword(), 31);
    if (curtu) PutField(body + 96, curtu->name, 31);
    Handle reply = sendxrequest(kIdentityRequest, body, kIdentitySize, kIdentityTemplate, 0);
    const bool accepted = requesterr() == 0;
    platform::DisposeHandle(reply);
    return accepted;
}

void MakeSecurityManager()
{
    DisposeSecurityManager();
    gSecurityManager = new VSecurityManager;
    if (gSecurityManager && !gSecurityManager->BaseOpened(true)) DisposeSecurityManager();
}

void DisposeSecurityManager()
{
    delete gSecurityManager;
    gSecurityManager = nullptr;
}
