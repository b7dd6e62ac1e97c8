#include "toolbox/foundation/intl/VKeyboardSettings.h"

#include <cstring>

#include "platform/core/Memory.h"

VKeyboardInfo::VKeyboardInfo(const VString& layoutName, int32_t kchrId, DialectCode dialect,
                             const VString& dialectName, int16_t kind)
    : fLayoutName(layoutName), fKCHRId(kchrId), fDialect(dialect), fKind(kind), fDialectName(dialectName)
{
}

VKeyboardInfo::VKeyboardInfo(const VKeyboardInfo& source)
    : VObject(),
      fLayoutName(source.fLayoutName),
      fKCHRId(source.fKCHRId),
      fDialect(source.fDialect),
      fKind(source.fKind),
      fLayout(source.fLayout),
      fDialectName(source.fDialectName)
{
}

VKeyboardInfo::~VKeyboardInfo() = default;

VKeyboardSettings::~VKeyboardSettings() { fEntries.Destroy(kListDeleteData); }

VKeyboardSettingsV2::~VKeyboardSettingsV2() { fEntries.Destroy(kListDeleteData); }

namespace {

int32_t ReadNative32(const char* p)
{
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A stored name: at most 255 units, whether or not the terminator is there.
void ReadName(const char* p, VText& name)
{
    char16_t units[kKeyboardEntryNameUnits + 1];
    std::memcpy(units, p, sizeof(char16_t) * kKeyboardEntryNameUnits);
    units[kKeyboardEntryNameUnits] = 0;
    name.FromUniCString(units);
}

}  // namespace

void VKeyboardSettingsV2::FromSettings(platform::Handle stored)
{
    if (!stored || !*stored || platform::GetHandleSize(stored) < platform::Size(sizeof(sKeyboardSettings))) return;
    sKeyboardSettings head;
    std::memcpy(&head, *stored, sizeof head);
    if (head.version <= 0) return;
    fVersion = head.version;
    fEnabled = head.enabled;
    fDialect = head.dialect;
    platform::Handle entries = head.entries;
    if (!entries || !*entries || head.count <= 0 || head.entrySize < kKeyboardEntrySize) return;
    const int64_t available = platform::GetHandleSize(entries) / head.entrySize;
    const int32_t count = int32_t(head.count < available ? head.count : available);
    const int8_t state = platform::HGetState(entries);
    platform::HLock(entries);
    for (int32_t i = 0; i < count; ++i) {
        const char* e = *entries + int64_t(i) * head.entrySize;
        VText layoutName, dialectName;
        ReadName(e + kKeyboardEntryLayoutName, layoutName);
        ReadName(e + kKeyboardEntryDialectName, dialectName);
        int16_t kind;
        std::memcpy(&kind, e + kKeyboardEntryKind, sizeof kind);
        auto* info = new VKeyboardInfo(layoutName, ReadNative32(e + kKeyboardEntryKCHR),
                                       ReadNative32(e + kKeyboardEntryDialect), dialectName, kind);
        if (info) fEntries.AddTail(info);
    }
    platform::HSetState(entries, state);
}
