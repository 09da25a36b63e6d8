// The Windows build (i686, SSE2) and the native build must compute the signal path to the same
// bits; x87 arithmetic or a contracted multiply-add would show here. The two math libraries may
// round a designed coefficient differently, so the render runs on the native build's design,
// recorded below, and the differences of this build's own design are measured separately.

#include "engine/EngineHarness.h"
#include "engine/NoiseModulator.h"
#include "engine/QUOR515Ids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;

namespace {

// The floating-point values the native build designs at 44100 Hz that pass through the math
// library (exp, sin, cos, tan, pow).
void recordedValues(EngineDesign& d, double& drive) {
    d.smoothingCoefficient = 0x1.db6fd5adfc8p-12;
    d.toneAllpass = {-0x1.7f89833ba94ep-1, 0x1p+0, -0x1.7f89833ba94ep-1, 0x0p+0, 0x0p+0};
    d.limiterCoefficient = 0x1.bd2c098b15p-12;
    d.chainHighPass = {0x1.fe8b917e24821p-1, -0x1.fe8b917e24821p-1, -0x1.fd1722fc49043p-1, 0x0p+0,
                       0x0p+0};
    d.resonatorGain = 0x1.7c7e795e571b8p-5;
    d.resonatorFeedback1 = -0x1.e782fed1fc2f1p+0;
    d.resonatorFeedback2 = 0x1.d07030d4351c9p-1;
    d.lowPassSections[0] = {0x1.c7d411195b8fap-8, 0x1.c7d411195b8fap-7, -0x1.c32f8dfc059b2p+0,
                            0x1.c7d411195b8fap-8, 0x1.949dbc80d612dp-1};
    d.lowPassSections[1] = {0x1.1f7cbb1e5061cp-5, 0x1.1f7cbb1e5061cp-4, -0x1.ac0932bffb56ap+0,
                            0x1.1f7cbb1e5061cp-5, 0x1.9ff194478ac5bp-1};
    d.lowPassSections[2] = {0x1.4bdba3499f22bp-4, 0x1.4bdba3499f22bp-3, -0x1.876748a387f12p+0,
                            0x1.4bdba3499f22bp-4, 0x1.b4bc62ebdf73bp-1};
    d.lowPassSections[3] = {0x1.0694175b247cbp-3, 0x1.0694175b247cbp-2, -0x1.64b96808e3b07p+0,
                            0x1.0694175b247cbp-3, 0x1.d006e76cebdd8p-1};
    d.lowPassSections[4] = {0x1.48053a467e75fp-3, 0x1.48053a467e75fp-2, -0x1.53a499686e93cp+0,
                            0x1.48053a467e75fp-3, 0x1.ef4e6d175b9d8p-1};
    d.highSection[0] = {0x1.4dc28cab8168cp-2, -0x1.244e3a32d831fp+0, -0x1.244e3a32d831fp+0, 0x1p+0,
                        0x1.4dc28cab8168cp-2};
    d.highSection[1] = {0x1.c99f44d04559cp-2, -0x1.56460f959ca9ap+0, -0x1.56460f959ca9ap+0, 0x1p+0,
                        0x1.c99f44d04559cp-2};
    d.peakSections[0] = {0x1.2370c4fa59b31p+1, -0x1.6872cd7375a07p+0, -0x1.f5c5abf8ab361p-1,
                         0x1.7778698e4859bp-4, 0x1.e192322cefccep-1};
    d.peakSections[1] = {0x1.7e6f6e9d01ebdp+0, 0x1.922b7dd1a3ea1p-1, 0x1.c6323a1f0da6dp-1,
                         0x1.b5ddbb5f8ae79p-2, 0x1.a3c6fe9c5f8eap-1};
    d.noiseLowPass[0] = {0x1.f127d13db7addp-8, 0x1.f127d13db7addp-8, -0x1.f83b60bb09216p-1, 0x0p+0,
                         0x0p+0};
    d.noiseLowPass[1] = {0x1.b1a30163cfdb1p-8, 0x1.b1a30163cfdb1p-8, -0x1.f93973fa70c0ap-1, 0x0p+0,
                         0x0p+0};
    drive = 0x1.0722de7426253p+5; // limiterDrive target at "Fx Limiter" 0.55
}

// Every floating-point value of the design, named, in one list.
std::vector<std::pair<std::string, double*>> valuesOf(EngineDesign& d) {
    std::vector<std::pair<std::string, double*>> list = {
        {"smoothing coefficient", &d.smoothingCoefficient},
        {"limiter coefficient", &d.limiterCoefficient},
        {"resonator gain", &d.resonatorGain},
        {"resonator feedback 1", &d.resonatorFeedback1},
        {"resonator feedback 2", &d.resonatorFeedback2}};
    auto section = [&list](const std::string& name, BiquadCoefficients& k) {
        list.push_back({name + ".b0", &k.b0});
        list.push_back({name + ".b1", &k.b1});
        list.push_back({name + ".a1", &k.a1});
        list.push_back({name + ".b2", &k.b2});
        list.push_back({name + ".a2", &k.a2});
    };
    section("tone allpass", d.toneAllpass);
    section("chain high-pass", d.chainHighPass);
    for (int j = 0; j < 5; ++j)
        section("low-pass " + std::to_string(j), d.lowPassSections[j]);
    for (int j = 0; j < 2; ++j) {
        section("high section " + std::to_string(j), d.highSection[j]);
        section("peak section " + std::to_string(j), d.peakSections[j]);
        section("noise low-pass " + std::to_string(j), d.noiseLowPass[j]);
    }
    return list;
}

int64_t ulpsBetween(double a, double b) {
    int64_t ia = 0;
    int64_t ib = 0;
    std::memcpy(&ia, &a, sizeof(a));
    std::memcpy(&ib, &b, sizeof(b));
    // Sign-magnitude to a monotonic integer line.
    if (ia < 0)
        ia = INT64_MIN - ia;
    if (ib < 0)
        ib = INT64_MIN - ib;
    return ia > ib ? ia - ib : ib - ia;
}

class Fnv1a64 {
public:
    template <typename T> void add(T value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char byte : bytes)
            hash = (hash ^ byte) * 0x100000001B3ull;
    }
    uint64_t hash = 0xCBF29CE484222325ull;
};

// Deterministic input, the same in both builds.
class Input {
public:
    double next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) * 0x1.0p-52 - 1.0;
    }

private:
    uint64_t state = 42;
};

template <typename T> void render(Fnv1a64& hash) {
    EngineHarness h(44100.0, 2, sizeof(T) == 4 ? Vst::kSample32 : Vst::kSample64);
    h.set(kFxMixId, 0.65);
    h.set(kToneId, 0.45);
    h.set(kFxLimiterId, 0.55);
    h.set(kPreDelayId, 0.2);
    h.effect().setActive(true);

    EngineDesign design = h.inspect().design();
    double drive = 0.0;
    recordedValues(design, drive);
    h.inspect().injectDesign(design);
    h.inspect().setTargetAndCurrent(QUOR515Effect::limiterDrive, drive);
    setNoiseState(0x2545F491u);

    Input input;
    const int blocks[] = {512, 100, 1, 0, 1024, 777, 2048, 512, 3000, 1500, 256};
    int index = 0;
    for (int samples : blocks) {
        // Changes of the arithmetic-only targets between blocks.
        if (index == 2)
            h.set(kFxMixId, 0.9);
        if (index == 4)
            h.set(kPreDelayId, 0.35);
        if (index == 6)
            h.set(kToneId, 0.8);
        if (index == 8)
            h.set(kPowerId, 0.0);
        if (index == 9)
            h.set(kPowerId, 1.0);
        ++index;
        std::vector<T> left(static_cast<size_t>(samples));
        std::vector<T> right(static_cast<size_t>(samples));
        const double loudness = index % 3 == 0 ? 3.0 : 0.4;
        for (int s = 0; s < samples; ++s) {
            left[s] = static_cast<T>(input.next() * loudness);
            right[s] = static_cast<T>(input.next() * loudness * 0.5);
        }
        T* channels[2] = {left.data(), right.data()};
        h.meters.clear();
        h.process(channels, channels, samples);
        for (int s = 0; s < samples; ++s) {
            hash.add(left[s]);
            hash.add(right[s]);
        }
        hash.add(h.meters.lastValue(kGrMeterId));
    }
    hash.add(getNoiseState());
}

} // namespace

TEST(CrossBuild, RenderOnTheRecordedDesignHasTheRecordedHash) {
    const uint32_t savedNoise = getNoiseState();
    forEachChainKernel([](ChainKernel::Kind) {
        Fnv1a64 hash;
        render<double>(hash);
        render<float>(hash);
        EXPECT_EQ(hash.hash, 0x749a1cc0321de27cull) << std::hex << hash.hash;
    });
    setNoiseState(savedNoise);
}

TEST(CrossBuild, DesignedValuesAgreeWithTheNativeBuildToAFewUlps) {
    EngineHarness h(44100.0);
    h.set(kFxLimiterId, 0.55);
    EngineDesign designed = h.inspect().design();
    EngineDesign recorded = designed;
    double drive = 0.0;
    recordedValues(recorded, drive);

    const auto mine = valuesOf(designed);
    const auto theirs = valuesOf(recorded);
    int64_t largest = 0;
    for (size_t i = 0; i < mine.size(); ++i) {
        const int64_t ulps = ulpsBetween(*mine[i].second, *theirs[i].second);
        if (ulps != 0)
            std::cout << "  " << mine[i].first << ": " << ulps << " ulp\n";
        largest = std::max(largest, ulps);
    }
    const int64_t driveUlps = ulpsBetween(h.inspect().target(QUOR515Effect::limiterDrive), drive);
    std::cout << "  largest difference from the native design: " << largest
              << " ulp; limiter drive: " << driveUlps << " ulp\n";
    // Only designFilter's tangents have been seen to differ, by 3 ulps at this rate.
    EXPECT_LE(largest, 8);
    EXPECT_LE(driveUlps, 2);
}
