#pragma once
// The command line as an option table: "-name" or "/name" flags, each
// optionally followed by a value.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CCommandLineInfoEx {
public:
    // Handles one argument after the program name, in order.
    void ParseParam(const std::wstring& argument);
    void ParseArguments(const std::vector<std::wstring>& arguments);

    // The value stored under exactly this name (no case folding).
    std::optional<std::wstring> Find(const std::wstring& name) const;
    // True when the entry under this name holds a value that followed a
    // flag, false when it holds a flag's "TRUE" (or is missing).
    bool HasValue(const std::wstring& name) const { return m_valued.count(name) != 0; }
    std::size_t OptionCount() const { return m_options.size(); }
    const std::map<std::wstring, std::wstring>& Options() const { return m_options; }

private:
    std::map<std::wstring, std::wstring> m_options;
    std::set<std::wstring> m_valued; // names whose entry a value set
    std::wstring m_pendingFlag;
};
