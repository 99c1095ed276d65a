#include "core/base/text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "core/base/text_scan.h"

namespace vorblin {

namespace {

// Converts with iconv, putting "?" for each input sequence the target cannot take and
// skipping it by the length skip() reports.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view in, Skip skip) {
    std::string out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        out.push_back('?');
        const size_t n = std::min(srcLeft, skip(static_cast<unsigned char>(*src)));
        src += n;
        srcLeft -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

FileBytes ReadFileBytes(const std::string& path) {
    FileBytes result;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
        return result;
    }
    result.status = ReadStatus::Ok;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            result.bytes.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            result.status = ReadStatus::Unreadable;
            break;
        }
    }
    close(fd);
    return result;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n > 0)
            bytes.remove_prefix(static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            return false;
    }
    return true;
}

// open() applies the umask, so other machines sharing the folder can read it.
std::string WriteTemporary(const std::string& path, std::string_view bytes, Flush flush,
                           const std::function<int(const std::string&)>& create) {
    // Machines sharing the folder may run processes of the same number: a random part too.
    static const unsigned salt = std::random_device{}();
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + ".tmp" + std::to_string(getpid()) + "." + std::to_string(salt % 100000) +
               "." + std::to_string(++counter);
        fd = create ? create(temp)
                    : open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        // A name taken shows as EEXIST, or on network file systems as another error.
        if (fd < 0 && (errno == ENOENT || errno == EROFS || errno == EACCES || errno == ENOSPC ||
                       errno == EDQUOT || errno == ENOTDIR))
            return {};
    }
    if (fd < 0)
        return {};
    bool ok = WriteAll(fd, bytes) && (flush == Flush::Lazily || fsync(fd) == 0);
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temp.c_str());
        return {};
    }
    return temp;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush) {
    const std::string temp = WriteTemporary(path, bytes, flush);
    if (temp.empty())
        return false;
    const bool ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    if (folder.empty())
        return std::string(name);
    std::string path = folder;
    if (path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

bool IsValidUtf8(std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char* src = const_cast<char*>(bytes.data());
    size_t srcLeft = bytes.size();
    bool valid = true;
    char buffer[1024];
    while (valid && srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) && errno != E2BIG)
            valid = false;
    }
    iconv_close(cd);
    return valid;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    return Convert("UTF-8", "CP1251", bytes, [](unsigned char) { return size_t{1}; });
}

std::string Utf8ToCp1251(std::string_view text) {
    return Convert("CP1251", "UTF-8", text, Utf8SequenceLength);
}

std::string DecodeText(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1251ToUtf8(bytes);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

}  // namespace vorblin
