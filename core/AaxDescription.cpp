#include "core/AaxDescription.h"

#include "core/ProductInfo.h"
#include "core/StringHash.h"

namespace SorvLib {

namespace {
constexpr const char* kVendorReverseDomain = "com.sorvaudiolabs";
constexpr const char* kWrapperSuffix = ".aaxwrapper";
constexpr uint32_t kFoldShift = 12;
constexpr uint32_t kFoldMask = 0xFFFFF;
constexpr int kLetterBits = 5;
constexpr int kLetters = 4;

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}
} // namespace

uint32_t makeAaxId(std::string text) {
    const uint32_t hash = fnv1a32(std::move(text));
    const uint32_t folded = ((hash >> kFoldShift) ^ hash) & kFoldMask;
    uint32_t id = 0;
    for (int letter = kLetters - 1; letter >= 0; --letter)
        id = id << 8 | static_cast<uint8_t>(base32Letter(folded >> (letter * kLetterBits)));
    return id;
}

std::string makeAaxEffectId(int inputs, int outputs) {
    return std::string(kVendorReverseDomain) + "." + lowerAscii(kProductName) + kWrapperSuffix +
           "." + std::to_string(inputs) + "." + std::to_string(outputs);
}

AAX_Effect_Desc* makeAaxDescription() {
    // The accepted channel layouts are asked of a temporary VST 2.4 instance of the effect,
    // and this build has no VST 2.4 instance to ask: the description is unavailable.
    return nullptr;
}

} // namespace SorvLib

AAX_Effect_Desc* AAXWrapper_GetDescription() {
    return SorvLib::makeAaxDescription();
}
