#pragma once
// The collection a module describes its effects into at registration.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IDescriptionHost;
class AAX_IEffectDescriptor;
class AAX_IPropertyMap;

class AAX_IACFCollection : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1() = 0;
    ACFMETHOD(AAX_Result) Operation2() = 0;
    ACFMETHOD(AAX_Result) Operation3() = 0;
    ACFMETHOD(AAX_Result) Operation4() = 0;
    ACFMETHOD(AAX_Result) AddEffect(const char* effectID, IACFUnknown* effect) = 0;
    ACFMETHOD(AAX_Result) SetManufacturerName(const char* name) = 0;
    ACFMETHOD(AAX_Result) AddPackageName(const char* name) = 0;
    ACFMETHOD(AAX_Result) SetPackageVersion(uint32_t version) = 0;
    ACFMETHOD(AAX_Result) SetProperties(IACFUnknown* properties) = 0;
};
constexpr acfIID IID_IAAXCollectionV1 = acfUIDFromText("96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA");
constexpr acfCLSID AAXCompID_AAXCollection = acfUIDFromText("89882C2D-77BC-42EF-707B-7981B7BD0CCA");

class AAX_ICollection {
public:
    virtual ~AAX_ICollection() {}
    // Descriptors and maps made here belong to the collection.
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* effect) = 0;
    virtual AAX_Result SetManufacturerName(const char* name) = 0;
    virtual AAX_Result AddPackageName(const char* name) = 0;
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
    virtual AAX_IDescriptionHost* DescriptionHost() = 0;
    virtual const AAX_IDescriptionHost* DescriptionHost() const = 0;
    // The host's further interface beside the description host, unreferenced, or null.
    virtual IACFUnknown* HostDefinition() const = 0;
};
