#pragma once
// The diagnostics report: the list's lines as a text file, one line each,
// every line ended by CR LF, in the system's ANSI code page.

#include "platform/SeamResult.h"

#include <cstdint>
#include <string>
#include <vector>

class IAnsiCodePage;
class IFileStore;

// The name the Save As dialog proposes: "Diagnostics_<number>.txt".
std::wstring DiagnosticsReportName(std::int32_t touchScreenNumber);

// The file's bytes. A character the code page cannot hold becomes '?', as
// a text-mode write would make it.
std::string DiagnosticsReportBytes(const std::vector<std::wstring>& lines, IAnsiCodePage& codePage);

// Writes the report, replacing the whole of a file that is already there,
// so that nothing of an earlier, longer report stays behind. A failure (the
// call that failed and its code) when the file could not be written whole;
// an existing file is then left as it was.
SeamResult WriteDiagnosticsReport(IFileStore& files, const std::wstring& path, const std::string& bytes);
