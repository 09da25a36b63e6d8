#include "vst2wrapper/Vst2Editor.h"

#include "vst2wrapper/Vst2Wrapper.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

namespace {
VstInt16 toShort(int32 value) {
    return static_cast<VstInt16>(std::max<int32>(-32768, std::min<int32>(32767, value)));
}
} // namespace

Vst2Editor::Vst2Editor(Vst2Wrapper* wrapper) : AEffEditor(wrapper), wrapper(wrapper) {}

Vst2Editor::~Vst2Editor() {
    close();
}

bool Vst2Editor::makeView() {
    if (view)
        return true;
    IEditController* controller = wrapper->getController();
    view = controller ? controller->createView(ViewType::kEditor) : nullptr;
    if (view && view->isPlatformTypeSupported(kPlatformTypeHWND) != kResultTrue)
        releaseView();
    return view != nullptr;
}

void Vst2Editor::releaseView() {
    if (!view)
        return;
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
}

bool Vst2Editor::getRect(ERect** out) {
    if (!out)
        return false;
    *out = nullptr;
    ViewRect size;
    if (!makeView() || view->getSize(&size) != kResultTrue)
        return false;
    rect = {toShort(size.top), toShort(size.left), toShort(size.bottom), toShort(size.right)};
    *out = &rect;
    return true;
}

bool Vst2Editor::open(void* parent) {
    // Only an editor that opened reports a window.
    if (!parent || attached || !makeView())
        return false;
    view->setFrame(this);
    if (view->attached(parent, kPlatformTypeHWND) != kResultTrue) {
        releaseView();
        return false;
    }
    AEffEditor::open(parent);
    attached = true;
    return true;
}

void Vst2Editor::idle() {
    // The host's idle calls come on its main thread even when the wrapper's timer cannot tick.
    wrapper->onTimer(nullptr);
}

void Vst2Editor::close() {
    if (view && attached)
        view->removed();
    attached = false;
    releaseView();
    AEffEditor::close();
}

bool Vst2Editor::onKeyDown(VstKeyCode& key) {
    return view && attached &&
           view->onKeyDown(static_cast<char16>(key.character), key.virt, key.modifier) ==
               kResultTrue;
}

bool Vst2Editor::onKeyUp(VstKeyCode& key) {
    return view && attached &&
           view->onKeyUp(static_cast<char16>(key.character), key.virt, key.modifier) == kResultTrue;
}

bool Vst2Editor::onWheel(float distance) {
    return view && attached && view->onWheel(distance) == kResultTrue;
}

bool Vst2Editor::setKnobMode(VstInt32 mode) {
    IEditController2* controller2 = nullptr;
    IEditController* controller = wrapper->getController();
    if (!controller ||
        controller->queryInterface(IEditController2::iid, reinterpret_cast<void**>(&controller2)) !=
            kResultOk)
        return false;
    const bool done = controller2->setKnobMode(mode) == kResultOk;
    controller2->release();
    return done;
}

tresult PLUGIN_API Vst2Editor::resizeView(IPlugView* requester, ViewRect* newSize) {
    if (!newSize || !requester || requester != view)
        return kInvalidArgument;
    if (!wrapper->sizeWindow(newSize->getWidth(), newSize->getHeight()))
        return kResultFalse;
    return view->onSize(newSize);
}

tresult PLUGIN_API Vst2Editor::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, IPlugFrame::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
