#include "TestSignal.h"

#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace SorvTools {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Levels chosen so that a click, a burst and the tone together stay below full scale.
constexpr double kToneLevel = 0.05;
constexpr double kClickLevel = 0.5;
constexpr double kBurstLevel = 0.3;
constexpr double kToneHz = 220.0;
constexpr double kClickPeriod = 0.5;  // seconds
constexpr double kBurstPeriod = 1.0;  // seconds
constexpr double kBurstOffset = 0.3;  // seconds after each period start
constexpr double kBurstLength = 0.03; // seconds
constexpr double kFadeLength = 0.01;  // seconds of tone fade at both ends
// The second channel's events come a little later, like a source off-centre.
constexpr double kChannelOffset = 0.0023; // seconds per channel

// xorshift32: deterministic white noise without any library's generator.
double nextNoise(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return double(state) / 2147483648.0 - 1.0;
}

bool inEvent(double t, double period, double offset, double length, double& age) {
    if (t < offset)
        return false;
    age = std::fmod(t - offset, period);
    return age < length;
}

} // namespace

TestSignal::TestSignal(uint32_t sampleRate, uint16_t channels, uint64_t frames)
    : rate(double(sampleRate)), channels(channels), length(frames) {
    for (uint32_t i = 0; i < 8; ++i)
        noiseState[i] = 0x9E3779B9u * (i + 1);
}

double TestSignal::sampleOf(uint16_t channel, uint64_t frame) {
    const double t = double(frame) / rate;
    const double shifted = t - kChannelOffset * channel;
    const double duration = double(length) / rate;
    const double fade = std::fmin(1.0, std::fmin(t, duration - t) / kFadeLength);
    double value = kToneLevel * std::fmax(0.0, fade) *
                   std::sin(2.0 * kPi * kToneHz * (1.0 + 0.5 * channel) * t);

    // A click is one sample at the start of each period, alternating in sign.
    const uint64_t clickFrame = uint64_t(std::llround(kClickPeriod * rate));
    const uint64_t clickShift = uint64_t(std::llround(kChannelOffset * channel * rate));
    if (clickFrame > 0 && frame >= clickShift && (frame - clickShift) % clickFrame == 0)
        value += ((frame - clickShift) / clickFrame % 2 == 0) ? kClickLevel : -kClickLevel;

    double age = 0.0;
    const double noise = nextNoise(noiseState[channel % 8]);
    if (inEvent(shifted, kBurstPeriod, kBurstOffset, kBurstLength, age))
        value += kBurstLevel * std::exp(-age / (kBurstLength / 4.0)) * noise;
    return value;
}

void TestSignal::fill(double* interleaved, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i, ++position)
        for (uint16_t c = 0; c < channels; ++c)
            interleaved[i * channels + c] = position < length ? sampleOf(c, position) : 0.0;
}

void TestSignal::writeFile(const SynthOptions& options, std::ostream& report) {
    constexpr uint64_t kChunkFrames = 4096;
    const uint64_t frames = uint64_t(std::llround(options.seconds * options.sampleRate));
    WavWriter writer(std::filesystem::u8path(options.output), options.encoding, options.sampleRate,
                     options.channels);
    TestSignal signal(options.sampleRate, options.channels, frames);
    std::vector<double> buffer(kChunkFrames * options.channels);
    for (uint64_t done = 0; done < frames;) {
        const uint64_t count = std::min(kChunkFrames, frames - done);
        signal.fill(buffer.data(), count);
        writer.write(buffer.data(), count);
        done += count;
    }
    writer.finish();
    report << "wrote " << options.output << ": " << encodingName(options.encoding) << ", "
           << options.sampleRate << " Hz, " << options.channels
           << (options.channels == 1 ? " channel, " : " channels, ") << frames
           << " frames of tone, clicks and noise bursts\n";
}

} // namespace SorvTools
