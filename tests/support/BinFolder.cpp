#include "BinFolder.h"

std::wstring TestFolder()
{
    std::wstring path = ModulePath(nullptr);
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring BinFolder()
{
    std::wstring tests = TestFolder();
    return tests.substr(0, tests.find_last_of(L'\\')) + L"\\bin";
}
