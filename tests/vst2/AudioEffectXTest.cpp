// The VST 2.4 base classes on their own: the record, the dispatchers' routing and neutral
// answers, the host-callback wrappers, the text conversions and the speaker helpers.

#include "vst2/AudioEffectX.h"
#include "vst2/AEffEditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Request {
    VstInt32 opcode, index;
    VstIntPtr value;
    float opt;
};
std::vector<Request> hostRequests;
VstIntPtr hostAnswer = 0;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                        float opt) {
    hostRequests.push_back({opcode, index, value, opt});
    return hostAnswer;
}

bool* deletedFlag = nullptr;

// Records the operations the dispatcher reaches.
class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host = recordingHost) : AudioEffectX(host, 4, 3) {}
    ~ProbeEffect() override {
        if (deletedFlag)
            *deletedFlag = true;
    }
    void processReplacing(float**, float**, VstInt32) override {}
    void suspend() override { calls += "suspend "; }
    void resume() override {
        calls += "resume ";
        AudioEffectX::resume();
    }
    void setProgram(VstInt32 p) override {
        calls += "program ";
        AudioEffectX::setProgram(p);
    }
    bool setBypass(bool on) override {
        calls += on ? "bypass-on " : "bypass-off ";
        return true;
    }
    VstInt32 canDo(char*) override { return canDoAnswer; }
    using AudioEffectX::cEffect;

    std::string calls;
    VstInt32 canDoAnswer = 0;
};

class ProbeEditor : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    bool onKeyDown(VstKeyCode& key) override {
        keys.push_back(key);
        return true;
    }
    std::vector<VstKeyCode> keys;
};

TEST(AudioEffectX, RecordAndDispatcherDefaults) {
    hostRequests.clear();
    bool deleted = false;
    deletedFlag = &deleted;
    auto* effect = new ProbeEffect;
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 4);
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, 0x4E6F4566);
    EXPECT_EQ(e->object, effect);
    auto dispatch = [e](VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f) { return e->dispatcher(e, op, index, value, ptr, opt); };

    for (VstIntPtr outside : {VstIntPtr(4), VstIntPtr(-1)})
        EXPECT_EQ(dispatch(effSetProgram, 0, outside), 0);
    EXPECT_EQ(effect->calls, "");
    dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(effGetProgram), 3);
    dispatch(effMainsChanged, 0, 0);
    dispatch(effMainsChanged, 0, 7);
    EXPECT_EQ(effect->calls, "program suspend resume ");
    EXPECT_EQ(dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(effGetPlugCategory), 0);
    dispatch(effSetBypass, 0, 2);
    EXPECT_EQ(effect->calls, "program suspend resume bypass-on ");

    // Deprecated and unknown requests answer 0 and reach nothing.
    effect->calls.clear();
    hostRequests.clear();
    const VstInt32 flags = e->flags;
    for (VstInt32 op :
         {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 200})
        EXPECT_EQ(dispatch(op, 1, 1, nullptr, 1.0f), 0) << op;
    EXPECT_EQ(effect->calls, "");
    EXPECT_TRUE(hostRequests.empty());
    EXPECT_EQ(e->flags, flags);

    // Editor requests without an editor answer 0; the key code is packed from the arguments.
    EXPECT_EQ(dispatch(effEditKeyDown, 65, 0x14D, nullptr, 3.9f), 0);
    auto* editor = new ProbeEditor(effect);
    effect->setEditor(editor);
    EXPECT_EQ(e->flags, flags | effFlagsHasEditor);
    EXPECT_EQ(dispatch(effEditKeyDown, 65, 0x14D, nullptr, 3.9f), 1);
    ASSERT_EQ(editor->keys.size(), 1u);
    EXPECT_EQ(editor->keys[0].character, 65);
    EXPECT_EQ(editor->keys[0].virt, 0x4D);
    EXPECT_EQ(editor->keys[0].modifier, 3);
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, e), 0) << "the base editor opens nothing";
    EXPECT_TRUE(editor->isOpen());
    dispatch(effEditClose);
    EXPECT_FALSE(editor->isOpen());

    effect->isSynth(true);
    EXPECT_EQ(dispatch(effGetPlugCategory), 2);

    // Close deletes the object (and its editor) and answers 1.
    EXPECT_EQ(AudioEffect::dispatchEffectClass(e, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(deleted);
    deletedFlag = nullptr;
}

TEST(AudioEffectX, HostRequestsAndNeutralAnswersWithoutHost) {
    ProbeEffect effect;
    hostRequests.clear();
    hostAnswer = 0;
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_TRUE(effect.isInputConnected(1));
    for (VstIntPtr answer : {VstIntPtr(0), VstIntPtr(-5)}) {
        hostAnswer = answer;
        EXPECT_EQ(effect.updateSampleRate(), 44100.0);
        EXPECT_EQ(effect.updateBlockSize(), 1024);
    }
    hostAnswer = 96000;
    EXPECT_EQ(effect.updateSampleRate(), 96000.0);
    hostAnswer = 1;
    EXPECT_TRUE(effect.sizeWindow(640, 480));
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    hostAnswer = 0;
    effect.setParameterAutomated(2, 0.75f);
    const Request size = hostRequests[hostRequests.size() - 2];
    EXPECT_EQ(size.opcode, audioMasterSizeWindow);
    EXPECT_EQ(size.index, 640);
    EXPECT_EQ(size.value, 480);
    EXPECT_EQ(hostRequests.back().opcode, audioMasterAutomate);
    EXPECT_EQ(hostRequests.back().index, 2);
    EXPECT_EQ(hostRequests.back().opt, 0.75f);

    // resume asks for events only for a synth or an effect that takes MIDI.
    for (VstInt32 answer : {-1, 0, 1}) {
        hostRequests.clear();
        effect.canDoAnswer = answer;
        effect.resume();
        EXPECT_EQ(hostRequests.size(), answer == 1 ? 1u : 0u);
    }
    effect.canDoAnswer = 0;
    effect.isSynth(true);
    hostRequests.clear();
    effect.resume();
    ASSERT_EQ(hostRequests.size(), 1u);
    EXPECT_EQ(hostRequests[0].opcode, audioMasterWantMidi);
    EXPECT_EQ(hostRequests[0].value, 1);

    ProbeEffect alone(nullptr);
    EXPECT_EQ(alone.getMasterVersion(), 1);
    EXPECT_TRUE(alone.isOutputConnected(0));
    EXPECT_FALSE(alone.beginEdit(0));
    EXPECT_EQ(alone.getTimeInfo(0), nullptr);
    EXPECT_FALSE(alone.sendVstEventsToHost(nullptr));
    char text[8] = "x";
    EXPECT_FALSE(alone.getHostProductString(text));
}

TEST(AudioEffectX, NumbersAsText) {
    ProbeEffect effect;
    struct Case {
        const char* kind;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"float", 1.5, "1.500000"},
        {"float", -1.5, "-1.50000"},
        {"float", 123.25, "123.2500"},
        {"float", 0.0, "0.000000"},
        {"float", 100000000.0, "Huge!"},
        {"float", -10000000.0, "Huge!"},
        {"float", 12345678.0, "Huge!"},
        {"float", 9999999.0, "9999999."},
        {"float", 0.05, "0.050000"},
        {"dB", 0.0, "-oo"},
        {"dB", -3.0, "-oo"},
        {"dB", 1.0, "0.000000"},
        {"dB", 10.0, "20.00000"},
        {"int", 100000000, "Huge!"},
        {"int", -42, "-42"},
        {"int", 7, "7"},
        {"int", 0, "0"},
        {"int", -100000000, "Huge!"},
        {"int", 99999999, "99999999"},
        {"Hz", 0.0, "0.000000"},
        {"Hz", 441.0, "100.0000"},
        {"ms", 441.0, "10.00000"},
    };
    for (const Case& c : cases) {
        char text[64];
        std::memset(text, 'x', sizeof(text));
        const std::string kind = c.kind;
        if (kind == "float")
            effect.float2string(static_cast<float>(c.value), text, 63);
        else if (kind == "dB")
            effect.dB2string(static_cast<float>(c.value), text, 63);
        else if (kind == "int")
            effect.int2string(static_cast<VstInt32>(c.value), text, 63);
        else if (kind == "Hz")
            effect.Hz2string(static_cast<float>(c.value), text, 63);
        else
            effect.ms2string(static_cast<float>(c.value), text, 63);
        EXPECT_STREQ(text, c.text) << kind << " " << c.value;
    }
    // The text never runs past maxLen characters and its end.
    char small[5];
    std::memset(small, 'x', sizeof(small));
    effect.float2string(123.25f, small, 4);
    EXPECT_STREQ(small, "123.");
    effect.int2string(-4242, small, 2);
    EXPECT_STREQ(small, "-4");
}

TEST(AudioEffectX, SpeakerArrangements) {
    ProbeEffect effect;
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 2));
    source->type = kSpeakerArrStereo;
    std::strcpy(source->speakers[1].name, "Right");
    source->speakers[1].azimuth = 0.5f;
    source->speakers[1].type = 2;
    source->speakers[1].future[27] = 9;

    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(copy->numChannels, 2);
    EXPECT_EQ(copy->type, kSpeakerArrStereo);
    EXPECT_STREQ(copy->speakers[1].name, "Right");
    EXPECT_EQ(copy->speakers[1].azimuth, 0.5f);
    EXPECT_EQ(copy->speakers[1].type, 2);
    EXPECT_EQ(copy->speakers[1].future[27], 9);
    VstSpeakerArrangement* before = copy;
    EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
    EXPECT_EQ(copy, before);

    // A name without its end is cut at 63 characters.
    std::memset(source->speakers[0].name, 'n', sizeof(source->speakers[0].name));
    EXPECT_TRUE(effect.copySpeaker(&copy->speakers[0], &source->speakers[0]));
    EXPECT_EQ(std::strlen(copy->speakers[0].name), 63u);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &source->speakers[0]));

    EXPECT_TRUE(effect.deallocateArrangement(&copy));
    EXPECT_EQ(copy, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&source));
    VstSpeakerArrangement* none = reinterpret_cast<VstSpeakerArrangement*>(1);
    VstSpeakerArrangement* none2 = none;
    EXPECT_FALSE(effect.getSpeakerArrangement(&none, &none2));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(none2, nullptr);
}

} // namespace
