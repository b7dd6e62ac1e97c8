#include "design/documents/DocResources.h"

#include <map>

#include "design/objects/TableDescriptions.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

platform::FSSpec gStructFileSpec;
bool from503 = false;
bool from55 = false;
bool from40 = false;

namespace {

// Container number -> its parameter record. Few documents are open at once.
std::map<int16_t, platform::Handle>& Records()
{
    static std::map<int16_t, platform::Handle> records;
    return records;
}

}  // namespace

void UseQzRes(int16_t container)
{
    numresfalse = container;
    // The manager's database file follows, so that its look-ups that do not
    // name a file reach this document's.
    if (useres(container) && g_resManager) g_resManager->SetDBResFalse(g_resManager->CurrentFile());
    auto& records = Records();
    const auto it = records.find(container);
    hparam = it != records.end() ? it->second : nullptr;
}

void SetDocParamRecord(int16_t container, platform::Handle record)
{
    auto& records = Records();
    const auto it = records.find(container);
    if (it != records.end()) {
        if (it->second == record) return;
        if (hparam == it->second) hparam = record;
        platform::DisposeHandle(it->second);
        it->second = record;
        return;
    }
    try {
        records.emplace(container, record);
    } catch (const std::bad_alloc&) {
        platform::DisposeHandle(record);
    }
}

platform::Handle DocParamRecord(int16_t container)
{
    const auto& records = Records();
    const auto it = records.find(container);
    return it != records.end() ? it->second : nullptr;
}

void ForgetDocParamRecord(int16_t container)
{
    auto& records = Records();
    const auto it = records.find(container);
    if (it == records.end()) return;
    if (hparam == it->second) hparam = nullptr;
    platform::DisposeHandle(it->second);
    records.erase(it);
}

bool IsDocParamRecord(platform::Handle h)
{
    if (!h) return false;
    for (const auto& [number, record] : Records())
        if (record == h) return true;
    return false;
}

void ResetDocResources()
{
    auto& records = Records();
    for (const auto& [number, record] : records) {
        if (hparam == record) hparam = nullptr;
        platform::DisposeHandle(record);
    }
    records.clear();
    numresfalse = 0;
    gStructFileSpec = {};
    from503 = from55 = from40 = false;
    DisposeStyleSheets();
}
