#include "editor/SorvToolbar.h"

#include "vstgui/PlatformResources.h"
#include "core/CoreIds.h"
#include "core/IPreference.h"
#include "core/IUtils.h"
#include "core/ProductInfo.h"
#include "core/SorvEffect.h"
#include "editor/EditorIds.h"
#include "editor/SorvBitmap.h"
#include "editor/SorvPatchExport.h"
#include "editor/SorvPreferenceMenu.h"
#include "editor/SorvView.h"

#include <string>
#include <vector>

namespace SorvLib {

using namespace VSTGUI;

const std::string kUISizeKey = "QUOR-515 UI Size";
const std::string kUIScalingQualityKey = "QUOR-515 UI Scaling Quality";

const double uiSizeFactors[5] = {0.8, 0.9, 1.0, 1.1, 1.25};

double getToolbarHeight() {
    return 24.0;
}

namespace {

constexpr double kBitmapScale = 2.0;
constexpr CCoord kMargin = 3.0;
const CColor kToolbarBack(20, 20, 20, 255);
const CColor kGradientFrame(65, 65, 65, 255);
const CColor kGradientTop(60, 60, 60, 255);
const CColor kGradientBottom(20, 20, 20, 255);

const char* const kSizeTitles[] = {"Small (80%)", "Medium (90%)", "Normal (100%)", "Large (110%)",
                                   "Larger (125%)"};
constexpr int kSizeEntries = 5;
const char* const kQualityTitles[] = {"Low", "High"};
constexpr float kDefaultSizeEntry = 2.0f;
constexpr float kDefaultQualityEntry = 1.0f;

const char kOpenManual[] = "Open Manual...";
const char kProductInfo[] = "Product Info...";
const char kOpenWebsite[] = "Open Website...";
const char kAbout[] = "About...";

// A PNG kept in the module, drawn at twice the logical resolution.
SharedPointer<CBitmap> moduleBitmap(const char* name) {
    std::vector<uint8_t> png = loadPlatformResource(name, "PNG");
    return makeBitmap(png.data(), static_cast<uint32_t>(png.size()), kBitmapScale);
}

// An icon menu of the toolbar: transparent colours, so that only the icon shows.
SharedPointer<COptionMenu> iconMenu(const CRect& r, IControlListener* listener, uint32_t tag,
                                    CBitmap* icon, CBitmap* openIcon) {
    auto menu = makeOwned(new COptionMenu(r, listener, static_cast<int32>(tag), icon, openIcon, 0));
    menu->setAutosizeFlags(kAutosizeAll);
    menu->setBackColor(kTransparentCColor);
    menu->setFrameColor(kTransparentCColor);
    menu->setFontColor(kTransparentCColor);
    return menu;
}

SharedPointer<SorvPreferenceMenu> preferenceMenu(const std::string& key, IControlListener* l,
                                                 const char* const* titles, int count,
                                                 float defaultEntry, uint32_t tag) {
    auto menu = makeOwned(new SorvPreferenceMenu(key, l));
    for (int i = 0; i < count; ++i)
        menu->addEntry(titles[i]);
    menu->setDefaultValue(defaultEntry);
    menu->setTag(static_cast<int32>(tag));
    menu->onIdle();
    return menu;
}

} // namespace

SorvToolbar::SorvToolbar(const CRect& size, SorvEffect* effect, SorvView* view)
    : CAutoLayoutContainerView(size), effect(effect), view(view) {}

SorvToolbar::SorvToolbar(const SorvToolbar& other)
    : CAutoLayoutContainerView(other.getViewSize()), IControlListener(other), IMouseObserver(other),
      frame(other.frame), effect(other.effect), view(other.view), mainMenu(other.mainMenu),
      helpMenu(other.helpMenu), linkButton(other.linkButton), inLayout(other.inLayout),
      shiftHeld(other.shiftHeld) {}

SorvToolbar::~SorvToolbar() {
    linkButton = nullptr;
    helpMenu = nullptr;
    mainMenu = nullptr;
    frame = nullptr;
}

double getStoredUISize(double otherwise) {
    std::string stored = getPreferences()->getPreference(
        kUISizeKey, kSizeTitles[static_cast<int>(kDefaultSizeEntry)]);
    for (int i = 0; i < kSizeEntries; ++i)
        if (stored == kSizeTitles[i])
            return uiSizeFactors[i];
    return otherwise;
}

void SorvToolbar::attached(CViewContainer* parent) {
    frame = dynamic_cast<CFrame*>(parent);
    if (frame)
        frame->registerMouseObserver(this);
    CAutoLayoutContainerView::attached(parent);
}

void SorvToolbar::removed() {
    if (frame)
        frame->unregisterMouseObserver(this);
    CAutoLayoutContainerView::removed();
}

CMouseEventResult SorvToolbar::onMouseDown(CFrame*, const CPoint&, const CButtonState& buttons) {
    shiftHeld = (buttons.state & kShift) != 0;
    return kMouseEventNotHandled;
}

void SorvToolbar::layoutViews() {
    if (inLayout)
        return;
    inLayout = true;
    removeAll();
    setBackgroundColor(kToolbarBack);
    CCoord w = getWidth(), h = getHeight();

    CRect g(1, 1, w - 1, h - 1);
    auto* gradientView = new CGradientView(g);
    gradientView->setFrameColor(kGradientFrame);
    gradientView->setGradient(makeOwned(CGradient::create(kGradientTop, kGradientBottom)));
    gradientView->setRoundRectRadius(0.0);
    gradientView->setFrameWidth(1.0);
    gradientView->setDrawAntialiased(true);
    addView(gradientView);

    // Icons centred on the gradient's vertical middle.
    auto iconRect = [&g](CCoord left, CBitmap* icon, CBitmap* openIcon) {
        CCoord height = openIcon->getHeight();
        CCoord top = g.top + (g.bottom - g.top) * 0.5 - height * 0.5;
        return CRect(left, top, left + icon->getWidth(), top + height);
    };

    SharedPointer<CBitmap> mainIcon = moduleBitmap("main_menu.png");
    SharedPointer<CBitmap> mainOpenIcon = moduleBitmap("main_menu_open.png");
    mainMenu = iconMenu(iconRect(kMargin, mainIcon, mainOpenIcon), this, kMainMenuId, mainIcon,
                        mainOpenIcon);
    SharedPointer<SorvPreferenceMenu> sizeMenu = preferenceMenu(
        kUISizeKey, this, kSizeTitles, kSizeEntries, kDefaultSizeEntry, kUISizeMenuId);
    SharedPointer<SorvPreferenceMenu> qualityMenu = preferenceMenu(
        kUIScalingQualityKey, this, kQualityTitles, 2, kDefaultQualityEntry, kUIQualityMenuId);
    mainMenu->addEntry(sizeMenu, "UI Size");
    mainMenu->addEntry(qualityMenu, "UI Quality");
    mainMenu->remember();
    addView(mainMenu);

    SharedPointer<CBitmap> helpIcon = moduleBitmap("help_menu.png");
    SharedPointer<CBitmap> helpOpenIcon = moduleBitmap("help_menu_open.png");
    CCoord helpWidth = helpIcon->getWidth();
    helpMenu = iconMenu(iconRect((w - 1) - kMargin - helpWidth, helpIcon, helpOpenIcon), this,
                        kHelpMenuId, helpIcon, helpOpenIcon);
    for (const char* title : {kOpenManual, "-", kProductInfo, kOpenWebsite, "-", kAbout})
        helpMenu->addEntry(title);
    helpMenu->remember();
    addView(helpMenu);

    if (effect && effect->getParameterObject(kGlobalLinkId)) {
        SharedPointer<CBitmap> link = moduleBitmap("global_link.png");
        CRect r = helpMenu->getViewSize();
        r.offset(-(r.getWidth() + kMargin), 0);
        linkButton = makeOwned(new COnOffButton(r, this, static_cast<int32>(kGlobalLinkId), link,
                                                COnOffButton::kPreListenerUpdate));
        linkButton->remember();
        addView(linkButton);
    }
    inLayout = false;
}

void SorvToolbar::valueChanged(CControl* control) {
    // Called from the menus' timers and the host's mouse messages: nothing may unwind.
    try {
        uint32_t tag = static_cast<uint32_t>(control->getTag());
        auto* menu = dynamic_cast<COptionMenu*>(control);
        if (tag == kUISizeMenuId && menu) {
            int32 i = menu->getCurrentIndex();
            if (view && i >= 0 && i < kSizeEntries)
                view->setUISize(uiSizeFactors[i]);
        } else if (tag == kUIQualityMenuId && menu) {
            if (frame)
                frame->setBitmapInterpolationQuality(menu->getCurrentIndex() != 0
                                                         ? BitmapInterpolationQuality::kHigh
                                                         : BitmapInterpolationQuality::kLow);
        } else if (tag == kMainMenuId && mainMenu) {
            int32 index = -1;
            CMenuItem* current = mainMenu->getCurrent();
            if (mainMenu->getLastItemMenu(index) == mainMenu.get() && current &&
                current->getTitle() == kSavePresetTitle)
                exportPatchSource(frame, effect);
        } else if (tag == kHelpMenuId && menu) {
            if (CMenuItem* current = menu->getCurrent())
                chooseHelp(current->getTitle());
        } else if (tag == kGlobalLinkId && linkButton) {
            bool on = linkButton->getValue() == 1.0f;
            if (effect)
                effect->setGlobalLink(on, shiftHeld);
        }
    } catch (...) {
    }
}

void SorvToolbar::chooseHelp(const std::string& title) {
    if (title == kOpenManual) {
        if (effect)
            effect->openHelp(false);
    } else if (title == kProductInfo) {
        getUtils()->openDocument(std::string(kVendorUrl) + "/product.html" +
                                 "?id=" + std::to_string(kCatalogueNumber));
    } else if (title == kOpenWebsite) {
        getUtils()->openDocument(kVendorUrl);
    } else if (title == kAbout) {
        if (effect)
            effect->openAboutBox(false);
    }
}

} // namespace SorvLib
