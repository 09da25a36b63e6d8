#pragma once
// Holds a result and throws AAX::Exception::ResultError, after one trace, for any result that
// is not accepted (only success is). Lives on the stack of the operation that checks.

#include "AAX.h"

#include <set>

class AAX_CheckedResult {
public:
    AAX_CheckedResult(AAX_Result result = AAX_SUCCESS);
    AAX_CheckedResult& operator=(AAX_Result result);

    AAX_Result Result() const { return mCurrent; }
    AAX_Result LastError() const { return mLastError; }

private:
    void Check();

    AAX_Result mCurrent;
    AAX_Result mLastError = AAX_SUCCESS;
    std::set<AAX_Result> mAccepted{AAX_SUCCESS};
};
