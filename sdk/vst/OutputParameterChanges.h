#pragma once
// The parameter changes an effect sends back from one audio block, kept in memory made before
// processing starts: one queue per parameter of the effect, each with a fixed number of points.
// Audio thread: nothing here allocates or locks.

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <memory>
#include <vector>

namespace Steinberg {
namespace Vst {

class OutputParameterChanges : public IParameterChanges {
public:
    static constexpr int32 kPointsPerQueue = 16;

    class Queue : public IParamValueQueue {
    public:
        ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return id; }
        int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return count; }
        tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset,
                                    ParamValue& value) SMTG_OVERRIDE;
        tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value,
                                    int32& index) SMTG_OVERRIDE;
        tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
        // Owned by the list; hosts' queues are not reference counted by effects.
        uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
        uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

        ParamID id = 0;
        int32 count = 0;
        int32 offsets[kPointsPerQueue] = {};
        ParamValue values[kPointsPerQueue] = {};
    };

    OutputParameterChanges() = default;
    virtual ~OutputParameterChanges() = default;

    // Main thread, before processing: one queue for each of these ids.
    void prepare(const std::vector<ParamID>& ids);
    // Audio thread: empties every queue.
    void clear();

    int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return used; }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) SMTG_OVERRIDE;
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) SMTG_OVERRIDE;
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    // A member of its wrapper, which owns it.
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::unique_ptr<Queue[]> queues;
    std::unique_ptr<Queue*[]> order; // queues in the order the effect first used them
    int32 queueCount = 0;
    int32 used = 0;
};

} // namespace Vst
} // namespace Steinberg
