// What the encoder is given besides the message: the source of MIME boundaries (seeded in
// tests for golden output) and a hook that keeps the user interface alive during long work.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace wdx::mail {

// Boundaries of eight decimal digits, each 0 to 8; two made in a row always differ.
class BoundaryGenerator {
 public:
  BoundaryGenerator();  // seeded from the system's random source and the clock
  explicit BoundaryGenerator(std::uint32_t seed) : rng_(seed) {}
  std::string Make();

 private:
  std::mt19937 rng_;
  std::string last_;
};

struct EncodeOptions {
  // Null: a generator seeded from the system.
  BoundaryGenerator* boundaries = nullptr;
  // Called now and then while encoding (the application's pending messages are processed).
  std::function<void()> processMessages;
};

}  // namespace wdx::mail
