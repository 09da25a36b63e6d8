// quor-render's command line: what each form means and which mistakes it refuses.

#include "ArgumentParser.h"
#include "UsageError.h"

#include <gtest/gtest.h>

using namespace SorvTools;

namespace {

CommandLine parse(std::vector<std::string> args) {
    return ArgumentParser::parse(args);
}

std::string refusal(std::vector<std::string> args) {
    try {
        ArgumentParser::parse(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

#define EXPECT_REFUSED(args, words) EXPECT_PRED_FORMAT2(testing::IsSubstring, words, refusal args)

TEST(ArgumentParser, RenderTakesFilesThenSettingsInOrder) {
    const CommandLine line =
        parse({"in.wav", "out.wav", "Fx Mix=7", " Pre-Delay = 30 ", "--set", "Tone=2", "--double",
               "--block=256", "--module", "x/QUOR-515.vst3", "--same-encoding"});
    ASSERT_EQ(line.command, Command::Render);
    const RenderOptions& r = line.render;
    EXPECT_EQ(r.input, "in.wav");
    EXPECT_EQ(r.output, "out.wav");
    EXPECT_EQ(r.module, "x/QUOR-515.vst3");
    EXPECT_EQ(r.precision, Precision::Float64);
    EXPECT_EQ(r.blockSize, 256);
    EXPECT_TRUE(r.sameEncoding);
    ASSERT_EQ(r.parameters.size(), 3u);
    EXPECT_EQ(r.parameters[0].title, "Fx Mix");
    EXPECT_EQ(r.parameters[0].value, "7");
    EXPECT_EQ(r.parameters[1].title, "Pre-Delay");
    EXPECT_EQ(r.parameters[1].value, "30");
    EXPECT_EQ(r.parameters[2].title, "Tone");
}

TEST(ArgumentParser, RenderDefaultsToFloatBlocksOf512AndFloatOutput) {
    const RenderOptions r = parse({"a.wav", "b.wav"}).render;
    EXPECT_EQ(r.precision, Precision::Float32);
    EXPECT_EQ(r.blockSize, 512);
    EXPECT_FALSE(r.sameEncoding);
    EXPECT_TRUE(r.module.empty());
    EXPECT_TRUE(r.parameters.empty());
    EXPECT_EQ(parse({"--precision", "double", "a", "b", "--float"}).render.precision,
              Precision::Float32);
    // After "--" a leading dash is part of a name.
    EXPECT_EQ(parse({"--", "-in.wav", "b.wav"}).render.input, "-in.wav");
}

TEST(ArgumentParser, RefusesBadRenderArguments) {
    EXPECT_REFUSED(({}), "expected an input and an output");
    EXPECT_REFUSED(({"in.wav"}), "expected an input and an output");
    EXPECT_REFUSED(({"in.wav", "out.wav", "Fx Mix"}), "is not a parameter setting");
    EXPECT_REFUSED(({"in.wav", "out.wav", "=7"}), "needs a parameter title and a value");
    EXPECT_REFUSED(({"in.wav", "out.wav", "Tone="}), "needs a parameter title and a value");
    EXPECT_REFUSED(({"in.wav", "out.wav", "Tone=1", "--set", "Tone=2"}),
                   "\"Tone\" is set more than once");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--block", "0"}),
                   "--block takes a whole number from 1 to 65536");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--block", "65537"}), "--block");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--block", "12.5"}), "--block");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--block"}), "--block needs a value");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--precision", "half"}),
                   "--precision takes float or double");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--double=yes"}), "--double takes no value");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--fast"}), "unknown option --fast");
    EXPECT_REFUSED(({"in.wav", "out.wav", "--seconds", "2"}), "--seconds belongs to --synth");
}

TEST(ArgumentParser, SynthTakesItsOwnOptions) {
    const CommandLine line = parse({"--synth", "t.wav", "--seconds", "0.5", "--rate", "48000",
                                    "--channels=1", "--encoding", "float"});
    ASSERT_EQ(line.command, Command::Synthesize);
    EXPECT_EQ(line.synth.output, "t.wav");
    EXPECT_EQ(line.synth.seconds, 0.5);
    EXPECT_EQ(line.synth.sampleRate, 48000u);
    EXPECT_EQ(line.synth.channels, 1);
    EXPECT_EQ(line.synth.encoding, SampleEncoding::Float32);

    const SynthOptions defaults = parse({"--synth", "t.wav"}).synth;
    EXPECT_EQ(defaults.seconds, 2.0);
    EXPECT_EQ(defaults.sampleRate, 44100u);
    EXPECT_EQ(defaults.channels, 2);
    EXPECT_EQ(defaults.encoding, SampleEncoding::Pcm24);

    EXPECT_REFUSED(({"--synth", "t.wav", "--seconds", "0"}), "--seconds takes a number above 0");
    EXPECT_REFUSED(({"--synth", "t.wav", "--seconds", "nan"}), "--seconds");
    EXPECT_REFUSED(({"--synth", "t.wav", "--rate", "999"}),
                   "--rate takes a whole number from 1000");
    EXPECT_REFUSED(({"--synth", "t.wav", "--channels", "9"}),
                   "--channels takes a whole number from 1 to 8");
    EXPECT_REFUSED(({"--synth", "t.wav", "--encoding", "pcm8"}), "--encoding takes pcm16");
    EXPECT_REFUSED(({"--synth", "t.wav", "--block", "64"}), "--block belongs to rendering");
    EXPECT_REFUSED(({"--synth", "t.wav", "in.wav"}), "unexpected argument \"in.wav\"");
    EXPECT_REFUSED(({"--synth", "t.wav", "--module", "m.vst3"}), "--module belongs to rendering");
}

TEST(ArgumentParser, ListAndHelp) {
    const CommandLine list = parse({"--list", "--module", "m.vst3"});
    EXPECT_EQ(list.command, Command::ListParameters);
    EXPECT_EQ(list.render.module, "m.vst3");
    EXPECT_REFUSED(({"--list", "--synth", "t.wav"}), "cannot be combined");
    EXPECT_REFUSED(({"--list", "in.wav"}), "unexpected argument");

    // Help wins over everything else, even mistakes elsewhere on the line.
    EXPECT_EQ(parse({"in.wav", "--help"}).command, Command::Help);
    EXPECT_EQ(parse({"-h", "--seconds", "3"}).command, Command::Help);
    const std::string help = ArgumentParser::helpText();
    for (const char* word : {"--synth", "--block", "--precision", "--same-encoding", "32-bit float",
                             "Fx Mix=7", ".partial", "--list", "--module"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

} // namespace
