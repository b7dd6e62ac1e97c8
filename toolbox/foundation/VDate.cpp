#include "toolbox/foundation/VDate.h"

#include <cstring>

#include "platform/core/Clock.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Days before the month in a year that starts on 1 March.
constexpr int64_t kDaysBeforeMonth[12] = {306, 337, 0, 31, 61, 92, 122, 153, 184, 214, 245, 275};

int64_t DayNumber(int64_t day, int64_t month, int64_t year)
{
    const int64_t y = month < 3 ? year - 1 : year;
    return day + kDaysBeforeMonth[month - 1] + 365 * y + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) +
           1721118;
}

const int64_t kDayNumberOfYear0 = DayNumber(1, 1, 0);  // 1721059

bool IsLeapYear(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int64_t MonthLength(int64_t month, int64_t year)
{
    static constexpr int64_t kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kLengths[month - 1];
}

}  // namespace

VDateInMem::~VDateInMem() = default;

int32_t VDateInMem::ReadFromStream(VStream* stream, int32_t)
{
    DateBlock date;
    stream->GetWord(date.year);
    stream->GetWord(date.month);
    const int16_t err = stream->GetWord(date.day);
    if (err == 0) Set(date);
    return err;
}

int32_t VDateInMem::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    const DateBlock date = Get();
    stream->PutWord(date.year);
    stream->PutWord(date.month);
    return stream->PutWord(date.day);
}

VValue* VDateInMem::Clone() const { return new VDate(Get()); }
bool VDateInMem::CanBeEvaluated() const { return true; }

void VDateInMem::Clear()
{
    Set(DateBlock{});
    SetNull(false);
}

ValueKind VDateInMem::GetValueKind() const { return kValueDate; }
void VDateInMem::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromValue(*this); }
void VDateInMem::ToDate(DateBlock& date, int32_t) const { date = Get(); }

void VDateInMem::ToString(VString& target, VString* format, int32_t) const
{
    target.FromDate(Get(), static_cast<DateFormat>(format != nullptr ? format->GetLong() : 0));
}

void VDateInMem::ToValue(VValue& target, int32_t) const { target.FromDate(Get()); }

void VDateInMem::FromDate(const DateBlock& date, int32_t)
{
    Set(date);
    SetNull(false);
    Check();
}

void VDateInMem::FromString(const VString& text, int32_t)
{
    SetNull(text.IsNull());
    if (text.IsNull()) return;
    DateBlock date;
    text.ToDate(date);
    Set(date);
    Check();
}

void VDateInMem::FromValue(const VValue& value, int32_t)
{
    DateBlock date;
    value.ToDate(date);
    Set(date);
    SetNull(value.IsNull());
    if (!value.IsNull()) Check();
}

int32_t VDateInMem::CompareTo(const DateBlock& other) const
{
    const DateBlock mine = Get();
    if (mine.year != other.year) return mine.year > other.year ? 1 : -1;
    if (mine.month != other.month) return mine.month > other.month ? 1 : -1;
    if (mine.day != other.day) return mine.day > other.day ? 1 : -1;
    return 0;
}

int32_t VDateInMem::CompareTo(const VValue& other, uint8_t, int32_t) const
{
    DateBlock date;
    other.ToDate(date);
    return CompareTo(date);
}

void* VDateInMem::LoadFromPtr(void* data, uint8_t)
{
    DateBlock date;
    std::memcpy(&date.day, static_cast<char*>(data), 2);
    std::memcpy(&date.month, static_cast<char*>(data) + 2, 2);
    std::memcpy(&date.year, static_cast<char*>(data) + 4, 2);
    Set(date);
    SetNull(false);
    return static_cast<char*>(data) + 6;
}

void* VDateInMem::WriteToPtr(void* data, uint8_t) const
{
    const DateBlock date = Get();
    std::memcpy(static_cast<char*>(data), &date.day, 2);
    std::memcpy(static_cast<char*>(data) + 2, &date.month, 2);
    std::memcpy(static_cast<char*>(data) + 4, &date.year, 2);
    return static_cast<char*>(data) + 6;
}

int32_t VDateInMem::GetSpace() const { return 6; }

void VDateInMem::FromToday()
{
    uint32_t seconds = 0;
    platform::GetDateTime(&seconds);
    // Day 1 + n of January 1904 rolls forward to the date n days later.
    DateBlock date{1, 1, 1904};
    int64_t days = seconds / kSecondsPerDay;
    // Step in whole years of the 1904 calendar so the day fits 16 bits.
    while (days > 366) {
        const int64_t length = IsLeapYear(date.year) ? 366 : 365;
        days -= length;
        ++date.year;
    }
    date.day = static_cast<int16_t>(1 + days);
    Set(date);
    Check();
    SetNull(false);
}

int64_t VDateInMem::GetSecondsSinceYear0() const
{
    const DateBlock date = Get();
    int64_t day = date.day;
    int64_t month = date.month;
    int64_t year = date.year;
    if (day == 0) {
        --month;
        if (month == 0) {
            month = 12;
            --year;
        }
        if (month >= 1 && month <= 12) day = MonthLength(month, year);
    }
    const int64_t carry = FloorDiv(month - 1, 12);
    year += carry;
    month -= carry * 12;
    bool negate = false;
    if (year < 0) {
        year = -(year + 1);
        negate = true;
    }
    const int64_t seconds = (DayNumber(day, month, year) - kDayNumberOfYear0) * kSecondsPerDay;
    return negate ? -seconds : seconds;
}

void VDateInMem::Check()
{
    const int64_t z = GetSecondsSinceYear0() / kSecondsPerDay + kDayNumberOfYear0 - 1721118;
    const int64_t t = 100 * z - 25;
    const int64_t a = FloorDiv(t, 3652425);
    const int64_t b = a - FloorDiv(a, 4);
    int64_t year = FloorDiv(100 * b + t, 36525);
    const int64_t c = b + z - 365 * year - FloorDiv(year, 4);
    int64_t month = FloorDiv(5 * c + 456, 153);
    const int64_t day = c - FloorDiv(153 * month - 457, 5);
    if (month > 12) {
        ++year;
        month -= 12;
    }
    Set(DateBlock{static_cast<int16_t>(day), static_cast<int16_t>(month), static_cast<int16_t>(year)});
}

VDate::~VDate() = default;
