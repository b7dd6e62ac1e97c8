// The program's 'kind' resource: its signature, a region code and a list
// of (file type, kind name) entries; an entry of type 'apnm' names the
// program itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int16_t kClientNameKindID = 9000;
constexpr uint32_t kKindResType = 0x6B696E64;   // 'kind'
constexpr uint32_t kAppNameKind = 0x61706E6D;   // 'apnm'

// The name of the first entry when that entry is of type 'apnm', as its
// length-prefixed bytes (platform text); false for any other first entry
// or bytes that end too soon.
bool ReadKindAppName(const uint8_t* data, size_t size, uint8_t (&name)[256]);

// The dialogs' client name: the 'apnm' entry of 'kind' 9000 in UTF-8, or
// empty without one.
std::string GetClientName();
