// The synthesised test input: repeatable, below full scale, with silence-free events on
// every channel, and written as a WAV file of the requested shape.

#include "TestSignal.h"
#include "TestFolder.h"
#include "WavReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <vector>

using namespace SorvTools;

namespace {

std::vector<double> render(uint32_t rate, uint16_t channels, uint64_t frames, uint64_t piece) {
    TestSignal signal(rate, channels, frames);
    std::vector<double> out((frames + 10) * channels);
    for (uint64_t done = 0; done < frames + 10; done += piece)
        signal.fill(out.data() + done * channels, std::min(piece, frames + 10 - done));
    return out;
}

TEST(TestSignal, IsTheSameWhateverThePiecesItIsMadeIn) {
    const auto whole = render(44100, 2, 44100, 44110);
    EXPECT_EQ(render(44100, 2, 44100, 1), whole);
    EXPECT_EQ(render(44100, 2, 44100, 333), whole);
}

TEST(TestSignal, StaysBelowFullScaleAndEndsInSilence) {
    const uint64_t frames = 2 * 48000;
    const auto samples = render(48000, 2, frames, 4096);
    double peak = 0.0;
    for (size_t i = 0; i < frames * 2; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    EXPECT_LT(peak, 1.0);
    EXPECT_GT(peak, 0.5); // the clicks are there
    for (size_t i = frames * 2; i < samples.size(); ++i)
        EXPECT_EQ(samples[i], 0.0);
}

TEST(TestSignal, HasClicksBurstsAndToneOnEachChannelAndTheChannelsDiffer) {
    const uint32_t rate = 44100;
    const auto samples = render(rate, 2, rate, rate);
    // A click starts the signal on the left; the right one comes a few samples later.
    EXPECT_GT(samples[0], 0.4);
    EXPECT_LT(std::fabs(samples[1]), 0.2);
    // Noise bursts 0.3 s after each second: much more energy than the tone alone.
    auto energy = [&](int channel, double from, double to) {
        double sum = 0.0;
        for (auto i = uint64_t(from * rate); i < uint64_t(to * rate); ++i)
            sum += samples[i * 2 + channel] * samples[i * 2 + channel];
        return sum;
    };
    for (int channel = 0; channel < 2; ++channel) {
        EXPECT_GT(energy(channel, 0.3, 0.31), 4.0 * energy(channel, 0.2, 0.21)) << channel;
        EXPECT_GT(energy(channel, 0.2, 0.21), 0.0) << channel; // the tone
    }
    size_t differing = 0;
    for (size_t i = 0; i < rate; ++i)
        differing += samples[2 * i] != samples[2 * i + 1];
    EXPECT_GT(differing, rate / 2);
}

TEST(TestSignal, WritesTheRequestedFile) {
    const auto folder = SorvToolsTest::testFolder("synth");
    std::filesystem::create_directories(folder);
    SynthOptions options;
    options.output = (folder / "t.wav").u8string();
    options.seconds = 0.5;
    options.sampleRate = 22050;
    options.channels = 3;
    options.encoding = SampleEncoding::Pcm16;
    std::ostringstream report;
    TestSignal::writeFile(options, report);
    {
        WavReader reader(folder / "t.wav");
        EXPECT_EQ(reader.format().frames, 11025u);
        EXPECT_EQ(reader.format().channels, 3);
        EXPECT_EQ(reader.format().sampleRate, 22050u);
        EXPECT_EQ(reader.format().encoding, SampleEncoding::Pcm16);
    }
    EXPECT_NE(report.str().find("t.wav"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "t.wav.partial"));
    std::filesystem::remove_all(folder);
}

} // namespace
