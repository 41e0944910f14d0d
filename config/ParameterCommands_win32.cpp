#include "config/ParameterCommands.h"

#include "common/ConsoleCommands.h"
#include "config/ParameterContext.h"
#include "config/ParameterExport.h"
#include "config/ParameterImport.h"
#include "platform/Console_win32.h"
#include "platform/Platform.h"
#include "platform/System_win32.h"

namespace {

template <class Command> ConsoleCommand WithContext(Command command)
{
    return [command](const std::wstring& value) {
        const PlatformServices& platform = GetPlatform();
        ParameterContext context{*platform.registry, *platform.profile,  *platform.files, *platform.ansi,
                                 *platform.console,  CurrentDirectory(), ToConsoleText};
        return command(context, value);
    };
}

} // namespace

void AddParameterCommands(ConsoleCommands& commands)
{
    commands.exportParameters = WithContext(ExportParameters);
    commands.importParameters = WithContext(ImportParameters);
}
