#include "common/LanguageText.h"

#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/System.h"

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
