#pragma once
// The hall-of-fame table: entries best first, its text file and its list lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/text_scan.h"

namespace vorblin {

struct RecordEntry {
    RecordEntry() = default;
    RecordEntry(std::string name, double score, std::string id = {})
        : Name(std::move(name)), Score(score), Id(std::move(id)) {}

    std::string Name;  // UTF-8 in memory
    double Score = 0;  // whole points; a hand-edited file may hold any number
    // A result stored after it had to wait (see PendingResults) carries the identity it
    // waited under, behind its score, so that it is never stored twice.
    std::string Id;

    bool operator==(const RecordEntry&) const = default;
};

// The table: the rules' colNames and colScores lists, kept paired in one vector.
using RecordTable = std::vector<RecordEntry>;

constexpr size_t kMaxRecords = 99;
constexpr std::string_view kRecordsFileName = "VorblinFathers.txt";
// What a missing file is created with.
constexpr std::string_view kDefaultRecordsFile = "Borkin\r\n0\r\n";
constexpr size_t kMaxNameLength = 10;

// A score line's score: the number it begins with, exponent allowed; 0 when there is none.
inline double ScoreOf(std::string_view line) {
    return LeadingNumber(line, NumberForm::WithExponent).value_or(0.0);
}
// Decimal text of a score without blanks ("1250", "-5", "12.5", "20000000").
std::string ScoreText(double score);

// Any bytes: two lines an entry (name, score), CR LF or LF, always Windows-1251 (the table
// is never written otherwise, and Cyrillic bytes can happen to form valid UTF-8). Blank lines
// where a name is due are skipped; a name without its score line scores 0. A score line may
// end in "#" and an identity.
RecordTable ParseRecords(std::string_view bytes);
// The file's bytes: Windows-1251, CR LF, the score behind one blank (a minus sign's place).
// The first score line carries a mark, " ~" and the length and hash of the lines after it
// (older copies read past it like any text after a number), by which a reader tells a whole
// table from a read that a network client cut short at a size it believed from before.
std::string FormatRecords(const RecordTable& table);

enum class Wholeness {
    Whole,     // marked, and every byte the mark speaks of is there
    Unmarked,  // written by an older version or by hand; ends at a line's end
    Unended,   // unmarked and stopped inside a line: cut, or made by hand so
    Short,     // fewer bytes than its mark says: cut short
    Other,     // as many bytes or more, but others than its mark says: edited by hand
};
Wholeness CheckWhole(std::string_view bytes);
// FNV-1a of the bytes, the hash in the mark.
uint32_t TableHash(std::string_view bytes);

// The list line of entry i (1-based): "9. Borkin         0", "10.Borkin         1250".
std::string TableLine(size_t i, const RecordEntry& entry);

// The index a score would be inserted at: before the first entry strictly lower, or at
// the end, so that the older of two equal scores stays ahead.
size_t PlaceFor(const RecordTable& table, double score);
// Whether the score earns a place among the first 99 of the table as it stands (a longer,
// hand-made table drops everything behind the 99th place at the next store).
bool EarnsPlace(const RecordTable& table, double score);
// Inserts by the order rule and keeps the best 99; false when the entry found no place.
bool InsertRecord(RecordTable& table, RecordEntry entry);

// A name as it may be stored: no control characters, nothing the file's code page cannot
// hold, at most 10 characters.
std::string CleanPlayerName(std::string_view name);

}  // namespace vorblin
