#include "editor/SorvPatchExport.h"

#include "vstgui/CNewFileSelector.h"
#include "core/CoreIds.h"
#include "core/ProductInfo.h"
#include "core/SorvEffect.h"

#include <filesystem>
#include <fstream>
#include <ios>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

const char kSavePresetTitle[] = "Save Preset...";

namespace {

const char kHeaderExtension[] = ".h";

bool isExported(IEditController* controller, int32 index, ParamID& id) {
    ParameterInfo info{};
    if (controller->getParameterInfo(index, info) == kResultFalse)
        return false;
    id = info.id;
    return id != kMasterBypassId && id != kProgramId && id != kGlobalLinkId &&
           (info.flags & ParameterInfo::kIsReadOnly) == 0;
}

} // namespace

std::string patchSourcePath(const std::string& chosen) {
    if (chosen.rfind(kHeaderExtension) == std::string::npos)
        return chosen + kHeaderExtension;
    return chosen;
}

std::string patchName(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t extension = name.rfind(kHeaderExtension);
    if (extension != std::string::npos)
        name.erase(extension);
    return name;
}

std::string patchIdentifier(const std::string& name) {
    std::string id = name;
    for (char& c : id) {
        switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case '.':
        case ',':
        case '-':
        case '+':
        case '!':
        case '$':
            c = '_';
            break;
        default:
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return id;
}

void writePatchSource(std::ostream& out, IEditController* controller, const std::string& name) {
    int32 count = controller->getParameterCount();
    int32 written = 0;
    for (int32 i = 0; i < count; ++i) {
        ParamID id;
        if (isExported(controller, i, id))
            ++written;
    }
    out << "// Auto-generated patch for " << kVendorName << " " << kProductName << "\n";
    out << "\n";
    out << "static const struct SorvLib::Patch<" << written + 1 << "> _" << patchIdentifier(name)
        << " =\n";
    out << "{\n";
    out << "\t\"" << name << "\",\n";
    out << "\t{\n";
    // Hexadecimal from the first row on: only the ids are integers after this point.
    out << std::hex;
    for (int32 i = 0; i < count; ++i) {
        ParamID id;
        if (!isExported(controller, i, id))
            continue;
        out << "\t\t{ 0x" << id << ", " << static_cast<float>(controller->getParamNormalized(id))
            << " },\n";
    }
    out << "\t\t{ 0xffffffff, -1.f }\n";
    out << "\t}\n";
    out << "};\n";
    out << "\n";
}

void exportPatchSource(VSTGUI::CFrame* frame, SorvEffect* effect) {
    if (!effect)
        return;
    VSTGUI::SharedPointer<VSTGUI::CNewFileSelector> selector = VSTGUI::makeOwned(
        VSTGUI::CNewFileSelector::create(frame, VSTGUI::CNewFileSelector::kSelectSaveFile));
    if (!selector)
        return;
    selector->addFileExtension(
        VSTGUI::CFileExtension("Sorv Audio Labs Preset Patch", "h", "", 0, ""));
    selector->setTitle(kSavePresetTitle);
    if (!selector->runModal())
        return;
    const char* chosen = selector->getSelectedFile(0);
    if (!chosen || !*chosen)
        return;
    writePatchSourceFile(patchSourcePath(chosen), effect);
}

bool writePatchSourceFile(const std::string& path, IEditController* controller) {
    // Text mode: the platform's line ends.
    std::ofstream file(std::filesystem::u8path(path), std::ios::out | std::ios::trunc);
    if (!file)
        return false;
    writePatchSource(file, controller, patchName(path));
    return true;
}

} // namespace SorvLib
