#pragma once
// A small product on the framework for testing it: a continuous, a ten-step and a read-only
// gain-reduction parameter, and an engine that records what the frame hands it.

#include "core/FourCC.h"
#include "core/SorvEffect.h"
#include "editor/SorvView.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <map>
#include <utility>
#include <vector>

namespace SorvTest {

constexpr Steinberg::Vst::ParamID kLevelId = SorvLib::fourCC("Levl"); // continuous
constexpr Steinberg::Vst::ParamID kStepsId = SorvLib::fourCC("Step"); // ten steps
constexpr Steinberg::Vst::ParamID kMeterId = SorvLib::fourCC("Metr"); // read-only meter

// Three patches over the test parameters, ended by a null entry.
extern const SorvLib::PatchRef testPatches[];

class TestEffect : public SorvLib::SorvEffect {
public:
    explicit TestEffect(const SorvLib::PatchRef* patches = testPatches);

    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID tag,
                                                     Steinberg::Vst::ParamValue value) override;
    Steinberg::uint32 PLUGIN_API getTailSamples() override { return tailSamples; }
    void PLUGIN_API updateMeters() override { ++meterUpdates; }
    void PLUGIN_API processFloat(Steinberg::Vst::ProcessData& data, float** inputs, float** outputs,
                                 Steinberg::int32 sampleCount) override;
    void PLUGIN_API processDouble(Steinberg::Vst::ProcessData& data, double** inputs,
                                  double** outputs, Steinberg::int32 sampleCount) override;
    const SorvLib::MeterRow* meterTable() const override;

    int32 countOfPatches() const { return patchCount; }
    bool hasTimer() const { return meterTimer != nullptr; }
    Steinberg::Timer* timer() const { return meterTimer; }
    size_t editorCount() const { return editors.size(); }
    const std::map<ParamID, bool>& edits() const { return editInProgress; }

    // What the engine override saw.
    std::vector<std::pair<ParamID, double>> engineWrites;
    int floatCalls = 0;
    int doubleCalls = 0;
    unsigned int csrDuringProcess = 0;
    std::vector<void*> channelTable;
    void* firstOutput = nullptr;
    int meterUpdates = 0;
    Steinberg::uint32 tailSamples = 0;

private:
    template <typename Sample>
    void record(Sample** inputs, Sample** outputs, Steinberg::int32 inputChannels);
};

// An editor that records every value the effect pushes into it.
class TestView : public SorvLib::SorvView {
public:
    explicit TestView(Steinberg::Vst::EditController* controller) : SorvView(controller) {}
    void createUI() override {}
    // The window the test pretends to be attached to stands for the frame's window.
    void* getPlatformHandle() const override { return systemWindow; }
    void setControlValue(Steinberg::Vst::ParamID tag, double value) override {
        pushed.emplace_back(tag, value);
    }
    // Pretends the host attached it to a window.
    void attachTo(void* window) { systemWindow = window; }

    std::vector<std::pair<Steinberg::Vst::ParamID, double>> pushed;
};

// A component handler that records the host calls it receives.
class TestComponentHandler : public Steinberg::Vst::IComponentHandler {
public:
    virtual ~TestComponentHandler() = default;
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override {
        calls.push_back({'b', id});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue) override {
        calls.push_back({'p', id});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override {
        calls.push_back({'e', id});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override {
        restarts.push_back(flags);
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid) ||
            Steinberg::FUnknownPrivate::iidEqual(iid, IComponentHandler::iid)) {
            *obj = this;
            return Steinberg::kResultOk;
        }
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    std::vector<std::pair<char, Steinberg::Vst::ParamID>> calls;
    std::vector<Steinberg::int32> restarts;
};

} // namespace SorvTest
