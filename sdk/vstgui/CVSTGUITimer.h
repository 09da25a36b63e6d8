#pragma once
// A periodic timer that notifies a toolkit object with kMsgTimer on the main thread.

#include "base/Timer.h"
#include "vstgui/VSTGUIBase.h"

namespace VSTGUI {

class CVSTGUITimer : public CBaseObject, public Steinberg::ITimerCallback {
public:
    static constexpr IdStringPtr kMsgTimer = "timer";

    CVSTGUITimer(CBaseObject* target, uint32 milliseconds, bool start = false);
    ~CVSTGUITimer() override;
    bool start();
    bool stop();
    bool isRunning() const { return timer != nullptr; }
    uint32 getFireTime() const { return period; }

    void onTimer(Steinberg::Timer* timer) override;

private:
    CBaseObject* target;
    uint32 period;
    Steinberg::Timer* timer = nullptr;
};

} // namespace VSTGUI
