#include "AAX_CheckedResult.h"

#include "AAX_Exception.h"
#include "AAX_Trace.h"

AAX_CheckedResult::AAX_CheckedResult(AAX_Result result) : mCurrent(result) {
    Check();
}

AAX_CheckedResult& AAX_CheckedResult::operator=(AAX_Result result) {
    mCurrent = result;
    Check();
    return *this;
}

void AAX_CheckedResult::Check() {
    if (mAccepted.count(mCurrent) == 1)
        return;
    const AAX::Exception::ResultError error(mCurrent);
    mCurrent = AAX_SUCCESS;
    mLastError = error.Result();
    AAX_Trace(AAX_eTracePriority_CheckedResult, "AAX_CheckedResult - throwing %s",
              error.What().c_str());
    throw error;
}
