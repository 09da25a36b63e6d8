#pragma once
// The host context handed to the effect's initialize: it names the host and creates nothing.
// It lives as long as the EffectHost that owns it, which outlives the effect.

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>

namespace SorvTools {

class HostApplication : public Steinberg::Vst::IHostApplication {
public:
    static constexpr const char* kName = "quor-render";

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                                 void** obj) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return ++references; }
    Steinberg::uint32 PLUGIN_API release() override { return --references; }

    // References the effect still holds; 1 (our own) once it has let go.
    int referenceCount() const { return references; }

private:
    std::atomic<int> references{1};
};

} // namespace SorvTools
