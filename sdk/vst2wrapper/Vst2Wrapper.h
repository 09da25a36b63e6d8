#pragma once
// A VST 3 effect served to VST 2.4 hosts: the wrapper is the host's AudioEffectX and drives the
// effect only through its VST 3 interfaces. To the effect it is the host context (answering
// IVst3ToVst2Wrapper) and the component handler, so the effect's edits reach the host as
// VST 2 automation.
//
// Threads: the host calls setParameter, getParameter, setProgram and setBypass from any thread,
// the audio thread too, right before the block that must use the value: they reach the effect
// at once through its lock-free parameter path, and the effect itself hands what belongs to its
// editors to their thread. The process operations come on the audio thread; the set-up changes
// (rate, block size, activation, arrangement, precision) may come while a block runs on another
// thread: they wait until no block is inside, and a block that arrives meanwhile is silent, so
// the audio thread never waits. A set-up change asked for from a host callback inside a block or
// another change, on the thread that holds it, cannot wait: it is applied when that ends (a new
// arrangement is refused). Program changes are told to the host on the thread of its main calls.

#include "base/Timer.h"
#include "vst2/AudioEffectX.h"
#include "vst/OutputParameterChanges.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Wrapper : public AudioEffectX,
                    public IHostApplication,
                    public IVst3ToVst2Wrapper,
                    public IComponentHandler,
                    public ITimerCallback {
public:
    // Main thread. Builds the effect of the class vst3ComponentID through the factory under a
    // new wrapper; null when the effect cannot be created or initialised.
    static AudioEffect* create(IPluginFactory* factory, const TUID vst3ComponentID, VstInt32 vst2ID,
                               audioMasterCallback audioMaster);
    // Process-wide option, set before create: prefix each parameter name with the names of the
    // units above it ("Unit/Name"). On unless switched off.
    static void setUnitPathInNames(bool state);

    ~Vst2Wrapper() override;

    // Any thread: the host's main calls move the hand-over of program changes to their thread.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    // AudioEffect
    void open() override {}
    void close() override {}
    void suspend() override;
    void resume() override;
    void setSampleRate(float rate) override;
    void setBlockSize(VstInt32 size) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    VstInt32 getProgram() override;
    void setProgram(VstInt32 program) override;
    void setProgramName(char*) override {}
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    // AudioEffectX
    bool canParameterBeAutomated(VstInt32 index) override;
    bool string2parameter(VstInt32 index, char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    bool setSpeakerArrangement(VstSpeakerArrangement* input,
                               VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement(VstSpeakerArrangement** input,
                               VstSpeakerArrangement** output) override;
    bool setBypass(bool on) override;
    bool setProcessPrecision(VstInt32 precision) override;
    VstInt32 getGetTailSize() override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;
    VstInt32 getPlugCategory() override;

    // The thread of the host's main calls: tells the host of program changes made on others.
    void onTimer(Timer* timer) override;

    // IHostApplication: the VST 2 host's product name.
    tresult PLUGIN_API getName(String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) SMTG_OVERRIDE;

    // IComponentHandler: the effect's edits become the host's automation.
    tresult PLUGIN_API beginEdit(ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
    tresult PLUGIN_API endEdit(ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API restartComponent(int32 flags) SMTG_OVERRIDE;

    // The host owns the wrapper; its faces are not reference counted.
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

    // For the editor wrapper.
    IEditController* getController() const { return controller; }

private:
    Vst2Wrapper(audioMasterCallback audioMaster, VstInt32 vst2ID);
    bool init(IPluginFactory* factory, const TUID vst3ComponentID);
    bool onMainThread() const {
        return std::this_thread::get_id() == mainThread.load(std::memory_order_relaxed);
    }
    // Whether the calling thread holds the block gate: a host callback inside a block or a
    // set-up change calls in again.
    bool holdsGate() const {
        return std::this_thread::get_id() == gateHolder.load(std::memory_order_relaxed);
    }
    // The hand-over timer to the calling thread, unless it ticks there already.
    void followMainThread();
    bool isIndexValid(VstInt32 index) const {
        return index >= 0 && index < static_cast<VstInt32>(parameters.size());
    }
    VstInt32 indexOf(ParamID id) const;
    void applyProgram(VstInt32 program);
    // The host's process level on the calling thread, as a process mode.
    int32 hostProcessMode();
    void startProcessing();
    void stopProcessing();
    // A rate or block size of 0 keeps the current one; an active effect is set up anew.
    void changeSetup(float rate, VstInt32 size);
    void applySetup(float rate, VstInt32 size);
    // Runs change while no block is inside; set-up changes from several threads take turns.
    template <typename Change> void reconfigure(Change&& change);
    // Holding the gate: the set-up changes asked for from inside, once, then the gate open.
    void releaseGate();
    void applyDeferred();
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, VstInt32 sampleFrames);
    template <typename Sample>
    void silence(Sample** outputs, VstInt32 channels, VstInt32 sampleFrames);
    void collectOutputChanges();

    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;
    bool controllerIsComponent = true;
    // Ticks on mainThread; replaced only under handOverTurns.
    IPtr<Timer> timer;
    std::atomic<std::thread::id> mainThread;
    std::mutex handOverTurns;
    bool moduleStarted = false;

    std::vector<ParameterInfo> parameters; // those the host sees, in its index order
    std::vector<std::string> parameterNames;
    std::vector<ParamID> outputIds; // every parameter the effect may send back
    ParamID programId = kNoParamId;
    ParamID bypassId = kNoParamId;
    ProgramListID programListId = -1;
    std::vector<std::string> programNames;

    std::string effectName;
    std::string vendorName;
    VstInt32 vendorVersion = 0;
    bool isInstrument = false;

    // Set-up state, changed only while holding inside.
    int32 precision = kSample32;
    bool active = false;
    // Held by a block or a set-up change; set-up changes from several threads take turns.
    std::atomic_flag inside = ATOMIC_FLAG_INIT;
    std::atomic<std::thread::id> gateHolder;
    std::mutex setupTurns;
    // Set-up changes asked for by the gate's holder while it holds it; only it reads them.
    struct DeferredSetup {
        bool pending = false;
        float rate = 0.0f;
        VstInt32 size = 0;
        int32 precision = -1;
        int32 active = -1;
    } deferred;
    // The host's output count, for blocks that meet a set-up change.
    std::atomic<VstInt32> outputCount{0};
    std::atomic<bool> displayChanged{false};
    AudioBusBuffers inputBus = {};
    AudioBusBuffers outputBus = {};
    OutputParameterChanges outputChanges;
    std::vector<char> chunk;
    VstSpeakerArrangement* inputArrangement = nullptr;
    VstSpeakerArrangement* outputArrangement = nullptr;
};

} // namespace Vst
} // namespace Steinberg
