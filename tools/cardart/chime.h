#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvt::cardart {

inline constexpr int kChimeSampleRate = 22050;

// The opening sound: four soft bell notes rising and ringing out, ~1.5 s of
// mono samples at kChimeSampleRate.
std::vector<std::int16_t> SynthesizeChime();

// A complete RIFF/WAVE file: 16-bit mono PCM.
std::string EncodeWav(const std::vector<std::int16_t>& samples, int sample_rate);

}  // namespace kvt::cardart
