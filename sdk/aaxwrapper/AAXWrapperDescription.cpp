#include "aaxwrapper/AAXWrapperDescription.h"

#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"
#include "AAX_Init.h"
#include "aaxwrapper/AAXWrapper_GUI.h"
#include "aaxwrapper/AAXWrapper_Parameters.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr AAX_CPropertyValue kHasNativeProcs = 1;

// The AAX category bits of VST 3 sub-categories; words without an AAX category add nothing.
uint32_t categoryBits(const char* subCategories) {
    struct Row {
        const char* word;
        uint32_t bits;
    };
    static const Row table[] = {{"Reverb", AAX_ePlugInCategory_Reverb}};
    uint32_t bits = AAX_ePlugInCategory_None;
    std::string text = subCategories ? subCategories : "";
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('|', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        for (const Row& row : table)
            if (word == row.word)
                bits |= row.bits;
        start = end + 1;
    }
    return bits;
}

AAX_CPropertyValue stemFormat(Steinberg::int32 channels) {
    switch (channels) {
    case 1:
        return AAX_eStemFormat_Mono;
    case 2:
        return AAX_eStemFormat_Stereo;
    default:
        return AAX_eStemFormat_Unsupported;
    }
}

// Ends the description at the first failing step, with its result.
#define AAX_STEP(call)                                                                             \
    do {                                                                                           \
        const AAX_Result stepResult = (call);                                                      \
        if (stepResult != AAX_SUCCESS)                                                             \
            return stepResult;                                                                     \
    } while (false)

AAX_Result describeMeters(AAX_IEffectDescriptor& effect, const AAX_Meter_Desc* meters) {
    for (; meters && meters->mName; ++meters) {
        AAX_IPropertyMap* properties = effect.NewPropertyMap();
        if (!properties)
            return AAX_ERROR_NULL_OBJECT;
        AAX_STEP(properties->AddProperty(AAX_eProperty_Meter_Type, meters->mType));
        AAX_STEP(properties->AddProperty(AAX_eProperty_Meter_Orientation, meters->mOrientation));
        AAX_STEP(effect.AddMeterDescription(static_cast<AAX_CTypeID>(meters->mID), meters->mName,
                                            properties));
    }
    return AAX_SUCCESS;
}

template <bool kMeters> AAX_CProcessProc processProcedure(Steinberg::int32 channels) {
    switch (channels) {
    case 1:
        return reinterpret_cast<AAX_CProcessProc>(&AAXWrapper_AlgorithmProcessFunction<1, kMeters>);
    case 2:
        return reinterpret_cast<AAX_CProcessProc>(&AAXWrapper_AlgorithmProcessFunction<2, kMeters>);
    default:
        return nullptr;
    }
}

// The process procedure of a layout: only equal input and output widths that have a stem
// format can be processed. It reads the meter slot only where the context declares one.
AAX_CProcessProc processProcedure(const AAX_Plugin_Desc& layout, bool meters) {
    if (layout.mInputChannels != layout.mOutputChannels)
        return nullptr;
    return meters ? processProcedure<true>(layout.mOutputChannels)
                  : processProcedure<false>(layout.mOutputChannels);
}

// The fields of AAXWrapper_Context, each at its slot.
AAX_Result describeContext(AAX_IComponentDescriptor& component,
                           const std::vector<AAX_CTypeID>& meterIds) {
    AAX_STEP(component.AddAudioIn(AAX_FIELD_INDEX(AAXWrapper_Context, mInputs)));
    AAX_STEP(component.AddAudioOut(AAX_FIELD_INDEX(AAXWrapper_Context, mOutputs)));
    AAX_STEP(component.AddAudioBufferLength(AAX_FIELD_INDEX(AAXWrapper_Context, mBufferLength)));
    // The packet only ever carries the instance itself: the host keeps the latest one.
    AAX_STEP(component.AddDataInPort(AAX_FIELD_INDEX(AAXWrapper_Context, mInstance),
                                     sizeof(AAXWrapper_Parameters*),
                                     AAX_eDataInPortType_Unbuffered));
    if (!meterIds.empty())
        AAX_STEP(component.AddMeters(AAX_FIELD_INDEX(AAXWrapper_Context, mMeters), meterIds.data(),
                                     uint32_t(meterIds.size())));
    return AAX_SUCCESS;
}

AAX_Result describeLayout(AAX_IEffectDescriptor& effect, const AAX_Effect_Desc& description,
                          const AAX_Plugin_Desc& layout, const std::vector<AAX_CTypeID>& meterIds) {
    const AAX_CProcessProc procedure = processProcedure(layout, !meterIds.empty());
    if (!procedure)
        return AAX_ERROR_INVALID_ARGUMENT;
    AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
    AAX_IPropertyMap* properties = component ? component->NewPropertyMap() : nullptr;
    if (!properties)
        return AAX_ERROR_NULL_OBJECT;
    AAX_STEP(describeContext(*component, meterIds));
    AAX_STEP(properties->AddProperty(AAX_eProperty_ManufacturerID, description.mManufacturerID));
    AAX_STEP(properties->AddProperty(AAX_eProperty_ProductID, description.mProductID));
    AAX_STEP(properties->AddProperty(AAX_eProperty_PlugInID_Native, layout.mPlugInIDNative));
    AAX_STEP(
        properties->AddProperty(AAX_eProperty_PlugInID_AudioSuite, layout.mPlugInIDAudioSuite));
    AAX_STEP(
        properties->AddProperty(AAX_eProperty_InputStemFormat, stemFormat(layout.mInputChannels)));
    AAX_STEP(properties->AddProperty(AAX_eProperty_OutputStemFormat,
                                     stemFormat(layout.mOutputChannels)));
    AAX_STEP(properties->AddProperty(AAX_eProperty_NativeProcessProcs, kHasNativeProcs));
    AAX_STEP(properties->AddPointerProperty(AAX_eProperty_NativeProcessProc, procedure));
    AAX_STEP(component->AddProcessProc(properties, nullptr, 0));
    AAX_STEP(effect.AddComponent(component));
    return AAX_SUCCESS;
}

} // namespace

AAX_Result AAXWrapper_DescribeEffect(AAX_ICollection* collection,
                                     const AAX_Effect_Desc* description) {
    if (!collection || !description || !description->mPluginDesc ||
        !description->mPluginDesc[0].mEffectID)
        return AAX_ERROR_NULL_OBJECT;
    const AAX_Plugin_Desc* layouts = description->mPluginDesc;

    AAX_STEP(collection->SetManufacturerName(description->mManufacturer));
    AAX_STEP(collection->AddPackageName(description->mProduct));
    AAX_STEP(collection->SetPackageVersion(static_cast<uint32_t>(description->mVersion)));
    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    if (!effect)
        return AAX_ERROR_NULL_OBJECT;
    AAX_STEP(effect->AddName(description->mProduct));
    AAX_STEP(effect->AddCategory(categoryBits(description->mCategory)));
    AAX_STEP(effect->AddResourceInfo(AAX_eResourceType_PageTable, description->mPageFile));
    AAX_STEP(effect->AddProcPtr(reinterpret_cast<void*>(&AAXWrapper_Parameters::Create),
                                kAAX_ProcPtrID_Create_EffectParameters));
    AAX_STEP(effect->AddProcPtr(reinterpret_cast<void*>(&AAXWrapper_GUI::Create),
                                kAAX_ProcPtrID_Create_EffectGUI));
    AAX_STEP(describeMeters(*effect, layouts[0].mMeters));
    const std::vector<AAX_CTypeID> meterIds = AAXWrapper_MeterIds(layouts[0]);
    for (const AAX_Plugin_Desc* layout = layouts; layout->mEffectID; ++layout)
        AAX_STEP(describeLayout(*effect, *description, *layout, meterIds));
    return collection->AddEffect(layouts[0].mEffectID, effect);
}

std::vector<AAX_CTypeID> AAXWrapper_MeterIds(const AAX_Plugin_Desc& layout) {
    std::vector<AAX_CTypeID> ids;
    for (const AAX_Meter_Desc* meter = layout.mMeters; meter && meter->mName; ++meter)
        ids.push_back(static_cast<AAX_CTypeID>(meter->mID));
    return ids;
}

AAX_Result GetEffectDescriptions(AAX_ICollection* collection) {
    return AAXWrapper_DescribeEffect(collection, AAXWrapper_GetDescription());
}

template <int32_t kChannels, bool kMeters>
void AAXWrapper_AlgorithmProcessFunction(void* const instancesBegin[], const void* instancesEnd) {
    for (void* const* instance = instancesBegin; instance != instancesEnd; ++instance)
        if (const auto* context = static_cast<const AAXWrapper_Context*>(*instance))
            AAXWrapper_Parameters::Render(*context, kChannels, kMeters);
}

template void AAXWrapper_AlgorithmProcessFunction<1, false>(void* const[], const void*);
template void AAXWrapper_AlgorithmProcessFunction<1, true>(void* const[], const void*);
template void AAXWrapper_AlgorithmProcessFunction<2, false>(void* const[], const void*);
template void AAXWrapper_AlgorithmProcessFunction<2, true>(void* const[], const void*);
