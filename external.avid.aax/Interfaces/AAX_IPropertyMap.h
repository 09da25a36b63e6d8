#pragma once
// Numbered properties of a description object.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFPropertyMap : public IACFUnknown {
public:
    ACFMETHOD(acfBool) GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) = 0;
    ACFMETHOD(AAX_Result) AddProperty(AAX_EProperty id, AAX_CPropertyValue value) = 0;
    ACFMETHOD(AAX_Result) RemoveProperty(AAX_EProperty id) = 0;
};
class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap {
public:
    ACFMETHOD(AAX_Result) Operation4(void* a, void* b, void* c) = 0;
    ACFMETHOD(acfBool) Operation5(void* a, void* b, void* c) = 0;
};
class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2 {};
constexpr acfIID IID_IAAXPropertyMapV1 = acfUIDFromText("96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE");
constexpr acfIID IID_IAAXPropertyMapV2 = acfUIDFromText("7177DF80-7C9C-11E2-B92A-0800200C9A66");
constexpr acfIID IID_IAAXPropertyMapV3 = acfUIDFromText("6D4AB208-D34B-4368-B4F1-58BC243F45C9");
constexpr acfCLSID AAXCompID_PropertyMap = acfUIDFromText("A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA");

class AAX_IPropertyMap {
public:
    virtual ~AAX_IPropertyMap() {}
    // Whether the property exists; its value goes to *value.
    virtual bool GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const = 0;
    virtual bool GetPointerProperty(AAX_EProperty id, const void** value) const = 0;
    virtual AAX_Result AddProperty(AAX_EProperty id, AAX_CPropertyValue value) = 0;
    virtual AAX_Result AddPointerProperty(AAX_EProperty id, const void* value) = 0;
    // Adds without the channel-format check of AddProperty.
    virtual AAX_Result AddPropertyUnchecked(AAX_EProperty id, AAX_CPropertyValue value) = 0;
    virtual AAX_Result RemoveProperty(AAX_EProperty id) = 0;
    virtual AAX_Result Operation7(void* a, void* b, void* c) = 0;
    virtual bool Operation8(void* a, void* b, void* c) const = 0;
    // The newest host interface held, or null; not referenced for the caller.
    virtual IACFUnknown* NewestInterface() const = 0;
};
