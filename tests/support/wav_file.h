#pragma once
// Writes a 16-bit mono PCM WAV file, for tests that need a sound to play.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vorblin::testing {

inline bool WriteMonoWav(const std::string& path, const std::vector<int16_t>& samples,
                         uint32_t rate = 44100) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&out](uint16_t v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>(v >> 8));
    };
    const auto bytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (const int16_t s : samples)
        u16(static_cast<uint16_t>(s));
    return static_cast<bool>(out);
}

}  // namespace vorblin::testing
