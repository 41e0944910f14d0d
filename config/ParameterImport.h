#pragma once
// Console option -i: checks every value of an .ini file of the export's
// layout and writes it into the driver service's registry key.

#include <string>

struct ParameterContext;

// Returns the exit code: 0 when every value was stored, 1 otherwise.
int ImportParameters(ParameterContext& context, const std::wstring& value);
