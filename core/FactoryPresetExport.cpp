#include "core/FactoryPresetExport.h"

#include "vst2wrapper/Vst2Entry.h"
#include "vst2/AudioEffect.h"
#include "core/ClassFactory.h"
#include "core/IUtils.h"
#include "core/ProductInfo.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstring>
#include <memory>

namespace SorvLib {

namespace {

constexpr const char* kExporterName = "SorvPresetExtractor";
constexpr VstInt32 kExporterHostVersion = 2400;
constexpr int kFolderMode = 0x1F6;
constexpr size_t kChunkHeaderBytes = 16;
constexpr const char* kPresetExtension = ".vstpreset";

// Module start runs on one thread at a time.
int exportCalls = 0;

int64_t readInt64(const char* at) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= uint64_t(static_cast<unsigned char>(at[i])) << (8 * i);
    return static_cast<int64_t>(value);
}

void writePreset(AudioEffect* effect, const std::string& folder, const std::string& separator) {
    char name[kVstMaxProgNameLen + 1] = {};
    effect->getProgramName(name);
    void* data = nullptr;
    const VstInt32 size = effect->getChunk(&data, false);
    if (size < static_cast<VstInt32>(kChunkHeaderBytes) || !data)
        return;
    const char* bytes = static_cast<const char*>(data);
    const int64_t componentSize = readInt64(bytes);
    const int64_t controllerSize = readInt64(bytes + 8);
    const int64_t room = size - static_cast<int64_t>(kChunkHeaderBytes);
    if (componentSize < 0 || controllerSize < 0 || componentSize > room ||
        controllerSize > room - componentSize)
        return;
    Steinberg::MemoryStream component(const_cast<char*>(bytes) + kChunkHeaderBytes,
                                      static_cast<Steinberg::TSize>(componentSize));
    Steinberg::MemoryStream controller(const_cast<char*>(bytes) + kChunkHeaderBytes + componentSize,
                                       static_cast<Steinberg::TSize>(controllerSize));

    const std::string path = folder + separator + name + kPresetExtension;
    Steinberg::IBStream* file = createPresetFile(path);
    if (!file)
        return;
    Steinberg::Vst::PresetFile::savePreset(file, kProcessorUID, &component, &controller, nullptr,
                                           -1);
    file->release();
}

} // namespace

VstIntPtr presetExportHostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                   float) {
    if (opcode == audioMasterVersion)
        return kExporterHostVersion;
    if (opcode == audioMasterGetProductString && ptr) {
        std::strncpy(static_cast<char*>(ptr), kExporterName, kVstMaxProductStrLen);
        return 1;
    }
    return 0;
}

namespace {

void exportOnce() {
    if (getModuleExtension() != "vst3")
        return;
    IUtils* utils = getUtils();
    const std::string separator = utils->pathSeparator();
    const std::string root = utils->getFolder(FolderKind::UserPresets);
    if (root.empty())
        return;
    const std::string maker = root + kVendorName;
    const std::string product = maker + separator + kProductName;
    makeDirectory(root, kFolderMode);
    makeDirectory(maker, kFolderMode);
    if (!makeDirectory(product, kFolderMode))
        return;

    AEffect* record = VSTPluginMain(presetExportHostCallback);
    if (!record || !record->object)
        return;
    auto* effect = static_cast<AudioEffect*>(record->object);
    // Deleted however the export ends; its end balances the module start of the entry.
    std::unique_ptr<AudioEffect> owner(effect);

    effect->open();
    effect->resume();
    const VstInt32 programs = effect->getAeffect()->numPrograms;
    for (VstInt32 program = 0; program < programs; ++program) {
        // The program's values are the effect's when setProgram returns.
        effect->setProgram(program);
        writePreset(effect, product, separator);
    }
    effect->suspend();
    effect->close();
}

} // namespace

void exportFactoryPresets() {
    if (exportCalls++ != 0)
        return;
    // Runs inside the host's call of a module entry: nothing may escape.
    try {
        exportOnce();
    } catch (...) {
    }
}

} // namespace SorvLib
