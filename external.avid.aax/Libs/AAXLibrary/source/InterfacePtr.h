#pragma once
// Holds one counted host interface pointer and releases it when replaced or destroyed.
// The throwing forms raise an ACFRESULT; the wrappers use the non-throwing ones and test for
// null before every use.

#include "ACFUnknown.h"

template <class T> class InterfacePtr {
public:
    InterfacePtr() = default;
    // Queries source for iid; throws ACF_E_INVALIDARG for a null source and the query's result
    // when it fails.
    InterfacePtr(IACFUnknown* source, const acfIID& iid) {
        if (!source)
            throw ACFRESULT(ACF_E_INVALIDARG);
        void* answer = nullptr;
        const ACFRESULT result = source->QueryInterface(iid, &answer);
        if (result < 0)
            throw result;
        mPointer = static_cast<T*>(answer);
    }
    InterfacePtr(const InterfacePtr& other) : mPointer(other.mPointer) {
        if (mPointer)
            mPointer->AddRef();
    }
    InterfacePtr& operator=(const InterfacePtr& other) {
        if (this != &other) {
            Release();
            mPointer = other.mPointer;
            if (mPointer)
                mPointer->AddRef();
        }
        return *this;
    }
    ~InterfacePtr() { Release(); }

    // Queries source for iid without throwing; whatever was held is released first. A failed
    // query leaves the holder empty.
    bool Query(IACFUnknown* source, const acfIID& iid) {
        Release();
        if (!source)
            return false;
        void* answer = nullptr;
        const ACFRESULT result = source->QueryInterface(iid, &answer);
        return Take(result, answer);
    }
    // Asks the host's factory for a new component of class clsid, not aggregated. A failed
    // creation leaves the holder empty; an object handed back beside the failure is released.
    bool Create(IACFComponentFactory* factory, const acfCLSID& clsid, const acfIID& iid) {
        Release();
        if (!factory)
            return false;
        void* answer = nullptr;
        const ACFRESULT result = factory->CreateComponent(clsid, nullptr, iid, &answer);
        return Take(result, answer);
    }
    // The same through the component factory that the host object answers.
    bool CreateFromHost(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid) {
        InterfacePtr<IACFComponentFactory> factory;
        if (!factory.Query(host, IID_IACFComponentFactory)) {
            Release();
            return false;
        }
        return Create(factory.get(), clsid, iid);
    }
    // Takes over a pointer that already carries a reference for this holder.
    void Attach(T* pointer) {
        Release();
        mPointer = pointer;
    }
    void Release() {
        if (T* old = mPointer) {
            mPointer = nullptr;
            old->Release();
        }
    }

    T* get() const { return mPointer; }
    explicit operator bool() const { return mPointer != nullptr; }
    T* operator->() const {
        if (!mPointer)
            throw ACFRESULT(ACF_E_POINTER);
        return mPointer;
    }

private:
    // Holds what a host call answered; an object handed back beside a failure is released.
    bool Take(ACFRESULT result, void* answer) {
        if (result == ACF_OK && answer) {
            mPointer = static_cast<T*>(answer);
            return true;
        }
        if (answer)
            static_cast<IACFUnknown*>(answer)->Release();
        return false;
    }

    T* mPointer = nullptr;
};
