#pragma once
#include "base/Timer.h"

// Control over the native build's timers, which fire only when a test says so.
namespace SorvTest {
int liveTimerCount();
Steinberg::uint32 lastTimerPeriod();
void fireTimers();
} // namespace SorvTest
