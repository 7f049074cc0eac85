#include "xoshiro_generator.h"

#include <bit>
#include <cstring>
#include <random>

namespace pokorin {
namespace {

uint64_t SplitMix64(uint64_t &x) {
    uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::array<uint64_t, 4> ExpandSeed(uint64_t seed) {
    std::array<uint64_t, 4> state{};
    for (auto &word : state) {
        word = SplitMix64(seed);
    }
    return state;
}

uint64_t EntropySeed() {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

} // namespace

XoshiroGenerator::XoshiroGenerator()
    : XoshiroGenerator(EntropySeed()) {}

XoshiroGenerator::XoshiroGenerator(uint64_t seed)
    : state_(ExpandSeed(seed)) {}

void XoshiroGenerator::reseed(float seed) {
    uint32_t bits = 0; // the float's own bits (emscripten's library has no std::bit_cast)
    std::memcpy(&bits, &seed, sizeof bits);
    uint64_t mixer = bits;
    state_[0] ^= SplitMix64(mixer);
    // The all-zero state is the one xoshiro can never leave.
    if (state_ == std::array<uint64_t, 4>{}) {
        state_ = ExpandSeed(mixer);
    }
}

uint64_t XoshiroGenerator::nextBits() {
    const uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = std::rotl(state_[3], 45);
    return result;
}

float XoshiroGenerator::next() {
    // The top 24 bits fill a float's mantissa exactly: uniform on [0, 1).
    return static_cast<float>(nextBits() >> 40) * 0x1.0p-24f;
}

} // namespace pokorin
