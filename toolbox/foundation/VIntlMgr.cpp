#include "toolbox/foundation/VIntlMgr.h"

#include <array>

#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/RomanCase.h"
#include "platform/text/RomanCompare.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"

VIntlMgr* gDefaultIntl = nullptr;

namespace {

constexpr platform::ResType kCaseTypes[4] = {
    0x6C77726E,  // 'lwrn'
    0x6C777261,  // 'lwra'
    0x7570726E,  // 'uprn'
    0x75707261,  // 'upra'
};
constexpr platform::ResType kUsetType = 0x75736574;  // 'uset'

uint16_t BE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The quick comparison's values of the characters 0x00-0xBF: each itself,
// but a-z fold to A-Z.
constexpr auto MakeTrivialCompareTable()
{
    std::array<char16_t, 0xC0> table{};
    for (char16_t c = 0; c < 0xC0; ++c) table[c] = c >= u'a' && c <= u'z' ? char16_t(c - 0x20) : c;
    return table;
}
constexpr std::array<char16_t, 0xC0> gTableTrivialCompare = MakeTrivialCompareTable();

int32_t Sign(int32_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

VIntlMgr::VIntlMgr(DialectCode dialect) : fDialect(dialect) {}

VIntlMgr::~VIntlMgr() { DeInitUnicode(); }

void VIntlMgr::SetWildcard(char16_t wildcard, bool enabled)
{
    fWildcard = wildcard;
    fWildcardEnabled = enabled;
}

platform::Handle VIntlMgr::LoadData(platform::ResType type, int16_t id)
{
    platform::Handle h = platform::GetResource(type, id);
    if (h != nullptr) platform::DetachResource(h);
    return h;
}

int16_t VIntlMgr::InitUnicode(DialectCode dialect)
{
    fDialect = _AdjustDialect(dialect);
    MultiByteCode family = INTL_GetDialectScriptCode(fDialect);
    if (family == -1) family = INTL_GetDialectScriptCode(PrimaryDialect(fDialect));

    int32_t script = 0;
    if (GetMacScriptFromDialectCode(fDialect, script)) fMacScript = int16_t(script);
    fMacEncoding = uint32_t(fMacScript);

    if (fConverterData == nullptr && VIntlManagerRoot::sIntlManagerRoot != nullptr)
        fConverterData = VIntlManagerRoot::sIntlManagerRoot->RetainConverterData(family);
    if (fConverterData == nullptr) return kIntlTablesMissing;
    switch (fConverterData->GetSource()) {
    case ConverterSource::File:
        if (fConverterData->GetWidthKind() == 1) {
            fMulti2Uni = _Multi2UniNew_SingleByte;
            fUni2Multi = _Uni2MultiNew_SingleByte;
        } else {
            fMulti2Uni = _Multi2UniNew_DoubleByte;
            fUni2Multi = _Uni2MultiNew_DoubleByte;
        }
        break;
    case ConverterSource::Resources:
        fMulti2Uni = _Multi2UniOld;
        fUni2Multi = _Uni2MultiOld;
        break;
    case ConverterSource::Platform:
        fMulti2Uni = Multi2UniPlatform;
        fUni2Multi = Uni2MultiPlatform;
        break;
    case ConverterSource::None: return kIntlTablesMissing;
    }

    switch (fDialect & 0x3FF) {
    case 0x01:
    case 0x0D:
    case 0x20:
    case 0x29: fBidi = fRightToLeft = true; break;
    case 0x39: fBidi = true, fRightToLeft = false; break;
    default: fBidi = fRightToLeft = false; break;
    }

    for (int32_t slot = kLwrn; slot <= kUpra; ++slot) {
        if (fTables[slot] != nullptr) continue;
        fTables[slot] = LoadData(kCaseTypes[slot], int16_t(fDialect & 0xFFFF));
        if (fTables[slot] == nullptr) fTables[slot] = LoadData(kCaseTypes[slot], 0);
    }
    for (int32_t slot = kUset0; slot <= kUset3; ++slot)
        if (fTables[slot] == nullptr) fTables[slot] = LoadData(kUsetType, int16_t(slot - kUset0));
    for (platform::Handle table : fTables)
        if (table == nullptr) return kIntlTablesMissing;
    return 0;
}

void VIntlMgr::DeInitUnicode()
{
    if (fConverterData != nullptr) fConverterData->Release();
    fConverterData = nullptr;
    fMulti2Uni = nullptr;
    fUni2Multi = nullptr;
    for (platform::Handle& table : fTables) {
        if (table != nullptr) platform::DisposeHandle(table);
        table = nullptr;
    }
}

// --- 8-bit sets and UTF-16 ----------------------------------------------

namespace {

bool RunToUni(const VIntlMgr& mgr, Multi2UniProc proc, bool windows, const uint8_t*& src, char16_t*& dst,
              const char16_t* dstEnd, int32_t srcCount)
{
    if (srcCount <= 0) return true;
    const uint8_t* srcEnd = src + srcCount;
    const VIntlConverterData* data = mgr.GetConverterData();
    while (src < srcEnd) {
        if (dst >= dstEnd) return false;
        if (proc != nullptr && data != nullptr) {
            if (!proc(*data, windows, src, srcEnd, dst, dstEnd)) return false;
        } else {
            *dst++ = *src < 0x80 ? *src : u'\uFFFD';  // no tables: ASCII only
            ++src;
        }
    }
    return true;
}

bool RunFromUni(const VIntlMgr& mgr, Uni2MultiProc proc, bool windows, const char16_t*& src, uint8_t*& dst,
                const uint8_t* dstEnd, int32_t srcCount)
{
    if (srcCount <= 0) return true;
    const char16_t* srcEnd = src + srcCount;
    const VIntlConverterData* data = mgr.GetConverterData();
    while (src < srcEnd) {
        if (dst >= dstEnd) return false;
        const char16_t ch = *src;
        if (ch == 0x2028 || ch == 0x2029) {
            // Line and paragraph separators: CR, or CR LF in the Windows set.
            const int32_t need = windows ? 2 : 1;
            if (dstEnd - dst < need) return false;
            *dst++ = 0x0D;
            if (windows) *dst++ = 0x0A;
            ++src;
            continue;
        }
        if (IsHighSurrogate(ch) && srcEnd - src >= 2 && IsLowSurrogate(src[1])) {
            // Outside the tables' plane: one substitute for the pair.
            *dst++ = '?';
            src += 2;
            continue;
        }
        if (proc != nullptr && data != nullptr) {
            if (!proc(*data, windows, src, dst, dstEnd)) return false;
        } else {
            *dst++ = ch < 0x80 ? uint8_t(ch) : uint8_t('?');
            ++src;
        }
    }
    return true;
}

}  // namespace

bool VIntlMgr::Mac2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const
{
    return RunToUni(*this, fMulti2Uni, false, src, dst, dstEnd, srcCount);
}

bool VIntlMgr::Ansi2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const
{
    return RunToUni(*this, fMulti2Uni, true, src, dst, dstEnd, srcCount);
}

bool VIntlMgr::Uni2Mac(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const
{
    return RunFromUni(*this, fUni2Multi, false, src, dst, dstEnd, srcCount);
}

bool VIntlMgr::Uni2Ansi(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const
{
    return RunFromUni(*this, fUni2Multi, true, src, dst, dstEnd, srcCount);
}

char16_t VIntlMgr::Mac2Uni(uint8_t byte) const
{
    const uint8_t* src = &byte;
    return Mac2Uni(src, src + 1);
}

char16_t VIntlMgr::Mac2Uni(const uint8_t*& src, const uint8_t* srcEnd) const
{
    char16_t ch = 0;
    char16_t* dst = &ch;
    if (src >= srcEnd) return 0;
    if (fMulti2Uni != nullptr && fConverterData != nullptr) {
        fMulti2Uni(*fConverterData, false, src, srcEnd, dst, dst + 1);
    } else {
        ch = *src < 0x80 ? *src : u'\uFFFD';
        ++src;
    }
    return ch;
}

// --- comparison -----------------------------------------------------------

// Characters are ordered through one key each, so that every comparison
// agrees with every other and sorting is a total order (comparing some pairs
// by code and others through the Mac set is not transitive). Strict: the
// character codes. Loose: plain ASCII through the trivial table (letters
// upper-cased), the rest as their Mac byte with case and diacritics taken
// off, after ASCII; characters the Mac set lacks come last, by code.
uint32_t VIntlMgr::LooseKey(char16_t c) const
{
    if (c < 0x80) return gTableTrivialCompare[c];
    uint8_t b = '?';
    const char16_t* s = &c;
    uint8_t* d = &b;
    Uni2Mac(s, d, d + 1, 1);
    if (b == '?') return 0x10000u + c;
    const uint8_t k = platform::RomanUppercase(platform::RomanStripDiacritics(b));
    return k < 0x80 ? k : 0x100u + k;
}

int32_t VIntlMgr::CompareChar(char16_t c1, char16_t c2, bool strict) const
{
    if (c1 == c2) return 0;
    if (strict) return Sign(int32_t(c1) - int32_t(c2));
    const uint32_t k1 = LooseKey(c1);
    const uint32_t k2 = LooseKey(c2);
    return k1 < k2 ? -1 : k1 > k2 ? 1 : 0;
}

int32_t VIntlMgr::CompareUnits(const char16_t* a, int32_t aLength, const char16_t* b, int32_t bLength, bool strict,
                               bool wildcard) const
{
    if (wildcard && fWildcardEnabled && bLength > 0 && b[bLength - 1] == fWildcard && aLength >= bLength - 1) {
        // Prefix match: the pattern without its wildcard against as much of the text.
        --bLength;
        aLength = bLength;
    }
    const int32_t common = aLength < bLength ? aLength : bLength;
    for (int32_t i = 0; i < common; ++i) {
        const int32_t c = CompareChar(a[i], b[i], strict);
        if (c != 0) return Sign(c);
    }
    return aLength > bLength ? 1 : aLength < bLength ? -1 : 0;
}

namespace {

// The string's text as UTF-16 for the time of a comparison.
class UnitsOf {
public:
    explicit UnitsOf(const VString& s)
    {
        if (s.IsUnicode()) {
            fLocked = &s;
            fUnits = static_cast<const char16_t*>(s.LockAndGetCPointer());
            fLength = s.GetLength();
        } else {
            fCopy.resize(size_t(s.GetLength()) + 1);
            fLength = s.ToUniBlock(fCopy.data(), 0, s.GetLength() + 1);
            fUnits = fCopy.data();
        }
    }
    ~UnitsOf()
    {
        if (fLocked != nullptr) fLocked->Unlock();
    }
    UnitsOf(const UnitsOf&) = delete;
    UnitsOf& operator=(const UnitsOf&) = delete;
    const char16_t* Units() const { return fUnits; }
    int32_t Length() const { return fLength; }

private:
    const VString* fLocked = nullptr;
    const char16_t* fUnits = nullptr;
    int32_t fLength = 0;
    std::u16string fCopy;
};

}  // namespace

int32_t VIntlMgr::CompareUniVString(const VString& s1, const VString& s2, bool strict) const
{
    return CompareVString(s1, s2, strict);
}

int32_t VIntlMgr::CompareVString(const VString& s1, const VString& s2, bool strict) const
{
    if (s1.IsNull() || s2.IsNull()) return s1.IsNull() == s2.IsNull() ? 0 : s1.IsNull() ? -1 : 1;
    const UnitsOf a(s1), b(s2);
    return CompareUnits(a.Units(), a.Length(), b.Units(), b.Length(), strict, false);
}

int32_t VIntlMgr::MatchUniVString(const VString& text, const VString& pattern, bool strict) const
{
    return MatchVString(text, pattern, strict);
}

int32_t VIntlMgr::MatchVString(const VString& text, const VString& pattern, bool strict) const
{
    if (text.IsNull() || pattern.IsNull()) return text.IsNull() == pattern.IsNull() ? 0 : text.IsNull() ? -1 : 1;
    const UnitsOf a(text), b(pattern);
    return CompareUnits(a.Units(), a.Length(), b.Units(), b.Length(), strict, true);
}

// --- case -------------------------------------------------------------------

int32_t VIntlMgr::MapCase(char16_t* text, int32_t count, TableSlot slot) const
{
    platform::Handle table = fTables[slot];
    if (table == nullptr || text == nullptr) return 1;
    platform::HLock(table);
    const auto* p = reinterpret_cast<const uint8_t*>(*table);
    const int32_t size = platform::GetHandleSize(table);
    const int32_t ranges = size >= 2 ? int16_t(BE16(p)) : 0;
    for (int32_t i = 0; i < count; ++i) {
        const char16_t ch = text[i];
        int32_t at = 2;
        for (int32_t r = 0; r < ranges && at + 4 <= size; ++r) {
            const uint16_t first = BE16(p + at), last = BE16(p + at + 2);
            if (first > ch || last < first) break;
            const int32_t next = at + 4 + 2 * (last - first + 1);
            if (ch <= last) {
                const int32_t entry = at + 4 + 2 * (ch - first);
                if (entry + 2 <= size) text[i] = BE16(p + entry);
                break;
            }
            at = next;
        }
    }
    platform::HUnlock(table);
    return 1;
}

int32_t VIntlMgr::ToUpperCase(char16_t* text, int32_t count, bool accent) const
{
    return MapCase(text, count, accent ? kUpra : kUprn);
}

int32_t VIntlMgr::ToLowerCase(char16_t* text, int32_t count, bool accent) const
{
    return MapCase(text, count, accent ? kLwra : kLwrn);
}
