#pragma once
// UTF-8 text of the tool to and from the 16-bit strings of the VST 3 interfaces.

#include "pluginterfaces/base/ftypes.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <string>

namespace SorvTools {

std::string toUtf8(const Steinberg::char16* text);
std::u16string toUtf16(const std::string& text);
// Truncated to 127 units and terminated.
void copyToString128(const std::string& text, Steinberg::Vst::String128 out);

} // namespace SorvTools
