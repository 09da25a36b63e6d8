#pragma once
// Where the effect's blocks send their parameter changes under the AAX wrapper: only the
// parameters that are meters of the description are kept, each as the highest value sent
// since the last clear, so a block processed in pieces shows the peak of the whole block.
// Meter ids are set on the main thread before processing; the rest runs on the audio thread
// and neither allocates nor locks.

#include "AAX.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

class AAXWrapper_MeterChanges : public Steinberg::Vst::IParameterChanges {
public:
    static constexpr int32_t kMaxMeters = 8;

    // Main thread: the meters, in the order of the context's meter field; at most kMaxMeters.
    void SetMeterIds(const AAX_CTypeID* ids, int32_t count);
    int32_t MeterCount() const { return mCount; }
    // Audio thread: forgets what the last block sent.
    void Clear();
    // Audio thread: the highest value sent for a meter since Clear, 0 when none was.
    float Peak(int32_t meter) const;

    Steinberg::int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return mUsed; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index)
        SMTG_OVERRIDE;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API
    addParameterData(const Steinberg::Vst::ParamID& id, Steinberg::int32& index) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid,
                                                 void** obj) SMTG_OVERRIDE;
    // A member of the wrapper, which owns it.
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    class Queue : public Steinberg::Vst::IParamValueQueue {
    public:
        Steinberg::Vst::ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return id; }
        Steinberg::int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return points; }
        Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index,
                                               Steinberg::int32& sampleOffset,
                                               Steinberg::Vst::ParamValue& value) SMTG_OVERRIDE;
        Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                               Steinberg::Vst::ParamValue value,
                                               Steinberg::int32& index) SMTG_OVERRIDE;
        Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid,
                                                     void** obj) SMTG_OVERRIDE;
        Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
        Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

        Steinberg::Vst::ParamID id = 0;
        Steinberg::int32 points = 0;
        Steinberg::Vst::ParamValue peak = 0;
    };

    Queue mQueues[kMaxMeters];
    Queue* mOrder[kMaxMeters] = {}; // queues in the order the effect first used them
    int32_t mCount = 0;
    int32_t mUsed = 0;
};
