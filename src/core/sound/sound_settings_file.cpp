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

// The channel records of the file as it was first laid out, all before the sweep speed.
// Frozen: a file written before a channel was added must still read the same, so the records
// of later channels go after every one of these lines (then they follow the speed line).
constexpr std::array<Channel, 10> kFirstRecords = {
    Channel::mLeft1, Channel::mRight1, Channel::mRotate1, Channel::mDrop1,    Channel::mDrop2,
    Channel::mDown1, Channel::mDown2,  Channel::mDelLin1, Channel::mVorblin1, Channel::mInverse1,
};

// Every channel once: first the records of the first layout, then the others as created.
constexpr std::array<Channel, kChannelCount> RecordOrder() {
    std::array<Channel, kChannelCount> order{};
    std::array<bool, kChannelCount> placed{};
    size_t next = 0;
    for (const Channel channel : kFirstRecords) {
        order[next++] = channel;
        placed[static_cast<size_t>(channel)] = true;
    }
    for (size_t c = 0; c < placed.size(); ++c)
        if (!placed[c])
            order[next++] = static_cast<Channel>(c);
    return order;
}
constexpr std::array<Channel, kChannelCount> kRecords = RecordOrder();

constexpr bool EachChannelOnce(const std::array<Channel, kChannelCount>& records) {
    std::array<int, kChannelCount> seen{};
    for (const Channel channel : records)
        ++seen[static_cast<size_t>(channel)];
    for (const int times : seen)
        if (times != 1)
            return false;
    return true;
}
// A repeated first record would still compile, and shift every later one.
static_assert(EachChannelOnce(kRecords), "every channel has one record in the file");

// Each sound file name once: two channels cannot share a shipped sound.
constexpr bool EachNameOnce() {
    for (size_t i = 0; i < kEventSounds.size(); ++i) {
        if (kEventSounds[i].file.empty() || kEventSounds[i].file == kMusicSound.file)
            return false;
        for (size_t j = 0; j < i; ++j)
            if (kEventSounds[j].file == kEventSounds[i].file)
                return false;
    }
    return true;
}
static_assert(EachNameOnce(), "every channel has a shipped sound of its own");

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
    fs::path installed = (fs::path(programFolder) / fs::path(installedRelative)).lexically_normal();
    if (!installed.has_filename())
        installed = installed.parent_path();  // a trailing separator
    const std::string folder = installed.string();
    return hasSounds(folder) ? folder : programFolder;
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
    return FindIgnoringCase(programFolder, "Sound/" + std::string(kMusicSound.file) + ".WAV");
}

std::string DefaultChannelPath(const std::string& programFolder, Channel channel) {
    return FindIgnoringCase(programFolder, "sound/" + std::string(Row(channel).file) + ".WAV");
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
    const auto records = [&](size_t from, size_t to) {
        for (size_t record = from; record < to; ++record) {
            const Channel channel = kRecords[record];
            const DMCtrl* c = sound.Get(channel);
            const std::string path = c != nullptr ? c->DMCtrlPath() : std::string();
            const bool asDefault = readAsDefault_[static_cast<size_t>(channel)] &&
                                   path == DefaultChannelPath(programFolder_, channel);
            AddLine(out, asDefault ? kDefaultPathMark : path);
            AddSwitch(out, c != nullptr && c->DMCtrlEnabled());
            AddNumber(out, c != nullptr ? c->DMCtrlVolume() : 0);
        }
    };
    records(0, kFirstRecords.size());
    AddNumber(out, sound.SpeedChange);
    records(kFirstRecords.size(), kRecords.size());
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
    const auto records = [&](size_t from, size_t to) {
        for (size_t record = from; record < to; ++record) {
            const Channel channel = kRecords[record];
            DMCtrl* c = sound.Get(channel);
            std::string path = c->DMCtrlPath();
            ReadPath(in, DefaultChannelPath(programFolder_, channel),
                     readAsDefault_[static_cast<size_t>(channel)], path);
            c->DMCtrlPath(path);
            bool enabled = c->DMCtrlEnabled();
            ReadSwitch(in, enabled);
            c->DMCtrlEnabled(enabled);
            int16_t volume = c->DMCtrlVolume();
            ReadNumber(in, volume);
            c->DMCtrlVolume(volume);
        }
    };
    records(0, kFirstRecords.size());
    ReadNumber(in, sound.SpeedChange);
    records(kFirstRecords.size(), kRecords.size());
}

}  // namespace vorblin
