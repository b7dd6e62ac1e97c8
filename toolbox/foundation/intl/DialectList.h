// The dialects the toolbox knows: name, code, keyboard layout.
#pragma once

#include <cstdint>

struct DialectRecord {
    const char* name;          // "DC_..."
    int32_t code;              // DialectCode
    const char* layoutName;    // keyboard layout, may be empty
    int32_t kchrId;            // keyboard resource id
    int32_t keyboardKind;      // 1: find the layout by its name; 0: no keyboard
};

constexpr int32_t kDialectCount = 105;
extern const DialectRecord sDialectList[kDialectCount];

// The ISO 639 code and English name of a primary language.
struct ISOLanguageRecord {
    uint16_t language;  // the low 10 bits of a dialect code
    char isoCode[5];    // upper case, zero-padded
    char name[25];      // zero-padded
};

constexpr int32_t kISOLanguageCount = 75;
extern const ISOLanguageRecord sISOLanguageCodes[kISOLanguageCount];
