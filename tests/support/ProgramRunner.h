#pragma once
// Starting PelnoCpl.exe from a test, with its output captured and every
// wait bounded.

#include "BinFolder.h"

#include <windows.h>

#include <string>
#include <vector>

// PelnoCpl.exe in the build's runnable tree.
std::wstring ProgramPath();
// A text of the runnable tree's English language file.
std::wstring EnglishText(const wchar_t* key);
// A new empty folder under the temp folder.
std::wstring MakeTempFolder(const std::wstring& name);
// A file name not used before in this test run, for captured output.
std::wstring UniqueOutputFile();
std::string ReadFileBytes(const std::wstring& path);

struct ProgramRun {
    PROCESS_INFORMATION process{};
    ~ProgramRun();
    // Waits for the end; returns the exit code, or -1 after the time-out
    // (the process is then killed).
    int Wait(DWORD milliseconds);
};

struct LaunchOptions {
    std::wstring program = ProgramPath();
    std::wstring arguments;
    std::wstring outputFile; // standard output and error go here when set
    std::wstring currentDirectory;
    std::vector<std::pair<std::wstring, std::wstring>> environment; // added for this start
};

bool Launch(const LaunchOptions& options, ProgramRun& run);

struct CapturedRun {
    int exitCode = -2; // -2: could not start; -1: killed after the time-out
    std::string output;
};

// Runs a program to its end (30 s at most) with standard output and error
// captured in a file of their own, with these variables added to its environment.
CapturedRun RunCaptured(const std::wstring& program, const std::wstring& arguments,
                        const std::wstring& currentDirectory = {},
                        const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});

// Text as a text-mode stream writes it: every line break is CR LF.
std::string WithCrLf(const std::string& text);

// Polls for a top-level window of that class and caption.
HWND WaitForWindow(const wchar_t* className, const std::wstring& caption, DWORD milliseconds);
std::wstring WindowText(HWND window);
