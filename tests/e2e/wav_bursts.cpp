// Finds the sounding stretches of a 16-bit PCM wave recording.
// Usage: wav_bursts FILE.wav
// Prints "bursts N", then for each: its start and length in seconds and its
// sign changes per second (about twice its pitch).

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

constexpr double kWindowSeconds = 0.02;
constexpr double kLoudRms = 300.0;    // of 32767; a silent sink gives 0
constexpr double kJoinSeconds = 0.25; // quieter moments inside one chime

uint32_t Le(const std::vector<char> &bytes, std::size_t at, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes.at(at + i));
    }
    return value;
}

struct Burst {
    std::size_t first;
    std::size_t last;
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::cerr << "usage: wav_bursts FILE.wav\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::size_t at = 12, data = 0;
    uint32_t rate = 0, channels = 0;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = Le(bytes, at + 4, 4);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0) {
            channels = Le(bytes, at + 10, 2);
            rate = Le(bytes, at + 12, 4);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            data = at + 8;
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (data == 0 || rate == 0 || channels == 0) {
        std::cerr << "wav_bursts: not a PCM wave file\n";
        return 1;
    }
    std::vector<double> mono;
    for (std::size_t i = data; i + 2 * channels <= bytes.size(); i += 2 * channels) {
        mono.push_back(static_cast<int16_t>(Le(bytes, i, 2)));
    }
    const auto window = static_cast<std::size_t>(kWindowSeconds * rate);
    std::vector<Burst> bursts;
    for (std::size_t w = 0; (w + 1) * window <= mono.size(); ++w) {
        double energy = 0;
        for (std::size_t i = w * window; i < (w + 1) * window; ++i) {
            energy += mono[i] * mono[i];
        }
        if (std::sqrt(energy / window) < kLoudRms) {
            continue;
        }
        if (!bursts.empty() && (w - bursts.back().last) * kWindowSeconds <= kJoinSeconds) {
            bursts.back().last = w;
        } else {
            bursts.push_back({w, w});
        }
    }
    std::cout << "bursts " << bursts.size() << '\n';
    for (const Burst &b : bursts) {
        int crossings = 0;
        for (std::size_t i = b.first * window + 1; i < (b.last + 1) * window; ++i) {
            crossings += (mono[i - 1] < 0) != (mono[i] < 0) ? 1 : 0;
        }
        const double length = (b.last - b.first + 1) * kWindowSeconds;
        std::cout << b.first * kWindowSeconds << ' ' << length << ' ' << crossings / length << '\n';
    }
    return 0;
}
