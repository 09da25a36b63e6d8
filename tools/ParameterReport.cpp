#include "ParameterReport.h"

#include <cstdio>

namespace SorvTools {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

} // namespace

void printParameterTable(RenderHost& host, std::ostream& out) {
    out << host.description() << "\n";
    for (const ParameterDescription& p : host.parameters()) {
        std::string line = "  " + padded("\"" + p.title + "\"", 18);
        line += padded(number(p.minPlain) + " to " + number(p.maxPlain) +
                           (p.units.empty() ? "" : " " + p.units),
                       20);
        if (p.readOnly()) {
            line += "read-only";
        } else {
            line += "default " + host.displayValue(p.id, p.defaultNormalized);
            if (p.stepCount > 0)
                line += ", " + std::to_string(p.stepCount + 1) + " steps";
        }
        out << line << "\n";
    }
}

void printParameterValues(RenderHost& host, std::ostream& out) {
    for (const ParameterDescription& p : host.parameters())
        if (!p.readOnly())
            out << "  " << padded(p.title, 16) << host.displayValue(p.id) << "\n";
}

} // namespace SorvTools
