// The renderer driving the product's own class factory in this process: what a render
// writes, that block boundaries and precision change nothing they must not, how parameter
// text is converted, and that every refusal leaves no output file, whichever interface the
// effect is driven through.

#include "Renderer.h"
#include "EffectHost.h"
#include "HostError.h"
#include "TestSignal.h"
#include "Vst2EffectHost.h"
#include "WavError.h"
#include "WavReader.h"

#include "TestFolder.h"
#include "vst2wrapper/Vst2Entry.h"
#include "core/ClassFactory.h"
#include "engine/NoiseModulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace SorvTools;

namespace {

// The product reports 3.5 seconds of tail.
constexpr double kTailSeconds = 3.5;
constexpr uint32_t kRate = 8000; // low, to keep the sanitizer build quick
constexpr uint32_t kNoiseSeed = 0x2545F491;

std::vector<double> readAll(const std::filesystem::path& path, WavFormat& format) {
    WavReader reader(path);
    format = reader.format();
    std::vector<double> samples(size_t(format.frames) * format.channels);
    EXPECT_EQ(reader.read(samples.data(), format.frames), format.frames);
    return samples;
}

class RenderThroughProduct : public testing::Test {
protected:
    void SetUp() override {
        folder = SorvToolsTest::testFolder(
            "render-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        factory = GetPluginFactory();
        ASSERT_NE(factory, nullptr);
    }
    void TearDown() override {
        if (factory)
            factory->release();
        std::filesystem::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).u8string(); }

    std::string synth(const std::string& name, uint16_t channels, double seconds = 0.25,
                      SampleEncoding encoding = SampleEncoding::Pcm24) {
        SynthOptions options;
        options.output = path(name);
        options.seconds = seconds;
        options.sampleRate = kRate;
        options.channels = channels;
        options.encoding = encoding;
        std::ostringstream ignored;
        TestSignal::writeFile(options, ignored);
        return options.output;
    }

    RenderOptions options(const std::string& input, const std::string& output) const {
        RenderOptions o;
        o.input = input;
        o.output = path(output);
        return o;
    }

    RenderSummary render(const RenderOptions& o) {
        std::ostringstream out;
        RenderSummary summary;
        if (throughVst2) {
            Vst2EffectHost host(VSTPluginMain);
            summary = Renderer(o, out).run(host);
        } else {
            summary = Renderer(o, out).run(factory);
        }
        report = out.str();
        return summary;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            found.push_back(entry.path().filename().u8string());
        std::sort(found.begin(), found.end());
        return found;
    }

    std::filesystem::path folder;
    Steinberg::IPluginFactory* factory = nullptr;
    bool throughVst2 = false; // drive the module's VST 2.4 entry instead of its class factory
    std::string report;
};

TEST_F(RenderThroughProduct, MonoAndStereoInBothPrecisionsGetTheTailAndReverberate) {
    const uint64_t tail = uint64_t(std::ceil(kTailSeconds * kRate));
    for (uint16_t channels : {1, 2}) {
        const std::string input = synth("in" + std::to_string(channels) + ".wav", channels);
        for (Precision precision : {Precision::Float32, Precision::Float64}) {
            SCOPED_TRACE(testing::Message()
                         << channels << " channels, precision " << int(precision));
            RenderOptions o = options(input, "out.wav");
            o.precision = precision;
            o.parameters = {{"Fx Mix", "10"}};
            const RenderSummary summary = render(o);
            EXPECT_EQ(summary.tailFrames, tail);
            EXPECT_EQ(summary.framesWritten, summary.input.frames + tail);

            WavFormat format;
            const std::vector<double> out = readAll(folder / "out.wav", format);
            EXPECT_EQ(format.encoding, SampleEncoding::Float32);
            EXPECT_EQ(format.channels, channels);
            EXPECT_EQ(format.sampleRate, kRate);
            ASSERT_EQ(format.frames, summary.input.frames + tail);
            for (double x : out)
                ASSERT_TRUE(std::isfinite(x));
            // Sound after the input has ended is the reverb; it dies away over the tail.
            auto energy = [&](uint64_t from, uint64_t to) {
                double sum = 0.0;
                for (size_t i = size_t(from) * channels; i < size_t(to) * channels; ++i)
                    sum += out[i] * out[i];
                return sum;
            };
            const uint64_t end = summary.input.frames;
            EXPECT_GT(summary.tailPeak, 1e-3);
            EXPECT_GT(energy(end, end + kRate / 2),
                      10.0 * energy(end + tail - kRate / 2, end + tail));
            EXPECT_TRUE(summary.grMeterReported);
            EXPECT_GT(summary.grMeterPeak, 0.0);
            EXPECT_LT(summary.grMeterPeak, 1.0);
            EXPECT_NE(report.find("GR Meter    peak"), std::string::npos) << report;
            EXPECT_NE(report.find("tail        " + std::to_string(tail) + " samples"),
                      std::string::npos)
                << report;
        }
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"in1.wav", "in2.wav", "out.wav"}));
}

TEST_F(RenderThroughProduct, WithPowerOffEveryBlockSizePassesTheInputThroughExactly) {
    const std::string input = synth("in.wav", 2);
    WavFormat inFormat;
    const std::vector<double> in = readAll(input, inFormat);
    for (int32_t block : {1, 37, 512}) {
        for (Precision precision : {Precision::Float32, Precision::Float64}) {
            SCOPED_TRACE(testing::Message()
                         << "block " << block << ", precision " << int(precision));
            RenderOptions o = options(input, "out.wav");
            o.blockSize = block;
            o.precision = precision;
            o.parameters = {{"Power", "Off"}};
            render(o);
            WavFormat format;
            const std::vector<double> out = readAll(folder / "out.wav", format);
            ASSERT_GT(out.size(), in.size());
            for (size_t i = 0; i < in.size(); ++i)
                ASSERT_EQ(out[i], in[i]) << "sample " << i;
            for (size_t i = in.size(); i < out.size(); ++i)
                ASSERT_EQ(out[i], 0.0) << "sample " << i;
        }
    }
}

TEST_F(RenderThroughProduct, BlockSizeAndPrecisionLeaveTheReverbUnchanged) {
    const std::string input = synth("in.wav", 2);
    auto renderWith = [&](int32_t block, Precision precision) {
        SorvLib::setNoiseState(kNoiseSeed);
        RenderOptions o = options(input, "out.wav");
        o.blockSize = block;
        o.precision = precision;
        o.parameters = {{"Pre-Delay", "30"}, {"Tone", "2"}};
        render(o);
        WavFormat format;
        return readAll(folder / "out.wav", format);
    };
    const std::vector<double> reference = renderWith(512, Precision::Float32);
    // The float path narrows exactly the values the double path computes, and the float
    // output file narrows the double render the same way.
    EXPECT_EQ(renderWith(512, Precision::Float64), reference);
    EXPECT_EQ(renderWith(97, Precision::Float32), reference);
}

TEST_F(RenderThroughProduct, SameEncodingWritesTheInputsEncoding) {
    const std::string input = synth("in.wav", 1, 0.1, SampleEncoding::Pcm16);
    RenderOptions o = options(input, "out.wav");
    o.sameEncoding = true;
    const RenderSummary summary = render(o);
    WavFormat format;
    readAll(folder / "out.wav", format);
    EXPECT_EQ(format.encoding, SampleEncoding::Pcm16);
    EXPECT_EQ(format.frames, summary.framesWritten);
}

TEST_F(RenderThroughProduct, ParameterTextIsConvertedByTheEffectsOwnParameters) {
    EffectHost host(factory);
    const std::vector<ResolvedSetting> resolved = host.resolve({{"Pre-Delay", "12.3"},
                                                                {"Fx Mix", "7"},
                                                                {"power", "Off"},
                                                                {"Tone", "10"},
                                                                {"Fx Limiter", "0"}});
    ASSERT_EQ(resolved.size(), 5u);
    EXPECT_NEAR(resolved[0].normalized, 0.5, 1e-12); // the pre-delay curve, not 12.3/150
    EXPECT_NEAR(resolved[1].normalized, 0.7, 1e-12);
    EXPECT_EQ(resolved[2].title, "Power");
    EXPECT_EQ(resolved[2].normalized, 0.0);
    EXPECT_EQ(resolved[3].normalized, 1.0);
    EXPECT_EQ(resolved[4].normalized, 0.0);
    host.configure(2, 44100.0, Precision::Float32, 64);
    host.apply(resolved);
    EXPECT_EQ(host.displayValue(resolved[0].id), "12.3 ms");
    EXPECT_EQ(host.displayValue(resolved[2].id), "Off");

    // Other spellings of numbers in the parameter's units, and a list's texts in any case.
    const std::vector<ResolvedSetting> spelled = host.resolve({{"Pre-Delay", "12.3 ms"},
                                                               {"Fx Mix", "+7.50"},
                                                               {"Tone", ".5"},
                                                               {"Fx Limiter", "-0"},
                                                               {"Power", "on"},
                                                               {"Master Bypass", "1"}});
    ASSERT_EQ(spelled.size(), 6u);
    EXPECT_NEAR(spelled[0].normalized, 0.5, 1e-12);
    EXPECT_NEAR(spelled[1].normalized, 0.75, 1e-12);
    EXPECT_NEAR(spelled[2].normalized, 0.05, 1e-12);
    EXPECT_EQ(spelled[3].normalized, 0.0);
    EXPECT_EQ(spelled[4].normalized, 1.0);
    EXPECT_EQ(spelled[5].normalized, 1.0);
    EXPECT_NEAR(host.resolve({{"Pre-Delay", "12.3ms"}})[0].normalized, 0.5, 1e-12);
}

TEST_F(RenderThroughProduct, RefusalsLeaveNoOutputAndKeepAnOlderFile) {
    const std::string mono = synth("in.wav", 1, 0.05);
    const std::string three = synth("three.wav", 3, 0.05);
    std::ofstream(folder / "text.wav") << "not audio";
    std::ofstream(folder / "kept.wav") << "older";

    struct Refusal {
        std::string input;
        std::vector<ParameterSetting> parameters;
        std::string output;
        std::string words;
    };
    std::vector<Refusal> refusals = {
        {mono, {{"Fx Mixx", "1"}}, "out.wav", "unknown parameter \"Fx Mixx\" (the effect has "},
        {mono, {{"Fx Mix", "11"}}, "out.wav", "\"Fx Mix\" = 11 is out of range (0 to 10)"},
        {mono, {{"Pre-Delay", "-0.5"}}, "out.wav", "is out of range (0 to 150 ms)"},
        {mono, {{"Pre-Delay", "200 ms"}}, "out.wav", "= 200 ms is out of range (0 to 150 ms)"},
        {mono, {{"Fx Mix", "1" + std::string(400, '0')}}, "out.wav", "out of range (0 to 10)"},
        {mono, {{"Tone", "nan"}}, "out.wav", "\"Tone\" = \"nan\" is not a number (0 to 10)"},
        {mono, {{"Pre-Delay", "30 s"}}, "out.wav", "is not a number in ms (0 to 150 ms)"},
        {mono, {{"GR Meter", "0.5"}}, "out.wav", "\"GR Meter\" is read-only"},
        {mono, {{"Power", "Maybe"}}, "out.wav", "is not a value of it (Off, On)"},
        {mono, {{"Power", "0.5"}}, "out.wav", "is not one of its 2 steps"},
        {mono, {{"Fx Mix", "5"}, {"fx mix", "6"}}, "out.wav", "is set more than once"},
        {three, {}, "out.wav", "has 3 channels; the effect takes mono or stereo"},
        {path("text.wav"), {}, "out.wav", "not a WAV file"},
        {path("none.wav"), {}, "out.wav", "none.wav: no such file"},
        {mono, {}, "no-such-folder/out.wav", "cannot create the file"},
        {mono, {{"Fx Mix", "12"}}, "kept.wav", "out of range"},
    };
    // Texts the effect's own parser would read as some number; each is refused as it stands.
    for (const char* text :
         {"abc", "7abc", "5,5", "11%", "1e309", "1e1", "0x5", "inf", "-", ".", "1.2.3", "7 5",
          "\xE2\x88\x92"
          "1",
          "\xEF\xBC\x97", "7 ms", ""})
        refusals.push_back(
            {mono,
             {{"Fx Mix", text}},
             "out.wav",
             "\"Fx Mix\" = \"" + std::string(text) + "\" is not a number (0 to 10)"});
    // Both hosts read values alike, though the VST 2.4 record tells no range of its own.
    for (bool vst2 : {false, true}) {
        throughVst2 = vst2;
        for (const Refusal& r : refusals) {
            SCOPED_TRACE(std::string(vst2 ? "VST 2.4: " : "VST 3: ") + r.words);
            RenderOptions o = options(r.input, r.output);
            o.parameters = r.parameters;
            try {
                render(o);
                ADD_FAILURE() << "rendered";
            } catch (const std::exception& e) {
                EXPECT_PRED_FORMAT2(testing::IsSubstring, r.words, e.what());
                EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
            }
            EXPECT_EQ(names(),
                      (std::vector<std::string>{"in.wav", "kept.wav", "text.wav", "three.wav"}));
        }
    }
    std::ifstream kept(folder / "kept.wav");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "older");
}

TEST_F(RenderThroughProduct, NeverWritesTheInputNorAnyFileButItsOwn) {
    const std::string input = synth("in.wav", 1, 0.05, SampleEncoding::Float32);
    auto contents = [&](const std::string& name) {
        std::ifstream file(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string original = contents("in.wav");

    // The input under other names: an output that is the same file is refused.
    std::filesystem::create_directory(folder / "sub");
    std::filesystem::create_hard_link(folder / "in.wav", folder / "link.wav");
    std::vector<std::filesystem::path> sameFile = {folder / "in.wav", folder / "." / "in.wav",
                                                   folder / "sub" / ".." / "in.wav",
                                                   folder / "link.wav"};
    std::error_code noSymlinks;
    std::filesystem::create_symlink(folder / "in.wav", folder / "symlink.wav", noSymlinks);
    if (!noSymlinks)
        sameFile.push_back(folder / "symlink.wav");
    for (const std::filesystem::path& output : sameFile) {
        SCOPED_TRACE(output.u8string());
        RenderOptions o = options(input, "");
        o.output = output.u8string();
        try {
            render(o);
            ADD_FAILURE() << "rendered";
        } catch (const WavError& e) {
            EXPECT_PRED_FORMAT2(testing::IsSubstring, "is the input file", e.what());
        }
        EXPECT_TRUE(contents("in.wav") == original) << "the input changed";
    }
    std::filesystem::remove(folder / "link.wav");
    std::filesystem::remove(folder / "symlink.wav");
    std::filesystem::remove(folder / "sub");

    // Temporary names that are taken stay as they are, even when one is the input; the
    // render goes to a fresh name and replaces the older output only when complete.
    std::filesystem::rename(folder / "in.wav", folder / "out.wav.partial");
    std::ofstream(folder / "out.wav.1.partial") << "keep";
    std::ofstream(folder / "out.wav") << "older";
    render(options(path("out.wav.partial"), "out.wav"));
    EXPECT_TRUE(contents("out.wav.partial") == original) << "the input changed";
    EXPECT_EQ(contents("out.wav.1.partial"), "keep");
    WavFormat format;
    readAll(folder / "out.wav", format);
    EXPECT_GT(format.frames, 0u);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"out.wav", "out.wav.1.partial", "out.wav.partial"}));

    // A render that fails half-way (a NaN in the input's last sample) removes only its own
    // temporary file.
    std::string broken = original;
    const float nan = std::nanf("");
    std::memcpy(&broken[broken.size() - sizeof nan], &nan, sizeof nan);
    std::ofstream(folder / "broken.wav", std::ios::binary) << broken;
    const std::string rendered = contents("out.wav");
    EXPECT_THROW(render(options(path("broken.wav"), "out.wav")), WavError);
    EXPECT_TRUE(contents("out.wav") == rendered) << "the older output changed";
    EXPECT_TRUE(contents("out.wav.partial") == original) << "the input changed";
    EXPECT_EQ(contents("out.wav.1.partial"), "keep");
    EXPECT_EQ(names(), (std::vector<std::string>{"broken.wav", "out.wav", "out.wav.1.partial",
                                                 "out.wav.partial"}));
}

} // namespace
