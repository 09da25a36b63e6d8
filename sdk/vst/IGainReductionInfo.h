#pragma once
// The published gain-reduction extension: a host asks the effect for its current gain
// reduction to show it in the mixer.

#include "pluginterfaces/base/funknown.h"

namespace Presonus {

class IGainReductionInfo : public Steinberg::FUnknown {
public:
    // Gain reduction in decibels: 0 or negative. Main thread.
    virtual double PLUGIN_API getGainReductionValueInDecibels() = 0;
    static const Steinberg::FUID iid;
};

DECLARE_CLASS_IID(IGainReductionInfo, 0x8E3C292C, 0x95924F9D, 0xB2590B1E, 0x100E4198)

} // namespace Presonus
