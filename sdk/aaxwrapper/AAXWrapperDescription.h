#pragma once
// The AAX wrapper's effect description: what the module tells the wrapper about its effect,
// and the wrapper's entry that describes it into the AAX library's collection.

#include "AAX.h"
#include "pluginterfaces/base/funknown.h"

#include <vector>

class AAX_ICollection;

struct AAX_Meter_Desc {
    const char* mName;
    Steinberg::int32 mID;
    Steinberg::int32 mOrientation; // 0: the host's default
    Steinberg::int32 mType;        // 2: compressor/limiter gain reduction
};

struct AAX_MIDI_Desc {
    const char* mName;
    Steinberg::int32 mMask;
};

struct AAX_Aux_Desc {
    const char* mName;
    Steinberg::int32 mChannels;
};

// One channel layout of the effect. A table of them ends with a row whose effect id is null.
struct AAX_Plugin_Desc {
    const char* mEffectID;
    const char* mName;
    Steinberg::int32 mPlugInIDNative;
    Steinberg::int32 mPlugInIDAudioSuite;
    Steinberg::int32 mInputChannels;
    Steinberg::int32 mOutputChannels;
    Steinberg::int32 mSideChainInputChannels;
    const AAX_MIDI_Desc* mMIDIports;
    const AAX_Aux_Desc* mAuxOutputChannels;
    const AAX_Meter_Desc* mMeters; // ended by a row whose name is null
    Steinberg::int32 mLatency;
};

struct AAX_Effect_Desc {
    const char* mManufacturer;
    const char* mProduct;
    Steinberg::int32 mManufacturerID;
    Steinberg::int32 mProductID;
    const char* mCategory; // VST 3 sub-categories, e.g. "Fx|Reverb"
    Steinberg::TUID mVST3PluginID;
    Steinberg::int32 mVersion;
    const char* mPageFile;
    const AAX_Plugin_Desc* mPluginDesc;
};

// Defined by the module: its description, or null when it cannot be made.
AAX_Effect_Desc* AAXWrapper_GetDescription();

// Describes one effect into the collection: maker, package and version on the collection;
// name, category, page table, the creation procedures of the parameters and GUI objects and
// meters on the effect; one component with its native process procedure and type ids per
// channel layout. Returns the first failing result; -20004 without collection or description.
AAX_Result AAXWrapper_DescribeEffect(AAX_ICollection* collection,
                                     const AAX_Effect_Desc* description);

// The ids of a layout's meters, in the order of the context's meter field.
std::vector<AAX_CTypeID> AAXWrapper_MeterIds(const AAX_Plugin_Desc& layout);

class AAXWrapper_Parameters;

// The algorithm context of every component: pointer slots only, each declared to the host
// as a field whose index is its slot number. The host fills them from those declarations.
struct AAXWrapper_Context {
    float* const* mInputs;        // audio in: one buffer per channel
    float* const* mOutputs;       // audio out: one buffer per channel
    const int32_t* mBufferLength; // frames in this block
    // The data-in port of the wrapper's instance packet: the parameters object of the
    // instance, as the host last delivered it (ResetFieldData fills it before the first block).
    AAXWrapper_Parameters* const* mInstance;
    // One value per meter of the description, written every block; declared, and so present,
    // only when the description has meters.
    float* const* mMeters;
};

// The native process procedure of the components with this many channels in and out and,
// with kMeters, the meter field; each context in [instancesBegin, instancesEnd) is one
// AAXWrapper_Context. Host's audio thread: allocates nothing, takes no lock, sets nothing up.
template <int32_t kChannels, bool kMeters>
void AAXWrapper_AlgorithmProcessFunction(void* const instancesBegin[], const void* instancesEnd);
