// Container documents (structure and library files) in either byte order:
// opened, every resource and name read, one resource rewritten larger, one
// removed, one added and named, committed, and opened again for reading.
// A commit answered as done must read back as the session left the file:
// every untouched resource with the same contents, the removed one gone,
// the new one there.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

namespace {

const ResType kFuzzType = platform::FourCC("fuzz");
// The resource holding the names: the store writes it anew when a name
// changes, so it is neither rewritten nor removed here.
const ResType kNamesType = platform::FourCC("NAM#");

using Key = std::pair<ResType, int16_t>;

struct Snapshot {
    std::map<Key, fuzz::Bytes> contents;
    bool duplicates = false;
};

// Reads every resource and name of the current file.
Snapshot ReadAll()
{
    Snapshot seen;
    const int32_t types = comptetypes();
    for (int32_t t = 1; t <= types; ++t) {
        const ResType type = xgetindtyp(t);
        const int16_t count = compteres(type, true);
        for (int32_t i = 1; i <= count; ++i) {
            Handle h = xgetindres(type, i, true);
            if (!h) continue;
            int16_t id = 0;
            ResType back = 0;
            xgetresinfo(h, &id, &back);
            xgetrestimestamp(h);
            unsigned char name[256];
            xgetresname(type, id, name, true);
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            const bool fresh = seen.contents.emplace(Key(type, id), fuzz::Bytes(p, p + platform::GetHandleSize(h))).second;
            if (!fresh) seen.duplicates = true;
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!fuzz::LoadShippedTemplates()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static platform::VirtualClock clock(100000);
    platform::SetClock(&clock);
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::ScratchFolder() + "/doc.qzb";
    fuzz::WriteFile(path, fuzz::Bytes(data, data + size));
    FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);

    ResetResManager();
    initresman();
    int16_t ref = openres(fileSpec, false);
    if (ref != 0) {
        Snapshot expected = ReadAll();

        // The first resource rewritten 16 bytes larger (its new contents are
        // not compared: their conversion by type may not be reversible), the
        // second removed.
        expected.contents.erase(expected.contents.lower_bound(Key(kNamesType, INT16_MIN)),
                                expected.contents.upper_bound(Key(kNamesType, INT16_MAX)));
        auto it = expected.contents.begin();
        if (it != expected.contents.end()) {
            Handle h = xget1res(it->first.first, it->first.second);
            if (h) {
                platform::SetHandleSize(h, platform::GetHandleSize(h) + 16);
                if (platform::MemError() == platform::noErr) xwriteres(h);
            }
            it = expected.contents.erase(it);
        }
        Key removed(0, 0);
        bool didRemove = false;
        if (it != expected.contents.end() && it->first.first != kFuzzType) {
            removed = it->first;
            didRemove = rmveresbyid(removed.first, removed.second, true);
            expected.contents.erase(it);
        }

        const fuzz::Bytes extra = {0, 1, 2, 3, 4, 5, 6, 7};
        Handle h = nullptr;
        platform::PtrToHand(extra.data(), &h, platform::Size(extra.size()));
        const int16_t id = uniqueresid(kFuzzType);
        const bool added = xaddres(h, kFuzzType, id);
        if (!added) platform::DisposeHandle(h);
        const unsigned char name[] = "\x04" "fuzz";
        xsetresname(kFuzzType, id, name, true);
        const bool committed = closeres(ref, true);

        ref = openres(fileSpec, true);
        if (committed && ref == 0) std::abort();
        if (ref != 0) {
            const Snapshot after = ReadAll();
            if (committed && !expected.duplicates && !after.duplicates) {
                for (const auto& [key, bytes] : expected.contents) {
                    if (key.first == kFuzzType) continue;
                    auto found = after.contents.find(key);
                    if (found == after.contents.end() || found->second != bytes) std::abort();
                }
                if (didRemove && after.contents.count(removed)) std::abort();
                if (added) {
                    auto found = after.contents.find(Key(kFuzzType, id));
                    if (found == after.contents.end() || found->second != extra) std::abort();
                }
            }
            closeres(ref, false);
        }
    }
    ResetResManager();
    platform::SetClock(nullptr);
    return 0;
}
