#pragma once
// Small pieces of the one-line messages the renderer prints.

#include <string>

namespace SorvTools {

// "text" in double quotes.
std::string quoted(const std::string& text);
// Up to ten significant digits, without trailing zeros ("0.5", "150", "44100").
std::string number(double value);
// Equal up to the case of ASCII letters.
bool sameIgnoringCase(const std::string& a, const std::string& b);

} // namespace SorvTools
