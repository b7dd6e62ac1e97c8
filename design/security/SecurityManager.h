// The security manager: the provider of the open structure's users, one
// cached token per user, and the user logged in on each task (the task
// record holds one reference to its token).
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VSecurityProvider;
class VSecurityToken;
class taskuser;

class VSecurityManager : public VObject {
public:
    VSecurityManager() = default;
    // Purges the tokens, then releases the provider.
    ~VSecurityManager() override;
    VSecurityManager(const VSecurityManager&) = delete;
    VSecurityManager& operator=(const VSecurityManager&) = delete;

    // Makes the provider: the external system's when LoadExtPass finds one
    // (never here), else the built-in one. False when memory is short.
    bool BaseOpened(bool emptyTables);
    // Takes over the provider's reference, releasing the one held before.
    void UseProvider(VSecurityProvider* provider);
    VSecurityProvider* GetProvider() const { return fProvider; }

    // The cached token of the user when it accepts the password, else a
    // new one from the provider, which then enters the cache. The token
    // answered carries a reference for the caller; null when refused.
    VSecurityToken* RetainToken(int16_t user, const unsigned char* password, bool alreadyScrambled);
    // The same for the first live user of that name; null when none.
    VSecurityToken* RetainToken(const unsigned char* name, const unsigned char* password, bool alreadyScrambled);
    bool FindUserByName(const unsigned char* name, int16_t* user);

    // Logs the token in on the current task (scheme 1: also on every live
    // task of the user's kinds) and, unless `dontSendID`, tells the server
    // who it is. When that is refused every task keeps the user it had.
    bool Login(VSecurityToken* token, int16_t scheme, bool dontSendID);
    void Logout();
    // The user of the current task, else of the first; 1 (the designer)
    // with free access or no logged-in task.
    int16_t GetCurrentUserID();
    bool IsCurrentUserAdmin();
    void PurgeTokens();
    // Request 196: the machine's login name, the user's name, the token's
    // password and the task's name; true when the server took them.
    bool SendIDToServer(VSecurityToken* token);

    int32_t CachedTokenCount() const { return int32_t(fTokens.size()); }

private:
    std::vector<VSecurityToken*> fTokens;
    VSecurityProvider* fProvider = nullptr;
};

// Made at the kernel's start-up.
extern VSecurityManager* gSecurityManager;
// The kernel start-up's service: the manager with empty tables.
void MakeSecurityManager();
// Deletes the manager (shut-down, tests).
void DisposeSecurityManager();

// The token logged in on a task (null when none); the task record holds
// one reference.
VSecurityToken* TaskToken(const taskuser* task);
// Gives the task the token (retained; null clears), releasing its old one.
void SetTaskToken(taskuser* task, VSecurityToken* token);
// Task n (from 1) as a full record, or null.
taskuser* TaskAt(int16_t n);
