#include "Renderer.h"

#include "EffectHost.h"
#include "FileIdentity.h"
#include "HostError.h"
#include "ParameterReport.h"
#include "WavError.h"
#include "WavReader.h"
#include "WavWriter.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace SorvTools {

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string channelsName(int channels) {
    return channels == 1   ? "mono"
           : channels == 2 ? "stereo"
                           : std::to_string(channels) + " channels";
}

std::string describe(const std::string& path, SampleEncoding encoding, uint32_t rate, int channels,
                     uint64_t frames) {
    return path + ": " + encodingName(encoding) + ", " + std::to_string(rate) + " Hz, " +
           channelsName(channels) + ", " + std::to_string(frames) + " frames (" +
           format("%.3f", double(frames) / double(rate)) + " s)";
}

std::string decibels(double level) {
    return level > 0.0 ? format("%.1f dBFS", 20.0 * std::log10(level)) : "silent";
}

} // namespace

Renderer::Renderer(const RenderOptions& options, std::ostream& report)
    : options(options), report(report) {}

RenderSummary Renderer::run(Steinberg::IPluginFactory* factory) {
    EffectHost host(factory);
    return run(host);
}

RenderSummary Renderer::run(RenderHost& host) {
    RenderSummary summary;
    const std::filesystem::path inputPath = std::filesystem::u8path(options.input);
    const std::filesystem::path outputPath = std::filesystem::u8path(options.output);
    // By identity, not by name: the same file may be named in many ways.
    FileIdentity inputFile, outputFile;
    if (FileIdentity::of(inputPath, inputFile) && FileIdentity::of(outputPath, outputFile) &&
        inputFile == outputFile)
        throw WavError(options.output + ": is the input file; write the output to another file");
    auto reader = std::make_unique<WavReader>(inputPath);
    const WavFormat input = reader->format();
    summary.input = input;
    if (input.channels > 2)
        throw WavError(options.input + ": has " + std::to_string(input.channels) +
                       " channels; the effect takes mono or stereo");
    report << "input       "
           << describe(options.input, input.encoding, input.sampleRate, input.channels,
                       input.frames)
           << (input.extensible ? " (WAVE_FORMAT_EXTENSIBLE)" : "") << "\n";

    report << "effect      " << host.description() << "\n";
    const std::vector<ResolvedSetting> settings = host.resolve(options.parameters);
    host.configure(input.channels, double(input.sampleRate), options.precision, options.blockSize);
    host.apply(settings);
    host.start();

    const Steinberg::uint32 tail = host.tailSamples();
    summary.infiniteTail = tail == Steinberg::Vst::kInfiniteTail;
    summary.tailFrames = summary.infiniteTail
                             ? uint64_t(std::ceil(kInfiniteTailSeconds * input.sampleRate))
                             : uint64_t(tail);
    summary.outputEncoding = options.sameEncoding ? input.encoding : SampleEncoding::Float32;
    const uint64_t totalFrames = input.frames + summary.tailFrames;
    if (totalFrames > WavWriter::maxFrames(summary.outputEncoding, input.channels))
        throw WavError(options.output + ": " + std::to_string(totalFrames) +
                       " frames exceed the 4 GiB size limit of a WAV file");

    report << "processing  "
           << (options.precision == Precision::Float64 ? "64-bit double" : "32-bit float")
           << ", blocks of " << options.blockSize << " samples, " << channelsName(input.channels)
           << " in and out, offline\n";
    report << "parameters\n";
    printParameterValues(host, report);
    report << "tail        " << summary.tailFrames << " samples ("
           << format("%.3f", double(summary.tailFrames) / input.sampleRate) << " s) of silence"
           << (summary.infiniteTail ? ", as the effect reports an endless tail" : "") << "\n";

    WavWriter writer(outputPath, summary.outputEncoding, input.sampleRate, input.channels);
    if (options.precision == Precision::Float64)
        renderFrames<double>(host, *reader, writer, summary);
    else
        renderFrames<float>(host, *reader, writer, summary);
    host.stop();
    reader.reset();
    writer.finish();
    summary.framesWritten = writer.framesWritten();
    summary.clippedSamples = writer.clippedSamples();

    report << "output      "
           << describe(options.output, summary.outputEncoding, input.sampleRate, input.channels,
                       summary.framesWritten)
           << "\n";
    report << "level       peak " << decibels(summary.outputPeak) << ", tail peak "
           << decibels(summary.tailPeak) << "\n";
    if (summary.clippedSamples > 0)
        report << "warning     " << summary.clippedSamples << " samples clipped to full scale\n";

    const ParameterDescription* meter = host.findParameter(kGrMeterTitle);
    summary.grMeterReported = meter && host.outputPeak(meter->id, summary.grMeterPeak);
    if (summary.grMeterReported) {
        const double reduction = 20.0 * std::log10(1.0 - summary.grMeterPeak);
        report << "GR Meter    peak " << format("%.6f", summary.grMeterPeak) << " ("
               << (std::isfinite(reduction) ? format("%.2f dB", reduction) : "-inf dB")
               << " gain)\n";
    } else {
        report << "GR Meter    not reported by the effect\n";
    }
    return summary;
}

template <typename Sample>
void Renderer::renderFrames(RenderHost& host, WavReader& reader, WavWriter& writer,
                            RenderSummary& summary) {
    const int channels = summary.input.channels;
    const size_t block = size_t(options.blockSize);
    std::vector<double> interleaved(block * size_t(channels));
    std::vector<Sample> inputs(block * size_t(channels));
    std::vector<Sample> outputs(block * size_t(channels));
    Sample* in[2] = {inputs.data(), inputs.data() + (channels - 1) * block};
    Sample* out[2] = {outputs.data(), outputs.data() + (channels - 1) * block};

    const uint64_t inputFrames = summary.input.frames;
    const uint64_t totalFrames = inputFrames + summary.tailFrames;
    uint64_t done = 0;
    while (done < totalFrames) {
        const size_t count = size_t(std::min<uint64_t>(block, totalFrames - done));
        size_t got = 0;
        if (done < inputFrames) {
            got = size_t(reader.read(interleaved.data(), count));
            if (got == 0)
                throw WavError(options.input + ": the data ends early");
        }
        std::fill(interleaved.begin() + std::ptrdiff_t(got * size_t(channels)),
                  interleaved.begin() + std::ptrdiff_t(count * size_t(channels)), 0.0);
        for (size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                const double x = interleaved[i * size_t(channels) + size_t(c)];
                if (!std::isfinite(x))
                    throw WavError(options.input + ": sample " + std::to_string(done + i) +
                                   " of channel " + std::to_string(c + 1) + " is not finite");
                in[c][i] = Sample(x);
            }
        }
        host.process(in, out, Steinberg::int32(count));
        for (size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                const double y = double(out[c][i]);
                if (!std::isfinite(y))
                    throw HostError("the effect gave a non-finite sample at frame " +
                                    std::to_string(done + i) + "; no output written");
                summary.outputPeak = std::max(summary.outputPeak, std::fabs(y));
                if (done + i >= inputFrames)
                    summary.tailPeak = std::max(summary.tailPeak, std::fabs(y));
                interleaved[i * size_t(channels) + size_t(c)] = y;
            }
        }
        writer.write(interleaved.data(), count);
        done += count;
    }
}

} // namespace SorvTools
