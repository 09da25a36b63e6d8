// The native build's timer: it never fires by itself; tests fire live timers by hand.
#include "support/TestTimer.h"

#include <algorithm>
#include <vector>

namespace Steinberg {
namespace {

class ManualTimer;
std::vector<ManualTimer*>& liveTimers() {
    static std::vector<ManualTimer*> timers;
    return timers;
}

class ManualTimer : public Timer {
public:
    ManualTimer(ITimerCallback* callback, uint32 period) : callback(callback), period(period) {
        liveTimers().push_back(this);
    }
    ~ManualTimer() override { stop(); }
    void stop() override {
        auto& timers = liveTimers();
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }
    void fire() { callback->onTimer(this); }

    ITimerCallback* callback;
    uint32 period;
};

} // namespace

Timer* Timer::create(ITimerCallback* callback, uint32 milliseconds) {
    return new ManualTimer(callback, milliseconds);
}

} // namespace Steinberg

namespace SorvTest {

int liveTimerCount() { return static_cast<int>(Steinberg::liveTimers().size()); }

Steinberg::uint32 lastTimerPeriod() {
    auto& timers = Steinberg::liveTimers();
    return timers.empty() ? 0 : timers.back()->period;
}

void fireTimers() {
    auto timers = Steinberg::liveTimers();
    for (auto* timer : timers)
        timer->fire();
}

} // namespace SorvTest
