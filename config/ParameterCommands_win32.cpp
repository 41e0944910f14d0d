#include "config/ParameterCommands.h"

#include "app/ConsoleDispatcher.h"
#include "config/ParameterContext.h"
#include "config/ParameterExport.h"
#include "config/ParameterImport.h"
#include "platform/Platform.h"

#include <windows.h>

namespace {

std::wstring CurrentDirectory()
{
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    DWORD length = GetCurrentDirectoryW(size, directory.data());
    directory.resize(length < size ? length : 0);
    return directory;
}

std::string ToAnsi(std::wstring_view text)
{
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

template <class Command> ConsoleCommand WithContext(Command command)
{
    return [command](const std::wstring& value) {
        const PlatformServices& platform = GetPlatform();
        ParameterContext context{*platform.registry, *platform.profile, *platform.console, CurrentDirectory(), ToAnsi};
        return command(context, value);
    };
}

} // namespace

void AddParameterCommands(ConsoleCommands& commands)
{
    commands.exportParameters = WithContext(ExportParameters);
    commands.importParameters = WithContext(ImportParameters);
}
