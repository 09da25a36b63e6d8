#pragma once
// The factory patches as VST 3 preset files: written on the first load of the VST 3 module that
// creates the product's preset folder, so that hosts list them before the effect is ever opened.
// Main thread, during module start.

#include "vst2/AEffect.h"

#include "pluginterfaces/base/ibstream.h"

#include <string>

namespace SorvLib {

// Runs at most once per process, and writes only when this load created the product folder.
void exportFactoryPresets();

// The host callback the export hosts the effect with: a VST 2.4 host named
// "SorvPresetExtractor".
VstIntPtr presetExportHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

// Platform layer: the text behind the last "." of the module's file path, or empty.
std::string getModuleExtension();
// Platform layer: true only when this call created the folder (UTF-8 path; mode unused on
// Windows).
bool makeDirectory(const std::string& path, int mode);
// Platform layer: the file at a UTF-8 path, created or truncated, as the SDK's file stream; null
// when it cannot be opened.
Steinberg::IBStream* createPresetFile(const std::string& path);

} // namespace SorvLib
