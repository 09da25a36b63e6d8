#include "vst/VSTGUIEditor.h"

#include "pluginterfaces/gui/iplugview.h"

#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

bool sameSize(const ViewRect& a, const ViewRect& b) {
    return a.getWidth() == b.getWidth() && a.getHeight() == b.getHeight();
}

ViewRect sizeOf(const VSTGUI::CFrame* frame) {
    const VSTGUI::CRect& size = frame->getViewSize();
    return ViewRect(0, 0, static_cast<int32>(size.getWidth()),
                    static_cast<int32>(size.getHeight()));
}

} // namespace

VSTGUIEditor::VSTGUIEditor(EditController* controller, ViewRect* size)
    : EditorView(controller, size) {}

VSTGUIEditor::~VSTGUIEditor() {
    if (timer)
        timer->forget();
}

void VSTGUIEditor::setIdleRate(int32 milliseconds) {
    idleRate = milliseconds;
    if (timer && timer->isRunning()) {
        timer->forget();
        timer = new VSTGUI::CVSTGUITimer(this, static_cast<VSTGUI::uint32>(idleRate), true);
    }
}

void VSTGUIEditor::beginEdit(VSTGUI::int32 index) {
    if (controller)
        controller->beginEdit(static_cast<ParamID>(index));
}

void VSTGUIEditor::endEdit(VSTGUI::int32 index) {
    if (controller)
        controller->endEdit(static_cast<ParamID>(index));
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached(void* parent, FIDString type) {
    if (!parent || isAttached() || isPlatformTypeSupported(type) != kResultTrue)
        return kResultFalse;
    try {
        if (!open(parent, VSTGUI::PlatformType::kDefaultNative))
            return kResultFalse;
        if (VSTGUI::CFrame* f = getFrame()) {
            ViewRect size = sizeOf(f);
            resizeHost(size.getWidth(), size.getHeight());
        }
        if (!timer)
            timer = new VSTGUI::CVSTGUITimer(this, static_cast<VSTGUI::uint32>(idleRate));
        timer->start();
        return EditorView::attached(parent, type);
    } catch (...) {
        return kResultFalse;
    }
}

tresult PLUGIN_API VSTGUIEditor::removed() {
    if (timer)
        timer->stop();
    try {
        close();
    } catch (...) {
    }
    return EditorView::removed();
}

tresult PLUGIN_API VSTGUIEditor::onSize(ViewRect* newSize) {
    if (!newSize)
        return kInvalidArgument;
    if (requesting && sameSize(*newSize, requested))
        rect = *newSize;
    else if (VSTGUI::CFrame* f = getFrame())
        rect = sizeOf(f);
    return sameSize(*newSize, rect) ? kResultTrue : kResultFalse;
}

tresult VSTGUIEditor::resizeHost(int32 width, int32 height) {
    requested = ViewRect(0, 0, width, height);
    tresult answer = kResultFalse;
    if (plugFrame) {
        // The host gets its own copy: getSize must still report the old size while it
        // compares and resizes.
        ViewRect asked = requested;
        requesting = true;
        answer = plugFrame->resizeView(this, &asked);
        requesting = false;
    }
    rect = requested;
    return answer;
}

VSTGUI::CMessageResult VSTGUIEditor::notify(VSTGUI::CBaseObject*, VSTGUI::IdStringPtr message) {
    if (message && std::strcmp(message, VSTGUI::CVSTGUITimer::kMsgTimer) == 0) {
        if (VSTGUI::CFrame* f = getFrame())
            f->idle();
        return VSTGUI::kMessageNotified;
    }
    return VSTGUI::kMessageUnknown;
}

} // namespace Vst
} // namespace Steinberg
