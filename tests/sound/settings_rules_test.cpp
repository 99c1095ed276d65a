#include "sound/settings_rules.h"

#include <gtest/gtest.h>

namespace vorblin {
namespace {

TEST(SettingsRules, FileNamesAndFolders) {
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    const Case cases[] = {
        {"/home/p/sound/left1.WAV", "left1.WAV", "/home/p/sound/"},
        {"/x.wav", "x.wav", "/"},
        {"plain.wav", "plain.wav", ""},
        {"", "", ""},
        {"/folder/", "", "/folder/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Get_File_Name(c.path), c.name) << c.path;
        EXPECT_EQ(Get_Folder(c.path), c.folder) << c.path;
    }
}

TEST(SettingsRules, SweepSpeedText) {
    struct Case {
        const char* text;
        int16_t speed;
        bool tooLarge;
    };
    const Case cases[] = {
        {"0", 0, false},           {"", 0, false},        {"abc", 0, false},
        {"500", 500, false},       {"500.4", 500, false}, {"500.6", 500, true},
        {"501", 500, true},        {"1000", 500, true},   {"99999999999", 500, true},
        {"12abc", 12, false},      {" 7 ", 7, false},     {"-40", -40, false},
        {"-99999", -32768, false},
    };
    for (const Case& c : cases) {
        const SpeedText read = ReadSpeedText(c.text);
        EXPECT_EQ(read.speed, c.speed) << c.text;
        EXPECT_EQ(read.tooLarge, c.tooLarge) << c.text;
    }
}

TEST(SettingsRules, EventsAndTheirVariants) {
    struct Entry {
        std::string_view caption;
        Channel first;
        std::optional<Channel> second;
    };
    const Entry expected[] = {
        {"Инверсия", Channel::mInverse1, std::nullopt},
        {"Появление Vorblin-фигурки", Channel::mVorblin1, std::nullopt},
        {"Удаление линиий", Channel::mDelLin1, std::nullopt},
        {"Приземление", Channel::mDown1, Channel::mDown2},
        {"Бросить", Channel::mDrop1, Channel::mDrop2},
        {"Вращение", Channel::mRotate1, std::nullopt},
        {"Влево", Channel::mLeft1, std::nullopt},
        {"Вправо", Channel::mRight1, std::nullopt},
    };
    ASSERT_EQ(ListEvents().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(ListEvents()[i].caption, expected[i].caption) << i;
        EXPECT_EQ(ListEvents()[i].first, expected[i].first) << i;
        EXPECT_EQ(ListEvents()[i].second, expected[i].second) << i;
    }
}

}  // namespace
}  // namespace vorblin
