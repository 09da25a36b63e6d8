#pragma once
// A periodic timer that calls back on the thread that created it.

#include "base/source/fobject.h"

namespace Steinberg {

class Timer;

class ITimerCallback {
public:
    virtual ~ITimerCallback() = default;
    virtual void onTimer(Timer* timer) = 0;
};

class Timer : public FObject {
public:
    // Main thread. Returns a running timer with one reference for the caller, or null.
    // Releasing the last reference stops it.
    static Timer* create(ITimerCallback* callback, uint32 milliseconds);

    virtual void stop() = 0;

    OBJ_METHODS(Timer, FObject)
};

} // namespace Steinberg
