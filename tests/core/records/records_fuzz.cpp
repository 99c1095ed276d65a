// The hall-of-fame reader against any bytes: libFuzzer's entry point, also driven by a
// randomised test in the core tests where libFuzzer is not available.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/base/text_file.h"
#include "core/records/records_table.h"

// Whatever the bytes: reading never fails, writing what was read loses no entry and no
// score, and a stored table followed by damage is still read back whole.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorblin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RecordTable table = ParseRecords(bytes);
    const RecordTable again = ParseRecords(FormatRecords(table));
    bool ok = again.size() == table.size();
    for (size_t i = 0; ok && i < table.size(); ++i)
        ok = !table[i].Name.empty() && again[i].Score == table[i].Score &&
             !TableLine(i + 1, table[i]).empty();

    // The first half makes a table as the game would store it; the rest is damage.
    RecordTable stored;
    for (const RecordEntry& e : ParseRecords(bytes.substr(0, size / 2)))
        if (const std::string name = CleanPlayerName(e.Name); !name.empty())
            InsertRecord(stored, {name, e.Score});
    const std::string file = FormatRecords(stored);
    const bool ascii = std::all_of(file.begin(), file.end(), [](char c) { return c >= 0; });
    if (!IsValidUtf8(file) || ascii) {  // else the bytes read as UTF-8 by design
        const RecordTable damaged = ParseRecords(file + std::string(bytes.substr(size / 2)));
        ok = ok && damaged.size() >= stored.size() &&
             std::equal(stored.begin(), stored.end(), damaged.begin());
    }
    if (!ok)
        std::abort();
    return 0;
}
