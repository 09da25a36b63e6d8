#include "vstgui/CVSTGUITimer.h"

namespace VSTGUI {

CVSTGUITimer::CVSTGUITimer(CBaseObject* target, uint32 milliseconds, bool doStart)
    : target(target), period(milliseconds) {
    if (doStart)
        start();
}

CVSTGUITimer::~CVSTGUITimer() {
    stop();
}

bool CVSTGUITimer::start() {
    if (!timer)
        timer = Steinberg::Timer::create(this, period);
    return timer != nullptr;
}

bool CVSTGUITimer::stop() {
    if (!timer)
        return false;
    timer->stop();
    timer->release();
    timer = nullptr;
    return true;
}

void CVSTGUITimer::onTimer(Steinberg::Timer*) {
    if (target)
        target->notify(this, kMsgTimer);
}

} // namespace VSTGUI
