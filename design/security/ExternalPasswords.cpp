#include "design/security/ExternalPasswords.h"

#include <memory>

#include "design/security/SecurityManager.h"
#include "design/security/SecurityTokens.h"
#include "kernel/tree/BinTree.h"
#include "network/Requests.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using platform::Handle;

PassHookProc passhook = nullptr;
bool HasPassWordsExtern = false;

namespace {

constexpr int16_t kExternalLogin = 179;
constexpr int16_t kPrivilegeCheck = 180;
constexpr int16_t kWordTemplate = 39;
constexpr uint32_t kKeepTicks = 360000;

constexpr int16_t kBegin = 103;
constexpr int16_t kTakeReply = 104;
constexpr int16_t kNextMessage = 105;
// A server that never names the user ends the login after this many
// exchanges; no reply at all ends it at once.
constexpr int32_t kMaxExchanges = 1000;
constexpr int16_t kNoLogin = -5;

// The kept answers of OKPass_ext, ordered by group.
std::unique_ptr<BinTree<PassPrivilegeInfo>> CachePassExt = std::make_unique<BinTree<PassPrivilegeInfo>>();

// The kept answer of IsAdmin_ext: for one user at a time.
struct AdminAnswer {
    bool asked = false;
    int16_t user = 0;
    bool admin = false;
    uint32_t ticks = 0;
} gAdmin;

uint32_t Age(uint32_t since) { return platform::TickCount() - since; }

// Request 180 with a 16-bit number: its error.
int16_t AskPrivilege(int16_t number)
{
    uint8_t body[2];
    platform::WriteBE16(body, uint16_t(number));
    Handle reply = sendxrequest(kPrivilegeCheck, body, 2, kWordTemplate, 0);
    platform::DisposeHandle(reply);
    return requesterr();
}

}  // namespace

int16_t LoadExtPass()
{
    HasPassWordsExtern = false;
    return 0;
}

bool IsAdmin_ext(int16_t user)
{
    // One user's answer is no other's.
    if (!gAdmin.asked || gAdmin.user != user || Age(gAdmin.ticks) > kKeepTicks) {
        gAdmin.admin = AskPrivilege(user) == 0;
        gAdmin.asked = true;
        gAdmin.user = user;
        gAdmin.ticks = platform::TickCount();
    }
    return gAdmin.admin;
}

bool OKPass_ext(int16_t group)
{
    if (!CachePassExt) CachePassExt = std::make_unique<BinTree<PassPrivilegeInfo>>();
    PassPrivilegeInfo info;
    info.group = group;
    const bool kept = CachePassExt && CachePassExt->xGetAt(&info, &info) == 0;
    if (kept && Age(info.ticks) < kKeepTicks) return info.result == 0;
    info.group = group;
    info.result = AskPrivilege(group);
    info.ticks = platform::TickCount();
    if (kept) CachePassExt->xAlterCurrent(&info);
    else if (CachePassExt) CachePassExt->xPutAt(&info, &info);
    return info.result == 0;
}

int16_t TakePass_ext()
{
    if (!passhook) return platform::paramErr;
    Handle message = nullptr;
    int16_t err = passhook(kBegin, &message);
    for (int32_t round = 0; err == 0; ++round) {
        if (round == kMaxExchanges) {
            err = kNoLogin;
            break;
        }
        Handle reply = sendxrequest(kExternalLogin, message ? *message : nullptr,
                                    message ? int32_t(platform::GetHandleSize(message)) : 0, 0, kWordTemplate);
        platform::DisposeHandle(message);
        message = nullptr;
        err = requesterr();
        if (err || !reply) {
            platform::DisposeHandle(reply);
            if (!err) err = kNoLogin;
            break;
        }
        const int16_t user =
            platform::GetHandleSize(reply) >= 2 ? platform::ReadBES16(reinterpret_cast<uint8_t*>(*reply)) : 0;
        if (user != 0) {
            platform::DisposeHandle(reply);
            VSecurityToken* token = gSecurityManager ? gSecurityManager->RetainToken(user, nullptr, false) : nullptr;
            if (token) {
                gSecurityManager->Login(token, 1, true);
                token->Release();
            }
            break;
        }
        err = passhook(kTakeReply, &reply);
        platform::DisposeHandle(reply);
        if (!err) err = passhook(kNextMessage, &message);
    }
    platform::DisposeHandle(message);
    return err;
}

int32_t CachedPrivilegeCount() { return CachePassExt ? CachePassExt->GetNbElem() : 0; }

void ResetExternalPasswords()
{
    passhook = nullptr;
    HasPassWordsExtern = false;
    gAdmin = AdminAnswer();
    CachePassExt = std::make_unique<BinTree<PassPrivilegeInfo>>();
}
