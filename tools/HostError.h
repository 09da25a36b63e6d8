#pragma once
// The module or the effect refused what the host asked; the message is one line for the user.

#include <stdexcept>
#include <string>

namespace SorvTools {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace SorvTools
