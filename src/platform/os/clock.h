#pragma once

#include <cstdint>

// The time sources of the program: a millisecond tick count for measuring work and the
// calendar time in whole seconds for seeding. Tests replace them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;   // milliseconds, wraps around
    virtual int64_t TimeSeconds() = 0;  // seconds since 1970
};

// The system clock.
Clock& SystemClock();
