#include "toolkit/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace vorblin {

namespace {

constexpr int kSlots = kBkgSlot + 1;

double Amplitude(double hundredthsOfDb) {
    return std::pow(10.0, hundredthsOfDb / 2000.0);
}

}  // namespace

MixerLevels LevelsFor(int32_t volume, int32_t pan) {
    const double level = Amplitude(std::clamp(volume, -10000, 0));
    pan = std::clamp(pan, -10000, 10000);
    // A pan to one side takes p/100 dB off the other side.
    const double left = level * (pan > 0 ? Amplitude(-pan) : 1.0);
    const double right = level * (pan < 0 ? Amplitude(pan) : 1.0);
    const double peak = std::max(left, right);
    const int steps =
        std::clamp(static_cast<int>(std::ceil(peak * MIX_MAX_VOLUME - 1e-9)), 0, MIX_MAX_VOLUME);
    if (steps == 0)
        return {0, 255, 255};
    const double scale = 255.0 * MIX_MAX_VOLUME / steps;
    return {steps, std::clamp(static_cast<int>(std::lround(left * scale)), 0, 255),
            std::clamp(static_cast<int>(std::lround(right * scale)), 0, 255)};
}

SdlAudioDevice::~SdlAudioDevice() {
    if (state_ != State::Open)
        return;
    Mix_HaltChannel(-1);
    for (Slot& s : slots_)
        s.chunk.reset();
    cache_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::Open() {
    if (state_ != State::Closed)
        return state_ == State::Open;
    state_ = State::Failed;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kSlots);
    state_ = State::Open;
    return true;
}

std::shared_ptr<Mix_Chunk> SdlAudioDevice::Decode(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        cache_.erase(path);
        return nullptr;
    }
    // A file is decoded again only when it is another file, or was written since.
    const auto found = cache_.find(path);
    if (found != cache_.end()) {
        const Sound& s = found->second;
        if (s.device == info.st_dev && s.inode == info.st_ino && s.size == info.st_size &&
            s.modified.tv_sec == info.st_mtim.tv_sec && s.modified.tv_nsec == info.st_mtim.tv_nsec)
            return s.chunk;
    }
    ++decodes_;
    Sound& s = cache_[path];
    // The file is opened and closed here: the mixer loses its handle when it cannot tell
    // the file's format.
    Mix_Chunk* decoded = nullptr;
    if (SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb")) {
        decoded = Mix_LoadWAV_RW(file, 0);
        SDL_RWclose(file);
    }
    s.chunk = std::shared_ptr<Mix_Chunk>(decoded, [](Mix_Chunk* chunk) {
        if (chunk != nullptr)
            Mix_FreeChunk(chunk);
    });
    if (s.chunk.get() == nullptr)
        s.chunk.reset();
    s.device = info.st_dev;
    s.inode = info.st_ino;
    s.size = info.st_size;
    s.modified = info.st_mtim;
    return s.chunk;
}

SdlAudioDevice::Slot* SdlAudioDevice::Loaded(int slot) {
    if (state_ != State::Open || slot < 0 || slot >= kSlots)
        return nullptr;
    Slot& s = slots_[static_cast<size_t>(slot)];
    return s.chunk ? &s : nullptr;
}

bool SdlAudioDevice::Load(int slot, const std::string& path) {
    if (state_ != State::Open || slot < 0 || slot >= kSlots)
        return false;
    Release(slot);
    Slot& s = slots_[static_cast<size_t>(slot)];
    s = Slot{};
    s.chunk = Decode(path);
    return s.chunk != nullptr;
}

void SdlAudioDevice::ApplyLevels(int slot, bool always) {
    Slot& s = slots_[static_cast<size_t>(slot)];
    const MixerLevels levels = LevelsFor(s.volume, s.pan);
    if (!always && levels.volume == s.applied.volume && levels.left == s.applied.left &&
        levels.right == s.applied.right)
        return;
    Mix_SetPanning(slot, static_cast<Uint8>(levels.left), static_cast<Uint8>(levels.right));
    Mix_Volume(slot, levels.volume);
    s.applied = levels;
}

bool SdlAudioDevice::SetVolume(int slot, int32_t volume) {
    Slot* s = Loaded(slot);
    if (s == nullptr || volume < -10000 || volume > 0)
        return false;
    s->volume = volume;
    if (s->started)
        ApplyLevels(slot);
    return true;
}

bool SdlAudioDevice::SetPan(int slot, int32_t pan) {
    Slot* s = Loaded(slot);
    if (s == nullptr || pan < -10000 || pan > 10000)
        return false;
    s->pan = pan;
    if (s->started)
        ApplyLevels(slot);
    return true;
}

bool SdlAudioDevice::Play(int slot, bool looping) {
    Slot* s = Loaded(slot);
    if (s == nullptr)
        return false;
    if (s->started && Mix_Paused(slot) != 0) {
        Mix_Resume(slot);
        return true;
    }
    if (s->started && Mix_Playing(slot) != 0)
        return true;
    // The mixer drops a channel's panning when its sound ends: set it again at every
    // start, and start silent so that no sample goes out at the old levels.
    Mix_Volume(slot, 0);
    if (Mix_PlayChannel(slot, s->chunk.get(), looping ? -1 : 0) < 0)
        return false;
    s->started = true;
    ApplyLevels(slot, true);
    return true;
}

bool SdlAudioDevice::Stop(int slot) {
    if (Loaded(slot) == nullptr)
        return false;
    Mix_Pause(slot);
    return true;
}

void SdlAudioDevice::Release(int slot) {
    if (state_ != State::Open || slot < 0 || slot >= kSlots)
        return;
    Slot& s = slots_[static_cast<size_t>(slot)];
    if (s.chunk)
        Mix_HaltChannel(slot);
    s = Slot{};
}

}  // namespace vorblin
