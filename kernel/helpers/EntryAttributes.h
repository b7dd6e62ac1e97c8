// The stored attributes of a form field (71 bytes, big-endian) with their
// defaults, and the system's names.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int32_t kEntryAttributesSize = 71;

// Offsets of the record's fields.
namespace saisieatt {
constexpr int32_t kChoiceList = 0, kChoiceSet = 2, kRequiredList = 4, kExcludedList = 8;
constexpr int32_t kMinType = 10, kMinValue = 12, kMaxType = 22, kMaxValue = 24;
constexpr int32_t kEditable = 34, kNextByte = 35, kDefaultText = 36, kBeforeFilter = 69, kEntryFilter = 70;
constexpr int32_t kDefaultTextMax = 31, kEntryFilterMax = 255;
}  // namespace saisieatt

// A new record holding the defaults (null when memory is short).
platform::Handle newsatt();
void delsatt(platform::Handle* record);
// Frees the record when it still holds every default (the bytes at 3, 35
// and 69 may hold anything).
void delchecksatt(platform::Handle* record, uint8_t flag);

// kind 0 the system's name, 1 the computer's name, 2 its release, 3 its
// version, 4 the network node name, 5 the login name; others empty.
void GetNameInformation(int16_t kind, unsigned char* destination);
void stopmess(const unsigned char* text);
