#include "toolbox/drawing/VResourceFile.h"

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VMemoryMgr.h"

VResourceFile* gResFile = nullptr;

namespace {

constexpr uint32_t kStringListType = platform::FourCC("STR#");
constexpr uint32_t kStringType = platform::FourCC("STR ");

// Reads a signed decimal number of at most 6 digits from text[pos, end);
// false when there is no digit. The value is taken as 16 bits.
bool ReadNumber(const uint8_t* text, int32_t& pos, int32_t end, int16_t& value)
{
    bool negative = false;
    if (pos < end && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    int32_t number = 0;
    int32_t digits = 0;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9') {
        if (digits < 6) number = number * 10 + (text[pos] - '0');
        ++digits;
        ++pos;
    }
    if (digits == 0) return false;
    value = static_cast<int16_t>(static_cast<uint16_t>(negative ? -number : number));
    return true;
}

}  // namespace

VResourceFile::VResourceFile() = default;

// The cached list belongs to the resource manager: it is not released here.
VResourceFile::~VResourceFile() = default;

int16_t VResourceFile::AddResource(char**& handle, uint32_t type, int16_t id, const VString* name)
{
    if (handle == nullptr) return -1;
    char* data = gMemory->LockHandle(handle);
    int16_t newID = CreateResource(type, id, name, data, gMemory->GetHandleSize(handle));
    gMemory->UnlockHandle(handle);
    gMemory->DisposeHandle(handle);
    handle = nullptr;
    return newID;
}

void VResourceFile::SaveAndSetDefault() {}

void VResourceFile::RestoreDefault() {}

SwapResourceProcPtr VResourceFile::SetSwapResourceProc(SwapResourceProcPtr proc)
{
    SwapResourceProcPtr previous = fSwapProc;
    fSwapProc = proc;
    return previous;
}

void VResourceFile::ForgetCachedStringList()
{
    fCachedList = nullptr;
    fCachedListID = -1;
}

void VResourceFile::GetString(VString& result, int16_t listId, int16_t index)
{
    result.Clear();
    if (index <= 0) {
        char** h = GetResource(kStringType, listId);
        if (h == nullptr) return;
        const uint8_t* text = reinterpret_cast<const uint8_t*>(LockResHandle(h));
        int32_t size = GetResHandleSize(h);
        if (text != nullptr && size > 0) {
            uint8_t copy[256];
            int32_t length = text[0] < size ? text[0] : size - 1;
            copy[0] = static_cast<uint8_t>(length);
            for (int32_t i = 1; i <= length; ++i) copy[i] = text[i];
            result.FromMacPString(copy);
        }
        UnlockResHandle(h);
        ReleaseResource(h);
        return;
    }
    // A list released or closed behind our back is looked up again.
    if (listId != fCachedListID || (fCachedList != nullptr && !platform::IsValidHandle(fCachedList))) {
        fCachedListID = listId;
        fCachedList = GetResource(kStringListType, listId);
    }
    char** h = fCachedList;
    if (h == nullptr) return;
    const uint8_t* list = reinterpret_cast<const uint8_t*>(LockResHandle(h));
    int32_t size = GetResHandleSize(h);
    if (list != nullptr && size >= 2) {
        int32_t count = (list[0] << 8) | list[1];
        if (count >= index) {
            // Walk to the item; a list cut short ends the walk empty.
            int32_t pos = 2;
            for (int32_t item = 1; item < index && pos < size; ++item) pos += 1 + list[pos];
            if (pos < size && pos + list[pos] < size) result.FromMacPString(list + pos);
        }
    }
    UnlockResHandle(h);
}

void VResourceFile::MakeString(VString& result, const uint8_t* text)
{
    result.Clear();
    if (text == nullptr) return;
    int32_t end = 1 + text[0];
    if (text[0] == 0 || text[1] != ':') {
        result.FromPString(text, GetCharSet());
        return;
    }
    int32_t pos = 2;
    int16_t listId = 0;
    int16_t index = 0;
    bool wellFormed = ReadNumber(text, pos, end, listId);
    if (wellFormed && pos < end) {
        wellFormed = text[pos] == ',';
        ++pos;
        wellFormed = wellFormed && ReadNumber(text, pos, end, index) && pos == end;
    }
    if (!wellFormed) {
        result.FromPString(text, GetCharSet());
        return;
    }
    GetString(result, listId, index);
}
