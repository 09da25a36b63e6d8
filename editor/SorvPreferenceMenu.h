#pragma once
// An option menu whose selection is a user preference: a choice stores the entry's title
// under the menu's key, and once a second the menu selects the entry stored there, so every
// open editor on the machine follows a choice made in any one of them. Main thread only.

#include "vstgui/COptionMenu.h"
#include "vstgui/CVSTGUITimer.h"

#include <string>

namespace SorvLib {

class SorvPreferenceMenu : public VSTGUI::COptionMenu {
public:
    static constexpr VSTGUI::uint32 kPollMilliseconds = 1000;
    static constexpr VSTGUI::int32 kPreferenceMenuStyle = 0x400; // check marks on the choice

    SorvPreferenceMenu(const std::string& key, VSTGUI::IControlListener* listener);
    SorvPreferenceMenu(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener,
                       VSTGUI::int32 tag, const std::string& key, VSTGUI::CBitmap* background,
                       VSTGUI::CBitmap* backgroundWhenClicked, VSTGUI::int32 style);
    SorvPreferenceMenu(const SorvPreferenceMenu& other);
    ~SorvPreferenceMenu() override;

    // The poll timer's tick runs onIdle; other senders are not handled.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender,
                                  VSTGUI::IdStringPtr message) override;
    VSTGUI::CView* newCopy() const override { return new SorvPreferenceMenu(*this); }
    // Selects the entry whose title is stored under the key, when it is not selected yet.
    void onIdle() override;
    void setValue(float value) override;
    // Selects, checks and stores the entry and tells the listener; a call made while another
    // runs on this menu (from the listener) does nothing and answers false.
    bool setCurrent(VSTGUI::int32 index, bool countSeparator = true) override;

    const std::string& getPreferenceKey() const { return preferenceKey; }

private:
    void startTimer();

    VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> timer;
    std::string preferenceKey;
    VSTGUI::int32 setCurrentDepth = 0;
    // False in copies: the shared timer notifies only the menu that made it.
    bool timerTargetsThis = true;
};

} // namespace SorvLib
