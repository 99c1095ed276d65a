#pragma once
// An audio device that records every call as text ("load mLeft1 /x.wav", "play bkg loop"),
// the slots named by their channels, and fails where a test tells it to.

#include <sstream>
#include <string>
#include <utility>

#include "core/sound/audio_device.h"

namespace vorblin::testing {

class FakeAudioDevice final : public AudioDevice {
  public:
    bool Open() override { return Log(opens, "open", -1); }
    bool Load(int slot, const std::string& path) override { return Log(loads, "load", slot, path); }
    bool SetVolume(int slot, int32_t v) override { return Log(true, "volume", slot, v); }
    bool SetPan(int slot, int32_t pan) override { return Log(true, "pan", slot, pan); }
    bool Play(int s, bool loop) override { return Log(true, "play", s, loop ? "loop" : "once"); }
    bool Stop(int slot) override { return Log(stops, "stop", slot); }
    void Release(int slot) override { Log(true, "release", slot); }

    // The calls since the last look, separated by commas; the next look starts afresh.
    std::string Take() { return std::exchange(calls, {}); }

    template <class... Arg>
    bool Log(bool result, const char* what, int slot, const Arg&... args) {
        std::ostringstream call;
        call << (calls.empty() ? "" : ", ") << what;
        if (slot == kBkgSlot)
            call << " bkg";
        else if (slot >= 0)
            call << ' ' << Channel(slot);
        ((call << ' ' << args), ...);
        calls += call.str();
        return result;
    }

    std::string calls;
    bool opens = true, loads = true, stops = true;  // which calls succeed
};

}  // namespace vorblin::testing
