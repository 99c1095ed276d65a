#pragma once
// An audio device that records every call as text ("load 3 /x.wav", "play 10 loop") and
// fails where a test tells it to.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/sound/audio_device.h"

namespace vorblin::testing {

class FakeAudioDevice final : public AudioDevice {
  public:
    bool Open() override { return Log(opens, "open"); }
    bool Load(int slot, const std::string& path) override { return Log(loads, "load", slot, path); }
    bool SetVolume(int slot, int32_t v) override { return Log(true, "volume", slot, v); }
    bool SetPan(int slot, int32_t pan) override { return Log(true, "pan", slot, pan); }
    bool Play(int s, bool loop) override { return Log(true, "play", s, loop ? "loop" : "once"); }
    bool Stop(int slot) override { return Log(stops, "stop", slot); }
    void Release(int slot) override { Log(true, "release", slot); }

    // The calls made since the last Take, which starts a fresh record.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    // Records the call's parts separated by blanks; answers result.
    template <class... Part>
    bool Log(bool result, const Part&... parts) {
        std::ostringstream call;
        ((call << ' ' << parts), ...);
        calls.push_back(call.str().substr(1));
        return result;
    }

    std::vector<std::string> calls;
    bool opens = true, loads = true, stops = true;  // which calls succeed
};

}  // namespace vorblin::testing
