#include "tools/cardart/chime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kvt::cardart {
namespace {

struct Partial {
    double ratio;      // of the note's frequency
    double amplitude;
    double decay_s;    // time to fall to 1/e
};

// A soft bell: the fundamental rings longest, the slightly inharmonic upper
// partials give the metallic shimmer and die away first.
constexpr std::array<Partial, 5> kBell{{
    {1.0, 1.0, 0.55},
    {2.0, 0.45, 0.32},
    {2.76, 0.22, 0.20},
    {4.07, 0.10, 0.12},
    {5.43, 0.05, 0.08},
}};

struct Note {
    double start_s;
    double frequency;
    double loudness;
};

// C major pentatonic, rising: G4 C5 E5 G5, the last a little held back.
constexpr std::array<Note, 4> kNotes{{
    {0.00, 392.00, 0.80},
    {0.16, 523.25, 0.85},
    {0.32, 659.25, 0.90},
    {0.48, 783.99, 0.80},
}};

constexpr double kLength_s = 1.5;
constexpr double kAttack_s = 0.006;
constexpr double kFadeOut_s = 0.12;

void WriteLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::vector<std::int16_t> SynthesizeChime() {
    const int count = static_cast<int>(kLength_s * kChimeSampleRate);
    std::vector<double> mix(count, 0.0);
    for (const Note& note : kNotes) {
        const int first = static_cast<int>(note.start_s * kChimeSampleRate);
        for (int i = first; i < count; ++i) {
            const double t = static_cast<double>(i - first) / kChimeSampleRate;
            const double attack = std::min(1.0, t / kAttack_s);
            double s = 0;
            for (const Partial& p : kBell)
                s += p.amplitude * std::exp(-t / p.decay_s) *
                     std::sin(2 * std::numbers::pi * note.frequency * p.ratio * t);
            mix[i] += note.loudness * attack * s;
        }
    }
    const double peak = std::max(1e-9, std::abs(*std::max_element(
        mix.begin(), mix.end(), [](double a, double b) { return std::abs(a) < std::abs(b); })));
    // Peak at half of full scale: a greeting, not an alarm.
    const double gain = 0.5 * 32767 / peak;
    std::vector<std::int16_t> samples(count);
    const int fade_from = count - static_cast<int>(kFadeOut_s * kChimeSampleRate);
    for (int i = 0; i < count; ++i) {
        double fade = 1.0;
        if (i >= fade_from) fade = static_cast<double>(count - 1 - i) / (count - 1 - fade_from);
        samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain * fade));
    }
    return samples;
}

std::string EncodeWav(const std::vector<std::int16_t>& samples, int sample_rate) {
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + data_bytes);
    out += "RIFF";
    WriteLe(out, 36 + data_bytes, 4);
    out += "WAVEfmt ";
    WriteLe(out, 16, 4);                                       // fmt chunk size
    WriteLe(out, 1, 2);                                        // PCM
    WriteLe(out, 1, 2);                                        // mono
    WriteLe(out, static_cast<std::uint32_t>(sample_rate), 4);
    WriteLe(out, static_cast<std::uint32_t>(sample_rate) * 2, 4);  // bytes per second
    WriteLe(out, 2, 2);                                        // block align
    WriteLe(out, 16, 2);                                       // bits per sample
    out += "data";
    WriteLe(out, data_bytes, 4);
    for (std::int16_t s : samples) WriteLe(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace kvt::cardart
