#pragma once
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

namespace SorvLib {

// The framework's face towards the product's engine. It has no interface id: the framework
// reaches it by plain conversion, never through queryInterface.
struct ISorvEffect : public Steinberg::FUnknown {
    // Main thread, on every meter-timer tick.
    virtual void PLUGIN_API updateMeters() = 0;
    // -1 without host context, 0 VST 3, 1 VST 2 wrapper, 2 AU wrapper, 3 AAX wrapper.
    virtual Steinberg::int32 PLUGIN_API getHostFormat() = 0;
    // Audio thread; must not allocate or lock. inputs holds 2 × the input channel count.
    virtual void PLUGIN_API processFloat(Steinberg::Vst::ProcessData& data, float** inputs,
                                         float** outputs, Steinberg::int32 sampleCount) = 0;
    virtual void PLUGIN_API processDouble(Steinberg::Vst::ProcessData& data, double** inputs,
                                          double** outputs, Steinberg::int32 sampleCount) = 0;
};

enum HostFormat : Steinberg::int32 {
    kHostUnknown = -1,
    kHostVst3 = 0,
    kHostVst2 = 1,
    kHostAU = 2,
    kHostAAX = 3,
};

} // namespace SorvLib
