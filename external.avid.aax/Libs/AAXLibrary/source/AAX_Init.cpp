#include "AAX_Init.h"

#include "AAX_CheckedResult.h"
#include "AAX_Exception.h"
#include "AAX_Trace.h"
#include "AAX_VCollection.h"
#include "AAX_VHostServices.h"
#include "CACFUnknown.h"

#include <exception>
#include <new>

namespace {
constexpr acfUInt64 kSdkVersion = 0x0000020300D5E5B4ull;
constexpr const char* kRegistrationCatch = "AAXRegisterPlugin exception caught: %s";
} // namespace

void SetHostServices(IACFUnknown* host) {
    if (!gHostServices && host) {
        gHostServices = new (std::nothrow) AAX_VHostServices(host);
    } else if (gHostServices && !host) {
        delete gHostServices;
        gHostServices = nullptr;
    }
}

ACFRESULT AAXStartup(IACFUnknown* host) {
    SetHostServices(host);
    return ACF_OK;
}

ACFRESULT AAXShutdown(IACFUnknown*) {
    SetHostServices(nullptr);
    return ACF_OK;
}

ACFRESULT AAXCanUnloadNow(IACFUnknown*) {
    return gLiveObjectCount.load();
}

ACFRESULT AAXGetClassFactory(IACFUnknown*, const acfCLSID&, const acfIID&, void** out) {
    if (out)
        *out = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

ACFRESULT AAXRegisterComponent(IACFUnknown*, acfUInt32, IACFUnknown** out) {
    // The module has no components of its own.
    if (out)
        *out = nullptr;
    return ACF_OK;
}

ACFRESULT AAXGetSDKVersion(acfUInt64* version) {
    if (!version)
        return AAX_ERROR_NULL_ARGUMENT;
    *version = kSdkVersion;
    return ACF_OK;
}

ACFRESULT AAXRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out) {
    return AAX_RegisterPluginWith(host, out, &GetEffectDescriptions);
}

ACFRESULT AAX_RegisterPluginWith(IACFUnknown* host, IACFPluginDefinition** out,
                                 AAX_DescribeFunction describe) {
    // Nowhere to hand the collection to: answer before describing anything.
    if (!out)
        return AAX_ERROR_NULL_ARGUMENT;
    try {
        AAX_VCollection collection(host);
        AAX_CheckedResult result(describe(&collection));
        *out = nullptr;
        // Without any host collection the holder itself throws: an unknown failure.
        if (collection.HostCollection()->QueryInterface(IID_IACFPluginDefinition,
                                                        reinterpret_cast<void**>(out)) != ACF_OK)
            result = AAX_ERROR_NULL_OBJECT;
        return ACF_OK;
    } catch (const AAX::Exception::ResultError& error) {
        AAX_Trace(AAX_eTracePriority_Registration, kRegistrationCatch, error.What().c_str());
        return error.Result();
    } catch (const AAX::Exception::Any& error) {
        AAX_Trace(AAX_eTracePriority_Registration, kRegistrationCatch, error.What().c_str());
    } catch (const std::exception& error) {
        AAX_Trace(AAX_eTracePriority_Registration, kRegistrationCatch, error.what());
    } catch (...) {
        AAX_Trace(AAX_eTracePriority_Registration, kRegistrationCatch, "unknown");
    }
    return AAX_ERROR_UNKNOWN_EXCEPTION;
}
