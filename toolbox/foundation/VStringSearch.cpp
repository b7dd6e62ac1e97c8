// Search, editing, hour and date text of toolbox strings. Every operation
// works on the text as UTF-16 and writes the result back into the
// string's own set, clipped at its maximum length.
#include <ctime>
#include <string>

#include "platform/core/Clock.h"
#include "platform/text/IntlSettings.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VText.h"

namespace {

std::u16string UnitsOf(const VString& s)
{
    std::u16string units(size_t(s.GetLength()) + 1, u'\0');
    units.resize(size_t(s.ToUniBlock(units.data(), 0, int32_t(units.size()))));
    return units;
}

VIntlMgr* Intl() { return gDefaultIntl != nullptr ? gDefaultIntl : InitDefaultIntlManager(); }

int32_t CompareUnits(const char16_t* a, int32_t aLength, const std::u16string& b, bool strict, bool wildcard)
{
    VStr<255> left, right;
    VText longLeft, longRight;
    VString& l = aLength < 255 ? static_cast<VString&>(left) : longLeft;
    VString& r = b.size() < 255 ? static_cast<VString&>(right) : longRight;
    l.FromUniBlock(a, 0, aLength);
    r.FromUniBlock(b.data(), 0, int32_t(b.size()));
    return wildcard ? Intl()->MatchVString(l, r, strict) : Intl()->CompareVString(l, r, strict);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string Widen(const std::string& mac)
{
    std::u16string out;
    for (const char c : mac) out.push_back(Intl()->Mac2Uni(uint8_t(c)));
    return out;
}

bool EndsWithLoose(const std::u16string& text, const std::u16string& marker)
{
    if (marker.empty() || marker.size() > text.size()) return false;
    const std::u16string tail = text.substr(text.size() - marker.size());
    return CompareUnits(tail.data(), int32_t(tail.size()), marker, false, false) == 0;
}

std::u16string TrimSpaces(std::u16string s)
{
    while (!s.empty() && s.back() == u' ') s.pop_back();
    while (!s.empty() && s.front() == u' ') s.erase(s.begin());
    return s;
}

}  // namespace

void VString::SetUnits(const std::u16string& units)
{
    ClearString(false);
    AppendUniUnits(units.data(), int32_t(units.size()));
    SetNull(false);
}

int32_t VString::CompareToCString(const uint8_t* text, CharSet set, uint8_t strict) const
{
    if (set == kCharSetOwn) set = GetCharSet();
    const int32_t length = CStringLength(text);
    VStr<255> shortText;
    VText longText;
    VString& other = length < 255 ? static_cast<VString&>(shortText) : longText;
    other.FromBlock(text, 0, length, set != kCharSetMac ? kCharSetAnsi : kCharSetMac);
    return CompareTo(other, strict);
}

int32_t VString::Find(const VString& pattern, int32_t start, uint8_t strict) const
{
    const std::u16string text = UnitsOf(*this);
    const std::u16string wanted = UnitsOf(pattern);
    const auto length = int32_t(text.size());
    const auto patternLength = int32_t(wanted.size());
    if (start < 1) start = 1;
    if (start > length) return 0;
    const bool wildcard = patternLength > 0 && wanted.back() == Intl()->GetWildcard();
    // A wildcard pattern needs only its prefix inside the text.
    const int32_t needed = wildcard ? patternLength - 1 : patternLength;
    for (int32_t p = start; p + needed - 1 <= length; ++p) {
        const int32_t window = wildcard ? length - p + 1 : patternLength;
        if (CompareUnits(text.data() + p - 1, window, wanted, strict != 0, wildcard) == 0) return p;
    }
    return 0;
}

bool VString::BeginsWith(const VString& text, uint8_t strict) const { return Find(text, 1, strict) == 1; }

bool VString::EndsWith(const VString& text, uint8_t strict) const
{
    const int32_t n = text.GetLength();
    if (n == 0) return true;
    if (n > GetLength()) return false;
    const int32_t at = GetLength() - n + 1;
    return Find(text, at, strict) == at;
}

int32_t VString::FindUniChar(char16_t ch, int32_t start, uint8_t backwards) const
{
    const int32_t length = GetLength();
    if (start < 1 || start > length) return 0;
    if (backwards && IsUnicode()) {
        for (int32_t i = start; i >= 1; --i)
            if (GetChar(i) == ch) return i;
        return 0;
    }
    for (int32_t i = start; i <= length; ++i)
        if (GetChar(i) == ch) return i;
    return 0;
}

void VString::SubString(int32_t start, int32_t count)
{
    if (start < 1) start = 1;
    const std::u16string units = UnitsOf(*this);
    if (start > int32_t(units.size())) {
        Clear();
        return;
    }
    SetUnits(units.substr(size_t(start - 1), count < 0 ? 0 : size_t(count)));
}

void VString::Insert(char16_t ch, int32_t pos)
{
    VStr<1> one;
    one.FromUniChar(ch);
    Insert(one, pos);
}

void VString::Insert(const VString& text, int32_t pos)
{
    std::u16string units = UnitsOf(*this);
    if (pos < 1) pos = 1;
    if (pos > int32_t(units.size()) + 1) pos = int32_t(units.size()) + 1;
    units.insert(size_t(pos - 1), UnitsOf(text));
    SetUnits(units);  // a tail past the maximum length is dropped
}

void VString::Replace(const VString& text, int32_t start, int32_t count)
{
    std::u16string units = UnitsOf(*this);
    if (start < 1 || start > int32_t(units.size())) return;
    units.replace(size_t(start - 1), count < 0 ? 0 : size_t(count), UnitsOf(text));
    SetUnits(units);
}

void VString::Remove(int32_t start, int32_t count)
{
    std::u16string units = UnitsOf(*this);
    if (start < 1 || start > int32_t(units.size()) || count <= 0) return;
    units.erase(size_t(start - 1), size_t(count));
    SetUnits(units);
}

void VString::Exchange(const VString& pattern, const VString& replacement, int32_t start, int32_t count)
{
    const auto replacementLength = int32_t(UnitsOf(replacement).size());
    for (int32_t n = 0; n < count; ++n) {
        if (start > GetLength()) return;
        const int32_t at = Find(pattern, start, false);
        if (at == 0) return;
        Replace(replacement, at, pattern.GetLength());
        start = at + replacementLength;
    }
}

bool VString::RemoveLeadingChar(char16_t ch)
{
    if (GetLength() == 0 || GetChar(1) != ch) return false;
    Remove(1, 1);
    return true;
}

void VString::ToLowerCase(uint8_t accent)
{
    if (GetLength() == 0) return;
    std::u16string units = UnitsOf(*this);
    Intl()->ToLowerCase(units.data(), int32_t(units.size()), accent != 0);
    SetUnits(units);
}

void VString::ToOsType(uint32_t& code) const
{
    uint8_t text[6] = {};
    ToPString(text, 4, kCharSetMac);
    code = 0;
    for (int32_t i = 0; i < 4; ++i) code = (code << 8) | (i < text[0] ? text[1 + i] : 0);
}

int32_t VString::GetHour(int32_t) const
{
    const auto& settings = platform::GetIntlSettings();
    std::u16string text = TrimSpaces(UnitsOf(*this));
    const std::u16string am = TrimSpaces(Widen(settings.amString));
    const std::u16string pm = TrimSpaces(Widen(settings.pmString));
    enum { kNone, kAm, kPm } marker = kNone;
    if (EndsWithLoose(text, am)) marker = kAm;
    else if (EndsWithLoose(text, pm)) marker = kPm;
    if (marker != kNone) text = TrimSpaces(text.substr(0, text.size() - (marker == kAm ? am : pm).size()));

    const char16_t separator = Intl()->Mac2Uni(settings.timeSeparator);
    int32_t fields[3] = {-1, -1, -1};
    int32_t field = 0;
    bool negative = false, sawSeparator = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-' && i == 0) {
            negative = true;
        } else if (c == separator && i > 0) {
            if (++field == 3) return kNoHour;
            sawSeparator = true;
        } else if (IsDigit(c)) {
            int32_t& f = fields[field];
            f = f < 0 ? 0 : f;
            if (f > 100000) return kNoHour;
            f = f * 10 + (c - u'0');
        } else {
            return kNoHour;
        }
    }
    if (!sawSeparator && marker == kNone) return kNoHour;
    int32_t hours = fields[0] < 0 ? 0 : fields[0];
    const int32_t minutes = field >= 1 ? fields[1] : 0;
    const int32_t seconds = fields[2] < 0 ? 0 : fields[2];
    if (minutes < 0 || minutes > 59 || seconds > 59) return kNoHour;
    // Twelve-hour clock: 12 AM is midnight, 12 PM noon.
    if (marker != kNone && (hours < 1 || hours > 12)) return kNoHour;
    if (marker == kAm && hours == 12) hours = 0;
    if (marker == kPm && hours != 12) hours += 12;
    const int32_t total = hours * 3600 + minutes * 60 + seconds;
    return negative ? -total : total;
}

void VString::ToDate(DateBlock& date, int32_t) const
{
    date = DateBlock{};
    const auto& settings = platform::GetIntlSettings();
    const std::u16string text = UnitsOf(*this);
    const char16_t separator = Intl()->Mac2Uni(settings.dateSeparator);
    int32_t fields[3] = {-1, -1, -1};
    bool negative[3] = {};
    int32_t field = 0;
    bool sawSeparator = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-' && fields[field] < 0) {
            negative[field] = true;
        } else if (c == separator && i > 0) {
            if (++field == 3) return;
            sawSeparator = true;
        } else if (IsDigit(c)) {
            int32_t& f = fields[field];
            f = f < 0 ? 0 : f;
            if (f > 100000) return;
            f = f * 10 + (c - u'0');
        } else {
            return;
        }
    }
    if (!sawSeparator) return;
    int32_t v[3];
    for (int32_t i = 0; i < 3; ++i) v[i] = fields[i] < 0 ? -1 : (negative[i] ? -fields[i] : fields[i]);
    int32_t day, month, year;
    switch (settings.dateOrder) {
    case platform::mdy: month = v[0], day = v[1], year = v[2]; break;
    case platform::dmy: day = v[0], month = v[1], year = v[2]; break;
    case platform::ymd: year = v[0], month = v[1], day = v[2]; break;
    case platform::myd: month = v[0], year = v[1], day = v[2]; break;
    case platform::dym: day = v[0], year = v[1], month = v[2]; break;
    case platform::ydm: year = v[0], day = v[1], month = v[2]; break;
    default: return;
    }
    if (year >= 0 && year <= 99) {
        int32_t pivot = 0, century = 0;
        VEngine::GetCenturyInfo(pivot, century);
        if (pivot != 0) {
            year += (year < pivot ? century + 1 : century) * 100;
        } else {
            // The century of today's date.
            const int64_t unix = platform::MacLocalToUnix(platform::CurrentClock().Seconds());
            const std::time_t t = std::time_t(unix);
            std::tm parts{};
            gmtime_r(&t, &parts);
            year += ((parts.tm_year + 1900) / 100) * 100;
        }
    }
    if (day > 0 && month > 0 && year >= 0 && year <= INT16_MAX && day <= INT16_MAX && month <= INT16_MAX)
        date = DateBlock{int16_t(day), int16_t(month), int16_t(year)};
}
