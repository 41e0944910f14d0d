#pragma once
// Writes sections into the text of a profile (.ini) file in memory, the way
// a private-profile section write changes the file, so that a whole file
// can be written at once instead of one file write per section.

#include "platform/Profile.h"

#include <string_view>
#include <vector>

// The text with each section written into it, in order: the first section
// of the name (in any case) keeps the keys it has, in place and spelled as
// they are, takes the section's values for its keys, and gets the keys it
// lacks after its own, each line "key=value" ended by CR LF; comments,
// lines without '=' and later copies of a key in that section go, as a
// section write drops them. A section the text lacks is added at its end.
// Every other line stays as it is, byte for byte; so do later sections of
// the same name, which no profile read reaches. CR LF, LF and a lone CR
// each end a line, as they do for the profile reads.
std::wstring MergeProfileSections(std::wstring_view text, const std::vector<ProfileSection>& sections);

// Every section of the text in file order, each with the keys a
// whole-section read gives (lines with '=' and a name, comments left out).
std::vector<ProfileSection> ReadProfileSections(std::wstring_view text);
