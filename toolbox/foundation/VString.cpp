#include "toolbox/foundation/VString.h"

#include <cstring>
#include <vector>

#include "platform/text/IntlSettings.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VAnsiString.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VDate.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VHour.h"
#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr int32_t kMemoryFull = -108;

// The default manager, made on first need.
VIntlMgr* DefaultIntl() { return gDefaultIntl != nullptr ? gDefaultIntl : InitDefaultIntlManager(); }

// A conversion buffer: on the stack while small, else a temporary block of
// gMemory that goes away with the buffer.
template <typename Unit, int32_t kStackUnits>
class ScratchBuffer {
public:
    explicit ScratchBuffer(int32_t units, int32_t blockBytes)
    {
        if (units <= kStackUnits) {
            fData = fStack;
        } else {
            fBlock = gMemory->NewPtr(blockBytes);
            fData = reinterpret_cast<Unit*>(fBlock);
        }
    }
    ~ScratchBuffer()
    {
        if (fBlock != nullptr) gMemory->DisposePtr(fBlock);
    }
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;
    Unit* Data() const { return fData; }

private:
    Unit fStack[kStackUnits];
    char* fBlock = nullptr;
    Unit* fData = nullptr;
};

}  // namespace

VString::VString() = default;

VString::VString(const VString& source) : VValueSingle(source), fMaxLength(source.fMaxLength) {}

VString& VString::operator=(const VString& source)
{
    if (this != &source) FromVString(source);
    return *this;
}

VString::~VString()
{
    if (fIntlMgr != nullptr) fIntlMgr->Release();
}

VIntlMgr* VString::EffectiveIntlMgr() const { return fIntlMgr != nullptr ? fIntlMgr : DefaultIntl(); }

void VString::SetDialect(DialectCode dialect)
{
    if (fIntlMgr != nullptr) fIntlMgr->Release();
    fIntlMgr = RetainIntlManager(dialect);
}

// --- storage defaults ---------------------------------------------------

bool VString::IsUnicode() const { return GetCharSet() == kCharSetUnicode; }
bool VString::IsAnsi() const { return GetCharSet() == kCharSetAnsi; }
bool VString::IsMac() const { return GetCharSet() == kCharSetMac; }
void VString::Unlock() const {}
bool VString::IsLocked() const { return true; }

PlatformString VString::GetCFString() const
{
    if (!IsUnicode()) {
        VText text(*this);
        return text.GetCFString();
    }
    const int32_t length = GetLength();
    const auto* units = static_cast<const char16_t*>(LockAndGetCPointer());
    PlatformString result(units, static_cast<size_t>(length));
    Unlock();
    return result;
}

PlatformString VString::GetMutableCFString() const { return GetCFString(); }

void VString::FromCFString(const PlatformString& text)
{
    // Platform text may come decomposed (a letter, then its accent): the
    // toolbox keeps it composed.
    PlatformString composed(text);
    const int32_t bytes =
        VIntlManagerRoot::PrecomposeUnicodeBuffer(composed.data(), static_cast<int32_t>(composed.size() * 2));
    FromUniBlock(composed.data(), 0, bytes / 2);
    SetNull(false);
}

// --- appending ----------------------------------------------------------

void VString::AppendOwnUnits(const void* units, int32_t count)
{
    const int32_t old = GetLength();
    if (count > fMaxLength - old) count = fMaxLength - old;
    if (count <= 0) return;
    if (!SetLength(old + count)) return;
    const int32_t size = GetCharSize();
    auto* chars = static_cast<char*>(LockAndGetCPointer());
    CopyBlock(units, chars + static_cast<int64_t>(old) * size, static_cast<uint32_t>(count * size));
    Unlock();
}

void VString::AppendUniUnits(const char16_t* units, int32_t count)
{
    if (units == nullptr || count <= 0) return;
    if (IsUnicode()) {
        AppendOwnUnits(units, count);
        return;
    }
    // A character may need two bytes (CR LF for a paragraph separator).
    ScratchBuffer<uint8_t, 1004> buffer(2 * count, 2 * count + 20);
    uint8_t* out = buffer.Data();
    if (out == nullptr) return;
    const char16_t* src = units;
    uint8_t* dst = out;
    const bool done = IsMac() ? DefaultIntl()->Uni2Mac(src, dst, out + 2 * count, count)
                              : DefaultIntl()->Uni2Ansi(src, dst, out + 2 * count, count);
    if (!done) return;
    AppendOwnUnits(out, static_cast<int32_t>(dst - out));
}

void VString::AppendByteUnits(const uint8_t* bytes, int32_t count, CharSet set)
{
    if (bytes == nullptr || count <= 0) return;
    const bool fromMac = set == kCharSetMac;
    if (IsUnicode()) {
        ScratchBuffer<char16_t, 492> buffer(count, (count + 20) * 2);
        char16_t* out = buffer.Data();
        if (out == nullptr) return;
        const uint8_t* src = bytes;
        char16_t* dst = out;
        VIntlMgr* mgr = EffectiveIntlMgr();
        const bool done = fromMac ? mgr->Mac2Uni(src, dst, out + count, count)
                                  : mgr->Ansi2Uni(src, dst, out + count, count);
        if (done) AppendOwnUnits(out, static_cast<int32_t>(dst - out));
        return;
    }
    if (fromMac == IsMac()) {
        AppendOwnUnits(bytes, count);
        return;
    }
    ScratchBuffer<uint8_t, 1004> buffer(count, count + 20);
    uint8_t* out = buffer.Data();
    if (out == nullptr) return;
    const uint8_t* src = bytes;
    uint8_t* dst = out;
    const bool done = fromMac ? vMac2Ansi(src, dst, out + count, count) : vAnsi2Mac(src, dst, out + count, count);
    if (done) AppendOwnUnits(out, static_cast<int32_t>(dst - out));
}

namespace {
// 0 is Mac Roman, -1 the string's own set (Mac Roman for UTF-16 strings),
// anything else Windows ANSI.
CharSet ByteSetOf(CharSet set, const VString& target)
{
    if (set == kCharSetOwn) return target.IsUnicode() ? kCharSetMac : target.GetCharSet();
    return set == kCharSetMac ? kCharSetMac : kCharSetAnsi;
}
}  // namespace

void VString::AppendUniCString(const char16_t* text)
{
    if (text != nullptr) AppendUniUnits(text, UniCStringLength(text));
}

void VString::AppendUniPString(const char16_t* text)
{
    if (text != nullptr) AppendUniUnits(text + 1, text[0]);
}

void VString::AppendPString(const uint8_t* text, CharSet set)
{
    if (text != nullptr) AppendByteUnits(text + 1, text[0], ByteSetOf(set, *this));
}

void VString::AppendCString(const uint8_t* text, CharSet set)
{
    if (text != nullptr) AppendByteUnits(text, CStringLength(text), ByteSetOf(set, *this));
}

void VString::AppendChar(uint8_t ch, CharSet set) { AppendByteUnits(&ch, 1, ByteSetOf(set, *this)); }

void VString::AppendUniChar(char16_t ch) { AppendUniUnits(&ch, 1); }

void VString::AppendVString(const VString& src)
{
    const int32_t length = src.GetLength();
    if (length <= 0) return;
    // Copied by length, so an embedded 0 character stays; a copy first when
    // the source is this string, whose storage may move as it grows.
    const int32_t bytes = length * src.GetCharSize();
    std::vector<char> copy(static_cast<size_t>(bytes));
    std::memcpy(copy.data(), src.LockAndGetCPointer(), static_cast<size_t>(bytes));
    src.Unlock();
    if (src.IsUnicode()) {
        std::vector<char16_t> units(static_cast<size_t>(length));
        std::memcpy(units.data(), copy.data(), static_cast<size_t>(bytes));
        AppendUniUnits(units.data(), length);
    } else {
        AppendByteUnits(reinterpret_cast<const uint8_t*>(copy.data()), length, src.GetCharSet());
    }
}

void VString::FromVString(const VString& src)
{
    if (&src == this) return;
    SetNull(src.IsNull());
    if (src.IsNull()) return;
    ClearString(false);
    AppendVString(src);
}

void VString::FromPString(const uint8_t* text, CharSet set)
{
    ClearString(false);
    AppendPString(text, set);
    SetNull(false);
}

void VString::FromMacPString(const uint8_t* text) { FromPString(text, kCharSetMac); }

void VString::FromCString(const uint8_t* text, CharSet set)
{
    ClearString(false);
    AppendCString(text, set);
    SetNull(false);
}

void VString::FromMacCString(const uint8_t* text) { FromCString(text, kCharSetMac); }
void VString::FromAnsiCString(const uint8_t* text) { FromCString(text, kCharSetAnsi); }

void VString::FromUniCString(const char16_t* text)
{
    ClearString(false);
    AppendUniCString(text);
    SetNull(false);
}

void VString::FromChar(uint8_t ch, CharSet set)
{
    ClearString(false);
    AppendChar(ch, set);
    SetNull(false);
}

void VString::FromUniChar(char16_t ch)
{
    ClearString(false);
    AppendUniChar(ch);
    SetNull(false);
}

// --- export -------------------------------------------------------------

void VString::ToPString(uint8_t* dest, int32_t max, CharSet set) const
{
    if (dest == nullptr) return;
    if (max > 255) max = 255;
    if (max < 0) max = 0;
    if (set == kCharSetOwn) set = IsUnicode() ? kCharSetMac : GetCharSet();
    const int32_t length = GetLength();
    const void* chars = LockAndGetCPointer();
    if (!IsUnicode() && set == GetCharSet()) {
        const int32_t n = length < max ? length : max;
        dest[0] = static_cast<uint8_t>(n);
        std::memcpy(dest + 1, chars, static_cast<size_t>(n));
    } else {
        uint8_t* dst = dest + 1;
        const uint8_t* end = dest + 1 + max;
        if (IsUnicode()) {
            const auto* src = static_cast<const char16_t*>(chars);
            if (set == kCharSetMac)
                DefaultIntl()->Uni2Mac(src, dst, end, length);
            else
                DefaultIntl()->Uni2Ansi(src, dst, end, length);
        } else {
            const auto* src = static_cast<const uint8_t*>(chars);
            if (set == kCharSetMac)
                vAnsi2Mac(src, dst, end, length);
            else
                vMac2Ansi(src, dst, end, length);
        }
        dest[0] = static_cast<uint8_t>(dst - (dest + 1));
    }
    Unlock();
}

void VString::ToUniPString(char16_t* dest, int32_t max) const
{
    if (dest == nullptr) return;
    if (max > 0xFFFF) max = 0xFFFF;
    if (max < 0) max = 0;
    const int32_t length = GetLength();
    const void* chars = LockAndGetCPointer();
    if (IsUnicode()) {
        const int32_t n = length < max ? length : max;
        dest[0] = static_cast<char16_t>(n);
        std::memcpy(dest + 1, chars, static_cast<size_t>(n) * 2);
    } else {
        const auto* src = static_cast<const uint8_t*>(chars);
        char16_t* dst = dest + 1;
        const char16_t* end = max > 0 ? dest + max : dest + 1;
        if (IsMac())
            DefaultIntl()->Mac2Uni(src, dst, end, length);
        else
            DefaultIntl()->Ansi2Uni(src, dst, end, length);
        dest[0] = static_cast<char16_t>(dst - (dest + 1));
    }
    Unlock();
}

int32_t VString::ToUniBlock(char16_t* dest, int32_t, int32_t max, VIntlMgr* mgr) const
{
    if (dest == nullptr || max <= 0) return 0;
    const int32_t length = GetLength();
    const void* chars = LockAndGetCPointer();
    int32_t written;
    if (IsUnicode()) {
        written = length < max ? length : max;
        std::memcpy(dest, chars, static_cast<size_t>(written) * 2);
    } else {
        if (mgr == nullptr) mgr = DefaultIntl();
        const auto* src = static_cast<const uint8_t*>(chars);
        char16_t* dst = dest;
        if (IsMac())
            mgr->Mac2Uni(src, dst, dest + max - 1, length);
        else
            mgr->Ansi2Uni(src, dst, dest + max - 1, length);
        written = static_cast<int32_t>(dst - dest);
    }
    Unlock();
    return written;
}

// --- the value interface ------------------------------------------------

bool VString::CanBeEvaluated() const { return true; }

void VString::SetNull(uint8_t null, int32_t)
{
    if (null) ClearString(true);
    fIsNull = null;
    SetDirty(true);
}

void VString::Clear()
{
    ClearString(true);
    SetNull(false);
}

ValueKind VString::GetValueKind() const { return kValueString; }

int32_t VString::GetSpace() const { return (GetLength() + 2) * GetCharSize(); }

int32_t VString::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) {
        stream->PutLong(kValueString);
        stream->PutLong(GetStringKind());
    }
    const int32_t length = GetLength();
    stream->PutLong(length);
    if (length > 0) {
        stream->PutLong(GetCharSet());
        const void* chars = LockAndGetCPointer();
        if (IsUnicode()) {
            std::vector<int16_t> words(static_cast<size_t>(length) + 1);
            std::memcpy(words.data(), chars, static_cast<size_t>(length) * 2);
            words[static_cast<size_t>(length)] = 0;
            stream->PutWords(words.data(), length + 1);
        } else {
            std::vector<char> bytes(static_cast<size_t>(length) + 1);
            std::memcpy(bytes.data(), chars, static_cast<size_t>(length));
            bytes[static_cast<size_t>(length)] = 0;
            stream->PutBytes(bytes.data(), length + 1);
        }
        Unlock();
    }
    return stream->GetError();
}

int32_t VString::ReadFromStream(VStream* stream, int32_t)
{
    int32_t length = 0;
    if (const int16_t err = stream->GetLong(length); err != 0) return err;
    if (length == 0) {
        Clear();
        return 0;
    }
    if (length < 0) {
        Clear();
        return kStreamEmptyString;
    }
    int32_t set = 0;
    if (const int16_t err = stream->GetLong(set); err != 0) return err;
    const int32_t unitSize = set == kCharSetUnicode ? 2 : 1;
    const int64_t storedBytes = (static_cast<int64_t>(length) + 1) * unitSize;
    const int64_t remaining = static_cast<int64_t>(stream->GetSize()) - stream->GetPos();
    if (storedBytes > remaining) return kStreamEndOfData;
    if (set != kCharSetMac && set != kCharSetAnsi && set != kCharSetUnicode) {
        // A set no string is stored in: the text cannot be read as anything.
        Clear();
        stream->SetPosByOffset(static_cast<uint32_t>(storedBytes));
        return kStreamUnknownCharSet;
    }
    if (!SetLength(length)) {
        stream->SetPosByOffset(static_cast<uint32_t>(storedBytes));
        return kStringTooLong;
    }
    int32_t count = length + 1;
    if (set == GetCharSet()) {
        // Read into a copy first: the string's storage holds exactly
        // length + 1 units and the stored terminator is not trusted.
        std::vector<char> units(static_cast<size_t>(storedBytes));
        int16_t err = unitSize == 2 ? stream->GetWords(reinterpret_cast<int16_t*>(units.data()), &count)
                                    : stream->GetBytes(units.data(), &count);
        if (err != 0) {
            Clear();
            return err;
        }
        std::memcpy(LockAndGetCPointer(), units.data(), static_cast<size_t>(length) * unitSize);
        Unlock();
        AdjustCString();
        return stream->GetError();
    }
    char* block = gMemory->NewPtr(static_cast<int32_t>(storedBytes));
    if (block == nullptr) {
        Clear();
        return kMemoryFull;
    }
    // A conversion that fails leaves the string empty, not at the stored length.
    ClearString(false);
    const int16_t err = unitSize == 2 ? stream->GetWords(reinterpret_cast<int16_t*>(block), &count)
                                      : stream->GetBytes(block, &count);
    if (err == 0) {
        if (set == kCharSetUnicode)
            FromUniBlock(reinterpret_cast<const char16_t*>(block), 0, length);
        else
            FromBlock(reinterpret_cast<const uint8_t*>(block), 0, length, set);
    } else {
        Clear();
    }
    gMemory->DisposePtr(block);
    return stream->GetError();
}

void* VString::WriteToPtr(void* data, uint8_t) const
{
    if (IsUnicode()) {
        char16_t units[256];
        ToUniPString(units, 255);
        std::memcpy(data, units, (static_cast<size_t>(units[0]) + 1) * 2);
    } else {
        ToPString(static_cast<uint8_t*>(data), 255, kCharSetMac);
    }
    return static_cast<char*>(data) + GetSpace();
}

void* VString::LoadFromPtr(void* data, uint8_t)
{
    if (IsUnicode()) {
        uint16_t length;
        std::memcpy(&length, data, 2);
        // The form never holds more than 255 units; a larger length is damage
        // and is not followed past them.
        if (length > 255) length = 255;
        std::vector<char16_t> units(length);
        std::memcpy(units.data(), static_cast<char*>(data) + 2, static_cast<size_t>(length) * 2);
        ClearString(false);
        AppendUniUnits(units.data(), length);
        SetNull(false);
    } else {
        FromPString(static_cast<const uint8_t*>(data), kCharSetMac);
    }
    return static_cast<char*>(data) + GetSpace();
}

// --- numbers, booleans, hours and dates as text --------------------------

namespace {

// The text as a Mac Roman C string of at most 79 characters.
std::string MacText(const VString& text)
{
    uint8_t buffer[81];
    text.ToPString(buffer, 79, kCharSetMac);
    return std::string(reinterpret_cast<char*>(buffer + 1), buffer[0]);
}

// Integer text is negative when a '-' comes before any digit other than 0
// of its integer part ("5-3" is 53, "0-5" is -5).
bool IntegerTextIsNegative(const std::string& text, char separator)
{
    for (const char c : text) {
        if (c == separator || c == 'e' || c == 'E' || (c >= '1' && c <= '9')) return false;
        if (c == '-') return true;
    }
    return false;
}

// The magnitude of the number text as a real, with the sign of integer text.
double IntegerTextValue(const VString& s)
{
    const char16_t separator = static_cast<char16_t>(platform::GetIntlSettings().decimalSeparator);
    const double magnitude = std::fabs(s.GetRealUsingSeparator(separator));
    return IntegerTextIsNegative(MacText(s), static_cast<char>(separator)) ? -magnitude : magnitude;
}

}  // namespace

int32_t VString::GetLong(int32_t) const
{
    // One rule for integers: the whole number text (fraction and exponent
    // included) is read as a real and cut toward zero, held at the 32-bit limits.
    const double value = IntegerTextValue(*this);
    if (std::isnan(value)) return INT32_MIN;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int64_t VString::GetLong8(int32_t) const
{
    const double value = IntegerTextValue(*this);
    // Digits beyond a double's precision: read the integer digits exactly.
    const std::string text = MacText(*this);
    bool plainInteger = true;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == ' ')) plainInteger = false;
    if (plainInteger) {
        uint64_t exact = 0;
        bool negative = false, overflow = false;
        for (const char c : text) {
            if (c == '-' && exact == 0) negative = true;
            if (c < '0' || c > '9') continue;
            if (exact > (UINT64_MAX - 9) / 10) overflow = true;
            else exact = exact * 10 + static_cast<uint64_t>(c - '0');
        }
        const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
        if (overflow || exact > limit) return negative ? INT64_MIN : INT64_MAX;
        return negative ? static_cast<int64_t>(0 - exact) : static_cast<int64_t>(exact);
    }
    if (std::isnan(value)) return INT64_MIN;
    if (value >= 9223372036854775807.0) return INT64_MAX;
    if (value <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

int16_t VString::GetWord(int32_t) const { return static_cast<int16_t>(GetLong()); }

double VString::GetRealUsingSeparator(char16_t separator) const
{
    const std::string text = MacText(*this);
    const char sep = static_cast<char>(separator);
    size_t i = 0;
    double value = 0.0;
    bool negative = false;
    bool exponent = false;
    bool fraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-') negative = true;
        else if (c == sep) { fraction = true; ++i; break; }
        else if (c == 'e' || c == 'E') { exponent = true; ++i; break; }
        else if (c >= '0' && c <= '9') value = value * 10.0 + (c - '0');
    }
    if (fraction) {
        size_t end = i;
        while (end < text.size() && text[end] != sep && text[end] != 'e' && text[end] != 'E') ++end;
        double denominator = 1.0;
        double numerator = 0.0;
        for (size_t k = i; k < end; ++k) {
            denominator *= 10.0;
            if (text[k] >= '0' && text[k] <= '9') numerator = numerator * 10.0 + (text[k] - '0');
            else numerator *= 10.0;
        }
        value += numerator / denominator;
        i = end;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) exponent = true;
        ++i;
    }
    if (exponent) {
        int32_t power = 0;
        bool negativePower = false;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '-') negativePower = true;
            else if (c >= '0' && c <= '9' && power < 10000) power = power * 10 + (c - '0');
        }
        value *= std::pow(10.0, negativePower ? -power : power);
    }
    return negative ? -value : value;
}

double VString::GetReal(int32_t) const
{
    return GetRealUsingSeparator(static_cast<char16_t>(platform::GetIntlSettings().decimalSeparator));
}

bool VString::GetBoolean(int32_t) const
{
    // The system's word for true (from the toolbox resources) counts first.
    if (gSystem != nullptr) {
        VStr<15> word;
        gSystem->GetBoolString(word, true);
        if (word.GetLength() > 0 && CompareTo(word, false) == 0) return true;
    }
    std::string text = MacText(*this);
    if (text == "1") return true;
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text == "true";
}

void VString::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromString(*this); }

void VString::ToString(VString& target, VString* format, int32_t) const
{
    target.FromVString(*this);
    if (format != nullptr) target.ApplyStringFormat(*format);
}

void VString::ToValue(VValue& target, int32_t) const { target.FromString(*this); }

void VString::FromBoolean(uint8_t value, int32_t)
{
    static const uint8_t kTrue[] = "\x04true";
    static const uint8_t kFalse[] = "\x05" "false";
    if (gSystem != nullptr) {
        VStr<15> word;
        gSystem->GetBoolString(word, value != 0);
        if (word.GetLength() > 0) {
            FromVString(word);
            return;
        }
    }
    FromPString(value ? kTrue : kFalse, kCharSetMac);
}

void VString::FromWord(int16_t value, int32_t) { FromLong(value); }

void VString::FromLong(int32_t value, int32_t)
{
    ClearString(false);
    AppendLong(value, 0);
    SetNull(false);
}

void VString::FromLong(int32_t value, NumericFormat format)
{
    ClearString(false);
    AppendLong(value, format);
    SetNull(false);
}

void VString::FromReal(double value, NumericFormat format, int32_t)
{
    ClearString(false);
    AppendReal(value, format);
    SetNull(false);
}

void VString::FromLong8(int64_t value, int32_t)
{
    ClearString(false);
    AppendLong8(value, 0);
    SetNull(false);
}

void VString::FromReal(double value, int32_t)
{
    ClearString(false);
    AppendReal(value, 3);
    SetNull(false);
}

void VString::FromBigLong(const VBigLongInMem& value, int32_t)
{
    SetNull(value.IsNull());
    if (!value.IsNull()) value.ToString(*this);
}

void VString::FromHour(int32_t seconds, int32_t) { FromHour(seconds, HourFormat{}); }
void VString::FromDate(const DateBlock& date, int32_t) { FromDate(date, DateFormat{}); }

void VString::FromHour(int32_t seconds, HourFormat format)
{
    Clear();
    AppendHour(seconds, format);
}

void VString::FromDate(const DateBlock& date, DateFormat format)
{
    Clear();
    AppendDate(date, format);
}

void VString::FromString(const VString& text, int32_t) { FromVString(text); }

void VString::FromValue(const VValue& value, int32_t)
{
    if (value.IsNull())
        SetNull(true);
    else
        value.ToString(*this);
}

namespace {

void AppendDigits(VString& text, uint64_t magnitude, bool negative)
{
    char digits[24];
    int32_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) text.AppendChar('-', kCharSetMac);
    while (n > 0) text.AppendChar(static_cast<uint8_t>(digits[--n]), kCharSetMac);
}

void AppendHex(VString& text, uint64_t value, int32_t digits)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (digits == 0) {
        for (uint64_t v = value; v != 0; v >>= 4) ++digits;
    }
    for (int32_t k = digits - 1; k >= 0; --k) text.AppendChar(static_cast<uint8_t>(kHex[(value >> (4 * k)) & 0xF]), kCharSetMac);
}

void AppendFourChars(VString& text, uint32_t code)
{
    for (int32_t shift = 24; shift >= 0; shift -= 8) text.AppendChar(static_cast<uint8_t>(code >> shift), kCharSetMac);
}

// Digits of the fixed-width hexadecimal formats 18-21.
constexpr int32_t kHexDigits[4] = {2, 4, 8, 16};

}  // namespace

void VString::AppendLong(int32_t value, int32_t format)
{
    if (format == 0) {
        const bool negative = value < 0;
        AppendDigits(*this, negative ? 0u - static_cast<uint64_t>(static_cast<int64_t>(value)) : static_cast<uint64_t>(value),
                     negative);
    } else if ((format >= 1 && format <= 3) || format < 0) {
        AppendReal(value, format);
    } else if (format == 16) {
        AppendFourChars(*this, static_cast<uint32_t>(value));
    } else if (format == 17) {
        AppendHex(*this, static_cast<uint32_t>(value), 0);
    } else if (format >= 18 && format <= 21) {
        AppendHex(*this, static_cast<uint32_t>(value), kHexDigits[format - 18]);
    }
}

void VString::AppendLong8(int64_t value, int32_t format)
{
    if (format == 0) {
        const bool negative = value < 0;
        AppendDigits(*this, negative ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value), negative);
    } else if ((format >= 1 && format <= 3) || format < 0) {
        AppendReal(static_cast<double>(value), format);
    } else if (format == 16) {
        AppendFourChars(*this, static_cast<uint32_t>(value));
    } else if (format == 17) {
        AppendHex(*this, static_cast<uint64_t>(value), 0);
    } else if (format >= 18 && format <= 21) {
        AppendHex(*this, static_cast<uint64_t>(value), kHexDigits[format - 18]);
    }
}

void VString::AppendReal(double value, int32_t format)
{
    if (format <= 3) {
        VMacStr<82> formatText, result;
        VEngine::FormatReal(value, formatText, result);
        AppendVString(result);
    } else {
        AppendLong(TruncateToLong(value), format);
    }
}

void VString::AppendHour(int32_t seconds, HourFormat format)
{
    if (gKernelTextHooks.hourToText == nullptr) return;
    uint8_t text[256] = {};
    gKernelTextHooks.hourToText(seconds, text, format);
    AppendPString(text, kCharSetMac);
}

void VString::AppendHour(const VHourInMem& hour, HourFormat format) { AppendHour(hour.GetHour(), format); }

void VString::AppendDate(const VDateInMem& date, DateFormat format)
{
    DateBlock block{};
    date.ToDate(block);
    AppendDate(block, format);
}

void VString::AppendDate(const DateBlock& date, DateFormat format)
{
    if (gKernelTextHooks.dateToText == nullptr) return;
    uint8_t text[256] = {};
    gKernelTextHooks.dateToText(date, text, format);
    AppendPString(text, kCharSetMac);
}

namespace {
void ApplyFormat(VString& text, const VString& format, void (*apply)(uint8_t*, const uint8_t*))
{
    if (format.GetLength() == 0 || apply == nullptr) return;
    uint8_t value[256 + sizeof(double)] = {};
    uint8_t pattern[256] = {};
    text.ToPString(value, 255, kCharSetMac);
    format.ToPString(pattern, 255, kCharSetMac);
    apply(value, pattern);
    text.FromPString(value, kCharSetMac);
}
}  // namespace

void VString::ApplyNumericFormat(const VString& format)
{
    ApplyFormat(*this, format, gKernelTextHooks.applyNumericFormat);
}

void VString::ApplyStringFormat(const VString& format) { ApplyFormat(*this, format, gKernelTextHooks.applyStringFormat); }

int32_t VString::CompareTo(const VString& other, uint8_t strict) const
{
    return DefaultIntl()->CompareVString(*this, other, strict != 0);
}

int32_t VString::CompareTo(const VValue& other, uint8_t strict, int32_t) const
{
    if (other.GetValueKind() == kValueString) return CompareTo(static_cast<const VString&>(other), strict);
    VStr<255> text;
    other.ToString(text);
    return CompareTo(text, strict);
}

// --- free functions -----------------------------------------------------

VString* NewStringFromStringKind(StringKind kind)
{
    switch (kind) {
    case kStringUniInMem: return new VStr<255>;
    case kStringUniText: return new VText;
    case kStringMacInMem: return new VMacStr<255>;
    case kStringMacText: return new VMacText;
    case kStringAnsiInMem: return new VAnsiStr<255>;
    case kStringAnsiText: return new VAnsiText;
    default: return nullptr;
    }
}

int32_t CStringLength(const uint8_t* text)
{
    if (text == nullptr) return 0;
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

int32_t UniCStringLength(const char16_t* text)
{
    if (text == nullptr) return 0;
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

void PStringCopy(const uint8_t* src, uint8_t* dst, int16_t size)
{
    if (src == nullptr || dst == nullptr || size <= 0) return;
    const int32_t n = src[0] < size - 1 ? src[0] : size - 1;
    std::memmove(dst + 1, src + 1, size_t(n));
    dst[0] = uint8_t(n);
}

void PString2CString(const uint8_t* src, char* dst, int16_t size)
{
    if (src == nullptr || dst == nullptr || size <= 0) return;
    const int32_t n = src[0] < size - 1 ? src[0] : size - 1;
    std::memmove(dst, src + 1, size_t(n));
    dst[n] = 0;
}

void CString2PString(const char* src, uint8_t* dst, int16_t size)
{
    if (src == nullptr || dst == nullptr || size <= 0) return;
    // A length byte holds at most 255.
    const int32_t room = size - 1 < 255 ? size - 1 : 255;
    int32_t n = 0;
    while (n < room && src[n] != 0) ++n;
    std::memmove(dst + 1, src, size_t(n));
    dst[0] = uint8_t(n);
}
