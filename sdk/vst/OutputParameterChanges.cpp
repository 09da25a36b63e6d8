#include "vst/OutputParameterChanges.h"

namespace Steinberg {
namespace Vst {

namespace {
template <typename Face> tresult answer(Face* face, const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Face::iid)) {
        *obj = face;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
} // namespace

tresult PLUGIN_API OutputParameterChanges::Queue::queryInterface(const TUID iid, void** obj) {
    return answer<IParamValueQueue>(this, iid, obj);
}

tresult PLUGIN_API OutputParameterChanges::queryInterface(const TUID iid, void** obj) {
    return answer<IParameterChanges>(this, iid, obj);
}

tresult PLUGIN_API OutputParameterChanges::Queue::getPoint(int32 index, int32& sampleOffset,
                                                      ParamValue& value) {
    if (index < 0 || index >= count)
        return kInvalidArgument;
    sampleOffset = offsets[index];
    value = values[index];
    return kResultOk;
}

tresult PLUGIN_API OutputParameterChanges::Queue::addPoint(int32 sampleOffset, ParamValue value,
                                                      int32& index) {
    // A full queue keeps its last point current rather than refusing the newest value.
    if (count == kPointsPerQueue)
        --count;
    offsets[count] = sampleOffset;
    values[count] = value;
    index = count++;
    return kResultOk;
}

void OutputParameterChanges::prepare(const std::vector<ParamID>& ids) {
    queueCount = static_cast<int32>(ids.size());
    queues.reset(new Queue[ids.size()]);
    order.reset(new Queue*[ids.size()]);
    for (int32 i = 0; i < queueCount; ++i)
        queues[i].id = ids[i];
    used = 0;
}

void OutputParameterChanges::clear() {
    for (int32 i = 0; i < used; ++i)
        order[i]->count = 0;
    used = 0;
}

IParamValueQueue* PLUGIN_API OutputParameterChanges::getParameterData(int32 index) {
    return index >= 0 && index < used ? order[index] : nullptr;
}

IParamValueQueue* PLUGIN_API OutputParameterChanges::addParameterData(const ParamID& id, int32& index) {
    for (int32 i = 0; i < used; ++i)
        if (order[i]->id == id) {
            index = i;
            return order[i];
        }
    for (int32 i = 0; i < queueCount; ++i)
        if (queues[i].id == id) {
            order[used] = &queues[i];
            index = used++;
            return &queues[i];
        }
    return nullptr;
}

} // namespace Vst
} // namespace Steinberg
