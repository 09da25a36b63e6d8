#include "vstgui/CNewFileSelector.h"

namespace VSTGUI {

CFileExtension::CFileExtension(UTF8StringPtr desc, UTF8StringPtr ext, UTF8StringPtr, int32,
                               UTF8StringPtr)
    : description(desc ? desc : ""), extension(ext ? ext : "") {
    if (!extension.empty() && extension[0] == '.')
        extension.erase(0, 1);
}

bool CNewFileSelector::runModal() {
    selected.clear();
    return runModalInternal() && !selected.empty();
}

UTF8StringPtr CNewFileSelector::getSelectedFile(uint32 index) const {
    return index < selected.size() ? selected[index].c_str() : nullptr;
}

} // namespace VSTGUI
