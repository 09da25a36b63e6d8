// Timers on the creating thread's message loop (SetTimer without a window): the callback
// runs when that thread dispatches its WM_TIMER messages, never on another thread.
#include "Timer.h"

#include <windows.h>

#include <map>

namespace Steinberg {
namespace {

class Win32Timer;

// Timer ids are unique per process; callbacks arrive on the creating (main) thread only.
std::map<UINT_PTR, Win32Timer*>& liveTimers() {
    static std::map<UINT_PTR, Win32Timer*> timers;
    return timers;
}

class Win32Timer : public Timer {
public:
    Win32Timer(ITimerCallback* callback, uint32 milliseconds) : callback(callback) {
        id = SetTimer(nullptr, 0, milliseconds, &Win32Timer::timerProc);
        if (id)
            liveTimers()[id] = this;
    }
    ~Win32Timer() override { stop(); }

    bool running() const { return id != 0; }

    void stop() override {
        if (!id)
            return;
        KillTimer(nullptr, id);
        liveTimers().erase(id);
        id = 0;
    }

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR timerId, DWORD) {
        auto it = liveTimers().find(timerId);
        if (it != liveTimers().end() && it->second->callback)
            it->second->callback->onTimer(it->second);
    }

    ITimerCallback* callback;
    UINT_PTR id = 0;
};

} // namespace

Timer* Timer::create(ITimerCallback* callback, uint32 milliseconds) {
    auto* timer = new Win32Timer(callback, milliseconds);
    if (!timer->running()) {
        timer->release();
        return nullptr;
    }
    return timer;
}

} // namespace Steinberg
