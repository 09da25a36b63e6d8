#pragma once
// The framework's effect: one object that is the VST 3 audio processor and edit controller
// of a product. It owns the buses, the framework parameters, the state chunk, the audio
// block frame, the editor list and the meter timer; the product adds its parameters and
// supplies its engine through ISorvEffect.

#include "base/Timer.h"
#include "core/ISorvEffect.h"
#include "core/Patch.h"
#include "vst/IGainReductionInfo.h"
#include "vst/SingleComponentEffect.h"

#include <atomic>
#include <map>
#include <set>
#include <thread>

namespace SorvLib {

// One row of the effect's meter list; the list ends with a row whose name is null.
struct MeterRow {
    const char* name;
    Steinberg::Vst::ParamID id;
    Steinberg::int32 orientation;
    Steinberg::int32 type;
};

constexpr Steinberg::int32 kGainReductionMeter = 2;

class SorvEffect : public Steinberg::Vst::SingleComponentEffect,
                   public Presonus::IGainReductionInfo,
                   public ISorvEffect,
                   public Steinberg::ITimerCallback {
public:
    using ParamID = Steinberg::Vst::ParamID;
    using ParamValue = Steinberg::Vst::ParamValue;
    using tresult = Steinberg::tresult;
    using int32 = Steinberg::int32;

    // factoryPatches: null-terminated list, not owned; null offers no programs.
    explicit SorvEffect(const PatchRef* factoryPatches);
    ~SorvEffect() override;

    // Options; set before initialize.
    void setSideChain(bool enabled) { sideChainEnabled = enabled; }
    void setMultiChannel(bool enabled) { multiChannelEnabled = enabled; }
    void setGlobalLinkEnabled(bool enabled) { globalLinkEnabled = enabled; }

    // Main thread: switches this instance's Global Link, and with allInstances that of every
    // other registered instance. Does nothing without the option.
    void setGlobalLink(bool on, bool allInstances);

    // For the engine.
    // Any thread.
    // From the stored value itself: no second copy that setters on two threads could leave
    // disagreeing with it.
    bool isBypassed() const;
    double getSampleRate() const { return sampleRate.load(std::memory_order_relaxed); }
    int32 getMaxSamplesPerBlock() const { return processSetup.maxSamplesPerBlock; }
    double getTempo() const { return tempo; }

    // Lifecycle, main thread.
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // Buses, main thread.
    virtual bool isArrangementSupported(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                        Steinberg::Vst::SpeakerArrangement* outputs, int32 numOuts);
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs,
                                          int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;

    // Main thread, after initialize.
    tresult PLUGIN_API setComponentHandler(Steinberg::Vst::IComponentHandler* handler)
        SMTG_OVERRIDE;

    // Editor, on the thread that drives the editors (the host's main thread); the thread that
    // attaches an editor is taken to be that thread from then on.
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;
    void editorAttached(Steinberg::Vst::EditorView* editor) SMTG_OVERRIDE;
    void editorRemoved(Steinberg::Vst::EditorView* editor) SMTG_OVERRIDE;
    // The editors' thread: pushes into the open editors the values that other threads set
    // since the last call. The meter timer calls it; a wrapper may call it more often.
    void pushPendingValues();

    // The one path of every parameter value. Caller's thread (the audio thread too under
    // a VST 2 host); takes no lock and allocates nothing: values are kept whole in atomics,
    // not in the SDK's parameter objects, whose setter notifies through a locked handler.
    // Only on the editors' thread are the editors told at once; from any other thread the
    // value is marked for pushPendingValues, so no other thread touches an editor.
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) SMTG_OVERRIDE;
    ParamValue PLUGIN_API getParamNormalized(ParamID tag) SMTG_OVERRIDE;

    // Parameter information and texts, main thread. Indices outside the list and values that
    // are not numbers answer kInvalidArgument; texts never exceed the host's String128.
    tresult PLUGIN_API getParameterInfo(int32 paramIndex,
                                        Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                             Steinberg::Vst::String128 string) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamValueByString(ParamID tag, Steinberg::Vst::TChar* string,
                                             ParamValue& valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID tag,
                                                 ParamValue valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID tag, ParamValue plainValue) SMTG_OVERRIDE;

    // Units and program lists, main thread; bad indices answer kInvalidArgument.
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex,
                                          Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::CString attributeId,
                                      Steinberg::Vst::String128 attributeValue) SMTG_OVERRIDE;
    tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                            int32 programIndex) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                           Steinberg::int16 midiPitch,
                                           Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    tresult beginEdit(ParamID tag) SMTG_OVERRIDE;
    tresult endEdit(ParamID tag) SMTG_OVERRIDE;

    // IEditController2, main thread.
    tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) SMTG_OVERRIDE;
    tresult PLUGIN_API openHelp(Steinberg::TBool onlyCheck) SMTG_OVERRIDE;
    tresult PLUGIN_API openAboutBox(Steinberg::TBool onlyCheck) SMTG_OVERRIDE;

    // Processing life cycle, main thread.
    tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    // State chunk, main thread.
    tresult PLUGIN_API setState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    // Audio thread; allocates nothing.
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;

    // Main thread.
    double PLUGIN_API getGainReductionValueInDecibels() SMTG_OVERRIDE;
    void onTimer(Steinberg::Timer* timer) SMTG_OVERRIDE;

    // ISorvEffect: the framework's versions do nothing.
    void PLUGIN_API updateMeters() SMTG_OVERRIDE {}
    int32 PLUGIN_API getHostFormat() SMTG_OVERRIDE;
    void PLUGIN_API processFloat(Steinberg::Vst::ProcessData&, float**, float**,
                                 int32) SMTG_OVERRIDE {}
    void PLUGIN_API processDouble(Steinberg::Vst::ProcessData&, double**, double**,
                                  int32) SMTG_OVERRIDE {}

    // The effect's meter list; the framework's own is empty.
    virtual const MeterRow* meterTable() const;

    OBJ_METHODS(SorvEffect, SingleComponentEffect)
    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(SingleComponentEffect)

protected:
    // Quantises a value of a parameter with steps; other values pass unchanged.
    static double quantize(int32 stepCount, double value);
    void changeProgram(ParamValue value);
    int32 programIndex(ParamValue value) const;
    void reapplyParameters(bool resetEdits);
    tresult initializeFramework(Steinberg::FUnknown* context);
    tresult arrangeBuses(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                         Steinberg::Vst::SpeakerArrangement* outputs, int32 numOuts);
    void showAboutBox();
    tresult writeState(Steinberg::IBStream* stream);
    void applyStateRow(ParamID id, Steinberg::uint32 bits);
    // The tag's slot, or -1 (no parameter, or not followed yet).
    int32 slotOf(ParamID tag) const;
    // Main thread: follows parameters added since the last call.
    void refreshParameterSlots();
    bool isProgram(Steinberg::Vst::ProgramListID listId, int32 programIndex);
    void forgetStoredValues();
    void pushToEditors(int32 slot, ParamID tag, ParamValue value);
    bool onEditorThread() const {
        return std::this_thread::get_id() == editorThread.load(std::memory_order_relaxed);
    }

    // The Global Link steps, only with the option on (SorvEffectGlobalLink.cpp).
    void linkInitialize();
    void linkTerminate();
    void linkEdit(ParamID tag, bool begin);
    void linkValue(ParamID tag, ParamValue value);
    void linkSwitched(ParamValue value);
    bool isLinked();
    bool isLinkable(ParamID tag);

    std::set<Steinberg::Vst::EditorView*> editors;
    const PatchRef* factoryPatches;
    int32 patchCount = 0;
    Steinberg::IPtr<Steinberg::Timer> meterTimer;
    // The thread the meter timer ticks on: the one that initialised the effect, until an
    // editor is attached on another.
    std::atomic<std::thread::id> editorThread{std::thread::id()};
    // The set-up's rate, which the audio thread reads (for the tail) while another thread may
    // set the effect up anew.
    std::atomic<double> sampleRate{0.0};
    bool isInstrument = false;
    bool sideChainEnabled = false;
    bool multiChannelEnabled = false;
    bool globalLinkEnabled = false;
    bool hostIsPresetExporter = false;
    double tempo = 120.0;
    Steinberg::Vst::ParameterContainer linkSnapshot;
    std::map<ParamID, bool> editInProgress;

    // The parameter values, set from any thread, in slots that follow the parameters in index
    // order; not a number until first set, which stands for the value the parameter was made
    // with. Until its slot exists (only between initialize and the next main-thread call) and
    // past the last slot a value stays in the SDK's object. The slots spare every lookup on
    // the audio thread the container's reference counting.
    struct ParameterSlot {
        ParamID id;
        Steinberg::Vst::Parameter* parameter;
    };
    static constexpr int32 kStoredValues = 64;
    ParameterSlot parameterSlots[kStoredValues] = {};
    std::atomic<int32> slotCount{0};
    std::atomic<double> storedValues[kStoredValues];
    // Values set off the editors' thread that the editors have not been shown yet, by slot.
    std::atomic<bool> unpushedValues[kStoredValues] = {};
    std::atomic<bool> anyUnpushed{false};
};

} // namespace SorvLib
