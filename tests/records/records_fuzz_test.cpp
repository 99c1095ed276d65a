#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Files stitched from the pieces a table file is made of, and from pieces that break it.
TEST(RecordsFuzz, ReaderSurvivesStitchedAndRandomFiles) {
    // Windows-1251 and UTF-8 letters, numbers and what spoils them; random bytes add the rest.
    const std::string_view pieces[] = {"\r\n",  "\n",       "\r",     " ",        "\t",
                                       "+",     ".",        "-7",     "abc",      "12.5",
                                       "1e309", " 1250",    "Юля",    "€",        "\x98",
                                       "\xD0",  "\xFF\xFE", "Borkin", "\xC1\xEE", "9999999999"};
    std::mt19937 random(20261206);
    for (int round = 0; round < 4000; ++round) {
        std::string file;
        for (int i = static_cast<int>(random() % 40); i > 0; --i) {
            if (random() % 8 == 0)
                file.push_back(static_cast<char>(random() % 256));
            else
                file += pieces[random() % std::size(pieces)];
        }
        ASSERT_EQ(
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(file.data()), file.size()), 0);
    }
}

}  // namespace
