#pragma once
// The host's face of one effect instance's window.

#include "AAX.h"
#include "AAX_IEffectParameters.h"
#include "ACFUnknown.h"

class AAX_IString;

struct AAX_Rect {
    float top;
    float left;
    float width;
    float height;
};

class AAX_IACFEffectGUI : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Initialize(IACFUnknown* controller) = 0;
    ACFMETHOD(AAX_Result) Uninitialize() = 0;
    ACFMETHOD(AAX_Result)
    NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    ACFMETHOD(AAX_Result) SetViewContainer(IACFUnknown* viewContainer) = 0;
    ACFMETHOD(AAX_Result) GetViewSize(AAX_Point* size) const = 0;
    ACFMETHOD(AAX_Result) Draw(AAX_Rect* area) const = 0;
    ACFMETHOD(AAX_Result) TimerWakeup() = 0;
    ACFMETHOD(AAX_Result) ParameterUpdated(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) GetCustomLabel(int32_t selector, AAX_IString* label) const = 0;
    ACFMETHOD(AAX_Result)
    SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted, int32_t colour) = 0;
};
constexpr acfIID IID_IAAXEffectGUIV1 = acfUIDFromText("964E323D-424C-5E1A-2227-282423222E1E");

// The platform kinds of a view container's native window.
enum AAX_EViewContainer_Type : int32_t {
    AAX_eViewContainer_Type_NULL = 0,
    AAX_eViewContainer_Type_NSView = 1,
    AAX_eViewContainer_Type_UIView = 2,
    AAX_eViewContainer_Type_HWND = 3,
};
