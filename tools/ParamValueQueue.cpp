#include "ParamValueQueue.h"

namespace SorvTools {

using namespace Steinberg;

void ParamValueQueue::reset(Vst::ParamID id) {
    parameterId = id;
    count = 0;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset,
                                             Vst::ParamValue& value) {
    if (index < 0 || index >= count)
        return kInvalidArgument;
    sampleOffset = points[size_t(index)].offset;
    value = points[size_t(index)].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value,
                                             int32& index) {
    int32 at = 0;
    while (at < count && points[size_t(at)].offset < sampleOffset)
        ++at;
    if (at < count && points[size_t(at)].offset == sampleOffset) {
        points[size_t(at)].value = value;
        index = at;
        return kResultOk;
    }
    if (count == kMaxPoints)
        return kResultFalse;
    for (int32 i = count; i > at; --i)
        points[size_t(i)] = points[size_t(i - 1)];
    points[size_t(at)] = {sampleOffset, value};
    ++count;
    index = at;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Vst::IParamValueQueue::iid)) {
        *obj = static_cast<Vst::IParamValueQueue*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace SorvTools
