#include "editor/SorvView.h"

#include "vstgui/CFontDesc.h"
#include "vstgui/CFrame.h"
#include "vstgui/CParamDisplay.h"
#include "vstgui/IPlatformFrame.h"
#include "base/source/fstring.h"
#include "core/IUtils.h"
#include "core/SorvEffect.h"
#include "core/StringHash.h"
#include "editor/EditorIds.h"
#include "editor/HostWindows.h"
#include "editor/SorvCallout.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <vector>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;

namespace {
const CFontDesc kTitleFont("Open Sans", 14, kBoldFace);
const CFontDesc kFixedFont("Courier New", 13);
const CFontDesc kTextFont("Open Sans", 14);
const CFontDesc kSmallTextFont("Open Sans", 13);
constexpr int32 kEditorIdleMs = 33;
} // namespace

const uint32_t kHelpMenuId = fnv1a32("Help Menu");
const uint32_t kMainMenuId = fnv1a32("Main Menu");
const std::string kUILayerModeKey = "QUOR-515 UI Layer Mode";
const uint32_t kUILayerModeMenuId = fnv1a32("UI Layer Mode Menu");
const uint32_t kUIQualityMenuId = fnv1a32("UI Quality Menu");
const uint32_t kUISizeMenuId = fnv1a32("UI Size Menu");

namespace {

std::string toUtf8(const TChar* text) {
    String s(text);
    s.toMultiByte(kCP_Utf8);
    return s.text8() ? s.text8() : "";
}

bool answers(FUnknown* context, const TUID iid) {
    void* face = nullptr;
    if (context->queryInterface(iid, &face) != kResultOk || !face)
        return false;
    static_cast<FUnknown*>(face)->release();
    return true;
}

} // namespace

SorvView::SorvView(EditController* controller)
    : VSTGUIEditor(controller, nullptr), contentScaleFactor(1.0), uiSizeFactor(1.0),
      resizing(false) {
    setIdleRate(kEditorIdleMs);
    if (controller)
        controller->setKnobMode(kLinearMode);
    contentScaleFactor = getUtils()->getScaleFactor();
    // Hosts make their window from getSize before they attach the view: it must already
    // hold the size the toolbar's size menu will choose.
    uiSizeFactor = getStoredUISize(uiSizeFactor);
}

SorvView::~SorvView() {
    toolbar = nullptr;
}

bool PLUGIN_API SorvView::open(void* parent, const PlatformType& type) {
    // Every binding below asks the controller.
    if (!controller)
        return false;
    PlatformType platformType = type;
    if (controller->getHostContext()) {
        FUnknown* context = controller->getHostContext();
        if (answers(context, IVst3ToAAXWrapper::iid)) {
            CControl::kDefaultValueModifier = kAlt;
            if (platformType == PlatformType::kWindowRef)
                platformType = PlatformType::kNSView;
        } else if (answers(context, IVst3ToAUWrapper::iid)) {
            CControl::kDefaultValueModifier = kAlt;
        } else {
            CControl::kDefaultValueModifier = kControl;
        }
        CControl::kZoomModifier = kShift;
    }

    if (frame)
        frame->forget();
    frame = new CFrame(CRect(baseRect.left, baseRect.top, baseRect.right, baseRect.bottom), this);
    if (!frame->open(parent, platformType))
        return false;

    createUI();
    createToolbar();
    frame->setZoom(getZoom());

    editableControls.clear();
    readOnlyControls.clear();
    std::vector<CViewContainer*> containers;
    frame->getChildViewsOfType(containers, true);
    CViewContainer* root = containers.empty() ? frame : containers.front();
    std::vector<CControl*> controls;
    root->getChildViewsOfType(controls, true);
    for (CControl* control : controls) {
        ParamID id = static_cast<ParamID>(control->getTag());
        ParameterInfo info{};
        if (controller->getParameterInfoByTag(id, info) == kResultFalse)
            continue;
        control->setValueNormalized(static_cast<float>(controller->getParamNormalized(id)));
        control->setDefaultValue(static_cast<float>(info.defaultNormalizedValue));
        if (info.flags & ParameterInfo::kIsReadOnly)
            readOnlyControls[control] = id;
        else
            editableControls[control] = id;
    }
    int32 count = controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (controller->getParameterInfo(i, info) == kResultOk)
            setControlValue(info.id, controller->getParamNormalized(info.id));
    }
    refreshReadOnlyControls();
    return true;
}

void PLUGIN_API SorvView::close() {
    editableControls.clear();
    readOnlyControls.clear();
    if (frame) {
        CFrame* closing = frame;
        frame = nullptr;
        closing->close();
    }
}

std::string SorvView::valueText(ParamID id, double value) {
    String128 text = {};
    controller->getParamStringByValue(id, value, text);
    return toUtf8(text);
}

bool SorvView::appendUnits(ParamID id, std::string& text, bool onlyNonEmpty) {
    ParameterInfo info{};
    if (controller->getParameterInfoByTag(id, info) == kResultFalse)
        return false;
    std::string units = toUtf8(info.units);
    if (!onlyNonEmpty || !units.empty())
        text += " " + units;
    return true;
}

void SorvView::setControlValue(ParamID id, double value) {
    if (!frame || !controller)
        return;
    // Called inside the host's setParamNormalized: nothing may unwind into the host.
    try {
        showValue(id, value);
    } catch (...) {
    }
}

void SorvView::showValue(ParamID id, double value) {
    for (const auto& entry : editableControls) {
        CControl* control = entry.first;
        if (control->getEditCount() > 0 || static_cast<ParamID>(control->getTag()) != id)
            continue;
        if (auto* label = dynamic_cast<CTextLabel*>(control)) {
            if (frame->getFocusView() == control)
                continue;
            std::string text = valueText(id, value);
            appendUnits(id, text, false);
            if (label->getText() != text) {
                label->setText(text);
                label->invalid();
            }
        } else if (control->getValueNormalized() != static_cast<float>(value)) {
            control->setValueNormalized(static_cast<float>(value));
            control->invalid();
        }
    }
}

void SorvView::refreshReadOnlyControls() {
    if (!frame || !controller)
        return;
    for (const auto& entry : readOnlyControls) {
        CControl* control = entry.first;
        ParamID id = entry.second;
        double value = controller->getParamNormalized(id);
        if (auto* label = dynamic_cast<CTextLabel*>(control)) {
            std::string text = valueText(id, value);
            appendUnits(id, text, false);
            // Redraws itself when the text changed.
            label->setText(text);
            continue;
        }
        // The control keeps a float: only a change of that float is a change.
        float before = control->getValueNormalized();
        control->setValueNormalized(static_cast<float>(value));
        if (before != static_cast<float>(value))
            control->invalid();
    }
}

CMessageResult SorvView::notify(CBaseObject* sender, IdStringPtr message) {
    CMessageResult result = VSTGUIEditor::notify(sender, message);
    if (result == kMessageNotified)
        refreshReadOnlyControls();
    return result;
}

void SorvView::valueChanged(CControl* control) {
    auto it = editableControls.find(control);
    if (it == editableControls.end() || !controller)
        return;
    ParamID id = it->second;
    double v = controller->getParamNormalized(id);
    if (auto* label = dynamic_cast<CTextLabel*>(control)) {
        String wide(label->getText().c_str());
        wide.toWideString(kCP_Utf8);
        String128 input = {};
        wide.copyTo16(input, 0, 127);
        ParamValue parsed = v;
        if (controller->getParamValueByString(id, input, parsed) != kResultFalse)
            v = parsed;
        String128 shown = {};
        ParameterInfo info{};
        if (controller->getParamStringByValue(id, v, shown) != kResultFalse &&
            controller->getParameterInfoByTag(id, info) != kResultFalse) {
            std::string text = toUtf8(shown);
            std::string units = toUtf8(info.units);
            if (!units.empty())
                text += " " + units;
            label->setText(text);
        }
    } else {
        v = control->getValueNormalized();
    }
    controller->setParamNormalized(id, v);
    controller->performEdit(id, controller->getParamNormalized(id));
}

void SorvView::beginEdit(VSTGUI::int32 index) {
    VSTGUIEditor::beginEdit(index);
    if (!controller)
        return;
    ParamID id = static_cast<ParamID>(index);
    for (const auto& entry : editableControls) {
        auto* callout = dynamic_cast<SorvCallout*>(entry.first);
        if (!callout || static_cast<ParamID>(callout->getTag()) != id)
            continue;
        std::string text = valueText(id, controller->getParamNormalized(id));
        appendUnits(id, text, false);
        callout->setText(text);
        callout->setVisible(true);
    }
}

void SorvView::endEdit(VSTGUI::int32 index) {
    VSTGUIEditor::endEdit(index);
    ParamID id = static_cast<ParamID>(index);
    for (const auto& entry : editableControls) {
        CControl* control = entry.first;
        if (static_cast<ParamID>(control->getTag()) != id)
            continue;
        if (auto* callout = dynamic_cast<SorvCallout*>(control))
            callout->setVisible(false);
        else if (control->getValue() == control->getDefaultValue())
            control->invalid();
    }
}

void SorvView::rescale() {
    double zoom = getZoom();
    scaledRect = ViewRect(
        static_cast<int32>(baseRect.left * zoom), static_cast<int32>(baseRect.top * zoom),
        static_cast<int32>(baseRect.right * zoom), static_cast<int32>(baseRect.bottom * zoom));
    // The base stays unzoomed, so that opening the view again builds the same window. While
    // closed, getSize reports the size the view will open at; while open it changes only as
    // the host takes the frame's new size (beforeSizeChange).
    if (!frame)
        rect = scaledRect;
}

void SorvView::setBaseSize(const ViewRect& r) {
    baseRect = ViewRect(r.left, r.top, r.right,
                        static_cast<int32>(static_cast<double>(r.bottom) + kToolbarHeight));
    rescale();
}

void SorvView::setUISize(double factor) {
    if (!(factor > 0.0) || factor == uiSizeFactor)
        return;
    uiSizeFactor = factor;
    rescale();
    if (frame)
        frame->setZoom(getZoom());
}

tresult PLUGIN_API SorvView::setContentScaleFactor(ScaleFactor factor) {
    if (factor > 0.0f) {
        contentScaleFactor = factor;
        rescale();
        try {
            if (frame)
                frame->setZoom(getZoom());
        } catch (...) {
            // The frame keeps its size when the larger buffer cannot be had.
        }
    }
    return kResultOk;
}

bool SorvView::beforeSizeChange(const CRect& newSize, const CRect&) {
    if (resizing)
        return true;
    int32 w = static_cast<int32>(newSize.getWidth());
    int32 h = static_cast<int32>(newSize.getHeight());
    // The host has that size already: the frame, built unzoomed, takes the size the host made
    // its window from.
    if (w == rect.getWidth() && h == rect.getHeight())
        return true;
    resizing = true;
    tresult answer = resizeHost(w, h);
    resizing = false;
    if (answer == kResultOk)
        return true;
    if (frame && frame->getPlatformFrame())
        fitHostWindows(frame->getPlatformFrame()->getPlatformRepresentation(), w, h);
    return true;
}

void* SorvView::getPlatformHandle() const {
    if (!frame || !frame->getPlatformFrame())
        return nullptr;
    return frame->getPlatformFrame()->getPlatformRepresentation();
}

bool SorvView::setContentSize(const CPoint& size) {
    if (!(size.x > 0.0) || !(size.y > 0.0))
        return false;
    baseRect = ViewRect(scaledRect.left, scaledRect.top,
                        static_cast<int32>(scaledRect.left + size.x),
                        static_cast<int32>((scaledRect.top + size.y) + kToolbarHeight));
    rescale();
    if (!frame)
        return false;
    bool result = frame->setSize(scaledRect.getWidth(), scaledRect.getHeight());
    if (toolbar) {
        CRect r = toolbar->getViewSize();
        CRect moved(0, size.y, r.getWidth(), size.y + r.getHeight());
        toolbar->setViewSize(moved);
        toolbar->setMouseableArea(moved);
    }
    return result;
}

void SorvView::createToolbar() {
    // The toolbar strip under the product's views.
    CRect strip(baseRect.left, baseRect.bottom - kToolbarHeight, baseRect.right, baseRect.bottom);
    toolbar = makeOwned(new SorvToolbar(strip, dynamic_cast<SorvEffect*>(controller), this));
    if (frame) {
        toolbar->remember();
        frame->addView(toolbar.get());
    }
}

tresult PLUGIN_API SorvView::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, IPlugViewContentScaleSupport::iid)) {
        addRef();
        *obj = static_cast<IPlugViewContentScaleSupport*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, IPlugView::iid)) {
        addRef();
        *obj = static_cast<IPlugView*>(this);
        return kResultOk;
    }
    return VSTGUIEditor::queryInterface(iid, obj);
}

} // namespace SorvLib
