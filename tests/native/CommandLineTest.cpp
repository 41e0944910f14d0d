#include "TestSeams.h"
#include "app/CommandLineInfoEx.h"
#include "app/ConsoleDispatcher.h"
#include "common/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

CCommandLineInfoEx Parse(std::vector<std::wstring> arguments)
{
    CCommandLineInfoEx info;
    info.ParseArguments(arguments);
    return info;
}

// Records which console command ran with which value.
struct CommandProbe {
    std::wstring ran;
    std::wstring value;
    ConsoleCommands Commands(int exitCode = 0)
    {
        auto make = [this, exitCode](const wchar_t* name) {
            return [this, name, exitCode](const std::wstring& v) {
                ran = name;
                value = v;
                return exitCode;
            };
        };
        return ConsoleCommands{make(L"export"), make(L"import"),   make(L"update"),
                               make(L"list"),   make(L"diagnose"), make(L"refit")};
    }
};

} // namespace

TEST(CommandLine, FlagTakesFollowingValueUnderLowerCaseName)
{
    auto info = Parse({L"-e", L"d:\\PelnoCpl.ini"});
    EXPECT_EQ(info.OptionCount(), 1u);
    EXPECT_EQ(info.Find(L"e"), L"d:\\PelnoCpl.ini");

    auto upper = Parse({L"-E", L"d:\\PelnoCpl.ini"});
    EXPECT_EQ(upper.OptionCount(), 2u);
    EXPECT_EQ(upper.Find(L"E"), L"TRUE");
    EXPECT_EQ(upper.Find(L"e"), L"d:\\PelnoCpl.ini");

    auto lone = Parse({L"-e"});
    EXPECT_EQ(lone.Find(L"e"), L"TRUE");
}

TEST(CommandLine, SlashFlagsValuesWithoutFlagAndRepeats)
{
    auto info = Parse({L"stray", L"/Import", L"a.ini", L"second", L"-t", L"-t"});
    EXPECT_FALSE(info.Find(L"stray"));
    EXPECT_EQ(info.Find(L"Import"), L"TRUE");
    EXPECT_EQ(info.Find(L"import"), L"a.ini");
    EXPECT_EQ(info.Find(L"t"), L"TRUE");
    EXPECT_EQ(info.OptionCount(), 3u);

    // A later flag replaces the value an earlier one received.
    auto replaced = Parse({L"-e", L"x.ini", L"-e"});
    EXPECT_EQ(replaced.Find(L"e"), L"TRUE");
}

TEST(ConsoleDispatch, HelpBannerForEveryHelpSpelling)
{
    for (const wchar_t* flag : {L"-?", L"/?", L"-help", L"/help", L"-h"}) {
        CCapturingConsole console;
        CommandProbe probe;
        auto result = DispatchConsoleCommand(Parse({flag}), console, probe.Commands());
        EXPECT_TRUE(result.handled) << flag;
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(console.output, kHelpBanner) << flag;
        EXPECT_TRUE(probe.ran.empty());
    }
    // The banner starts with a line break and ends without one.
    std::string banner = kHelpBanner;
    EXPECT_EQ(banner.front(), '\n');
    EXPECT_EQ(banner.substr(banner.size() - 31), "Press any key to continue......");
}

TEST(ConsoleDispatch, OrderDecidesWhichCommandRuns)
{
    CCapturingConsole console;
    CommandProbe probe;
    auto both = DispatchConsoleCommand(Parse({L"-i", L"in.ini", L"-e", L"out.ini"}), console, probe.Commands());
    EXPECT_TRUE(both.handled);
    EXPECT_EQ(probe.ran, L"export");
    EXPECT_EQ(probe.value, L"out.ini");

    auto upperExport = DispatchConsoleCommand(Parse({L"-E", L"d:\\PelnoCpl.ini"}), console, probe.Commands());
    EXPECT_TRUE(upperExport.handled);
    EXPECT_EQ(probe.value, L"d:\\PelnoCpl.ini");

    auto lone = DispatchConsoleCommand(Parse({L"-e"}), console, probe.Commands());
    EXPECT_TRUE(lone.handled);
    EXPECT_EQ(probe.value, L"TRUE");

    auto update = DispatchConsoleCommand(Parse({L"/update", L"fw.bin"}), console, probe.Commands(1));
    EXPECT_TRUE(update.handled);
    EXPECT_EQ(update.exitCode, 1);
    EXPECT_EQ(probe.ran, L"update");
}

TEST(ConsoleDispatch, UnknownOptionsOpenTheDialogFace)
{
    CommandProbe probe;
    for (auto args : std::vector<std::vector<std::wstring>>{{L"-x"}, {L"-E"}, {L"-HELP"}, {L"-T"}}) {
        CCapturingConsole console;
        auto result = DispatchConsoleCommand(Parse(args), console, probe.Commands());
        EXPECT_FALSE(result.handled) << args[0];
        EXPECT_TRUE(console.output.empty());
    }
    EXPECT_TRUE(probe.ran.empty());
}

TEST(ConsoleDispatch, TestPrintoutAndMissingCommands)
{
    CCapturingConsole console;
    auto result = DispatchConsoleCommand(Parse({L"/test"}), console, ConsoleCommands{});
    EXPECT_TRUE(result.handled);
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += "test line " + std::to_string(i) + "\n";
    EXPECT_EQ(console.output, expected);

    // A command no subsystem offers is not handled.
    CCapturingConsole other;
    EXPECT_FALSE(DispatchConsoleCommand(Parse({L"-u", L"fw.bin"}), other, ConsoleCommands{}).handled);
}

TEST(ConsoleDispatch, ASecondInstanceRefusesExactlyTheCommandsThatWouldRun)
{
    const std::vector<std::vector<std::wstring>> cases = {{L"-e", L"out.ini"},
                                                          {L"/export", L"out.ini"},
                                                          {L"-i", L"in.ini"},
                                                          {L"-import", L"in.ini"},
                                                          {L"-u", L"fw.bin"},
                                                          {L"/update", L"fw.bin"},
                                                          {L"-l"},
                                                          {L"-diagnose", L"reports"},
                                                          {L"/refit"},
                                                          {L"-e"},
                                                          {L"-?"},
                                                          {L"-t"},
                                                          {L"-x"},
                                                          {L"-E"},
                                                          {}};
    for (const auto& args : cases) {
        CommandProbe probe;
        CCapturingConsole console;
        DispatchConsoleCommand(Parse(args), console, probe.Commands());
        EXPECT_EQ(NamesConsoleCommand(Parse(args)), !probe.ran.empty()) << (args.empty() ? L"" : args[0]);
    }
    // While another instance runs, what touches no touchscreen runs as always.
    const std::pair<std::vector<std::wstring>, std::string> secondStarts[] = {
        {{L"-t"}, "test line 0\n"}, {{L"-e", L"a.ini", L"-help"}, kHelpBanner}, {{L"-t", L"-l"}, kAlreadyRunningLine}};
    for (const auto& [args, output] : secondStarts) {
        CCapturingConsole console;
        EXPECT_EQ(DispatchWhileAnotherRuns(Parse(args), console).exitCode, output == kAlreadyRunningLine);
        EXPECT_EQ(console.output.substr(0, output.size()), output) << ToUtf8(args.back());
    }
}

TEST(ConsoleDispatch, ImportAndUpdateWithoutAFileNameSayWhichOptionNeedsOne)
{
    struct Case {
        std::vector<std::wstring> arguments;
        const char* output; // null: the command runs
        const wchar_t* ran;
    };
    const Case cases[] = {
        {{L"-i"}, "\nThe option -i needs a file name!\n", nullptr},
        {{L"/import"}, "\nThe option -import needs a file name!\n", nullptr},
        {{L"-u"}, "\nThe option -u needs a file name!\n", nullptr},
        {{L"-update"}, "\nThe option -update needs a file name!\n", nullptr},
        {{L"-i", L"a.ini", L"-i"}, "\nThe option -i needs a file name!\n", nullptr},
        {{L"-I", L"a.ini"}, nullptr, L"import"}, // the value is stored under "i"
        {{L"-u", L"TRUE"}, nullptr, L"update"},  // a file that is named TRUE
        {{L"-e"}, nullptr, L"export"},           // the export refuses "TRUE" itself
        {{L"-i", L"-e", L"x.ini"}, nullptr, L"export"},
        {{L"-d"}, "\nThe option -d needs a folder name!\n", nullptr},
        {{L"/diagnose", L"reports"}, nullptr, L"diagnose"},
        {{L"-list"}, nullptr, L"list"}, // needs no value
        {{L"-l", L"-d", L"reports"}, nullptr, L"list"},
        {{L"-r"}, nullptr, L"refit"}, // needs no value
    };
    for (const Case& c : cases) {
        CCapturingConsole console;
        CommandProbe probe;
        auto result = DispatchConsoleCommand(Parse(c.arguments), console, probe.Commands());
        EXPECT_TRUE(result.handled) << ToUtf8(c.arguments[0]);
        if (c.output) {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(console.output, c.output);
            EXPECT_TRUE(probe.ran.empty()) << ToUtf8(c.arguments[0]);
        } else {
            EXPECT_EQ(probe.ran, c.ran) << ToUtf8(c.arguments[0]);
        }
    }
}
