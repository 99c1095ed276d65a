#include "core/sound/sound_settings_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

#include "core/base/text_file.h"
#include "core/base/text_scan.h"

namespace vorblin {

namespace {

namespace fs = std::filesystem;

constexpr char kHeader[] = "vorblin-music...";
constexpr std::string_view kTrue = "True";
constexpr std::string_view kFalse = "False";

// The channel records in the file's order (not the order the channels are created in).
constexpr std::array<Channel, kChannelCount> kRecords = {
    Channel::mLeft1, Channel::mRight1, Channel::mRotate1, Channel::mDrop1,    Channel::mDrop2,
    Channel::mDown1, Channel::mDown2,  Channel::mDelLin1, Channel::mVorblin1, Channel::mInverse1,
};

// The shipped sound of each channel, in the order the channels are created.
constexpr std::array<std::string_view, kChannelCount> kDefaultNames = {
    "down1.WAV",   "left1.WAV",    "right1.WAV", "rotate1.WAV", "drop1.WAV",
    "dellin1.WAV", "vorblin1.WAV", "drop2.WAV",  "down2.WAV",   "inverse1.WAV",
};

// A table one initialiser short still compiles, repeating the first channel or leaving a
// name empty: both tables must name every channel once.
constexpr bool EachChannelOnce(const std::array<Channel, kChannelCount>& records) {
    std::array<int, kChannelCount> seen{};
    for (const Channel channel : records)
        ++seen[static_cast<size_t>(channel)];
    for (const int times : seen)
        if (times != 1)
            return false;
    return true;
}
constexpr bool EachNameOnce(const std::array<std::string_view, kChannelCount>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty())
            return false;
        for (size_t j = 0; j < i; ++j)
            if (names[j] == names[i])
                return false;
    }
    return true;
}
static_assert(EachChannelOnce(kRecords), "every channel has one record in the file");
static_assert(EachNameOnce(kDefaultNames), "every channel has a shipped sound of its own");

constexpr std::array<SideWindow, 3> kSides = {SideWindow::frmVorblinFathers,
                                              SideWindow::frmStatistic, SideWindow::frmFuture};

std::optional<bool> Switch(std::string_view line) {
    const std::string_view value = Trim(line);
    if (SameIgnoringCase(value, kTrue))
        return true;
    if (SameIgnoringCase(value, kFalse))
        return false;
    return std::nullopt;
}

template <typename Int>
std::optional<Int> WholeNumber(std::string_view line) {
    const std::optional<double> v = LeadingWholeNumber(line);
    if (!v || *v < static_cast<double>(std::numeric_limits<Int>::min()) ||
        *v > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(*v);
}

// Hands out the file's lines in order; a line past the end is missing. Once the file's
// shape is unknown (a side window's switch cannot be read) every further line is missing.
class LineReader {
  public:
    explicit LineReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    std::optional<std::string> Next() {
        if (next_ >= lines_.size())
            return std::nullopt;
        return lines_[next_++];
    }
    void GiveUp() { next_ = lines_.size(); }

  private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

template <typename Int>
void ReadNumber(LineReader& in, Int& target) {
    if (const std::optional<std::string> line = in.Next())
        if (const std::optional<Int> v = WholeNumber<Int>(*line))
            target = *v;
}

void ReadSwitch(LineReader& in, bool& target) {
    if (const std::optional<std::string> line = in.Next())
        if (const std::optional<bool> v = Switch(*line))
            target = *v;
}

// A path line: "..." names the shipped file; any other text, empty included, is the path.
void ReadPath(LineReader& in, const std::string& defaultPath, bool& readAsDefault,
              std::string& path) {
    if (const std::optional<std::string> line = in.Next()) {
        readAsDefault = *line == kDefaultPathMark;
        path = readAsDefault ? defaultPath : *line;
    }
}

void ReadPosition(LineReader& in, WindowPosition& position) {
    ReadNumber(in, position.Left);
    ReadNumber(in, position.Top);
}

void AddLine(std::string& out, std::string_view value) {
    out.append(value);
    out.append("\r\n");
}

void AddSwitch(std::string& out, bool value) {
    AddLine(out, value ? kTrue : kFalse);
}

void AddNumber(std::string& out, int32_t value) {
    AddLine(out, std::to_string(value));
}

}  // namespace

std::string FindIgnoringCase(const std::string& folder, std::string_view relative) {
    std::string path = folder;
    bool lookUp = true;
    for (const fs::path& item : fs::path(relative)) {
        std::string part = item.string();
        std::error_code ec;
        if (lookUp && !fs::exists(fs::path(JoinPath(path, part)), ec)) {
            std::vector<std::string> matches;
            for (fs::directory_iterator it(path, ec), last; !ec && it != last; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (SameIgnoringCase(name, part))
                    matches.push_back(name);
            }
            // Below a part that is not there, nothing can be found.
            lookUp = !matches.empty();
            if (lookUp)
                part = *std::min_element(matches.begin(), matches.end());
        }
        path = JoinPath(path, part);
    }
    return path;
}

std::string ShippedFolder(const std::string& programFolder, std::string_view installedRelative) {
    const auto hasSounds = [](const std::string& folder) {
        std::error_code ec;
        return fs::is_directory(fs::path(FindIgnoringCase(folder, "sound")), ec);
    };
    if (hasSounds(programFolder))
        return programFolder;
    std::string installed =
        (fs::path(programFolder) / fs::path(installedRelative)).lexically_normal().string();
    if (installed.size() > 1 && installed.back() == '/')
        installed.pop_back();
    return hasSounds(installed) ? installed : programFolder;
}

bool IsInstalledCopy(const std::string& programFolder, std::string_view installedRelative) {
    fs::path program = fs::path(programFolder).lexically_normal();
    if (!program.has_filename())
        program = program.parent_path();  // a trailing separator
    if (program.filename() != "games" && program.filename() != "bin")
        return false;
    std::error_code ec;
    return fs::is_directory(program / fs::path(installedRelative), ec);
}

std::string DefaultBkgPath(const std::string& programFolder) {
    return FindIgnoringCase(programFolder, "Sound/bkgmusic.WAV");
}

std::string DefaultChannelPath(const std::string& programFolder, Channel channel) {
    return FindIgnoringCase(programFolder,
                            "sound/" + std::string(kDefaultNames[static_cast<size_t>(channel)]));
}

std::string SoundSettingsFile::Path() const {
    return JoinPath(dataFolder_, kSettingsFileName);
}

std::string SoundSettingsFile::Compose(WindowPlaces& places, const SoundSystem& sound) const {
    std::string out;
    const WindowPosition main = places.MainPosition();
    AddNumber(out, main.Left);
    AddNumber(out, main.Top);
    for (const SideWindow side : kSides) {
        const bool shown = places.SideVisible(side);
        AddSwitch(out, shown);
        if (shown) {
            const WindowPosition p = places.SidePosition(side);
            AddNumber(out, p.Left);
            AddNumber(out, p.Top);
        }
    }
    AddSwitch(out, sound.EnableSoundControl);
    AddLine(out, kHeader);
    const bool bkgDefault =
        readAsDefault_[kMusicRecord] && sound.PathToBkgMusic == DefaultBkgPath(programFolder_);
    AddLine(out, bkgDefault ? kDefaultPathMark : sound.PathToBkgMusic);
    AddSwitch(out, sound.EnableLoop());
    AddNumber(out, sound.VolumeBkgMusic);
    for (size_t record = 0; record < kRecords.size(); ++record) {
        const Channel channel = kRecords[record];
        const DMCtrl* c = sound.Get(channel);
        const std::string path = c != nullptr ? c->DMCtrlPath() : std::string();
        const bool asDefault =
            readAsDefault_[record] && path == DefaultChannelPath(programFolder_, channel);
        AddLine(out, asDefault ? kDefaultPathMark : path);
        AddSwitch(out, c != nullptr && c->DMCtrlEnabled());
        AddNumber(out, c != nullptr ? c->DMCtrlVolume() : 0);
    }
    AddNumber(out, sound.SpeedChange);
    return out;
}

bool SoundSettingsFile::SaveSoundSettings(WindowPlaces& places, const SoundSystem& sound,
                                          std::string* error) {
    const std::string path = Path();
    if (WriteFileAtomically(path, Compose(places, sound)))
        return true;
    if (error != nullptr)
        *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
}

void SoundSettingsFile::LoadSoundSettings(WindowPlaces& places, SoundSystem& sound) {
    const FileBytes file = ReadFileBytes(Path());
    std::string text;
    if (file.status == ReadStatus::Ok) {
        text = DecodeText(file.bytes);
    } else if (file.status == ReadStatus::Missing) {
        // A first start: the file is written from the values held and read back as written.
        text = Compose(places, sound);
        WriteFileAtomically(Path(), text, Flush::Lazily);
    }
    // An unreadable file reads as an empty one: every value stays as it is.
    Apply(text, places, sound);
}

void SoundSettingsFile::Apply(std::string_view text, WindowPlaces& places, SoundSystem& sound) {
    sound.CreateChannels();
    LineReader in(SplitLines(text));
    WindowPosition main = places.MainPosition();
    ReadPosition(in, main);
    places.MoveMain(main);
    for (const SideWindow side : kSides) {
        const std::optional<std::string> line = in.Next();
        const std::optional<bool> shown = line ? Switch(*line) : std::nullopt;
        if (!shown) {
            in.GiveUp();  // whether positions follow is unknown
            continue;
        }
        places.SetSideVisible(side, *shown);
        if (places.SideVisible(side)) {
            WindowPosition p = places.SidePosition(side);
            ReadPosition(in, p);
            places.MoveSide(side, p);
        }
    }
    ReadSwitch(in, sound.EnableSoundControl);
    in.Next();  // the header
    ReadPath(in, DefaultBkgPath(programFolder_), readAsDefault_[kMusicRecord],
             sound.PathToBkgMusic);
    ReadSwitch(in, sound.enableLoop);
    // The tune starts even when it is switched off, so that switching it on resumes it.
    sound.bkg.PlayBkgMusic(sound.PathToBkgMusic);
    if (!sound.EnableLoop())
        sound.bkg.StopBkgMusic();
    ReadNumber(in, sound.VolumeBkgMusic);
    sound.bkg.SetBkgVolume(sound.VolumeBkgMusic);
    for (size_t record = 0; record < kRecords.size(); ++record) {
        const Channel channel = kRecords[record];
        DMCtrl* c = sound.Get(channel);
        std::string path = c->DMCtrlPath();
        ReadPath(in, DefaultChannelPath(programFolder_, channel), readAsDefault_[record], path);
        c->DMCtrlPath(path);
        bool enabled = c->DMCtrlEnabled();
        ReadSwitch(in, enabled);
        c->DMCtrlEnabled(enabled);
        int16_t volume = c->DMCtrlVolume();
        ReadNumber(in, volume);
        c->DMCtrlVolume(volume);
    }
    ReadNumber(in, sound.SpeedChange);
}

}  // namespace vorblin
