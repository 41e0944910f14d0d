#pragma once
// Language texts: every visible text of the dialog face is looked up by a
// decimal key in the language file chosen from the system's language.

#include <string>
#include <string_view>
#include <vector>

class IProfile;

class ISystem;

// The language file for a language id, relative to the program folder:
// "\Language\2052.ini", "\Language\1041.ini", else "\Language\1033.ini".
std::wstring LanguageFileFor(unsigned languageId);

// The user manual for a language id, relative to the program folder:
// "\UserManual-2052.pdf", "\UserManual-1041.pdf", else "\UserManual.pdf".
std::wstring ManualFileFor(unsigned languageId);

// The manual Help opens: the one of the language the texts are shown in (the
// language id that chooses the language file), the English one when that
// language's manual is not in the program folder.
std::wstring ManualPath(ISystem& system);

// The text of a key from the language file of the given program folder and
// language; the key itself when the file, section or key is missing. Texts
// are cut at 511 characters.
std::wstring LookUpLanguageText(IProfile& profile, const std::wstring& programFolder, unsigned languageId,
                                std::wstring_view key);

// LookUpLanguageText with the process's seams; chooses the file anew each call.
std::wstring GetLanguageText(std::wstring_view key);

// Several texts at once, each as GetLanguageText gives it, from one read of
// the language file's section (a window's texts cost one file read instead
// of one each).
std::vector<std::wstring> GetLanguageTexts(const std::vector<std::wstring_view>& keys);

// The program's title: the main window's caption and its message boxes'.
constexpr wchar_t kProgramTitleKey[] = L"79";
