#pragma once
// The library functions behind the module's ACF exports. Host's main thread, one call at a
// time; ACFStartup and ACFShutdown bracket every other call.

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_ICollection;

// The effect-description entry of the effect's AAX wrapper: fills the collection.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection);

// Installs host services for the first non-null host, removes them for null; any other
// call changes nothing (a second start-up keeps the first object).
void SetHostServices(IACFUnknown* host);

ACFRESULT AAXStartup(IACFUnknown* host);
ACFRESULT AAXShutdown(IACFUnknown* host);
ACFRESULT AAXCanUnloadNow(IACFUnknown* host);
ACFRESULT AAXGetClassFactory(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid,
                             void** out);
ACFRESULT AAXRegisterComponent(IACFUnknown* host, acfUInt32 index, IACFUnknown** out);
ACFRESULT AAXGetSDKVersion(acfUInt64* version);
// Describes the effect into a new collection and hands the host its registration face.
ACFRESULT AAXRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out);

using AAX_DescribeFunction = AAX_Result (*)(AAX_ICollection* collection);
// AAXRegisterPlugin with the given description entry.
ACFRESULT AAX_RegisterPluginWith(IACFUnknown* host, IACFPluginDefinition** out,
                                 AAX_DescribeFunction describe);
