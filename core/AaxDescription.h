#pragma once
// The effect's AAX description and the ids in it.

#include "aaxwrapper/AAXWrapperDescription.h"

#include <cstdint>
#include <string>

namespace SorvLib {

// A four-character AAX type id: fnv1a32 of the text folded to 20 bits, written as four
// base32 letters, the first in the most significant byte.
uint32_t makeAaxId(std::string text);

// The effect id of the plug-in description for one channel layout: the maker's
// reverse-domain name, the lower-cased product name, ".aaxwrapper", inputs and outputs.
std::string makeAaxEffectId(int inputs, int outputs);

// Fills the module's one AAX description anew and returns it; null when the temporary
// VST 2.4 instance that tells the accepted channel layouts cannot be created. Main thread.
AAX_Effect_Desc* makeAaxDescription();

} // namespace SorvLib
