// Text read byte by byte, files written whole or not at all, the fall clock (the ticks due and
// a batch that ends early) and the language the texts are shown in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/base/text_file.h"
#include "core/base/text_scan.h"
#include "core/base/tick_clock.h"
#include "core/base/translation.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

// The lead bytes of UTF-8 sequences of one to four bytes at each boundary, as names are cut
// and converted; a score's exponent signed either way.
TEST(TextScan, Utf8LeadBytesAndSignedExponents) {
    std::string lengths;
    for (const unsigned char lead : {0x7F, 0x80, 0xC0, 0xDF, 0xE0, 0xEF, 0xF0})
        lengths += std::to_string(Utf8SequenceLength(lead));
    for (const char* line : {"2E-1", "3e+2", " +e1"})  // the last none: -1
        lengths += " " + Show(line, LeadingNumber(line, NumberForm::WithExponent).value_or(-1));
    EXPECT_EQ(lengths, "1122334 2E-1=0.2\n 3e+2=300\n  +e1=-1\n");
}

// A temporary name taken (EEXIST, or on a network file system another error) is tried again
// under a new name, a hundred times at most; a folder that cannot take the file stops at once;
// a write cut short (a full pipe here, as a full disk) ends in nothing left behind.
TEST(TextFile, EveryWayATemporaryFileIsMadeOrNot) {
    const testing::TempFolder dir;
    int full[2];
    ASSERT_EQ(pipe(full), 0);
    close(0);  // started without standard input, as some launchers do: files open as 0
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
        EXPECT_EQ(Show("tries", names.size(), "made", !made.empty()),
                  Show("tries", c.tries, "made", c.made))
            << c.error;
        EXPECT_EQ(ReadFileBytes(made).bytes, c.made ? c.bytes : "");
    }
    close(full[0]);
    close(full[1]);
}

constexpr int64_t kMs = 1'000'000;

// Ticks of 2 ms from the start, none owed before it or while stopped, each run once. A tick
// that stops the clock, or starts it anew as after a game over's dialogs, ends the batch.
TEST(TickClock, CountsDueTicksRunsThemOnceAndEndsABatchOnAStopOrARestart) {
    TickClock clock;
    std::string seen = std::to_string(clock.Due(100 * kMs)) + " ";
    clock.Start(10 * kMs);
    for (const int64_t now : {12 * kMs - 1, 12 * kMs, 31 * kMs, 5 * kMs})
        seen += std::to_string(clock.Due(now)) + " ";
    int ticks = 0;
    seen += std::to_string(clock.RunDue(31 * kMs, [&] { ++ticks; })) + " ";
    seen += std::to_string(ticks) + " " + std::to_string(clock.Due(32 * kMs)) + " ";
    clock.Stop();
    seen += std::to_string(clock.Due(1000 * kMs)) + " ";
    for (const bool restart : {false, true}) {
        clock.Start(0);
        ticks = 0;
        const auto third = [&] {
            if (++ticks == 3 && restart)
                clock.Start(8 * kMs);
            else if (ticks == 3)
                clock.Stop();
        };
        seen += std::to_string(clock.RunDue(20 * kMs, third)) + " ";
    }
    EXPECT_EQ(seen + std::to_string(clock.Due(20 * kMs)), "0 0 1 10 0 10 10 1 0 3 3 6");
}

TEST(Translation, TextsAsWrittenUntilSetUpThenInTheLanguageAskedEvenWithoutALocale) {
    EXPECT_EQ(Tr("Да"), "Да");
    const testing::TempFolder dir;
    std::filesystem::create_directories(dir.File("en/LC_MESSAGES"));
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
    std::filesystem::create_directories(dir.File("share/locale"));
    EXPECT_EQ(LocaleFolder(dir.path, "../share/vorblin"), dir.File("share/locale"));
    EXPECT_EQ(LocaleFolder("/opt/v/games", "../share/vorblin"), "/opt/v/share/locale");
}

}  // namespace
}  // namespace vorblin
