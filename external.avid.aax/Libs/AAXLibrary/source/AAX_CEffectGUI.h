#pragma once
// The base of one effect instance's window: connects to the host's controller and to the
// instance's effect-parameters object, holds the host's view container while a window is
// open and pushes every parameter to the view when a container arrives. Subclasses make the
// view. Host's main thread only; no lock.

#include "AAX_IEffectGUI.h"
#include "CACFUnknown.h"

class AAX_VController;
class AAX_VTransport;
class AAX_VViewContainer;
class AAX_IViewContainer;

class AAX_CEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown {
public:
    ACF_DELEGATING_UNKNOWN
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override;

    AAX_CEffectGUI() = default;
    ~AAX_CEffectGUI() override;

    AAX_Result ACFMETHODCALLTYPE Initialize(IACFUnknown* controller) override;
    AAX_Result ACFMETHODCALLTYPE Uninitialize() override;
    AAX_Result ACFMETHODCALLTYPE NotificationReceived(AAX_CTypeID, const void*, uint32_t) override {
        return AAX_SUCCESS;
    }
    AAX_Result ACFMETHODCALLTYPE SetViewContainer(IACFUnknown* viewContainer) override;
    AAX_Result ACFMETHODCALLTYPE GetViewSize(AAX_Point*) const override { return AAX_SUCCESS; }
    AAX_Result ACFMETHODCALLTYPE Draw(AAX_Rect*) const override { return AAX_SUCCESS; }
    AAX_Result ACFMETHODCALLTYPE TimerWakeup() override { return AAX_SUCCESS; }
    AAX_Result ACFMETHODCALLTYPE ParameterUpdated(AAX_CParamID) override { return AAX_SUCCESS; }
    AAX_Result ACFMETHODCALLTYPE GetCustomLabel(int32_t, AAX_IString*) const override {
        return AAX_ERROR_NULL_OBJECT;
    }
    AAX_Result ACFMETHODCALLTYPE SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean,
                                                         int32_t) override {
        return AAX_SUCCESS;
    }

protected:
    virtual void CreateViewContents() = 0;
    virtual void CreateViewContainer() = 0;
    virtual void DeleteViewContainer() = 0;
    virtual void UpdateAllParameters();

    AAX_IViewContainer* GetViewContainer() const;
    void* GetViewContainerPtr() const;
    int32_t GetViewContainerType() const;
    // The instance's effect parameters, or null.
    AAX_IACFEffectParameters* GetEffectParameters() const { return mEffectParameters; }
    AAX_VController* GetController() const { return mController; }

private:
    AAX_VController* mController = nullptr;
    AAX_IACFEffectParameters* mEffectParameters = nullptr;
    AAX_VViewContainer* mViewContainer = nullptr;
    AAX_VTransport* mTransport = nullptr;
};
