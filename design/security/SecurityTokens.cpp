#include "design/security/SecurityTokens.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "design/documents/Passwords.h"
#include "design/security/ExternalPasswords.h"
#include "design/security/SecurityProviders.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using platform::Handle;

namespace {

constexpr int16_t kGroupBase = 15000;
constexpr int32_t kMembersAt = 36;
constexpr int32_t kCountAt = 32;
constexpr int32_t kOwnerAt = 108;
constexpr int32_t kPasswordAt = 36;

Handle GroupRecord(Handle table, int16_t count, int32_t g)
{
    if (!table || g < 1 || g > count || platform::GetHandleSize(table) < platform::Size(g) * platform::Size(sizeof(Handle)))
        return nullptr;
    return reinterpret_cast<Handle*>(*table)[g - 1];
}

}  // namespace

// --- group membership ------------------------------------------------------

VSecurityToken_QzInfo* VSecurityToken_QzInfo::New(int16_t user)
{
    auto* info = new VSecurityToken_QzInfo(user);
    if (!info) return nullptr;
    if (!info->Build()) {
        delete info;
        return nullptr;
    }
    return info;
}

bool VSecurityToken_QzInfo::Bit(const std::vector<uint8_t>& set, int32_t g) const
{
    return size_t(g / 8) < set.size() && (set[size_t(g / 8)] >> (g % 8) & 1);
}

// Every group that holds the user, directly or through other groups, is
// found in one walk up from the user: each group's containers are listed
// once, then each group is entered at most once, so a group that holds
// itself (directly or not) ends its branch.
bool VSecurityToken_QzInfo::Build()
{
    fPassCount = passcount;
    fAllGroups = fUser == 0 || fUser == 1 || globnbpass == 0;
    if (fAllGroups) return true;
    try {
        const int32_t count0 = std::max<int16_t>(globnbgroup, 0), count1 = std::max<int16_t>(globnbgroupu, 0);
        const int32_t total = count0 + count1;
        fGroupCount0 = int16_t(count0);
        fGroupCount1 = int16_t(count1);
        fGroups0.assign(size_t((count0 + 8) / 8 + 2), 0);
        fGroups1.assign(size_t((count1 + 8) / 8 + 2), 0);
        // Group numbers to a single index: table 0 first, then table 1.
        auto indexOf = [&](int16_t number) -> int32_t {
            if (number > kGroupBase && number - kGroupBase <= count0) return number - kGroupBase - 1;
            if (number < -kGroupBase && -int32_t(number) - kGroupBase <= count1)
                return count0 + (-int32_t(number) - kGroupBase - 1);
            return -1;
        };
        auto members = [&](int32_t index, auto&& each) {
            Handle record = index < count0 ? GroupRecord(gu, globnbgroup, index + 1)
                                           : GroupRecord(guu, globnbgroupu, index - count0 + 1);
            if (!record || !*record || platform::GetHandleSize(record) < kMembersAt) return;
            const auto* p = reinterpret_cast<const uint8_t*>(*record);
            const int32_t room = int32_t((platform::GetHandleSize(record) - kMembersAt) / 2);
            const int32_t n = std::min<int32_t>(platform::ReadBES16(p + kCountAt), room);
            for (int32_t k = 0; k < n; ++k) each(platform::ReadBES16(p + kMembersAt + 2 * k));
        };
        // The containers of each group, in one array indexed by `first`.
        std::vector<int32_t> first(size_t(total) + 1, 0), containers;
        std::vector<int32_t> reached;
        for (int32_t x = 0; x < total; ++x)
            members(x, [&](int16_t m) {
                if (const int32_t c = indexOf(m); c >= 0) ++first[size_t(c) + 1];
            });
        for (int32_t c = 0; c < total; ++c) first[size_t(c) + 1] += first[size_t(c)];
        containers.resize(size_t(first[size_t(total)]));
        std::vector<int32_t> filled(first.begin(), first.end() - 1);
        std::vector<uint8_t> marked(size_t(total), 0);
        for (int32_t x = 0; x < total; ++x)
            members(x, [&](int16_t m) {
                const int32_t c = indexOf(m);
                if (c >= 0) containers[size_t(filled[size_t(c)]++)] = x;
                else if (m == fUser && !marked[size_t(x)]) marked[size_t(x)] = 1, reached.push_back(x);
            });
        for (size_t at = 0; at < reached.size(); ++at) {
            const int32_t c = reached[at];
            for (int32_t e = first[size_t(c)]; e < first[size_t(c) + 1]; ++e) {
                const int32_t x = containers[size_t(e)];
                if (!marked[size_t(x)]) marked[size_t(x)] = 1, reached.push_back(x);
            }
        }
        for (const int32_t x : reached) {
            std::vector<uint8_t>& set = x < count0 ? fGroups0 : fGroups1;
            const int32_t g = x < count0 ? x + 1 : x - count0 + 1;
            set[size_t(g / 8)] = uint8_t(set[size_t(g / 8)] | 1 << (g % 8));
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool VSecurityToken_QzInfo::IsInGroup(int16_t group) const
{
    if (fAllGroups || group == 0) return true;
    if (group > 0) return group <= fGroupCount0 && Bit(fGroups0, group);
    const int32_t g = -int32_t(group);
    return g <= fGroupCount1 && Bit(fGroups1, g);
}

bool VSecurityToken_QzInfo::_TestGroup(int16_t number) const
{
    if (number > kGroupBase && number - kGroupBase <= fGroupCount0) return IsInGroup(int16_t(number - kGroupBase));
    if (number < -kGroupBase && -int32_t(number) - kGroupBase <= fGroupCount1)
        return IsInGroup(int16_t(number + kGroupBase));
    return number == fUser;
}

bool VSecurityToken_QzInfo::IsValid() const { return fPassCount == passcount; }

// --- tokens ----------------------------------------------------------------

VSecurityToken::~VSecurityToken() { delete fInfo; }

bool VSecurityToken::MakeInfo()
{
    delete fInfo;
    fInfo = VSecurityToken_QzInfo::New(fUser);
    return fInfo != nullptr;
}

bool VSecurityToken::CheckInfo()
{
    if (!fInfo) return false;
    CheckReloadPass(false);
    if (!fInfo->IsValid()) MakeInfo();
    return fInfo != nullptr;
}

VSecurityToken_Qz::VSecurityToken_Qz(int16_t user, VSecurityProvider_Qz* provider)
    : VSecurityToken(user), fProvider(provider)
{
    if (fProvider) fProvider->Retain();
}

VSecurityToken_Qz::~VSecurityToken_Qz()
{
    if (fProvider) fProvider->Release();
}

bool VSecurityToken_Qz::IsDesigner() { return fUser == 0 || fUser == 1; }

// Read as unsigned: no user of table 1 is an administrator.
bool VSecurityToken_Qz::IsAdmin() { return uint16_t(fUser) <= 2; }

int32_t VSecurityToken_Qz::GetDefaultOwner()
{
    Handle record = indpass(fUser);
    if (!record || !*record || platform::GetHandleSize(record) < kPassRecSize) return 0;
    return platform::ReadBES32(reinterpret_cast<const uint8_t*>(*record) + kOwnerAt);
}

bool VSecurityToken_Qz::ValidatePassword(const unsigned char* password, bool alreadyScrambled)
{
    if (!password) return true;
    unsigned char scrambled[32] = {};
    if (alreadyScrambled) {
        scrambled[0] = std::min<uint8_t>(password[0], 31);
        std::memcpy(scrambled + 1, password + 1, scrambled[0]);
    } else {
        encryptepass(scrambled, password);
    }
    if (!fProvider || !fProvider->ValidatePassword(fUser, scrambled)) return false;
    std::memcpy(fPassword, scrambled, sizeof fPassword);
    return true;
}

bool VSecurityToken_Qz::ChangePassword(const unsigned char* password)
{
    if (!password || password[0] > 15) return false;
    unsigned char scrambled[16] = {};
    encryptepass(scrambled, password);
    Handle record = nullptr;
    lire1pass(fUser, &record);
    // Without the user's record nothing can change.
    if (!record) return false;
    std::memcpy(*record + kPasswordAt, scrambled, sizeof scrambled);
    const int16_t err = ecris1pass(fUser, record);
    kill1pass(record);
    if (err) return false;
    std::memset(fPassword, 0, sizeof fPassword);
    std::memcpy(fPassword, scrambled, sizeof scrambled);
    return true;
}

bool VSecurityToken_Qz::IsInGroup(int16_t group) { return CheckInfo() && fInfo->IsInGroup(group); }

VSecurityToken_External::VSecurityToken_External(int16_t user, VSecurityProvider_External* provider)
    : VSecurityToken(user), fProvider(provider)
{
    if (fProvider) fProvider->Retain();
}

VSecurityToken_External::~VSecurityToken_External()
{
    if (fProvider) fProvider->Release();
}

bool VSecurityToken_External::IsDesigner() { return IsAdmin_ext(fUser); }

bool VSecurityToken_External::IsAdmin() { return IsAdmin_ext(fUser); }

int32_t VSecurityToken_External::GetDefaultOwner() { return 0; }

bool VSecurityToken_External::ValidatePassword(const unsigned char*, bool) { return true; }

bool VSecurityToken_External::ChangePassword(const unsigned char*) { return false; }

bool VSecurityToken_External::IsInGroup(int16_t group)
{
    if (fProvider && fProvider->UseQzGroups()) return CheckInfo() && fInfo->IsInGroup(group);
    return group == 0 || IsAdmin_ext(fUser) || OKPass_ext(group);
}
