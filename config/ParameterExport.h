#pragma once
// Console option -e: copies every driver and touchscreen parameter from the
// driver service's registry key into an .ini file.

#include <string>

struct ParameterContext;

// Returns the exit code: 0 when every value was written, 1 otherwise.
int ExportParameters(ParameterContext& context, const std::wstring& value);
