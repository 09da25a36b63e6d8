#pragma once
// The module's seven ACF exports, in the order of their ordinals (1 to 7). Each is exported
// under its standard-call decorated name; none lets an exception out. The host calls them on
// one thread at a time, ACFStartup and ACFShutdown bracketing all others.

#include "ACFUnknown.h"

#if defined(_WIN32)
#define ACFAPI __stdcall
#else
#define ACFAPI
#endif

extern "C" {
// The number of live library objects: 0 when the module may be unloaded.
ACFRESULT ACFAPI ACFCanUnloadNow(IACFUnknown* host);
// The module has no class factory: -20009 with a null *out.
ACFRESULT ACFAPI ACFGetClassFactory(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid,
                                    void** out);
ACFRESULT ACFAPI ACFGetSDKVersion(acfUInt64* version);
ACFRESULT ACFAPI ACFRegisterComponent(IACFUnknown* host, acfUInt32 index, IACFUnknown** out);
ACFRESULT ACFAPI ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out);
// Runs the module end, then removes the host services.
ACFRESULT ACFAPI ACFShutdown(IACFUnknown* host);
// Installs the host services, then runs the module start.
ACFRESULT ACFAPI ACFStartup(IACFUnknown* host);
}
