#include "core/FactoryPatches.h"

#include "engine/QUOR515Ids.h"

#include <cstddef>

namespace SorvLib {

namespace {

// The product's five rows and the end row.
constexpr size_t kFactoryRows = 6;
using FactoryPatch = Patch<kFactoryRows>;

template <size_t N>
constexpr FactoryPatch makePatch(const char (&name)[N], float power, float limiter, float mix,
                                 float tone, float preDelay) {
    FactoryPatch patch = {};
    static_assert(N <= kPatchNameSize, "patch name too long");
    for (size_t i = 0; i < N; ++i)
        patch.name[i] = name[i];
    patch.rows[0] = {kPowerId, power};
    patch.rows[1] = {kFxLimiterId, limiter};
    patch.rows[2] = {kFxMixId, mix};
    patch.rows[3] = {kToneId, tone};
    patch.rows[4] = {kPreDelayId, preDelay};
    patch.rows[5] = {kPatchEndId, -1.0f};
    return patch;
}

constexpr FactoryPatch kDefault = makePatch("Default", 1.0f, 0.3f, 0.5f, 0.5f, 0.0f);
constexpr FactoryPatch kSubtle = makePatch("Subtle", 1.0f, 0.645f, 0.15f, 0.87f, 0.318333f);
constexpr FactoryPatch kSplashy = makePatch("Splashy", 1.0f, 0.0f, 0.725f, 0.745f, 0.275f);
constexpr FactoryPatch kBright = makePatch("Bright", 1.0f, 0.0f, 0.455f, 1.0f, 0.0f);
constexpr FactoryPatch kDark = makePatch("Dark", 1.0f, 0.0f, 0.455f, 0.33f, 0.0f);
constexpr FactoryPatch kDrums = makePatch("Drums", 1.0f, 0.945f, 0.385f, 0.83f, 0.0f);
constexpr FactoryPatch kVocals = makePatch("Vocals", 1.0f, 0.615f, 0.29f, 0.62f, 0.32f);
constexpr FactoryPatch kEchoChamber =
    makePatch("Echo Chamber", 1.0f, 0.905f, 0.785f, 0.595f, 0.445f);

} // namespace

const PatchRef factoryPatches[] = {&kDefault, &kSubtle, &kSplashy,     &kBright, &kDark,
                                   &kDrums,   &kVocals, &kEchoChamber, nullptr};

} // namespace SorvLib
