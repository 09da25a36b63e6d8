#include "RenderHost.h"

#include "MessageText.h"

namespace SorvTools {

const ParameterDescription* RenderHost::findParameter(const std::string& title) const {
    for (const ParameterDescription& p : parameters())
        if (p.title == title)
            return &p;
    for (const ParameterDescription& p : parameters())
        if (sameIgnoringCase(p.title, title))
            return &p;
    return nullptr;
}

} // namespace SorvTools
