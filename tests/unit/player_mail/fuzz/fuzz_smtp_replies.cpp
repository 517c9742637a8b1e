// libFuzzer target: the SMTP client reading any bytes a server could send.
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wdx::mail::fuzz::TalkToServer(data, size);
  return 0;
}
