// The language chosen as gettext would (and where it would not: a C locale), the catalogues
// found beside the program or beside the shared files.
#include "core/base/translation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/base/text_file.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(Translation, TheLanguageAskedForAnswersAndNoneLeavesTheTextsAsWritten) {
    testing::TempFolder folder;
    const std::string locale = folder.File("share/locale");
    std::filesystem::create_directories(locale + "/en/LC_MESSAGES");
    ASSERT_TRUE(WriteFileAtomically(folder.File("en.po"),
                                    "msgid \"\"\nmsgstr \"Content-Type: text/plain; "
                                    "charset=UTF-8\\n\"\n\nmsgid \"Да\"\nmsgstr \"Yes\"\n"));
    ASSERT_EQ(
        std::system(
            ("msgfmt -o " + locale + "/en/LC_MESSAGES/vorblin.mo " + folder.File("en.po")).c_str()),
        0);
    EXPECT_EQ(Tr("Да"), "Да");  // before the set-up
    // LANGUAGE, LC_ALL, LANG, the option: what the texts are then. en_US.UTF-8 and
    // ru_RU.UTF-8 need not be generated: gettext reads the names.
    const struct {
        const char *language, *all, *lang, *option, *shown;
    } cases[] = {
        {"", "", "", "", "Да"},           {"en", "", "", "", "Yes"},
        {"en", "C", "", "", "Yes"},       {"", "", "en_US.UTF-8", "", "Yes"},
        {"", "POSIX", "en_US", "", "Да"}, {"", "", "ru_RU.UTF-8", "", "Да"},
        {"", "", "", "en", "Yes"},        {"en", "", "", "ru", "Да"},
        {"de:en", "", "", "", "Yes"},
    };
    for (const auto& c : cases) {
        for (const auto& [name, value] : {std::pair{"LANGUAGE", c.language},
                                          {"LC_ALL", c.all},
                                          {"LC_MESSAGES", ""},
                                          {"LANG", c.lang}})
            setenv(name, value, 1);
        SetUpTranslations(locale, c.option);
        EXPECT_EQ(Tr("Да"), c.shown)
            << c.language << "|" << c.all << "|" << c.lang << "|" << c.option;
    }
    EXPECT_EQ(Tr(""), "");  // not the catalogue's header

    const std::string games = folder.File("games");
    std::filesystem::create_directories(games);
    EXPECT_EQ(LocaleFolder(folder.path, "../share/vorblin"), locale);  // a build folder
    EXPECT_EQ(LocaleFolder(games, "../share/vorblin"), locale);        // installed
}

}  // namespace
}  // namespace vorblin
