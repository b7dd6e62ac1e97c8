// The toolbox's text value (value kind 8): a run of characters in Mac Roman,
// Windows ANSI or UTF-16, kept in a fixed buffer or in a handle. The
// concrete kinds are in VStrInMem.h, VText.h, VMacString.h and
// VAnsiString.h. Positions are 1-based; text beyond the maximum length is
// dropped silently.
#pragma once

#include <cstdint>
#include <string>

#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VValueSingle.h"

using CharSet = int32_t;
constexpr CharSet kCharSetOwn = -1;  // the string's own set
constexpr CharSet kCharSetMac = 0;
constexpr CharSet kCharSetAnsi = 1;
constexpr CharSet kCharSetUnicode = 2;
constexpr CharSet kCharSetUtf8 = 3;  // source of FromBlock, target of ToBlock only

// The kind written in the stream form.
using StringKind = int32_t;
constexpr StringKind kStringUniInMem = 1;
constexpr StringKind kStringUniText = 2;
constexpr StringKind kStringMacInMem = 3;
constexpr StringKind kStringMacText = 4;
constexpr StringKind kStringAnsiInMem = 5;
constexpr StringKind kStringAnsiText = 6;

// ReadFromStream's answer for a stored empty string in the original; we
// answer 0 for it, see VString::ReadFromStream.
constexpr int32_t kStreamEmptyString = -3;
// ReadFromStream's answer for a stored text longer than the string can hold.
constexpr int32_t kStringTooLong = 100;
constexpr int32_t kStreamUnknownCharSet = -4;  // stored text in no known character set

// Format numbers of the hour and date text, and of number text.
enum HourFormat : int32_t {};
enum DateFormat : int32_t {};
// 0 decimal, 1-3 and negative values a real through the host, 16 four
// characters, 17 hexadecimal, 18-21 2, 4, 8 or 16 hexadecimal digits.
enum NumericFormat : int32_t {};

class VDateInMem;
class VHourInMem;
class VResourceFile;

// The platform's string type: immutable UTF-16 text.
using PlatformString = std::u16string;

class VString : public VValueSingle {
public:
    VString();
    ~VString() override;

    // --- the value interface ---
    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    bool CanBeEvaluated() const override;
    void SetNull(uint8_t null, int32_t index = -1) override;
    void Clear() override;
    ValueKind GetValueKind() const override;
    bool GetBoolean(int32_t index = -1) const override;
    int16_t GetWord(int32_t index = -1) const override;
    int32_t GetLong(int32_t index = -1) const override;
    int64_t GetLong8(int32_t index = -1) const override;
    double GetReal(int32_t index = -1) const override;
    void ToBigLong(VBigLongInMem& target, int32_t index = -1) const override;
    void ToString(VString& target, VString* format = nullptr, int32_t index = -1) const override;
    void ToValue(VValue& target, int32_t index = -1) const override;
    void FromBoolean(uint8_t value, int32_t index = -1) override;
    void FromWord(int16_t value, int32_t index = -1) override;
    void FromLong(int32_t value, int32_t index = -1) override;
    void FromLong8(int64_t value, int32_t index = -1) override;
    void FromReal(double value, int32_t index = -1) override;
    void FromBigLong(const VBigLongInMem& value, int32_t index = -1) override;
    void FromHour(int32_t seconds, int32_t index = -1) override;
    void FromDate(const DateBlock& date, int32_t index = -1) override;
    void FromString(const VString& text, int32_t index = -1) override;
    void FromValue(const VValue& value, int32_t index = -1) override;
    int32_t CompareTo(const VValue& other, uint8_t strict = 0, int32_t index = -1) const override;
    void* LoadFromPtr(void* data, uint8_t swap = 0) override;
    void* WriteToPtr(void* data, uint8_t swap = 0) const override;
    int32_t GetSpace() const override;

    // --- storage ---
    virtual bool IsUnicode() const;
    virtual bool IsAnsi() const;
    virtual bool IsMac() const;
    virtual bool IsInHandle() const = 0;
    virtual CharSet GetCharSet() const = 0;
    virtual int32_t GetCharSize() const = 0;
    virtual StringKind GetStringKind() const = 0;
    // Length 0 and a 0 terminator; handle kinds with release shrink the handle.
    virtual void ClearString(uint8_t release) = 0;
    virtual int32_t GetLength() const = 0;
    virtual void AdjustCString() = 0;
    // The first character (bytes or UTF-16 units, 0-terminated); handle kinds
    // lock their handle until Unlock.
    virtual void* LockAndGetCPointer() const = 0;
    virtual void Unlock() const;
    virtual bool IsLocked() const;
    // Replace the text by count units of src from unit start on.
    virtual void FromUniBlock(const char16_t* src, int32_t start, int32_t count, VIntlMgr* mgr = nullptr) = 0;
    virtual void FromBlock(const uint8_t* src, int32_t start, int32_t count, CharSet set,
                           VIntlMgr* mgr = nullptr) = 0;
    virtual PlatformString GetCFString() const;
    virtual PlatformString GetMutableCFString() const;

    virtual void AppendUniCString(const char16_t* text);
    // A 16-bit length, then the units.
    virtual void AppendUniPString(const char16_t* text);
    // set: 0 Mac Roman, -1 the string's own (Mac Roman for UTF-16 strings),
    // anything else Windows ANSI.
    virtual void AppendPString(const uint8_t* text, CharSet set = kCharSetOwn);
    virtual void AppendCString(const uint8_t* text, CharSet set = kCharSetOwn);
    virtual void AppendChar(uint8_t ch, CharSet set = kCharSetOwn);
    virtual void AppendUniChar(char16_t ch);

    // 1-based, in UTF-16 terms; 0 outside 1..length.
    virtual char16_t GetChar(int32_t index) const = 0;
    virtual void SetChar(int32_t index, char16_t ch) = 0;
    // False beyond the maximum length or when the handle cannot grow.
    virtual bool SetLength(int32_t length) = 0;

    // --- shared operations ---
    int32_t GetMaxLength() const { return fMaxLength; }
    void SetDialect(DialectCode dialect);
    VIntlMgr* GetIntlMgr() const { return fIntlMgr; }
    // Takes src's null flag and, when not null, its text.
    void FromVString(const VString& src);
    void AppendVString(const VString& src);

    // Replace the whole text; the string becomes not null.
    void FromPString(const uint8_t* text, CharSet set = kCharSetOwn);
    void FromMacPString(const uint8_t* text);
    void FromCString(const uint8_t* text, CharSet set = kCharSetOwn);
    void FromMacCString(const uint8_t* text);
    void FromAnsiCString(const uint8_t* text);
    void FromUniCString(const char16_t* text);
    void FromChar(uint8_t ch, CharSet set = kCharSetOwn);
    void FromUniChar(char16_t ch);

    // Export. ToPString writes a length byte and at most max characters
    // (max - 1 when converted); ToUniPString a 16-bit length and at most
    // max units.
    void ToPString(uint8_t* dest, int32_t max, CharSet set = kCharSetOwn) const;
    void ToUniPString(char16_t* dest, int32_t max) const;
    // Zero-terminated; size counts the terminator. set: the string's own,
    // 0 Mac Roman or 1 Windows ANSI (UTF-16 strings: 0 or 1); mgr converts
    // UTF-16 text (null: the default manager).
    void ToCString(uint8_t* dest, int32_t size, CharSet set = kCharSetOwn, VIntlMgr* mgr = nullptr) const;
    // The text without length or terminator into at most max bytes: the
    // string's own set, 0 Mac Roman, 1 Windows ANSI or 3 UTF-8. Answers the
    // bytes written.
    int32_t ToBlock(uint8_t* dest, int32_t start, int32_t max, CharSet set) const;
    // UTF-16 units and a 0; size counts the terminator.
    void ToUniCString(char16_t* dest, int32_t size) const;
    // The text as UTF-16 units; at most max units; answers the count.
    int32_t ToUniBlock(char16_t* dest, int32_t start, int32_t max, VIntlMgr* mgr = nullptr) const;

    void FromHour(int32_t seconds, HourFormat format);
    void FromDate(const DateBlock& date, DateFormat format);
    void FromCFString(const PlatformString& text);
    void FromLong(int32_t value, NumericFormat format);
    void FromReal(double value, NumericFormat format, int32_t index = -1);
    // The index-th string of the 'STR#' list id of the file; with a name,
    // the list of that name (none: the string stays empty). Not null.
    void FromStrListResource(VResourceFile& file, int16_t id, int32_t index, VString* name = nullptr);

    void AppendLong(int32_t value, int32_t format = 0);
    void AppendLong8(int64_t value, int32_t format = 0);
    void AppendReal(double value, int32_t format = 3);

    void AppendHour(int32_t seconds, HourFormat format);
    void AppendHour(const VHourInMem& hour, HourFormat format);
    void AppendDate(const DateBlock& date, DateFormat format);
    void AppendDate(const VDateInMem& date, DateFormat format);
    // Rewrite the text by a display format; nothing for an empty format.
    void ApplyNumericFormat(const VString& format);
    void ApplyStringFormat(const VString& format);

    // Through the default international manager: -1, 0 or 1. An ordering:
    // the wildcard plays no part.
    int32_t CompareTo(const VString& other, uint8_t strict) const;
    int32_t CompareToCString(const uint8_t* text, CharSet set, uint8_t strict) const;

    // --- search and editing (1-based positions, 0: not found) ---
    // The first position from start where the pattern matches; a pattern
    // ending in the wildcard matches any text that begins with the rest.
    int32_t Find(const VString& pattern, int32_t start = 1, uint8_t strict = 0) const;
    bool BeginsWith(const VString& text, uint8_t strict = 0) const;
    bool EndsWith(const VString& text, uint8_t strict = 0) const;
    int32_t FindUniChar(char16_t ch, int32_t start = 1, uint8_t backwards = 0) const;
    void SubString(int32_t start, int32_t count);
    void Insert(char16_t ch, int32_t pos);
    void Insert(const VString& text, int32_t pos);
    void Replace(const VString& text, int32_t start, int32_t count);
    void Remove(int32_t start, int32_t count);
    void Exchange(const VString& pattern, const VString& replacement, int32_t start = 1, int32_t count = 1);
    bool RemoveLeadingChar(char16_t ch);
    void ToLowerCase(uint8_t accent = 0);
    // The first four Mac Roman bytes, first byte highest; missing bytes 0.
    void ToOsType(uint32_t& code) const;

    // Hour text ("13:05", "1:30 PM"); kNoHour when it is not one.
    int32_t GetHour(int32_t index = -1) const override;
    void ToDate(DateBlock& date, int32_t index = -1) const override;
    // The real in the text with the given decimal separator.
    double GetRealUsingSeparator(char16_t separator) const;

protected:
    VString(const VString& source);
    VString& operator=(const VString& source);

    // The manager of the string, else the default one.
    VIntlMgr* EffectiveIntlMgr() const;
    // Appends count UTF-16 units, converting into the string's set.
    void AppendUniUnits(const char16_t* units, int32_t count);
    // Appends count bytes of the given 8-bit set (0 Mac Roman, 1 ANSI).
    void AppendByteUnits(const uint8_t* bytes, int32_t count, CharSet set);
    // Replaces the text by the units (converted, clipped); not null.
    void SetUnits(const std::u16string& units);
    // Appends units already in the string's own set, clipped.
    void AppendOwnUnits(const void* units, int32_t count);

    int32_t fMaxLength = 0;
    VIntlMgr* fIntlMgr = nullptr;
};

// A new, empty, not-null string of the given kind; null for other kinds.
VString* NewStringFromStringKind(StringKind kind);

constexpr int32_t kNoHour = INT32_MIN;

int32_t CStringLength(const uint8_t* text);
int32_t UniCStringLength(const char16_t* text);
// Length-prefixed and C strings into a destination of size bytes (length
// byte or terminator included); nothing when size is 0 or less.
void PStringCopy(const uint8_t* src, uint8_t* dst, int16_t size);
void PString2CString(const uint8_t* src, char* dst, int16_t size);
void CString2PString(const char* src, uint8_t* dst, int16_t size);
