// The per-dialect international manager: converts text between the Mac set
// and the Windows ANSI set of its dialect's script, UTF-16 and UTF-8,
// compares strings, maps case and answers questions about the script.
// Managers are shared and reference-counted through VIntlManagerRoot;
// gDefaultIntl is the one strings use when they carry none of their own.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

class VString;
class VIntlConverterData;

// A Windows language id: low 10 bits the language, the bits above the
// sub-language. -2 not set yet; -1 and 0 the system's language.
using DialectCode = int32_t;
constexpr DialectCode kDialectNotSet = -2;
constexpr DialectCode kDialectEnglishUS = 0x409;

// Character-set families with converter data (0 Western ... 16 Turkish).
using MultiByteCode = int32_t;
constexpr MultiByteCode kMultiByteCodeCount = 17;

// InitUnicode's answer when a table is missing.
constexpr int16_t kIntlTablesMissing = -8232;

// The primary form of a dialect: its language with the default sub-language.
constexpr DialectCode PrimaryDialect(DialectCode code) { return (code & 0x3FF) | 0x400; }

// Converts one character; both pointers advance by what was read and written.
// False when the source ends inside the character or the destination has no
// room for it; then neither pointer moves.
using Multi2UniProc = bool (*)(const VIntlConverterData& data, bool windows, const uint8_t*& src,
                               const uint8_t* srcEnd, char16_t*& dst, const char16_t* dstEnd);
using Uni2MultiProc = bool (*)(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                               const uint8_t* dstEnd);

class VIntlMgr : public VObject, public IRefCountable {
public:
    explicit VIntlMgr(DialectCode dialect = kDialectNotSet);
    ~VIntlMgr() override;

    // Takes the dialect's tables and converter; 0 or kIntlTablesMissing.
    int16_t InitUnicode(DialectCode dialect);
    void DeInitUnicode();

    DialectCode GetDialectCode() const { return fDialect; }
    int16_t GetMacScript() const { return fMacScript; }
    bool IsBidi() const { return fBidi; }
    bool IsRightToLeft() const { return fRightToLeft; }
    VIntlConverterData* GetConverterData() const { return fConverterData; }

    // The wildcard of prefix matching (initially '@'); it acts only in the
    // match calls below, never in ordering.
    char16_t GetWildcard() const { return fWildcard; }
    void SetWildcard(char16_t wildcard, bool enabled);

    // Run conversions: both pointers advance; the destination ends before
    // dstEnd. True when the whole source was converted, false when the
    // destination filled first (the character that did not fit is left).
    bool Mac2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const;
    bool Ansi2Uni(const uint8_t*& src, char16_t*& dst, const char16_t* dstEnd, int32_t srcCount) const;
    bool Uni2Mac(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const;
    bool Uni2Ansi(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount) const;
    // One character of the Mac set as UTF-16.
    char16_t Mac2Uni(uint8_t byte) const;
    // One character from a byte pair; src advances by what it used.
    char16_t Mac2Uni(const uint8_t*& src, const uint8_t* srcEnd) const;

    // Through the reference tables gUTFBytes, gUTFOffsets and
    // gFirstByteMark, validating: every invalid sequence (a stray or missing
    // continuation byte, an over-long form, an encoded surrogate, a value
    // above U+10FFFF) becomes one U+FFFD, and so does a lone surrogate from
    // UTF-16. A character cut off by the end of the source, or one that does
    // not fit, is left unconsumed. Always true.
    bool UTF8ToUTF16(const uint8_t* src, int32_t srcLength, int32_t& consumed, char16_t* dst, int32_t dstCapacity,
                     int32_t& produced) const;
    bool UTF16ToUTF8(const char16_t* src, int32_t srcCount, int32_t& consumed, uint8_t* dst, int32_t dstCapacity,
                     int32_t& produced) const;

    // -1, 0 or 1. Not strict: a-z equal A-Z, and case and diacritics are
    // ignored beyond the ASCII table. These are total orders: the wildcard
    // plays no part.
    int32_t CompareChar(char16_t c1, char16_t c2, bool strict) const;
    // The loose sort key of a character (see CompareChar).
    uint32_t LooseKey(char16_t c) const;
    int32_t CompareUniVString(const VString& s1, const VString& s2, bool strict) const;
    int32_t CompareVString(const VString& s1, const VString& s2, bool strict) const;
    // The same, except that a pattern ending in the enabled wildcard matches
    // every text that begins with the rest of the pattern.
    int32_t MatchUniVString(const VString& text, const VString& pattern, bool strict) const;
    int32_t MatchVString(const VString& text, const VString& pattern, bool strict) const;

    // In place through the case tables; accent: the tables that also drop
    // diacritics. Return 1.
    int32_t ToUpperCase(char16_t* text, int32_t count, bool accent) const;
    int32_t ToLowerCase(char16_t* text, int32_t count, bool accent) const;

    // The one-character routines InitUnicode chooses: converter files of
    // one and of two bytes a character, resource tables ("Old"), and the
    // platform's Western tables. Unmappable characters: '?' with file and
    // platform tables; dropped (consumed, nothing written) with resource
    // tables.
    static bool _Multi2UniNew_SingleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src,
                                         const uint8_t* srcEnd, char16_t*& dst, const char16_t* dstEnd);
    static bool _Multi2UniNew_DoubleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src,
                                         const uint8_t* srcEnd, char16_t*& dst, const char16_t* dstEnd);
    static bool _Multi2UniOld(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                              char16_t*& dst, const char16_t* dstEnd);
    static bool Multi2UniPlatform(const VIntlConverterData& data, bool windows, const uint8_t*& src,
                                  const uint8_t* srcEnd, char16_t*& dst, const char16_t* dstEnd);
    static bool _Uni2MultiNew_SingleByte(const VIntlConverterData& data, bool windows, const char16_t*& src,
                                         uint8_t*& dst, const uint8_t* dstEnd);
    static bool _Uni2MultiNew_DoubleByte(const VIntlConverterData& data, bool windows, const char16_t*& src,
                                         uint8_t*& dst, const uint8_t* dstEnd);
    static bool _Uni2MultiOld(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                              const uint8_t* dstEnd);
    static bool Uni2MultiPlatform(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                                  const uint8_t* dstEnd);

    // Dialect-code resource look-ups.
    static bool GetMacScriptFromDialectCode(DialectCode dialect, int32_t& script);
    static bool MAC_GetLangFromDialectCode(DialectCode dialect, int32_t& language);
    static DialectCode MAC_GetDialectCodeFromMacScript(int32_t script);
    static bool MAC_GetMacKCHRFromDialectCode(DialectCode dialect, int32_t& kchr);
    static void ForgetDialectCodes();

    static platform::Handle fDialectCodes;

protected:
    // A detached copy of the resource, or null.
    virtual platform::Handle LoadData(platform::ResType type, int16_t id);

private:
    enum TableSlot { kLwrn, kLwra, kUprn, kUpra, kUset0, kUset1, kUset2, kUset3, kTableSlots };

    int32_t MapCase(char16_t* text, int32_t count, TableSlot slot) const;
    int32_t CompareUnits(const char16_t* a, int32_t aLength, const char16_t* b, int32_t bLength, bool strict,
                         bool wildcard) const;

    Multi2UniProc fMulti2Uni = nullptr;
    Uni2MultiProc fUni2Multi = nullptr;
    VIntlConverterData* fConverterData = nullptr;
    DialectCode fDialect;
    int16_t fMacScript = 0;
    uint32_t fMacEncoding = 0;
    bool fBidi = false;
    bool fRightToLeft = false;
    char16_t fWildcard = u'@';
    bool fWildcardEnabled = true;
    platform::Handle fTables[kTableSlots] = {};
};

// The default manager; set by VIntlManagerRoot::Init.
extern VIntlMgr* gDefaultIntl;

// The shared manager of the dialect, retained for the caller (who releases
// it); null before the root exists.
VIntlMgr* RetainIntlManager(DialectCode dialect);
// Makes the root (dialect -2) if there is none; answers gDefaultIntl.
VIntlMgr* InitDefaultIntlManager();

// The MultiByteCode of one of the known dialects; -1 for any other code.
MultiByteCode INTL_GetDialectScriptCode(DialectCode dialect);

// Between the two 8-bit sets of the default manager's dialect; both
// pointers advance by what was read and written; true when the source was
// used up.
bool vAnsi2Mac(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount);
bool vMac2Ansi(const uint8_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t srcCount);

// The fixed Western tables of vAnsi2Mac and vMac2Ansi.
extern const uint8_t gAnsiToMacTab[256];
extern const uint8_t gMacToAnsiTab[256];
