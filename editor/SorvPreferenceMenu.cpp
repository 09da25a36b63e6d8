#include "editor/SorvPreferenceMenu.h"

#include "core/IPreference.h"

namespace SorvLib {

using namespace VSTGUI;

SorvPreferenceMenu::SorvPreferenceMenu(const std::string& key, IControlListener* l)
    : COptionMenu(), preferenceKey(key) {
    setListener(l);
    startTimer();
    setStyle(kPreferenceMenuStyle);
}

SorvPreferenceMenu::SorvPreferenceMenu(const CRect& size, IControlListener* l, int32 t,
                                       const std::string& key, CBitmap* bitmap, CBitmap* clicked,
                                       int32 style)
    : COptionMenu(size, l, t, bitmap, clicked, style), preferenceKey(key) {
    startTimer();
    setStyle(kPreferenceMenuStyle);
}

// The copy shares the timer, which keeps notifying the menu it was made for.
SorvPreferenceMenu::SorvPreferenceMenu(const SorvPreferenceMenu& other)
    : COptionMenu(other), timer(other.timer), preferenceKey(other.preferenceKey),
      setCurrentDepth(other.setCurrentDepth), timerTargetsThis(false) {}

SorvPreferenceMenu::~SorvPreferenceMenu() {
    // A copy may keep the timer: it must not notify this menu any more.
    if (timer && timerTargetsThis)
        timer->stop();
    timer = nullptr;
}

void SorvPreferenceMenu::startTimer() {
    timer = makeOwned(new CVSTGUITimer(this, kPollMilliseconds, true));
}

CMessageResult SorvPreferenceMenu::notify(CBaseObject* sender, IdStringPtr) {
    if (!timer || sender != timer.get())
        return kMessageUnknown;
    onIdle();
    return kMessageNotified;
}

void SorvPreferenceMenu::onIdle() {
    CMenuItem* fallback = getEntry(static_cast<int32>(getDefaultValue()));
    if (!fallback)
        return;
    // Runs on the timer: nothing may unwind into the host's message loop.
    try {
        std::string stored = getPreferences()->getPreference(preferenceKey, fallback->getTitle());
        for (int32 i = 0; i < getNbEntries(); ++i) {
            if (getEntry(i)->getTitle() != stored)
                continue;
            if (i != getCurrentIndex())
                setCurrent(i, true);
            return;
        }
    } catch (...) {
    }
}

void SorvPreferenceMenu::setValue(float v) {
    CParamDisplay::setValue(v);
    setCurrent(static_cast<int32>(v), true);
}

bool SorvPreferenceMenu::setCurrent(int32 index, bool countSeparator) {
    bool result = false;
    if (++setCurrentDepth == 1) {
        result = COptionMenu::setCurrent(index, countSeparator);
        checkEntryAlone(index);
        if (CMenuItem* item = getEntry(index)) {
            getPreferences()->setPreference(preferenceKey, item->getTitle());
            valueChanged();
        }
    }
    --setCurrentDepth;
    return result;
}

} // namespace SorvLib
