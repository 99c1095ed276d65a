#include "core/records/records_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "core/base/text_file.h"
#include "core/base/text_scan.h"

namespace vorblin {

namespace {

size_t CharacterCount(std::string_view utf8) {
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string ScoreText(double score) {
    // Whole numbers as digits, never "2e+07"; the shortest text that reads back the same.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, score, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

uint32_t TableHash(std::string_view bytes) {
    uint32_t hash = 2166136261u;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

namespace {

// The identity a score line ends in: "#" and letters or digits, after a blank.
std::string IdOf(std::string_view line) {
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    const size_t mark = line.rfind('#');
    if (mark == std::string_view::npos || mark == 0 || !IsBlank(line[mark - 1]))
        return {};
    const std::string_view id = line.substr(mark + 1);
    if (id.empty() || id.size() > 32 || !std::all_of(id.begin(), id.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c));
        }))
        return {};
    return std::string(id);
}

}  // namespace

RecordTable ParseRecords(std::string_view bytes) {
    const std::vector<std::string> lines = SplitLines(Cp1251ToUtf8(bytes));
    RecordTable table;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        RecordEntry entry{lines[i], 0};
        if (i + 1 < lines.size()) {
            entry.Score = ScoreOf(lines[++i]);
            entry.Id = IdOf(lines[i]);
        }
        table.push_back(std::move(entry));
    }
    return table;
}

namespace {

std::string EntryLines(const RecordEntry& e, const std::string& mark) {
    std::string text = e.Name;
    text += e.Score < 0 ? "\r\n" : "\r\n ";
    text += ScoreText(e.Score) + mark;
    if (!e.Id.empty())
        text += " #" + e.Id;
    return text + "\r\n";
}

// Where the first score line's mark begins, and what it says; npos when it has none.
size_t FindMark(std::string_view line, size_t& length, uint32_t& hash) {
    const size_t at = line.find(" ~");
    if (at == std::string_view::npos)
        return at;
    const char* end = line.data() + line.size();
    const auto [dot, e1] = std::from_chars(line.data() + at + 2, end, length);
    if (e1 != std::errc() || dot == end || *dot != '.')
        return std::string_view::npos;
    const auto [after, e2] = std::from_chars(dot + 1, end, hash, 16);
    if (e2 != std::errc() || after - dot != 9 || (after != end && !IsBlank(*after)))
        return std::string_view::npos;
    return at;
}

}  // namespace

std::string FormatRecords(const RecordTable& table) {
    if (table.empty())
        return {};
    std::string rest;
    for (size_t i = 1; i < table.size(); ++i)
        rest += EntryLines(table[i], "");
    rest = Utf8ToCp1251(rest);
    char mark[32];
    std::snprintf(mark, sizeof mark, " ~%zu.%08x", rest.size(), TableHash(rest));
    return Utf8ToCp1251(EntryLines(table.front(), mark)) + rest;
}

Wholeness CheckWhole(std::string_view bytes) {
    const size_t first = bytes.find('\n');
    const size_t second = first == std::string_view::npos ? first : bytes.find('\n', first + 1);
    size_t length = 0;
    uint32_t hash = 0;
    std::string_view line =
        second == std::string_view::npos ? "" : bytes.substr(first + 1, second - first - 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (FindMark(line, length, hash) != std::string_view::npos) {
        const std::string_view rest = bytes.substr(second + 1);
        if (rest.size() < length)
            return Wholeness::Short;
        return rest.size() == length && TableHash(rest) == hash ? Wholeness::Whole
                                                                : Wholeness::Other;
    }
    // Older versions of the game and hands write no mark: a read that stops inside a line is
    // all that tells a cut there.
    return bytes.empty() || bytes.back() == '\n' ? Wholeness::Unmarked : Wholeness::Unended;
}

std::string TableLine(size_t i, const RecordEntry& entry) {
    std::string line = std::to_string(i) + (i < 10 ? ". " : ".") + entry.Name;
    // A longer name from a shared or hand-edited file simply gets no padding.
    line.append(15 - std::min<size_t>(CharacterCount(entry.Name), 15), ' ');
    return line + ScoreText(entry.Score);
}

size_t PlaceFor(const RecordTable& table, double score) {
    const auto lower = std::find_if(table.begin(), table.end(),
                                    [score](const RecordEntry& e) { return e.Score < score; });
    return static_cast<size_t>(lower - table.begin());
}

bool EarnsPlace(const RecordTable& table, double score) {
    // Behind an entry it beats, or at the end of a table not yet full; either way within the
    // first 99 (a place always exists after the last entry of a shorter table).
    return PlaceFor(table, score) < kMaxRecords;
}

bool InsertRecord(RecordTable& table, RecordEntry entry) {
    if (!EarnsPlace(table, entry.Score))
        return false;
    table.insert(table.begin() + static_cast<std::ptrdiff_t>(PlaceFor(table, entry.Score)),
                 std::move(entry));
    table.resize(std::min(table.size(), kMaxRecords));
    return true;
}

std::string CleanPlayerName(std::string_view name) {
    std::string clean;
    size_t characters = 0;
    size_t i = 0;
    while (i < name.size() && characters < kMaxNameLength) {
        const unsigned char lead = static_cast<unsigned char>(name[i]);
        const std::string_view one = name.substr(i, Utf8SequenceLength(lead));
        if (!IsValidUtf8(one)) {
            ++i;  // a stray byte: skip just that one
            continue;
        }
        i += one.size();
        if (lead < 0x20 || lead == 0x7F)
            continue;
        const std::string cp = Utf8ToCp1251(one);
        // "?" stands for what the code page cannot hold (and for "?" itself); C1 controls
        // (U+0080..U+009F) are control characters too.
        if (cp.size() != 1 || (cp == "?" && one != "?") ||
            (one.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(one[1]) < 0xA0))
            continue;
        clean.append(one);
        ++characters;
    }
    return clean;
}

}  // namespace vorblin
