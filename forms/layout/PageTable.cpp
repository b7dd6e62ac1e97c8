#include "forms/layout/PageTable.h"

#include <cstring>

#include "platform/core/Memory.h"

namespace {

constexpr int32_t kEntriesAt = 8;

bool Holds(platform::Handle pages, int32_t page)
{
    if (!pages || !*pages || page < 0 || page > LastPageIndex(pages)) return false;
    return platform::GetHandleSize(pages) >= kEntriesAt + int64_t(page + 1) * int64_t(sizeof(PageEntry));
}

}  // namespace

platform::Handle NewPageTable(int16_t lastIndex)
{
    if (lastIndex < 0) return nullptr;
    platform::Handle h = platform::NewHandleClear(kEntriesAt + (int32_t(lastIndex) + 1) * int32_t(sizeof(PageEntry)));
    if (h) std::memcpy(*h, &lastIndex, sizeof lastIndex);
    return h;
}

int16_t LastPageIndex(platform::Handle pages)
{
    if (!pages || !*pages || platform::GetHandleSize(pages) < kEntriesAt) return -1;
    int16_t n = 0;
    std::memcpy(&n, *pages, sizeof n);
    return n;
}

bool GetPage(platform::Handle pages, int32_t page, PageEntry* out)
{
    if (!Holds(pages, page)) return false;
    std::memcpy(out, *pages + kEntriesAt + page * int32_t(sizeof(PageEntry)), sizeof(PageEntry));
    return true;
}

bool SetPage(platform::Handle pages, int32_t page, const PageEntry& entry)
{
    if (!Holds(pages, page)) return false;
    std::memcpy(*pages + kEntriesAt + page * int32_t(sizeof(PageEntry)), &entry, sizeof(PageEntry));
    return true;
}
