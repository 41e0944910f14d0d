#include "diagnostics/DiagnosticsReport.h"

#include "platform/AnsiCodePage.h"
#include "platform/FileStore.h"

std::wstring DiagnosticsReportName(std::int32_t touchScreenNumber)
{
    return L"Diagnostics_" + std::to_wstring(touchScreenNumber) + L".txt";
}

std::string DiagnosticsReportBytes(const std::vector<std::wstring>& lines, IAnsiCodePage& codePage)
{
    std::string bytes;
    for (const std::wstring& line : lines) {
        if (auto encoded = codePage.Encode(line)) {
            bytes += *encoded;
        } else {
            for (wchar_t c : line)
                bytes += codePage.Encode(std::wstring_view(&c, 1)).value_or("?");
        }
        bytes += "\r\n";
    }
    return bytes;
}

SeamResult WriteDiagnosticsReport(IFileStore& files, const std::wstring& path, const std::string& bytes)
{
    const NewFileOutcome created = files.Create(path, bytes);
    switch (created.result) {
    case NewFileResult::Written:
        return {};
    case NewFileResult::AlreadyExists:
        return files.Replace(path, bytes);
    case NewFileResult::Failed:
        break;
    }
    return created.error;
}
