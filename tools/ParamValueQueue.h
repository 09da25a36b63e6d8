#pragma once
// The host's queue of one parameter's changes within a block. Owned by its
// ParameterChangeList; the effect only borrows it during process, so reference counting is
// a formality. Points are kept in sample-offset order; room is fixed, nothing allocates.

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>

namespace SorvTools {

class ParamValueQueue : public Steinberg::Vst::IParamValueQueue {
public:
    static constexpr Steinberg::int32 kMaxPoints = 64;

    void reset(Steinberg::Vst::ParamID id);

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return parameterId; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return count; }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) override;
    // A second point at the same offset replaces the first.
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                           Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    struct Point {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };
    Steinberg::Vst::ParamID parameterId = 0;
    Steinberg::int32 count = 0;
    std::array<Point, kMaxPoints> points{};
};

} // namespace SorvTools
