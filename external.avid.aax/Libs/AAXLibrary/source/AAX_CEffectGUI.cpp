#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::~AAX_CEffectGUI() {
    // Subclass parts are gone here: the held container is dropped without calling them.
    if (mEffectParameters)
        mEffectParameters->Release();
    delete mController;
    delete mTransport;
    delete mViewContainer;
}

ACFRESULT AAX_CEffectGUI::InternalQueryInterface(const acfIID& iid, void** out) {
    if (out && iid == IID_IAAXEffectGUIV1) {
        *out = static_cast<AAX_IACFEffectGUI*>(this);
        AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* controller) {
    delete mController;
    mController = new AAX_VController(controller);
    if (!controller)
        return AAX_ERROR_NOT_INITIALIZED;
    void* parameters = nullptr;
    if (mEffectParameters) {
        mEffectParameters->Release();
        mEffectParameters = nullptr;
    }
    if (controller->QueryInterface(IID_IAAXEffectParametersV1, &parameters) == ACF_OK)
        mEffectParameters = static_cast<AAX_IACFEffectParameters*>(parameters);
    delete mTransport;
    mTransport = new AAX_VTransport(controller);
    CreateViewContents();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize() {
    if (mViewContainer)
        SetViewContainer(nullptr);
    if (mEffectParameters)
        mEffectParameters->Release();
    mEffectParameters = nullptr;
    delete mController;
    delete mTransport;
    mController = nullptr;
    mTransport = nullptr;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* viewContainer) {
    if (viewContainer) {
        auto* wrapper = new AAX_VViewContainer(viewContainer);
        delete mViewContainer;
        mViewContainer = wrapper;
        CreateViewContainer();
        UpdateAllParameters();
    } else {
        DeleteViewContainer();
        delete mViewContainer;
        mViewContainer = nullptr;
    }
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::UpdateAllParameters() {
    if (!mEffectParameters)
        return;
    int32_t count = 0;
    if (mEffectParameters->GetNumberOfParameters(&count) != AAX_SUCCESS || count < 0)
        return;
    for (int32_t index = 0; index < count; ++index) {
        AAX_CString id;
        if (mEffectParameters->GetParameterIDFromIndex(index, &id) == AAX_SUCCESS)
            ParameterUpdated(id.Get());
    }
}

AAX_IViewContainer* AAX_CEffectGUI::GetViewContainer() const {
    return mViewContainer;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const {
    return mViewContainer ? mViewContainer->GetPtr() : nullptr;
}

int32_t AAX_CEffectGUI::GetViewContainerType() const {
    return mViewContainer ? mViewContainer->GetType() : 0;
}
