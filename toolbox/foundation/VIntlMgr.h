// The per-dialect international manager: converts text between Mac Roman,
// Windows ANSI, UTF-16 and UTF-8. Managers are shared and reference-counted;
// gDefaultIntl is the one strings use when they carry none of their own.
//
// For now every dialect uses the Western sets of the platform text service;
// the converter files and the per-dialect tables plug in behind these
// operations.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

// A Windows language id: low 10 bits the language, the bits above the
// sub-language. -2 not set yet; -1 and 0 the system's language.
using DialectCode = int32_t;
constexpr DialectCode kDialectNotSet = -2;
constexpr DialectCode kDialectEnglishUS = 0x409;

class VIntlMgr : public VObject, public IRefCountable {
public:
    explicit VIntlMgr(DialectCode dialect = kDialectNotSet);
    ~VIntlMgr() override;

    DialectCode GetDialectCode() const { return fDialect; }

    // Run conversions: both pointers advance; the destination ends before
    // dstEnd. True when the whole source was converted, false when the
    // destination filled first.
    bool Mac2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const;
    bool Ansi2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const;
    bool Uni2Mac(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const;
    bool Uni2Ansi(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const;
    // One Mac Roman byte as UTF-16.
    char16_t Mac2Uni(uint8_t byte) const;

    bool UTF8ToUTF16(const uint8_t* src, int32_t srcLength, int32_t& consumed, char16_t* dst, int32_t dstCapacity,
                     int32_t& produced) const;
    bool UTF16ToUTF8(const char16_t* src, int32_t srcCount, int32_t& consumed, uint8_t* dst, int32_t dstCapacity,
                     int32_t& produced) const;

private:
    DialectCode fDialect;
};

// The default manager; made on first use, reset by ResetIntlManagers.
extern VIntlMgr* gDefaultIntl;

// The shared manager of the dialect, retained for the caller.
VIntlMgr* RetainIntlManager(DialectCode dialect);
// Makes gDefaultIntl if there is none (dialect 0).
VIntlMgr* InitDefaultIntlManager();

// Between the two 8-bit sets directly; both pointers advance; true when the
// source was used up.
bool vAnsi2Mac(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount);
bool vMac2Ansi(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount);
