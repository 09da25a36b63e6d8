#pragma once
// Optional host features and the properties that describe them.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IPropertyMap;

class AAX_IACFFeatureInfo : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) SupportLevel(int32_t* level) = 0;
    // A host property map with one reference for the caller, or null.
    ACFMETHOD(AAX_Result) AcquireProperties(IACFUnknown** properties) = 0;
};
constexpr acfIID IID_IAAXFeatureInfoV1 = acfUIDFromText("24545609-A7C4-44D4-ABB8-CF13EA9D0BDF");

class AAX_IFeatureInfo {
public:
    virtual ~AAX_IFeatureInfo() {}
    virtual AAX_Result SupportLevel(int32_t* level) const = 0;
    // A new map owned by the caller, or null.
    virtual AAX_IPropertyMap* AcquireProperties() const = 0;
    virtual const acfUID& ID() const = 0;
};
