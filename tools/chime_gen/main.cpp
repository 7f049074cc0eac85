// Writes the program's two chimes as 16-bit mono PCM wave files, at 44.1 kHz
// unless a sample rate is given (the page carries them at 16 kHz, which the
// bells' highest partials, below 3.5 kHz, allow).
// Usage: pokorin-chimes OUTPUT_FOLDER [SAMPLE_RATE]

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kAttackSeconds = 0.006;
constexpr double kReleaseSeconds = 0.05;

struct Note {
    double startSeconds;
    double frequency;
    double lengthSeconds;
};

using Samples = std::vector<double>;

// A struck bell: a few partials that fade at their own rates, a soft onset
// and a release to exact silence so that nothing clicks.
void AddBellNote(Samples &out, const Note &note, int rate) {
    const double partials[][3] = {
        {1.0, 1.0, 2.8}, {2.0, 0.35, 4.5}, {3.0, 0.12, 6.0}, {4.2, 0.05, 8.0}};
    const auto first = static_cast<std::size_t>(note.startSeconds * rate);
    const auto count = static_cast<std::size_t>(note.lengthSeconds * rate);
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double attack = std::min(1.0, t / kAttackSeconds);
        const double release = std::min(1.0, (note.lengthSeconds - t) / kReleaseSeconds);
        const double envelope = std::sin(0.5 * std::numbers::pi * attack) * std::max(0.0, release);
        double value = 0.0;
        for (const auto &p : partials) {
            value += p[1] * std::exp(-p[2] * t) *
                     std::sin(2 * std::numbers::pi * note.frequency * p[0] * t);
        }
        out[first + i] += envelope * value;
    }
}

Samples Render(const std::vector<Note> &notes, double seconds, int rate) {
    Samples samples(static_cast<std::size_t>(seconds * rate), 0.0);
    for (const Note &note : notes) {
        AddBellNote(samples, note, rate);
    }
    double peak = 0.0;
    for (double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    for (double &s : samples) {
        s *= 0.7 / peak;
    }
    return samples;
}

void PutLE(std::ofstream &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

bool WriteWave(const std::string &path, const Samples &samples, int rate) {
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4); // fmt chunk size
    PutLE(out, 1, 2);  // PCM
    PutLE(out, 1, 2);  // mono
    PutLE(out, static_cast<uint32_t>(rate), 4);
    PutLE(out, static_cast<uint32_t>(rate) * 2, 4); // bytes per second
    PutLE(out, 2, 2);                               // block align
    PutLE(out, 16, 2);                              // bits per sample
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (double s : samples) {
        PutLE(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767.0))), 2);
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char **argv) {
    const int rate = argc == 3 ? std::atoi(argv[2]) : 44100;
    if (argc < 2 || argc > 3 || rate < 8000) {
        std::cerr << "usage: pokorin-chimes OUTPUT_FOLDER [SAMPLE_RATE]\n";
        return 2;
    }
    const std::string folder = argv[1];
    // The door chime: a high note, then a lower one a major third below.
    const Samples pinpon = Render({{0.0, 659.26, 0.55}, {0.45, 523.25, 0.95}}, 1.4, rate);
    // The closing chime: three notes falling to the lower octave, slower.
    const Samples endpinpon =
        Render({{0.0, 783.99, 0.5}, {0.32, 659.26, 0.5}, {0.64, 392.00, 1.1}}, 1.75, rate);
    if (!WriteWave(folder + "/pinpon.wav", pinpon, rate) ||
        !WriteWave(folder + "/endpinpon.wav", endpinpon, rate)) {
        std::cerr << "pokorin-chimes: cannot write to " << folder << '\n';
        return 1;
    }
    return 0;
}
