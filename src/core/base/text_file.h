#pragma once
// Whole-file reads, crash-safe writes and the two code pages the game's text files use.
// Plain C++ (POSIX and glibc iconv), shared by the hall of fame and the settings file.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorblin {

enum class ReadStatus { Ok, Missing, Unreadable };

struct FileBytes {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

// The whole file. Missing only when nothing exists at the path; anything else that stops
// the read (permissions, a folder in its place, an I/O error) is Unreadable.
FileBytes ReadFileBytes(const std::string& path);

// The bytes written whole to an open file (write(2) may take them in parts).
bool WriteAll(int fd, std::string_view bytes);

// Whether a write waits until the bytes are on the disk. A file made from defaults need not:
// lost in a crash, it is simply made again (and the wait can cost a start-up 15 ms).
enum class Flush { ToDisk, Lazily };

// Writes the bytes to a new file beside path (under a name of this process's own) and, unless
// lazily, flushes it to the disk; its name, or "" on failure (nothing left behind).
// create opens a new file exclusively (a descriptor, or -1 with errno); by default open(2).
std::string WriteTemporary(const std::string& path, std::string_view bytes, Flush flush,
                           const std::function<int(const std::string&)>& create = {});

// Writes the bytes to a new file beside path, flushes it to the disk and renames it over
// path. On any failure path is left as it was and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         Flush flush = Flush::ToDisk);

// folder + "/" + name (no doubled separator).
std::string JoinPath(const std::string& folder, std::string_view name);

bool IsValidUtf8(std::string_view bytes);
// Windows-1251 bytes to UTF-8; a byte the code page leaves undefined becomes "?".
std::string Cp1251ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1251; a character the code page cannot hold becomes "?".
std::string Utf8ToCp1251(std::string_view text);
// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1251 decoded to UTF-8.
std::string DecodeText(std::string_view bytes);

// Lines ended by LF or CR LF; a last line without an end counts, an empty tail does not.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace vorblin
