// The patch source writer: its path, name and identifier rules, the exact text for the
// product's parameters, the rows it leaves out, a round trip of the text through the factory
// patch reader, and the export as a main menu entry with the save dialog.

#include "editor/EditorFixture.h"

#include "core/CoreIds.h"
#include "editor/SorvPatchExport.h"
#include "editor/SorvToolbar.h"
#include "support/EffectFixture.h"
#include "support/NativeWindows.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;

namespace {

std::string source(IEditController* controller, const std::string& name) {
    std::ostringstream out;
    writePatchSource(out, controller, name);
    return out.str();
}

// The rows of a written text read back into a patch record.
Patch<8> parse(const std::string& text, const std::string& name) {
    Patch<8> patch = {};
    name.copy(patch.name, sizeof patch.name - 1);
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        unsigned id;
        float value;
        if (std::sscanf(line.c_str(), "\t\t{ 0x%x, %f", &id, &value) == 2)
            patch.rows[n++] = {id, value};
    }
    return patch;
}

} // namespace

TEST(SorvPatchExport, PathNameAndIdentifierRules) {
    const struct {
        const char* chosen;
        const char* path;
        const char* name;
        const char* identifier;
    } cases[] = {
        {"preset", "preset.h", "preset", "PRESET"},
        {"a.hold\\x", "a.hold\\x", "x", "X"},
        {"/patches/My Room.h", "/patches/My Room.h", "My Room", "MY_ROOM"},
        {"C:\\patches\\Big Hall 2.0!", "C:\\patches\\Big Hall 2.0!.h", "Big Hall 2.0!",
         "BIG_HALL_2_0_"},
        {"d/x.h/Tab\tand,more-+$", "d/x.h/Tab\tand,more-+$", "Tab\tand,more-+$", "TAB_AND_MORE___"},
        {"/a\\b/caf\xC3\xA9.h.h", "/a\\b/caf\xC3\xA9.h.h", "caf\xC3\xA9.h", "CAF\xC3\xA9_H"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        std::string path = patchSourcePath(c.chosen);
        EXPECT_EQ(path, c.path);
        EXPECT_EQ(patchName(path), c.name);
        EXPECT_EQ(patchIdentifier(patchName(path)), c.identifier);
    }
}

TEST(SorvPatchExport, WritesTheProductsFiveParametersExactly) {
    OpenEditor editor;
    const std::pair<ParamID, double> values[] = {{kPowerId, 1.0},
                                                 {kFxLimiterId, 0.25},
                                                 {kFxMixId, 0.5},
                                                 {kToneId, 0.123456789},
                                                 {kPreDelayId, 0.00001}};
    for (const auto& v : values)
        editor.effect->setParamNormalized(v.first, v.second);
    EXPECT_EQ(source(editor.effect, "My Room"),
              "// Auto-generated patch for Sorv Audio Labs QUOR-515\n"
              "\n"
              "static const struct SorvLib::Patch<6> _MY_ROOM =\n"
              "{\n"
              "\t\"My Room\",\n"
              "\t{\n"
              "\t\t{ 0x506f7772, 1 },\n"
              "\t\t{ 0x45664c6d, 0.25 },\n"
              "\t\t{ 0x45664d78, 0.5 },\n"
              "\t\t{ 0x546f6e65, 0.123457 },\n"
              "\t\t{ 0x50726564, 1e-05 },\n"
              "\t\t{ 0xffffffff, -1.f }\n"
              "\t}\n"
              "};\n"
              "\n");
}

TEST(SorvPatchExport, LeavesOutFrameworkAndReadOnlyRowsAndReadsBack) {
    // Under the VST 2 wrapper the test effect has "Master Bypass", the program list, a
    // continuous, a ten-step and a read-only parameter: two rows are written.
    EffectFixture written(WrapperKind::Vst2);
    written->setParamNormalized(kLevelId, 0.3);
    written->setParamNormalized(kStepsId, 0.7);
    std::string text = source(written.effect, "Back");
    EXPECT_NE(text.find("SorvLib::Patch<3> _BACK"), std::string::npos);
    Patch<8> parsed = parse(text, "Back");
    EXPECT_EQ(parsed.rows[2].id, kPatchEndId);
    const Patch<1> other = {"Other", {{kPatchEndId, -1.0f}}};
    const PatchRef list[] = {&other, &parsed, nullptr};
    EffectFixture loaded(WrapperKind::Vst2, list);
    ASSERT_EQ(loaded->setParamNormalized(kProgramId, 1.0), kResultOk);
    EXPECT_EQ(loaded->getParamNormalized(kLevelId), float(0.3));
    EXPECT_EQ(loaded->getParamNormalized(kStepsId), written->getParamNormalized(kStepsId));

    // Nothing but excluded rows: the patch is the end row alone.
    struct OnlyExcluded : EditController {
        OnlyExcluded() {
            parameters.addParameter(STR16("Master Bypass"), nullptr, 1, 0, 0, kMasterBypassId);
            parameters.addParameter(STR16("Meter"), nullptr, 0, 0, ParameterInfo::kIsReadOnly,
                                    kMeterId);
        }
    };
    auto* controller = new OnlyExcluded;
    EXPECT_EQ(source(controller, "x"),
              "// Auto-generated patch for Sorv Audio Labs QUOR-515\n\n"
              "static const struct SorvLib::Patch<1> _X =\n{\n\t\"x\",\n\t{\n"
              "\t\t{ 0xffffffff, -1.f }\n\t}\n};\n\n");
    controller->release();
}

// The text the writer gives for the test effect at Levl 0.3 and Step 0.7 under the name
// PastedPatch, kept as it was written and compiled here the way a sound designer pastes it.
#include "PastedPatch.h"

TEST(SorvPatchExport, WrittenTextCompilesAndLoadsAsAProgram) {
    EffectFixture written(WrapperKind::Vst2);
    written->setParamNormalized(kLevelId, 0.3);
    written->setParamNormalized(kStepsId, 0.7);
    std::ifstream file(SORV_PASTED_PATCH, std::ios::binary);
    ASSERT_TRUE(file.good());
    const std::string pasted{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(source(written.effect, "PastedPatch"), pasted);

    // In one list with a patch of another length, reached by its program.
    static const Patch<1> other = {"Other", {{kPatchEndId, -1.0f}}};
    const PatchRef list[] = {&other, &_PASTEDPATCH, nullptr};
    EffectFixture loaded(WrapperKind::Vst2, list);
    String128 title = {};
    ASSERT_EQ(loaded->getProgramName(kProgramId, 1, title), kResultTrue);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(title)), u"02 PastedPatch");
    ASSERT_EQ(loaded->setParamNormalized(kProgramId, 1.0), kResultOk);
    EXPECT_EQ(loaded->getParamNormalized(kLevelId), float(0.3));
    EXPECT_EQ(loaded->getParamNormalized(kStepsId), written->getParamNormalized(kStepsId));
}

TEST(SorvPatchExport, RunsFromAMainMenuEntryWithTheSaveDialog) {
    OpenEditor editor;
    editor.effect->setParamNormalized(kFxMixId, 0.75);
    SorvToolbar* toolbar = editor.view->getToolbar();
    toolbar->getMainMenu()->addEntry(kSavePresetTitle);
    std::string folder = ::testing::TempDir();
    std::string chosen = folder + "quor-export-" + std::to_string(::getpid());
    std::remove((chosen + ".h").c_str());
    menuChoice() = [](COptionMenu* shown, COptionMenu*& menu, int32& index) {
        menu = shown;
        index = 2;
        return true;
    };
    fileChoice().clear(); // the user cancels
    editor.mouseDown(10, 479, kLButton);
    EXPECT_EQ(lastFileDialog().title, "Save Preset...");
    EXPECT_EQ(lastFileDialog().extension, "h");
    EXPECT_FALSE(std::ifstream(chosen + ".h").good());
    fileChoice() = chosen;
    editor.mouseDown(10, 479, kLButton);
    std::ifstream file(chosen + ".h", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), {}};
    std::string name = patchName(chosen);
    EXPECT_EQ(text, source(editor.effect, name));
    EXPECT_NE(text.find("\t\t{ 0x45664d78, 0.75 },\n"), std::string::npos);
    // A choice in a submenu is no main menu command.
    fileChoice() = chosen;
    std::remove((chosen + ".h").c_str());
    menuChoice() = [](COptionMenu* shown, COptionMenu*& menu, int32& index) {
        menu = shown->getEntry(1)->getSubmenu();
        index = 1;
        return true;
    };
    editor.mouseDown(10, 479, kLButton);
    EXPECT_FALSE(std::ifstream(chosen + ".h").good());
    menuChoice() = nullptr;
    fileChoice().clear();
}
