#include "desktop/sound/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <type_traits>

namespace vorblin {

namespace {

// SDL2_mixer and the dozens of libraries it brings (decoders, synthesizers) are loaded when
// the device is first opened, not when the program starts: linked in, they cost every
// start-up about 11 ms, even when the game is to stay silent.
struct SdlLibrary {
    decltype(&::Mix_HaltChannel) Mix_HaltChannel = nullptr;
    decltype(&::Mix_CloseAudio) Mix_CloseAudio = nullptr;
    decltype(&::SDL_QuitSubSystem) SDL_QuitSubSystem = nullptr;
    decltype(&::SDL_InitSubSystem) SDL_InitSubSystem = nullptr;
    decltype(&::Mix_OpenAudio) Mix_OpenAudio = nullptr;
    decltype(&::Mix_AllocateChannels) Mix_AllocateChannels = nullptr;
    decltype(&::SDL_RWFromFile) SDL_RWFromFile = nullptr;
    decltype(&::Mix_LoadWAV_RW) Mix_LoadWAV_RW = nullptr;
    decltype(&::SDL_RWclose) SDL_RWclose = nullptr;
    decltype(&::Mix_FreeChunk) Mix_FreeChunk = nullptr;
    decltype(&::Mix_SetPanning) Mix_SetPanning = nullptr;
    decltype(&::Mix_Volume) Mix_Volume = nullptr;
    decltype(&::Mix_Paused) Mix_Paused = nullptr;
    decltype(&::Mix_Resume) Mix_Resume = nullptr;
    decltype(&::Mix_Playing) Mix_Playing = nullptr;
    decltype(&::Mix_PlayChannelTimed) Mix_PlayChannelTimed = nullptr;
    decltype(&::Mix_Pause) Mix_Pause = nullptr;

    bool loaded = false;
};

SdlLibrary* LoadSdl() {
    static SdlLibrary library = [] {
        SdlLibrary l;
        void* mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
        void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
        if (mixer == nullptr || sdl == nullptr)
            return l;
        bool all = true;
        const auto find = [&](auto& pointer, const char* name) {
            void* symbol = dlsym(std::string_view(name).starts_with("Mix_") ? mixer : sdl, name);
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(symbol);
            all = all && symbol != nullptr;
        };
        find(l.Mix_HaltChannel, "Mix_HaltChannel");
        find(l.Mix_CloseAudio, "Mix_CloseAudio");
        find(l.SDL_QuitSubSystem, "SDL_QuitSubSystem");
        find(l.SDL_InitSubSystem, "SDL_InitSubSystem");
        find(l.Mix_OpenAudio, "Mix_OpenAudio");
        find(l.Mix_AllocateChannels, "Mix_AllocateChannels");
        find(l.SDL_RWFromFile, "SDL_RWFromFile");
        find(l.Mix_LoadWAV_RW, "Mix_LoadWAV_RW");
        find(l.SDL_RWclose, "SDL_RWclose");
        find(l.Mix_FreeChunk, "Mix_FreeChunk");
        find(l.Mix_SetPanning, "Mix_SetPanning");
        find(l.Mix_Volume, "Mix_Volume");
        find(l.Mix_Paused, "Mix_Paused");
        find(l.Mix_Resume, "Mix_Resume");
        find(l.Mix_Playing, "Mix_Playing");
        find(l.Mix_PlayChannelTimed, "Mix_PlayChannelTimed");
        find(l.Mix_Pause, "Mix_Pause");
        l.loaded = all;
        return l;
    }();
    return library.loaded ? &library : nullptr;
}

// Set by the first open that loaded the library; every other call comes after an open.
SdlLibrary* sdl = nullptr;

}  // namespace

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
    sdl->Mix_HaltChannel(-1);
    for (Slot& s : slots_)
        s.chunk.reset();
    cache_.clear();
    sdl->Mix_CloseAudio();
    sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDevice::Open() {
    if (state_ != State::Closed)
        return state_ == State::Open;
    state_ = State::Failed;
    sdl = LoadSdl();
    if (sdl == nullptr || sdl->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (sdl->Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sdl->Mix_AllocateChannels(kSlots);
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
    if (SDL_RWops* file = sdl->SDL_RWFromFile(path.c_str(), "rb")) {
        decoded = sdl->Mix_LoadWAV_RW(file, 0);
        sdl->SDL_RWclose(file);
    }
    s.chunk = std::shared_ptr<Mix_Chunk>(decoded, [](Mix_Chunk* chunk) {
        if (chunk != nullptr)
            sdl->Mix_FreeChunk(chunk);
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
    sdl->Mix_SetPanning(slot, static_cast<Uint8>(levels.left), static_cast<Uint8>(levels.right));
    sdl->Mix_Volume(slot, levels.volume);
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
    if (s->started && sdl->Mix_Paused(slot) != 0) {
        sdl->Mix_Resume(slot);
        return true;
    }
    if (s->started && sdl->Mix_Playing(slot) != 0)
        return true;
    // The mixer drops a channel's panning when its sound ends: set it again at every
    // start, and start silent so that no sample goes out at the old levels.
    sdl->Mix_Volume(slot, 0);
    if (sdl->Mix_PlayChannelTimed(slot, s->chunk.get(), looping ? -1 : 0, -1) < 0)
        return false;
    s->started = true;
    ApplyLevels(slot, true);
    return true;
}

bool SdlAudioDevice::Stop(int slot) {
    if (Loaded(slot) == nullptr)
        return false;
    sdl->Mix_Pause(slot);
    return true;
}

void SdlAudioDevice::Release(int slot) {
    if (state_ != State::Open || slot < 0 || slot >= kSlots)
        return;
    Slot& s = slots_[static_cast<size_t>(slot)];
    if (s.chunk)
        sdl->Mix_HaltChannel(slot);
    s = Slot{};
}

}  // namespace vorblin
