#include "sound/settings_rules.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Seen;

TEST(SettingsRules, FileNamesAndFolders) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/home/p/sound/left1.WAV", "left1.WAV", "/home/p/sound/"},
        {"plain.wav", "plain.wav", ""},
        {"/folder/", "", "/folder/"}};
    for (const auto& [path, name, folder] : cases)
        EXPECT_EQ(Seen(Get_File_Name(path), Get_Folder(path)), Seen(name, folder)) << path;
}

// The leading number, rounded; above the largest speed the box shows the largest instead.
TEST(SettingsRules, SweepSpeedText) {
    const std::pair<const char*, std::string> cases[] = {
        {"", "0|0|"},        {"12abc", "12|0|"}, {"500", "500|0|"}, {"500.4", "500|0|"},
        {"500.6", "500|1|"}, {"1000", "500|1|"}, {"-40", "-40|0|"}, {"-99999", "-32768|0|"}};
    for (const auto& [text, seen] : cases) {
        const SpeedText read = ReadSpeedText(text);
        EXPECT_EQ(Seen(read.speed, read.tooLarge), seen) << text;
    }
}

// Channels by number, in the order they are made; -1 for no second variant.
TEST(SettingsRules, EventsAndTheirVariants) {
    std::vector<std::string> seen;
    for (const EventEntry& e : ListEvents())
        seen.push_back(Seen(e.caption, int(e.first), e.second ? int(*e.second) : -1));
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Инверсия|9|-1|", "Появление Vorblin-фигурки|6|-1|",
                                        "Удаление линиий|5|-1|", "Приземление|0|8|", "Бросить|4|7|",
                                        "Вращение|3|-1|", "Влево|1|-1|", "Вправо|2|-1|"}));
}

}  // namespace
}  // namespace vorblin
