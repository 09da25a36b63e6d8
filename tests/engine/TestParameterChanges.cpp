#include "engine/TestParameterChanges.h"

namespace SorvTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

IMPLEMENT_FUNKNOWN_METHODS(TestParamValueQueue, IParamValueQueue, IParamValueQueue::iid)
IMPLEMENT_FUNKNOWN_METHODS(TestParameterChanges, IParameterChanges, IParameterChanges::iid)

TestParameterChanges::~TestParameterChanges() {
    clear();
}

IParamValueQueue* PLUGIN_API TestParameterChanges::getParameterData(int32 index) {
    if (index < 0 || index >= getParameterCount())
        return nullptr;
    return queues[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API TestParameterChanges::addParameterData(const ParamID& id,
                                                                    int32& index) {
    if (!giveQueues)
        return nullptr;
    for (size_t i = 0; i < queues.size(); ++i) {
        if (queues[i]->id == id) {
            index = static_cast<int32>(i);
            return queues[i];
        }
    }
    index = getParameterCount();
    queues.push_back(new TestParamValueQueue(id));
    return queues.back();
}

void TestParameterChanges::clear() {
    for (auto* queue : queues)
        delete queue;
    queues.clear();
}

double TestParameterChanges::lastValue(ParamID id) const {
    for (auto* queue : queues)
        if (queue->id == id && !queue->points.empty())
            return queue->points.back().second;
    return -1.0;
}

int TestParameterChanges::pointCount(ParamID id) const {
    for (auto* queue : queues)
        if (queue->id == id)
            return static_cast<int>(queue->points.size());
    return 0;
}

} // namespace SorvTest
