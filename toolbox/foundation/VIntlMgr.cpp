#include "toolbox/foundation/VIntlMgr.h"

#include "platform/text/SingleByteSets.h"
#include "platform/text/Utf8.h"

using platform::ConversionResult;
using platform::ConversionStatus;

VIntlMgr* gDefaultIntl = nullptr;

VIntlMgr::VIntlMgr(DialectCode dialect) : fDialect(dialect) {}
VIntlMgr::~VIntlMgr() = default;

namespace {

template <typename Src, typename Dst, typename Convert>
bool RunConversion(const Src*& src, Dst*& dst, const Dst* dstEnd, int32_t srcCount, Convert convert)
{
    if (srcCount <= 0) return true;
    const int32_t room = dstEnd > dst ? static_cast<int32_t>(dstEnd - dst) : 0;
    const ConversionResult r = convert(src, srcCount, dst, room);
    src += r.consumed;
    dst += r.produced;
    return r.consumed >= srcCount;
}

}  // namespace

bool VIntlMgr::Mac2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const
{
    return RunConversion(src, dst, dstEnd, srcCount, platform::MacRomanToUtf16);
}

bool VIntlMgr::Ansi2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const
{
    return RunConversion(src, dst, dstEnd, srcCount, platform::Windows1252ToUtf16);
}

bool VIntlMgr::Uni2Mac(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const
{
    return RunConversion(src, dst, dstEnd, srcCount, platform::Utf16ToMacRoman);
}

bool VIntlMgr::Uni2Ansi(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const
{
    return RunConversion(src, dst, dstEnd, srcCount, platform::Utf16ToWindows1252);
}

char16_t VIntlMgr::Mac2Uni(uint8_t byte) const { return platform::MacRomanToUnicode(byte); }

bool VIntlMgr::UTF8ToUTF16(const uint8_t* src, int32_t srcLength, int32_t& consumed, char16_t* dst,
                           int32_t dstCapacity, int32_t& produced) const
{
    const ConversionResult r = platform::Utf8ToUtf16(src, srcLength, dst, dstCapacity);
    consumed = r.consumed;
    produced = r.produced;
    return true;
}

bool VIntlMgr::UTF16ToUTF8(const char16_t* src, int32_t srcCount, int32_t& consumed, uint8_t* dst,
                           int32_t dstCapacity, int32_t& produced) const
{
    const ConversionResult r = platform::Utf16ToUtf8(src, srcCount, dst, dstCapacity);
    consumed = r.consumed;
    produced = r.produced;
    return true;
}

VIntlMgr* InitDefaultIntlManager()
{
    if (gDefaultIntl == nullptr) gDefaultIntl = new VIntlMgr(0);
    return gDefaultIntl;
}

VIntlMgr* RetainIntlManager(DialectCode)
{
    VIntlMgr* mgr = InitDefaultIntlManager();
    if (mgr != nullptr) mgr->Retain();
    return mgr;
}

bool vAnsi2Mac(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount)
{
    return RunConversion(src, dst, dstEnd, srcCount,
                         [](const uint8_t* s, int32_t n, uint8_t* d, int32_t room) {
                             return platform::Windows1252ToMacRoman(s, n, d, room);
                         });
}

bool vMac2Ansi(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount)
{
    return RunConversion(src, dst, dstEnd, srcCount,
                         [](const uint8_t* s, int32_t n, uint8_t* d, int32_t room) {
                             return platform::MacRomanToWindows1252(s, n, d, room);
                         });
}
