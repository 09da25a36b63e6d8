#pragma once
// The parameters of one effect instance, in the order of addition and by identifier. Owns
// them from AddParameter on and hands each the instance's automation delegate.

#include "AAX_IParameter.h"

#include <map>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;

class AAX_CParameterManager {
public:
    AAX_CParameterManager() = default;
    AAX_CParameterManager(const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator=(const AAX_CParameterManager&) = delete;
    ~AAX_CParameterManager() { RemoveAllParameters(); }

    void Initialize(AAX_IAutomationDelegate* delegate) { mAutomation = delegate; }
    // Null or an identifier already present: ignored, the caller keeps the parameter.
    void AddParameter(AAX_IParameter* parameter);
    AAX_IParameter* FindParameter(AAX_CParamID identifier) const;
    int32_t IndexOfParameter(AAX_CParamID identifier) const;
    int32_t NumParameters() const { return static_cast<int32_t>(mParameters.size()); }
    AAX_IParameter* GetParameter(int32_t index) const {
        return index >= 0 && index < NumParameters() ? mParameters[size_t(index)] : nullptr;
    }
    void RemoveAllParameters();

private:
    AAX_IAutomationDelegate* mAutomation = nullptr;
    std::vector<AAX_IParameter*> mParameters;
    std::map<std::string, AAX_IParameter*> mByIdentifier;
};
