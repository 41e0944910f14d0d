#include "app/CommandLineInfoEx.h"

#include "platform/TextCase.h"

void CCommandLineInfoEx::ParseParam(const std::wstring& argument)
{
    if (!argument.empty() && (argument[0] == L'-' || argument[0] == L'/')) {
        // A flag: its name exactly as typed, "TRUE" until a value follows.
        std::wstring name = argument.substr(1);
        m_options[name] = L"TRUE";
        m_valued.erase(name);
        m_pendingFlag = name;
        return;
    }
    if (m_pendingFlag.empty())
        return;
    // A value belongs to the pending flag under its lower-case name.
    std::wstring lower = m_pendingFlag;
    for (wchar_t& c : lower)
        c = FoldCase(c);
    m_options[lower] = argument;
    m_valued.insert(lower);
    m_pendingFlag.clear();
}

void CCommandLineInfoEx::ParseArguments(const std::vector<std::wstring>& arguments)
{
    for (const std::wstring& argument : arguments)
        ParseParam(argument);
}

std::optional<std::wstring> CCommandLineInfoEx::Find(const std::wstring& name) const
{
    auto it = m_options.find(name);
    if (it == m_options.end())
        return std::nullopt;
    return it->second;
}
