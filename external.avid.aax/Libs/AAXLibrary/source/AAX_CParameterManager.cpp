#include "AAX_CParameterManager.h"

#include <cstring>

void AAX_CParameterManager::AddParameter(AAX_IParameter* parameter) {
    if (!parameter || mByIdentifier.count(parameter->Identifier()))
        return;
    parameter->SetAutomationDelegate(mAutomation);
    mParameters.push_back(parameter);
    mByIdentifier[parameter->Identifier()] = parameter;
}

AAX_IParameter* AAX_CParameterManager::FindParameter(AAX_CParamID identifier) const {
    if (!identifier)
        return nullptr;
    const auto found = mByIdentifier.find(identifier);
    return found == mByIdentifier.end() ? nullptr : found->second;
}

int32_t AAX_CParameterManager::IndexOfParameter(AAX_CParamID identifier) const {
    if (!identifier)
        return -1;
    for (size_t i = 0; i < mParameters.size(); ++i)
        if (mParameters[i] && std::strcmp(mParameters[i]->Identifier(), identifier) == 0)
            return static_cast<int32_t>(i);
    return -1;
}

void AAX_CParameterManager::RemoveAllParameters() {
    for (AAX_IParameter* parameter : mParameters)
        delete parameter;
    mParameters.clear();
    mByIdentifier.clear();
}
