#include "kernel/helpers/EntryAttributes.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "kernel/helpers/HandleCopies.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using namespace platform;

namespace {

struct Default {
    int32_t offset;
    int32_t size;  // 1 or 2
    int32_t value;
};

using namespace saisieatt;
constexpr int32_t kSpare = 3;

// The empty strings hold a length byte 0.
constexpr Default kDefaults[] = {
    {kChoiceList, 2, -1},   {kChoiceSet, 1, 0},   {kSpare, 1, 0},       {kRequiredList, 2, -1},
    {6, 1, 0},              {7, 1, 0},            {kExcludedList, 2, -1}, {kMinType, 1, 5},
    {kMaxType, 1, 5},       {kEditable, 1, 1},    {kNextByte, 1, 0},    {kDefaultText, 1, 0},
    {68, 1, 0},             {kBeforeFilter, 1, 0}, {kEntryFilter, 1, 0},
};

bool MayDiffer(int32_t offset) { return offset == kSpare || offset == kNextByte || offset == kBeforeFilter; }

}  // namespace

Handle newsatt()
{
    Handle h = nouvhandle(kEntryAttributesSize);
    if (!h) return nullptr;
    // Spare bytes and values without a default are stored with the record:
    // they start as zeros, never as whatever the memory held.
    std::memset(*h, 0, kEntryAttributesSize);
    for (const auto& d : kDefaults) {
        if (d.size == 2) WriteBE16(*h + d.offset, uint16_t(d.value));
        else (*h)[d.offset] = char(d.value);
    }
    return h;
}

void delsatt(Handle* record) { effhandle(record); }

void delchecksatt(Handle* record, uint8_t)
{
    if (!*record || GetHandleSize(*record) < kEntryAttributesSize) return;
    for (const auto& d : kDefaults) {
        if (MayDiffer(d.offset)) continue;
        int32_t v = d.size == 2 ? int16_t(ReadBE16(**record + d.offset)) : int8_t((**record)[d.offset]);
        if (v != d.value) return;
    }
    delsatt(record);
}

void GetNameInformation(int16_t kind, unsigned char* destination)
{
    destination[0] = 0;
    std::string text;
    struct utsname names;
    if (kind >= 0 && kind <= 4 && kind != 1 && ::uname(&names) == 0) {
        text = kind == 0 ? names.sysname : kind == 2 ? names.release : kind == 3 ? names.version : names.nodename;
    } else if (kind == 5) {
        const char* user = std::getenv("USER");
        if (user) text = user;
    }
    if (text.size() > 255) text.resize(255);
    destination[0] = uint8_t(text.size());
    std::memcpy(destination + 1, text.data(), text.size());
}

void stopmess(const unsigned char*) {}
