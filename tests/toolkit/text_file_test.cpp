#include "toolkit/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;

using testing::TempFolder;

TEST(TextFile, CodePagesRoundTripAndMarkWhatTheyCannotHold) {
    const std::string russian = "Введите Ваше имя";  // UTF-8 in the source
    const std::string cp = Utf8ToCp1251(russian);
    EXPECT_EQ(cp.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xC2);  // В
    EXPECT_EQ(Cp1251ToUtf8(cp), russian);
    EXPECT_EQ(Utf8ToCp1251("a€b"),
              "a\x88"
              "b");  // the euro sign is in the code page
    EXPECT_EQ(Utf8ToCp1251("a中b😀c\u0900d\u0100e"), "a?b?c?d?e");  // 3, 4, 3, 2 bytes each
    EXPECT_EQ(Cp1251ToUtf8("x\x98y"), "x?y");                      // a hole in the code page

    EXPECT_TRUE(IsValidUtf8(russian));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_FALSE(IsValidUtf8(cp));
    EXPECT_FALSE(IsValidUtf8("\xD0"));  // cut in the middle of a character
    EXPECT_EQ(DecodeText(cp), russian);
    EXPECT_EQ(DecodeText(russian), russian);
}

TEST(TextFile, SplitsLinesAtEitherEnding) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("\n"), Lines{""});
}

TEST(TextFile, ReadsTellMissingFromUnreadable) {
    TempFolder dir;
    EXPECT_EQ(ReadFileBytes(JoinPath(dir.path, "none.txt")).status, ReadStatus::Missing);
    EXPECT_EQ(ReadFileBytes(dir.path).status, ReadStatus::Unreadable);  // a folder

    const std::string file = JoinPath(dir.path, "t.txt");
    ASSERT_TRUE(WriteFileAtomically(file, std::string("x\0y", 3)));
    const FileBytes read = ReadFileBytes(file);
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, std::string("x\0y", 3));
    EXPECT_EQ(JoinPath(dir.path + "/", "t.txt"), file);
}

TEST(TextFile, AFailedWriteLeavesTheOldFileAndNoLitter) {
    TempFolder dir;
    const std::string file = JoinPath(dir.path, "t.txt");
    ASSERT_TRUE(WriteFileAtomically(file, "old"));
    ASSERT_TRUE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(ReadFileBytes(file).bytes, "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);

    if (geteuid() != 0) {  // root writes anywhere
        chmod(dir.path.c_str(), 0555);
        EXPECT_FALSE(WriteFileAtomically(file, "lost"));
        EXPECT_EQ(ReadFileBytes(file).bytes, "new");
    }
    // A folder standing where the file should be cannot be replaced.
    const std::string folder = JoinPath(dir.path, "sub");
    chmod(dir.path.c_str(), 0755);
    fs::create_directory(folder);
    fs::create_directory(JoinPath(folder, "inner"));
    EXPECT_FALSE(WriteFileAtomically(folder, "x"));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 2);
}

TEST(TextFile, AFullDiskMidWriteLeavesTheOldFile) {
    TempFolder dir;
    const std::string file = JoinPath(dir.path, "t.txt");
    ASSERT_TRUE(WriteFileAtomically(file, "old"));
    // A file-size limit makes the disk "full" after 16 bytes, in a child process only.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = WriteFileAtomically(file, std::string(4096, 'x'));
        const bool created =
            CreateFileExclusively(JoinPath(dir.path, "new.txt"), std::string(4096, 'x'));
        _exit(written || created ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "a cut write was reported as done";
    EXPECT_EQ(ReadFileBytes(file).bytes, "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);
}

TEST(TextFile, NewFilesAreCreatedOnlyWhereNothingIs) {
    TempFolder dir;
    const std::string file = JoinPath(dir.path, "t.txt");
    EXPECT_TRUE(CreateFileExclusively(file, "first"));
    EXPECT_FALSE(CreateFileExclusively(file, "second"));
    EXPECT_EQ(ReadFileBytes(file).bytes, "first");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace vorblin
