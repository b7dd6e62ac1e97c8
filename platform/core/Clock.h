// The clock: ticks (1/60 s) and seconds since 1904-01-01 in local time.
// Every clock read of the program goes through here, so tests and headless
// runs can put a virtual clock in place of the real one.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Ticks() = 0;
    // Seconds since 1904-01-01 00:00:00, local time.
    virtual uint32_t Seconds() = 0;
    // Waits (or, for a virtual clock, advances) the given number of ticks.
    virtual void Wait(uint32_t ticks) = 0;
};

// Real time: ticks since the clock was made, seconds from the system time.
class RealClock final : public Clock {
public:
    RealClock();
    uint32_t Ticks() override;
    uint32_t Seconds() override;
    void Wait(uint32_t ticks) override;

private:
    int64_t startNanos_;
};

// Time that moves only when told to: every Wait and Advance moves both the
// ticks and the seconds on; nothing depends on the machine's time or zone.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(uint32_t ticks = 0, uint32_t seconds = kDefaultSeconds);
    uint32_t Ticks() override { return ticks_; }
    uint32_t Seconds() override { return seconds_ + (ticks_ - baseTicks_) / 60; }
    void Wait(uint32_t ticks) override { Advance(ticks); }
    void Advance(uint32_t ticks) { ticks_ += ticks; }
    void SetSeconds(uint32_t seconds)
    {
        seconds_ = seconds;
        baseTicks_ = ticks_;
    }

    // 2000-01-01 00:00:00.
    static constexpr uint32_t kDefaultSeconds = 3029529600u;

private:
    uint32_t ticks_;
    uint32_t baseTicks_;
    uint32_t seconds_;
};

// The clock in use; the real clock unless one was installed.
Clock& CurrentClock();
// Installs a clock (not owned); null puts the real clock back.
void SetClock(Clock* clock);

uint32_t TickCount();
void GetDateTime(uint32_t* seconds);
void ReadDateTime(uint32_t* seconds);
void Delay(uint32_t ticks, uint32_t* finalTicks);

// Seconds between 1904-01-01 and 1970-01-01.
constexpr uint32_t kSeconds1904To1970 = 2082844800u;

// Converts a POSIX time to seconds since 1904 in local time and back.
uint32_t UnixToMacLocal(int64_t unixSeconds);
int64_t MacLocalToUnix(uint32_t macSeconds);

// The calendar day (proleptic Gregorian) of seconds since 1904.
struct CivilDay {
    int32_t day, month, year;
};
CivilDay MacSecondsToDay(uint32_t macSeconds);

}  // namespace platform
