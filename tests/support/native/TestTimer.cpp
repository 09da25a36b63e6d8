// The native build's timer: it never fires by itself; tests fire live timers by hand.
#include "support/TestTimer.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Steinberg {
namespace {

class ManualTimer;
// Effects are made and ended on several threads at once in the threaded tests.
std::mutex& timerLock() {
    static std::mutex lock;
    return lock;
}
std::vector<ManualTimer*>& liveTimers() {
    static std::vector<ManualTimer*> timers;
    return timers;
}

class ManualTimer : public Timer {
public:
    ManualTimer(ITimerCallback* callback, uint32 period) : callback(callback), period(period) {
        std::lock_guard<std::mutex> lock(timerLock());
        liveTimers().push_back(this);
    }
    ~ManualTimer() override { stop(); }
    void stop() override {
        std::lock_guard<std::mutex> lock(timerLock());
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

int liveTimerCount() {
    std::lock_guard<std::mutex> lock(Steinberg::timerLock());
    return static_cast<int>(Steinberg::liveTimers().size());
}

Steinberg::uint32 lastTimerPeriod() {
    std::lock_guard<std::mutex> lock(Steinberg::timerLock());
    auto& timers = Steinberg::liveTimers();
    return timers.empty() ? 0 : timers.back()->period;
}

void fireTimers() {
    std::vector<Steinberg::ManualTimer*> timers;
    {
        std::lock_guard<std::mutex> lock(Steinberg::timerLock());
        timers = Steinberg::liveTimers();
    }
    for (auto* timer : timers)
        timer->fire();
}

} // namespace SorvTest
