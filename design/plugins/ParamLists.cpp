#include "design/plugins/ParamLists.h"

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace {

constexpr size_t kRecordHead = 4, kEntrySize = 4;

// Calls `entry` with the byte offset of every parameter entry and `record`
// with each record's routine number and first entry; false when a count
// does not fit the bytes.
template <typename Record, typename Entry>
bool WalkList(const uint8_t* p, size_t size, Record record, Entry entry)
{
    if (size < 2) return false;
    const int16_t routines = int16_t(platform::ReadBE16(p));
    if (routines < 0) return false;
    size_t at = 2;
    for (int16_t r = 0; r < routines; ++r) {
        if (size - at < kRecordHead) return false;
        const int16_t number = int16_t(platform::ReadBE16(p + at));
        const int16_t params = int16_t(platform::ReadBE16(p + at + 2));
        at += kRecordHead;
        if (params < 0 || (size - at) / kEntrySize < size_t(params)) return false;
        record(number, at, params);
        for (int16_t i = 0; i < params; ++i, at += kEntrySize) entry(at);
    }
    return true;
}

}  // namespace

int16_t StoredTypeKind(int16_t stored)
{
    static constexpr int16_t kKinds[][2] = {{2, 19},  {3, 8},   {8, 2},   {11, 3},  {12, 20},
                                            {13, 22}, {14, 21}, {15, 11}, {16, 23}, {17, 24},
                                            {18, 25}, {19, 12}, {20, 13}, {21, 14}, {22, 15}};
    for (const auto& k : kKinds)
        if (k[0] == stored) return k[1];
    return stored;
}

platform::Handle GetEPRM(int16_t id)
{
    using namespace platform;
    // Loaded here only: a handle someone else holds stays theirs.
    SetResLoad(false);
    Handle stored = GetResource(FourCC("EPRM"), id);
    SetResLoad(true);
    if (!stored) return nullptr;
    const bool wasLoaded = *stored && GetHandleSize(stored) > 0;
    if (!wasLoaded) LoadResource(stored);
    Handle copy = nullptr;
    const size_t size = *stored ? size_t(GetHandleSize(stored)) : 0;
    const auto* from = reinterpret_cast<const uint8_t*>(*stored);
    if (size > 0 && WalkList(from, size, [](int16_t, size_t, int16_t) {}, [](size_t) {})) {
        copy = stored;
        if (HandToHand(&copy) != noErr) copy = nullptr;
    }
    if (copy) {
        auto* to = reinterpret_cast<uint8_t*>(*copy);
        // Each type is read from the resource and its kind written into the
        // copy: a kind that is also a stored type is never turned twice.
        WalkList(from, size, [](int16_t, size_t, int16_t) {}, [&](size_t at) {
            WriteBE16(to + at + 2, uint16_t(StoredTypeKind(int16_t(ReadBE16(from + at + 2)))));
        });
    }
    // An empty resource may be one someone else holds: it stays.
    if (!wasLoaded && size > 0) ReleaseResource(stored);
    return copy;
}

std::vector<std::pair<int16_t, int16_t>> RoutineParamKinds(platform::Handle converted, int16_t routine)
{
    std::vector<std::pair<int16_t, int16_t>> kinds;
    if (!converted || !*converted) return kinds;
    const auto* p = reinterpret_cast<const uint8_t*>(*converted);
    const size_t size = size_t(platform::GetHandleSize(converted));
    bool found = false;
    WalkList(p, size, [&](int16_t number, size_t at, int16_t params) {
        if (found || number != routine) return;
        found = true;
        for (int16_t i = 0; i < params; ++i, at += kEntrySize)
            kinds.emplace_back(int16_t(platform::ReadBE16(p + at)), int16_t(platform::ReadBE16(p + at + 2)));
    }, [](size_t) {});
    return kinds;
}
