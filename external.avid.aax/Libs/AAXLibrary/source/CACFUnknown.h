#pragma once
// The object base of the host's component model: interlocked reference counts, interface
// queries with aggregation, and the process-wide count of live objects.

#include "ACFUnknown.h"

#include <atomic>

// Live CACFUnknown objects; ACFCanUnloadNow reports it. Changed on any thread.
extern std::atomic<int32_t> gLiveObjectCount;

class CACFUnknown {
public:
    // Not aggregated: the object's outer face delegates to its own inner unknown.
    CACFUnknown();
    // Aggregated into outer (or not, when outer is null): the outer face delegates to it.
    explicit CACFUnknown(IACFUnknown* outer);
    CACFUnknown(const CACFUnknown&) = delete;
    CACFUnknown& operator=(const CACFUnknown&) = delete;
    virtual ~CACFUnknown();

    virtual ACFRESULT InitializeHook(IACFUnknown* outer);
    virtual void OnFinalRelease();
    virtual void DeleteThis();
    // Answers the base unknown id with the inner unknown; override to answer more ids and
    // fall back to this one.
    virtual ACFRESULT InternalQueryInterface(const acfIID& iid, void** out);
    virtual acfUInt32 InternalAddRef();
    virtual acfUInt32 InternalRelease();

    // The unknown the outer face delegates to.
    IACFUnknown* GetControllingUnknown() const { return mControllingUnknown; }
    // The non-delegating unknown, what an aggregating outer object holds.
    IACFUnknown* GetPrivateUnknown() { return &mInnerUnknown; }

private:
    class PrivateUnknown : public IACFUnknown {
    public:
        explicit PrivateUnknown(CACFUnknown* owner) : mOwner(owner) {}
        ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override;
        acfUInt32 ACFMETHODCALLTYPE AddRef() override;
        acfUInt32 ACFMETHODCALLTYPE Release() override;

    private:
        CACFUnknown* mOwner;
    };

    std::atomic<acfUInt32> mReferenceCount{0};
    IACFUnknown* mControllingUnknown;
    PrivateUnknown mInnerUnknown;
};

// The outer face of a class that derives from a host-facing interface and CACFUnknown.
#define ACF_DELEGATING_UNKNOWN                                                                     \
    ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override {           \
        return GetControllingUnknown()->QueryInterface(iid, out);                                  \
    }                                                                                              \
    acfUInt32 ACFMETHODCALLTYPE AddRef() override {                                                \
        return GetControllingUnknown()->AddRef();                                                  \
    }                                                                                              \
    acfUInt32 ACFMETHODCALLTYPE Release() override {                                               \
        return GetControllingUnknown()->Release();                                                 \
    }
