#include "aaxwrapper/AAXWrapper_GUI.h"

#include "AAX_IViewContainer.h"
#include "aaxwrapper/AAXWrapper_Parameters.h"

#include <new>

using namespace Steinberg;

namespace {
constexpr const char* kEditorName = "editor";
constexpr const char* kPlatformType = "HWND";
} // namespace

IACFUnknown* AAXWrapper_GUI::Create() {
    auto* gui = new (std::nothrow) AAXWrapper_GUI;
    if (!gui)
        return nullptr;
    gui->AddRef();
    return static_cast<AAX_IACFEffectGUI*>(gui);
}

AAXWrapper_GUI::~AAXWrapper_GUI() {
    DeleteViewContainer();
}

AAXWrapper_Parameters* AAXWrapper_GUI::GetWrapper() const {
    // The effect parameters of this module's own instances are always the wrapper's.
    return dynamic_cast<AAXWrapper_Parameters*>(GetEffectParameters());
}

IPlugView* AAXWrapper_GUI::CreateView() {
    AAXWrapper_Parameters* wrapper = GetWrapper();
    return wrapper && wrapper->GetController() ? wrapper->GetController()->createView(kEditorName)
                                               : nullptr;
}

void AAXWrapper_GUI::CreateViewContainer() {
    DeleteViewContainer();
    void* window = GetViewContainerPtr();
    if (!window || GetViewContainerType() != AAX_eViewContainer_Type_HWND)
        return;
    IPlugView* view = CreateView();
    if (!view)
        return;
    if (view->isPlatformTypeSupported(kPlatformType) != kResultTrue) {
        view->release();
        return;
    }
    view->setFrame(this);
    if (view->attached(window, kPlatformType) != kResultOk) {
        view->setFrame(nullptr);
        view->release();
        return;
    }
    mView = view;
}

void AAXWrapper_GUI::DeleteViewContainer() {
    if (!mView)
        return;
    IPlugView* view = mView;
    mView = nullptr;
    view->removed();
    view->setFrame(nullptr);
    view->release();
}

AAX_Result AAXWrapper_GUI::GetViewSize(AAX_Point* size) const {
    if (!size)
        return AAX_ERROR_NULL_ARGUMENT;
    ViewRect rect;
    if (!mView || mView->getSize(&rect) != kResultOk)
        return AAX_SUCCESS;
    size->horz = static_cast<float>(rect.getWidth());
    size->vert = static_cast<float>(rect.getHeight());
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_GUI::TimerWakeup() {
    // The editor keeps its own timers.
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_GUI::SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, int32_t) {
    // The editor has no highlight for controls.
    return AAX_SUCCESS;
}

tresult PLUGIN_API AAXWrapper_GUI::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || view != mView || !newSize)
        return kInvalidArgument;
    // The host's window follows first; a size it refuses is not taken.
    AAX_IViewContainer* container = GetViewContainer();
    AAX_Point size = {static_cast<float>(newSize->getHeight()),
                      static_cast<float>(newSize->getWidth())};
    if (!container || container->SetViewSize(size) != AAX_SUCCESS)
        return kResultFalse;
    return view->onSize(newSize);
}

tresult PLUGIN_API AAXWrapper_GUI::queryInterface(const TUID iid, void** obj) {
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
