#include "vst/VSTGUIEditor.h"

#include "pluginterfaces/gui/iplugview.h"

#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

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
            const VSTGUI::CRect& size = f->getViewSize();
            rect = ViewRect(0, 0, static_cast<int32>(size.getWidth()),
                            static_cast<int32>(size.getHeight()));
            if (plugFrame)
                plugFrame->resizeView(this, &rect);
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
    return EditorView::onSize(newSize);
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
