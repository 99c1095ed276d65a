#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "records/records_fuzz.h"

namespace {

// Files stitched from the pieces a table file is made of, and from pieces that break it.
TEST(RecordsFuzz, ReaderSurvivesStitchedAndRandomFiles) {
    const std::vector<std::string> pieces = {"\r\n",
                                             "\n",
                                             "\r",
                                             " ",
                                             "Borkin",
                                             "\xC1\xEE\xF0\xE8\xF1",
                                             "Юля",
                                             " 1250",
                                             "-7",
                                             "1e309",
                                             "12.5",
                                             "abc",
                                             "\x98",
                                             std::string(1, '\0'),
                                             "\xFF\xFE",
                                             "\xD0",
                                             "9999999999999999999",
                                             "\t",
                                             "\xE2\x82\xAC",
                                             "+",
                                             "."};
    std::mt19937 random(20261206);
    for (int round = 0; round < 4000; ++round) {
        std::string file;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            if (random() % 8 == 0)
                file.push_back(static_cast<char>(random() % 256));
            else
                file += pieces[random() % pieces.size()];
        }
        ASSERT_EQ(
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(file.data()), file.size()), 0);
    }
}

}  // namespace
