#pragma once
// Output parameter changes for tests: records every point the effect queues.

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <utility>
#include <vector>

namespace SorvTest {

class TestParamValueQueue : public Steinberg::Vst::IParamValueQueue {
public:
    explicit TestParamValueQueue(Steinberg::Vst::ParamID id) : id(id) { FUNKNOWN_CTOR }
    virtual ~TestParamValueQueue() = default;

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override {
        return static_cast<Steinberg::int32>(points.size());
    }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override {
        if (index < 0 || index >= getPointCount())
            return Steinberg::kResultFalse;
        offset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset,
                                           Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override {
        index = getPointCount();
        points.emplace_back(offset, value);
        return Steinberg::kResultOk;
    }
    DECLARE_FUNKNOWN_METHODS

public:
    Steinberg::Vst::ParamID id;
    std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> points;
};

class TestParameterChanges : public Steinberg::Vst::IParameterChanges {
public:
    TestParameterChanges() { FUNKNOWN_CTOR }
    virtual ~TestParameterChanges();

    Steinberg::int32 PLUGIN_API getParameterCount() override {
        return static_cast<Steinberg::int32>(queues.size());
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;
    DECLARE_FUNKNOWN_METHODS

public:
    void clear();
    // The last point queued for the id, or -1 when there is none.
    double lastValue(Steinberg::Vst::ParamID id) const;
    int pointCount(Steinberg::Vst::ParamID id) const;
    // When false, addParameterData answers no queue.
    bool giveQueues = true;

private:
    std::vector<TestParamValueQueue*> queues;
};

} // namespace SorvTest
