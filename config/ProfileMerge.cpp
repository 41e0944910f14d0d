#include "config/ProfileMerge.h"

#include "config/ParameterHelpers.h"
#include "platform/TextCase.h"

#include <optional>
#include <unordered_map>

namespace {

// White space as the profile functions trim it from lines, section names,
// keys and values: blanks, tabs, line and page ends, and ^Z (an old
// end-of-file mark); other Unicode spaces are kept.
bool IsProfileSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsProfileSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::wstring Folded(std::wstring_view name)
{
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = FoldCase(c);
    return folded;
}

bool EndsLine(wchar_t c) { return c == L'\n' || c == L'\r'; }

struct Line {
    std::wstring_view content; // trimmed
    std::size_t begin = 0;     // where the line starts in the text
    std::size_t end = 0;       // just after its line end
    bool blank() const { return content.empty(); }
};

// A section: its header line and the lines up to the next header. One
// named "" ("[]", "[ ]") is no section to the profile functions, only the
// end of the one before.
struct Section {
    std::wstring name;
    std::size_t header = 0;  // index of the header line
    std::size_t bodyEnd = 0; // index after the last non-blank line of its body
    ProfileEntries entries;
};

struct ParsedText {
    std::vector<Line> lines;
    std::vector<Section> sections;
};

std::vector<Line> SplitLines(std::wstring_view text)
{
    std::vector<Line> lines;
    // CR LF, a lone LF and a lone CR each end a line, as the profile reads
    // break lines.
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t lineEnd = text.find_first_of(L"\r\n", begin);
        std::size_t end = lineEnd == std::wstring_view::npos ? text.size() : lineEnd + 1;
        if (lineEnd != std::wstring_view::npos && text[lineEnd] == L'\r' && end < text.size() && text[end] == L'\n')
            ++end;
        lines.push_back({Trim(text.substr(begin, end - begin)), begin, end});
        begin = end;
    }
    return lines;
}

// "[name]" with anything after the last ']': the name between, trimmed.
std::optional<std::wstring_view> HeaderName(std::wstring_view line)
{
    if (line.empty() || line.front() != L'[')
        return std::nullopt;
    std::size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

ParsedText Parse(std::wstring_view text)
{
    ParsedText parsed{SplitLines(text), {}};
    for (std::size_t i = 0; i < parsed.lines.size(); ++i) {
        const Line& line = parsed.lines[i];
        if (auto name = HeaderName(line.content)) {
            parsed.sections.push_back({std::wstring(*name), i, i + 1, {}});
            continue;
        }
        if (parsed.sections.empty() || line.blank())
            continue; // lines before the first section belong to none
        Section& section = parsed.sections.back();
        section.bodyEnd = i + 1;
        std::size_t equals = line.content.find(L'=');
        if (equals == std::wstring_view::npos || line.content.front() == L';')
            continue; // a line without '=', a comment
        std::wstring_view key = Trim(line.content.substr(0, equals));
        if (!key.empty())
            section.entries.emplace_back(std::wstring(key), std::wstring(Trim(line.content.substr(equals + 1))));
    }
    return parsed;
}

void AppendEntries(std::wstring& out, const ProfileEntries& entries)
{
    for (const auto& [key, value] : entries)
        out += key + L'=' + value + L"\r\n";
}

} // namespace

std::vector<ProfileSection> ReadProfileSections(std::wstring_view text)
{
    std::vector<ProfileSection> sections;
    for (Section& section : Parse(text).sections)
        if (!section.name.empty())
            sections.push_back({std::move(section.name), std::move(section.entries)});
    return sections;
}

std::wstring MergeProfileSections(std::wstring_view text, const std::vector<ProfileSection>& sections)
{
    ParsedText parsed = Parse(text);
    std::unordered_map<std::wstring, std::size_t> firstOfName;
    for (std::size_t i = 0; i < parsed.sections.size(); ++i)
        if (!parsed.sections[i].name.empty())
            firstOfName.emplace(Folded(parsed.sections[i].name), i);

    // The new keys of each section the text has, and the sections it lacks.
    std::vector<std::optional<ProfileEntries>> rewritten(parsed.sections.size());
    std::vector<ProfileSection> added;
    std::unordered_map<std::wstring, std::size_t> addedOfName;
    for (const ProfileSection& section : sections) {
        const std::wstring folded = Folded(section.name);
        if (auto found = firstOfName.find(folded); found != firstOfName.end()) {
            std::optional<ProfileEntries>& entries = rewritten[found->second];
            entries = MergeEntries(entries ? *entries : parsed.sections[found->second].entries, section.entries);
        } else if (auto again = addedOfName.find(folded); again != addedOfName.end()) {
            added[again->second].entries = MergeEntries(added[again->second].entries, section.entries);
        } else {
            addedOfName.emplace(folded, added.size());
            added.push_back({section.name, MergeEntries({}, section.entries)});
        }
    }

    std::wstring out;
    out.reserve(text.size() + text.size() / 8 + 64);
    std::size_t copied = 0; // the text up to here is in out
    for (std::size_t i = 0; i < parsed.sections.size(); ++i) {
        if (!rewritten[i])
            continue;
        const Section& section = parsed.sections[i];
        const Line& header = parsed.lines[section.header];
        out.append(text.substr(copied, header.end - copied));
        if (!EndsLine(out.back()))
            out += L"\r\n"; // the header ended the text
        AppendEntries(out, *rewritten[i]);
        // The blank lines after the body stay, and so does whatever follows.
        copied = section.bodyEnd < parsed.lines.size() ? parsed.lines[section.bodyEnd].begin : text.size();
    }
    out.append(text.substr(copied));
    if (!added.empty() && !out.empty() && !EndsLine(out.back()))
        out += L"\r\n";
    for (const ProfileSection& section : added) {
        out += L'[' + section.name + L"]\r\n";
        AppendEntries(out, section.entries);
    }
    return out;
}
