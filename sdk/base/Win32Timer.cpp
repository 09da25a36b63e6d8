// Timers on the creating thread's message loop (SetTimer without a window): the callback
// runs when that thread dispatches its WM_TIMER messages, never on another thread.
#include "base/Timer.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <new>
#include <utility>

namespace Steinberg {
namespace {

class Win32Timer;

// Instances are made and ended on many threads at once (hosts load projects and scan
// plug-ins in parallel), so the registry is locked. Timer ids without a window are the
// thread's own (two threads may be given the same id), so a timer is known by its thread and
// its id. A callback runs with the lock held: a timer ended on another thread must not be
// called after stop() has returned, when its owner may be gone. The lock is recursive
// because a callback may make or end timers itself.
using TimerKey = std::pair<DWORD, UINT_PTR>;

std::recursive_mutex& registryLock() {
    static std::recursive_mutex lock;
    return lock;
}

std::map<TimerKey, Win32Timer*>& liveTimers() {
    static std::map<TimerKey, Win32Timer*> timers;
    return timers;
}

class Win32Timer : public Timer {
public:
    Win32Timer(ITimerCallback* callback, uint32 milliseconds)
        : callback(callback), thread(GetCurrentThreadId()) {
        std::lock_guard<std::recursive_mutex> lock(registryLock());
        id = SetTimer(nullptr, 0, milliseconds, &Win32Timer::timerProc);
        if (id)
            liveTimers()[TimerKey(thread, id)] = this;
    }
    ~Win32Timer() override { stop(); }

    bool running() const { return id != 0; }

    void stop() override {
        std::lock_guard<std::recursive_mutex> lock(registryLock());
        if (!id)
            return;
        // Only the creating thread can kill its timer (elsewhere the same id may name another
        // thread's timer); otherwise its next tick, no longer registered, kills it there.
        if (GetCurrentThreadId() == thread)
            KillTimer(nullptr, id);
        liveTimers().erase(TimerKey(thread, id));
        id = 0;
    }

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR timerId, DWORD) {
        std::lock_guard<std::recursive_mutex> lock(registryLock());
        auto it = liveTimers().find(TimerKey(GetCurrentThreadId(), timerId));
        if (it == liveTimers().end()) {
            KillTimer(nullptr, timerId);
            return;
        }
        try {
            if (it->second->callback)
                it->second->callback->onTimer(it->second);
        } catch (...) {
            // The host's message loop must never see an exception; the next tick tries again.
        }
    }

    ITimerCallback* callback;
    DWORD thread;
    UINT_PTR id = 0;
};

} // namespace

Timer* Timer::create(ITimerCallback* callback, uint32 milliseconds) {
    auto* timer = new (std::nothrow) Win32Timer(callback, milliseconds);
    if (!timer)
        return nullptr;
    if (!timer->running()) {
        timer->release();
        return nullptr;
    }
    return timer;
}

} // namespace Steinberg
