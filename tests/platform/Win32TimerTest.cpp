// The Win32 timer: it fires through the creating thread's message loop, at its period,
// and stops when released.

#include "base/Timer.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Counter : Steinberg::ITimerCallback {
    void onTimer(Steinberg::Timer* timer) override {
        ++ticks;
        last = timer;
        thread = GetCurrentThreadId();
    }
    int ticks = 0;
    Steinberg::Timer* last = nullptr;
    DWORD thread = 0;
};

// Dispatches this thread's messages for about the given time.
void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(1);
    }
}

TEST(Win32Timer, FiresOnTheCreatingThreadWhileItsMessagesAreDispatched) {
    Counter counter;
    Steinberg::Timer* timer = Steinberg::Timer::create(&counter, 5);
    ASSERT_NE(timer, nullptr);
    Sleep(50);
    EXPECT_EQ(counter.ticks, 0) << "no tick without the message loop";
    pumpMessages(200);
    EXPECT_GT(counter.ticks, 3);
    EXPECT_EQ(counter.last, timer);
    EXPECT_EQ(counter.thread, GetCurrentThreadId());
    timer->release();

    const int ticks = counter.ticks;
    pumpMessages(100);
    EXPECT_EQ(counter.ticks, ticks) << "a released timer is stopped";
}

TEST(Win32Timer, TimersTickIndependently) {
    Counter fast, slow;
    Steinberg::Timer* a = Steinberg::Timer::create(&fast, 5);
    Steinberg::Timer* b = Steinberg::Timer::create(&slow, 100);
    pumpMessages(250);
    EXPECT_GT(fast.ticks, slow.ticks);
    EXPECT_GE(slow.ticks, 1);
    a->stop();
    const int ticks = fast.ticks;
    pumpMessages(50);
    EXPECT_EQ(fast.ticks, ticks);
    a->release();
    b->release();
}

} // namespace
