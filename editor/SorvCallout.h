#pragma once
// The framework's value pop-up beside a knob: shown when an edit begins, hidden a delay
// after it ends (on the frame's idle ticks); it never takes the mouse.

#include "vstgui/CTextEdit.h"

#include <cstdint>

namespace SorvLib {

class SorvCallout : public VSTGUI::CTextEdit {
public:
    SorvCallout(const VSTGUI::CRect& size, int32_t tag);
    ~SorvCallout() override;

    VSTGUI::CView* newCopy() const override { return new SorvCallout(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    // true shows at once and cancels a pending hide; false only requests the hide.
    void setVisible(bool state) override;
    // The callout never takes the mouse, whatever it is told.
    void setMouseEnabled(bool state) override;
    void onIdle() override;

    virtual void setHideDelay(uint32_t milliseconds) { hideDelay = milliseconds; }
    uint32_t getHideDelay() const { return hideDelay; }
    uint32_t getHideRequestedAt() const { return hideRequestedAt; }

private:
    uint32_t hideRequestedAt;
    uint32_t hideDelay;
};

} // namespace SorvLib
