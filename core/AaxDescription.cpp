#include "core/AaxDescription.h"

#include "vst/ModuleEntry.h"
#include "vst2wrapper/Vst2Entry.h"
#include "core/ClassFactory.h"
#include "core/FourCC.h"
#include "core/ProductInfo.h"
#include "core/SorvEffect.h"
#include "core/StringHash.h"
#include "engine/QUOR515Ids.h"
#include "vst2/AudioEffectX.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace SorvLib {

namespace {
constexpr const char* kVendorReverseDomain = "com.sorvaudiolabs";
constexpr const char* kWrapperSuffix = ".aaxwrapper";
constexpr uint32_t kFoldShift = 12;
constexpr uint32_t kFoldMask = 0xFFFFF;
constexpr int kLetterBits = 5;
constexpr int kLetters = 4;

constexpr int kMaxChannels = 6;
constexpr int kMaxLayouts = kMaxChannels * kMaxChannels;
constexpr size_t kEffectIdSlot = 64;
constexpr Steinberg::int32 kDescriptionVersion = 1;
constexpr const char* kPageTableFile = "pagetables.xml";

// The published VST 2.4 arrangement type offered for each channel count, 1 to 6.
constexpr VstInt32 kArrangementTypes[kMaxChannels] = {0, 1, 7, 11, 14, 15};

// The AAX wrapper reads these records by position: keep them as the 32-bit build lays them out.
static_assert(sizeof(void*) != 4 || sizeof(AAX_Plugin_Desc) == 11 * 4, "plug-in row layout");
static_assert(sizeof(void*) != 4 ||
                  (offsetof(AAX_Effect_Desc, mVST3PluginID) == 20 &&
                   offsetof(AAX_Effect_Desc, mPluginDesc) == 44 && sizeof(AAX_Effect_Desc) == 48),
              "effect description layout");

const AAX_Meter_Desc kMeters[] = {
    {"GR Meter", static_cast<Steinberg::int32>(kGrMeterId), 0, kGainReductionMeter},
    {nullptr, 0, 0, 0}};

// The module's one description; its rows and their effect-id texts live as long as it does.
char effectIds[kMaxLayouts][kEffectIdSlot];
AAX_Plugin_Desc layouts[kMaxLayouts + 1];
AAX_Effect_Desc description = {kVendorName,
                               kProductName,
                               static_cast<Steinberg::int32>(fourCC("SvAu")),
                               static_cast<Steinberg::int32>(kVst2UniqueId),
                               kSubCategories,
                               {},
                               kDescriptionVersion,
                               kPageTableFile,
                               layouts};

VstSpeakerArrangement arrangementOf(int channels) {
    VstSpeakerArrangement arrangement{};
    arrangement.type = kArrangementTypes[channels - 1];
    arrangement.numChannels = channels;
    return arrangement;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}
} // namespace

uint32_t makeAaxId(std::string text) {
    const uint32_t hash = fnv1a32(std::move(text));
    const uint32_t folded = ((hash >> kFoldShift) ^ hash) & kFoldMask;
    uint32_t id = 0;
    for (int letter = kLetters - 1; letter >= 0; --letter)
        id = id << 8 | static_cast<uint8_t>(base32Letter(folded >> (letter * kLetterBits)));
    return id;
}

std::string makeAaxEffectId(int inputs, int outputs) {
    return std::string(kVendorReverseDomain) + "." + lowerAscii(kProductName) + kWrapperSuffix +
           "." + std::to_string(inputs) + "." + std::to_string(outputs);
}

AAX_Effect_Desc* makeAaxDescription() {
    // Deleting the temporary instance ends one module start, as every VST 2.4 instance does.
    // Nothing on this path started one for it: start it here, or its end would take the COM
    // start of the host's start-up with it.
    if (!InitModule())
        return nullptr;
    AudioEffect* instance = createEffectInstance(nullptr);
    if (!instance) {
        DeinitModule();
        return nullptr;
    }
    // The VST 2 wrapper is an AudioEffectX.
    auto* effect = static_cast<AudioEffectX*>(instance);
    effect->open();
    int rows = 0;
    for (int inputs = 1; inputs <= kMaxChannels; ++inputs) {
        for (int outputs = 1; outputs <= kMaxChannels; ++outputs) {
            VstSpeakerArrangement input = arrangementOf(inputs);
            VstSpeakerArrangement output = arrangementOf(outputs);
            if (!effect->setSpeakerArrangement(&input, &output))
                continue;
            const std::string id = makeAaxEffectId(inputs, outputs);
            char* slot = effectIds[rows];
            const size_t length = std::min(id.size(), kEffectIdSlot - 1);
            std::memcpy(slot, id.data(), length);
            slot[length] = 0;
            layouts[rows] = {
                slot,
                kProductName,
                static_cast<Steinberg::int32>(makeAaxId(std::string(slot) + ".aaxnative")),
                static_cast<Steinberg::int32>(makeAaxId(std::string(slot) + ".aaxaudiosuite")),
                inputs,
                outputs,
                0,
                nullptr,
                nullptr,
                kMeters,
                0};
            ++rows;
        }
    }
    // A table written before with more rows must not show them after this one's end.
    layouts[rows] = AAX_Plugin_Desc{};
    effect->close();
    kProcessorUID.toTUID(description.mVST3PluginID);
    delete instance;
    return &description;
}

} // namespace SorvLib

AAX_Effect_Desc* AAXWrapper_GetDescription() {
    return SorvLib::makeAaxDescription();
}
