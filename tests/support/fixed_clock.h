// A clock that stands still, so that what is seeded from the time is the same on every run.
#pragma once

#include <cstdint>

#include "platform/os/clock.h"

class FixedClock final : public Clock {
public:
    uint32_t TickCount() override { return 0; }
    int64_t TimeSeconds() override { return 1700000000; }
};
