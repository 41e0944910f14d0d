#include "app/ConsoleDispatcher.h"

#include "platform/Console.h"

#include <cstdio>

const char kHelpBanner[] = "\n"
                           "*******************************COMMAND LINE OPTIONS**************************\n"
                           "  -h help information\n"
                           "  -e <filename> name of export ini file.Sample:[PelnoCpl -e d:\\PelnoCpl.ini]\n"
                           "  -i <filename> name of import ini file.Sample:[PelnoCpl -i d:\\PelnoCpl.ini]\n"
                           "  -u <filename> name of update bin file.Sample:[PelnoCpl -u d:\\PelnoCpl.bin]\n"
                           "  For more information,please see the usermanual\n"
                           "*****************************************************************************\n"
                           "Press any key to continue......";

const char kAlreadyRunningLine[] = "The TouchScreen Control Panel is already running: nothing was done.\n";

namespace {

const wchar_t* const kCommandNames[] = {L"e", L"export", L"i", L"import",   L"u", L"update",
                                        L"l", L"list",   L"d", L"diagnose", L"r", L"refit"};

// The first of the names present in the table.
const wchar_t* FindAny(const CCommandLineInfoEx& commandLine, std::initializer_list<const wchar_t*> names)
{
    for (const wchar_t* name : names)
        if (commandLine.Find(name))
            return name;
    return nullptr;
}

int PrintTestLines(IConsole& console)
{
    for (int i = 0; i < 10; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "test line %d\n", i);
        console.Write(line);
    }
    return 0;
}

} // namespace

bool NamesConsoleCommand(const CCommandLineInfoEx& commandLine)
{
    for (const wchar_t* name : kCommandNames)
        if (commandLine.Find(name))
            return true;
    return false;
}

DispatchResult DispatchWhileAnotherRuns(const CCommandLineInfoEx& commandLine, IConsole& console)
{
    // The option summary wins over any command, as it does in a first instance.
    if (!FindAny(commandLine, {L"?", L"help", L"h"}) && NamesConsoleCommand(commandLine)) {
        console.Write(kAlreadyRunningLine);
        return {true, 1};
    }
    return DispatchConsoleCommand(commandLine, console, ConsoleCommands{});
}

DispatchResult DispatchConsoleCommand(const CCommandLineInfoEx& commandLine, IConsole& console,
                                      const ConsoleCommands& commands)
{
    // "h" is listed by the banner itself, so it shows the banner too.
    if (FindAny(commandLine, {L"?", L"help", L"h"})) {
        console.Write(kHelpBanner);
        return {true, 0};
    }
    struct Entry {
        const wchar_t* name;
        const wchar_t* longName;
        const ConsoleCommand& command;
        // A flag without a value reads "TRUE": the export takes that for
        // a file name too short to use; the others would look for a file
        // named TRUE.
        bool needsFileName;
        const char* valueName = "file name";
    };
    const Entry entries[] = {
        {L"e", L"export", commands.exportParameters, false},
        {L"i", L"import", commands.importParameters, true},
        {L"u", L"update", commands.updateFirmware, true},
        {L"l", L"list", commands.listTouchScreens, false},
        {L"d", L"diagnose", commands.diagnoseTouchScreens, true, "folder name"},
        {L"r", L"refit", commands.refitCalibrations, false},
    };
    for (const Entry& entry : entries) {
        const wchar_t* found = FindAny(commandLine, {entry.name, entry.longName});
        if (!found || !entry.command)
            continue;
        if (entry.needsFileName && !commandLine.HasValue(found)) {
            std::wstring option = found;
            console.Write("\nThe option -" + std::string(option.begin(), option.end()) + " needs a " + entry.valueName +
                          "!\n");
            return {true, 1};
        }
        return {true, entry.command(*commandLine.Find(found))};
    }
    if (FindAny(commandLine, {L"t", L"test"}))
        return {true, PrintTestLines(console)};
    return {false, 0};
}
