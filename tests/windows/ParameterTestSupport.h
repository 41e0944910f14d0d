#pragma once
// The driver service's key in the test prefix's registry, and the programs
// that read it from outside (PelnoCpl.exe, Wine's reg.exe).

#include <windows.h>

#include <cstdint>
#include <string>

extern const wchar_t kServiceKey[];

// Removes the driver service's key with everything below it.
void DeleteServiceKey();
void SetParameter(const std::wstring& path, const wchar_t* name, std::int32_t value);

#include "ProgramRunner.h"

// PelnoCpl.exe with these arguments, output captured (CR LF line breaks).
CapturedRun RunPelno(const std::wstring& arguments, const std::wstring& currentDirectory = {});
// reg.exe with these arguments.
CapturedRun RunReg(const std::wstring& arguments);
// The DWORD as reg query prints it ("0x..."), or empty when it reports none.
std::string RegQueryDword(const std::wstring& path, const wchar_t* name);

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string Narrow(const std::wstring& text);
