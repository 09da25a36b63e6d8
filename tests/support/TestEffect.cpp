#include "support/TestEffect.h"

#include <xmmintrin.h>

namespace SorvTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr SorvLib::Patch<3> kFirst = {
    "First", {{kLevelId, 0.25f}, {kStepsId, 0.1f}, {SorvLib::kPatchEndId, -1.0f}}};
constexpr SorvLib::Patch<3> kSecond = {
    "Second", {{kLevelId, 0.5f}, {kStepsId, 0.5f}, {SorvLib::kPatchEndId, -1.0f}}};
constexpr SorvLib::Patch<3> kThird = {
    "Third", {{kLevelId, 0.75f}, {kStepsId, 0.9f}, {SorvLib::kPatchEndId, -1.0f}}};

const SorvLib::MeterRow kTestMeters[] = {{"Test Meter", kMeterId, 0, 2}, {nullptr, 0, 0, 0}};

} // namespace

const SorvLib::PatchRef testPatches[] = {&kFirst, &kSecond, &kThird, nullptr};

TestEffect::TestEffect(const SorvLib::PatchRef* patches) : SorvEffect(patches) {}

tresult PLUGIN_API TestEffect::initialize(FUnknown* context) {
    tresult result = SorvEffect::initialize(context);
    if (result != kResultOk)
        return result;
    parameters.addParameter(STR16("Level"), nullptr, 0, 0.5, ParameterInfo::kCanAutomate, kLevelId);
    parameters.addParameter(STR16("Steps"), nullptr, 10, 0.0, ParameterInfo::kCanAutomate,
                            kStepsId);
    parameters.addParameter(STR16("Meter"), nullptr, 0, 0.0, ParameterInfo::kIsReadOnly, kMeterId);
    return kResultOk;
}

tresult PLUGIN_API TestEffect::setParamNormalized(ParamID tag, ParamValue value) {
    tresult result = SorvEffect::setParamNormalized(tag, value);
    if (result == kResultOk)
        engineWrites.emplace_back(tag, getParamNormalized(tag));
    return result;
}

template <typename Sample>
void TestEffect::record(Sample** inputs, Sample** outputs, int32 inputChannels) {
    csrDuringProcess = _mm_getcsr();
    channelTable.assign(reinterpret_cast<void**>(inputs),
                        reinterpret_cast<void**>(inputs) + 2 * inputChannels);
    firstOutput = outputs[0];
}

void PLUGIN_API TestEffect::processFloat(ProcessData& data, float** inputs, float** outputs,
                                         int32) {
    ++floatCalls;
    record(inputs, outputs, data.inputs[0].numChannels);
}

void PLUGIN_API TestEffect::processDouble(ProcessData& data, double** inputs, double** outputs,
                                          int32) {
    ++doubleCalls;
    record(inputs, outputs, data.inputs[0].numChannels);
}

const SorvLib::MeterRow* TestEffect::meterTable() const {
    return kTestMeters;
}

} // namespace SorvTest
