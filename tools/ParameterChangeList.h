#pragma once
// The host's list of parameter changes of one block, handed to the effect as the input
// list (kept empty) or the output list (where the effect queues its meter values).
// Host-owned like its queues; fixed room, nothing allocates during process.

#include "ParamValueQueue.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>

namespace SorvTools {

class ParameterChangeList : public Steinberg::Vst::IParameterChanges {
public:
    static constexpr Steinberg::int32 kMaxQueues = 32;

    // Forgets every queue; before each block.
    void clear() { count = 0; }

    Steinberg::int32 PLUGIN_API getParameterCount() override { return count; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    // The queue of `id`, made on first request; null when the list is full.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    Steinberg::int32 count = 0;
    std::array<ParamValueQueue, kMaxQueues> queues;
};

} // namespace SorvTools
