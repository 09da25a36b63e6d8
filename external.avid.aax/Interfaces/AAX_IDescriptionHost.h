#pragma once
// What the host offers while an effect describes itself.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "AAX_IFeatureInfo.h"
#include "ACFUnknown.h"

class AAX_IACFDescriptionHost : public IACFUnknown {
public:
    // The feature's info object with one reference for the caller, or null.
    ACFMETHOD(AAX_Result) AcquireFeatureProperties(const acfUID& feature, IACFUnknown** info) = 0;
};
constexpr acfIID IID_IAAXDescriptionHostV1 = acfUIDFromText("E5BC71DF-4C1F-4CC4-814A-5A7DD0E70EF5");
// A further host interface beside the description host; the library only hands it on.
constexpr acfIID IID_IACFDefinition = acfUIDFromText("E51741F1-7FCF-11D6-AAC3-00306542A024");

class AAX_IDescriptionHost {
public:
    virtual ~AAX_IDescriptionHost() {}
    // A new feature info owned by the caller, or null.
    virtual AAX_IFeatureInfo* AcquireFeatureProperties(const acfUID& feature) const = 0;
};
