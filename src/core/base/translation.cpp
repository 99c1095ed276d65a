#include "core/base/translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vorblin {

namespace {

bool translating = false;

bool NamesNoLanguage(const char* value) {
    return std::strcmp(value, "C") == 0 || std::strcmp(value, "POSIX") == 0;
}

// The language the environment asks for, as gettext reads it: LANGUAGE, else the first of
// LC_ALL, LC_MESSAGES and LANG that is set. Empty for none, C or POSIX.
std::string WantedLanguage() {
    const char* language = std::getenv("LANGUAGE");
    if (language != nullptr && *language != '\0')
        return language;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return NamesNoLanguage(value) ? std::string() : std::string(value);
    }
    return {};
}

}  // namespace

std::string Tr(std::string_view msgid) {
    if (!translating || msgid.empty())
        return std::string(msgid);
    const std::string id(msgid);
    return dgettext(kTextDomain, id.c_str());
}

std::string LocaleFolder(const std::string& programFolder, std::string_view installedRelative) {
    namespace fs = std::filesystem;
    const fs::path beside = fs::path(programFolder) / "share" / "locale";
    std::error_code ec;
    if (fs::is_directory(beside, ec))
        return beside.string();
    return (fs::path(programFolder) / fs::path(installedRelative) / ".." / "locale")
        .lexically_normal()
        .string();
}

void SetUpTranslations(const std::string& localeFolder, std::string_view language) {
    if (!language.empty())
        setenv("LANGUAGE", std::string(language).c_str(), 1);
    // Setting the locale anew also makes gettext forget the texts it looked up before.
    const char* messages = std::setlocale(LC_MESSAGES, "");
    // gettext ignores LANGUAGE while the messages locale is "C": with LANG unset, or naming a
    // locale this machine has not generated. C.UTF-8 is the same locale, but lets it count.
    if (messages == nullptr || NamesNoLanguage(messages)) {
        const std::string wanted = WantedLanguage();
        if (!wanted.empty()) {
            setenv("LANGUAGE", wanted.c_str(), 1);
            std::setlocale(LC_MESSAGES, "C.UTF-8");
        }
    }
    bindtextdomain(kTextDomain, localeFolder.c_str());
    bind_textdomain_codeset(kTextDomain, "UTF-8");
    translating = true;
}

}  // namespace vorblin
