#include "common/LanguageText.h"

#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/System.h"
#include "platform/TextCase.h"

#include <algorithm>

namespace {
constexpr std::size_t kMaxTextLength = 511;
}

std::wstring LanguageFileFor(unsigned languageId)
{
    if (languageId == 2052)
        return L"\\Language\\2052.ini";
    if (languageId == 1041)
        return L"\\Language\\1041.ini";
    return L"\\Language\\1033.ini";
}

std::wstring ManualFileFor(unsigned languageId)
{
    if (languageId == 2052 || languageId == 1041)
        return L"\\UserManual-" + std::to_wstring(languageId) + L".pdf";
    return L"\\UserManual.pdf";
}

std::wstring ManualPath(ISystem& system)
{
    const std::wstring folder = system.ProgramFolder();
    const std::wstring own = folder + ManualFileFor(system.DefaultLanguageId());
    return system.FileExists(own) ? own : folder + ManualFileFor(1033);
}

std::wstring LookUpLanguageText(IProfile& profile, const std::wstring& programFolder, unsigned languageId,
                                std::wstring_view key)
{
    std::wstring text = profile.GetString(programFolder + LanguageFileFor(languageId), L"Language", key, key);
    if (text.size() > kMaxTextLength)
        text.resize(kMaxTextLength);
    return text;
}

std::wstring GetLanguageText(std::wstring_view key)
{
    const PlatformServices& platform = GetPlatform();
    if (!platform.profile || !platform.system)
        return std::wstring(key);
    return LookUpLanguageText(*platform.profile, platform.system->ProgramFolder(), platform.system->DefaultLanguageId(),
                              key);
}

std::vector<std::wstring> GetLanguageTexts(const std::vector<std::wstring_view>& keys)
{
    const PlatformServices& platform = GetPlatform();
    std::vector<std::wstring> texts;
    if (!platform.profile || !platform.system) {
        texts.assign(keys.begin(), keys.end());
        return texts;
    }
    const std::wstring folder = platform.system->ProgramFolder();
    const unsigned languageId = platform.system->DefaultLanguageId();
    const auto section = platform.profile->GetSection(folder + LanguageFileFor(languageId), L"Language");
    for (std::wstring_view key : keys) {
        if (!section) { // too large for one read: key by key
            texts.push_back(LookUpLanguageText(*platform.profile, folder, languageId, key));
            continue;
        }
        auto entry =
            std::find_if(section->begin(), section->end(), [&](const auto& e) { return EqualsNoCase(e.first, key); });
        if (entry == section->end()) {
            texts.emplace_back(key);
            continue;
        }
        // As a key-by-key read gives it: one pair of enclosing quotes off.
        std::wstring text = entry->second;
        if (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front())
            text = text.substr(1, text.size() - 2);
        if (text.size() > kMaxTextLength)
            text.resize(kMaxTextLength);
        texts.push_back(std::move(text));
    }
    return texts;
}
