#include "records/records_fuzz.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "records/records_table.h"
#include "toolkit/text_file.h"

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

// Whatever the bytes: reading never fails, writing what was read loses no entry and no
// score, and a stored table followed by damage is still read back whole.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorblin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RecordTable table = ParseRecords(bytes);
    for (size_t i = 0; i < table.size(); ++i) {
        Check(!table[i].Name.empty());
        Check(!TableLine(i + 1, table[i]).empty());
    }
    const RecordTable again = ParseRecords(FormatRecords(table));
    Check(again.size() == table.size());
    for (size_t i = 0; i < table.size(); ++i)
        Check(again[i].Score == table[i].Score);

    // The first half makes a table as the game would store it; the rest is damage.
    RecordTable stored;
    for (const RecordEntry& e : ParseRecords(bytes.substr(0, size / 2))) {
        RecordEntry clean{CleanPlayerName(e.Name), e.Score};
        if (!clean.Name.empty())
            InsertRecord(stored, clean);
    }
    const std::string file = FormatRecords(stored);
    if (!IsValidUtf8(file) || IsAscii(file)) {  // else the bytes read as UTF-8 by design
        const RecordTable damaged = ParseRecords(file + std::string(bytes.substr(size / 2)));
        Check(damaged.size() >= stored.size());
        for (size_t i = 0; i < stored.size(); ++i)
            Check(damaged[i] == stored[i]);
    }
    return 0;
}
