#pragma once
// The game's texts in the player's language, through GNU gettext (text domain "vorblin").
// The Russian texts in the sources are the message ids: where no catalogue answers (Russian,
// C/POSIX, a language nobody translated yet, or before the catalogues are set up) a text is
// shown exactly as written.

#include <string>
#include <string_view>

namespace vorblin {

inline constexpr char kTextDomain[] = "vorblin";

// Marks a text that stands in a table, so that the template picks it up; it is looked up with
// Tr where it is shown.
constexpr std::string_view N_(std::string_view msgid) {
    return msgid;
}

// The text in the player's language. An empty text stays empty (gettext would answer it with
// the catalogue's header).
std::string Tr(std::string_view msgid);

// The catalogues of a copy: share/locale in the program's folder (a build folder), otherwise
// the locale folder beside the shipped files' folder (an installed or unpacked copy).
std::string LocaleFolder(const std::string& programFolder, std::string_view installedRelative);

// Binds the text domain to `localeFolder` and chooses the language as gettext does (LANGUAGE,
// then LC_ALL, LC_MESSAGES, LANG); a `language` given (the command line's) comes before them
// all. Call it after whatever sets the locale from the environment (the application object
// does), and again to change the language.
void SetUpTranslations(const std::string& localeFolder, std::string_view language = {});

}  // namespace vorblin
