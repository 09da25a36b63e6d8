// The renderer through the module's VST 2.4 entry in this process: with the same noise state
// it writes the same file as through the VST 3 class factory, and it reads parameter text the
// way the VST 3 form does.

#include "HostError.h"
#include "Renderer.h"
#include "TestSignal.h"
#include "Vst2EffectHost.h"
#include "WavReader.h"

#include "vst2wrapper/Vst2Entry.h"
#include "core/ClassFactory.h"
#include "engine/NoiseModulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

using namespace SorvTools;

namespace {

std::vector<double> readAll(const std::filesystem::path& path) {
    WavReader reader(path);
    std::vector<double> samples(size_t(reader.format().frames) * reader.format().channels);
    EXPECT_EQ(reader.read(samples.data(), reader.format().frames), reader.format().frames);
    return samples;
}

TEST(Vst2Render, SameFileAsTheVst3FormAndTheSameParameterText) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) /
        ("sorv-vst2-render-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    SynthOptions synth;
    synth.output = (folder / "in.wav").u8string();
    synth.seconds = 0.25;
    synth.sampleRate = 8000;
    std::ostringstream ignored;
    TestSignal::writeFile(synth, ignored);

    for (Precision precision : {Precision::Float32, Precision::Float64}) {
        RenderOptions options;
        options.input = synth.output;
        options.precision = precision;
        options.blockSize = 100;
        // Values a VST 2 host's 32-bit floats carry exactly.
        options.parameters = {{"Fx Mix", "7.5"}, {"Tone", "2.5"}, {"Power", "On"}};
        constexpr uint32_t kSeed = 0x2545F491;

        SorvLib::setNoiseState(kSeed);
        options.output = (folder / "vst3.wav").u8string();
        Steinberg::IPluginFactory* factory = GetPluginFactory();
        Renderer(options, ignored).run(factory);
        factory->release();

        SorvLib::setNoiseState(kSeed);
        options.output = (folder / "vst2.wav").u8string();
        std::ostringstream report;
        {
            Vst2EffectHost host(VSTPluginMain);
            EXPECT_EQ(host.description(), "QUOR-515 1.0.0.0 by Sorv Audio Labs");
            Renderer(options, report).run(host);
        }
        EXPECT_NE(report.str().find("Fx Mix          7.5"), std::string::npos) << report.str();
        const std::vector<double> vst3 = readAll(folder / "vst3.wav");
        EXPECT_GT(vst3.size(), 8000u);
        const std::vector<double> vst2 = readAll(folder / "vst2.wav");
        ASSERT_EQ(vst2.size(), vst3.size());
        for (size_t i = 0; i < vst3.size(); ++i)
            ASSERT_EQ(vst2[i], vst3[i]) << "sample " << i << ", precision " << int(precision);
    }

    // Text the effect cannot read, and read-only parameters, are refused by name.
    Vst2EffectHost host(VSTPluginMain);
    EXPECT_THROW(host.resolve({{"Power", "Maybe"}}), HostError);
    EXPECT_THROW(host.resolve({{"GR Meter", "0"}}), HostError);
    EXPECT_THROW(host.resolve({{"Nothing", "0"}}), HostError);

    // Numbers in the parameter's units through the effect's own curve, and a switch's texts
    // or steps; reading them leaves every value the effect holds as it was.
    std::vector<std::string> shown;
    for (const ParameterDescription& p : host.parameters())
        shown.push_back(host.displayValue(p.id));
    const std::vector<ResolvedSetting> spelled = host.resolve({{"Pre-Delay", "12.3 ms"},
                                                               {"fx mix", "+7.50"},
                                                               {"Tone", "10"},
                                                               {"Power", "off"},
                                                               {"Master Bypass", "1"},
                                                               {"Fx Limiter", "0"}});
    ASSERT_EQ(spelled.size(), 6u);
    EXPECT_NEAR(spelled[0].normalized, 0.5, 1e-7); // the curve, in a VST 2.4 float
    EXPECT_EQ(spelled[1].title, "Fx Mix");
    EXPECT_EQ(spelled[1].normalized, 0.75);
    EXPECT_EQ(spelled[2].normalized, 1.0);
    EXPECT_EQ(spelled[3].normalized, 0.0);
    EXPECT_EQ(spelled[4].normalized, 1.0);
    EXPECT_EQ(spelled[5].normalized, 0.0);
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(host.displayValue(host.parameters()[i].id), shown[i]);
    std::filesystem::remove_all(folder);
}

} // namespace
