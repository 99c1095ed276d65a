// Text: values read out of hand-edited lines, whole-or-nothing writes, and the texts in the
// player's language.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <set>

#include "core/base/text_file.h"
#include "core/base/text_scan.h"
#include "core/base/translation.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;

// The number a hand-edited line begins with: scores may carry an exponent, settings not;
// what is no number reads as none, and no line can make a value that breaks an order.
// Whole numbers round halves to even and read no exponent.
TEST(TextScan, LeadingNumbersAsTablesAndSettingsReadThem) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const struct {
        std::string line;
        std::optional<double> withExponent, decimal, whole;
    } cases[] = {{" \t-7abc", -7, -7, -7},
                 {"+.5", 0.5, 0.5, 0},
                 {"1.5e3 points", 1500, 1.5, 2},
                 {"3e+", 3, 3, 3},
                 {"3.5", 3.5, 3.5, 4},
                 {"-1e400", std::numeric_limits<double>::lowest(), -1, -1},
                 {std::string(400, '9'), kMax, kMax, kMax},
                 {"", std::nullopt, std::nullopt, std::nullopt},
                 {"+-5", std::nullopt, std::nullopt, std::nullopt},
                 {"e2", std::nullopt, std::nullopt, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::WithExponent), c.withExponent) << c.line;
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::Decimal), c.decimal) << c.line;
        EXPECT_EQ(LeadingWholeNumber(c.line), c.whole) << c.line;
    }
}

// A temporary name taken (EEXIST, or on a network file system another error) is tried again
// under a new name, a hundred times at most; a folder that cannot take the file stops at once;
// a write cut short (a full pipe here, as a full disk) ends in nothing left behind.
TEST(TextFile, EveryWayATemporaryFileIsMadeOrNot) {
    const testing::TempFolder dir;
    int full[2];
    ASSERT_EQ(pipe(full), 0);
    fcntl(full[1], F_SETFL, O_NONBLOCK);
    const std::string big(1 << 20, 'x');  // more than the pipe holds
    const struct {
        int error, tries, openAt;  // the call that opens (0: none), a new file or the pipe
        std::string bytes;
        bool made;
    } cases[] = {{EEXIST, 100, 0, "x", false}, {EIO, 100, 0, "x", false},
                 {ENOENT, 1, 0, "x", false},   {EROFS, 1, 0, "x", false},
                 {EACCES, 1, 0, "x", false},   {ENOSPC, 1, 0, "x", false},
                 {EDQUOT, 1, 0, "x", false},   {ENOTDIR, 1, 0, "x", false},
                 {EEXIST, 3, 3, "xy", true},   {EEXIST, 2, 2, big, false}};
    for (const auto& c : cases) {
        std::set<std::string> names;
        const auto create = [&](const std::string& name) {
            names.insert(name);
            errno = c.error;
            if (int(names.size()) != c.openAt)
                return -1;
            return c.made ? open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600) : dup(full[1]);
        };
        const std::string made = WriteTemporary(dir.File("t.txt"), c.bytes, Flush::Lazily, create);
        EXPECT_EQ(testing::Show("tries", names.size(), "made", !made.empty()),
                  testing::Show("tries", c.tries, "made", c.made))
            << c.error;
        EXPECT_EQ(ReadFileBytes(made).bytes, c.made ? c.bytes : "");
    }
    close(full[0]);
    close(full[1]);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);
}

// The language as the player's environment (LANGUAGE, LC_ALL, LANG) and the command line
// name it, with an English catalogue of one text. No locale is generated here for any of
// these names: gettext alone would read "C" and ignore LANGUAGE.
TEST(Translation, TextsAsWrittenUntilSetUpThenInTheLanguageAskedEvenWithoutALocale) {
    EXPECT_EQ(Tr("Да"), "Да");
    const testing::TempFolder dir;
    fs::create_directories(dir.File("en/LC_MESSAGES"));
    std::ofstream(dir.File("en.po")) << "msgid \"\"\nmsgstr \"Content-Type: text/plain; "
                                        "charset=UTF-8\\n\"\n\nmsgid \"Да\"\nmsgstr \"Yes\"\n";
    const std::string make =
        "msgfmt -o " + dir.File("en/LC_MESSAGES/vorblin.mo") + " " + dir.File("en.po");
    ASSERT_EQ(std::system(make.c_str()), 0);
    const struct {
        const char *language, *all, *lang, *option, *shown;
    } cases[] = {{"", "", "en_US", "", "Yes"}, {"", "POSIX", "en_US", "", "Да"},
                 {"", "C", "en", "", "Да"},    {"en", "C", "", "", "Yes"},
                 {"en", "", "", "ru", "Да"},   {"", "", "", "en", "Yes"}};
    const char* const names[] = {"LANGUAGE", "LC_ALL", "LANG"};
    unsetenv("LC_MESSAGES");
    for (const auto& c : cases) {
        const char* const values[] = {c.language, c.all, c.lang};
        for (size_t i = 0; i < std::size(names); ++i)
            setenv(names[i], values[i], 1);
        SetUpTranslations(dir.path, c.option);
        EXPECT_EQ(Tr("Да"), c.shown) << c.language << "," << c.all << "," << c.lang << c.option;
        EXPECT_EQ(Tr(""), "");  // not the catalogue's header
    }
    for (const char* name : names)
        unsetenv(name);
    SetUpTranslations(dir.path);  // the other tests read the texts as written
    EXPECT_EQ(Tr("Да"), "Да");
}

}  // namespace
}  // namespace vorblin
