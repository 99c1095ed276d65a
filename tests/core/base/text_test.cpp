// Text: values read out of hand-edited lines, the code pages both ways, whole-or-nothing
// writes, what cannot be read, and the texts in the player's language.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

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
    } cases[] = {
        {" \t-7abc", -7, -7, -7},
        {"+.5", 0.5, 0.5, 0},
        {"12.", 12, 12, 12},
        {"1.5e3 points", 1500, 1.5, 2},
        {"2E-1", 0.2, 2, 2},
        {"2e", 2, 2, 2},
        {"3e+", 3, 3, 3},
        {"2.5", 2.5, 2.5, 2},
        {"-2.5", -2.5, -2.5, -2},
        {"3.5", 3.5, 3.5, 4},
        {" 9.9e2", 990, 9.9, 10},
        {"1e400", kMax, 1, 1},
        {"-1e400", std::numeric_limits<double>::lowest(), -1, -1},
        {std::string(400, '9'), kMax, kMax, kMax},
        {"", std::nullopt, std::nullopt, std::nullopt},
        {"   ", std::nullopt, std::nullopt, std::nullopt},
        {".", std::nullopt, std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt, std::nullopt},
        {"e2", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::WithExponent), c.withExponent) << c.line;
        EXPECT_EQ(LeadingNumber(c.line, NumberForm::Decimal), c.decimal) << c.line;
        EXPECT_EQ(LeadingWholeNumber(c.line), c.whole) << c.line;
    }
    EXPECT_FALSE(std::signbit(*LeadingNumber("-0", NumberForm::WithExponent)));  // no "-0"
    EXPECT_FALSE(std::signbit(*LeadingNumber("-0.0", NumberForm::Decimal)));
}

// The window toolkit sets the program's locale from the desktop's, where the decimal point
// may be a comma; the files always have a point.
TEST(TextScan, NumbersReadTheSameWhereTheDecimalPointIsAComma) {
    const testing::TempFolder dir;
    std::ofstream(dir.File("comma")) << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                        "grouping 3;3\nEND LC_NUMERIC\n";
    // The other categories are left out on purpose: localedef warns and still writes it.
    const std::string make = "localedef -c -i " + dir.File("comma") + " -f UTF-8 " +
                             dir.File("comma.UTF-8") + " 2>/dev/null";
    [[maybe_unused]] const int made = std::system(make.c_str());
    setenv("LOCPATH", dir.path.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "comma.UTF-8"), nullptr) << "localedef made no locale";
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);  // the locale really reads a comma
    const std::optional<double> score = LeadingNumber("12.5e1", NumberForm::WithExponent);
    const std::optional<double> speed = LeadingWholeNumber("2.5");
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(score, 125);
    EXPECT_EQ(speed, 2);
}

TEST(TextScan, TrimCaseAndUtf8Lengths) {
    for (auto [text, trimmed] : {std::pair{" \t a b \t", "a b"}, {" \t ", ""}, {"x", "x"}})
        EXPECT_EQ(Trim(text), trimmed) << text;
    EXPECT_TRUE(SameIgnoringCase("TRUE", "true"));
    EXPECT_FALSE(SameIgnoringCase("True ", "True"));
    EXPECT_FALSE(SameIgnoringCase("Trux", "True"));
    std::string lengths;
    for (const unsigned char lead : {0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xD0, 0xDF, 0xE0, 0xEF, 0xF0})
        lengths += std::to_string(Utf8SequenceLength(lead));
    EXPECT_EQ(lengths, "1111222334");
}

TEST(TextFile, CodePagesRoundTripAndMarkWhatTheyCannotHold) {
    const std::string russian = "Введите Ваше имя";  // UTF-8 in the source
    const std::string cp = "\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xC2\xE0\xF8\xE5 \xE8\xEC\xFF";
    // Both ways, what either file holds read as it is meant (a lone lead byte is not UTF-8),
    // and a hole in the code page.
    EXPECT_EQ(Utf8ToCp1251(russian), cp);
    EXPECT_EQ(Cp1251ToUtf8(cp), russian);
    EXPECT_EQ(DecodeText(cp), russian);
    EXPECT_EQ(DecodeText(russian), russian);
    EXPECT_EQ(Cp1251ToUtf8("x\x98y"), "x?y");
    EXPECT_EQ(DecodeText("\xD0"), "Р");
    // The euro sign is in the code page; then 3, 4, 3 and 2 bytes that are not, and an
    // overlong sequence (one mark for its two bytes).
    EXPECT_EQ(Utf8ToCp1251("€-中b😀c\u0900d\u0100e\xC0\x80!"), "\x88-?b?c?d?e?!");
    EXPECT_EQ(SplitLines("a\r\n\r\nb\nc\r"), (std::vector<std::string>{"a", "", "b", "c"}));
    EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{""});
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFile, ALinkToItselfIsUnreadableAndWritesReplaceAllOrNothing) {
    testing::TempFolder dir;
    const std::string file = JoinPath(dir.path + "/", "t.txt");
    EXPECT_EQ(file, JoinPath(dir.path, "t.txt"));
    fs::create_symlink("loop", dir.File("loop"));  // a link to itself: it cannot even be opened
    EXPECT_EQ(ReadFileBytes(dir.File("loop")).status, ReadStatus::Unreadable);
    EXPECT_TRUE(CreateFileExclusively(file, "first"));
    EXPECT_FALSE(CreateFileExclusively(file, "second"));             // only where nothing is
    ASSERT_TRUE(WriteFileAtomically(file, std::string("x\0y", 3)));  // read back at the end
    fs::create_directory(dir.File("sub"));  // a folder where the file should be
    EXPECT_FALSE(WriteFileAtomically(dir.File("sub"), "x"));

    // A file-size limit makes the disk "full" after 16 bytes, in a child process only.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string big(4096, 'x');
        _exit(WriteFileAtomically(file, big) || CreateFileExclusively(file + "2", big) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a cut write reported done";
    const FileBytes read = ReadFileBytes(file);
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, std::string("x\0y", 3));
    // And no temporary file left behind: only the file, the folder and the link.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 3);
}

// A temporary name taken (EEXIST, or on a network file system another error) is tried again
// under a new name, a hundred times at most; a folder that cannot take the file stops at once.
TEST(TextFile, ATakenTemporaryNameIsTriedAgainAndAFolderThatCannotTakeItStopsAtOnce) {
    const testing::TempFolder dir;
    const std::string path = dir.File("t.txt");
    for (auto [error, tries] : {std::pair{EEXIST, 100},
                                {EIO, 100},
                                {ENOENT, 1},
                                {EROFS, 1},
                                {EACCES, 1},
                                {ENOSPC, 1},
                                {EDQUOT, 1},
                                {ENOTDIR, 1}}) {
        int calls = 0;
        const auto refuse = [&, error = error](const std::string&) {
            ++calls;
            errno = error;
            return -1;
        };
        EXPECT_EQ(WriteTemporary(path, "x", Flush::Lazily, refuse), "") << error;
        EXPECT_EQ(calls, tries) << error;
    }
    std::vector<std::string> names;
    const auto thirdFree = [&](const std::string& name) {
        names.push_back(name);
        errno = EEXIST;
        return names.size() < 3 ? -1 : open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    };
    const std::string made = WriteTemporary(path, "xy", Flush::ToDisk, thirdFree);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(made == names[2] && names[0] != names[1] && names[1] != names[2]) << made;
    EXPECT_EQ(ReadFileBytes(made).bytes, "xy");
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
    for (const auto& c : cases) {
        for (auto [name, value] : {std::pair{"LANGUAGE", c.language},
                                   {"LC_ALL", c.all},
                                   {"LC_MESSAGES", ""},
                                   {"LANG", c.lang}})
            setenv(name, value, 1);
        SetUpTranslations(dir.path, c.option);
        EXPECT_EQ(Tr("Да"), c.shown) << c.language << "," << c.all << "," << c.lang << c.option;
        EXPECT_EQ(Tr(""), "");  // not the catalogue's header
    }
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        unsetenv(name);
    SetUpTranslations(dir.path);  // the other tests read the texts as written
    EXPECT_EQ(Tr("Да"), "Да");
    // The catalogues of a build folder stand beside the program; an installed copy's beside
    // its shared files.
    fs::create_directories(dir.File("share/locale"));
    EXPECT_EQ(LocaleFolder(dir.path, "../share/vorblin"), dir.File("share/locale"));
    EXPECT_EQ(LocaleFolder("/opt/v/games", "../share/vorblin"), "/opt/v/share/locale");
}

}  // namespace
}  // namespace vorblin
