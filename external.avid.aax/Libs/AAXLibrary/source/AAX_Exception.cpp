#include "AAX_Exception.h"

#include <cstdio>

std::string AAX_ResultName(AAX_Result result) {
    switch (result) {
#define AAX_RESULT_NAME_CASE(name, value)                                                          \
    case value:                                                                                    \
        return #name;
        AAX_RESULT_CODES(AAX_RESULT_NAME_CASE)
#undef AAX_RESULT_NAME_CASE
    default:
        return "<unknown error code>";
    }
}

namespace AAX {
namespace Exception {

namespace {
std::string describe(const std::string& message, const std::string& function,
                     const std::string& line) {
    std::string text = message;
    if (!function.empty())
        text += " func:" + function;
    if (!line.empty())
        text += " line:" + line;
    return text;
}

std::string resultMessage(AAX_Result result) {
    char code[24];
    std::snprintf(code, sizeof(code), " (%ld)", static_cast<long>(result));
    return AAX_ResultName(result) + code;
}
} // namespace

Any::Any(const std::string& message)
    : mMessage(message), mDescription(describe(message, mFunction, mLine)) {}

Any::~Any() = default;

ResultError::ResultError(AAX_Result result) : Any(resultMessage(result)), mResult(result) {}

} // namespace Exception
} // namespace AAX
