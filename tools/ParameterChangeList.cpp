#include "ParameterChangeList.h"

namespace SorvTools {

using namespace Steinberg;

Vst::IParamValueQueue* PLUGIN_API ParameterChangeList::getParameterData(int32 index) {
    if (index < 0 || index >= count)
        return nullptr;
    return &queues[size_t(index)];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChangeList::addParameterData(const Vst::ParamID& id,
                                                                        int32& index) {
    for (int32 i = 0; i < count; ++i) {
        if (queues[size_t(i)].getParameterId() == id) {
            index = i;
            return &queues[size_t(i)];
        }
    }
    if (count == kMaxQueues)
        return nullptr;
    queues[size_t(count)].reset(id);
    index = count++;
    return &queues[size_t(index)];
}

tresult PLUGIN_API ParameterChangeList::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Vst::IParameterChanges::iid)) {
        *obj = static_cast<Vst::IParameterChanges*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace SorvTools
