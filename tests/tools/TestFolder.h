#pragma once
// A scratch folder of this test process. The temporary folder is shared by every run on the
// machine, so a token of the process keeps concurrent runs out of each other's files.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace SorvToolsTest {

inline std::filesystem::path testFolder(const std::string& name) {
    static const std::string processToken = std::to_string(std::random_device{}());
    return std::filesystem::path(testing::TempDir()) / ("sorv-" + processToken + "-" + name);
}

} // namespace SorvToolsTest
