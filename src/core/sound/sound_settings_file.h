#pragma once
// VorbDieRect.ini: where the main window and its three side windows stood, which side
// windows were open, and every sound setting, one value a line in a fixed order.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/window_places.h"
#include "core/sound/sound_system.h"

namespace vorblin {

inline constexpr char kSettingsFileName[] = "VorbDieRect.ini";
// The path line that stands for the shipped file.
inline constexpr char kDefaultPathMark[] = "...";

// folder/relative, where each part of relative that is not found as written is looked up
// ignoring letter case ("Sound" finds "sound"); parts never found stay as written.
std::string FindIgnoringCase(const std::string& folder, std::string_view relative);
// The folder whose "sound" folder holds the shipped sounds. A build folder or an unpacked
// copy keeps them beside the executable; an installed one in installedRelative (for
// example "../share/vorblin") seen from the executable's folder. Only relative steps, so
// a copy moved anywhere still finds its sounds. The program's folder when neither has them.
std::string ShippedFolder(const std::string& programFolder, std::string_view installedRelative);
// Whether the executable in programFolder is an installed copy: its folder is a "games" or
// "bin" with the folder installedRelative beside it. Where it stands tells, not whether it
// may write there: root may write anywhere, yet an installed copy never writes into its
// prefix. A build folder or an unpacked copy (the sounds beside the executable) is none.
bool IsInstalledCopy(const std::string& programFolder, std::string_view installedRelative);
// The shipped background tune and a channel's shipped sound below the program's folder
// (the one ShippedFolder gives).
std::string DefaultBkgPath(const std::string& programFolder);
std::string DefaultChannelPath(const std::string& programFolder, Channel channel);

class SoundSettingsFile {
  public:
    // dataFolder holds the file; the shipped sounds lie below programFolder.
    SoundSettingsFile(std::string dataFolder, std::string programFolder)
        : dataFolder_(std::move(dataFolder)), programFolder_(std::move(programFolder)) {}

    std::string Path() const;

    // Reads the file into the windows' places and the sound, and starts the background
    // music. A missing file is first written from the values held. Lines that are missing
    // or unreadable leave their values as they were.
    void LoadSoundSettings(WindowPlaces& places, SoundSystem& sound);
    // Writes every value as it stands, atomically. On failure the old file stays and the
    // reason is put in error.
    bool SaveSoundSettings(WindowPlaces& places, const SoundSystem& sound,
                           std::string* error = nullptr);

    // The file's text from the values held.
    std::string Compose(WindowPlaces& places, const SoundSystem& sound) const;

  private:
    void Apply(std::string_view text, WindowPlaces& places, SoundSystem& sound);

    std::string dataFolder_;
    std::string programFolder_;
    // Paths read as "..." are written back as "..." while they still name the shipped file,
    // so the settings follow the program when its folder moves. Index: the channel, then the
    // music.
    static constexpr size_t kMusicRecord = kChannelCount;
    std::array<bool, kMusicRecord + 1> readAsDefault_{};
};

}  // namespace vorblin
