#pragma once
// An audio device that records every call as text ("load 3 /x.wav", "play 10 loop") and
// fails where a test tells it to, refusing volumes and pans out of range as the real one.

#include <set>
#include <string>
#include <vector>

#include "sound/audio_device.h"

namespace vorblin::testing {

class FakeAudioDevice final : public AudioDevice {
  public:
    bool Open() override {
        calls.push_back("open");
        return openWorks;
    }
    bool Load(int slot, const std::string& path) override {
        calls.push_back("load " + std::to_string(slot) + " " + path);
        return openWorks && !path.empty() && missing.count(path) == 0;
    }
    bool SetVolume(int slot, int32_t volume) override {
        calls.push_back("volume " + std::to_string(slot) + " " + std::to_string(volume));
        return volumeWorks && volume >= -10000 && volume <= 0;
    }
    bool SetPan(int slot, int32_t pan) override {
        calls.push_back("pan " + std::to_string(slot) + " " + std::to_string(pan));
        return pan >= -10000 && pan <= 10000;
    }
    bool Play(int slot, bool looping) override {
        calls.push_back("play " + std::to_string(slot) + (looping ? " loop" : " once"));
        return playWorks;
    }
    bool Stop(int slot) override {
        calls.push_back("stop " + std::to_string(slot));
        return stopWorks;
    }
    void Release(int slot) override { calls.push_back("release " + std::to_string(slot)); }

    // The calls made since the last Take, which starts a fresh record.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<std::string> calls;
    std::set<std::string> missing;
    bool openWorks = true;
    bool playWorks = true;
    bool volumeWorks = true;
    bool stopWorks = true;
};

}  // namespace vorblin::testing
