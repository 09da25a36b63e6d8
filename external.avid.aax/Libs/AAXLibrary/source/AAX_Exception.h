#pragma once
// The library's exceptions. They never leave the module: every export catches them.

#include "AAX.h"

#include <string>

// The name of a result code, or "<unknown error code>".
std::string AAX_ResultName(AAX_Result result);

namespace AAX {
namespace Exception {

class Any {
public:
    explicit Any(const std::string& message);
    Any(const Any& other) = default;
    virtual ~Any();

    const std::string& Message() const { return mMessage; }
    const std::string& Function() const { return mFunction; }
    const std::string& Line() const { return mLine; }
    // The message with " func:" and " line:" parts when those are known.
    const std::string& What() const { return mDescription; }

private:
    std::string mMessage;
    std::string mFunction;
    std::string mLine;
    std::string mDescription;
};

class ResultError : public Any {
public:
    // The message is the code's name followed by the code, e.g. "AAX_ERROR_NULL_OBJECT (-20004)".
    explicit ResultError(AAX_Result result);
    ResultError(const ResultError& other) = default;

    AAX_Result Result() const { return mResult; }

private:
    AAX_Result mResult;
};

} // namespace Exception
} // namespace AAX
