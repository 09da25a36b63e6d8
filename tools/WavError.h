#pragma once
// A file the WAV code cannot read or write; the message is one line for the user.

#include <stdexcept>
#include <string>

namespace SorvTools {

class WavError : public std::runtime_error {
public:
    explicit WavError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace SorvTools
