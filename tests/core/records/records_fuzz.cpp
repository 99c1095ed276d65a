// The hall-of-fame reader against any bytes: libFuzzer's entry point (VORBLIN_FUZZ).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/records/records_table.h"

// Whatever the bytes: reading never fails, and writing what was read loses no entry and no
// score.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorblin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RecordTable table = ParseRecords(bytes);
    const RecordTable again = ParseRecords(FormatRecords(table));
    bool ok = again.size() == table.size();
    for (size_t i = 0; ok && i < table.size(); ++i)
        ok = !table[i].Name.empty() && again[i].Score == table[i].Score &&
             !TableLine(i + 1, table[i]).empty();

    if (!ok)
        std::abort();
    return 0;
}
