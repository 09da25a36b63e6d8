#pragma once
// The strip under every editor window of the framework: the main menu with the size and
// scaling-quality submenus at the left, the help menu at the right and, for effects that have
// the Global Link parameter, its button beside the help menu. It rebuilds its views on every
// layout and turns menu choices into calls on the editor, the frame, the effect and the
// platform services. Main thread only.

#include "vstgui/CBitmapControls.h"
#include "vstgui/CFrame.h"
#include "vstgui/CGradientView.h"
#include "vstgui/COptionMenu.h"
#include "vstgui/IMouseObserver.h"

namespace SorvLib {

class SorvEffect;
class SorvView;

// The size factors of the entries of the size menu, in their order.
extern const double uiSizeFactors[5];

// The strip's height in logical pixels.
double getToolbarHeight();

// The factor of the size stored by the size menu, or `otherwise` when the stored title is
// none of its entries (the menu then keeps the size too).
double getStoredUISize(double otherwise);

class SorvToolbar : public VSTGUI::CAutoLayoutContainerView,
                    public VSTGUI::IControlListener,
                    public VSTGUI::IMouseObserver {
public:
    SorvToolbar(const VSTGUI::CRect& size, SorvEffect* effect, SorvView* view);
    SorvToolbar(const SorvToolbar& other);
    ~SorvToolbar() override;

    VSTGUI::CView* newCopy() const override { return new SorvToolbar(*this); }
    void removed() override;
    void attached(VSTGUI::CViewContainer* parent) override;
    void layoutViews() override;

    void valueChanged(VSTGUI::CControl* control) override;

    void onMouseEntered(VSTGUI::CView*, VSTGUI::CFrame*) override {}
    void onMouseExited(VSTGUI::CView*, VSTGUI::CFrame*) override {}
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CFrame*, const VSTGUI::CPoint&,
                                           const VSTGUI::CButtonState&) override {
        return VSTGUI::kMouseEventNotHandled;
    }
    // Remembers whether Shift was held; the click goes on to the views.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CFrame* frame, const VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;

    VSTGUI::COptionMenu* getMainMenu() const { return mainMenu.get(); }
    VSTGUI::COptionMenu* getHelpMenu() const { return helpMenu.get(); }
    VSTGUI::COnOffButton* getLinkButton() const { return linkButton.get(); }

private:
    void chooseHelp(const std::string& title);

    VSTGUI::SharedPointer<VSTGUI::CFrame> frame;
    SorvEffect* effect;
    SorvView* view;
    VSTGUI::SharedPointer<VSTGUI::COptionMenu> mainMenu;
    VSTGUI::SharedPointer<VSTGUI::COptionMenu> helpMenu;
    VSTGUI::SharedPointer<VSTGUI::COnOffButton> linkButton;
    bool inLayout = false;
    bool shiftHeld = false;
};

} // namespace SorvLib
