#pragma once
// Turns quor-render's arguments into a CommandLine and holds the text of --help.

#include "CommandLine.h"

#include <string>
#include <vector>

namespace SorvTools {

class ArgumentParser {
public:
    static constexpr int32_t kMaxBlockSize = 65536;
    static constexpr double kMaxSynthSeconds = 3600.0;
    static constexpr uint32_t kMinSynthRate = 1000;
    static constexpr uint32_t kMaxSynthRate = 768000;
    static constexpr uint16_t kMaxSynthChannels = 8;

    // `args` without the program name, UTF-8. Throws UsageError.
    static CommandLine parse(const std::vector<std::string>& args);

    static std::string helpText();
};

} // namespace SorvTools
