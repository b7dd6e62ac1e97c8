#include "kernel/byteswap/SwapTable.h"

#include <cstring>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VCppMemMgr.h"
#include "toolbox/foundation/VMemoryMgr.h"

platform::Handle globTokHdl = nullptr;

namespace {

constexpr int32_t kSlotsOffset = 8;
TokenInv* gBuiltTemplates = nullptr;

int32_t TableCount()
{
    if (!globTokHdl) return 0;
    int32_t n;
    std::memcpy(&n, *globTokHdl, 4);
    return n;
}

TokenInv* Slot(int32_t number)
{
    TokenInv* t;
    std::memcpy(&t, *globTokHdl + kSlotsOffset + (number - 1) * int32_t(sizeof t), sizeof t);
    return t;
}

void SetSlot(int32_t number, TokenInv* t)
{
    std::memcpy(*globTokHdl + kSlotsOffset + (number - 1) * int32_t(sizeof t), &t, sizeof t);
}

}  // namespace

int16_t StoreSwapTemplate(int32_t number, TokenInv* templ)
{
    if (number < 1) return platform::paramErr;
    if (!globTokHdl) {
        globTokHdl = platform::NewHandleClear(kSlotsOffset);
        if (!globTokHdl) return platform::MemError();
    }
    const int32_t count = TableCount();
    if (number > count) {
        const int64_t bytes = kSlotsOffset + int64_t(number) * int64_t(sizeof(TokenInv*));
        if (bytes > INT32_MAX) return platform::memFullErr;
        platform::SetHandleSize(globTokHdl, platform::Size(bytes));
        if (platform::OSErr err = platform::MemError()) return err;
        for (int32_t i = count + 1; i <= number; ++i) SetSlot(i, nullptr);
        std::memcpy(*globTokHdl, &number, 4);
    }
    SetSlot(number, templ);
    return 0;
}

TokenInv* GetToken(int32_t number)
{
    if (number < 1 || number > TableCount()) return nullptr;
    return Slot(number);
}

int32_t SwapTemplateCount() { return TableCount(); }

TokenInv* FindToken(const unsigned char* name)
{
    if (!name) return nullptr;
    const int32_t count = TableCount();
    for (int32_t i = 1; i <= count; ++i) {
        TokenInv* t = Slot(i);
        if (t && t->name && t->name[0] == name[0] && std::memcmp(t->name + 1, name + 1, name[0]) == 0)
            return t;
    }
    return nullptr;
}

TokenInv* NewSwapEntry(uint32_t kind, bool group)
{
    auto* e = reinterpret_cast<TokenInv*>(platform::NewPtrClear(sizeof(TokenInv)));
    if (!e) return nullptr;
    e->kind = kind;
    if (group) {
        e->children = reinterpret_cast<TokenInv**>(
            platform::NewPtrClear(kMaxSwapChildren * int32_t(sizeof(TokenInv*))));
        if (!e->children) {
            platform::DisposePtr(reinterpret_cast<platform::Ptr>(e));
            return nullptr;
        }
    }
    return e;
}

bool SetSwapEntryName(TokenInv* entry, const unsigned char* word, int32_t length)
{
    if (!gCppMem) InitMemoryManagers();
    auto* name = static_cast<unsigned char*>(gCppMem->NewPtr(uint32_t(length + 1), 0));
    if (!name) return false;
    name[0] = uint8_t(length);
    std::memcpy(name + 1, word, size_t(length));
    entry->name = name;
    return true;
}

bool FinishSwapGroup(TokenInv* group)
{
    if (!group->children) return true;
    if (group->childCount == 0) {
        platform::DisposePtr(reinterpret_cast<platform::Ptr>(group->children));
        group->children = nullptr;
        return true;
    }
    const int32_t bytes = group->childCount * int32_t(sizeof(TokenInv*));
    auto* exact = reinterpret_cast<TokenInv**>(platform::NewPtr(bytes));
    if (!exact) return false;
    std::memcpy(exact, group->children, size_t(bytes));
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(group->children));
    group->children = exact;
    return true;
}

void DisposeSwapEntry(TokenInv* entry)
{
    if (!entry) return;
    for (int32_t i = 0; i < entry->childCount; ++i) DisposeSwapEntry(entry->children[i]);
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(entry->children));
    if (entry->name && gCppMem) gCppMem->DisposePtr(entry->name);
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(entry));
}

void RegisterSwapTemplate(TokenInv* templ)
{
    templ->nextBuilt = gBuiltTemplates;
    gBuiltTemplates = templ;
}

std::vector<int32_t> SwapTemplateNumbersRead()
{
    std::vector<int32_t> numbers;
    for (const TokenInv* t = gBuiltTemplates; t; t = t->nextBuilt) numbers.push_back(t->argument);
    return {numbers.rbegin(), numbers.rend()};
}

void ResetSwapTable()
{
    while (gBuiltTemplates) {
        TokenInv* next = gBuiltTemplates->nextBuilt;
        DisposeSwapEntry(gBuiltTemplates);
        gBuiltTemplates = next;
    }
    platform::DisposeHandle(globTokHdl);
    globTokHdl = nullptr;
}
