#pragma once
// A host property map with every version the host offers. Maps are made by the description
// wrappers (which own them) or attached to a map the host hands out (owned by the caller).

#include "AAX_IDescriptionHost.h"
#include "AAX_IPropertyMap.h"
#include "InterfacePtr.h"

class AAX_VPropertyMap : public AAX_IPropertyMap {
public:
    // A new map on a new host map made through the component factory that host answers;
    // null without host or factory. The map exists even when the host could not make one.
    static AAX_VPropertyMap* Create(IACFUnknown* host);
    // A map on an existing host map; null for a null host map.
    static AAX_VPropertyMap* Acquire(IACFUnknown* hostMap);
    // What the host receives for a map argument: its newest interface, null for no map.
    static IACFUnknown* HostInterfaceOf(const AAX_IPropertyMap* map) {
        return map ? map->NewestInterface() : nullptr;
    }
    ~AAX_VPropertyMap() override;

    bool GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const override;
    bool GetPointerProperty(AAX_EProperty id, const void** value) const override;
    // Channel formats are checked here when the host offers no description host.
    AAX_Result AddProperty(AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result AddPointerProperty(AAX_EProperty id, const void* value) override;
    AAX_Result AddPropertyUnchecked(AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty(AAX_EProperty id) override;
    AAX_Result Operation7(void* a, void* b, void* c) override;
    bool Operation8(void* a, void* b, void* c) const override;
    IACFUnknown* NewestInterface() const override;

private:
    AAX_VPropertyMap() = default;
    void QueryLaterVersions();

    InterfacePtr<AAX_IACFPropertyMap> mV1;
    InterfacePtr<AAX_IACFPropertyMap_V2> mV2;
    InterfacePtr<AAX_IACFPropertyMap_V3> mV3;
    InterfacePtr<AAX_IACFDescriptionHost> mDescriptionHost;
};
