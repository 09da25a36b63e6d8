#include "ArgumentParser.h"

#include "UsageError.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

namespace SorvTools {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty() || text.find_first_of(" \t") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

// A whole number in [low, high], or a UsageError naming the option.
int64_t wholeNumber(const std::string& option, const std::string& text, int64_t low, int64_t high) {
    double value = 0.0;
    if (!parseNumber(text, value) || value != std::floor(value) || value < double(low) ||
        value > double(high))
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    return int64_t(value);
}

ParameterSetting parameterSetting(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        throw UsageError("\"" + text + "\" is not a parameter setting (write Title=value)");
    ParameterSetting setting{trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
    if (setting.title.empty() || setting.value.empty())
        throw UsageError("\"" + text + "\" needs a parameter title and a value (Title=value)");
    return setting;
}

SampleEncoding encodingNamed(const std::string& name) {
    if (name == "pcm16")
        return SampleEncoding::Pcm16;
    if (name == "pcm24")
        return SampleEncoding::Pcm24;
    if (name == "pcm32")
        return SampleEncoding::Pcm32;
    if (name == "float")
        return SampleEncoding::Float32;
    throw UsageError("--encoding takes pcm16, pcm24, pcm32 or float, not \"" + name + "\"");
}

} // namespace

CommandLine ArgumentParser::parse(const std::vector<std::string>& args) {
    CommandLine line;
    RenderOptions& render = line.render;
    SynthOptions& synth = line.synth;
    bool help = false, list = false, synthesize = false;
    std::set<std::string> renderOnly, synthOnly;
    std::vector<std::string> positional;
    bool optionsEnded = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg, inlineValue;
        bool hasInlineValue = false;
        const auto equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
            hasInlineValue = true;
        }
        auto value = [&]() -> std::string {
            if (hasInlineValue)
                return inlineValue;
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value");
            return args[++i];
        };
        auto flag = [&]() {
            if (hasInlineValue)
                throw UsageError(name + " takes no value");
        };

        if (name == "-h" || name == "--help") {
            flag();
            help = true;
        } else if (name == "--list") {
            flag();
            list = true;
        } else if (name == "--module") {
            render.module = value();
        } else if (name == "--synth") {
            synth.output = value();
            synthesize = true;
        } else if (name == "--seconds") {
            double seconds = 0.0;
            const std::string text = value();
            if (!parseNumber(text, seconds) || seconds <= 0.0 || seconds > kMaxSynthSeconds)
                throw UsageError("--seconds takes a number above 0 and up to 3600, not \"" + text +
                                 "\"");
            synth.seconds = seconds;
            synthOnly.insert(name);
        } else if (name == "--rate") {
            synth.sampleRate = uint32_t(wholeNumber(name, value(), kMinSynthRate, kMaxSynthRate));
            synthOnly.insert(name);
        } else if (name == "--channels") {
            synth.channels = uint16_t(wholeNumber(name, value(), 1, kMaxSynthChannels));
            synthOnly.insert(name);
        } else if (name == "--encoding") {
            synth.encoding = encodingNamed(value());
            synthOnly.insert(name);
        } else if (name == "--block") {
            render.blockSize = int32_t(wholeNumber(name, value(), 1, kMaxBlockSize));
            renderOnly.insert(name);
        } else if (name == "--precision") {
            const std::string text = value();
            if (text == "float" || text == "32")
                render.precision = Precision::Float32;
            else if (text == "double" || text == "64")
                render.precision = Precision::Float64;
            else
                throw UsageError("--precision takes float or double, not \"" + text + "\"");
            renderOnly.insert(name);
        } else if (name == "--double" || name == "--float") {
            flag();
            render.precision = name == "--double" ? Precision::Float64 : Precision::Float32;
            renderOnly.insert(name);
        } else if (name == "--same-encoding") {
            flag();
            render.sameEncoding = true;
            renderOnly.insert(name);
        } else if (name == "--vst2") {
            flag();
            render.vst2 = true;
            renderOnly.insert(name);
        } else if (name == "--set") {
            render.parameters.push_back(parameterSetting(value()));
            renderOnly.insert(name);
        } else {
            throw UsageError("unknown option " + name + " (quor-render --help lists them)");
        }
    }

    if (help) {
        line.command = Command::Help;
        return line;
    }
    if (synthesize && list)
        throw UsageError("--synth and --list cannot be combined");
    if (!synthesize && !synthOnly.empty())
        throw UsageError(*synthOnly.begin() + " belongs to --synth");
    if (synthesize || list) {
        if (!renderOnly.empty())
            throw UsageError(*renderOnly.begin() + " belongs to rendering, not to " +
                             (synthesize ? "--synth" : "--list"));
        if (!positional.empty())
            throw UsageError("unexpected argument \"" + positional.front() + "\"");
        if (synthesize && !render.module.empty())
            throw UsageError("--module belongs to rendering, not to --synth");
        line.command = synthesize ? Command::Synthesize : Command::ListParameters;
        return line;
    }

    if (positional.size() < 2)
        throw UsageError("expected an input and an output WAV file (quor-render --help shows "
                         "the usage)");
    render.input = positional[0];
    render.output = positional[1];
    // Settings given as arguments come before those given with --set, in command-line order.
    std::vector<ParameterSetting> settings;
    for (size_t i = 2; i < positional.size(); ++i)
        settings.push_back(parameterSetting(positional[i]));
    settings.insert(settings.end(), render.parameters.begin(), render.parameters.end());
    std::set<std::string> titles;
    for (const ParameterSetting& setting : settings)
        if (!titles.insert(setting.title).second)
            throw UsageError("parameter \"" + setting.title + "\" is set more than once");
    render.parameters = settings;
    line.command = Command::Render;
    return line;
}

std::string ArgumentParser::helpText() {
    return R"(quor-render: renders a WAV file through the QUOR-515 VST 3 effect, loaded like a host does.

Usage:
  quor-render [options] INPUT.wav OUTPUT.wav ["Title=value" ...]
  quor-render --list [--module PATH]
  quor-render --synth OUTPUT.wav [--seconds S] [--rate HZ] [--channels N] [--encoding E]

Rendering:
  INPUT.wav is mono or stereo, 16, 24 or 32-bit PCM or 32-bit float (plain or
  WAVE_FORMAT_EXTENSIBLE). OUTPUT.wav has the input's rate and channels and is 32-bit
  float, so nothing clips; --same-encoding writes the input's encoding instead (PCM
  is rounded and clipped to full scale). The effect's reported tail is appended as
  silence input, so the output is longer than the input by the tail (10 s for an
  effect that reports an endless one).
  The input is never written: an OUTPUT.wav that is the input file, under any name,
  is refused. The output is written to a new file beside it (OUTPUT.wav.partial, or
  OUTPUT.wav.1.partial ... if that name is taken) and renamed when complete: a failed
  run leaves no file under the output name and changes no existing file.

  "Title=value"        set a parameter by its title in its own units, for example
                       "Fx Mix=7" "Pre-Delay=30" "Pre-Delay=30 ms" "Tone=2" "Power=Off";
                       a value that is not a plain number in the parameter's units
                       (or one of a list's texts), or is out of range, is refused
                       (quor-render --list shows the titles and ranges)
  --set "Title=value"  the same, as an option
  --precision P        float (32-bit processing, the default) or double (64-bit)
  --double, --float    short for --precision double / float
  --block N            samples per process call, 1 to 65536 (default 512)
  --same-encoding      write the input's encoding instead of 32-bit float
  --module PATH        the effect module or its .vst3 bundle folder
                       (default: QUOR-515.vst3 next to quor-render.exe)
  --vst2               load the effect through its VST 2.4 entry, as a VST 2.4 host does

Test input:
  --synth OUTPUT.wav   write a made-up test signal: a soft tone, clicks and noise bursts
  --seconds S          length in seconds (default 2)
  --rate HZ            sample rate, 1000 to 768000 (default 44100)
  --channels N         1 to 8 channels (default 2; the renderer takes 1 or 2)
  --encoding E         pcm16, pcm24 (default), pcm32 or float

Exit status: 0 done, 1 the input, the module or the effect failed, 2 bad arguments.
)";
}

} // namespace SorvTools
