// The product's factory patches as the program list, the program change and the preset
// export read them.

#include "core/FactoryPatches.h"
#include "engine/QUOR515Ids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* name;
    float limiter, mix, tone, preDelay;
};

TEST(FactoryPatches, EightPatchesWithTheirValuesAndEndRows) {
    const std::vector<Expected> expected = {{"Default", 0.3f, 0.5f, 0.5f, 0.0f},
                                            {"Subtle", 0.645f, 0.15f, 0.87f, 0.318333f},
                                            {"Splashy", 0.0f, 0.725f, 0.745f, 0.275f},
                                            {"Bright", 0.0f, 0.455f, 1.0f, 0.0f},
                                            {"Dark", 0.0f, 0.455f, 0.33f, 0.0f},
                                            {"Drums", 0.945f, 0.385f, 0.83f, 0.0f},
                                            {"Vocals", 0.615f, 0.29f, 0.62f, 0.32f},
                                            {"Echo Chamber", 0.905f, 0.785f, 0.595f, 0.445f}};
    size_t count = 0;
    while (SorvLib::factoryPatches[count])
        ++count;
    ASSERT_EQ(count, expected.size());

    for (size_t i = 0; i < count; ++i) {
        const SorvLib::PatchRef& patch = SorvLib::factoryPatches[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(std::string(patch.name), expected[i].name);
        // The name field is zero-padded to its end.
        for (size_t c = std::strlen(patch.name); c < SorvLib::kPatchNameSize; ++c)
            EXPECT_EQ(patch.name[c], 0);
        const std::vector<std::pair<uint32_t, float>> rows = {
            {SorvLib::kPowerId, 1.0f},
            {SorvLib::kFxLimiterId, expected[i].limiter},
            {SorvLib::kFxMixId, expected[i].mix},
            {SorvLib::kToneId, expected[i].tone},
            {SorvLib::kPreDelayId, expected[i].preDelay},
            {SorvLib::kPatchEndId, -1.0f}};
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(patch.rows[r].id, rows[r].first);
            EXPECT_EQ(patch.rows[r].value, rows[r].second);
        }
    }
}

} // namespace
