#include "gui/logs/core/keyed_hash.h"

#include <sys/random.h>

#include <chrono>
#include <cstring>

namespace keyed_hash {

namespace {

// SipHash-1-3 (one compression round per word, three to finish): a keyed function whose outputs
// cannot be steered without the key.
inline uint64_t Rotate(uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

struct State {
  uint64_t v0, v1, v2, v3;

  void Round() {
    v0 += v1;
    v1 = Rotate(v1, 13);
    v1 ^= v0;
    v0 = Rotate(v0, 32);
    v2 += v3;
    v3 = Rotate(v3, 16);
    v3 ^= v2;
    v0 += v3;
    v3 = Rotate(v3, 21);
    v3 ^= v0;
    v2 += v1;
    v1 = Rotate(v1, 17);
    v1 ^= v2;
    v2 = Rotate(v2, 32);
  }
  void Absorb(uint64_t word) {
    v3 ^= word;
    Round();
    v0 ^= word;
  }
  uint64_t Finish() {
    v2 ^= 0xff;
    Round();
    Round();
    Round();
    return v0 ^ v1 ^ v2 ^ v3;
  }
};

struct Key {
  uint64_t k0 = 0;
  uint64_t k1 = 0;

  Key() {
    uint64_t words[2] = {0, 0};
    if (getrandom(words, sizeof words, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof words)) {
      // Without the system's randomness the key still differs from run to run.
      words[0] = static_cast<uint64_t>(
          std::chrono::steady_clock::now().time_since_epoch().count());
      words[1] = reinterpret_cast<uintptr_t>(&words) ^ 0x9e3779b97f4a7c15ULL;
    }
    k0 = words[0];
    k1 = words[1];
  }
};

const Key& ProcessKey() {
  static const Key key;
  return key;
}

State Start() {
  const Key& key = ProcessKey();
  return {key.k0 ^ 0x736f6d6570736575ULL, key.k1 ^ 0x646f72616e646f6dULL,
          key.k0 ^ 0x6c7967656e657261ULL, key.k1 ^ 0x7465646279746573ULL};
}

}  // namespace

size_t Of(std::string_view text) {
  State state = Start();
  const char* data = text.data();
  size_t left = text.size();
  for (; left >= 8; left -= 8, data += 8) {
    uint64_t word;
    std::memcpy(&word, data, 8);
    state.Absorb(word);
  }
  uint64_t last = static_cast<uint64_t>(text.size()) << 56;
  for (size_t i = 0; i < left; ++i) last |= static_cast<uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  state.Absorb(last);
  return static_cast<size_t>(state.Finish());
}

size_t Of(uint64_t number) {
  State state = Start();
  state.Absorb(number);
  state.Absorb(uint64_t{8} << 56);
  return static_cast<size_t>(state.Finish());
}

}  // namespace keyed_hash
