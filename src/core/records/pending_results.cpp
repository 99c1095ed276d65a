#include "core/records/pending_results.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "core/base/text_file.h"
#include "core/records/file_lock.h"

namespace vorblin {

std::string NewResultId() {
    std::random_device entropy;
    const unsigned long long value = (static_cast<unsigned long long>(entropy()) << 32) ^ entropy();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", value);
    return text;
}

PendingResults::PendingResults(std::string ownFolder) : ownFolder_(std::move(ownFolder)) {}

std::string PendingResults::Path() const {
    return JoinPath(ownFolder_, kPendingFileName);
}

// One line a result, UTF-8: identity, score, name and the shared table's folder, separated
// by tabs (a name holds no control characters; the folder, last, may hold anything).
std::vector<PendingResults::Kept> PendingResults::Load() const {
    std::vector<Kept> kept;
    if (ownFolder_.empty())
        return kept;
    for (const std::string& line : SplitLines(ReadFileBytes(Path()).bytes)) {
        const size_t a = line.find('\t');
        const size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
        const size_t c = b == std::string::npos ? b : line.find('\t', b + 1);
        if (c == std::string::npos || a == 0)
            continue;  // damaged: what cannot be read cannot be stored either
        Kept k{line.substr(c + 1),
               RecordEntry{line.substr(b + 1, c - b - 1), ScoreOf(line.substr(a + 1, b - a - 1)),
                           line.substr(0, a)}};
        kept.push_back(std::move(k));
    }
    return kept;
}

void PendingResults::Save(const std::vector<Kept>& kept) const {
    std::string text;
    for (const Kept& k : kept)
        text += k.entry.Id + "\t" + ScoreText(k.entry.Score) + "\t" + k.entry.Name + "\t" +
                k.folder + "\n";
    if (kept.empty())
        unlink(Path().c_str());
    else
        WriteFileAtomically(Path(), text);
}

RecordTable PendingResults::For(const std::string& folder) const {
    RecordTable table;
    for (Kept& k : Load())
        if (k.folder == folder)
            table.push_back(std::move(k.entry));
    return table;
}

void PendingResults::Add(const std::string& folder, RecordEntry entry) {
    if (ownFolder_.empty())
        return;
    // Two games of one player may end at once; the file is local, so the wait is short.
    const FileLock lock(Path() + ".lock", std::chrono::milliseconds(2000));
    std::vector<Kept> kept = Load();
    entry.Id = NewResultId();
    kept.push_back(Kept{folder, std::move(entry)});
    // Best first per table, older first among equals; beyond the 99th of a table nothing
    // can ever enter it.
    std::stable_sort(kept.begin(), kept.end(), [](const Kept& x, const Kept& y) {
        return x.folder != y.folder ? x.folder < y.folder : x.entry.Score > y.entry.Score;
    });
    std::vector<Kept> bounded;
    size_t inTable = 0;  // kept so far of the table the sorted run is in
    for (Kept& k : kept) {
        inTable = !bounded.empty() && bounded.back().folder == k.folder ? inTable : 0;
        if (inTable < kMaxRecords) {
            bounded.push_back(std::move(k));
            ++inTable;
        }
    }
    Save(bounded);
}

void PendingResults::Remove(const std::vector<std::string>& ids) {
    if (ownFolder_.empty() || ids.empty())
        return;
    const FileLock lock(Path() + ".lock", std::chrono::milliseconds(2000));
    if (!lock.Held())
        return;
    std::vector<Kept> kept = Load();
    std::erase_if(kept, [&](const Kept& k) {
        return std::find(ids.begin(), ids.end(), k.entry.Id) != ids.end();
    });
    Save(kept);
}

}  // namespace vorblin
