// The table that ties each dialect to a keyboard layout. The host keeps the
// table between runs; the toolbox reads it through the engine, or builds the
// default one from the dialect list and hands it back.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/events/KeyboardLayouts.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VText.h"

// How an entry finds its keyboard layout.
enum KeyboardKind : int16_t {
    kKeyboardNone = 0,
    kKeyboardByName = 1,
    kKeyboardByKCHR = 2,
};

class VKeyboardInfo : public VObject {
public:
    VKeyboardInfo(const VString& layoutName, int32_t kchrId, DialectCode dialect, const VString& dialectName,
                  int16_t kind);
    VKeyboardInfo(const VKeyboardInfo& source);
    VKeyboardInfo& operator=(const VKeyboardInfo&) = delete;
    ~VKeyboardInfo() override;

    const VText& GetLayoutName() const { return fLayoutName; }
    int32_t GetKCHRId() const { return fKCHRId; }
    DialectCode GetDialect() const { return fDialect; }
    const VText& GetDialectName() const { return fDialectName; }
    int16_t GetKind() const { return fKind; }
    // The platform layout found for the entry; null until one is found.
    platform::KeyboardLayoutRef GetLayout() const { return fLayout; }
    void SetLayout(platform::KeyboardLayoutRef layout) { fLayout = layout; }

private:
    VText fLayoutName;
    int32_t fKCHRId;
    DialectCode fDialect;
    int16_t fKind;
    platform::KeyboardLayoutRef fLayout = nullptr;
    VText fDialectName;
};

using VKeyboardInfoList = VArrayListPtrOf<VKeyboardInfo*>;

// The host's older form of the table: a version, the enabled value and the
// entries. The rest of its layout belongs to the host.
class VKeyboardSettings : public VObject {
public:
    VKeyboardSettings() = default;
    ~VKeyboardSettings() override;

    int32_t fVersion = 0;
    int32_t fEnabled = 0;
    VKeyboardInfoList fEntries;
};

// The stored form the host hands over: numbers in host byte order, the
// entries in a handle of their own, `entrySize` bytes apart.
struct sKeyboardSettings {
    int32_t version;    // 0 or less: ignored; -1 asks for the default table
    int32_t enabled;
    int32_t dialect;
    int32_t count;
    int32_t entrySize;  // at least kKeyboardEntrySize
    platform::Handle entries;
};

// One stored entry.
constexpr int32_t kKeyboardEntryLayoutName = 0;    // UTF-16, zero-terminated
constexpr int32_t kKeyboardEntryKCHR = 510;
constexpr int32_t kKeyboardEntryDialect = 514;
constexpr int32_t kKeyboardEntryDialectName = 518;  // UTF-16, zero-terminated
constexpr int32_t kKeyboardEntryKind = 1028;
constexpr int32_t kKeyboardEntrySize = 1030;
constexpr int32_t kKeyboardEntryNameUnits = 255;

constexpr int32_t kKeyboardSettingsVersion = 2;

class VKeyboardSettingsV2 : public VObject {
public:
    VKeyboardSettingsV2() = default;
    ~VKeyboardSettingsV2() override;
    VKeyboardSettingsV2(const VKeyboardSettingsV2&) = delete;
    VKeyboardSettingsV2& operator=(const VKeyboardSettingsV2&) = delete;

    // Fills the settings from the host's stored form (a handle of an
    // sKeyboardSettings). Nothing when the handle is missing or short, or
    // its version is 0 or less. Only whole entries inside the entries
    // handle are read.
    void FromSettings(platform::Handle stored);

    int32_t fVersion = kKeyboardSettingsVersion;
    int32_t fEnabled = 1;
    int32_t fDialect = -1;
    VKeyboardInfoList fEntries;
};
