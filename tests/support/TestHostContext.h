#pragma once
// A host application for tests; it can also pose as one of the SDK's wrappers, which is how
// an effect tells which host format it runs under.

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>
#include <cstring>
#include <string>

namespace SorvTest {

enum class WrapperKind { None, Vst2, AU, AAX };

class TestHostContext : public Steinberg::Vst::IHostApplication,
                        public Steinberg::Vst::IVst3ToVst2Wrapper,
                        public Steinberg::Vst::IVst3ToAUWrapper,
                        public Steinberg::Vst::IVst3ToAAXWrapper {
public:
    explicit TestHostContext(WrapperKind kind = WrapperKind::None, std::string name = "Test Host")
        : kind(kind), name(std::move(name)) {}
    virtual ~TestHostContext() = default;

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 out) override {
        size_t i = 0;
        for (; i < name.size() && i < 127; ++i)
            out[i] = static_cast<Steinberg::Vst::TChar>(static_cast<unsigned char>(name[i]));
        out[i] = 0;
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID,
                                                 void** obj) override {
        *obj = nullptr;
        return Steinberg::kResultFalse;
    }

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
        using namespace Steinberg;
        using namespace Steinberg::Vst;
        ++queries;
        if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
            FUnknownPrivate::iidEqual(iid, IHostApplication::iid))
            return answer(static_cast<IHostApplication*>(this), obj);
        if (kind == WrapperKind::Vst2 && FUnknownPrivate::iidEqual(iid, IVst3ToVst2Wrapper::iid))
            return answer(static_cast<IVst3ToVst2Wrapper*>(this), obj);
        if (kind == WrapperKind::AU && FUnknownPrivate::iidEqual(iid, IVst3ToAUWrapper::iid))
            return answer(static_cast<IVst3ToAUWrapper*>(this), obj);
        if (kind == WrapperKind::AAX && FUnknownPrivate::iidEqual(iid, IVst3ToAAXWrapper::iid))
            return answer(static_cast<IVst3ToAAXWrapper*>(this), obj);
        *obj = nullptr;
        return kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return ++refs; }
    Steinberg::uint32 PLUGIN_API release() override { return --refs; }

    Steinberg::FUnknown* unknown() { return static_cast<Steinberg::Vst::IHostApplication*>(this); }

    // The context lives on the test's stack; references must balance when the test ends.
    int references() const { return refs; }

private:
    template <typename T>
    Steinberg::tresult answer(T* face, void** obj) {
        addRef();
        *obj = face;
        return Steinberg::kResultOk;
    }

    WrapperKind kind;
    std::string name;
    std::atomic<int> refs{1};
    int queries = 0;
};

} // namespace SorvTest
