#pragma once
// Writes the effect's current parameter values as the source text of a factory patch, for a
// sound designer to add to a product's list of patches. Reached from a main menu entry titled
// kSavePresetTitle; this product's menu has none. Main thread only.

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <ostream>
#include <string>

namespace VSTGUI {
class CFrame;
}

namespace SorvLib {

class SorvEffect;

extern const char kSavePresetTitle[];

// The chosen path with ".h" appended unless ".h" occurs somewhere in it.
std::string patchSourcePath(const std::string& chosen);
// The file name after the last "/" (else the last "\"), cut before its last ".h".
std::string patchName(const std::string& path);
// The name with white space and . , - + ! $ made "_" and a to z upper-cased.
std::string patchIdentifier(const std::string& name);
// The source text of the patch: every parameter but the framework's own and the read-only
// ones, in the controller's index order. Lines end with "\n"; a text file makes them the
// platform's line ends.
void writePatchSource(std::ostream& out, Steinberg::Vst::IEditController* controller,
                      const std::string& name);
// Writes the text into a new or emptied text file at the UTF-8 path, with the platform's line
// ends; false when the file cannot be opened. Write errors are not reported.
bool writePatchSourceFile(const std::string& path, Steinberg::Vst::IEditController* controller);
// Asks for a file and writes the patch into it; a cancelled dialog or a file that cannot be
// opened ends it silently.
void exportPatchSource(VSTGUI::CFrame* frame, SorvEffect* effect);

} // namespace SorvLib
