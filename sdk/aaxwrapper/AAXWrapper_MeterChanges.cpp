#include "aaxwrapper/AAXWrapper_MeterChanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

void AAXWrapper_MeterChanges::SetMeterIds(const AAX_CTypeID* ids, int32_t count) {
    mCount = count < kMaxMeters ? count : kMaxMeters;
    for (int32_t i = 0; i < mCount; ++i)
        mQueues[i].id = static_cast<ParamID>(ids[i]);
    Clear();
}

void AAXWrapper_MeterChanges::Clear() {
    for (int32_t i = 0; i < mCount; ++i) {
        mQueues[i].points = 0;
        mQueues[i].peak = 0;
    }
    mUsed = 0;
}

float AAXWrapper_MeterChanges::Peak(int32_t meter) const {
    return meter >= 0 && meter < mCount ? static_cast<float>(mQueues[meter].peak) : 0.0f;
}

IParamValueQueue* PLUGIN_API AAXWrapper_MeterChanges::getParameterData(int32 index) {
    return index >= 0 && index < mUsed ? mOrder[index] : nullptr;
}

IParamValueQueue* PLUGIN_API AAXWrapper_MeterChanges::addParameterData(const ParamID& id,
                                                                       int32& index) {
    for (int32 i = 0; i < mUsed; ++i)
        if (mOrder[i]->id == id) {
            index = i;
            return mOrder[i];
        }
    for (int32_t meter = 0; meter < mCount; ++meter)
        if (mQueues[meter].id == id) {
            index = mUsed;
            mOrder[mUsed++] = &mQueues[meter];
            return &mQueues[meter];
        }
    // Parameters that are not meters have nowhere to go in an AAX host.
    return nullptr;
}

tresult PLUGIN_API AAXWrapper_MeterChanges::Queue::getPoint(int32 index, int32& sampleOffset,
                                                            ParamValue& value) {
    if (index < 0 || index >= points)
        return kInvalidArgument;
    sampleOffset = 0;
    value = peak;
    return kResultOk;
}

tresult PLUGIN_API AAXWrapper_MeterChanges::Queue::addPoint(int32, ParamValue value, int32& index) {
    if (points == 0 || value > peak)
        peak = value;
    index = points == 0 ? 0 : points - 1;
    points = 1;
    return kResultOk;
}

tresult PLUGIN_API AAXWrapper_MeterChanges::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, IParameterChanges::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IParameterChanges*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API AAXWrapper_MeterChanges::Queue::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, IParamValueQueue::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IParamValueQueue*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
