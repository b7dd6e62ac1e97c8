// One-character converters of each table source. A converter that cannot
// finish its character (the destination has no room, or the source is
// empty) returns false and moves neither pointer.
#pragma once

#include "toolbox/foundation/intl/VIntlConverterData.h"

bool Multi2UniFileSingleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                             char16_t*& dst, const char16_t* dstEnd);
bool Multi2UniFileDoubleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                             char16_t*& dst, const char16_t* dstEnd);
bool Multi2UniResource(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                       char16_t*& dst, const char16_t* dstEnd);
bool Multi2UniPlatform(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                       char16_t*& dst, const char16_t* dstEnd);

// Unmappable characters: '?' with file and platform tables; dropped (consumed,
// nothing written) with resource tables.
bool Uni2MultiFileSingleByte(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                             const uint8_t* dstEnd);
bool Uni2MultiFileDoubleByte(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                             const uint8_t* dstEnd);
bool Uni2MultiResource(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                       const uint8_t* dstEnd);
bool Uni2MultiPlatform(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                       const uint8_t* dstEnd);
