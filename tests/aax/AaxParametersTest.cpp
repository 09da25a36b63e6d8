// Parameters, delegates, the packet dispatcher and its lock, the effect-parameters object and
// the control-state chunk, driven the way a host drives them through the host model.

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CUnitDisplayDelegateDecorator.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AaxFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>

using namespace SorvTest;

namespace {

using Taper = AAX_CLinearTaperDelegate<double, 0>;
using Number = AAX_CNumberDisplayDelegate<double, 2, 0>;
using Unit = AAX_CUnitDisplayDelegateDecorator<double>;
using Binary = AAX_CBinaryDisplayDelegate<bool>;

TEST(AaxDelegates, ConversionsAndTheirSuccessFlags) {
    const Taper taper(0, 10), flat(3, 3);
    EXPECT_EQ(taper.NormalizedToReal(0.25), 2.5);
    EXPECT_EQ(taper.RealToNormalized(12), 1.0);
    EXPECT_EQ(taper.RealToNormalized(-3), 0.0);
    EXPECT_EQ(taper.RealToNormalized(NAN), 0.0);
    EXPECT_EQ(flat.RealToNormalized(7), 0.5);
    EXPECT_EQ(flat.NormalizedToReal(0.9), 3.0);
    const AAX_CBinaryTaperDelegate<bool> binary;
    EXPECT_TRUE(binary.NormalizedToReal(0.3));
    EXPECT_FALSE(binary.NormalizedToReal(0.0));

    const Number number;
    const Unit unit(number, AAX_CString(" ms"));
    struct Row {
        const AAX_IDisplayDelegate<double>* display;
        double value;
        int32_t maxLength; // -2: the form without a length
        const char* text;
    } rows[] = {{&number, 12.5, -2, "12.50"}, {&number, 12.5, 3, "12"},
                {&number, 12.5, 0, ""},       {&number, 12.5, -1, ""},
                {&number, 12.5, 4, "12.5"},   {&unit, 12.5, -2, "12.50 ms"},
                {&unit, 12.5, 8, "12.50 ms"}, {&unit, 12.5, 7, "12.50"}};
    for (const Row& row : rows) {
        AAX_CString text;
        EXPECT_TRUE(row.maxLength == -2
                        ? row.display->ValueToString(row.value, &text)
                        : row.display->ValueToString(row.value, row.maxLength, &text));
        EXPECT_STREQ(text.Get(), row.text) << row.value << " at " << row.maxLength;
    }
    struct Parse {
        const AAX_IDisplayDelegate<double>* display;
        const char* text;
        bool ok;
        double value;
    } parses[] = {{&unit, "12.50 ms", true, 12.5},
                  {&unit, "12.50", true, 12.5},
                  {&unit, " ms", false, 0.0},
                  {&number, "x1", false, 0.0},
                  {&number, "-3.25", true, -3.25}};
    for (const Parse& parse : parses) {
        double value = 99;
        EXPECT_EQ(parse.display->StringToValue(AAX_CString(parse.text), &value), parse.ok)
            << parse.text;
        EXPECT_EQ(value, parse.value) << parse.text;
    }

    Binary labels("off", "on");
    bool state = true;
    EXPECT_TRUE(labels.StringToValue(AAX_CString("on"), &state) && state);
    EXPECT_TRUE(labels.StringToValue(AAX_CString("off"), &state));
    EXPECT_FALSE(state);
    state = true;
    EXPECT_FALSE(labels.StringToValue(AAX_CString("On"), &state));
    EXPECT_FALSE(state);
    labels.AddShortenedStrings("0", "1", 1);
    labels.AddShortenedStrings("of", "on", 2);
    AAX_CString text;
    struct Short {
        bool value;
        int32_t maxLength;
        const char* text;
    } shorts[] = {{true, 3, "on"}, {false, 2, "of"}, {false, 1, "0"}, {true, 0, "1"}};
    for (const Short& row : shorts) {
        labels.ValueToString(row.value, row.maxLength, &text);
        EXPECT_STREQ(text.Get(), row.text) << row.maxLength;
    }
}

// A parameter of each kind against a recording automation delegate.
class AaxParameterTest : public AaxFixture {
protected:
    void SetUp() override {
        AaxFixture::SetUp();
        startHostServices();
        controller = model.newController();
        automation = std::make_unique<AAX_VAutomationDelegate>(controller);
    }
    void TearDown() override {
        automation.reset();
        controller->Release();
        AaxFixture::TearDown();
    }
    IACFUnknown* controller = nullptr;
    std::unique_ptr<AAX_VAutomationDelegate> automation;
};

TEST_F(AaxParameterTest, ValuesStepsNamesAndTheHostPath) {
    Taper taper(0, 10);
    Number number;
    {
        AAX_CParameter<double> mix("EfMx", AAX_CString("Fx Mix"), 5.0, taper, number, true);
        // The delegates handed in are cloned: changing or destroying ours changes nothing.
        taper = Taper(0, 100);
        EXPECT_EQ(mix.GetNormalizedValue(), 0.5);
        mix.SetNormalizedValue(0.25); // no automation delegate: stored at once
        EXPECT_EQ(mix.GetNormalizedValue(), 0.25);
        EXPECT_EQ(mix.GetStepValue(), 32u);
        EXPECT_EQ(mix.GetStepValueFromNormalizedValue(0.5), 64u);
        EXPECT_EQ(mix.GetNormalizedValueFromStep(127), 1.0);
        mix.SetNumberOfSteps(0);
        EXPECT_EQ(mix.GetNumberOfSteps(), 128u);
        ASSERT_EQ(model.assertions.size(), 1u);
        EXPECT_EQ(model.assertions[0].note, "0 < numSteps");
        mix.SetNumberOfSteps(1);
        mix.SetStepValue(1);
        EXPECT_EQ(mix.GetStepValue(), 0u);
        EXPECT_EQ(mix.GetNormalizedValue(), 0.25);

        mix.AddShortenedName(AAX_CString("Mix"));
        mix.AddShortenedName(AAX_CString("FxMx"));
        EXPECT_STREQ(mix.ShortenedName(4).Get(), "FxMx");
        EXPECT_STREQ(mix.ShortenedName(3).Get(), "Mix");
        EXPECT_STREQ(mix.ShortenedName(1).Get(), "Mix");
        EXPECT_STREQ(mix.ShortenedName(6).Get(), "Fx Mix");

        AAX_CString text;
        EXPECT_TRUE(mix.GetStringFromNormalizedValue(1.0, &text));
        EXPECT_STREQ(text.Get(), "10.00");
        double normalized = 0;
        bool flag;
        EXPECT_FALSE(mix.GetNormalizedValueFromBool(true, &normalized));
        EXPECT_FALSE(mix.GetValueAsBool(&flag));
        EXPECT_TRUE(mix.GetNormalizedValueFromString(AAX_CString("7.5"), &normalized));
        EXPECT_EQ(normalized, 0.75);
        EXPECT_FALSE(mix.SetValueFromString(AAX_CString("loud")));
        EXPECT_EQ(mix.GetNormalizedValue(), 0.25);

        // With the host's automation: a set is a request, confirmed later.
        mix.SetAutomationDelegate(automation.get());
        mix.SetNormalizedValue(0.8);
        EXPECT_EQ(mix.GetNormalizedValue(), 0.25);
        mix.UpdateNormalizedValue(0.8);
        mix.UpdateNormalizedValue(0.8); // unchanged: nothing posted
        EXPECT_EQ(mix.GetNormalizedValue(), 0.8);
        Taper wide(0, 20);
        mix.SetTaperDelegate(wide, true);
        mix.UpdateNormalizedValue(0.4); // after a taper change even the same value posts
        EXPECT_EQ(model.automation,
                  (std::vector<std::string>{
                      "register EfMx", "touch EfMx", "set EfMx 0.80000000000000004", "release EfMx",
                      "post EfMx 0.80000000000000004", "touch EfMx", "set EfMx 0.40000000000000002",
                      "release EfMx", "post EfMx 0.40000000000000002"}));
    }
    EXPECT_EQ(model.automation.back(), "unregister EfMx");

    AAX_CBinaryTaperDelegate<bool> binaryTaper;
    Binary labels("off", "on");
    AAX_CParameter<bool> power("Powr", AAX_CString("Power"), false, binaryTaper, labels, true);
    power.SetNormalizedValue(0.3);
    EXPECT_EQ(power.GetNormalizedValue(), 1.0);
    power.SetNormalizedValue(0.0);
    EXPECT_EQ(power.GetNormalizedValue(), 0.0);
    EXPECT_TRUE(power.SetValueWithBool(true));
    EXPECT_FALSE(power.SetValueWithDouble(0.0));
    EXPECT_EQ(power.GetNormalizedValue(), 1.0);

    const std::string longId(32, 'x');
    AAX_CParameter<bool> longOne(longId.c_str(), AAX_CString("L"), false, binaryTaper, labels);
    EXPECT_EQ(std::string(longOne.Identifier()), std::string(31, 'x'));
    EXPECT_EQ(model.assertions.back().note, "len < eParemeterDefaultMaxIdentifierSize");
}

TEST(AaxPacketDispatcher, PostsDirtyRowsAndReentersOnItsOwnerThread) {
    AaxHostModel model;
    IACFUnknown* controllerHost = model.newController();
    {
        AAX_VController controller(controllerHost);
        AAX_CPacketDispatcher dispatcher;
        dispatcher.Initialize(&controller, nullptr);
        int handled = 0;
        auto fill = [&](AAX_CParamID, AAX_CPacket& packet) {
            *packet.GetPtr<int32_t>() = ++handled;
            dispatcher.SetDirty("Tone", false); // re-entry on the owner thread
            return AAX_Result(AAX_SUCCESS);
        };
        dispatcher.RegisterPacket("EfMx", 3, fill);
        dispatcher.RegisterPacket("Tone", 4, fill);
        dispatcher.RegisterPacket("Powr", 5,
                                  [](AAX_CParamID, AAX_CPacket&) { return AAX_Result(-1); });
        EXPECT_EQ(dispatcher.SetDirty("None"), AAX_SUCCESS);
        EXPECT_EQ(dispatcher.Dispatch(), AAX_SUCCESS);
        EXPECT_TRUE(model.packets.empty());
        dispatcher.SetDirty("EfMx");
        dispatcher.SetDirty("Tone");
        dispatcher.SetDirty("Powr");
        model.postPacketResult = -7;
        EXPECT_EQ(dispatcher.Dispatch(), -7);
        // Rows run in identifier order; the first handler cleared Tone; Powr's handler failed.
        ASSERT_EQ(model.packets.size(), 1u);
        EXPECT_EQ(model.packets[0].field, 3);
        EXPECT_EQ(model.packets[0].data.size(), 4u);
        EXPECT_EQ(dispatcher.Dispatch(), AAX_SUCCESS);
        EXPECT_EQ(model.packets.size(), 1u);

        // Confirmations on one thread, coefficients on another: every marked row is posted
        // once per pass that sees it, never lost after the last mark.
        model.postPacketResult = AAX_SUCCESS;
        std::thread confirming([&] {
            for (int i = 0; i < 2000; ++i)
                dispatcher.SetDirty("EfMx");
        });
        for (int i = 0; i < 2000; ++i)
            dispatcher.Dispatch();
        confirming.join();
        dispatcher.Dispatch();
        const size_t posted = model.packets.size();
        EXPECT_GT(posted, 1u);
        EXPECT_EQ(dispatcher.Dispatch(), AAX_SUCCESS);
        EXPECT_EQ(model.packets.size(), posted);
    }
    controllerHost->Release();
    EXPECT_EQ(model.liveObjects, 0);

    std::unique_ptr<AAX_CMutex> mutex(AAX_CMutex::Create());
    ASSERT_TRUE(mutex);
    ASSERT_TRUE(mutex->Lock());
    EXPECT_FALSE(mutex->Lock()); // nested on the owner: neither waits nor takes it again
    std::atomic<bool> entered{false};
    std::thread other([&] {
        const bool took = mutex->Lock();
        entered = true;
        if (took)
            mutex->Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(entered.load());
    mutex->Unlock();
    other.join();
    EXPECT_TRUE(entered.load());
}

// An effect that keeps the library's own operations, chunk included.
class TestEffectParameters : public AAX_CEffectParameters {
public:
    AAX_Result initResult = AAX_SUCCESS;
    static TestEffectParameters* Create() {
        auto* effect = new TestEffectParameters;
        effect->AddRef();
        return effect;
    }
    AAX_CParameterManager& Manager() { return mParameterManager; }
    const std::set<std::string>& Filtered() const { return mFilteredParameters; }

protected:
    AAX_Result EffectInit() override {
        if (initResult != AAX_SUCCESS)
            return initResult;
        Taper taper(0, 10);
        Unit unit(Number(), AAX_CString(" dB"));
        auto* mix = new AAX_CParameter<double>("EfMx", AAX_CString("Effect Mix Amount"), 5.0, taper,
                                               unit, true);
        mix->AddShortenedName(AAX_CString("Effect Mix\nFx Mix\nMix"));
        mParameterManager.AddParameter(mix);
        AAX_CBinaryTaperDelegate<bool> binaryTaper;
        Binary labels("off", "on");
        mParameterManager.AddParameter(new AAX_CParameter<bool>(
            kAAX_MasterBypassID, AAX_CString("Master Bypass"), false, binaryTaper, labels, true));
        mParameterManager.AddParameter(new AAX_CParameter<bool>(
            kAAX_PreviewID, AAX_CString("Preview"), false, binaryTaper, labels, false));
        mPacketDispatcher.RegisterPacket("EfMx", 2, [this](AAX_CParamID id, AAX_CPacket& packet) {
            double value = 0;
            GetParameterNormalizedValue(id, &value);
            *packet.GetPtr<double>() = value;
            return AAX_Result(AAX_SUCCESS);
        });
        return AAX_SUCCESS;
    }
};

class AaxEffectParametersTest : public AaxParameterTest {};

TEST_F(AaxEffectParametersTest, OperationsAndResultCodes) {
    TestEffectParameters* effect = TestEffectParameters::Create();
    model.confirmTo = effect;
    ASSERT_EQ(effect->Initialize(controller), AAX_SUCCESS);
    EXPECT_EQ(effect->Filtered(), (std::set<std::string>{kAAX_MasterBypassID}));
    int32_t count = 0, index = 0, steps = 0;
    EXPECT_EQ(effect->GetNumberOfParameters(&count), AAX_SUCCESS);
    EXPECT_EQ(count, 3);
    AAX_CString text("untouched");
    EXPECT_EQ(effect->GetMasterBypassParameter(&text), AAX_SUCCESS);
    EXPECT_STREQ(text.Get(), kAAX_MasterBypassID);

    // Every per-parameter query of an absent identifier.
    double value = 42;
    AAX_CBoolean flag = 1;
    AAX_EParameterType type;
    AAX_IParameter* parameter = nullptr;
    const AAX_Result absent[] = {
        effect->GetParameterIsAutomatable("Nope", &flag),
        effect->GetParameterNumberOfSteps("Nope", &steps),
        effect->GetParameterDefaultNormalizedValue("Nope", &value),
        effect->SetParameterDefaultNormalizedValue("Nope", 0.5),
        effect->GetParameterType("Nope", &type),
        effect->GetParameter("Nope", &parameter),
        effect->GetParameterIndex("Nope", &index),
        effect->GetParameterIndex(nullptr, &index),
        effect->GetParameterValueFromString("Nope", &value, AAX_CString("1")),
        effect->GetParameterNormalizedValue("Nope", &value),
        effect->SetParameterNormalizedValue("Nope", 0.5),
        effect->SetParameterNormalizedRelative("Nope", 0.5),
        effect->TouchParameter("Nope"),
        effect->UpdateParameterNormalizedValue("Nope", 0.5, 0),
        effect->GetParameterIDFromIndex(3, &text),
        effect->GetParameterIDFromIndex(-1, &text)};
    for (AAX_Result result : absent)
        EXPECT_EQ(result, AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(index, -1);
    EXPECT_STREQ(text.Get(), "");
    EXPECT_EQ(effect->GetParameterName("Nope", &text), AAX_SUCCESS);

    EXPECT_EQ(effect->GetParameterIndex("EfMx", &index), AAX_SUCCESS);
    EXPECT_EQ(index, 0);
    effect->Manager().GetParameter(0)->SetNumberOfSteps(0x80000000u);
    steps = 5;
    EXPECT_EQ(effect->GetParameterNumberOfSteps("EfMx", &steps), AAX_ERROR_SIGNED_INT_OVERFLOW);
    EXPECT_EQ(steps, 5);
    struct NameRow {
        int32_t length;
        const char* name;
    } names[] = {{6, "Fx Mix"}, {5, "Mix"},         {2, "Ef"},
                 {0, ""},       {12, "Effect Mix"}, {17, "Effect Mix Amount"}};
    for (const NameRow& row : names) {
        EXPECT_EQ(effect->GetParameterNameOfLength("EfMx", &text, row.length), AAX_SUCCESS);
        EXPECT_STREQ(text.Get(), row.name) << row.length;
    }
    EXPECT_EQ(effect->GetParameterNameOfLength("EfMx", nullptr, 3),
              AAX_ERROR_INVALID_STRING_CONVERSION);

    EXPECT_EQ(effect->GetParameterValueFromString("EfMx", &value, AAX_CString("2.5 dB")),
              AAX_SUCCESS);
    EXPECT_EQ(value, 0.25);
    value = 9;
    EXPECT_EQ(effect->GetParameterValueFromString("EfMx", &value, AAX_CString("dB")),
              AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(effect->GetParameterStringFromValue("EfMx", 0.5, &text, 8), AAX_SUCCESS);
    EXPECT_STREQ(text.Get(), "5.00 dB");

    // Set, confirm, count, dispatch.
    model.automation.clear();
    EXPECT_EQ(effect->SetParameterNormalizedValue("EfMx", 0.9), AAX_SUCCESS);
    EXPECT_EQ(effect->SetParameterNormalizedRelative("EfMx", 0.3), AAX_SUCCESS);
    effect->GetParameterNormalizedValue("EfMx", &value);
    EXPECT_EQ(value, 1.0);
    EXPECT_EQ(effect->SetParameterNormalizedRelative("EfMx", -3), AAX_SUCCESS);
    effect->GetParameterNormalizedValue("EfMx", &value);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(effect->UpdateParameterNormalizedValue("EfMx", 0.0, 0), AAX_SUCCESS);
    int32_t changes = -1;
    effect->GetNumberOfChanges(&changes);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(effect->GenerateCoefficients(), AAX_SUCCESS);
    ASSERT_EQ(model.packets.size(), 1u);
    double posted;
    std::memcpy(&posted, model.packets[0].data.data(), sizeof(posted));
    EXPECT_EQ(posted, 0.0);
    EXPECT_EQ(effect->GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_EQ(model.packets.size(), 1u);

    for (int32_t word : {0, 7, 0}) {
        EXPECT_EQ(effect->NotificationReceived(AAX_eNotificationEvent_ASPreviewState, &word,
                                               sizeof(word)),
                  AAX_SUCCESS);
        effect->GetParameterNormalizedValue(kAAX_PreviewID, &value);
        EXPECT_EQ(value, word ? 1.0 : 0.0);
    }
    AAX_CTypeID chunkId = 1;
    EXPECT_EQ(effect->GetChunkIDFromIndex(1, &chunkId), AAX_ERROR_INVALID_CHUNK_INDEX);
    EXPECT_EQ(chunkId, 0u);
    EXPECT_EQ(effect->GetParameterValueInfo("EfMx", 0, &index), AAX_ERROR_UNIMPLEMENTED);

    void* face = nullptr;
    EXPECT_EQ(effect->QueryInterface(IID_IAAXEffectParametersV1, &face), ACF_OK);
    static_cast<IACFUnknown*>(face)->Release();
    EXPECT_EQ(effect->Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ(effect->Controller(), nullptr);
    effect->Release();

    // EffectInit failing: its code, the wrappers stay, nothing filtered.
    TestEffectParameters* failing = TestEffectParameters::Create();
    failing->initResult = -5;
    EXPECT_EQ(failing->Initialize(controller), -5);
    EXPECT_NE(failing->Controller(), nullptr);
    EXPECT_TRUE(failing->Filtered().empty());
    failing->Uninitialize();
    failing->Release();
}

TEST_F(AaxEffectParametersTest, ControlsChunkRoundTripAndBadChunks) {
    // The documented layout of one double element.
    AAX_CChunkDataParser parser;
    parser.AddDouble("Tone", 1.0);
    ASSERT_EQ(parser.GetChunkDataSize(), 20);
    std::vector<unsigned char> record(kAAX_ChunkHeaderSize + 20);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    ASSERT_EQ(parser.GetChunkData(chunk), AAX_SUCCESS);
    const unsigned char expected[] = {1, 1, 1,    1,    'd', '_', 'T', 'o', 'n', 'e',
                                      0, 0, 0x3F, 0xF0, 0,   0,   0,   0,   0,   0};
    EXPECT_EQ(std::memcmp(chunk->fData, expected, sizeof(expected)), 0);
    // Every type through write and read.
    parser.Clear();
    parser.AddInt32("l", -7);
    parser.AddString("text", "ab");
    parser.AddDouble("d", -0.125);
    record.assign(kAAX_ChunkHeaderSize + size_t(parser.GetChunkDataSize()), 0);
    chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    ASSERT_EQ(parser.GetChunkData(chunk), AAX_SUCCESS);
    AAX_CChunkDataParser reader;
    reader.LoadChunk(chunk, uint32_t(record.size() - kAAX_ChunkHeaderSize));
    int32_t i = 0;
    double d = 0;
    AAX_CString s;
    EXPECT_TRUE(reader.GetInt32("l", &i) && i == -7);
    EXPECT_TRUE(reader.GetString("text", &s) && s == "ab");
    EXPECT_TRUE(reader.GetDouble("d", &d) && d == -0.125);
    EXPECT_FALSE(reader.GetDouble("l", &d));

    TestEffectParameters* effect = TestEffectParameters::Create();
    model.confirmTo = effect;
    ASSERT_EQ(effect->Initialize(controller), AAX_SUCCESS);
    effect->SetParameterNormalizedValue("EfMx", 0.3);
    // A chunk asked for before its size could overflow the host's record.
    std::vector<unsigned char> early(kAAX_ChunkHeaderSize + 64);
    EXPECT_EQ(
        effect->GetChunk(kAAX_ControlsChunkID, reinterpret_cast<AAX_SPlugInChunk*>(early.data())),
        AAX_ERROR_INCORRECT_CHUNK_SIZE);
    uint32_t size = 0;
    EXPECT_EQ(effect->GetChunkSize(0x1234, &size), AAX_ERROR_INVALID_CHUNK_ID);
    ASSERT_EQ(effect->GetChunkSize(kAAX_ControlsChunkID, &size), AAX_SUCCESS);
    std::vector<unsigned char> saved(kAAX_ChunkHeaderSize + size);
    auto* savedChunk = reinterpret_cast<AAX_SPlugInChunk*>(saved.data());
    ASSERT_EQ(effect->GetChunk(kAAX_ControlsChunkID, savedChunk), AAX_SUCCESS);
    savedChunk->fChunkID = kAAX_ControlsChunkID;
    EXPECT_STREQ(reinterpret_cast<char*>(savedChunk->fName), kAAX_ControlsChunkName);
    AAX_CBoolean equal = 0;
    EXPECT_EQ(effect->CompareActiveChunk(savedChunk, &equal), AAX_SUCCESS);
    EXPECT_EQ(equal, 1);
    effect->SetParameterNormalizedValue("EfMx", 0.9);
    EXPECT_EQ(effect->CompareActiveChunk(savedChunk, &equal), AAX_SUCCESS);
    EXPECT_EQ(equal, 0);
    EXPECT_EQ(effect->SetChunk(kAAX_ControlsChunkID, savedChunk), AAX_SUCCESS);
    double value = 0;
    effect->GetParameterNormalizedValue("EfMx", &value);
    EXPECT_DOUBLE_EQ(value, 0.3);
    EXPECT_EQ(effect->SetChunk(0x1234, savedChunk), AAX_ERROR_INVALID_CHUNK_ID);

    // Cut and random chunks: never a crash, never a value from outside the data.
    std::mt19937 random(515);
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bad(saved);
        const size_t cut = kAAX_ChunkHeaderSize + random() % (size + 1);
        bad.resize(cut);
        for (size_t k = kAAX_ChunkHeaderSize; k < bad.size(); ++k)
            if (random() % 4 == 0)
                bad[k] = static_cast<unsigned char>(random());
        bad.resize(std::max(bad.size(), sizeof(AAX_SPlugInChunk)));
        auto* badChunk = reinterpret_cast<AAX_SPlugInChunk*>(bad.data());
        badChunk->fSize = int32_t(cut - kAAX_ChunkHeaderSize);
        EXPECT_EQ(effect->SetChunk(kAAX_ControlsChunkID, badChunk), AAX_SUCCESS);
        effect->GetParameterNormalizedValue("EfMx", &value);
        EXPECT_TRUE(value >= 0.0 && value <= 1.0);
    }
    effect->Uninitialize();
    effect->Release();
}

} // namespace
