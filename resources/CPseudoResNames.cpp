// CPseudoResFile: resource names, kept in the file's resource 'NAM#' 128.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "resources/StoreGuard.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"

using namespace platform;

namespace {

constexpr ResType kNamesType = FourCC("NAM#");
constexpr int16_t kNamesId = 128;
constexpr uint32_t kNameEntrySize = 34;
constexpr uint8_t kMaxNameLength = 31;

struct NameEntry {
    int16_t id = 0;
    uint8_t name[32] = {};
};

struct NameGroup {
    ResType type = 0;
    std::vector<NameEntry> entries;
};

// Reads the names resource; a table cut short keeps what fits.
std::vector<NameGroup> ParseNames(Handle h)
{
    std::vector<NameGroup> groups;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*h);
    const uint8_t* end = p + GetHandleSize(h);
    if (end - p < 4) return groups;
    uint32_t count = ReadBE32(p);
    p += 4;
    for (uint32_t g = 0; g < count && end - p >= 8; ++g) {
        NameGroup group;
        group.type = ReadBE32(p);
        uint32_t n = ReadBE32(p + 4);
        p += 8;
        for (uint32_t e = 0; e < n && end - p >= int64_t(kNameEntrySize); ++e) {
            NameEntry entry;
            entry.id = ReadBES16(p);
            std::memcpy(entry.name, p + 2, 32);
            if (entry.name[0] > kMaxNameLength) entry.name[0] = kMaxNameLength;
            group.entries.push_back(entry);
            p += kNameEntrySize;
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<uint8_t> EncodeNames(const std::vector<NameGroup>& groups)
{
    std::vector<uint8_t> out(4);
    WriteBE32(out.data(), uint32_t(groups.size()));
    for (const NameGroup& group : groups) {
        size_t at = out.size();
        out.resize(at + 8 + kNameEntrySize * group.entries.size());
        WriteBE32(&out[at], group.type);
        WriteBE32(&out[at + 4], uint32_t(group.entries.size()));
        at += 8;
        for (const NameEntry& entry : group.entries) {
            WriteBE16(&out[at], uint16_t(entry.id));
            std::memcpy(&out[at + 2], entry.name, 32);
            at += kNameEntrySize;
        }
    }
    return out;
}

NameEntry* FindEntry(std::vector<NameGroup>& groups, ResType type, int16_t id)
{
    for (NameGroup& group : groups)
        if (group.type == type)
            for (NameEntry& entry : group.entries)
                if (entry.id == id) return &entry;
    return nullptr;
}

void SetName(NameEntry& entry, const unsigned char* name)
{
    std::memset(entry.name, 0, sizeof entry.name);
    uint8_t length = name ? std::min(name[0], kMaxNameLength) : 0;
    entry.name[0] = length;
    if (length) std::memcpy(entry.name + 1, name + 1, length);
}

}  // namespace

bool CPseudoResFile::GetResName(ResType type, int16_t id, unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        name[0] = 0;
        int32_t t, r;
        if (!FindID(type, id, &t, &r, true)) return false;
        Handle names = GetRes(kNamesType, kNamesId, true);
        // A name list that cannot be loaded is no answer of "unnamed".
        if (!names && CPseudoResManager::LastError() == kResMemFull) return false;
        if (names && fLocal) {
            // A document of many named resources asks for every name in
            // turn: each look-up reads one entry of the index.
            if (const uint8_t* entry = IndexedName(names, type, id)) {
                const uint8_t length = std::min(entry[2], kMaxNameLength);
                name[0] = length;
                std::memcpy(name + 1, entry + 3, length);
            }
        } else if (names) {
            std::vector<NameGroup> groups = ParseNames(names);
            if (NameEntry* entry = FindEntry(groups, type, id)) std::memcpy(name, entry->name, size_t(entry->name[0]) + 1);
        }
        CPseudoResManager::SetLastError(noErr);
        return true;
    });
}

const uint8_t* CPseudoResFile::IndexedName(Handle names, ResType type, int16_t id)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*names);
    const int32_t size = GetHandleSize(names);
    NameIndex& index = fNameIndex;
    if (index.handle != names || index.contents != p || index.size != size) {
        ForgetNameIndex();
        // Read as ParseNames reads: a table cut short keeps what fits, and
        // the first entry of a (type, id) is the one that counts.
        const uint8_t* at = p;
        const uint8_t* end = p + size;
        const uint32_t count = end - at >= 4 ? ReadBE32(at) : 0;
        at += 4;
        for (uint32_t g = 0; g < count && end - at >= 8; ++g) {
            const uint64_t groupType = ReadBE32(at);
            const uint32_t n = ReadBE32(at + 4);
            at += 8;
            for (uint32_t e = 0; e < n && end - at >= int64_t(kNameEntrySize); ++e) {
                index.at.emplace(groupType << 16 | ReadBE16(at), uint32_t(at - p));
                at += kNameEntrySize;
            }
        }
        index.handle = names;
        index.contents = p;
        index.size = size;
    }
    const auto found = index.at.find(uint64_t(type) << 16 | uint16_t(id));
    return found == index.at.end() ? nullptr : p + found->second;
}

void CPseudoResFile::ForgetNameIndex()
{
    fNameIndex.handle = nullptr;
    fNameIndex.contents = nullptr;
    fNameIndex.size = -1;
    fNameIndex.at.clear();
}

void CPseudoResFile::ForgetNameIndexFor(ResType type)
{
    if (type == kNamesType && fNameIndex.handle) ForgetNameIndex();
}

bool CPseudoResFile::SetResName(ResType type, int16_t id, const unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!FindID(type, id, &t, &r, true)) return false;
        ForgetNameIndex();
        Handle names = GetRes(kNamesType, kNamesId, true);
        std::vector<NameGroup> groups;
        if (names) groups = ParseNames(names);
        if (NameEntry* entry = FindEntry(groups, type, id)) {
            SetName(*entry, name);
        } else {
            NameEntry fresh;
            fresh.id = id;
            SetName(fresh, name);
            NameGroup* group = nullptr;
            for (NameGroup& g : groups)
                if (g.type == type) group = &g;
            if (group) {
                group->entries.insert(group->entries.begin(), fresh);
            } else {
                groups.push_back(NameGroup{type, {fresh}});
            }
        }
        std::vector<uint8_t> bytes = EncodeNames(groups);
        if (!names) {
            Handle h = nullptr;
            if (PtrToHand(bytes.data(), &h, Size(bytes.size())) != noErr) {
                CPseudoResManager::SetLastError(kResMemFull);
                return false;
            }
            if (!AddRes(h, kNamesType, kNamesId, true)) {
                DisposeHandle(h);
                return false;
            }
            return true;
        }
        // The names only grow here: when the write-back fails, putting the
        // old bytes back shrinks the handle, which cannot fail.
        const std::vector<uint8_t> old(reinterpret_cast<uint8_t*>(*names),
                                       reinterpret_cast<uint8_t*>(*names) + GetHandleSize(names));
        if (PtrToXHand(bytes.data(), names, Size(bytes.size())) != noErr) {
            CPseudoResManager::SetLastError(kResMemFull);
            return false;
        }
        if (WriteResource(names, 0, 0)) return true;
        const OSErr err = CPseudoResManager::LastError();
        PtrToXHand(old.data(), names, Size(old.size()));
        CPseudoResManager::SetLastError(err);
        return false;
    });
}

// Drops the name of (type, id), or every name of the type when id is null,
// and writes the names back. Leaves the store's error as it was and never
// throws.
void CPseudoResFile::RemoveNames(ResType type, const int16_t* id)
{
    if (type == kNamesType) return;
    const OSErr before = CPseudoResManager::LastError();
    // A name left behind costs nothing; the removal itself stands.
    try {
        ForgetNameIndex();
        int32_t t, r;
        if (fMap.FindID(kNamesType, kNamesId, true, &t, &r)) {
            Handle names = GetRes(kNamesType, kNamesId, true);
            if (names) {
                std::vector<NameGroup> groups = ParseNames(names);
                bool removed = false;
                for (NameGroup& group : groups) {
                    if (group.type != type) continue;
                    for (size_t e = group.entries.size(); e-- > 0;)
                        if (!id || group.entries[e].id == *id) {
                            group.entries.erase(group.entries.begin() + int64_t(e));
                            removed = true;
                        }
                }
                if (removed) {
                    std::vector<uint8_t> bytes = EncodeNames(groups);
                    if (PtrToXHand(bytes.data(), names, Size(bytes.size())) == noErr) WriteResource(names, 0, 0);
                }
            }
        }
    } catch (...) {
    }
    CPseudoResManager::SetLastError(before);
}

CPseudoResFile::Handle CPseudoResFile::GetResNameList(ResType type)
{
    return Guarded<CPseudoResFile::Handle>(nullptr, [&]() -> CPseudoResFile::Handle {
        std::vector<NameGroup> groups;
        int32_t nt, nr;
        if (fMap.FindID(kNamesType, kNamesId, true, &nt, &nr))
            if (Handle names = GetRes(kNamesType, kNamesId, true)) groups = ParseNames(names);
        int32_t t = fMap.FindType(type);
        const size_t count = t >= 0 ? fMap.TypeAt(t).records.size() : 0;
        Handle list = NewHandleClear(Size(count * 32));
        if (!list) {
            CPseudoResManager::SetLastError(kResMemFull);
            return nullptr;
        }
        for (size_t r = 0; r < count; ++r)
            if (NameEntry* entry = FindEntry(groups, type, fMap.At(t, int32_t(r)).id))
                std::memcpy(*list + 32 * r, entry->name, size_t(entry->name[0]) + 1);
        CPseudoResManager::SetLastError(noErr);
        return list;
    });
}
