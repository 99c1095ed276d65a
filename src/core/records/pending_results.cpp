#include "core/records/pending_results.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/base/text_file.h"
#include "core/records/file_lock.h"

namespace vorblin {

PendingResults::PendingResults(std::string ownFolder, ShareOps& ops, Reporter report)
    : ownFolder_(std::move(ownFolder)), ops_(ops), report_(std::move(report)) {}

std::string PendingResults::Path() const {
    return JoinPath(ownFolder_, kPendingFileName);
}

// One line a result, UTF-8: identity ("=" before it once seen in the table), score, name and
// the shared table's folder, separated by tabs (a name holds no control characters; the
// folder, last, may hold anything).
std::vector<PendingResults::Kept> PendingResults::Load() const {
    std::vector<Kept> kept;
    if (!ownFolder_.empty()) {
        for (const std::string& line : SplitLines(ReadShared(ops_, Path()).bytes)) {
            const size_t a = line.find('\t');
            const size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
            const size_t c = b == std::string::npos ? b : line.find('\t', b + 1);
            const bool seen = line.starts_with('=');
            if (c == std::string::npos || a <= (seen ? 1u : 0u))
                continue;  // damaged: what cannot be read cannot be stored either
            kept.push_back(Kept{line.substr(c + 1),
                                Waiting{RecordEntry{line.substr(b + 1, c - b - 1),
                                                    ScoreOf(line.substr(a + 1, b - a - 1)),
                                                    line.substr(seen ? 1 : 0, a - (seen ? 1 : 0))},
                                        seen}});
        }
    }
    const std::lock_guard<std::mutex> guard(memory_);
    for (const Kept& k : unsaved_)
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const Kept& x) { return x.waiting.entry.Id == k.waiting.entry.Id; }))
            kept.push_back(k);
    return kept;
}

void PendingResults::Save(std::vector<Kept> kept) {
    std::string text;
    for (const Kept& k : kept)
        text += (k.waiting.seen ? "=" : "") + k.waiting.entry.Id + "\t" +
                ScoreText(k.waiting.entry.Score) + "\t" + k.waiting.entry.Name + "\t" + k.folder +
                "\n";
    const bool unsavedBefore = [this] {
        const std::lock_guard<std::mutex> guard(memory_);
        return !unsaved_.empty();
    }();
    bool saved = false;  // without a folder of its own, what waits waits in memory
    if (!ownFolder_.empty() && kept.empty()) {
        // Nothing waits: a list that cannot be removed only offers again what the table
        // holds already, and identities keep it from being counted twice.
        UnlinkPatiently(ops_, Path());
    } else if (!ownFolder_.empty()) {
        const std::string temp =
            WriteTemporary(Path(), text, Flush::ToDisk, [this](const std::string& name) {
                return ops_.Open(name, O_WRONLY | O_CREAT | O_EXCL, 0600);
            });
        saved = !temp.empty() && RenamePatiently(ops_, temp, Path()) == 0;
        if (!saved && !temp.empty())
            ops_.Unlink(temp);
        if (!saved && !unsavedBefore)
            report_("a finished game could not be kept in " + ownFolder_ + " (" +
                    std::strerror(errno) + "); it waits in memory until this game ends");
    }
    const std::lock_guard<std::mutex> guard(memory_);
    unsaved_ = saved ? std::vector<Kept>{} : std::move(kept);
}

template <typename Change>
void PendingResults::Update(Change change) {
    // Two games of one player may end at once; the file is local, so the wait is short.
    // Without the lock (a stuck one) the change is made all the same: losing a result is
    // worse than keeping one twice, which its identity heals.
    const FileLock lock(Path() + ".lock", std::chrono::milliseconds(2000),
                        std::chrono::milliseconds(8000), ops_);
    std::vector<Kept> kept = Load();
    change(kept);
    Save(std::move(kept));
}

std::vector<Waiting> PendingResults::For(const std::string& folder) const {
    std::vector<Waiting> waiting;
    for (Kept& k : Load())
        if (k.folder == folder)
            waiting.push_back(std::move(k.waiting));
    return waiting;
}

void PendingResults::Add(const std::string& folder, const RecordEntry& entry) {
    Update([&](std::vector<Kept>& kept) {
        kept.push_back(Kept{folder, Waiting{entry, false}});
        // Best first per table, older first among equals; beyond the 99th of a table nothing
        // can ever enter it.
        std::stable_sort(kept.begin(), kept.end(), [](const Kept& x, const Kept& y) {
            return x.folder != y.folder ? x.folder < y.folder
                                        : x.waiting.entry.Score > y.waiting.entry.Score;
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
        kept = std::move(bounded);
    });
}

bool PendingResults::Ripe(const Waiting& w, std::chrono::milliseconds after) const {
    const std::lock_guard<std::mutex> guard(memory_);
    const auto at = seenAt_.find(w.entry.Id);
    return w.seen &&
           (at == seenAt_.end() || std::chrono::steady_clock::now() - at->second >= after);
}

void PendingResults::Settle(const std::string& folder, const RecordTable& table,
                            std::optional<std::chrono::milliseconds> letGoAfter) {
    const auto shown = [&](const RecordEntry& e) {
        return std::any_of(table.begin(), table.end(),
                           [&](const RecordEntry& t) { return t.Id == e.Id; });
    };
    const auto goes = [&](const Waiting& w, bool in) {
        return in ? letGoAfter && Ripe(w, *letGoAfter) : !EarnsPlace(table, w.entry.Score);
    };
    bool changes = false;
    for (const Waiting& w : For(folder)) {
        const bool in = shown(w.entry);
        changes = changes || in != w.seen || goes(w, in);
    }
    if (!changes)
        return;  // nothing to write: the common case of a start with nothing waiting
    Update([&](std::vector<Kept>& kept) {
        std::erase_if(kept, [&](Kept& k) {
            if (k.folder != folder)
                return false;
            const bool in = shown(k.waiting.entry);
            const bool gone = goes(k.waiting, in);
            const std::lock_guard<std::mutex> guard(memory_);
            if (gone || !in)
                seenAt_.erase(k.waiting.entry.Id);
            else if (!k.waiting.seen)
                seenAt_[k.waiting.entry.Id] = std::chrono::steady_clock::now();
            k.waiting.seen = in;
            return gone;
        });
    });
}

}  // namespace vorblin
