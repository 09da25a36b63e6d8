#include "vst2/AudioEffect.h"

#include "vst2/AEffEditor.h"

#include <cmath>
#include <cstring>

namespace {

constexpr VstInt32 kNoEffectId = 0x4E6F4566;     // "NoEf"
constexpr VstInt32 kIdentifyAnswer = 0x4E764566; // "NvEf"
constexpr int kNumberPositions = 8;              // sign, point and digits of float2string
constexpr double kLargestPositive = 99999999.0;
constexpr double kLargestNegative = 9999999.0;
constexpr VstInt32 kIntegerLimit = 100000000;
constexpr const char* kHugeText = "Huge!";

void appendText(char* text, const char* source, VstInt32 maxLen) {
    const VstInt32 used = static_cast<VstInt32>(std::strlen(text));
    if (used < maxLen)
        vstCopyText(text + used, source, maxLen - used);
}

// Writes the digits of the whole number v from the right end of a buffer, one character per
// remaining position, while positions remain; returns the first character.
char* writeDigits(char* end, double v, int& positions, bool padWithZeros) {
    char* s = end;
    *s = 0;
    bool first = true;
    while (positions < kNumberPositions && (first || v >= 1.0 || padWithZeros)) {
        if (padWithZeros && v <= 0.0) {
            *--s = '0';
        } else {
            *--s = static_cast<char>('0' + static_cast<int>(std::fmod(v, 10.0)));
            v *= 0.1;
        }
        ++positions;
        first = false;
    }
    return s;
}

} // namespace

void vstCopyText(char* text, const char* source, VstInt32 maxLen) {
    if (!text || maxLen < 0)
        return;
    // The text and one terminator: a host's buffer may be no longer than the text needs.
    const char* from = source ? source : "";
    VstInt32 length = 0;
    while (length < maxLen && from[length])
        ++length;
    std::memcpy(text, from, static_cast<size_t>(length));
    text[length] = 0;
}

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kNoEffectId;
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

VstIntPtr AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
    auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr);
    if (!effect)
        return 0;
    // No exception may reach the host: a request that throws answers 0.
    if (opcode == effClose) {
        try {
            effect->dispatcher(opcode, index, value, ptr, opt);
        } catch (...) {
        }
        delete effect;
        return 1;
    }
    try {
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
    auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr);
    try {
        return effect ? effect->getParameter(index) : 0.0f;
    } catch (...) {
        return 0.0f;
    }
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
    try {
        if (auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr))
            effect->setParameter(index, value);
    } catch (...) {
    }
}

void AudioEffect::processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr))
        effect->process(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
    if (auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr))
        effect->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
    if (auto* effect = static_cast<AudioEffect*>(e ? e->object : nullptr))
        effect->processDoubleReplacing(inputs, outputs, sampleFrames);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    switch (opcode) {
    case effOpen:
        open();
        break;
    case effClose:
        close();
        break;
    case effSetProgram:
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<VstInt32>(value));
        break;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        break;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        break;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        break;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        break;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        break;
    case effSetSampleRate:
        setSampleRate(opt);
        break;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        break;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        break;
    case effEditGetRect:
        return editor && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor)
            editor->close();
        break;
    case effEditIdle:
        if (editor)
            editor->idle();
        break;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        break;
    }
    return 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

VstInt32 AudioEffect::getMasterVersion() {
    const VstIntPtr version = callHost(audioMasterVersion);
    return version ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(VstInt32 input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f)
        vstCopyText(text, "-oo", maxLen);
    else
        float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text,
                     maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    if (samples == 0.0f)
        float2string(0.0f, text, maxLen);
    else
        float2string(getSampleRate() / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    float2string(static_cast<float>(static_cast<double>(samples) * 1000.0 / getSampleRate()), text,
                 maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    double v = value;
    if (std::isnan(v)) {
        vstCopyText(text, "NaN", maxLen);
        return;
    }
    const bool negative = v < 0.0;
    int positions = 0;
    if (negative) {
        v = -v;
        ++positions;
    }
    // Integer parts with more digits than the positions hold would lose their leading digit.
    const double limit = negative ? kLargestNegative : kLargestPositive;
    const double fitting = negative ? 1000000.0 : 10000000.0;
    if (v > limit || v >= fitting) {
        vstCopyText(text, kHugeText, maxLen);
        return;
    }

    char buffer[32];
    char* end = buffer + sizeof(buffer) - 1;
    *end = 0;
    *--end = '.';
    ++positions;
    char* s = writeDigits(end, std::floor(v), positions, false);
    // writeDigits ended the buffer at the point; put it back behind the digits.
    *end = '.';
    if (negative)
        *--s = '-';
    vstCopyText(text, s, maxLen);
    if (positions >= kNumberPositions)
        return;

    char fraction[32];
    const double scaled = std::fmod(v, 1.0) * std::pow(10.0, kNumberPositions - positions);
    appendText(text, writeDigits(fraction + sizeof(fraction) - 1, scaled, positions, true), maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    // A magnitude of nine digits or more has no place in the text.
    if (value >= kIntegerLimit || value <= -kIntegerLimit) {
        vstCopyText(text, kHugeText, maxLen);
        return;
    }
    char buffer[16];
    int length = 0;
    if (value < 0) {
        buffer[length++] = '-';
        value = -value;
    }
    bool leading = true;
    for (VstInt32 place = kIntegerLimit; place >= 1; place /= 10) {
        const VstInt32 digit = value / place;
        value -= digit * place;
        // The last place is always written, so zero reads "0".
        if (digit != 0 || !leading || place == 1) {
            buffer[length++] = static_cast<char>('0' + digit);
            leading = false;
        }
    }
    buffer[length] = 0;
    vstCopyText(text, buffer, maxLen);
}
