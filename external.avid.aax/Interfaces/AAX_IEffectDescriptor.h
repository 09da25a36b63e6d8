#pragma once
// One effect: its name, category, resources, meters and components.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IComponentDescriptor;
class AAX_IPropertyMap;

class AAX_IACFEffectDescriptor : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) AddComponent(IACFUnknown* component) = 0;
    ACFMETHOD(AAX_Result) AddName(const char* name) = 0;
    ACFMETHOD(AAX_Result) AddCategory(uint32_t category) = 0;
    ACFMETHOD(AAX_Result) Operation4(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) AddProcPtr(void* procPtr, AAX_CProcPtrID procID) = 0;
    ACFMETHOD(AAX_Result) SetProperties(IACFUnknown* properties) = 0;
    ACFMETHOD(AAX_Result) AddResourceInfo(int32_t type, const char* info) = 0;
    ACFMETHOD(AAX_Result)
    AddMeterDescription(AAX_CTypeID id, const char* name, IACFUnknown* properties) = 0;
};
class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor {
public:
    ACFMETHOD(AAX_Result) Operation9(void* a, void* b, void* c, void* d) = 0;
};
constexpr acfIID IID_IAAXEffectDescriptorV1 =
    acfUIDFromText("96D42C2D-EBBC-41EF-D1CB-499442E40FDA");
constexpr acfIID IID_IAAXEffectDescriptorV2 =
    acfUIDFromText("41ECCC52-416B-4072-84BD-40B05210A74C");
constexpr acfCLSID AAXCompID_EffectDescriptor =
    acfUIDFromText("89872C2D-75BC-423F-401B-F9A1BAAD0CCA");

class AAX_IEffectDescriptor {
public:
    virtual ~AAX_IEffectDescriptor() {}
    // Descriptors and maps made here belong to this descriptor.
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
    virtual AAX_Result AddName(const char* name) = 0;
    virtual AAX_Result AddCategory(uint32_t category) = 0;
    virtual AAX_Result Operation5(void* a, void* b) = 0;
    virtual AAX_Result AddProcPtr(void* procPtr, AAX_CProcPtrID procID) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddResourceInfo(int32_t type, const char* info) = 0;
    virtual AAX_Result AddMeterDescription(AAX_CTypeID id, const char* name,
                                           AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result Operation11(void* a, void* b, void* c, void* d) = 0;
};
