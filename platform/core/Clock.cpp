#include "platform/core/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
namespace {

Clock* gClock = nullptr;

int64_t NowNanos()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// Offset of local time from UTC at the given moment, in seconds.
int64_t LocalOffset(int64_t unixSeconds)
{
    time_t t = time_t(unixSeconds);
    struct tm local;
    if (!localtime_r(&t, &local)) return 0;
    return local.tm_gmtoff;
}

}  // namespace

RealClock::RealClock() : startNanos_(NowNanos()) {}

uint32_t RealClock::Ticks() { return uint32_t((NowNanos() - startNanos_) * 60 / 1000000000); }

uint32_t RealClock::Seconds() { return UnixToMacLocal(int64_t(std::time(nullptr))); }

void RealClock::Wait(uint32_t ticks)
{
    std::this_thread::sleep_for(std::chrono::microseconds(int64_t(ticks) * 1000000 / 60));
}

VirtualClock::VirtualClock(uint32_t ticks, uint32_t seconds)
    : ticks_(ticks), baseTicks_(ticks), seconds_(seconds)
{
}

Clock& CurrentClock()
{
    static RealClock* real = new RealClock;
    return gClock ? *gClock : *real;
}

void SetClock(Clock* clock) { gClock = clock; }

uint32_t TickCount() { return CurrentClock().Ticks(); }

void GetDateTime(uint32_t* seconds)
{
    if (seconds) *seconds = CurrentClock().Seconds();
}

void ReadDateTime(uint32_t* seconds) { GetDateTime(seconds); }

void Delay(uint32_t ticks, uint32_t* finalTicks)
{
    Clock& clock = CurrentClock();
    clock.Wait(ticks);
    if (finalTicks) *finalTicks = clock.Ticks();
}

uint32_t UnixToMacLocal(int64_t unixSeconds)
{
    return uint32_t(unixSeconds + LocalOffset(unixSeconds) + kSeconds1904To1970);
}

int64_t MacLocalToUnix(uint32_t macSeconds)
{
    int64_t guess = int64_t(macSeconds) - kSeconds1904To1970;
    return guess - LocalOffset(guess - LocalOffset(guess));
}

CivilDay MacSecondsToDay(uint32_t macSeconds)
{
    // Days since 1970-01-01 shifted to an era starting 0000-03-01.
    const int64_t z = int64_t(macSeconds / 86400) - int64_t(kSeconds1904To1970 / 86400) + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int32_t day = int32_t(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int32_t month = int32_t(mp < 10 ? mp + 3 : mp - 9);
    return CivilDay{day, month, int32_t(yearOfEra + era * 400 + (month <= 2 ? 1 : 0))};
}

}  // namespace platform
