// libFuzzer target: the MIME decoder on any bytes.
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wdx::mail::fuzz::DecodeMessage(data, size);
  return 0;
}
