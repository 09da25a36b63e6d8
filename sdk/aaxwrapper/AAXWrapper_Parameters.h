#pragma once
// The AAX wrapper's parameter object: the AAX host's data model of one effect instance, over
// a VST 3 effect made through the module's factory. One AAX parameter per VST 3 parameter
// (identifier: the parameter's four characters) plus "MasterBypassID" on the effect's bypass
// parameter; confirmed values go on to the VST 3 parameters, the effect's own edits go to the
// host as automation; the chunk is the effect's VST 3 state; the native and AudioSuite process
// procedures run the effect's process on the host's buffers and write its meters.
//
// Threads: everything on the host's main thread except Render (the host's audio thread) and
// GenerateCoefficients / UpdateParameterNormalizedValue, which the host may call on any thread
// but the audio thread. The effect is set up (arrangement, processing set-up, activation) on
// the main thread only: when the object is initialised and when the host reports a new rate
// or stem format, from what the controller answers. Render neither sets up, allocates nor
// locks: a set-up waits until no block is inside the effect, and blocks meanwhile are
// answered without it.

#include "AAX_CEffectParameters.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "vst/OutputParameterChanges.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

struct AAXWrapper_Context;

class AAXWrapper_Parameters : public AAX_CEffectParameters,
                              public Steinberg::Vst::IHostApplication,
                              public Steinberg::Vst::IVst3ToAAXWrapper,
                              public Steinberg::Vst::IComponentHandler {
public:
    // The host's creation procedure: a new object with one reference, or null when the module
    // or the effect cannot be started.
    static IACFUnknown* Create();
    ~AAXWrapper_Parameters() override;

    // The chunk of the effect's VST 3 state.
    static constexpr AAX_CTypeID kStateChunkID = 0x56737433; // 'Vst3'
    // The packet field that carries the instance to the process procedure.
    static const int32_t kInstanceField;
    // The longest piece of a block the effect is set up for; longer blocks go in pieces.
    static constexpr int32_t kMaxBlock = 1024;

    AAX_OVERRIDE(AAX_Result) Initialize(IACFUnknown* controller) override;
    AAX_OVERRIDE(AAX_Result) Uninitialize() override;
    AAX_OVERRIDE(AAX_Result)
    NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_OVERRIDE(AAX_Result)
    SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) override;
    AAX_OVERRIDE(AAX_Result)
    UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override;
    AAX_OVERRIDE(AAX_Result) GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const override;
    AAX_OVERRIDE(AAX_Result) GetChunkSize(AAX_CTypeID id, uint32_t* size) const override;
    AAX_OVERRIDE(AAX_Result) GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const override;
    AAX_OVERRIDE(AAX_Result) SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;
    AAX_OVERRIDE(AAX_Result)
    CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) const override;
    AAX_OVERRIDE(AAX_Result)
    ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const override;

    // Audio thread: one block of a context through its instance; meters tells whether the
    // component declared the meter field. A block that cannot be processed (no instance yet,
    // no set-up, another width, the effect threw) leaves silence in the outputs, in place too,
    // or the input when the effect is bypassed, and no gain reduction in the meters.
    static void Render(const AAXWrapper_Context& context, int32_t channels, bool meters);

    Steinberg::Vst::IEditController* GetController() const { return mController; }

    // IHostApplication
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                                 void** obj) SMTG_OVERRIDE;
    // IComponentHandler: the effect's own edits become the host's automation.
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) SMTG_OVERRIDE;
    // The VST 3 faces live as long as the ACF object; they are not counted separately.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid,
                                                 void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

protected:
    AAX_Result EffectInit() override;

private:
    AAXWrapper_Parameters() = default;
    bool Start();
    const char* AaxId(Steinberg::Vst::ParamID id) const;
    bool FindVstId(AAX_CParamID id, Steinberg::Vst::ParamID* out) const;
    bool ReadState(std::vector<char>* bytes) const;
    // Every AAX value from the effect's parameters, as confirmed values.
    void PullAllValues();
    // Main thread: sets the effect up for the controller's rate and stem format; false
    // leaves it unprocessed until the next set-up.
    bool SetUpProcessing();
    // Main thread: waits until no block is inside the effect and keeps further ones out.
    void HoldBlocks();
    void StopProcessing();
    void FollowBypass();
    // Audio thread: the block through the effect, in pieces of at most kMaxBlock frames, its
    // meters into meters unless null; false when the effect is not ready for it or threw.
    bool Process(const AAXWrapper_Context& context, int32_t channels, int32_t frames,
                 float* const* meters);
    // Audio thread: each meter keeps the highest value the effect sent for it in this block.
    void ShowMeters(float* const* meters);
    // Audio thread: no gain reduction in any meter (none when meters is null).
    void ClearMeters(float* const* meters) const;

    bool mModuleStarted = false;
    Steinberg::Vst::IComponent* mComponent = nullptr;
    Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
    Steinberg::Vst::IEditController* mController = nullptr;
    std::map<Steinberg::Vst::ParamID, std::string> mAaxIds;
    std::map<std::string, Steinberg::Vst::ParamID> mVstIds;
    Steinberg::Vst::ParamID mBypassId = 0;
    bool mHasBypass = false;
    mutable uint32_t mStateSize = 0;
    // Processing set-up, written on the main thread while no block is inside the effect.
    int32_t mChannels = 0;
    bool mProcessing = false;
    // The description's meters, in the order of the context's meter field, and where the
    // effect's blocks send them.
    std::vector<AAX_CTypeID> mMeterIds;
    Steinberg::Vst::OutputParameterChanges mOutputChanges;
    // The hand-over between set-up and blocks: a block enters only while the effect is ready,
    // and a set-up starts only once no block has entered.
    std::atomic<bool> mReady{false};
    std::atomic<bool> mInBlock{false};
    // Whether the effect is bypassed, for blocks it cannot process.
    std::atomic<bool> mBypassed{false};
};
