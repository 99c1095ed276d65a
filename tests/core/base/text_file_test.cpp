// Text files: the code pages both ways, whole-or-nothing writes, what cannot be read.
#include "core/base/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;

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

}  // namespace
}  // namespace vorblin
