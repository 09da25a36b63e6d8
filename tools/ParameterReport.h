#pragma once
// Prints the effect's parameters for --list and the values a render used.

#include "RenderHost.h"

#include <ostream>

namespace SorvTools {

// One line per parameter: title, range in plain units, default, read-only or list marks.
void printParameterTable(RenderHost& host, std::ostream& out);
// "Title = value units" for every writable parameter, as the effect shows its current value.
void printParameterValues(RenderHost& host, std::ostream& out);

} // namespace SorvTools
