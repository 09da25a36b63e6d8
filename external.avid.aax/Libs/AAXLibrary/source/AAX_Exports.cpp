#include "AAX_Exports.h"

#include "AAX_Init.h"
#include "vst/ModuleEntry.h"

// Every export but the version query runs its body under a catch-all: whatever a host
// callback or the library throws ends there as ACF_E_UNEXPECTED.
extern "C" {

ACFRESULT ACFAPI ACFCanUnloadNow(IACFUnknown* host) {
    try {
        return AAXCanUnloadNow(host);
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFAPI ACFGetClassFactory(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid,
                                    void** out) {
    try {
        return AAXGetClassFactory(host, clsid, iid, out);
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFAPI ACFGetSDKVersion(acfUInt64* version) {
    return AAXGetSDKVersion(version);
}

ACFRESULT ACFAPI ACFRegisterComponent(IACFUnknown* host, acfUInt32 index, IACFUnknown** out) {
    try {
        return AAXRegisterComponent(host, index, out);
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFAPI ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out) {
    try {
        return AAXRegisterPlugin(host, out);
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFAPI ACFShutdown(IACFUnknown* host) {
    try {
        ExitDll();
        AAXShutdown(host);
        return ACF_OK;
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

ACFRESULT ACFAPI ACFStartup(IACFUnknown* host) {
    try {
        if (AAXStartup(host) == ACF_OK && !InitDll()) {
            AAXShutdown(host);
            return ACF_E_UNEXPECTED;
        }
        return ACF_OK;
    } catch (...) {
        return ACF_E_UNEXPECTED;
    }
}

} // extern "C"
