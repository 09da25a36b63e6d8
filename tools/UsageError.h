#pragma once
// Arguments that do not form a valid command; the message is one line for the user.

#include <stdexcept>
#include <string>

namespace SorvTools {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace SorvTools
