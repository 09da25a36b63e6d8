#pragma once
// Reads the parameter settings typed on the command line, strictly and the same way whichever
// plug-in interface the host loads the effect through. A value is a number in the parameter's
// units within its range (on one of its steps if it has steps), or for a list one of the texts
// the effect shows for its steps; anything else is refused with one line naming the parameter.
// The effects' own text parsers are lenient (they read "7abc" as 7 and clamp 11 to 10), so
// they are never asked to judge what was typed.

#include "CommandLine.h"
#include "RenderHost.h"

#include <string>
#include <vector>

namespace SorvTools {

// A number written the way the effect shows its values: an ASCII sign, digits with at most one
// decimal point, then the units as the effect spells them, if any ("7", "-0.5", "30 ms",
// "30ms"). No exponent, decimal comma, other units or words. A number too long for a double
// comes back infinite.
bool readPlainNumber(const std::string& text, const std::string& units, double& value);

// What the reader asks the host about a parameter's values.
class SettingReader {
public:
    virtual ~SettingReader() = default;

    // Checks each setting against the host's parameters and converts it to a normalized value.
    // Throws HostError at the first bad one.
    std::vector<ResolvedSetting> read(const RenderHost& host,
                                      const std::vector<ParameterSetting>& settings);

protected:
    // The parameter with its plain range and steps as the host can tell them.
    virtual ParameterDescription describe(const ParameterDescription& parameter) {
        return parameter;
    }
    // For a plain value within the parameter's range.
    virtual double toNormalized(const ParameterDescription& parameter, double plain) = 0;
    // Asked only of parameters with steps.
    virtual double toPlain(const ParameterDescription& parameter, double normalized) = 0;
    // The texts a list parameter shows for its steps, in step order (a step without a text
    // keeps its place with an empty one); empty for other parameters.
    virtual std::vector<std::string> stepTexts(const ParameterDescription& parameter) = 0;
};

} // namespace SorvTools
