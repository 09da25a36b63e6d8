#include "SettingReader.h"

#include "HostError.h"
#include "MessageText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace SorvTools {

namespace {

// Plain values that differ by less than this (relative) count as the same step.
constexpr double kStepTolerance = 1e-9;

} // namespace

bool readPlainNumber(const std::string& text, const std::string& units, double& value) {
    std::string digits = text;
    if (!units.empty() && digits.size() > units.size() &&
        digits.compare(digits.size() - units.size(), units.size(), units) == 0) {
        digits.resize(digits.size() - units.size());
        while (!digits.empty() && digits.back() == ' ')
            digits.pop_back();
    }
    size_t i = digits.empty() || (digits[0] != '-' && digits[0] != '+') ? 0 : 1;
    bool point = false, digit = false;
    for (; i < digits.size(); ++i) {
        if (digits[i] >= '0' && digits[i] <= '9')
            digit = true;
        else if (digits[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    if (!digit)
        return false;
    value = std::strtod(digits.c_str(), nullptr);
    return true;
}

std::vector<ResolvedSetting> SettingReader::read(const RenderHost& host,
                                                 const std::vector<ParameterSetting>& settings) {
    std::vector<ResolvedSetting> resolved;
    for (const ParameterSetting& setting : settings) {
        const ParameterDescription* found = host.findParameter(setting.title);
        if (!found) {
            std::string known;
            for (const ParameterDescription& q : host.parameters())
                if (!q.readOnly())
                    known += (known.empty() ? "" : ", ") + quoted(q.title);
            throw HostError("unknown parameter " + quoted(setting.title) + " (the effect has " +
                            (known.empty() ? "no writable parameters" : known) + ")");
        }
        const std::string name = quoted(found->title);
        if (found->readOnly())
            throw HostError(name + " is read-only");
        for (const ResolvedSetting& earlier : resolved)
            if (earlier.id == found->id)
                throw HostError(name + " is set more than once");

        const ParameterDescription p = describe(*found);
        const double low = std::min(p.minPlain, p.maxPlain);
        const double high = std::max(p.minPlain, p.maxPlain);
        const std::string range =
            number(low) + " to " + number(high) + (p.units.empty() ? "" : " " + p.units);
        double plain = 0.0;
        double normalized = -1.0;
        if (readPlainNumber(setting.value, p.units, plain)) {
            if (!std::isfinite(plain) || plain < low || plain > high)
                throw HostError(name + " = " + setting.value + " is out of range (" + range + ")");
            normalized = toNormalized(p, plain);
            if (p.stepCount > 0) {
                const double back = toPlain(p, normalized);
                if (std::fabs(back - plain) > kStepTolerance * std::max(1.0, std::fabs(plain)))
                    throw HostError(name + " = " + setting.value + " is not one of its " +
                                    std::to_string(p.stepCount + 1) + " steps (" + range + ")");
            }
        } else {
            const std::vector<std::string> texts = stepTexts(p);
            for (size_t step = 0; step < texts.size() && normalized < 0.0; ++step)
                if (!texts[step].empty() && sameIgnoringCase(texts[step], setting.value))
                    normalized = double(step) / double(p.stepCount);
            if (normalized < 0.0) {
                std::string choices;
                for (const std::string& shown : texts)
                    if (!shown.empty())
                        choices += (choices.empty() ? "" : ", ") + shown;
                if (!choices.empty())
                    throw HostError(name + " = " + quoted(setting.value) +
                                    " is not a value of it (" + choices + ")");
                throw HostError(name + " = " + quoted(setting.value) + " is not a number" +
                                (p.units.empty() ? "" : " in " + p.units) + " (" + range + ")");
            }
        }
        if (!(normalized >= 0.0 && normalized <= 1.0))
            throw HostError(name + " = " + setting.value + " is out of range (" + range + ")");
        resolved.push_back({p.id, p.title, normalized});
    }
    return resolved;
}

} // namespace SorvTools
