#pragma once
// What the parameter export and import work with: the registry, the
// profile files, whole files and the ANSI code page, the console, the
// process's current directory and the conversion of names into console text.

#include <functional>
#include <string>
#include <string_view>

class IAnsiCodePage;
class IConsole;
class IFileStore;
class IProfile;
class IRegistry;

struct ParameterContext {
    IRegistry& registry;
    IProfile& profile;
    IFileStore& files;
    IAnsiCodePage& ansi;
    IConsole& console;
    std::wstring currentDirectory;
    // Console text of a file or section name (Win32: the ANSI code page).
    std::function<std::string(std::wstring_view)> toConsoleText;
};
