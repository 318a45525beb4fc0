#include "platform/os/clock.h"

#include <chrono>

namespace {

class SteadyClock final : public Clock {
public:
    uint32_t TickCount() override {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    int64_t TimeSeconds() override {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::seconds>(now).count();
    }
};

}  // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}
