#include "CACFUnknown.h"

std::atomic<int32_t> gLiveObjectCount{0};

CACFUnknown::CACFUnknown() : CACFUnknown(nullptr) {}

CACFUnknown::CACFUnknown(IACFUnknown* outer)
    : mControllingUnknown(outer ? outer : &mInnerUnknown), mInnerUnknown(this) {
    ++gLiveObjectCount;
}

CACFUnknown::~CACFUnknown() {
    --gLiveObjectCount;
}

ACFRESULT CACFUnknown::InitializeHook(IACFUnknown*) {
    return ACF_OK;
}

void CACFUnknown::OnFinalRelease() {}

void CACFUnknown::DeleteThis() {
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface(const acfIID& iid, void** out) {
    if (!out)
        return ACF_E_POINTER;
    *out = nullptr;
    if (iid == IID_IACFUnknown) {
        *out = &mInnerUnknown;
        mInnerUnknown.AddRef();
        return ACF_OK;
    }
    return ACF_E_NOINTERFACE;
}

acfUInt32 CACFUnknown::InternalAddRef() {
    return ++mReferenceCount;
}

acfUInt32 CACFUnknown::InternalRelease() {
    const acfUInt32 count = --mReferenceCount;
    if (count == 0) {
        OnFinalRelease();
        DeleteThis();
    }
    return count;
}

ACFRESULT ACFMETHODCALLTYPE CACFUnknown::PrivateUnknown::QueryInterface(const acfIID& iid,
                                                                        void** out) {
    return mOwner->InternalQueryInterface(iid, out);
}

acfUInt32 ACFMETHODCALLTYPE CACFUnknown::PrivateUnknown::AddRef() {
    return mOwner->InternalAddRef();
}

acfUInt32 ACFMETHODCALLTYPE CACFUnknown::PrivateUnknown::Release() {
    return mOwner->InternalRelease();
}
